// The container reader against containers built byte by byte: what it
// refuses and what it skips. Good containers of every entry size, with and
// without a trailing separator on the directory, are extracted under Wine
// by tests/wine/extract_payload_test.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "core/crc32.h"
#include "core/sfx_archive.h"
#include "core/sfx_writer.h"
#include "tests/support/codec_harness.h"
#include "tests/support/temp_dir.h"

namespace {

Bytes Container(const std::vector<SfxItem>& items, size_t imageSize = 3000) {
    return SfxContainer(Noise(imageSize, 5), items);
}

void Put32(Bytes* file, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) (*file)[at + i] = (uint8_t)(v >> (8 * i));
}

class SfxArchiveTest : public ::testing::Test {
protected:
    // Writes `file` as the container and extracts it into "out"; counts the
    // progress calls.
    int Extract(const Bytes& file) {
        WriteAll(dir.File("setup.exe"), file);
        fs::remove_all(dir.Path() / "out");
        fs::create_directory(dir.Path() / "out");
        snprintf(dest, sizeof(dest), "%s", dir.File("out").c_str());
        progressCalls = 0;
        return archive->ExtractFrom(dir.File("setup.exe").c_str(), dest, Count, (uintptr_t)&progressCalls, 0);
    }
    static void Count(uintptr_t user, uint32_t, uint32_t, int32_t) { ++*(int*)user; }
    std::string Out(const std::string& name) const { return dir.File("out") + kPathSeparator + name; }
    size_t FilesOut() const {
        return std::count_if(fs::directory_iterator(dir.Path() / "out"), {},
                             [](const fs::directory_entry& e) { return e.is_regular_file(); });
    }

    TempDir dir;
    std::unique_ptr<SfxArchive> archive{new SfxArchive()};
    char dest[kSfxDirSize];
    int progressCalls = 0;
};

TEST_F(SfxArchiveTest, SignatureMustMatchInEveryByte) {
    Bytes good = Container({{"a.txt", {1}}});
    for (size_t i = 0; i < kSfxSignatureLength; ++i) {
        Bytes bad = good;
        bad[bad.size() - kSfxSignatureLength + i] ^= 0x20;
        EXPECT_EQ(Extract(bad), SFX_ERR_SIGNATURE) << "byte " << i;
        EXPECT_EQ(FilesOut(), 0u) << "byte " << i;
    }
    EXPECT_EQ(Extract(Bytes({'!', 'M'})), SFX_ERR_SIGNATURE);
    EXPECT_EQ(archive->ReadDirectory(dir.File("none.exe").c_str()), SFX_ERR_OPEN);
}

TEST_F(SfxArchiveTest, HostileTrailersAreRefused) {
    Bytes one = Container({{"abc", {9, 9}}}, 100);
    // one's trailer: offset | size | "abc" | 3 | count 1 | signature
    size_t end = one.size();
    size_t count = end - 14, nameLength = end - 18, size = end - 25, offset = end - 29;
    const struct { const char* name; size_t at; uint32_t value; int expect; } rows[] = {
        {"count 0", count, 0, SFX_ERR_EMPTY},
        {"count negative", count, 0x80000000u, SFX_ERR_TRAILER},
        {"count past the start of the file", count, 1000, SFX_ERR_TRAILER},
        {"name length 0", nameLength, 0, SFX_ERR_TRAILER},
        /* 5 */ {"name length 261", nameLength, 261, SFX_ERR_TRAILER},
        {"name length negative", nameLength, 0xFFFFFFFFu, SFX_ERR_TRAILER},
        {"name past the start of the file", nameLength, 200, SFX_ERR_TRAILER},
        {"size past the end", size, 1u << 20, SFX_ERR_TRAILER},
        {"size negative", size, 0xFFFFFFF0u, SFX_ERR_TRAILER},
        /* 10 */ {"offset past the end", offset, (uint32_t)end, SFX_ERR_TRAILER},
        {"offset negative", offset, 0x80000000u, SFX_ERR_TRAILER},
        {"offset plus size wraps", offset, 0x7FFFFFFFu, SFX_ERR_TRAILER},
    };
    // A good container first: a refused one must leave nothing of it behind.
    ASSERT_EQ(Extract(one), SFX_OK);
    EXPECT_EQ(archive->trailerLength, 14 + 12 + 3);
    EXPECT_EQ(ReadAll(Out("abc")), Bytes({9, 9}));
    for (const auto& row : rows) {
        Bytes bad = one;
        Put32(&bad, row.at, row.value);
        EXPECT_EQ(Extract(bad), row.expect) << row.name;
        EXPECT_EQ(archive->entryCount, 0) << row.name;
        EXPECT_EQ(archive->entries[0].name[0], '\0') << row.name;
        EXPECT_EQ(FilesOut(), 0u) << row.name;
    }
    // A directory of the most entries, 1000, is read; one of 1001 is refused.
    for (size_t n : {1000, 1001}) {
        WriteAll(dir.File("full.exe"), Container(std::vector<SfxItem>(n, {"e", {7}}), 100));
        EXPECT_EQ(archive->ReadDirectory(dir.File("full.exe").c_str()), n > 1000 ? SFX_ERR_TRAILER : SFX_OK) << n;
    }
}

TEST_F(SfxArchiveTest, UnsafeAndRepeatedNamesAreSkipped) {
    const char* bad[] = {"..", ".", "sub\\x.txt", "sub/x.txt", "c:x.txt", "nodir\\y"};
    std::vector<SfxItem> items = {{"first.txt", {1}}};
    for (const char* name : bad) items.push_back({name, {2}});
    items.push_back({"first.txt", {3}});  // the lower index wins
    items.push_back({"last.txt", {4}});
    ASSERT_EQ(Extract(Container(items)), SFX_OK);
    EXPECT_EQ(progressCalls, (int)items.size()) << "a skipped entry still counts";
    EXPECT_EQ(ReadAll(Out("first.txt")), Bytes({1}));
    EXPECT_EQ(ReadAll(Out("last.txt")), Bytes({4}));
    EXPECT_EQ(FilesOut(), 2u);
    EXPECT_FALSE(fs::exists(dir.Path() / "x.txt"));
    for (int i = 1; i <= 6; ++i) {
        FileHandle f = FileOpenRead(dir.File("setup.exe").c_str());
        EXPECT_EQ(archive->ExtractEntry(f, i, dest), SFX_ERR_CREATE) << items[i].name;
        FileClose(f);
    }
}

TEST_F(SfxArchiveTest, PathsThatWouldNotFitAreRefusedNotCut) {
    // dir + name one byte over 260 characters: skipped; one under: written.
    size_t room = 260 - (dir.File("out") + kPathSeparator).size();
    std::string fits(room, 'f'), over(room + 1, 'o');
    ASSERT_LE(over.size(), 260u);
    ASSERT_EQ(Extract(Container({{fits, {1}}, {over, {2}}})), SFX_OK);
    EXPECT_TRUE(fs::exists(Out(fits)));
    EXPECT_EQ(FilesOut(), 1u);

    // A directory of 259 characters has no room for its separator.
    char full[kSfxDirSize];
    memset(full, 'd', 259);
    full[259] = '\0';
    EXPECT_EQ(archive->ExtractFrom(dir.File("setup.exe").c_str(), full, nullptr, 0, 0),
              SFX_ERR_PATH);
    EXPECT_EQ(full[259], '\0');
}

TEST(Crc32, MatchesTheCheckValueWhicheverWayItIsSplit) {
    EXPECT_EQ(Crc32(0, "123456789", 9), 0xCBF43926u);
    const Bytes data = Noise(1200, 4);
    for (size_t n : {0, 15, 16, 31, 32, 33, 64, 100, 127, 1000, 1099}) {
        uint32_t bytewise = 0;  // one byte at a time: the table alone
        for (size_t i = 3; i < 3 + n; ++i) bytewise = Crc32(bytewise, &data[i], 1);
        EXPECT_EQ(Crc32(0, &data[3], n), bytewise) << n;
        uint8_t own[4] = {(uint8_t)bytewise, (uint8_t)(bytewise >> 8), (uint8_t)(bytewise >> 16), (uint8_t)(bytewise >> 24)};
        EXPECT_EQ(Crc32(Crc32(0, &data[3], n), own, 4), kCrc32Residue) << n;
    }
}

TEST_F(SfxArchiveTest, ChecksumsStopADamagedExtraction) {
    const std::vector<SfxItem> items = {{"a.txt", Noise(2500, 2)}, {"b.bin", Noise(10, 3)}};
    const Bytes good = SfxContainer(TestProgram(3000), items, true);
    // image 0-2999, a.txt 3000-5499, b.bin 5500-5509, manifest 5510-5533, trailer
    const size_t security = 64 + 152;  // the PE32 security directory
    auto flip = [](Bytes b, size_t at) { b[at] ^= 0x10; return b; };
    auto sign = [&](Bytes b) {  // as osslsigncode does: aligned table, directory, checksum
        b.resize((b.size() + 7) / 8 * 8);
        Put32(&b, security, (uint32_t)b.size()), Put32(&b, security + 4, 40), Put32(&b, 64 + 88, 1);
        Bytes table = Noise(40, 9);
        b.insert(b.end(), table.begin(), table.end());
        return b;
    };
    const Bytes unchecked = SfxContainer(TestProgram(3000), items);
    const struct { const char* name; Bytes file; int expect; size_t files; } rows[] = {
        {"whole", good, SFX_OK, 3},
        {"signed", sign(good), SFX_OK, 3},
        {"the PE checksum, which signing sets", flip(good, 64 + 88), SFX_OK, 3},
        {"the security directory, which signing sets", flip(good, security + 5), SFX_OK, 3},
        {"image", flip(good, 700), SFX_ERR_DAMAGED, 0},
        {"entry b.bin: copied, and the copy stops", flip(good, 5505), SFX_ERR_DAMAGED, 2},
        {"signed, entry a.txt", flip(sign(good), 4000), SFX_ERR_DAMAGED, 3},
        {"manifest", flip(good, 5520), SFX_ERR_DAMAGED, 0},
        {"manifest's name", flip(good, good.size() - 20), SFX_ERR_DAMAGED, 0},
        {"cut short", Bytes(good.begin(), good.end() - 20), SFX_ERR_DAMAGED, 0},
        {"the program alone", TestProgram(3000), SFX_ERR_SIGNATURE, 0},
        {"no checksums: damage passes", flip(unchecked, 4000), SFX_OK, 2},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Extract(row.file), row.expect) << row.name;
        EXPECT_EQ(FilesOut(), row.files) << row.name;
    }
}

TEST_F(SfxArchiveTest, ReadsEndingEarlyStopTheCopy) {
    // The trailer promises 5000 bytes; the file handed to ExtractEntry has
    // been cut since: the copy must stop, not spin.
    Bytes file = Container({{"big", Noise(5000, 1)}}, 100);
    WriteAll(dir.File("setup.exe"), file);
    ASSERT_EQ(archive->ReadDirectory(dir.File("setup.exe").c_str()), SFX_OK);
    WriteAll(dir.File("cut.exe"), Bytes(file.begin(), file.begin() + 2100));
    FileHandle f = FileOpenRead(dir.File("cut.exe").c_str());
    EXPECT_EQ(archive->ExtractEntry(f, 0, dir.File("").c_str()), SFX_ERR_READ);
    FileClose(f);
    EXPECT_EQ(ReadAll(dir.File("big")).size(), 2000u);
}

}  // namespace
