// The tarnvale binary end to end: build a package from a script and files,
// read it back with the container reader and the codec, and check what
// list, verify (of it and of a damaged copy) and a failed build report.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/lzss_decoder.h"
#include "core/sfx_archive.h"
#include "tools/tarnvale/host_files.h"

#ifndef TARNVALE_TOOL_PATH
#error "TARNVALE_TOOL_PATH must name the tarnvale binary"
#endif

namespace {

const unsigned kSeed = 20240611;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteAll(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

// "" when equal; otherwise the sizes and the first offset that differs.
std::string Difference(const std::string& actual, const std::string& expected) {
    if (actual == expected) return "";
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
    return "sizes " + std::to_string(actual.size()) + " and " + std::to_string(expected.size()) +
           ", first difference at " + std::to_string(at);
}

struct RunResult { int status; std::string out, err; };

class ToolRoundTrip : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/tarnvale-tool-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        dir_ = pattern;
        std::mt19937 random(kSeed);
        std::string stub(3000, '\0');
        for (char& c : stub) c = static_cast<char>(random());
        WriteAll(dir_ + "/stub.exe", stub);
        mkdir((dir_ + "/files").c_str(), 0777);
        // Compressible and incompressible data, an empty file, text.
        std::string data;
        while (data.size() < 150000) data += "reading " + std::to_string(random() % 97) + ";";
        data.resize(150000);
        for (int i = 0; i < 20000; ++i) data += static_cast<char>(random());
        inputs_ = {{"Data.bin", data},
                   {"empty.txt", ""},
                   {"readme.txt", "Read me.\r\nSecond line.\r\n"},
                   {"licence.txt", "You may use this.\r\n"},
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

    static void TearDownTestSuite() {
        std::string command = "rm -rf '" + dir_ + "'";
        ASSERT_EQ(0, std::system(command.c_str()));
    }

    static RunResult Run(const std::string& args) {
        std::string command = std::string("'") + TARNVALE_TOOL_PATH + "' " + args + " >'" + dir_ +
                              "/stdout' 2>'" + dir_ + "/stderr'";
        int raw = std::system(command.c_str());
        return RunResult{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadAll(dir_ + "/stdout"),
                         ReadAll(dir_ + "/stderr")};
    }

    static RunResult Build(const std::string& script, const std::string& output) {
        return Run("build '" + script + "' -o '" + output + "' --files '" + dir_ + "/files' --stub '" +
                   dir_ + "/stub.exe'");
    }

    static std::string dir_;
    static std::string script_;
    static std::vector<std::pair<std::string, std::string>> inputs_;
};

std::string ToolRoundTrip::dir_;
std::string ToolRoundTrip::script_;
std::vector<std::pair<std::string, std::string>> ToolRoundTrip::inputs_;

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
                                        "empty.txt", "uninstall.exe"}),
              names);
    EXPECT_EQ(3000, archive->entries[0].offset);

    const std::string out = dir_ + "/extracted";
    mkdir(out.c_str(), 0777);
    char dirBuffer[kSfxDirSize] = {0};
    out.copy(dirBuffer, out.size());
    ASSERT_EQ(SFX_OK, archive->ExtractFrom(package.c_str(), dirBuffer, nullptr, 0, 0));

    std::string expectedScript = script_;
    expectedScript.replace(expectedScript.find("SIZE=1\r"), 6, "SIZE=" + std::to_string(size));
    EXPECT_EQ(expectedScript, ReadAll(out + "/install.ini"));
    EXPECT_EQ(inputs_[3].second, ReadAll(out + "/licence.txt"));
    std::unique_ptr<LzssDecoder> decoder(new LzssDecoder());
    const std::pair<const char*, int> streams[] = {
        {"data.bin", 0}, {"empty.txt", 1}, {"readme.txt", 2}, {"uninstall.exe", 4}};
    for (const auto& s : streams) {
        std::string source = out + "/" + s.first;
        std::string target = source + ".decoded";
        ASSERT_EQ(1, decoder->UnpackFile(source.c_str(), target.c_str())) << s.first;
        EXPECT_EQ("", Difference(ReadAll(target), inputs_[s.second].second)) << s.first;
    }

    RunResult listed = Run("list '" + package + "'");
    EXPECT_EQ(0, listed.status) << listed.err;
    EXPECT_NE(std::string::npos, listed.out.find("lzss 170000")) << listed.out;
    RunResult verified = Run("verify '" + package + "'");
    EXPECT_EQ(0, verified.status) << verified.err;

    RunResult again = Build(dir_ + "/install.ini", dir_ + "/setup2.exe");
    ASSERT_EQ(0, again.status) << again.err;
    EXPECT_EQ("", Difference(ReadAll(dir_ + "/setup2.exe"), ReadAll(package))) << "two builds";

    // A damaged copy: readme.txt's stream promises 1000 more bytes than it holds.
    std::string bytes = ReadAll(package);
    size_t header = static_cast<size_t>(archive->entries[3].offset);
    bytes[header + 1] = static_cast<char>(bytes[header + 1] + 4);
    WriteAll(dir_ + "/damaged.exe", bytes);
    verified = Run("verify '" + dir_ + "/damaged.exe'");
    EXPECT_EQ(1, verified.status);
    EXPECT_NE(std::string::npos, verified.err.find("entry 3 \"readme.txt\"")) << verified.err;
}

TEST_F(ToolRoundTrip, MissingFileFailsWithItsLine) {
    SCOPED_TRACE("seed " + std::to_string(kSeed));
    std::string script = script_;
    script.replace(script.find("empty.txt"), 9, "absent.txt");
    WriteAll(dir_ + "/missing.ini", script);
    const std::string output = dir_ + "/out/setup.exe";
    mkdir((dir_ + "/out").c_str(), 0777);
    RunResult built = Build(dir_ + "/missing.ini", output);
    EXPECT_EQ(1, built.status);
    EXPECT_NE(std::string::npos, built.err.find("missing.ini:14: error: [WINDOWS] 1: file \"absent.txt\""))
        << built.err;
    EXPECT_EQ(-1, RegularFileSize(output)) << "a failed build left its output";
    std::string command = "ls -A '" + dir_ + "/out' | wc -l >'" + dir_ + "/count'";
    ASSERT_EQ(0, std::system(command.c_str()));
    EXPECT_EQ("0\n", ReadAll(dir_ + "/count")) << "a failed build left temporary files";
}

}  // namespace
