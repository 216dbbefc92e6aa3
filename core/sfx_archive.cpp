// Payload container reader: trailer walk and entry copy.
#include "core/sfx_archive.h"

#include "core/bounded_text.h"
#include "core/crc32.h"
#include "core/pe_image.h"

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
    containerEnd = 0;
    checked = 0;
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

// Reads `count` bytes at `offset`.
static int ReadAt(FileHandle file, int32_t offset, void* out, int32_t count) {
    return FileSeekStart(file, offset) && FileRead(file, out, count) == count;
}

static int Read32(FileHandle file, int32_t offset, int32_t* value) {
    unsigned char raw[4];
    if (!ReadAt(file, offset, raw, 4)) return 0;
    *value = (int32_t)LoadLe32(raw);
    return 1;
}

// Where the container ends: the file's end, or the start of the
// certificate table that the security directory names when that table
// ends the file, less up to 7 zero bytes in front of it that align it.
// A file of 2 GiB or more is no container: 0.
static int32_t ContainerEnd(FileHandle file, PeLayout* pe) {
    unsigned char head[kPeHeadSize];
    int64_t size = FileSize(file);
    int32_t got = FileSeekStart(file, 0) ? FileRead(file, head, sizeof(head)) : 0;
    ReadPeLayout(head, got, pe);
    if (size < 0 || size > 0x7FFFFFFF) return 0;
    uint32_t end = pe->tableOffset;
    if (pe->tableSize == 0 || end < 8 || (int64_t)end + pe->tableSize != size) return (int32_t)size;
    if (ReadAt(file, (int32_t)end - 8, head, 8))
        for (int i = 7; i > 0 && head[i] == 0; --i) --end;
    return (int32_t)end;
}

// Walks the records from entry n-1 down to entry 0. `d` is the running
// distance from the container's end (unsigned: it may pass 2^31 by a
// record's length before the check); every field is checked against the
// container's size before it is read.
static int ReadRecords(FileHandle file, int32_t end, SfxArchive* archive) {
    uint32_t d = kSfxTrailerFixed;
    const uint32_t limit = (uint32_t)end;
    char nameBuffer[1000];
    for (int index = archive->entryCount - 1; index >= 0; --index) {
        int32_t nameLength = 0, size = 0, offset = 0;
        memset(nameBuffer, 0, sizeof(nameBuffer));
        d += 4;
        if (d > limit || !Read32(file, end - d, &nameLength)) return SFX_ERR_TRAILER;
        if (nameLength <= 0 || nameLength > kSfxMaxNameLength) return SFX_ERR_TRAILER;
        d += nameLength;
        if (d > limit || !ReadAt(file, end - d, nameBuffer, nameLength)) return SFX_ERR_TRAILER;
        d += 4;
        if (d > limit || !Read32(file, end - d, &size)) return SFX_ERR_TRAILER;
        d += 4;
        if (d > limit || !Read32(file, end - d, &offset)) return SFX_ERR_TRAILER;
        // The data must lie inside the container, in front of the trailer's end.
        if (size < 0 || offset < 0 || (uint32_t)offset + (uint32_t)size > limit)
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
    PeLayout pe;
    int32_t end = ContainerEnd(file, &pe);
    containerEnd = end;
    char signature[kSfxSignatureLength];
    if (end < kSfxSignatureLength ||
        !ReadAt(file, end - kSfxSignatureLength, signature, kSfxSignatureLength) ||
        memcmp(signature, SFX_SIGNATURE, kSfxSignatureLength) != 0) {
        // A program followed by bytes that do not end in the signature is a
        // package cut short.
        result = pe.header != 0 && end > pe.imageEnd ? SFX_ERR_DAMAGED : SFX_ERR_SIGNATURE;
    }
    int32_t count = 0;
    if (result == SFX_OK &&
        (end < kSfxTrailerFixed || !Read32(file, end - kSfxTrailerFixed, &count)))
        result = SFX_ERR_TRAILER;
    if (result == SFX_OK && count == 0) result = SFX_ERR_EMPTY;
    if (result == SFX_OK && (count < 0 || count > kSfxMaxEntries)) result = SFX_ERR_TRAILER;
    if (result == SFX_OK) {
        entryCount = count;
        result = ReadRecords(file, end, this);
    }
    FileClose(file);
    if (result != SFX_OK) Reset();  // a refused trailer leaves nothing half read
    return result;
}

uint32_t SfxEntrySeed(const SfxEntry& entry) {
    unsigned char size[4];
    for (int i = 0; i < 4; ++i) size[i] = (unsigned char)((uint32_t)entry.size >> (8 * i));
    return Crc32(Crc32(0, entry.name, strlen(entry.name)), size, 4);
}

void SfxClearSigningFields(unsigned char* head, int32_t length) {
    PeLayout pe;
    if (!ReadPeLayout(head, length, &pe)) return;
    memset(head + pe.checksumField, 0, 4);
    memset(head + pe.securityField, 0, 8);
}

// Adds `size` bytes of `file` from `offset` to *crc, with the PE fields
// that signing changes read as zeros when `image`.
static int ChecksumRange(FileHandle file, int32_t offset, int32_t size, int image, uint32_t* crc) {
    unsigned char block[kPeHeadSize];
    for (int32_t done = 0; done < size;) {
        int32_t want = size - done < kPeHeadSize ? size - done : kPeHeadSize;
        if (!ReadAt(file, offset + done, block, want)) return 0;
        if (image && done == 0) SfxClearSigningFields(block, want);
        *crc = Crc32(*crc, block, (size_t)want);
        done += want;
    }
    return 1;
}

int SfxImageChecksum(FileHandle file, int32_t length, uint32_t* crc) {
    *crc = 0;
    return ChecksumRange(file, 0, length, 1, crc);
}

int SfxEntryChecksum(FileHandle file, const SfxEntry& entry, uint32_t* crc) {
    *crc = SfxEntrySeed(entry);
    return ChecksumRange(file, entry.offset, entry.size, 0, crc);
}

int SfxArchive::ReadManifest(FileHandle file) {
    checked = 0;
    if (entryCount < 1) return SFX_OK;
    const SfxEntry& entry = entries[entryCount - 1];
    const int32_t size = 4 * (entryCount + kSfxManifestHead);
    // No more than a manifest would take; what a failed read leaves does
    // not begin with the magic.
    memset(manifest, 0, 8);
    int whole = ReadAt(file, entry.offset, manifest, entry.size < size ? entry.size : size) &&
                entry.size == size;
    int magic = memcmp(manifest, SFX_MANIFEST_MAGIC, 8) == 0;
    if (!magic && strcmp(entry.name, SFX_MANIFEST_NAME) != 0) return SFX_OK;
    if (!whole || !magic || Crc32(SfxEntrySeed(entry), manifest, (size_t)size) != kCrc32Residue)
        return SFX_ERR_DAMAGED;
    for (int i = 0; i < entryCount + kSfxManifestHead; ++i)
        manifest[i] = LoadLe32((const unsigned char*)&manifest[i]);
    // The manifest's own copy is checked like any entry: its whole gives
    // the residue.
    manifest[kSfxManifestHead + entryCount - 1] = kCrc32Residue;
    checked = 1;
    return SFX_OK;
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
    uint32_t crc = SfxEntrySeed(entry);
    if (!FileSeekStart(file, entry.offset)) result = SFX_ERR_READ;
    while (result == SFX_OK && copied < entry.size) {
        int32_t want = entry.size - copied;
        if (want > kSfxCopyBlock) want = kSfxCopyBlock;
        int32_t got = FileRead(file, buffer, want);
        if (got <= 0) {
            result = SFX_ERR_READ;
            break;
        }
        if (checked) crc = Crc32(crc, buffer, (size_t)got);
        FileWrite(out, buffer, got);
        copied += got;
    }
    if (checked && crc != Expected(index)) result = SFX_ERR_DAMAGED;
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
    // The image is checked before anything is written, each entry as it is
    // copied.
    uint32_t image;
    result = ReadManifest(file);
    if (checked && (!SfxImageChecksum(file, entries[0].offset, &image) ||
                    image != manifest[kSfxManifestHead - 1]))
        result = SFX_ERR_DAMAGED;
    for (int index = entryCount - 1; result == SFX_OK && index >= 0; --index) {
        FileHandle* held = heldFiles ? &heldFiles[index] : NULL;
        int copy = ExtractEntry(file, index, dir, held);
        if (copy == SFX_ERR_CHANGED || copy == SFX_ERR_DAMAGED)
            result = copy;
        else if (progress)
            progress(user, (uint32_t)(entryCount - index), (uint32_t)entryCount, extra);
    }
    FileClose(file);
    return result;
}

int SfxArchive::ExtractAll(char* dir, SfxProgress progress, uintptr_t user, int32_t extra) {
    char self[kSfxDirSize];
    if (!ModuleFilePath(self, sizeof(self))) return SFX_ERR_OPEN;
    return ExtractFrom(self, dir, progress, user, extra);
}
