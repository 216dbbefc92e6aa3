// Payload container reader: trailer walk and entry copy.
#include "core/sfx_archive.h"

#include "core/bounded_text.h"

#include <string.h>

void SfxEntry::Clear() {
    memset(name, 0, sizeof(name));
    size = 0;
    offset = 0;
}

void SfxEntry::SetName(const char* text) { CopyText(name, sizeof(name), text); }

void SfxArchive::Reset() {
    for (int i = 0; i < kSfxMaxEntries; ++i) entries[i].Clear();
    entryCount = 0;
    trailerLength = 0;
}

int SfxIsPlainName(const char* name) {
    if (name[0] == '\0') return 0;
    if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0) return 0;
    return strpbrk(name, "\\/:") == NULL;
}

static uint32_t LoadLe32(const unsigned char* p) {
    return (uint32_t)p[0] | ((uint32_t)p[1] << 8) | ((uint32_t)p[2] << 16) |
           ((uint32_t)p[3] << 24);
}

// Reads `count` bytes that start `distance` bytes before the end.
static int ReadBack(FileHandle file, int64_t distance, void* out, int32_t count) {
    if (!FileSeekBeforeEnd(file, distance)) return 0;
    return FileRead(file, out, count) == count;
}

static int ReadBack32(FileHandle file, int64_t distance, int32_t* value) {
    unsigned char raw[4];
    if (!ReadBack(file, distance, raw, 4)) return 0;
    *value = (int32_t)LoadLe32(raw);
    return 1;
}

// Walks the records from entry n-1 down to entry 0. `d` is the running
// distance from the end of the file; every field is checked against the
// file's size before it is read.
static int ReadRecords(FileHandle file, int64_t fileSize, SfxArchive* archive) {
    int64_t d = kSfxTrailerFixed;
    char nameBuffer[1000];
    for (int index = archive->entryCount - 1; index >= 0; --index) {
        int32_t nameLength = 0, size = 0, offset = 0;
        memset(nameBuffer, 0, sizeof(nameBuffer));
        d += 4;
        if (d > fileSize || !ReadBack32(file, d, &nameLength)) return SFX_ERR_TRAILER;
        if (nameLength <= 0 || nameLength > kSfxMaxNameLength) return SFX_ERR_TRAILER;
        d += nameLength;
        if (d > fileSize || !ReadBack(file, d, nameBuffer, nameLength)) return SFX_ERR_TRAILER;
        d += 4;
        if (d > fileSize || !ReadBack32(file, d, &size)) return SFX_ERR_TRAILER;
        d += 4;
        if (d > fileSize || !ReadBack32(file, d, &offset)) return SFX_ERR_TRAILER;
        // The data must lie inside the file, in front of the trailer's end.
        if (size < 0 || offset < 0 || (int64_t)offset + size > fileSize)
            return SFX_ERR_TRAILER;
        SfxEntry* entry = &archive->entries[index];
        entry->SetSize(size);
        entry->SetName(nameBuffer);
        entry->SetOffset(offset);
    }
    archive->trailerLength = (int32_t)d;
    return SFX_OK;
}

int SfxArchive::ReadDirectory(const char* path) {
    Reset();
    FileHandle file = FileOpenRead(path);
    if (file == kNoFile) return SFX_ERR_OPEN;

    int result = SFX_OK;
    int64_t fileSize = FileSize(file);
    char signature[kSfxSignatureLength];
    if (fileSize < kSfxSignatureLength ||
        !ReadBack(file, kSfxSignatureLength, signature, kSfxSignatureLength) ||
        memcmp(signature, SFX_SIGNATURE, kSfxSignatureLength) != 0) {
        result = SFX_ERR_SIGNATURE;
    }
    int32_t count = 0;
    if (result == SFX_OK &&
        (fileSize < kSfxTrailerFixed || !ReadBack32(file, kSfxTrailerFixed, &count)))
        result = SFX_ERR_TRAILER;
    if (result == SFX_OK && count == 0) result = SFX_ERR_EMPTY;
    if (result == SFX_OK && (count < 0 || count > kSfxMaxEntries)) result = SFX_ERR_TRAILER;
    if (result == SFX_OK) {
        entryCount = count;
        result = ReadRecords(file, fileSize, this);
    }
    FileClose(file);
    if (result != SFX_OK) Reset();  // a refused trailer leaves nothing half read
    return result;
}

int SfxArchive::ExtractEntry(FileHandle file, int index, const char* dir,
                             FileHandle* held) const {
    if (held) *held = kNoFile;
    if (index < 0 || index >= entryCount) return SFX_ERR_CREATE;
    const SfxEntry& entry = entries[index];
    if (!SfxIsPlainName(entry.name)) return SFX_ERR_CREATE;

    char path[kSfxPathSize];
    if (!JoinText(path, sizeof(path), dir, entry.name, NULL)) return SFX_ERR_CREATE;

    FileHandle out = FileCreate(path);
    if (out == kNoFile) return SFX_ERR_CREATE;

    int result = SFX_OK;
    unsigned char buffer[kSfxCopyBlock];
    int32_t copied = 0;
    if (!FileSeekStart(file, entry.offset)) result = SFX_ERR_READ;
    while (result == SFX_OK && copied < entry.size) {
        int32_t want = entry.size - copied;
        if (want > kSfxCopyBlock) want = kSfxCopyBlock;
        int32_t got = FileRead(file, buffer, want);
        if (got <= 0) {
            result = SFX_ERR_READ;
            break;
        }
        FileWrite(out, buffer, got);
        copied += got;
    }
    if (held == NULL) {
        FileClose(out);
        return result;
    }
    *held = FileHoldWritten(out, path);
    return *held == kNoFile ? SFX_ERR_CHANGED : result;
}

int SfxArchive::ExtractFrom(const char* path, char* dir, SfxProgress progress,
                            uintptr_t user, int32_t extra) {
    size_t dirLength = strlen(dir);
    if (dirLength == 0 || dir[dirLength - 1] != kPathSeparator) {
        if (dirLength + 1 >= kSfxDirSize) return SFX_ERR_PATH;
        dir[dirLength] = kPathSeparator;
        dir[dirLength + 1] = '\0';
    }

    int result = ReadDirectory(path);
    if (result != SFX_OK) return result;

    if (heldFiles)
        for (int index = 0; index < kSfxMaxEntries; ++index) heldFiles[index] = kNoFile;
    FileHandle file = FileOpenRead(path);
    if (file == kNoFile) return SFX_ERR_REOPEN;
    for (int index = entryCount - 1; index >= 0; --index) {
        FileHandle* held = heldFiles ? &heldFiles[index] : NULL;
        if (ExtractEntry(file, index, dir, held) == SFX_ERR_CHANGED) {
            FileClose(file);
            return SFX_ERR_CHANGED;
        }
        if (progress)
            progress(user, (uint32_t)(entryCount - index), (uint32_t)entryCount, extra);
    }
    FileClose(file);
    return SFX_OK;
}

int SfxArchive::ExtractAll(char* dir, SfxProgress progress, uintptr_t user, int32_t extra) {
    char self[kSfxDirSize];
    if (!ModuleFilePath(self, sizeof(self))) return SFX_ERR_OPEN;
    return ExtractFrom(self, dir, progress, user, extra);
}
