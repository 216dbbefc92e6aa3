#include "core/sfx_writer.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "core/crc32.h"
#include "core/pe_image.h"
#include "core/sfx_archive.h"

namespace {

const int64_t kMaxPackage = INT32_MAX;  // offsets and sizes are signed 32-bit

void PutLe32(std::vector<uint8_t>* out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<uint8_t> SfxTrailer(const std::vector<SfxRecord>& records) {
    std::vector<uint8_t> out;
    for (const SfxRecord& r : records) {
        PutLe32(&out, static_cast<uint32_t>(r.offset));
        PutLe32(&out, static_cast<uint32_t>(r.size));
        out.insert(out.end(), r.name.begin(), r.name.end());
        PutLe32(&out, static_cast<uint32_t>(r.name.size()));
    }
    PutLe32(&out, static_cast<uint32_t>(records.size()));
    const char* signature = SFX_SIGNATURE;
    out.insert(out.end(), signature, signature + static_cast<int>(kSfxSignatureLength));
    return out;
}

std::vector<uint8_t> SfxManifest(uint32_t image, const std::vector<uint32_t>& entries) {
    const char* magic = SFX_MANIFEST_MAGIC;
    std::vector<uint8_t> out(magic, magic + 8);
    PutLe32(&out, image);
    for (uint32_t crc : entries) PutLe32(&out, crc);
    SfxEntry self;
    self.SetName(SFX_MANIFEST_NAME);
    self.SetSize(static_cast<int32_t>(out.size() + 4));
    PutLe32(&out, Crc32(SfxEntrySeed(self), out.data(), out.size()));
    return out;
}

std::vector<uint8_t> SfxContainer(std::vector<uint8_t> image, const std::vector<SfxItem>& items,
                                  bool checksums) {
    std::vector<uint8_t> head(image.begin(), image.begin() + std::min<size_t>(image.size(), kPeHeadSize));
    SfxClearSigningFields(head.data(), static_cast<int32_t>(head.size()));
    uint32_t imageCrc = Crc32(Crc32(0, head.data(), head.size()), image.data() + head.size(),
                              image.size() - head.size());
    std::vector<SfxRecord> records;
    std::vector<uint32_t> crcs;
    for (const SfxItem& item : items) {
        records.push_back({item.name, static_cast<int32_t>(image.size()),
                           static_cast<int32_t>(item.data.size())});
        SfxEntry entry;
        entry.SetName(item.name.c_str());
        entry.SetSize(records.back().size);
        crcs.push_back(Crc32(SfxEntrySeed(entry), item.data.data(), item.data.size()));
        image.insert(image.end(), item.data.begin(), item.data.end());
    }
    if (checksums) {
        std::vector<uint8_t> manifest = SfxManifest(imageCrc, crcs);
        records.push_back({SFX_MANIFEST_NAME, static_cast<int32_t>(image.size()),
                           static_cast<int32_t>(manifest.size())});
        image.insert(image.end(), manifest.begin(), manifest.end());
    }
    std::vector<uint8_t> trailer = SfxTrailer(records);
    image.insert(image.end(), trailer.begin(), trailer.end());
    return image;
}

std::string SfxNameProblem(const std::string& name) {
    if (name.empty()) return "the name is empty";
    if (name.size() > kSfxMaxNameLength) return "the name is longer than 260 bytes";
    if (name.find('\0') != std::string::npos) return "the name holds a NUL byte";
    if (!SfxIsPlainName(name.c_str())) return "the name is not a plain file name";
    return "";
}

SfxWriter::~SfxWriter() {
    if (out_) std::fclose(out_);
}

bool SfxWriter::Put(const uint8_t* data, size_t size, std::string* error) {
    if (written_ + static_cast<int64_t>(size) > kMaxPackage) {
        *error = "the package would reach 2 GiB";
        return false;
    }
    if (size && std::fwrite(data, 1, size, out_) != size) {
        *error = "cannot write " + path_;
        return false;
    }
    written_ += static_cast<int64_t>(size);
    return true;
}

bool SfxWriter::Begin(const std::string& outPath, const std::string& stubPath, std::string* error) {
    path_ = outPath;
    out_ = std::fopen(outPath.c_str(), "wb");
    if (!out_) {
        *error = "cannot create " + outPath;
        return false;
    }
    return AddFile("", stubPath, error);
}

bool SfxWriter::StartEntry(const std::string& name, std::string* error, bool manifest) {
    // One place, and the manifest's name, stay free for the manifest.
    const bool reserve = checksums_ && !manifest;
    if (records_.size() + (reserve ? 1 : 0) >= static_cast<size_t>(kSfxMaxEntries)) {
        *error = reserve ? "a package holds at most 999 entries and its checksums"
                            : "a package holds at most 1000 entries";
        return false;
    }
    std::string problem = SfxNameProblem(name);
    std::string lower;
    for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (reserve && lower == SFX_MANIFEST_NAME)
        problem = "the name is that of the package's checksums";
    if (!problem.empty()) {
        *error = "\"" + name + "\": " + problem;
        return false;
    }
    records_.push_back(SfxRecord{name, static_cast<int32_t>(written_), 0});
    return true;
}

bool SfxWriter::AddFile(const std::string& name, const std::string& path, std::string* error) {
    // An empty name is the program image, which has no record.
    if (!name.empty() && !StartEntry(name, error)) return false;
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) {
        *error = "cannot open " + path;
        return false;
    }
    int64_t start = written_;
    uint8_t block[65536];
    size_t n;
    bool ok = true;
    while (ok && (n = std::fread(block, 1, sizeof(block), in)) > 0) ok = Put(block, n, error);
    if (ok && std::ferror(in)) {
        *error = "cannot read " + path;
        ok = false;
    }
    std::fclose(in);
    if (ok && !name.empty()) records_.back().size = static_cast<int32_t>(written_ - start);
    return ok;
}

bool SfxWriter::AddBytes(const std::string& name, const uint8_t* data, size_t size,
                         std::string* error) {
    if (!StartEntry(name, error) || !Put(data, size, error)) return false;
    records_.back().size = static_cast<int32_t>(size);
    return true;
}

// The checksums are taken from the file as written, with the functions the
// setup program checks them with.
bool SfxWriter::AddManifest(std::string* error) {
    FileHandle in = std::fflush(out_) == 0 ? FileOpenRead(path_.c_str()) : kNoFile;
    bool ok = in != kNoFile;
    uint32_t image = 0;
    std::vector<uint32_t> crcs(records_.size());
    ok = ok && SfxImageChecksum(in, records_[0].offset, &image);
    for (size_t i = 0; ok && i < records_.size(); ++i) {
        SfxEntry entry;
        entry.SetName(records_[i].name.c_str());
        entry.SetSize(records_[i].size);
        entry.SetOffset(records_[i].offset);
        ok = SfxEntryChecksum(in, entry, &crcs[i]);
    }
    FileClose(in);
    if (!ok) {
        *error = "cannot read " + path_ + " back for its checksums";
        return false;
    }
    std::vector<uint8_t> manifest = SfxManifest(image, crcs);
    if (!StartEntry(SFX_MANIFEST_NAME, error, true) || !Put(manifest.data(), manifest.size(), error))
        return false;
    records_.back().size = static_cast<int32_t>(manifest.size());
    return true;
}

bool SfxWriter::Finish(std::string* error) {
    if (records_.empty()) {
        *error = "a package needs at least one entry";
        return false;
    }
    if (checksums_ && !AddManifest(error)) return false;
    std::vector<uint8_t> trailer = SfxTrailer(records_);
    bool ok = Put(trailer.data(), trailer.size(), error);
    if (std::fclose(out_) != 0 && ok) {
        *error = "cannot write " + path_;
        ok = false;
    }
    out_ = nullptr;
    return ok;
}
