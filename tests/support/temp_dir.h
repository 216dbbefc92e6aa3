// A scratch directory per test, removed afterwards; plus small file helpers
// (ReadAll is in codec_harness.h, which the fuzzers share).
#ifndef TARNVALE_TESTS_TEMP_DIR_H
#define TARNVALE_TESTS_TEMP_DIR_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/support/codec_harness.h"

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir() {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("tarnvale-") + (info ? info->name() : "test");
        for (char& c : name)
            if (!isalnum((unsigned char)c) && c != '-') c = '_';
        std::random_device seed;
        path_ = fs::temp_directory_path() / (name + "-" + std::to_string(seed() % 1000000));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

template <class T>
void WriteAll(const std::string& path, const T& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write((const char*)data.data(), (std::streamsize)data.size());
    ASSERT_TRUE(out.flush().good()) << path;
}

// Index of the first differing byte, or -1 when equal.
template <class T>
long FirstDifference(const T& a, const T& b) {
    auto at = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return at.first == a.end() && at.second == b.end() ? -1 : (long)(at.first - a.begin());
}

#endif
