// Host helper of the Wine tests: appends the test payload to a Windows
// program.
//
//   sfx_append PROGRAM OUT SEED EXPECTDIR
//
// Copies PROGRAM to OUT and appends a payload of files of 0, 1, 1000, 1001
// and 70000 bytes (1000 is one copy block), one of them named with spaces,
// filled with bytes drawn from SEED. Each file is also written to EXPECTDIR
// under its entry name, so that a test can compare what the program
// extracts. Prints the seed and the entries. Exit code 0 on success, 1 on a
// failure, 2 on a bad command line.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "core/sfx_writer.h"

namespace {

struct Entry {
    const char* name;
    size_t size;
};

const Entry kEntries[] = {
    {"empty.bin", 0},
    {"one.bin", 1},
    {"block.bin", 1000},
    {"block plus one.bin", 1001},
    {"large.bin", 70000},
};

bool WriteExpected(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: sfx_append PROGRAM OUT SEED EXPECTDIR\n");
        return 2;
    }
    const std::string program = argv[1], outPath = argv[2], expectDir = argv[4];
    char* end = nullptr;
    errno = 0;
    unsigned long seed = std::strtoul(argv[3], &end, 10);
    if (errno != 0 || *end != '\0' || end == argv[3]) {
        std::fprintf(stderr, "sfx_append: bad seed %s\n", argv[3]);
        return 2;
    }
    std::printf("sfx_append: seed %lu\n", seed);

    std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
    SfxWriter writer;
    std::string error;
    bool ok = writer.Begin(outPath, program, &error);
    for (const Entry& entry : kEntries) {
        if (!ok) break;
        std::vector<uint8_t> bytes(entry.size);
        for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
        ok = writer.AddBytes(entry.name, bytes.data(), bytes.size(), &error);
        if (ok && !WriteExpected(expectDir + "/" + entry.name, bytes)) {
            error = "cannot write " + expectDir + "/" + entry.name;
            ok = false;
        }
    }
    if (ok) ok = writer.Finish(&error);
    if (!ok) {
        std::fprintf(stderr, "sfx_append: %s (seed %lu)\n", error.c_str(), seed);
        return 1;
    }
    for (const SfxRecord& r : writer.Records())
        std::printf("sfx_append: entry \"%s\" offset %ld size %ld\n", r.name.c_str(),
                    static_cast<long>(r.offset), static_cast<long>(r.size));
    return 0;
}
