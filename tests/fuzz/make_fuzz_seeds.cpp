// Writes the seed corpora of the two fuzz targets, so that no binary file
// needs to be checked in:
//
//   make_fuzz_seeds DIR   ->  DIR/trailer/*.bin  small containers
//                             DIR/lzss/*.bin     streams of the format
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include "core/lzss_codec.h"
#include "core/lzss_memory.h"
#include "core/sfx_writer.h"

namespace {

typedef std::vector<uint8_t> Bytes;

struct Item {
    std::string name;
    std::string data;
};

// A 64-byte stand-in for the program image, the items and the trailer.
Bytes Container(const std::vector<Item>& items) {
    Bytes image(64, 0xCC);
    image[0] = 'M';
    image[1] = 'Z';
    std::vector<SfxItem> bytes;
    for (const Item& item : items) bytes.push_back({item.name, Bytes(item.data.begin(), item.data.end())});
    return SfxContainer(image, bytes);
}

Bytes Encoded(const std::string& text) {
    std::unique_ptr<LzssCodec> codec(new LzssCodec());
    Bytes out(text.size() + text.size() / 8 + 16);
    MemoryReader reader = {(const uint8_t*)text.data(), text.size(), 0};
    MemoryWriter writer = {out.data(), out.size(), 0};
    LzssMemoryReader(&codec->inStream, &reader);
    LzssMemoryWriter(&codec->outStream, &writer);
    codec->maxChain = kLzssMaxChain;
    codec->EncodeStream();
    out.resize(writer.size);
    return out;
}

// Table-like data longer than the window, from a fixed sequence: as input
// to encode it makes the encoder drop positions out of its window.
Bytes Records(size_t size) {
    static const char* const kWords[] = {"setup", "files", "registry", "\r\n", "C:\\Windows", "0000"};
    Bytes out;
    uint32_t x = 12345;
    while (out.size() < size) {
        x = x * 1103515245u + 12345u;
        for (const char* w = kWords[(x >> 16) % 6]; *w; ++w) out.push_back((uint8_t)*w);
        out.push_back((uint8_t)(x >> 24));
    }
    out.resize(size);
    return out;
}

bool Write(const std::string& path, const Bytes& data) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(data.data(), 1, data.size(), f) == data.size();
    return fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: make_fuzz_seeds DIR\n");
        return 1;
    }
    std::string dir = argv[1];
    mkdir(dir.c_str(), 0755);
    mkdir((dir + "/trailer").c_str(), 0755);
    mkdir((dir + "/lzss").c_str(), 0755);

    Bytes noEntries = Container({});
    static const char kCode[] = "\x55\x8B\xEC\x83\xEC\x10\x00\x00\x00\x00\xC3\x90\x90\x90\x55\x8B\xEC";
    std::string machine(kCode, sizeof(kCode) - 1);  // holds NUL bytes
    const struct {
        const char* name;
        Bytes data;
    } seeds[] = {
        {"trailer/one.bin", Container({{"install.ini", "[INFO]\r\nSIZE=5\r\n"}})},
        {"trailer/three.bin", Container({{"a.exe", "abcabcabc"}, {"empty", ""}, {"a.exe", "second"}})},
        {"trailer/unsafe_names.bin",
         Container({{"../up", "x"}, {"sub/dir", "y"}, {"..", "z"}, {"c:drive", "w"}, {"ok", "fine"}})},
        {"trailer/no_entries.bin", noEntries},
        {"trailer/no_signature.bin", Bytes(noEntries.begin(), noEntries.end() - 1)},
        {"lzss/empty.bin", {0, 0, 0, 0, 0}},
        {"lzss/literals.bin", {3, 0, 0, 0, 0xE0, 'a', 'b', 'c'}},
        {"lzss/overlap.bin", {10, 0, 0, 0, 0x80, 'a', 0x00, 0x06}},
        {"lzss/long_refs.bin", {40, 0, 0, 0, 0x80, 'a', 0x00, 0x0F, 0x01, 0x2F, 0x02, 0x40}},
        {"lzss/cut.bin", {200, 0, 0, 0, 0x80, 'a', 0x00}},
        {"lzss/text.bin", Encoded("setup copies the files, then setup registers the files it copied\r\n")},
        {"lzss/code.bin", Encoded(machine + machine + machine)},
        {"lzss/records.bin", Records(12000)},
    };
    for (const auto& seed : seeds) {
        if (!Write(dir + "/" + seed.name, seed.data)) {
            fprintf(stderr, "make_fuzz_seeds: cannot write %s/%s\n", dir.c_str(), seed.name);
            return 1;
        }
    }
    return 0;
}
