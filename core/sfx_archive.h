// Payload container: the files a package carries behind its program image.
//
//   setup.exe
//   +---------------------------+ 0
//   | program image             |
//   +---------------------------+
//   | entry 0 data              |  entry k: `size` bytes at absolute `offset`
//   | entry 1 data              |
//   | ...                       |
//   +---------------------------+
//   | record of entry 0         |  12 + L0 bytes
//   | ...                       |
//   | record of entry n-1       |  12 + Ln-1 bytes
//   | entry count n   (4)       |  end - 14
//   | "!MORV_SFX!"    (10)      |  end - 10, no terminator
//   +---------------------------+ end
//
//   entry record, in file order:
//     offset (4) | size (4) | name (L bytes, no terminator) | L (4)
//
// All integers are 32-bit little-endian and signed: a package stays below
// 2 GiB. The trailer is read from the end of the container backwards, so
// the reader never needs the size of the program image. Nothing marks an
// entry as compressed; the install script decides that.
//
// The container ends at the end of the file, or, in a package signed with
// Authenticode, where the certificate table begins that the program's
// security directory names (pe_image.h), less the zero bytes (at most 7)
// that align the table.
//
// Checksum manifest: the last entry, named "payload.crc" (no longer than
// "install.ini", so that the workspace holds it wherever it holds the
// script), of a package that carries checksums; 4 (n + 3) bytes in a
// container of n entries:
//
//     "TARNCRC1" (8) | image (4) | entry 0 (4) | ... | entry n-2 (4) | own (4)
//
//   image   CRC-32 (crc32.h) of the bytes before entry 0, the program's
//           checksum and security directory read as zeros (signing changes
//           them)
//   entry k CRC-32 of its name, its size (4) and its stored bytes
//   own     CRC-32 of the manifest's name, its size and the bytes before
//           this field, so that its whole entry gives kCrc32Residue
//
// A last entry with that name or with data that begins "TARNCRC1" is a
// manifest; a package without one is read and extracted unchecked.
#ifndef TARNVALE_CORE_SFX_ARCHIVE_H
#define TARNVALE_CORE_SFX_ARCHIVE_H

#include <stddef.h>
#include <stdint.h>

#include "core/file_io.h"

#define SFX_SIGNATURE "!MORV_SFX!"
#define SFX_MANIFEST_NAME "payload.crc"
#define SFX_MANIFEST_MAGIC "TARNCRC1"
enum {
    kSfxSignatureLength = 10,
    kSfxMaxEntries = 1000,
    kSfxMaxNameLength = 260,       // bytes of a stored name
    kSfxPathSize = 261,            // output path buffer, terminator included
    kSfxCopyBlock = 65536,         // bytes per read and write while copying an entry
    kSfxTrailerFixed = 14,         // entry count and signature
    kSfxRecordFixed = 12,          // offset, size and name length
    kSfxDirSize = 260,             // caller's directory buffer (MAX_PATH)
    kSfxManifestHead = 3           // manifest words before the entries' checksums
};

// Result codes. There is no 1003.
enum SfxResult {
    SFX_ERR_OPEN = 1000,       // the executable could not be opened to read the directory
    SFX_ERR_SIGNATURE = 1001,  // the last 10 bytes are not the signature
    SFX_OK = 1002,
    SFX_ERR_EMPTY = 1004,      // the entry count is 0
    SFX_ERR_CREATE = 1005,     // one entry's output file could not be created (or its name is unsafe)
    SFX_ERR_REOPEN = 1006,     // the executable could not be opened again for copying
    SFX_ERR_TRAILER = 1007,    // the trailer breaks the format's limits or reaches outside the file
    SFX_ERR_PATH = 1008,       // the target directory leaves no room for a trailing backslash
    SFX_ERR_READ = 1009,       // an entry's data ended early; the copy stopped
    SFX_ERR_CHANGED = 1010,    // an extracted file was replaced before it could be held
    SFX_ERR_DAMAGED = 1011     // a checksum does not match, or the payload behind the
                               // program ends without the signature (cut short)
};

// Progress callback of ExtractAll: `user` and `extra` come back as given.
typedef void (*SfxProgress)(uintptr_t user, uint32_t done, uint32_t total, int32_t extra);

class SfxEntry {
public:
    SfxEntry() { Clear(); }
    void Clear();

    const char* Name() const { return name; }
    int32_t Size() const { return size; }
    int32_t Offset() const { return offset; }
    // Copies `text` up to its terminator; longer than 260 bytes is cut at 260.
    void SetName(const char* text);
    void SetSize(int32_t value) { size = value; }
    void SetOffset(int32_t value) { offset = value; }

    char name[kSfxMaxNameLength + 1];
    int32_t size;
    int32_t offset;
};

class SfxArchive {
public:
    SfxArchive() : entryCount(0), trailerLength(0), heldFiles(NULL), containerEnd(0), checked(0) {}
    virtual ~SfxArchive() {}

    // Reads the trailer of `path` into `entries` and `entryCount`, and sets
    // `containerEnd`. Returns SFX_OK; SFX_ERR_OPEN, SFX_ERR_SIGNATURE or
    // SFX_ERR_EMPTY as their names say; SFX_ERR_DAMAGED instead of
    // SFX_ERR_SIGNATURE when a program has bytes behind its sections (a
    // package cut short); SFX_ERR_TRAILER when the count exceeds 1000, a
    // name length is 0 or above 260, the records run past the start of the
    // file or an entry's data lies outside the container. Never writes
    // outside `entries`.
    int ReadDirectory(const char* path);

    // Copies entry `index` from the open container `file` to `dir` + name.
    // Returns SFX_OK; SFX_ERR_CREATE when the name is not a plain file name
    // (holds "\", "/" or ":", is empty, "." or ".."), when `dir` + name would
    // not fit 260 characters, or when the output cannot be created;
    // SFX_ERR_READ when the data ends early (the copy stops there);
    // SFX_ERR_DAMAGED when `checked` and the copy's checksum differs from
    // the manifest's (the file is written all the same). With `held`, a copied file is kept open there (FileHoldWritten), or the
    // result is SFX_ERR_CHANGED and *held is kNoFile.
    int ExtractEntry(FileHandle file, int index, const char* dir, FileHandle* held = NULL) const;

    // Extracts every entry of the running executable into `dir`, a buffer of
    // 260 characters that gets a trailing backslash. Entries are copied from
    // the last to the first; after each one `progress` (when set) gets
    // (user, done, total, extra) with done = 1..n. Returns the directory
    // read's result unchanged, SFX_ERR_REOPEN, SFX_ERR_PATH, or SFX_OK (also
    // when single entries failed). With `heldFiles` set, entry i's file stays
    // open in heldFiles[i] (kNoFile for one that failed), and a file that was
    // replaced before it could be held ends the extraction with
    // SFX_ERR_CHANGED. A package with a manifest has its image checked
    // before the copy and each entry as it is copied; a mismatch, or a
    // damaged manifest, ends the extraction with SFX_ERR_DAMAGED.
    int ExtractAll(char* dir, SfxProgress progress, uintptr_t user, int32_t extra);

    // ExtractAll on the container at `path` instead of the running executable.
    int ExtractFrom(const char* path, char* dir, SfxProgress progress,
                    uintptr_t user, int32_t extra);

    // Looks for the checksum manifest as the last entry of the container
    // open as `file`, after ReadDirectory. Returns SFX_OK with `checked` 0
    // when there is none; SFX_OK with `checked` 1 and `manifest` holding its
    // words (in the machine's order, the manifest's own word replaced by
    // kCrc32Residue) when it is whole; SFX_ERR_DAMAGED otherwise.
    int ReadManifest(FileHandle file);
    // The checksum the manifest gives entry `index`.
    uint32_t Expected(int index) const { return manifest[kSfxManifestHead + index]; }

    // Empties all 1000 entries; entryCount, trailerLength, containerEnd and
    // checked become 0.
    void Reset();

    SfxEntry entries[kSfxMaxEntries];
    int32_t entryCount;
    int32_t trailerLength;
    FileHandle* heldFiles;  // kSfxMaxEntries slots, or NULL: nothing held
    int32_t containerEnd;   // where the trailer ends
    int32_t checked;        // 1 when ReadManifest found a whole manifest
    uint32_t manifest[kSfxMaxEntries + kSfxManifestHead];
};

// Whether `name` may become a file directly inside the target directory.
int SfxIsPlainName(const char* name);

// The CRC-32 of an entry's name and size, which its checksum continues with
// the stored bytes.
uint32_t SfxEntrySeed(const SfxEntry& entry);

// The checksums of the manifest, read from the open container `file`: of
// the first `length` bytes (the program image), with the checksum and
// security directory of its PE headers read as zeros; of `entry`, its name,
// size and stored bytes. Return 1, or 0 when the bytes cannot be read.
int SfxImageChecksum(FileHandle file, int32_t length, uint32_t* crc);
int SfxEntryChecksum(FileHandle file, const SfxEntry& entry, uint32_t* crc);

// Sets the checksum and the security directory to zeros in `head`, the
// first `length` bytes of a file, when they begin a PE image.
void SfxClearSigningFields(unsigned char* head, int32_t length);

#endif
