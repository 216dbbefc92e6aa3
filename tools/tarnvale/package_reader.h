// An existing package opened for list, extract and verify: its directory,
// the install script it carries, and that script's plan matched to the
// entries.
#ifndef TARNVALE_TOOLS_PACKAGE_READER_H
#define TARNVALE_TOOLS_PACKAGE_READER_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/pe_image.h"
#include "core/sfx_archive.h"
#include "tools/tarnvale/package_plan.h"

// Whether a package carries the checksum manifest, and whether it is whole.
enum class Checksums { kNone, kWhole, kDamaged };

struct PackageView {
    std::string path;
    std::unique_ptr<SfxArchive> archive;  // 1000 entries: too large for the stack
    int64_t fileSize = 0;
    int scriptIndex = -1;   // entry the installer reads as install.ini, -1 when none
    std::string script;
    PackagePlan plan;       // empty when there is no script
    // Per plan entry: the package entry the installer ends up with (the
    // lowest index of that name, since lower indices are extracted last),
    // or -1 when the package lacks it.
    std::vector<int> entryOfPlan;
    // Per package entry: its plan entry or -1; and the entry that overwrites
    // it on extraction (same name, lower index) or -1.
    std::vector<int> planOfEntry;
    std::vector<int> shadowedBy;
    PeLayout pe{};          // the program's headers; pe.header 0 when it has none
    Checksums checksums = Checksums::kNone;
    bool Signed() const { return archive->containerEnd != fileSize; }
};

// Reads the directory of the package at `path` and the script it carries.
// Returns false with `error` set when the directory cannot be read; a
// package without install.ini still opens (scriptIndex -1).
bool OpenPackage(const std::string& path, PackageView* view, std::string* error);

// The start of a command that takes one SETUP.EXE and no options
// (list, verify): parses argv[first..argc), prints `help` for --help, and
// opens the package. Returns true with `view` open; otherwise false with
// `*exitCode` set (kExitOk after help, kExitUsage, or kExitFailed with the
// error on stderr).
bool OpenPackageCommand(int argc, char** argv, int first, const char* command, const char* help,
                        PackageView* view, int* exitCode);

// The PE headers of the file at `path` (pe.header 0 when it has none).
PeLayout ReadPeHeaders(const std::string& path);

// What a program image is ("PE32 executable for i386"), and why it cannot be
// the setup program of a package, or "" when it can: a Windows program for
// 32-bit x86 (PE32, i386) as shipped, or for x86-64 (PE32+), as the tests
// build it where Wine runs 64-bit programs only.
std::string StubKind(const PeLayout& pe);
std::string StubProblem(const PeLayout& pe);

// Reads `size` bytes at `offset` of the file at `path`.
bool ReadFileRange(const std::string& path, int64_t offset, int64_t size, std::string* out,
                   std::string* error);

// A sentence for a container result code.
std::string SfxResultText(int code);

#endif
