// tarnvale-bench: speed and size of the LZSS codec beside zlib.
//
//   tarnvale-bench [--quick] [--reps N] [--file PATH]...
//
// Every figure is memory to memory, the best of N runs per file, and
// MB/s counts uncompressed bytes (10^6 per MB) for both directions. Every
// decode is compared with its input; a mismatch stops the run, because
// the speed of a codec that loses data means nothing. The CRC-32 of the
// LZSS streams of each set shows at a glance whether an encoder change
// altered a single output byte.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <zlib.h>

#include "core/lzss_decoder.h"
#include "core/lzss_encoder.h"
#include "core/lzss_memory.h"
#include "tools/bench/bench_corpus.h"

#ifndef TARNVALE_BUILD_TYPE
#define TARNVALE_BUILD_TYPE "unknown"
#endif

namespace {

const uint64_t kSeed = 0x7A2E5EEDull;
const double kDecoderGoal = 2.5;  // times zlib inflate
const double kEncoderGoal = 3.0;  // times zlib deflate level 6

struct Options {
    bool quick = false;
    int reps = 5;
    std::vector<std::string> files;
};

// Sums of the best times over the files of a row.
struct Figures {
    size_t files = 0;
    uint64_t bytes = 0;
    uint64_t lzssPacked = 0, zlibPacked = 0;
    double lzssEncode = 0, lzssDecode = 0, deflate = 0, inflate = 0;  // seconds
    uLong crc = crc32(0, Z_NULL, 0);

    void Add(const Figures& f) {
        files += f.files;
        bytes += f.bytes;
        lzssPacked += f.lzssPacked;
        zlibPacked += f.zlibPacked;
        lzssEncode += f.lzssEncode;
        lzssDecode += f.lzssDecode;
        deflate += f.deflate;
        inflate += f.inflate;
    }
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

[[noreturn]] void Fail(const std::string& what, const std::string& file) {
    std::fprintf(stderr, "tarnvale-bench: %s (%s); stopped, the speed of a broken codec means nothing\n",
                 what.c_str(), file.c_str());
    std::exit(2);
}

void CheckSame(const std::vector<uint8_t>& expect, const uint8_t* got, size_t gotSize,
               const char* codec, const std::string& file) {
    if (gotSize != expect.size())
        Fail(std::string(codec) + " round trip gave " + std::to_string(gotSize) + " bytes, expected " +
                 std::to_string(expect.size()),
             file);
    for (size_t i = 0; i < gotSize; ++i)
        if (got[i] != expect[i])
            Fail(std::string(codec) + " round trip differs first at byte " + std::to_string(i), file);
}

// The four directions of one file, run in turn inside every repetition so
// that a busy moment of the machine falls on all of them alike.
struct FileRun {
    const BenchFile* file;
    LzssEncoder* encoder;
    LzssDecoder* decoder;
    std::vector<uint8_t> lzss, zlib, out;
    uLongf zlibSize = 0;
    double encode = 1e30, decode = 1e30, deflate = 1e30, inflate = 1e30;

    void EncodeLzss(int rep) {
        const std::vector<uint8_t>& in = file->data;
        std::vector<uint8_t> packed(in.size() + in.size() / 8 + 16);
        MemoryReader reader = {in.data(), in.size(), 0};
        MemoryWriter writer = {packed.data(), packed.size(), 0};
        LzssMemoryReader(&encoder->inStream, &reader);
        LzssMemoryWriter(&encoder->outStream, &writer);
        auto start = std::chrono::steady_clock::now();
        encoder->EncodeStream();
        encode = std::min(encode, Seconds(start));
        if (writer.size > packed.size()) Fail("LZSS stream larger than its worst case", file->name);
        packed.resize(writer.size);
        if (rep == 0)
            lzss = packed;
        else if (packed != lzss)
            Fail("LZSS encoder gave different streams for the same input", file->name);
    }

    void DecodeLzss() {
        MemoryReader reader = {lzss.data(), lzss.size(), 0};
        MemoryWriter writer = {out.data(), out.size(), 0};
        LzssMemoryReader(&decoder->inStream, &reader);
        LzssMemoryWriter(&decoder->outStream, &writer);
        auto start = std::chrono::steady_clock::now();
        int whole = decoder->DecodeStream();
        decode = std::min(decode, Seconds(start));
        if (!whole) Fail("LZSS decoder reported a damaged stream", file->name);
        CheckSame(file->data, out.data(), writer.size, "LZSS", file->name);
    }

    void Deflate() {
        const std::vector<uint8_t>& in = file->data;
        zlib.resize(compressBound(static_cast<uLong>(in.size())));
        zlibSize = static_cast<uLongf>(zlib.size());
        auto start = std::chrono::steady_clock::now();
        int rc = compress2(zlib.data(), &zlibSize, in.data(), static_cast<uLong>(in.size()), 6);
        deflate = std::min(deflate, Seconds(start));
        if (rc != Z_OK) Fail("zlib deflate failed", file->name);
    }

    void Inflate() {
        uLongf outSize = static_cast<uLongf>(out.size());
        auto start = std::chrono::steady_clock::now();
        int rc = uncompress(out.data(), &outSize, zlib.data(), zlibSize);
        inflate = std::min(inflate, Seconds(start));
        if (rc != Z_OK) Fail("zlib inflate failed", file->name);
        CheckSame(file->data, out.data(), outSize, "zlib", file->name);
    }
};

void MeasureFile(LzssEncoder* encoder, LzssDecoder* decoder, const BenchFile& file, int reps,
                 Figures* f) {
    FileRun run;
    run.file = &file;
    run.encoder = encoder;
    run.decoder = decoder;
    run.out.resize(file.data.size() + 1);  // one spare byte shows an overrun
    for (int r = 0; r < reps; ++r) {
        run.EncodeLzss(r);
        run.DecodeLzss();
        run.Deflate();
        run.Inflate();
    }
    f->files++;
    f->bytes += file.data.size();
    f->lzssPacked += run.lzss.size();
    f->zlibPacked += run.zlibSize;
    f->crc = crc32(f->crc, run.lzss.data(), static_cast<uInt>(run.lzss.size()));
    f->lzssEncode += run.encode;
    f->lzssDecode += run.decode;
    f->deflate += run.deflate;
    f->inflate += run.inflate;
}

double MBps(uint64_t bytes, double seconds) { return seconds > 0 ? bytes / seconds / 1e6 : 0; }

double Percent(uint64_t part, uint64_t whole) { return whole ? 100.0 * part / whole : 0; }

void PrintHeader() {
    std::printf("%-10s %5s %10s | %8s %8s %10s %6s | %8s %8s %10s %6s | %7s %7s | %8s\n", "set",
                "files", "bytes", "enc MB/s", "dec MB/s", "lzss", "ratio", "def MB/s", "inf MB/s",
                "zlib-6", "ratio", "enc/def", "dec/inf", "lzss crc");
}

void PrintRow(const std::string& name, const Figures& f, bool withCrc) {
    double enc = MBps(f.bytes, f.lzssEncode), dec = MBps(f.bytes, f.lzssDecode);
    double def = MBps(f.bytes, f.deflate), inf = MBps(f.bytes, f.inflate);
    std::printf("%-10s %5zu %10llu | %8.1f %8.1f %10llu %5.1f%% | %8.1f %8.1f %10llu %5.1f%% | %6.2fx %6.2fx |",
                name.c_str(), f.files, static_cast<unsigned long long>(f.bytes), enc, dec,
                static_cast<unsigned long long>(f.lzssPacked), Percent(f.lzssPacked, f.bytes), def,
                inf, static_cast<unsigned long long>(f.zlibPacked), Percent(f.zlibPacked, f.bytes),
                def > 0 ? enc / def : 0, inf > 0 ? dec / inf : 0);
    if (withCrc)
        std::printf(" %08lx\n", static_cast<unsigned long>(f.crc));
    else
        std::printf(" %8s\n", "-");
}

void PrintGoals(const std::string& name, const Figures& f) {
    double decRatio = f.inflate > 0 ? f.inflate / f.lzssDecode : 0;
    double encRatio = f.deflate > 0 ? f.deflate / f.lzssEncode : 0;
    std::printf("goals on %s: decoder %.2fx inflate (goal %.1fx) %s; encoder %.2fx deflate-6 (goal %.1fx) %s\n",
                name.c_str(), decRatio, kDecoderGoal, decRatio >= kDecoderGoal ? "met" : "MISSED",
                encRatio, kEncoderGoal, encRatio >= kEncoderGoal ? "met" : "MISSED");
}

void Usage() {
    std::fprintf(stderr,
                 "usage: tarnvale-bench [--quick] [--reps N] [--file PATH]...\n"
                 "  --quick      small generated corpus only, for a smoke run\n"
                 "  --reps N     runs per file, best one counts (default 5, 3 with --quick)\n"
                 "  --file PATH  add a file to the row \"added\" (repeatable)\n");
}

bool ParseOptions(int argc, char** argv, Options* o) {
    bool repsGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--quick") {
            o->quick = true;
        } else if (a == "--reps" && i + 1 < argc) {
            o->reps = std::atoi(argv[++i]);
            repsGiven = true;
            if (o->reps < 1) return false;
        } else if (a == "--file" && i + 1 < argc) {
            o->files.push_back(argv[++i]);
        } else {
            return false;
        }
    }
    if (o->quick && !repsGiven) o->reps = 3;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, &options)) {
        Usage();
        return 1;
    }
    const size_t generated = options.quick ? 128 * 1024 : 1024 * 1024;
    std::vector<BenchSet> sets = GeneratedSets(generated, kSeed);
    std::vector<std::string> missing;
    if (!options.quick) sets.push_back(MachineSet(&missing));
    if (!options.files.empty()) sets.push_back(FileSet("added", options.files, &missing));

    std::printf("tarnvale-bench: LZSS codec beside zlib %s deflate level 6 (%s build)\n", zlibVersion(),
                TARNVALE_BUILD_TYPE);
    std::printf("best of %d runs per file, memory to memory, MB/s = uncompressed bytes / 10^6 / s\n",
                options.reps);
    std::printf("generated sets: %zu bytes each, seed 0x%llx\n", generated,
                static_cast<unsigned long long>(kSeed));
    for (const std::string& path : missing) std::printf("skipped (missing or unreadable): %s\n", path.c_str());
    std::printf("\n");
    PrintHeader();

    std::unique_ptr<LzssEncoder> encoder(new LzssEncoder());
    std::unique_ptr<LzssDecoder> decoder(new LzssDecoder());
    Figures total;
    const Figures* binaries = nullptr;
    std::vector<Figures> rows(sets.size());
    for (size_t i = 0; i < sets.size(); ++i) {
        if (sets[i].files.empty()) continue;
        for (const BenchFile& file : sets[i].files)
            MeasureFile(encoder.get(), decoder.get(), file, options.reps, &rows[i]);
        PrintRow(sets[i].name, rows[i], true);
        std::fflush(stdout);
        total.Add(rows[i]);
        if (sets[i].name == "binaries") binaries = &rows[i];
    }
    PrintRow("total", total, false);
    std::printf("\n");
    if (binaries)
        PrintGoals("binaries", *binaries);
    else
        std::printf("goals: checked on the binaries row only, which this run lacks\n");
    return 0;
}
