// libFuzzer target: the LZSS decoder on arbitrary streams, and the round
// trip of arbitrary data through the encoder.
//
// 1. The input as a stream: DecodeStream into a bounded memory writer. It
//    must report a whole stream only when the decoded length was reached,
//    and then write that length plus at most the rest of one reference.
// 2. The input as data: EncodeStream must write a stream of the input's
//    length, no longer than the worst case, whose references all reach
//    back into bytes of the same stream and no further than the window
//    less the look-ahead, and DecodeStream must give the input back,
//    whatever the first step left in the decoder's ring.
#include <stdio.h>
#include <stdlib.h>

#include "tests/support/codec_harness.h"

namespace {

[[noreturn]] void Fail(const std::string& what) {
    fprintf(stderr, "fuzz_lzss: %s\n", what.c_str());
    abort();
}

LzssEncoder* const TheEncoder = new LzssEncoder();
LzssDecoder* const TheDecoder = new LzssDecoder();

}  // namespace

// Seeds: streams of the format (the last one cut inside a reference), text
// and machine code encoded, and data longer than the window, which as input
// to encode makes the encoder drop positions out of its window.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static const char kText[] = "setup copies the files, then setup registers the files it copied\r\n";
    static const char kCode[] = "\x55\x8B\xEC\x83\xEC\x10\x00\x00\x00\x00\xC3\x90\x90\x90\x55\x8B\xEC";
    Bytes code;
    for (int i = 0; i < 3; ++i) code.insert(code.end(), kCode, kCode + sizeof(kCode) - 1);
    WriteSeeds(*argc, *argv,
               {{0, 0, 0, 0, 0}, {3, 0, 0, 0, 0xE0, 'a', 'b', 'c'}, {10, 0, 0, 0, 0x80, 'a', 0x00, 0x06},
                {40, 0, 0, 0, 0x80, 'a', 0x00, 0x0F, 0x01, 0x2F, 0x02, 0x40}, {200, 0, 0, 0, 0x80, 'a', 0x00},
                Encode(Bytes(kText, kText + sizeof(kText) - 1)), Encode(code), Text(12000, 12345)});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int whole = 0;
    size_t offered = 0;
    Bytes input(data, data + size);
    Decode(*TheDecoder, input, &whole, 0, &offered);  // counted only
    uint32_t length = HeaderOf(input);
    if (TheDecoder->decodedLength != length) Fail("decoded length differs from the header");
    if (size < 4 && whole) Fail("a stream without its 4-byte header reported whole");
    if (whole && (offered < length || offered >= (size_t)length + kLzssMaxMatch))
        Fail("whole stream of " + std::to_string(length) + " bytes wrote " + std::to_string(offered));

    Bytes stream = Encode(*TheEncoder, input);
    if (stream.size() < 5 || stream.size() > size + size / 8 + 16)
        Fail("stream of " + std::to_string(stream.size()) + " bytes for " + std::to_string(size));
    if (HeaderOf(stream) != size) Fail("header " + std::to_string(HeaderOf(stream)) + " for " + std::to_string(size));
    std::string bad;
    TokenEnds(stream, &bad);
    if (!bad.empty()) Fail(bad);
    Bytes back = Decode(*TheDecoder, stream, &whole, size + kLzssMaxMatch, &offered);
    if (!whole || offered != size) Fail("round trip decoded " + std::to_string(offered) + " of " + std::to_string(size));
    for (size_t i = 0; i < size; ++i)
        if (back[i] != data[i]) Fail("round trip differs first at byte " + std::to_string(i));
    return 0;
}
