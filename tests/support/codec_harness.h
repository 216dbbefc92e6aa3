// Helpers for driving the LZSS encoder and decoder between byte vectors,
// reading streams back token by token, making seeded inputs, and writing a
// fuzzer's seeds. Used by the tests and the fuzzers (no GoogleTest here).
#ifndef TARNVALE_TESTS_CODEC_HARNESS_H
#define TARNVALE_TESTS_CODEC_HARNESS_H

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "core/lzss_decoder.h"
#include "core/lzss_encoder.h"
#include "core/lzss_memory.h"

typedef std::vector<uint8_t> Bytes;

// Encodes `input` with the encoder's own search budget. Room for the worst
// case: 9 bytes per 8 input bytes, plus header and a last flag byte.
inline Bytes Encode(LzssEncoder& encoder, const Bytes& input) {
    MemoryReader reader = {input.data(), input.size(), 0};
    Bytes out(input.size() + input.size() / 8 + 16);
    MemoryWriter writer = {out.data(), out.size(), 0};
    LzssMemoryReader(&encoder.inStream, &reader);
    LzssMemoryWriter(&encoder.outStream, &writer);
    encoder.EncodeStream();
    out.resize(writer.size);  // a stream past the worst case ends in zeros
    return out;
}

// Encodes `input` with a fresh encoder.
inline Bytes Encode(const Bytes& input) {
    std::unique_ptr<LzssEncoder> encoder(new LzssEncoder());
    return Encode(*encoder, input);
}

// Decodes `stream`; `whole` receives DecodeStream's result and `offered`
// the bytes the decoder wrote (the result keeps at most `capacity`).
inline Bytes Decode(LzssDecoder& decoder, const Bytes& stream, int* whole = nullptr,
                    size_t capacity = 1 << 22, size_t* offered = nullptr) {
    MemoryReader reader = {stream.data(), stream.size(), 0};
    Bytes out(capacity);
    MemoryWriter writer = {out.data(), out.size(), 0};
    LzssMemoryReader(&decoder.inStream, &reader);
    LzssMemoryWriter(&decoder.outStream, &writer);
    int ok = decoder.DecodeStream();
    if (whole) *whole = ok;
    if (offered) *offered = writer.size;
    out.resize(std::min(writer.size, capacity));
    return out;
}

inline uint32_t HeaderOf(const Bytes& s) {
    return s.size() < 4 ? 0 : s[0] | (s[1] << 8) | (s[2] << 16) | ((uint32_t)s[3] << 24);
}

// Output count after each token of a stream, read straight from the
// format: the token boundaries where the decoder may report. When `problem`
// is given, every reference is checked as an encoder must write it: never
// before the stream's first byte or past its decoded length, and no further
// back than the window less the look-ahead (4078 bytes while 18 or more are
// left, 4096 - left over the last bytes); the first fault is described there.
inline std::vector<uint32_t> TokenEnds(const Bytes& s, std::string* problem = nullptr) {
    std::vector<uint32_t> ends;
    uint32_t length = HeaderOf(s), k = 0;
    size_t i = 4;
    unsigned mask = 0, flags = 0;
    while (k < length) {
        if (mask == 0 && i < s.size()) {
            flags = s[i++];
            mask = 0x80;
        }
        if (mask == 0 || i + ((flags & mask) ? 0 : 1) >= s.size()) {
            if (problem) *problem = "stream cut at output " + std::to_string(k);
            return ends;
        }
        if (flags & mask) {
            i += 1;
            k += 1;
        } else {
            unsigned p = (s[i] << 4) | (s[i + 1] >> 4), n = (s[i + 1] & 15) + 3;
            unsigned d = ((k & 4095) - p) & 4095;
            d = d ? d : 4096;
            uint32_t left = length - k;
            if (problem && problem->empty() && (d > 4096 - std::min<uint32_t>(left, 18) || d > k || k + n > length))
                *problem = "reference at output " + std::to_string(k) + ": distance " + std::to_string(d) +
                           ", length " + std::to_string(n);
            i += 2;
            k += n;
        }
        ends.push_back(k);
        mask >>= 1;
    }
    return ends;
}

// Input makers; `seed` drives everything random.
inline Bytes Noise(size_t n, uint32_t seed) {
    std::mt19937 gen(seed);
    Bytes out(n);
    for (uint8_t& b : out) b = (uint8_t)gen();
    return out;
}

// A program image of `n` bytes (at least 512) that passes for a Windows
// program: PE headers with one section over seeded bytes, the checksum set.
inline Bytes TestProgram(size_t n, uint16_t machine = 0x14C, uint32_t seed = 7) {
    Bytes out = Noise(n, seed);
    std::fill(out.begin(), out.begin() + 512, 0);
    auto put = [&out](size_t at, uint32_t v, int width) {
        for (int i = 0; i < width; ++i) out[at + i] = (uint8_t)(v >> (8 * i));
    };
    const bool wide = machine == 0x8664;  // PE32+
    const size_t pe = 64, optional = pe + 24, size = wide ? 240 : 224, table = optional + size;
    put(0, 'M' | 'Z' << 8, 2), put(0x3C, pe, 4), put(pe, 'P' | 'E' << 8, 4), put(pe + 4, machine, 2);
    put(pe + 6, 1, 2), put(pe + 20, size, 2), put(pe + 22, 0x0102, 2), put(optional, wide ? 0x20B : 0x10B, 2);
    put(pe + 88, 0x5EED, 4), put(optional + (wide ? 108 : 92), 16, 4);
    put(table + 16, (uint32_t)n - 512, 4), put(table + 20, 512, 4);
    return out;
}

// Bytes 0 and 1 only: their eight triples fall into four buckets of about
// a thousand window positions each, matches stay short, and the candidate
// budget decides the result.
inline Bytes TwoSymbols(size_t n, uint32_t seed) {
    Bytes out = Noise(n, seed);
    for (uint8_t& b : out) b &= 1;
    return out;
}

// Words of an install log, repeated in random order: long and short matches.
inline Bytes Text(size_t n, uint32_t seed) {
    static const char* words[] = {"setup ", "copies ", "the ", "files ", "into ", "C:\\Program Files\\",
                                  "\r\n", "install.ini ", "0x0040", "registry "};
    std::mt19937 gen(seed);
    Bytes out;
    while (out.size() < n)
        for (const char* p = words[gen() % 10]; *p && out.size() < n; ++p) out.push_back((uint8_t)*p);
    return out;
}

// Mostly zeros with sparse noise, like the tables and padding of a program.
inline Bytes Sparse(size_t n, uint32_t seed) {
    std::mt19937 gen(seed);
    Bytes out(n, 0);
    for (size_t i = 0; i < n; i += 1 + gen() % 64) out[i] = (uint8_t)gen();
    return out;
}

// Runs, copies of earlier stretches with a changed byte, and noise.
inline Bytes Patchwork(size_t n, uint32_t seed) {
    std::mt19937 gen(seed);
    Bytes out;
    while (out.size() < n) {
        size_t len = 1 + gen() % 40;
        switch (gen() % 4) {
        case 0: out.insert(out.end(), len, (uint8_t)gen()); break;
        case 1:
            for (size_t i = 0; i < len; ++i) out.push_back((uint8_t)gen());
            break;
        default:
            if (out.size() > len) {
                size_t from = out.size() - 1 - gen() % std::min<size_t>(out.size() - len, 5000);
                for (size_t i = 0; i < len; ++i) out.push_back(out[from + i]);
                out.back() ^= (uint8_t)(gen() % 2);
            }
        }
    }
    out.resize(n);
    return out;
}

// Real machine code: the first `n` bytes of the running program, repeated
// when it is shorter; empty when it cannot be read.
inline Bytes OwnImage(size_t n, uint32_t) {
    char self[260];
    Bytes out(n);
    size_t got = 0;
    FileHandle f = ModuleFilePath(self, sizeof(self)) ? FileOpenRead(self) : kNoFile;
    for (int32_t r = 1; f != kNoFile && got < n && r > 0; got += (size_t)r)
        r = FileRead(f, out.data() + got, (int32_t)std::min<size_t>(n - got, 1 << 20));
    if (f != kNoFile) FileClose(f);
    for (size_t i = got; got > 0 && i < n; ++i) out[i] = out[i - got];
    return got > 0 || n == 0 ? out : Bytes();
}

// The bytes of `path` as a byte vector or a string; empty when unreadable.
template <class T = Bytes>
T ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return T(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Writes `seeds` as files seed0, seed1, ... into the first corpus directory
// among a fuzzer's arguments, before libFuzzer reads it; nothing when the
// fuzzer runs single inputs.
inline void WriteSeeds(int argc, char** argv, const std::vector<Bytes>& seeds) {
    int dir = 1;
    while (dir < argc && argv[dir][0] == '-') ++dir;
    if (dir == argc || !std::filesystem::is_directory(argv[dir])) return;
    for (size_t i = 0; i < seeds.size(); ++i)
        if (!std::ofstream(std::string(argv[dir]) + "/seed" + std::to_string(i), std::ios::binary)
                 .write((const char*)seeds[i].data(), (std::streamsize)seeds[i].size()))
            abort();
}

#endif
