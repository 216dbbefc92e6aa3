// The decoder's reports to the user interface, and damaged sources.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/codec_harness.h"
#include "tests/support/temp_dir.h"

namespace {

LzssControl const kList = (LzssControl)0x1016;
LzssControl const kOverall = (LzssControl)0x1004;
LzssControl const kFile = (LzssControl)0x1005;

struct Event {
    std::string what;  // "line", "setup" or "pos"
    LzssControl control;
    int position;
    int sent;
    std::string text;
};

struct Recorder {
    std::vector<Event> events;
    LzssProgress progress;

    Recorder() {
        progress.context = this;
        progress.addLine = [](void* c, LzssControl list, const char* text) {
            ((Recorder*)c)->events.push_back({"line", list, 0, 1, text});
        };
        progress.setupBar = [](void* c, LzssControl bar) {
            ((Recorder*)c)->events.push_back({"setup", bar, 0, 1, ""});
        };
        progress.setBarPos = [](void* c, LzssControl bar, int pos, int sent) {
            ((Recorder*)c)->events.push_back({"pos", bar, pos, sent, ""});
        };
    }
    std::vector<Event> Of(LzssControl control) const {
        std::vector<Event> out;
        for (const Event& e : events)
            if (e.control == control) out.push_back(e);
        return out;
    }
    std::vector<std::string> Lines() const {
        std::vector<std::string> out;
        for (const Event& e : Of(kList)) out.push_back(e.text);
        return out;
    }
};

Bytes Literals(size_t n) { return RandomBytes(n, 99); }

Bytes Text(size_t n) {
    Bytes out;
    const char* line = "setup copies files, then setup registers them\r\n";
    while (out.size() < n) out.push_back((uint8_t)line[out.size() % 47]);
    return out;
}

// The file bar gets its set-up, then a posted position outCount / (n / 100)
// at each token boundary where outCount is a multiple of 50, and nothing
// at multiples passed inside a reference.
TEST(LzssProgress, FileBarPositionsAtTokenBoundaries) {
    const struct {
        const char* name;
        Bytes plain;
    } rows[] = {
        {"random 10000", Literals(10000)},
        {"1000 bytes 61: boundaries 1, 19, 37, ..., 991, 1000", Bytes(1000, 0x61)},
        {"text 7777", Text(7777)},
    };
    for (const auto& row : rows) {
        Recorder rec;
        auto codec = NewCodec();
        codec->progress = &rec.progress;
        codec->fileBar = kFile;
        Bytes stream = Encode(*NewCodec(), row.plain);
        Decode(*codec, stream);
        std::vector<Event> bar = rec.Of(kFile);
        ASSERT_FALSE(bar.empty()) << row.name;
        EXPECT_EQ(bar[0].what, "setup") << row.name;
        std::vector<int> expect, got;
        for (uint32_t end : TokenEnds(stream))
            if (end % 50 == 0) expect.push_back((int)(end / (row.plain.size() / 100)));
        for (size_t i = 1; i < bar.size(); ++i) {
            got.push_back(bar[i].position);
            EXPECT_EQ(bar[i].sent, 0) << row.name;
        }
        EXPECT_EQ(got, expect) << row.name;
    }
    EXPECT_EQ(TokenEnds(Encode(*NewCodec(), Bytes(1000, 0x61))).back(), 1000u);
}

TEST(LzssProgress, OverallBarAcrossTwoFiles) {
    Recorder rec;
    auto codec = NewCodec();
    codec->progress = &rec.progress;
    codec->overallBar = kOverall;
    codec->grandTotal = 20000;
    Bytes stream = Encode(*NewCodec(), Literals(10000));
    Decode(*codec, stream);
    std::vector<Event> first = rec.Of(kOverall);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first.back().position, 50);
    EXPECT_EQ(first.back().sent, 1);
    EXPECT_EQ(first[first.size() - 2].sent, 0);
    Decode(*codec, stream);
    std::vector<Event> both = rec.Of(kOverall);
    EXPECT_EQ(both.back().position, 100);
    EXPECT_EQ(both.back().sent, 1);
    EXPECT_EQ(codec->doneBytes, 20000u);
    // Positions inside the second file continue from the first.
    EXPECT_EQ(both[first.size()].position, 10050 / 200);
}

TEST(LzssProgress, SmallTotalsNeverDivideByZero) {
    struct Row {
        const char* name;
        uint32_t done;
        int64_t total;
        int expect;
    } rows[] = {
        {"format quotient", 10000, 20000, 50},
        {"quotient above 100 kept", 199, 100, 199},
        {"truncated divisor", 150, 199, 150},
        {"total below 100", 50, 50, 100},
        {"total 1", 1, 1, 100},
        {"total 0", 50, 0, 0},
        {"negative total", 50, -500, 0},
        {"huge count", 0xFFFFFFFFu, 100, 0x7FFFFFFF},
    };
    for (const Row& r : rows) EXPECT_EQ(LzssBarPosition(r.done, r.total), r.expect) << r.name;

    // Through the decoder: a 60-byte file with no SIZE in the script.
    Recorder rec;
    auto codec = NewCodec();
    codec->progress = &rec.progress;
    codec->fileBar = kFile;
    codec->overallBar = kOverall;
    codec->grandTotal = 0;
    Decode(*codec, Encode(*NewCodec(), Literals(60)));
    std::vector<Event> file = rec.Of(kFile);
    ASSERT_EQ(file.size(), 2u);
    EXPECT_EQ(file[1].position, 50 * 100 / 60);
}

struct Damaged {
    const char* name;
    Bytes stream;
};

TEST(LzssUnpackFile, DamagedSourcesFailAndLeaveNoTarget) {
    Bytes good = Encode(*NewCodec(), Literals(300));
    const Damaged rows[] = {
        {"empty", {}},
        {"one byte", {0x05}},
        {"three bytes", {0x05, 0x00, 0x00}},
        {"header only", {0x05, 0x00, 0x00, 0x00}},
        {"ends inside a literal run", Bytes(good.begin(), good.end() - 20)},
        {"ends inside a reference", {0x0A, 0, 0, 0, 0x80, 0x61, 0x00}},
    };
    TempDir dir;
    for (const Damaged& row : rows) {
        Recorder rec;
        auto codec = NewCodec();
        codec->progress = &rec.progress;
        codec->logList = kList;
        std::string source = dir.File("source"), target = dir.File("target");
        WriteAll(source, row.stream);
        EXPECT_EQ(codec->UnpackFile(source.c_str(), target.c_str()), 0) << row.name;
        EXPECT_FALSE(fs::exists(target)) << row.name;
        std::vector<std::string> lines = rec.Lines();
        ASSERT_EQ(lines.size(), 2u) << row.name;
        EXPECT_EQ(lines[0], "Extracting.... " + target) << row.name;
        EXPECT_NE(lines[1].find(source), std::string::npos) << row.name << ": " << lines[1];
    }
}

TEST(LzssUnpackFile, OpenFailuresLogTheirLines) {
    TempDir dir;
    std::string source = dir.File("app.exe"), target = dir.File("out.exe");
    std::string badTarget = dir.File("no-such-dir") + "/out.exe";
    WriteAll(source, Encode(*NewCodec(), Literals(10)));
    struct Row {
        const char* name;
        std::string source, target;
        int list;
        std::vector<std::string> lines;
    } rows[] = {
        {"missing source", dir.File("missing"), target, 1,
         {"Extracting.... " + target, "Fail to open the source file(" + dir.File("missing") + ")"}},
        {"target not creatable", source, badTarget, 1,
         {"Extracting.... " + badTarget, "Fail to extract the target file(" + badTarget + ")."}},
        {"no list box", dir.File("missing"), target, 0, {}},
    };
    for (const Row& row : rows) {
        Recorder rec;
        auto codec = NewCodec();
        codec->progress = &rec.progress;
        codec->logList = row.list ? kList : nullptr;
        EXPECT_EQ(codec->UnpackFile(row.source.c_str(), row.target.c_str()), 0) << row.name;
        EXPECT_EQ(rec.Lines(), row.lines) << row.name;
    }
}

TEST(LzssUnpackFile, LongPathsStayWholeInTheLine) {
    TempDir dir;
    std::string source = dir.File(std::string(200, 's'));
    Recorder rec;
    auto codec = NewCodec();
    codec->progress = &rec.progress;
    codec->logList = kList;
    codec->UnpackFile(source.c_str(), source.c_str());
    ASSERT_EQ(rec.Lines().size(), 2u);
    EXPECT_EQ(rec.Lines()[1], "Fail to open the source file(" + source + ")");
}

}  // namespace
