// tarnvale-extract-bench: what the checksum check costs the extraction.
//
//   tarnvale-extract-bench [--quick] [--reps N] [--dir DIR]
//
// Writes packages of seeded data into DIR (default: the temporary folder),
// each twice, with the checksum manifest and without it, and extracts both
// in turn with SfxArchive::ExtractFrom, the setup program's own code, into
// an emptied folder, holding the files open as the setup program does.
// Each of N rounds (default 11) extracts both, back to back, in alternating
// order. The cost is the median over the rounds of the checked time over
// the plain one, less one: of the thread's processor time (program and
// system), which other programs on a busy machine do not disturb, and of
// the wall-clock time. The best wall-clock times are shown beside them, and
// the time the CRC-32 alone takes over the same bytes in the copy's blocks. Built for
// the host and for Windows, where it runs on the setup program's file
// layer (under Wine in docs/PERFORMANCE.md).
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

#include "core/crc32.h"
#include "core/sfx_archive.h"
#include "core/sfx_writer.h"

namespace fs = std::filesystem;

namespace {

struct Shape {
    const char* name;
    int entries;
    size_t smallest, largest;  // entry sizes, spread evenly on a log scale
};

volatile uint32_t crcSink;  // keeps the CRC-32 loop from being optimised away

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The processor time of this thread, in the program and in the system on
// its behalf: what other programs on a busy machine take is not in it.
double ThreadSeconds() {
#ifdef _WIN32
    FILETIME created, ended, system, user;
    GetThreadTimes(GetCurrentThread(), &created, &ended, &system, &user);
    auto value = [](const FILETIME& t) {
        return (static_cast<uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 1e-7;
    };
    return value(system) + value(user);
#else
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
#endif
}

struct Times {
    double wall, thread;
};

std::vector<SfxItem> MakeItems(const Shape& shape, std::mt19937* gen) {
    std::vector<SfxItem> items;
    for (int i = 0; i < shape.entries; ++i) {
        double at = shape.entries > 1 ? static_cast<double>(i) / (shape.entries - 1) : 0;
        size_t size = static_cast<size_t>(static_cast<double>(shape.smallest) *
                                          std::pow(static_cast<double>(shape.largest) / shape.smallest, at));
        SfxItem item{"entry" + std::to_string(i) + ".bin", std::vector<uint8_t>(size)};
        for (uint8_t& b : item.data) b = static_cast<uint8_t>((*gen)());
        items.push_back(item);
    }
    std::shuffle(items.begin(), items.end(), *gen);
    return items;
}

bool WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    bool ok = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return f && std::fclose(f) == 0 && ok;
}

// One extraction of `package` into `out`, emptied first; its times, the
// wall-clock one negative when it failed.
Times Extract(SfxArchive* archive, const fs::path& package, const fs::path& out) {
    fs::remove_all(out);
    fs::create_directories(out);
    static FileHandle held[kSfxMaxEntries];
    archive->heldFiles = held;
    char dir[kSfxDirSize] = {0};
    std::snprintf(dir, sizeof(dir), "%s", out.string().c_str());
    auto start = std::chrono::steady_clock::now();
    double thread = ThreadSeconds();
    int result = archive->ExtractFrom(package.string().c_str(), dir, nullptr, 0, 0);
    Times times = {Seconds(start), ThreadSeconds() - thread};
    for (FileHandle& file : held) FileClose(file), file = kNoFile;
    if (result != SFX_OK) times.wall = -1;
    return times;
}

}  // namespace

int main(int argc, char** argv) {
    bool quick = false;
    int reps = 11;
    fs::path base = fs::temp_directory_path();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            quick = true;
            reps = 1;
        } else if (std::strcmp(argv[i], "--reps") == 0 && i + 1 < argc) {
            reps = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--dir") == 0 && i + 1 < argc) {
            base = argv[++i];
        } else {
            std::fprintf(stderr, "usage: tarnvale-extract-bench [--quick] [--reps N] [--dir DIR]\n");
            return 2;
        }
    }
    const fs::path dir = base / "tarnvale-extract-bench";
    fs::create_directories(dir);
    const std::vector<Shape> shapes =
        quick ? std::vector<Shape>{{"quick", 20, 1000, 200000}}
              : std::vector<Shape>{{"large", 4, 8 << 20, 8 << 20},
                                   {"mixed", 300, 1000, 1 << 20},
                                   {"small", 400, 500, 20000}};
    std::mt19937 gen(0x7A2E5EED);
    std::vector<uint8_t> image(70000);
    for (uint8_t& b : image) b = static_cast<uint8_t>(gen());
    std::unique_ptr<SfxArchive> archive(new SfxArchive());
    std::printf("extraction of the same entries without and with checksums, %d rounds\n", reps);
    std::printf("%-6s %7s %11s | %9s %8s | %9s | %8s %8s | %s\n", "set", "entries", "bytes",
                "plain ms", "MB/s", "check ms", "cost cpu", "wall", "CRC-32 alone");
    for (const Shape& shape : shapes) {
        std::vector<SfxItem> items = MakeItems(shape, &gen);
        uint64_t bytes = 0;
        for (const SfxItem& item : items) bytes += item.data.size();
        const fs::path plain = dir / "plain.exe", checked = dir / "checked.exe", out = dir / "out";
        if (!WriteFile(plain, SfxContainer(image, items)) ||
            !WriteFile(checked, SfxContainer(image, items, true))) {
            std::fprintf(stderr, "tarnvale-extract-bench: cannot write the packages in %s\n",
                         dir.string().c_str());
            return 1;
        }
        double best[2] = {1e30, 1e30}, crc = 1e30;
        std::vector<double> cpu, wall;
        for (int rep = 0; rep < reps; ++rep) {
            Times times[2];
            for (int turn = 0; turn < 2; ++turn) {
                const int check = turn ^ (rep & 1);
                times[check] = Extract(archive.get(), check ? checked : plain, out);
                if (times[check].wall < 0) {
                    std::fprintf(stderr, "tarnvale-extract-bench: the extraction failed\n");
                    return 1;
                }
                best[check] = std::min(best[check], times[check].wall);
            }
            cpu.push_back(times[1].thread / times[0].thread);
            wall.push_back(times[1].wall / times[0].wall);
            auto start = std::chrono::steady_clock::now();
            uint32_t sum = 0;
            for (const SfxItem& item : items)
                for (size_t at = 0; at < item.data.size(); at += kSfxCopyBlock)
                    sum = Crc32(sum, &item.data[at], std::min<size_t>(kSfxCopyBlock, item.data.size() - at));
            crc = std::min(crc, Seconds(start));
            crcSink = sum;
        }
        std::nth_element(cpu.begin(), cpu.begin() + reps / 2, cpu.end());
        std::nth_element(wall.begin(), wall.begin() + reps / 2, wall.end());
        std::printf("%-6s %7d %11llu | %9.1f %8.1f | %9.1f | %7.1f%% %7.1f%% | %.1f ms, %.1f%%\n",
                    shape.name, shape.entries, static_cast<unsigned long long>(bytes), best[0] * 1e3,
                    bytes / best[0] / 1e6, best[1] * 1e3, (cpu[reps / 2] - 1) * 100,
                    (wall[reps / 2] - 1) * 100, crc * 1e3, crc / best[0] * 100);
    }
    fs::remove_all(dir);
    return 0;
}
