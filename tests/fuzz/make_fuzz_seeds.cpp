// Writes the seed corpora of the two fuzz targets, so that no binary file
// needs to be checked in:
//
//   make_fuzz_seeds DIR   ->  DIR/trailer/*.bin  small containers
//                             DIR/lzss/*.bin     streams of the format
#include <stdio.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/sfx_writer.h"
#include "tests/support/codec_harness.h"

namespace {

// A 64-byte stand-in for the program image, the items and the trailer.
Bytes Container(const std::vector<SfxItem>& items) {
    Bytes image(64, 0xCC);
    image[0] = 'M';
    image[1] = 'Z';
    return SfxContainer(image, items);
}

Bytes Of(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Encoded(const std::string& text) {
    std::unique_ptr<LzssEncoder> encoder(new LzssEncoder());
    return Encode(*encoder, Of(text));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: make_fuzz_seeds DIR\n");
        return 1;
    }
    std::string dir = argv[1];
    std::filesystem::create_directories(dir + "/trailer");
    std::filesystem::create_directories(dir + "/lzss");

    Bytes noEntries = Container({});
    static const char kCode[] = "\x55\x8B\xEC\x83\xEC\x10\x00\x00\x00\x00\xC3\x90\x90\x90\x55\x8B\xEC";
    std::string machine(kCode, sizeof(kCode) - 1);  // holds NUL bytes
    const struct {
        const char* name;
        Bytes data;
    } seeds[] = {
        {"trailer/one.bin", Container({{"install.ini", Of("[INFO]\r\nSIZE=5\r\n")}})},
        {"trailer/three.bin", Container({{"a.exe", Of("abcabcabc")}, {"empty", {}}, {"a.exe", Of("second")}})},
        {"trailer/unsafe_names.bin", Container({{"../up", Of("x")}, {"sub/dir", Of("y")}, {"..", Of("z")},
                                                {"c:drive", Of("w")}, {"ok", Of("fine")}})},
        {"trailer/no_entries.bin", noEntries},
        {"trailer/no_signature.bin", Bytes(noEntries.begin(), noEntries.end() - 1)},
        {"lzss/empty.bin", {0, 0, 0, 0, 0}},
        {"lzss/literals.bin", {3, 0, 0, 0, 0xE0, 'a', 'b', 'c'}},
        {"lzss/overlap.bin", {10, 0, 0, 0, 0x80, 'a', 0x00, 0x06}},
        {"lzss/long_refs.bin", {40, 0, 0, 0, 0x80, 'a', 0x00, 0x0F, 0x01, 0x2F, 0x02, 0x40}},
        {"lzss/cut.bin", {200, 0, 0, 0, 0x80, 'a', 0x00}},
        {"lzss/text.bin", Encoded("setup copies the files, then setup registers the files it copied\r\n")},
        {"lzss/code.bin", Encoded(machine + machine + machine)},
        // Data longer than the window: as input to encode it makes the
        // encoder drop positions out of its window.
        {"lzss/records.bin", Text(12000, 12345)},
    };
    for (const auto& seed : seeds) {
        std::ofstream out(dir + "/" + seed.name, std::ios::binary | std::ios::trunc);
        if (!out.write((const char*)seed.data.data(), (std::streamsize)seed.data.size()) || !out.flush()) {
            fprintf(stderr, "make_fuzz_seeds: cannot write %s/%s\n", dir.c_str(), seed.name);
            return 1;
        }
    }
    return 0;
}
