// The container reader against containers built byte by byte.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/sfx_archive.h"
#include "core/sfx_writer.h"
#include "tests/support/temp_dir.h"

namespace {

typedef std::vector<uint8_t> Bytes;

typedef SfxItem Item;

// A program image of `imageSize` random bytes with the items behind it.
Bytes Container(const std::vector<Item>& items, size_t imageSize = 3000) {
    return SfxContainer(RandomBytes(imageSize, 5), items);
}

void Put32(Bytes* file, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) (*file)[at + i] = (uint8_t)(v >> (8 * i));
}

struct Progress {
    std::vector<std::pair<uint32_t, uint32_t>> calls;
    static void Record(uintptr_t user, uint32_t done, uint32_t total, int32_t extra) {
        Progress* p = (Progress*)user;
        EXPECT_EQ(extra, 77);
        p->calls.push_back({done, total});
    }
};

class SfxArchiveTest : public ::testing::Test {
protected:
    // Writes `file` as the container and extracts it into "out".
    int Extract(const Bytes& file, Progress* progress = nullptr) {
        WriteAll(dir.File("setup.exe"), file);
        fs::create_directory(dir.Path() / "out");
        std::string target = dir.File("out");
        snprintf(dest, sizeof(dest), "%s", target.c_str());
        return archive->ExtractFrom(dir.File("setup.exe").c_str(), dest,
                                    progress ? Progress::Record : nullptr, (uintptr_t)progress, 77);
    }
    std::string Out(const std::string& name) const { return dir.File("out") + kPathSeparator + name; }
    size_t FilesOut() const {
        size_t n = 0;
        for (auto& e : fs::directory_iterator(dir.Path() / "out")) n += e.is_regular_file();
        return n;
    }

    TempDir dir;
    std::unique_ptr<SfxArchive> archive{new SfxArchive()};
    char dest[kSfxDirSize];
};

TEST_F(SfxArchiveTest, SixEntriesExtractWithTheirTrailerLength) {
    // Names of 12 bytes each: 72 in all, trailer 14 + 6 * 12 + 72 = 158.
    std::vector<Item> items;
    const size_t sizes[] = {0, 1, 1000, 1001, 5000, 70000};
    for (int i = 0; i < 6; ++i)
        items.push_back({"entry-" + std::to_string(i) + ".dat" + (i < 10 ? "x" : ""),
                         RandomBytes(sizes[i], 100 + i)});
    for (const Item& item : items) ASSERT_EQ(item.name.size(), 12u);
    Progress progress;
    ASSERT_EQ(Extract(Container(items), &progress), SFX_OK);
    EXPECT_EQ(archive->entryCount, 6);
    EXPECT_EQ(archive->trailerLength, 158);
    for (const Item& item : items)
        EXPECT_EQ(FirstDifference(ReadAll(Out(item.name)), item.data), -1) << item.name;
    std::vector<std::pair<uint32_t, uint32_t>> expect;
    for (uint32_t done = 1; done <= 6; ++done) expect.push_back({done, 6});
    EXPECT_EQ(progress.calls, expect);
    EXPECT_EQ(std::string(dest), dir.File("out") + kPathSeparator);
}

TEST_F(SfxArchiveTest, DirectoryWithSeparatorIsUsedAsIs) {
    WriteAll(dir.File("setup.exe"), Container({{"a.txt", {1, 2, 3}}}));
    fs::create_directory(dir.Path() / "out");
    std::string target = dir.File("out") + kPathSeparator;
    snprintf(dest, sizeof(dest), "%s", target.c_str());
    ASSERT_EQ(archive->ExtractFrom(dir.File("setup.exe").c_str(), dest, nullptr, 0, 0), SFX_OK);
    EXPECT_EQ(std::string(dest), target);
    EXPECT_EQ(ReadAll(Out("a.txt")), Bytes({1, 2, 3}));
}

TEST_F(SfxArchiveTest, SignatureMustMatchInEveryByte) {
    Bytes good = Container({{"a.txt", {1}}});
    for (size_t i = 0; i < kSfxSignatureLength; ++i) {
        Bytes bad = good;
        bad[bad.size() - kSfxSignatureLength + i] ^= 0x20;
        EXPECT_EQ(Extract(bad), SFX_ERR_SIGNATURE) << "byte " << i;
        EXPECT_EQ(FilesOut(), 0u) << "byte " << i;
    }
    EXPECT_EQ(Extract(Bytes({'!', 'M'})), SFX_ERR_SIGNATURE);
}

TEST_F(SfxArchiveTest, HostileTrailersAreRefused) {
    Bytes one = Container({{"abc", {9, 9}}}, 100);
    // one's trailer: offset | size | "abc" | 3 | count 1 | signature
    size_t end = one.size();
    size_t count = end - 14, nameLength = end - 18, size = end - 25, offset = end - 29;
    const struct {
        const char* name;
        size_t at;
        uint32_t value;
        int expect;
    } rows[] = {
        {"count 0", count, 0, SFX_ERR_EMPTY},
        {"count 1001", count, 1001, SFX_ERR_TRAILER},
        {"count negative", count, 0x80000000u, SFX_ERR_TRAILER},
        {"count past the start of the file", count, 1000, SFX_ERR_TRAILER},
        {"name length 0", nameLength, 0, SFX_ERR_TRAILER},
        {"name length 261", nameLength, 261, SFX_ERR_TRAILER},
        {"name length negative", nameLength, 0xFFFFFFFFu, SFX_ERR_TRAILER},
        {"name past the start of the file", nameLength, 200, SFX_ERR_TRAILER},
        {"size past the end", size, 1u << 20, SFX_ERR_TRAILER},
        {"size negative", size, 0xFFFFFFF0u, SFX_ERR_TRAILER},
        {"offset past the end", offset, (uint32_t)end, SFX_ERR_TRAILER},
        {"offset negative", offset, 0x80000000u, SFX_ERR_TRAILER},
        {"offset plus size wraps", offset, 0x7FFFFFFFu, SFX_ERR_TRAILER},
    };
    for (const auto& row : rows) {
        Bytes bad = one;
        Put32(&bad, row.at, row.value);
        EXPECT_EQ(Extract(bad), row.expect) << row.name;
        EXPECT_EQ(archive->entryCount, 0) << row.name;
        EXPECT_EQ(archive->entries[0].name[0], '\0') << row.name;
        EXPECT_EQ(FilesOut(), 0u) << row.name;
    }
    EXPECT_EQ(Extract(one), SFX_OK);
    EXPECT_EQ(ReadAll(Out("abc")), Bytes({9, 9}));
}

TEST_F(SfxArchiveTest, UnsafeNamesAreSkippedLikeUncreatableFiles) {
    const char* bad[] = {"..", ".", "sub\\x.txt", "sub/x.txt", "c:x.txt", "nodir" "\\" "y"};
    std::vector<Item> items = {{"first.txt", {1}}};
    for (const char* name : bad) items.push_back({name, {2}});
    items.push_back({"last.txt", {3}});
    Progress progress;
    ASSERT_EQ(Extract(Container(items), &progress), SFX_OK);
    EXPECT_EQ(progress.calls.size(), items.size());
    EXPECT_EQ(ReadAll(Out("first.txt")), Bytes({1}));
    EXPECT_EQ(ReadAll(Out("last.txt")), Bytes({3}));
    EXPECT_EQ(FilesOut(), 2u);
    EXPECT_FALSE(fs::exists(dir.Path() / "x.txt"));
    for (int i = 1; i <= 6; ++i) {
        FileHandle f = FileOpenRead(dir.File("setup.exe").c_str());
        EXPECT_EQ(archive->ExtractEntry(f, i, dest), SFX_ERR_CREATE) << items[i].name;
        FileClose(f);
    }
}

TEST_F(SfxArchiveTest, DuplicateNamesKeepTheLowerIndex) {
    ASSERT_EQ(Extract(Container({{"same", {1, 1}}, {"same", {2, 2, 2}}})), SFX_OK);
    EXPECT_EQ(ReadAll(Out("same")), Bytes({1, 1}));
}

TEST_F(SfxArchiveTest, PathsThatWouldNotFitAreRefusedNotCut) {
    // dir + name one byte over 260 characters: skipped; one under: written.
    std::string target = dir.File("out") + kPathSeparator;
    size_t room = 260 - target.size();
    std::string fits(room, 'f'), over(room + 1, 'o');
    ASSERT_LE(over.size(), 260u);
    ASSERT_EQ(Extract(Container({{fits, {1}}, {over, {2}}})), SFX_OK);
    EXPECT_TRUE(fs::exists(Out(fits)));
    EXPECT_EQ(FilesOut(), 1u);

    // A directory of 259 characters has no room for its separator.
    char full[kSfxDirSize];
    memset(full, 'd', 259);
    full[259] = '\0';
    EXPECT_EQ(archive->ExtractFrom(dir.File("setup.exe").c_str(), full, nullptr, 0, 0), SFX_ERR_PATH);
    EXPECT_EQ(full[259], '\0');
}

TEST_F(SfxArchiveTest, ReadsEndingEarlyStopTheCopy) {
    // The trailer promises 5000 bytes; the file handed to ExtractEntry has
    // been cut since: the copy must stop, not spin.
    Bytes file = Container({{"big", RandomBytes(5000, 1)}}, 100);
    WriteAll(dir.File("setup.exe"), file);
    ASSERT_EQ(archive->ReadDirectory(dir.File("setup.exe").c_str()), SFX_OK);
    WriteAll(dir.File("cut.exe"), Bytes(file.begin(), file.begin() + 2100));
    FileHandle f = FileOpenRead(dir.File("cut.exe").c_str());
    std::string target = dir.File("");
    EXPECT_EQ(archive->ExtractEntry(f, 0, target.c_str()), SFX_ERR_READ);
    FileClose(f);
    EXPECT_EQ(ReadAll(dir.File("big")).size(), 2000u);
}

TEST_F(SfxArchiveTest, MissingContainerAndReset) {
    EXPECT_EQ(archive->ReadDirectory(dir.File("none.exe").c_str()), SFX_ERR_OPEN);
    ASSERT_EQ(Extract(Container({{"a", {1}}, {"b", {2}}})), SFX_OK);
    EXPECT_EQ(archive->entryCount, 2);
    // A second read starts from scratch.
    ASSERT_EQ(Extract(Container({{"c", {3}}})), SFX_OK);
    EXPECT_EQ(archive->entryCount, 1);
    EXPECT_STREQ(archive->entries[1].name, "");
    archive->Reset();
    EXPECT_EQ(archive->entryCount, 0);
    EXPECT_EQ(archive->trailerLength, 0);
    EXPECT_STREQ(archive->entries[0].name, "");
}

}  // namespace
