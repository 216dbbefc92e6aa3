// The decoder's reports (log lines, bar positions), and failed files.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/codec_harness.h"
#include "tests/support/temp_dir.h"

namespace {

// Every report in order, as text: "L <line>", "S" (a file's start),
// "F <file bar>", "T <total bar>" ("T <total bar> last" ends a file).
struct Recorder {
    std::vector<std::string> events;
    LzssProgress progress = {
        [](void* c, const char* text) { Add(c, std::string("L ") + text); },
        [](void* c) { Add(c, "S"); },
        [](void* c, int position) { Add(c, "F " + std::to_string(position)); },
        [](void* c, int position, int last) { Add(c, "T " + std::to_string(position) + (last ? " last" : "")); },
        this, nullptr};

    static void Add(void* c, const std::string& e) { ((Recorder*)c)->events.push_back(e); }
    std::vector<std::string> Only(const std::string& kinds) const {
        std::vector<std::string> out;
        for (const std::string& e : events)
            if (kinds.find(e[0]) != std::string::npos) out.push_back(e);
        return out;
    }
};

std::unique_ptr<LzssDecoder> NewDecoder(Recorder* rec) {
    std::unique_ptr<LzssDecoder> decoder(new LzssDecoder());
    decoder->progress = &rec->progress;
    return decoder;
}

// A file starts its bar, then gets outCount / (n / 100) (outCount * 100 / n
// below 100 bytes) at each token boundary where outCount is a multiple of
// 50 and the position differs from the one reported before, and nothing at
// multiples passed inside a reference: a move passed there shows at the
// next boundary that is a multiple.
TEST(LzssProgress, FileBarPositionsAtTokenBoundaries) {
    const struct { const char* name; Bytes plain; } rows[] = {
        {"random 10000: a move every 100 bytes", Noise(10000, 99)},
        {"1000 bytes 61: boundaries 1, 19, 37, ..., 991, 1000", Bytes(1000, 0x61)},
        {"text 7777", Text(7777, 5)},
        {"random 60: a file below 100 bytes", Noise(60, 99)},
        {"text 250000: a move every 2500 bytes", Text(250000, 8)},
        {"runs 123457: moves inside references", Bytes(123457, 0x20)},
    };
    for (const auto& row : rows) {
        Recorder rec;
        Bytes stream = Encode(row.plain);
        Decode(*NewDecoder(&rec), stream);
        const uint32_t n = (uint32_t)row.plain.size();
        std::vector<std::string> expect = {"S"};
        int shown = -1;
        for (uint32_t end : TokenEnds(stream)) {
            const int position = (int)(n >= 100 ? end / (n / 100) : end * 100 / n);
            if (end % 50 == 0 && position != shown) expect.push_back("F " + std::to_string(shown = position));
        }
        EXPECT_EQ(rec.Only("SF"), expect) << row.name;
        EXPECT_EQ(TokenEnds(stream).back(), n) << row.name;
    }
}

TEST(LzssProgress, TotalBarAcrossTwoFiles) {
    Recorder rec;
    auto decoder = NewDecoder(&rec);
    decoder->grandTotal = 20000;
    Bytes stream = Encode(Noise(10000, 99));
    Decode(*decoder, stream);
    std::vector<std::string> first = rec.Only("T");
    ASSERT_GE(first.size(), 2u);
    EXPECT_EQ(first[first.size() - 2], "T 50");  // the token that ends at byte 10000
    EXPECT_EQ(first.back(), "T 50 last");
    // Every move once: 0, 1, ..., 50 at the multiples of 200 bytes.
    for (size_t i = 0; i + 1 < first.size(); ++i) EXPECT_EQ(first[i], "T " + std::to_string(i));
    Decode(*decoder, stream);
    std::vector<std::string> both = rec.Only("T");
    EXPECT_EQ(both.back(), "T 100 last");
    EXPECT_EQ(decoder->doneBytes, 20000u);
    // Positions inside the second file continue from the first.
    EXPECT_EQ(both[first.size()], "T 50");
    // Without [INFO] SIZE, or with a negative one, the total bar stays at
    // 0: reported once, and at the file's end.
    for (int32_t total : {0, -5}) {
        decoder->grandTotal = total;
        const size_t before = rec.Only("T").size();
        Decode(*decoder, stream);
        const std::vector<std::string> all = rec.Only("T");
        EXPECT_EQ(std::vector<std::string>(all.begin() + before, all.end()),
                  (std::vector<std::string>{"T 0", "T 0 last"})) << total;
    }
}

TEST(LzssProgress, BarPositionsNeverDivideByZero) {
    struct Row { const char* name; uint32_t done; int64_t total; int expect; } rows[] = {
        {"format quotient", 10000, 20000, 50}, {"quotient above 100 kept", 199, 100, 199},
        {"truncated divisor", 150, 199, 150}, {"total below 100", 50, 50, 100}, {"total 1", 1, 1, 100},
        {"total 0", 50, 0, 0}, {"negative total", 50, -500, 0}, {"huge count", 0xFFFFFFFFu, 100, 0x7FFFFFFF},
        {"total above 32 bits", 4000000000u, 4938271700LL, 80}, {"and far above", 4000000000u, 1LL << 40, 0},
    };
    for (const Row& r : rows) EXPECT_EQ(LzssBarPosition(r.done, r.total), r.expect) << r.name;
}

// Every failure logs "Extracting.... <target>", then its own line with the
// whole path, and leaves no target behind.
TEST(LzssUnpackFile, FailuresLogTheirLinesAndLeaveNoTarget) {
    TempDir dir;
    const std::string source = dir.File("source"), target = dir.File("target");
    const std::string missing = dir.File(std::string(200, 'm')), badTarget = dir.File("no-such-dir") + "/t";
    const std::string damaged = "The source file is damaged(" + source + ")";
    const Bytes good = Encode(Noise(300, 99));
    const struct { const char* name; Bytes stream; std::string from, to, line; } rows[] = {
        {"empty", {}, source, target, damaged},
        {"one byte", {0x05}, source, target, damaged},
        {"three bytes", {0x05, 0x00, 0x00}, source, target, damaged},
        {"header only", {0x05, 0x00, 0x00, 0x00}, source, target, damaged},
        {"ends inside a literal run", Bytes(good.begin(), good.end() - 20), source, target, damaged},
        {"ends inside a reference", {0x0A, 0, 0, 0, 0x80, 0x61, 0x00}, source, target, damaged},
        {"missing source, long path", good, missing, target, "Fail to open the source file(" + missing + ")"},
        {"target not creatable", good, source, badTarget, "Fail to extract the target file(" + badTarget + ")."},
    };
    for (const auto& row : rows) {
        Recorder rec;
        WriteAll(source, row.stream);
        EXPECT_EQ(NewDecoder(&rec)->UnpackFile(row.from.c_str(), row.to.c_str()), 0) << row.name;
        EXPECT_FALSE(fs::exists(row.to)) << row.name;
        EXPECT_EQ(rec.Only("L"), (std::vector<std::string>{"L Extracting.... " + row.to, "L " + row.line}))
            << row.name;
    }
    Recorder silent;
    silent.progress.addLine = nullptr;
    EXPECT_EQ(NewDecoder(&silent)->UnpackFile(missing.c_str(), target.c_str()), 0);
    EXPECT_TRUE(silent.events.empty());
}

// A write that comes up short (a full disk) fails the stream at once; a
// file decoded after it starts afresh.
TEST(LzssDecodeStream, ShortWriteFailsTheStream) {
    const Bytes stream = Encode(Noise(200000, 7));
    std::unique_ptr<LzssDecoder> decoder(new LzssDecoder());
    for (size_t room : {size_t(70000), size_t(1) << 30}) {
        MemoryReader in = {stream.data(), stream.size(), 0};
        LzssMemoryReader(&decoder->inStream, &in);
        size_t left = room;
        decoder->outStream.transfer = [](void* c, uint8_t*, int32_t size) -> int32_t {
            size_t* free = (size_t*)c, n = (size_t)size < *free ? (size_t)size : *free;
            *free -= n;
            return (int32_t)n;
        };
        decoder->outStream.context = &left;
        const int whole = room > stream.size() * 8;
        EXPECT_EQ(decoder->DecodeStream(), whole) << room;
        EXPECT_EQ(decoder->writeFailed, !whole) << room;
    }
}

// A stop asked for stops the file within kLzssStopCheck bytes; no line.
TEST(LzssUnpackFile, StopLeavesNoTargetAndNoLine) {
    TempDir dir;
    const std::string source = dir.File("source"), target = dir.File("target");
    WriteAll(source, Encode(Noise(3 * kLzssStopCheck, 5)));
    int asked = 0;
    const LzssProgress progress = {nullptr, nullptr, nullptr, nullptr, &asked,
                                   [](void* c) { return ++*(int*)c; }};
    std::unique_ptr<LzssDecoder> decoder(new LzssDecoder());
    decoder->progress = &progress;
    EXPECT_EQ(decoder->UnpackFile(source.c_str(), target.c_str()), 0);
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(fs::exists(target));
}

}  // namespace
