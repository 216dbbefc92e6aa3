// Helpers for driving the LZSS codec between byte vectors in tests.
#ifndef TARNVALE_TESTS_CODEC_HARNESS_H
#define TARNVALE_TESTS_CODEC_HARNESS_H

#include <cstdint>
#include <memory>
#include <vector>

#include "core/lzss_codec.h"
#include "core/lzss_memory.h"

typedef std::vector<uint8_t> Bytes;

inline Bytes Encode(LzssCodec& codec, const Bytes& input) {
    MemoryReader reader = {input.data(), input.size(), 0};
    // Worst case: 9 bytes per 8 input bytes, plus header and final flag.
    Bytes out(input.size() + input.size() / 8 + 16);
    MemoryWriter writer = {out.data(), out.size(), 0};
    LzssMemoryReader(&codec.inStream, &reader);
    LzssMemoryWriter(&codec.outStream, &writer);
    codec.maxChain = kLzssMaxChain;
    codec.EncodeStream();
    out.resize(writer.size);
    return out;
}

// Decodes `stream`; `whole` receives DecodeStream's result.
inline Bytes Decode(LzssCodec& codec, const Bytes& stream, int* whole = nullptr,
                    size_t capacity = 1 << 22) {
    MemoryReader reader = {stream.data(), stream.size(), 0};
    Bytes out(capacity);
    MemoryWriter writer = {out.data(), out.size(), 0};
    LzssMemoryReader(&codec.inStream, &reader);
    LzssMemoryWriter(&codec.outStream, &writer);
    int ok = codec.DecodeStream();
    if (whole) *whole = ok;
    out.resize(writer.size < capacity ? writer.size : capacity);
    return out;
}

// Output count after each token of a well-formed stream, read straight
// from the format: the token boundaries where the decoder may report.
inline std::vector<uint32_t> TokenEnds(const Bytes& s) {
    std::vector<uint32_t> ends;
    uint32_t length = s[0] | (s[1] << 8) | (s[2] << 16) | ((uint32_t)s[3] << 24);
    size_t i = 4;
    uint32_t k = 0;
    unsigned mask = 0, flags = 0;
    while (k < length && i < s.size()) {
        if (mask == 0) {
            flags = s[i++];
            mask = 0x80;
        }
        if (flags & mask) {
            i += 1;
            k += 1;
        } else {
            k += (s[i + 1] & 15) + 3;
            i += 2;
        }
        ends.push_back(k);
        mask >>= 1;
    }
    return ends;
}

inline std::unique_ptr<LzssCodec> NewCodec() { return std::unique_ptr<LzssCodec>(new LzssCodec()); }

#endif
