// The tarnvale binary end to end: build a package from a script and files,
// read it back with the container reader and the codec, and check what
// list, verify (of it and of a damaged copy) and a failed build report.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/wait.h>

#include <memory>
#include <string>
#include <vector>

#include "core/lzss_decoder.h"
#include "core/sfx_archive.h"
#include "tests/support/codec_harness.h"
#include "tests/support/temp_dir.h"
#include "tools/tarnvale/host_files.h"

#ifndef TARNVALE_TOOL_PATH
#error "TARNVALE_TOOL_PATH must name the tarnvale binary"
#endif

namespace {

const unsigned kSeed = 20240611;

struct RunResult { int status; std::string out, err; };

class ToolRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = scratch.Path().string();
        WriteAll(dir_ + "/stub.exe", TestProgram(3000));
        fs::create_directory(dir_ + "/files");
        // Compressible and incompressible data, an empty file, text.
        Bytes data = Text(150000, kSeed), noise = Noise(20000, kSeed);
        data.insert(data.end(), noise.begin(), noise.end());
        inputs_ = {{"Data.bin", std::string(data.begin(), data.end())}, {"empty.txt", ""},
                   {"readme.txt", "Read me.\r\nSecond line.\r\n"}, {"licence.txt", "You may use this.\r\n"},
                   {"uninstall.exe", "uninstaller stand-in"}};
        for (const auto& f : inputs_) WriteAll(dir_ + "/files/" + f.first, f.second);
        // data.bin is named in another case than on disk; readme.txt twice.
        script_ =
            "[INSTALL PROJECT]\r\nNAME=Round Trip\r\nLICENSE FILE=licence.txt\r\n"
            "[INFO]\r\nSIZE=1\r\nDISKS=1\r\n"
            "[NORMAL]\r\nFILES=3\r\n1=*Default directory,,data.bin,,,,,,\r\n"
            "2=*Default directory,,readme.txt,,,,WIN-NT,,\r\n3=*Default directory,Docs,readme.txt,,,,,,\r\n"
            "[WINDOWS]\r\nFILES=1\r\n1=,empty.txt,,,,,,\r\n"
            "[UNINSTALL]\r\nNAME=uninstall.exe\r\n";
        WriteAll(dir_ + "/install.ini", script_);
    }

    RunResult Run(const std::string& args) {
        std::string command = std::string("'") + TARNVALE_TOOL_PATH + "' " + args + " >'" + dir_ +
                              "/stdout' 2>'" + dir_ + "/stderr'";
        int raw = std::system(command.c_str());
        return RunResult{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll<std::string>(dir_ + "/stdout"),
                         ReadAll<std::string>(dir_ + "/stderr")};
    }

    RunResult Build(const std::string& script, const std::string& output) {
        return Run("build '" + script + "' -o '" + output + "' --files '" + dir_ + "/files' --stub '" +
                   dir_ + "/stub.exe'");
    }

    TempDir scratch;
    std::string dir_, script_;
    std::vector<std::pair<std::string, std::string>> inputs_;
};

TEST_F(ToolRoundTrip, PackageGivesTheFilesBack) {
    SCOPED_TRACE("seed " + std::to_string(kSeed));
    const std::string package = dir_ + "/setup.exe";
    RunResult built = Build(dir_ + "/install.ini", package);
    ASSERT_EQ(0, built.status) << built.err;
    // Data.bin 170000 + readme twice on NT + uninstaller; licence not counted.
    const uint64_t size = 170000 + 2 * 24 + 20;
    EXPECT_NE(std::string::npos, built.out.find("now " + std::to_string(size))) << built.out;

    std::unique_ptr<SfxArchive> archive(new SfxArchive());
    ASSERT_EQ(SFX_OK, archive->ReadDirectory(package.c_str()));
    std::vector<std::string> names;
    for (int i = 0; i < archive->entryCount; ++i) names.push_back(archive->entries[i].name);
    EXPECT_EQ((std::vector<std::string>{"install.ini", "licence.txt", "data.bin", "readme.txt",
                                        "empty.txt", "uninstall.exe", SFX_MANIFEST_NAME}),
              names);
    EXPECT_EQ(3000, archive->entries[0].offset);

    const std::string out = dir_ + "/extracted";
    fs::create_directory(out);
    char dirBuffer[kSfxDirSize] = {0};
    out.copy(dirBuffer, out.size());
    ASSERT_EQ(SFX_OK, archive->ExtractFrom(package.c_str(), dirBuffer, nullptr, 0, 0));

    std::string expectedScript = script_;
    expectedScript.replace(expectedScript.find("SIZE=1\r"), 6, "SIZE=" + std::to_string(size));
    EXPECT_EQ(expectedScript, ReadAll<std::string>(out + "/install.ini"));
    EXPECT_EQ(inputs_[3].second, ReadAll<std::string>(out + "/licence.txt"));
    std::unique_ptr<LzssDecoder> decoder(new LzssDecoder());
    const std::pair<const char*, int> streams[] = {
        {"data.bin", 0}, {"empty.txt", 1}, {"readme.txt", 2}, {"uninstall.exe", 4}};
    for (const auto& s : streams) {
        std::string source = out + "/" + s.first;
        std::string target = source + ".decoded";
        ASSERT_EQ(1, decoder->UnpackFile(source.c_str(), target.c_str())) << s.first;
        EXPECT_EQ(-1, FirstDifference(ReadAll<std::string>(target), inputs_[s.second].second)) << s.first;
    }

    RunResult listed = Run("list '" + package + "'");
    EXPECT_EQ(0, listed.status) << listed.err;
    EXPECT_NE(std::string::npos, listed.out.find("lzss 170000")) << listed.out;
    RunResult verified = Run("verify '" + package + "'");
    EXPECT_EQ(0, verified.status) << verified.err;

    RunResult again = Build(dir_ + "/install.ini", dir_ + "/setup2.exe");
    ASSERT_EQ(0, again.status) << again.err;
    EXPECT_EQ(-1, FirstDifference(ReadAll(dir_ + "/setup2.exe"), ReadAll(package))) << "two builds";

    // A damaged copy: readme.txt's stream promises 1000 more bytes than it holds.
    std::string bytes = ReadAll<std::string>(package);
    size_t header = static_cast<size_t>(archive->entries[3].offset);
    bytes[header + 1] = static_cast<char>(bytes[header + 1] + 4);
    WriteAll(dir_ + "/damaged.exe", bytes);
    verified = Run("verify '" + dir_ + "/damaged.exe'");
    EXPECT_EQ(1, verified.status);
    EXPECT_NE(std::string::npos, verified.err.find("entry 3 \"readme.txt\"")) << verified.err;
}

// A bit flipped at 300 seeded offsets, spread over the stub, each entry
// (the manifest last) and the directory: verify fails on each and names the
// stub or the entry. The only bytes that nothing reads are the stub's PE
// checksum and security directory (signing sets them; a single flip cannot
// make the directory name a table): there verify passes.
TEST_F(ToolRoundTrip, VerifyFailsOnEveryFlippedBit) {
    SCOPED_TRACE("seed " + std::to_string(kSeed));
    const std::string package = dir_ + "/setup.exe", flipped = dir_ + "/flipped.exe";
    ASSERT_EQ(0, Build(dir_ + "/install.ini", package).status);
    const Bytes good = ReadAll(package);
    std::unique_ptr<SfxArchive> a(new SfxArchive());
    ASSERT_EQ(SFX_OK, a->ReadDirectory(package.c_str()));
    std::vector<std::pair<size_t, std::string>> regions = {{0, "the stub"}};
    for (int i = 0; i < a->entryCount; ++i)
        regions.push_back({a->entries[i].offset, "entry " + std::to_string(i) + " \"" + a->entries[i].name + "\""});
    regions.push_back({good.size() - a->trailerLength, ""});  // the directory: any problem
    regions.push_back({good.size(), ""});
    std::vector<size_t> offsets = {152, 153, 154, 155, 216, 217, 218, 219, 220, 221, 222, 223};
    std::mt19937 gen(kSeed);
    for (size_t r = 0; offsets.size() < 300; r = (r + 1) % (regions.size() - 1))
        offsets.push_back(regions[r].first + gen() % (regions[r + 1].first - regions[r].first));
    for (size_t at : offsets) {
        Bytes bad = good;
        bad[at] ^= 1 << (gen() % 8);
        WriteAll(flipped, bad);
        RunResult verified = Run("verify '" + flipped + "'");
        size_t r = 0;
        while (regions[r + 1].first <= at) ++r;
        const bool unread = (at >= 152 && at < 156) || (at >= 216 && at < 224);
        EXPECT_EQ(unread ? 0 : 1, verified.status) << "byte " << at << "\n" << verified.err;
        if (!unread) EXPECT_NE(std::string::npos, verified.err.find(regions[r].second)) << "byte " << at;
    }
}

// build takes a Windows program for 32-bit x86 or, as the tests build it,
// x86-64; verify names which.
TEST_F(ToolRoundTrip, StubMustBeAWindowsProgram) {
    const struct { Bytes stub; int status; const char* says; } rows[] = {
        {Noise(3000, kSeed), 1, "is not a Windows program"},
        {TestProgram(3000, 0x1C4), 1, "is a PE32 executable for machine 0x01c4"},
        {TestProgram(3000, 0x8664), 0, "stub: 3000 bytes, PE32+ executable for x86-64"},
        {TestProgram(3000), 0, "stub: 3000 bytes, PE32 executable for i386"},
    };
    for (const auto& row : rows) {
        WriteAll(dir_ + "/stub.exe", row.stub);
        RunResult built = Build(dir_ + "/install.ini", dir_ + "/setup.exe");
        EXPECT_EQ(row.status, built.status) << built.err;
        if (row.status == 0) built = Run("verify '" + dir_ + "/setup.exe'");
        EXPECT_NE(std::string::npos, (built.out + built.err).find(row.says)) << built.out << built.err;
    }
}

TEST_F(ToolRoundTrip, MissingFileFailsWithItsLine) {
    SCOPED_TRACE("seed " + std::to_string(kSeed));
    std::string script = script_;
    script.replace(script.find("empty.txt"), 9, "absent.txt");
    WriteAll(dir_ + "/missing.ini", script);
    const std::string output = dir_ + "/out/setup.exe";
    fs::create_directory(dir_ + "/out");
    RunResult built = Build(dir_ + "/missing.ini", output);
    EXPECT_EQ(1, built.status);
    EXPECT_NE(std::string::npos, built.err.find("missing.ini:14:1: error: [WINDOWS] 1: file \"absent.txt\""))
        << built.err;
    EXPECT_EQ(-1, RegularFileSize(output)) << "a failed build left its output";
    EXPECT_TRUE(fs::is_empty(dir_ + "/out")) << "a failed build left temporary files";
}

// An output the build must not write, refused before any work with exit
// code 1 (2 for an empty name), and left exactly as it was.
TEST_F(ToolRoundTrip, RefusesOutputsItMustNotReplace) {
    fs::create_directory(dir_ + "/folder");
    fs::create_symlink(dir_ + "/files/readme.txt", dir_ + "/link.exe");
    const struct { const char* name; std::string output; int status; const char* says; } rows[] = {
        {"empty name", "", 2, "name is empty"},
        {"the script", dir_ + "/install.ini", 1, "(the install script)"},
        {"the stub", dir_ + "/stub.exe", 1, "(the setup stub)"},
        {"a source file", dir_ + "/files/Data.bin", 1, "([NORMAL] 1)"},
        {"a folder", dir_ + "/folder", 1, "is a folder"},
        {"a device", "/dev/null", 1, "is not a regular file"},
        {"a symbolic link", dir_ + "/link.exe", 1, "is a symbolic link"},
        {"a missing folder", dir_ + "/absent/setup.exe", 1, "No such file or directory"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string before = fs::is_regular_file(row.output) ? ReadAll<std::string>(row.output) : "";
        RunResult built = Build(dir_ + "/install.ini", row.output);
        EXPECT_EQ(row.status, built.status);
        EXPECT_NE(std::string::npos, built.err.find(row.says)) << built.err;
        if (!before.empty()) EXPECT_EQ(before, ReadAll<std::string>(row.output));
    }
    EXPECT_TRUE(fs::is_symlink(dir_ + "/link.exe"));

    // extract never writes through a link that stands in its folder.
    ASSERT_EQ(0, Build(dir_ + "/install.ini", dir_ + "/setup.exe").status);
    fs::create_directory(dir_ + "/out");
    fs::create_symlink(dir_ + "/victim", dir_ + "/out/install.ini");
    EXPECT_EQ(1, Run("extract '" + dir_ + "/setup.exe' -o '" + dir_ + "/out'").status);
    EXPECT_FALSE(fs::exists(dir_ + "/victim")) << "extract wrote through a symbolic link";
}

}  // namespace
