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
// 2 GiB. The trailer is read from the end of the file backwards, so the
// reader never needs the size of the program image. Nothing marks an entry
// as compressed; the install script decides that.
#ifndef TARNVALE_CORE_SFX_ARCHIVE_H
#define TARNVALE_CORE_SFX_ARCHIVE_H

#include <stddef.h>
#include <stdint.h>

#include "core/file_io.h"

#define SFX_SIGNATURE "!MORV_SFX!"
enum {
    kSfxSignatureLength = 10,
    kSfxMaxEntries = 1000,
    kSfxMaxNameLength = 260,       // bytes of a stored name
    kSfxPathSize = 261,            // output path buffer, terminator included
    kSfxCopyBlock = 1000,          // bytes per read while copying an entry
    kSfxTrailerFixed = 14,         // entry count and signature
    kSfxRecordFixed = 12,          // offset, size and name length
    kSfxDirSize = 260              // caller's directory buffer (MAX_PATH)
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
    SFX_ERR_CHANGED = 1010     // an extracted file was replaced before it could be held
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
    SfxArchive() : entryCount(0), trailerLength(0), heldFiles(NULL) {}
    virtual ~SfxArchive() {}

    // Reads the trailer of `path` into `entries` and `entryCount`.
    // Returns SFX_OK; SFX_ERR_OPEN, SFX_ERR_SIGNATURE or SFX_ERR_EMPTY as
    // their names say; SFX_ERR_TRAILER when the count exceeds 1000, a name
    // length is 0 or above 260, the records run past the start of the file
    // or an entry's data lies outside it. Never writes outside `entries`.
    int ReadDirectory(const char* path);

    // Copies entry `index` from the open container `file` to `dir` + name.
    // Returns SFX_OK; SFX_ERR_CREATE when the name is not a plain file name
    // (holds "\", "/" or ":", is empty, "." or ".."), when `dir` + name would
    // not fit 260 characters, or when the output cannot be created;
    // SFX_ERR_READ when the data ends early (the copy stops there).
    // With `held`, a copied file is kept open there (FileHoldWritten), or the
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
    // SFX_ERR_CHANGED.
    int ExtractAll(char* dir, SfxProgress progress, uintptr_t user, int32_t extra);

    // ExtractAll on the container at `path` instead of the running executable.
    int ExtractFrom(const char* path, char* dir, SfxProgress progress,
                    uintptr_t user, int32_t extra);

    // Empties all 1000 entries; entryCount and trailerLength become 0.
    void Reset();

    SfxEntry entries[kSfxMaxEntries];
    int32_t entryCount;
    int32_t trailerLength;
    FileHandle* heldFiles;  // kSfxMaxEntries slots, or NULL: nothing held
};

// Whether `name` may become a file directly inside the target directory.
int SfxIsPlainName(const char* name);

#endif
