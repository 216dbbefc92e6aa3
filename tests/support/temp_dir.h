// A scratch directory per test, removed afterwards; plus small file helpers.
#ifndef TARNVALE_TESTS_TEMP_DIR_H
#define TARNVALE_TESTS_TEMP_DIR_H

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

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

inline std::vector<uint8_t> ReadAll(const std::string& path) {
    std::vector<uint8_t> out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    uint8_t block[65536];
    size_t n;
    while ((n = std::fread(block, 1, sizeof(block), f)) > 0) out.insert(out.end(), block, block + n);
    std::fclose(f);
    return out;
}

inline void WriteAll(const std::string& path, const std::vector<uint8_t>& data) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    if (!data.empty()) std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
}

// Seeded random bytes; the seed goes into failure messages.
inline std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
    std::mt19937 gen(seed);
    std::vector<uint8_t> out(n);
    for (auto& b : out) b = (uint8_t)gen();
    return out;
}

// Index of the first differing byte, or -1 when equal.
inline long FirstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return (long)i;
    return a.size() == b.size() ? -1 : (long)n;
}

#endif
