// Benchmark corpus: seeded generated data and a fixed list of machine files.
#ifndef TARNVALE_TOOLS_BENCH_BENCH_CORPUS_H
#define TARNVALE_TOOLS_BENCH_BENCH_CORPUS_H

#include <cstdint>
#include <string>
#include <vector>

struct BenchFile {
    std::string name;
    std::vector<uint8_t> data;
};

// A row of the table: files measured together.
struct BenchSet {
    std::string name;
    std::vector<BenchFile> files;
};

// The generated sets "random", "text" and "mixed", each `size` bytes,
// the same bytes for the same seed on every machine.
std::vector<BenchSet> GeneratedSets(size_t size, uint64_t seed);

// The set "binaries": the machine files of the fixed list that exist.
// Paths that are missing or unreadable are appended to `missing`.
BenchSet MachineSet(std::vector<std::string>* missing);

// A set named `name` from the files at `paths`; unreadable ones go to
// `missing`.
BenchSet FileSet(const std::string& name, const std::vector<std::string>& paths,
                 std::vector<std::string>* missing);

#endif
