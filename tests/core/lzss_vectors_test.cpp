// Fixed streams of the format, encoded and decoded both ways.
#include <gtest/gtest.h>

#include <memory>

#include "tests/support/codec_harness.h"

namespace {

struct Vector { const char* name; Bytes plain, stream; };

const Vector kVectors[] = {
    {"empty", {}, {0x00, 0x00, 0x00, 0x00, 0x00}},
    {"three literals", {0x61, 0x62, 0x63}, {0x03, 0, 0, 0, 0xE0, 0x61, 0x62, 0x63}},
    {"overlapping run", Bytes(10, 0x61), {0x0A, 0, 0, 0, 0x80, 0x61, 0x00, 0x06}},
    {"repeated triple", {0x61, 0x62, 0x63, 0x61, 0x62, 0x63, 0x61, 0x62, 0x63, 0x61, 0x62, 0x63},
     {0x0C, 0, 0, 0, 0xE0, 0x61, 0x62, 0x63, 0x00, 0x06}},
    {"full group then empty flag", {0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68},
     {0x08, 0, 0, 0, 0xFF, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x00}},
    {"18, 18 and clamped 3", Bytes(40, 0x61), {0x28, 0, 0, 0, 0x80, 0x61, 0x00, 0x0F, 0x01, 0x2F, 0x02, 0x40}},
};

TEST(LzssVectors, EncodedAndDecodedAsTheTableSays) {
    for (const Vector& v : kVectors) {
        EXPECT_EQ(Encode(v.plain), v.stream) << v.name;
        std::unique_ptr<LzssDecoder> decoder(new LzssDecoder());
        int whole = 0;
        EXPECT_EQ(Decode(*decoder, v.stream, &whole), v.plain) << v.name;
        EXPECT_EQ(whole, 1) << v.name;
        EXPECT_EQ(decoder->decodedLength, v.plain.size()) << v.name;
    }
}

TEST(LzssVectors, ReferenceBytesGivePositionAndLength) {
    // 0x130 literals, then the reference 12 34: ring position 0x123,
    // length 7, so bytes 0x123..0x129 come again.
    Bytes plain, stream(4, 0);
    for (int i = 0; i < 0x130; ++i) {
        if (i % 8 == 0) stream.push_back(0xFF);
        plain.push_back((uint8_t)(i * 7 + 1));
        stream.push_back(plain.back());
    }
    stream.insert(stream.end(), {0x00, 0x12, 0x34});
    Bytes expect = plain;
    expect.insert(expect.end(), plain.begin() + 0x123, plain.begin() + 0x12A);
    stream[0] = (uint8_t)expect.size();
    stream[1] = (uint8_t)(expect.size() >> 8);
    std::unique_ptr<LzssDecoder> decoder(new LzssDecoder());
    EXPECT_EQ(Decode(*decoder, stream), expect);
}

TEST(LzssVectors, RingCarriesOverToTheNextStream) {
    // A stream of one reference to ring position 0, length 3, reads what
    // the stream before left there: zeros in a fresh decoder.
    const Bytes first = {0x03, 0, 0, 0, 0xE0, 0x61, 0x62, 0x63}, second = {0x03, 0, 0, 0, 0x00, 0x00, 0x00};
    std::unique_ptr<LzssDecoder> fresh(new LzssDecoder()), used(new LzssDecoder());
    EXPECT_EQ(Decode(*fresh, second), Bytes(3, 0));
    Decode(*used, first);
    EXPECT_EQ(Decode(*used, second), (Bytes{0x61, 0x62, 0x63}));
}

}  // namespace
