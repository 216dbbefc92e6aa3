// libFuzzer target: the container reader on arbitrary files.
//
// Every input is written as a container file and read with ReadDirectory.
// When the reader accepts it, ExtractFrom copies it into an empty directory
// and the result is compared with what the directory must hold: one file per
// entry with a plain name that fits the path, holding that entry's bytes
// (the lower index wins for equal names), and nothing else anywhere.
#include <dirent.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/sfx_archive.h"

namespace {

typedef std::vector<uint8_t> Bytes;

[[noreturn]] void Fail(const std::string& what) {
    fprintf(stderr, "fuzz_trailer: %s\n", what.c_str());
    abort();
}

// A private directory with the container file "setup.exe" and "out".
struct Scratch {
    std::string base, container, out;

    Scratch() {
        char pattern[] = "/tmp/tarnvale-fuzz-XXXXXX";
        if (!mkdtemp(pattern)) Fail("cannot make a scratch directory");
        base = pattern;
        container = base + "/setup.exe";
        out = base + "/out";
        if (mkdir(out.c_str(), 0700) != 0) Fail("cannot make " + out);
    }
};

Scratch* theScratch = nullptr;

// Removes the scratch directory when the fuzzer ends normally; after a
// failure it stays for a look.
void RemoveScratch() {
    unlink(theScratch->container.c_str());
    rmdir(theScratch->out.c_str());
    rmdir(theScratch->base.c_str());
}

Scratch& TheScratch() {
    if (!theScratch) {
        theScratch = new Scratch();
        atexit(RemoveScratch);
    }
    return *theScratch;
}

std::set<std::string> Names(const std::string& dir, bool* onlyFiles) {
    std::set<std::string> names;
    DIR* d = opendir(dir.c_str());
    if (!d) Fail("cannot list " + dir);
    while (struct dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st;
        if (lstat((dir + "/" + name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) *onlyFiles = false;
        names.insert(name);
    }
    closedir(d);
    return names;
}

Bytes ReadFile(const std::string& path) {
    Bytes data;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) Fail("cannot read back " + path);
    uint8_t block[4096];
    size_t n;
    while ((n = fread(block, 1, sizeof(block), f)) > 0) data.insert(data.end(), block, block + n);
    fclose(f);
    return data;
}

void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f || fwrite(data, 1, size, f) != size || fclose(f) != 0) Fail("cannot write " + path);
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
    if (result != SFX_OK) Fail("ExtractFrom gave " + std::to_string(result) + " after SFX_OK");
    if (dir != scratch.out + "/") Fail("the directory did not get its separator");
    uint32_t n = (uint32_t)archive->entryCount;
    if (calls.seen.size() != n) Fail("progress called " + std::to_string(calls.seen.size()) + " times");
    for (uint32_t i = 0; i < n; ++i)
        if (calls.seen[i].first != i + 1 || calls.seen[i].second != n) Fail("progress out of order");

    bool ignored = true, onlyFiles = true;
    std::set<std::string> besides = Names(scratch.base, &ignored);
    if (besides != std::set<std::string>{"setup.exe", "out"}) Fail("a file landed outside the directory");
    std::map<std::string, Bytes> expect = Expected(*archive, data, dir);
    std::set<std::string> got = Names(scratch.out, &onlyFiles);
    if (!onlyFiles) Fail("extraction made something other than plain files");
    std::set<std::string> expectNames;
    for (const auto& item : expect) expectNames.insert(item.first);
    if (got != expectNames)
        Fail("extracted " + std::to_string(got.size()) + " files, expected " + std::to_string(expectNames.size()));
    for (const auto& item : expect) {
        std::string path = scratch.out + "/" + item.first;
        if (ReadFile(path) != item.second) Fail("wrong bytes in " + item.first);
        unlink(path.c_str());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WriteFile(TheScratch().container, data, size);
    CheckExtraction(data, size);
    return 0;
}
