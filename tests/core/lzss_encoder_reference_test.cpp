// The encoder against a plain one written straight from the algorithm.
//
// The production encoder is tuned for speed; every stream it writes must
// still be byte for byte the stream of the plain algorithm: 8-bit bucket
// index, candidate budget, quick test, strict comparison, newest-first
// chains kept honest by the bucket counts. The plain encoder below does
// each step the slow, obvious way, one byte at a time.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "core/file_io.h"
#include "tests/support/codec_harness.h"

namespace {

class PlainEncoder {
public:
    Bytes Encode(const Bytes& input, int maxChain) {
        in_ = &input;
        next_ = 0;
        Bytes out;
        uint32_t length = (uint32_t)input.size();
        for (int i = 0; i < 4; ++i) out.push_back((uint8_t)(length >> (8 * i)));
        memset(ring_, 0, sizeof(ring_));
        for (int i = 0; i < kLzssBuckets; ++i) {
            head_[i] = -1;
            count_[i] = 0;
        }
        int look = 0;
        for (int b; look < 18 && (b = Next()) >= 0; ++look) Store(look, (uint8_t)b);
        long bytesRead = look;
        int s = 0, w = look;
        int matchPos = 0, matchLen = 0;
        uint8_t code[17] = {0};
        int codeLen = 1;
        uint8_t mask = 0x80;
        while (look > 0) {
            if (matchLen > look) matchLen = look;
            if (matchLen < 3) {
                code[0] |= mask;
                code[codeLen++] = ring_[s];
                matchLen = 1;
            } else {
                code[codeLen++] = (uint8_t)(matchPos >> 4);
                code[codeLen++] = (uint8_t)(((matchPos & 0x0F) << 4) | (matchLen - 3));
            }
            if (mask == 0x01) {
                out.insert(out.end(), code, code + codeLen);
                code[0] = 0;
                codeLen = 1;
                mask = 0x80;
            } else {
                mask >>= 1;
            }
            for (int i = 0; i < matchLen; ++i) {
                int b = Next();
                if (b < 0) {
                    look--;
                } else {
                    if (++bytesRead > 4096) count_[Hash(w)]--;
                    Store(w, (uint8_t)b);
                }
                int h = Hash(s);
                prev_[s] = head_[h];
                head_[h] = s;
                count_[h]++;
                s = (s + 1) % 4096;
                w = (w + 1) % 4096;
            }
            Search(s, maxChain, &matchPos, &matchLen);
        }
        out.insert(out.end(), code, code + codeLen);
        return out;
    }

private:
    int Next() { return next_ < in_->size() ? (*in_)[next_++] : -1; }

    void Store(int w, uint8_t b) {
        ring_[w] = b;
        if (w < 18) ring_[4096 + w] = b;
    }

    int Hash(int p) const { return ((ring_[p] ^ (ring_[p + 1] << 4) ^ (ring_[p + 2] << 8)) % 1001) & 0xFF; }

    void Search(int s, int maxChain, int* matchPos, int* matchLen) const {
        int h = Hash(s);
        int best = 2;
        int n = count_[h];
        int p = head_[h];
        int budget = maxChain;
        for (;;) {
            if (--n < 0) break;
            if (budget == 0) break;
            budget--;
            int length = 0;
            if (ring_[s + best] == ring_[p + best])
                while (length < 18 && ring_[s + length] == ring_[p + length]) length++;
            if (length > best) {
                *matchPos = p;
                best = length;
                if (length == 18) break;
            }
            p = prev_[p];
        }
        *matchLen = best;
    }

    const Bytes* in_ = nullptr;
    size_t next_ = 0;
    uint8_t ring_[4096 + 18];
    int head_[kLzssBuckets];
    int prev_[4096];
    int count_[kLzssBuckets];
};

Bytes EncodeWithBudget(LzssCodec& codec, const Bytes& input, int maxChain) {
    Bytes out(input.size() + input.size() / 8 + 16);
    MemoryReader reader = {input.data(), input.size(), 0};
    MemoryWriter writer = {out.data(), out.size(), 0};
    LzssMemoryReader(&codec.inStream, &reader);
    LzssMemoryWriter(&codec.outStream, &writer);
    codec.maxChain = (int16_t)maxChain;
    codec.EncodeStream();
    out.resize(writer.size);
    return out;
}

// "" when equal, else where and how the streams part.
std::string Compare(const Bytes& got, const Bytes& expect) {
    size_t n = std::min(got.size(), expect.size());
    for (size_t i = 0; i < n; ++i)
        if (got[i] != expect[i])
            return "first difference at stream byte " + std::to_string(i) + ": got " +
                   std::to_string(got[i]) + ", expected " + std::to_string(expect[i]);
    if (got.size() != expect.size())
        return "stream length " + std::to_string(got.size()) + ", expected " + std::to_string(expect.size());
    return "";
}

// Input makers; `seed` drives everything random.
Bytes Noise(size_t n, uint32_t seed) {
    std::mt19937 gen(seed);
    Bytes out(n);
    for (uint8_t& b : out) b = (uint8_t)gen();
    return out;
}

// Bytes 0 and 1 only: their eight triples fall into four buckets of about
// a thousand window positions each, matches stay short, and the candidate
// budget decides the result.
Bytes TwoSymbols(size_t n, uint32_t seed) {
    std::mt19937 gen(seed);
    Bytes out(n);
    for (uint8_t& b : out) b = (uint8_t)(gen() & 1);
    return out;
}

Bytes Text(size_t n, uint32_t seed) {
    static const char* words[] = {"setup ", "copies ", "the ", "files ", "into ", "C:\\Program Files\\",
                                  "\r\n", "install.ini ", "0x0040", "registry "};
    std::mt19937 gen(seed);
    Bytes out;
    while (out.size() < n)
        for (const char* p = words[gen() % 10]; *p && out.size() < n; ++p) out.push_back((uint8_t)*p);
    return out;
}

// Mostly zeros with sparse noise, like the tables and padding of a program.
Bytes Sparse(size_t n, uint32_t seed) {
    std::mt19937 gen(seed);
    Bytes out(n, 0);
    for (size_t i = 0; i < n; i += 1 + gen() % 64) out[i] = (uint8_t)gen();
    return out;
}

// Runs, copies of earlier stretches with a changed byte, and noise.
Bytes Patchwork(size_t n, uint32_t seed) {
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

// The start of the running test program: real machine code.
Bytes SelfImage(size_t n, uint32_t) {
    char self[260];
    Bytes out;
    if (!ModuleFilePath(self, sizeof(self))) return out;
    FileHandle f = FileOpenRead(self);
    if (f == kNoFile) return out;
    out.resize(n);
    size_t got = 0;
    int32_t r;
    while (got < n && (r = FileRead(f, out.data() + got, (int32_t)std::min<size_t>(n - got, 65536))) > 0)
        got += (size_t)r;
    FileClose(f);
    out.resize(got);
    return out;
}

struct Row {
    const char* name;
    Bytes (*make)(size_t n, uint32_t seed);
    size_t size;
    int maxChain;
};

const Row kRows[] = {
    {"empty", Noise, 0, 1024},
    {"noise 1", Noise, 1, 1024},
    {"text 3", Text, 3, 1024},
    {"text 17", Text, 17, 1024},
    {"text 18", Text, 18, 1024},
    {"text 19", Text, 19, 1024},
    {"sparse 4095", Sparse, 4095, 1024},
    {"sparse 4096", Sparse, 4096, 1024},
    {"sparse 4097", Sparse, 4097, 1024},
    {"patchwork 4113", Patchwork, 4113, 1024},
    {"patchwork 4114", Patchwork, 4114, 1024},
    {"patchwork 4115", Patchwork, 4115, 1024},
    {"two symbols 8210", TwoSymbols, 8210, 1024},
    {"noise 70000", Noise, 70000, 1024},
    {"text 200000", Text, 200000, 1024},
    {"sparse 150000", Sparse, 150000, 1024},
    {"patchwork 150000", Patchwork, 150000, 1024},
    {"two symbols 40000", TwoSymbols, 40000, 1024},
    {"zeros 70000", [](size_t n, uint32_t) { return Bytes(n, 0); }, 70000, 1024},
    {"own program 600000", SelfImage, 600000, 1024},
    {"two symbols, budget 1", TwoSymbols, 20000, 1},
    {"two symbols, budget 16", TwoSymbols, 20000, 16},
    {"patchwork, budget 3", Patchwork, 50000, 3},
    {"patchwork, budget 0", Patchwork, 5000, 0},
    {"two symbols, no budget", TwoSymbols, 20000, -1},
};

TEST(LzssEncoderReference, EveryRowGivesThePlainStream) {
    auto codec = NewCodec();  // one codec for all rows: nothing may carry over
    PlainEncoder plain;
    uint32_t seed = 4114;
    for (const Row& row : kRows) {
        Bytes input = row.make(row.size, seed);
        if (input.empty() && row.size > 0) {
            ADD_FAILURE() << row.name << ": no input could be made";
            continue;
        }
        EXPECT_EQ(Compare(EncodeWithBudget(*codec, input, row.maxChain), plain.Encode(input, row.maxChain)),
                  "")
            << row.name << " (" << input.size() << " bytes, seed " << seed << ")";
        seed++;
    }
}

TEST(LzssEncoderReference, SeededMixesGiveThePlainStream) {
    // Inputs glued from the makers above at sizes on both sides of the
    // window and look-ahead boundaries.
    const uint32_t seed = 20261206;
    std::mt19937 gen(seed);
    Bytes (*const makers[])(size_t, uint32_t) = {Noise, TwoSymbols, Text, Sparse, Patchwork};
    const size_t edges[] = {18, 4096, 4078, 4114};
    auto codec = NewCodec();
    PlainEncoder plain;
    for (int cycle = 0; cycle < 60; ++cycle) {
        // One draw per statement, so that every compiler makes the same inputs.
        size_t size = gen() % 30000;
        if (gen() % 2) {
            size_t edge = edges[gen() % 4];
            size_t times = 1 + gen() % 3;
            size = edge * times + gen() % 3 - 1;
        }
        Bytes input;
        while (input.size() < size) {
            int maker = (int)(gen() % 5);
            size_t length = 1 + gen() % 6000;
            uint32_t partSeed = (uint32_t)gen();
            Bytes part = makers[maker](length, partSeed);
            input.insert(input.end(), part.begin(), part.end());
        }
        input.resize(size);
        EXPECT_EQ(Compare(Encode(*codec, input), plain.Encode(input, kLzssMaxChain)), "")
            << "seed " << seed << ", cycle " << cycle << ", " << size << " bytes";
    }
}

}  // namespace
