// tarnvale list and tarnvale extract.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/lzss_decoder.h"
#include "tools/tarnvale/command_line.h"
#include "tools/tarnvale/commands.h"
#include "tools/tarnvale/host_files.h"
#include "tools/tarnvale/package_reader.h"

namespace {

const char kListHelp[] =
    "Usage: tarnvale list SETUP.EXE\n"
    "\n"
    "Lists every payload entry with its offset and size, and what the packaged\n"
    "install.ini makes of it:\n"
    "  script    the install script, stored as it is\n"
    "  licence   the licence text, stored as it is\n"
    "  lzss N    an LZSS stream that the installer decodes to N bytes\n"
    "  unused    not named by the script\n"
    "  checksums the checksum manifest (payload.crc) of the stub and entries\n"
    "  shadowed  same name as an entry with a lower index, which overwrites it\n"
    "Then totals, and [INFO] SIZE beside the bytes the install decodes.\n"
    "\n";

const char kExtractHelp[] =
    "Usage: tarnvale extract SETUP.EXE -o DIR [--decode]\n"
    "\n"
    "Copies every payload entry into DIR (created when missing) under its own\n"
    "name, as the installer does; files already there are replaced.\n"
    "\n"
    "  --decode  also decodes each entry that the packaged install.ini makes an\n"
    "            LZSS stream: the stream is decoded into a temporary file in DIR\n"
    "            that then replaces it, so DIR ends up holding the original files\n"
    "            under their own names and no compressed streams.\n"
    "\n";

// The decoded length in the header of package entry `index`, or -1 when the
// entry is too short or cannot be read.
int64_t HeaderLength(const PackageView& view, int index) {
    const SfxEntry& e = view.archive->entries[index];
    std::string header, error;
    if (e.size < 4 || !ReadFileRange(view.path, e.offset, 4, &header, &error)) return -1;
    uint32_t length = 0;
    for (int i = 3; i >= 0; --i) length = (length << 8) | static_cast<uint8_t>(header[i]);
    return length;
}

bool IsStream(const PackageView& view, int index) {
    int p = view.planOfEntry[index];
    return p >= 0 && view.plan.entries[p].kind == EntryKind::kCompressed;
}

std::string KindText(const PackageView& view, int index) {
    if (view.shadowedBy[index] >= 0) return "shadowed";
    int p = view.planOfEntry[index];
    if (p < 0 && view.checksums != Checksums::kNone && index == view.archive->entryCount - 1)
        return view.checksums == Checksums::kWhole ? "checksums" : "checksums ?";
    if (p < 0) return "unused";
    if (view.plan.entries[p].kind == EntryKind::kScript) return "script";
    if (view.plan.entries[p].kind == EntryKind::kLicence) return "licence";
    int64_t length = HeaderLength(view, index);
    return length < 0 ? "lzss ?" : "lzss " + std::to_string(length);
}

}  // namespace

int RunList(int argc, char** argv, int first) {
    PackageView view;
    int exitCode;
    if (!OpenPackageCommand(argc, argv, first, "list", kListHelp, &view, &exitCode)) return exitCode;
    const SfxArchive& a = *view.archive;
    std::string signature;
    if (view.Signed())
        signature = " (signed: the last " + std::to_string(view.fileSize - a.containerEnd) +
                    " bytes are the certificate table and its alignment)";
    std::printf("%s: %d entries, directory %d bytes, file %lld bytes%s\n", view.path.c_str(),
                a.entryCount, a.trailerLength, static_cast<long long>(view.fileSize),
                signature.c_str());
    std::printf("%5s %11s %11s  %-16s %s\n", "index", "offset", "size", "kind", "name");
    uint64_t stored = 0, packed = 0, decoded = 0;
    int packedCount = 0;
    for (int i = 0; i < a.entryCount; ++i) {
        const SfxEntry& e = a.entries[i];
        std::printf("%5d %11d %11d  %-16s %s\n", i, e.offset, e.size, KindText(view, i).c_str(),
                    e.name);
        stored += static_cast<uint64_t>(e.size);
        if (IsStream(view, i)) {
            ++packedCount;
            packed += static_cast<uint64_t>(e.size);
            int64_t length = HeaderLength(view, i);
            if (length > 0) decoded += static_cast<uint64_t>(length);
        }
    }
    std::printf("total: %d entries, %llu bytes stored; %d compressed: %llu bytes decoding to %llu\n",
                a.entryCount, static_cast<unsigned long long>(stored), packedCount,
                static_cast<unsigned long long>(packed), static_cast<unsigned long long>(decoded));
    if (view.scriptIndex < 0) {
        std::fprintf(stderr, "tarnvale list: warning: the package holds no install.ini\n");
        return kExitOk;
    }
    std::vector<uint64_t> lengths(view.plan.entries.size(), 0);
    for (size_t p = 0; p < lengths.size(); ++p) {
        int index = view.entryOfPlan[p];
        int64_t length = index < 0 ? -1 : HeaderLength(view, index);
        if (length > 0) lengths[p] = static_cast<uint64_t>(length);
    }
    SizeTotals totals = ComputeSizeTotals(view.plan, lengths);
    std::printf("SIZE: %s in install.ini; the install decodes %llu (NT family %llu, 95 family %llu)\n",
                view.plan.size.present ? ("\"" + view.plan.size.text + "\"").c_str() : "missing",
                static_cast<unsigned long long>(totals.Larger()),
                static_cast<unsigned long long>(totals.nt),
                static_cast<unsigned long long>(totals.win95));
    return kExitOk;
}

int RunExtract(int argc, char** argv, int first) {
    ParsedArgs args;
    std::string error;
    if (!ParseArgs(argc, argv, first, {"-o", "--output"}, {"--decode"}, &args, &error))
        return UsageError("extract", error);
    if (args.help) {
        std::printf("%s%s", kExtractHelp, kExitCodeHelp);
        return kExitOk;
    }
    if (args.positional.size() != 1) return UsageError("extract", "expected exactly one SETUP.EXE");
    if (args.values.count("-o") + args.values.count("--output") != 1)
        return UsageError("extract", "expected one -o DIR");
    const std::string dir = args.values.count("-o") ? args.values["-o"] : args.values["--output"];
    if (dir.empty()) return UsageError("extract", "the -o DIR name is empty");
    PackageView view;
    if (!OpenPackage(args.positional[0], &view, &error) || !MakeDirs(dir, &error)) {
        std::fprintf(stderr, "tarnvale extract: error: %s\n", error.c_str());
        return kExitFailed;
    }
    char dirBuffer[kSfxDirSize] = {0};
    if (dir.size() + 1 >= sizeof(dirBuffer)) {
        std::fprintf(stderr, "tarnvale extract: error: the folder path is longer than %d characters\n",
                     static_cast<int>(sizeof(dirBuffer)) - 2);
        return kExitFailed;
    }
    dir.copy(dirBuffer, dir.size());
    int result = view.archive->ExtractFrom(view.path.c_str(), dirBuffer, nullptr, 0, 0);
    if (result != SFX_OK) {
        std::fprintf(stderr, "tarnvale extract: error: %s: %s\n", view.path.c_str(),
                     SfxResultText(result).c_str());
        return kExitFailed;
    }
    int status = kExitOk;
    const SfxArchive& a = *view.archive;
    for (int i = 0; i < a.entryCount; ++i) {
        if (view.shadowedBy[i] >= 0) continue;
        const SfxEntry& e = a.entries[i];
        std::string path = JoinPath(dir, e.name);
        if (RegularFileSize(path) != e.size) {
            std::fprintf(stderr, "tarnvale extract: error: entry %d \"%s\" was not copied\n", i, e.name);
            status = kExitFailed;
        }
    }
    int decodedCount = 0;
    if (args.flags.count("--decode")) {
        std::unique_ptr<LzssDecoder> decoder(new LzssDecoder());
        for (int i = 0; i < a.entryCount; ++i) {
            if (!IsStream(view, i)) continue;
            std::string stream = JoinPath(dir, a.entries[i].name);
            TempFile decoded;
            if (!decoded.Create(stream, "decoded", &error) ||
                !decoder->UnpackFile(stream.c_str(), decoded.Path().c_str()) ||
                !decoded.Commit(stream, &error)) {
                std::fprintf(stderr, "tarnvale extract: error: cannot decode \"%s\"%s%s\n",
                             a.entries[i].name, error.empty() ? "" : ": ", error.c_str());
                status = kExitFailed;
                error.clear();
                continue;
            }
            ++decodedCount;
        }
    }
    std::printf("extracted %d entries to %s", a.entryCount, dir.c_str());
    if (args.flags.count("--decode")) std::printf(", %d of them decoded", decodedCount);
    std::printf("\n");
    return status;
}
