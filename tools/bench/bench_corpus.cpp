// Benchmark corpus. Generated data comes from a fixed pseudo-random
// sequence (no library distributions, whose output differs between
// standard libraries), so every machine measures the same bytes.
#include "tools/bench/bench_corpus.h"

#include <cstdio>

namespace {

// Binaries of Debian 12 with the packages this project builds with, about
// 8.5 MB together: ELF libraries and a program that every system has, and
// two 32-bit Windows DLLs of wine32, the kind of file a package carries.
const char* const kMachineFiles[] = {
    "/usr/lib/x86_64-linux-gnu/libstdc++.so.6",
    "/usr/lib/x86_64-linux-gnu/libc.so.6",
    "/usr/bin/bash",
    "/usr/lib/i386-linux-gnu/wine/i386-windows/kernel32.dll",
    "/usr/lib/i386-linux-gnu/wine/i386-windows/advapi32.dll",
};

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    // splitmix64
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(Next() % n); }

private:
    uint64_t state_;
};

const char* const kWords[] = {
    "the",      "installer", "copies",  "every",   "file",     "into",    "a",
    "directory", "under",    "program", "files",   "and",      "creates", "shortcut",
    "on",       "desktop",   "when",    "setup",   "finishes", "user",    "may",
    "restart",  "computer",  "licence", "agreement", "must",   "be",      "accepted",
    "before",   "version",   "product", "registry", "value",   "of",      "path",
    "window",   "progress",  "bar",     "shows",   "percent",  "done",    "cancel",
    "button",   "next",      "back",    "exit",    "plug-in",  "library", "entry",
    "point",    "is",        "called",  "once",    "system",   "folder",  "temporary",
};
const uint32_t kWordCount = sizeof(kWords) / sizeof(kWords[0]);

void AppendText(std::vector<uint8_t>* out, size_t until, Random* random) {
    char number[32];
    while (out->size() < until) {
        uint32_t words = 4 + random->Below(10);
        for (uint32_t i = 0; i < words; ++i) {
            const char* w = kWords[random->Below(kWordCount)];
            if (random->Below(16) == 0) {
                std::snprintf(number, sizeof(number), "%u", random->Below(100000));
                w = number;
            }
            if (i > 0) out->push_back(' ');
            for (const char* c = w; *c; ++c) out->push_back(static_cast<uint8_t>(*c));
        }
        out->push_back(random->Below(3) == 0 ? ',' : '.');
        out->push_back('\n');
    }
    out->resize(until);
}

// Fixed-layout records as a program's data tables hold them: a counter,
// small numbers, a name, padding.
void AppendRecords(std::vector<uint8_t>* out, size_t until, Random* random, uint32_t* id) {
    while (out->size() < until) {
        uint32_t fields[4] = {(*id)++, random->Below(256), random->Below(65536),
                              0x3F800000u + random->Below(4096)};
        for (uint32_t f : fields)
            for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(f >> (8 * i)));
        const char* w = kWords[random->Below(kWordCount)];
        size_t n = 0;
        for (; w[n] && n < 12; ++n) out->push_back(static_cast<uint8_t>(w[n]));
        for (; n < 12; ++n) out->push_back(0);
    }
    out->resize(until);
}

// Blocks of text, records and noise, in seeded order and sizes.
std::vector<uint8_t> Mixed(size_t size, Random* random) {
    std::vector<uint8_t> out;
    uint32_t id = 1;
    while (out.size() < size) {
        size_t block = 512 + random->Below(16384);
        size_t until = out.size() + block < size ? out.size() + block : size;
        switch (random->Below(3)) {
        case 0: AppendText(&out, until, random); break;
        case 1: AppendRecords(&out, until, random, &id); break;
        default:
            while (out.size() < until) out.push_back(static_cast<uint8_t>(random->Next()));
        }
    }
    return out;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* data) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    data->clear();
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0) data->insert(data->end(), buffer, buffer + n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

}  // namespace

std::vector<BenchSet> GeneratedSets(size_t size, uint64_t seed) {
    Random random(seed);
    std::vector<BenchSet> sets(3);
    sets[0].name = "random";
    sets[0].files.push_back({"random", std::vector<uint8_t>(size)});
    for (uint8_t& b : sets[0].files[0].data) b = static_cast<uint8_t>(random.Next() >> 56);

    sets[1].name = "text";
    sets[1].files.push_back({"text", {}});
    AppendText(&sets[1].files[0].data, size, &random);

    sets[2].name = "mixed";
    sets[2].files.push_back({"mixed", Mixed(size, &random)});
    return sets;
}

BenchSet FileSet(const std::string& name, const std::vector<std::string>& paths,
                 std::vector<std::string>* missing) {
    BenchSet set;
    set.name = name;
    for (const std::string& path : paths) {
        BenchFile file;
        file.name = path;
        if (ReadWholeFile(path, &file.data))
            set.files.push_back(file);
        else
            missing->push_back(path);
    }
    return set;
}

BenchSet MachineSet(std::vector<std::string>* missing) {
    std::vector<std::string> paths(kMachineFiles, kMachineFiles + sizeof(kMachineFiles) / sizeof(kMachineFiles[0]));
    return FileSet("binaries", paths, missing);
}
