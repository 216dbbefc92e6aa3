// libFuzzer target: the container reader on arbitrary files.
//
// Every input is written as a container file and read with ReadDirectory.
// When the reader accepts it, ExtractFrom copies it into an empty directory
// and the result is compared with what the directory must hold: one file per
// entry with a plain name that fits the path, holding that entry's bytes
// (the lower index wins for equal names), and nothing else anywhere.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/sfx_archive.h"
#include "core/sfx_writer.h"
#include "tests/support/codec_harness.h"

namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& what) {
    fprintf(stderr, "fuzz_trailer: %s\n", what.c_str());
    abort();
}

// A private directory with the container file "setup.exe" and "out". It is
// removed when the fuzzer ends normally; after a failure it stays for a look.
struct Scratch {
    std::string base, container, out;

    Scratch() {
        char pattern[] = "/tmp/tarnvale-fuzz-XXXXXX";
        if (!mkdtemp(pattern)) Fail("cannot make a scratch directory");
        base = pattern;
        container = base + "/setup.exe";
        out = base + "/out";
        if (!fs::create_directory(out)) Fail("cannot make " + out);
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(base, ignored);
    }
};

Scratch& TheScratch() {
    static Scratch scratch;
    return scratch;
}

// The files of `dir` with their bytes; anything but a plain file fails.
std::map<std::string, Bytes> Files(const std::string& dir) {
    std::map<std::string, Bytes> files;
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
        if (!e.is_regular_file() || e.is_symlink()) Fail("extraction made something other than plain files");
        files[e.path().filename().string()] = ReadAll(e.path().string());
    }
    return files;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write((const char*)data, (std::streamsize)size) || !out.flush()) Fail("cannot write " + path);
}

struct Calls {
    std::vector<std::pair<uint32_t, uint32_t>> seen;
    static void Record(uintptr_t user, uint32_t done, uint32_t total, int32_t extra) {
        if (extra != 7) Fail("the progress callback got another extra value");
        ((Calls*)user)->seen.push_back({done, total});
    }
};

// What the directory must hold after extracting `archive` from `file`
// into `dir` (with its separator).
std::map<std::string, Bytes> Expected(const SfxArchive& archive, const uint8_t* file, const std::string& dir) {
    std::map<std::string, Bytes> files;
    for (int i = archive.entryCount - 1; i >= 0; --i) {
        const SfxEntry& e = archive.entries[i];
        std::string name = e.name;
        // Refused names, names too long for the 260-character path, and
        // names this file system cannot hold (over 255 bytes) make no file.
        if (!SfxIsPlainName(e.name) || dir.size() + name.size() >= kSfxPathSize || name.size() > 255)
            continue;
        files[name] = Bytes(file + e.offset, file + e.offset + e.size);
    }
    return files;
}

void CheckExtraction(const uint8_t* data, size_t size) {
    Scratch& scratch = TheScratch();
    static std::unique_ptr<SfxArchive> archive(new SfxArchive());
    int read = archive->ReadDirectory(scratch.container.c_str());
    if (read != SFX_OK) {
        if (archive->entryCount != 0) Fail("a refused directory left entries behind");
        return;
    }
    if (archive->entryCount < 1 || archive->entryCount > kSfxMaxEntries) Fail("entry count out of range");
    if (archive->trailerLength < kSfxTrailerFixed || (size_t)archive->trailerLength > size)
        Fail("trailer length outside the file");
    for (int i = 0; i < archive->entryCount; ++i) {
        const SfxEntry& e = archive->entries[i];
        if (e.offset < 0 || e.size < 0 || (size_t)e.offset + (size_t)e.size > size)
            Fail("entry " + std::to_string(i) + " reaches outside the file");
        if (strlen(e.name) > kSfxMaxNameLength) Fail("entry name longer than 260 bytes");
    }

    char dir[kSfxDirSize];
    snprintf(dir, sizeof(dir), "%s", scratch.out.c_str());  // no separator: ExtractFrom adds it
    Calls calls;
    int result = archive->ExtractFrom(scratch.container.c_str(), dir, Calls::Record, (uintptr_t)&calls, 7);
    const SfxEntry& last = archive->entries[archive->entryCount - 1];
    const bool manifest = strcmp(last.name, SFX_MANIFEST_NAME) == 0 ||
                          (last.size >= 8 && memcmp(data + last.offset, SFX_MANIFEST_MAGIC, 8) == 0);
    std::set<std::string> besides;
    for (const fs::directory_entry& e : fs::directory_iterator(scratch.base))
        besides.insert(e.path().filename().string());
    if (besides != std::set<std::string>{"setup.exe", "out"}) Fail("a file landed outside the directory");
    if (result == SFX_ERR_DAMAGED && manifest) {  // a failed check stops part way
        fs::remove_all(scratch.out);
        fs::create_directory(scratch.out);
        return;
    }
    if (result != SFX_OK) Fail("ExtractFrom gave " + std::to_string(result) + " after SFX_OK");
    if (dir != scratch.out + "/") Fail("the directory did not get its separator");
    uint32_t n = (uint32_t)archive->entryCount;
    if (calls.seen.size() != n) Fail("progress called " + std::to_string(calls.seen.size()) + " times");
    for (uint32_t i = 0; i < n; ++i)
        if (calls.seen[i].first != i + 1 || calls.seen[i].second != n) Fail("progress out of order");

    std::map<std::string, Bytes> got = Files(scratch.out), expect = Expected(*archive, data, dir);
    for (const auto& item : expect)
        if (!got.count(item.first) || got[item.first] != item.second) Fail("missing or wrong bytes: " + item.first);
    if (got.size() != expect.size()) Fail("a file no entry names was extracted");
    for (const auto& item : got) fs::remove(scratch.out + "/" + item.first);
}

}  // namespace

// Seeds: small containers, one with unsafe names, one with a repeated name
// and one with checksums, and a container without entries, whole and cut
// by one byte.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    const Bytes image(64, 0xCC), none = SfxContainer(image, {});
    auto item = [](const char* name, const std::string& data) {
        return SfxItem{name, Bytes(data.begin(), data.end())};
    };
    WriteSeeds(*argc, *argv,
               {SfxContainer(image, {item("install.ini", "[INFO]\r\nSIZE=5\r\n")}),
                SfxContainer(image, {item("a.exe", "abcabcabc"), item("empty", ""), item("a.exe", "second")}),
                SfxContainer(image, {item("../up", "x"), item("sub/dir", "y"), item("..", "z"),
                                     item("c:drive", "w"), item("ok", "fine")}),
                SfxContainer(image, {item("install.ini", "[INFO]\r\n"), item("b", "data")}, true),
                none, Bytes(none.begin(), none.end() - 1)});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteFile(TheScratch().container, data, size);
    CheckExtraction(data, size);
    return 0;
}
