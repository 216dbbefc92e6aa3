// Container writer for the host tool: program image, entry data, trailer.
// Produces exactly the layout that sfx_archive.h draws.
#ifndef TARNVALE_CORE_SFX_WRITER_H
#define TARNVALE_CORE_SFX_WRITER_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct SfxRecord {
    std::string name;
    int32_t offset;
    int32_t size;
};

// The trailer bytes for `records`, in file order, signature last.
std::vector<uint8_t> SfxTrailer(const std::vector<SfxRecord>& records);

struct SfxItem {
    std::string name;
    std::vector<uint8_t> data;
};

// A whole container in memory: `image`, the items' data in order, with
// `checksums` the manifest behind them, then the trailer. For tests and
// fuzz seeds; packages are written with SfxWriter.
std::vector<uint8_t> SfxContainer(std::vector<uint8_t> image, const std::vector<SfxItem>& items,
                                  bool checksums = false);

// The data of the checksum manifest (sfx_archive.h) for the image's
// checksum and those of the entries before it.
std::vector<uint8_t> SfxManifest(uint32_t image, const std::vector<uint32_t>& entries);

// Why `name` cannot be a payload entry, or "" when it can.
std::string SfxNameProblem(const std::string& name);

class SfxWriter {
public:
    SfxWriter() : out_(nullptr), written_(0), checksums_(true) {}
    ~SfxWriter();

    // Creates `outPath` and copies the program image `stubPath` into it.
    bool Begin(const std::string& outPath, const std::string& stubPath, std::string* error);
    // Appends one entry from a file or from memory.
    bool AddFile(const std::string& name, const std::string& path, std::string* error);
    bool AddBytes(const std::string& name, const uint8_t* data, size_t size, std::string* error);
    // Whether Finish adds the checksum manifest (it does unless told not to).
    void SetChecksums(bool on) { checksums_ = on; }
    // Adds the checksum manifest, read back from the file, writes the
    // trailer and closes the file.
    bool Finish(std::string* error);

    const std::vector<SfxRecord>& Records() const { return records_; }

private:
    bool StartEntry(const std::string& name, std::string* error, bool manifest = false);
    bool Put(const uint8_t* data, size_t size, std::string* error);
    bool AddManifest(std::string* error);

    std::FILE* out_;
    int64_t written_;
    std::string path_;
    std::vector<SfxRecord> records_;
    bool checksums_;
};

#endif
