// libFuzzer target: the LZSS decoder on arbitrary streams, and the round
// trip of arbitrary data through the encoder.
//
// 1. The input as a stream: DecodeStream into a bounded memory writer. It
//    must report a whole stream only when the decoded length was reached,
//    and then write that length plus at most the rest of one reference.
// 2. The input as data: EncodeStream must write a stream of the input's
//    length whose references all reach back into bytes of the same stream
//    and no further than the window (4078 bytes, up to 4095 over the last
//    17 bytes of the input, where the look-ahead runs out), and DecodeStream
//    must give the input back, whatever the first step left in the window.
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <memory>
#include <string>
#include <vector>

#include "core/lzss_codec.h"
#include "core/lzss_memory.h"

namespace {

typedef std::vector<uint8_t> Bytes;

const size_t kOutputCap = 1 << 20;  // the writer keeps at most this much

[[noreturn]] void Fail(const std::string& what) {
    fprintf(stderr, "fuzz_lzss: %s\n", what.c_str());
    abort();
}

LzssCodec& TheCodec() {
    static LzssCodec* codec = new LzssCodec();
    return *codec;
}

// Decodes `stream`; *whole gets DecodeStream's result, *offered the number
// of bytes the decoder wrote (the returned bytes stop at the cap).
Bytes Decode(const Bytes& stream, int* whole, size_t* offered) {
    LzssCodec& codec = TheCodec();
    static Bytes out(kOutputCap);
    MemoryReader reader = {stream.data(), stream.size(), 0};
    MemoryWriter writer = {out.data(), out.size(), 0};
    LzssMemoryReader(&codec.inStream, &reader);
    LzssMemoryWriter(&codec.outStream, &writer);
    *whole = codec.DecodeStream();
    *offered = writer.size;
    return Bytes(out.begin(), out.begin() + (writer.size < kOutputCap ? writer.size : kOutputCap));
}

Bytes Encode(const uint8_t* data, size_t size) {
    LzssCodec& codec = TheCodec();
    Bytes out(size + size / 8 + 16);  // 9 bytes per 8 at worst, header and a last flag
    MemoryReader reader = {data, size, 0};
    MemoryWriter writer = {out.data(), out.size(), 0};
    LzssMemoryReader(&codec.inStream, &reader);
    LzssMemoryWriter(&codec.outStream, &writer);
    codec.maxChain = kLzssMaxChain;
    codec.EncodeStream();
    if (writer.size > out.size()) Fail("stream larger than its worst case");
    out.resize(writer.size);
    return out;
}

// "" or what is wrong with the references of an encoder's stream.
std::string CheckReferences(const Bytes& s, uint32_t length) {
    size_t i = 4;
    uint32_t k = 0;
    unsigned mask = 0, flags = 0;
    while (k < length) {
        if (mask == 0) {
            if (i >= s.size()) return "stream ends early";
            flags = s[i++];
            mask = 0x80;
        }
        if (flags & mask) {
            if (i >= s.size()) return "literal missing";
            i++;
            k++;
        } else {
            if (i + 1 >= s.size()) return "reference cut";
            unsigned p = ((unsigned)s[i] << 4) | (s[i + 1] >> 4);
            unsigned n = (s[i + 1] & 15u) + 3;
            i += 2;
            unsigned d = ((k & 4095u) - p) & 4095u;
            if (d == 0) d = 4096;
            // The window holds 4096 bytes less the look-ahead, which shrinks
            // from 18 over the last bytes of the input.
            unsigned lookAhead = length - k < 18 ? length - k : 18;
            if (d > 4096 - lookAhead || d > k || k + n > length)
                return "reference at " + std::to_string(k) + ": distance " + std::to_string(d) +
                       ", length " + std::to_string(n);
            k += n;
        }
        mask >>= 1;
    }
    return "";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int whole = 0;
    size_t offered = 0;
    Bytes input(data, data + size);
    Decode(input, &whole, &offered);
    if (size >= 4) {
        uint32_t length = (uint32_t)data[0] | ((uint32_t)data[1] << 8) | ((uint32_t)data[2] << 16) |
                          ((uint32_t)data[3] << 24);
        if (TheCodec().decodedLength != length) Fail("decoded length differs from the header");
        if (whole && (offered < length || offered >= (size_t)length + kLzssMaxMatch))
            Fail("whole stream of " + std::to_string(length) + " bytes wrote " + std::to_string(offered));
    } else if (whole) {
        Fail("a stream without its 4-byte header reported whole");
    }

    Bytes stream = Encode(data, size);
    if (stream.size() < 5) Fail("stream shorter than header and flag byte");
    uint32_t header = (uint32_t)stream[0] | ((uint32_t)stream[1] << 8) | ((uint32_t)stream[2] << 16) |
                      ((uint32_t)stream[3] << 24);
    if (header != size) Fail("header " + std::to_string(header) + " for " + std::to_string(size) + " bytes");
    std::string bad = CheckReferences(stream, header);
    if (!bad.empty()) Fail(bad);
    Bytes back = Decode(stream, &whole, &offered);
    if (!whole || offered != size) Fail("round trip decoded " + std::to_string(offered) + " of " + std::to_string(size));
    for (size_t i = 0; i < size; ++i)
        if (back[i] != data[i]) Fail("round trip differs first at byte " + std::to_string(i));
    return 0;
}
