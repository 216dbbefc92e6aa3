#include "tools/tarnvale/package_reader.h"

#include <sys/types.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "tools/tarnvale/command_line.h"
#include "tools/tarnvale/host_files.h"

std::string SfxResultText(int code) {
    switch (code) {
        case SFX_OK: return "no problem";
        case SFX_ERR_OPEN: return "the file cannot be opened";
        case SFX_ERR_SIGNATURE: return "the file does not end in the package signature";
        case SFX_ERR_EMPTY: return "the directory lists no entries";
        case SFX_ERR_TRAILER:
            return "the directory breaks the format's limits or points outside the file";
        case SFX_ERR_CREATE: return "an output file cannot be created";
        case SFX_ERR_REOPEN: return "the file cannot be opened again";
        case SFX_ERR_PATH: return "the output folder's path is too long";
        case SFX_ERR_READ: return "an entry's data ends early";
        case SFX_ERR_CHANGED: return "an extracted file was replaced while it was written";
        case SFX_ERR_DAMAGED:
            return "the package is damaged: it was cut short, or a checksum does not match";
        default: return "unknown result " + std::to_string(code);
    }
}

PeLayout ReadPeHeaders(const std::string& path) {
    PeLayout pe;
    unsigned char head[kPeHeadSize];
    FileHandle file = FileOpenRead(path.c_str());
    int32_t got = file == kNoFile ? 0 : FileRead(file, head, sizeof(head));
    FileClose(file);
    ReadPeLayout(head, got, &pe);
    return pe;
}

std::string StubKind(const PeLayout& pe) {
    if (pe.header == 0) return "no Windows program";
    char machine[24];
    std::snprintf(machine, sizeof(machine), "machine 0x%04x", pe.machine);
    if (pe.machine == kPeMachineI386) std::snprintf(machine, sizeof(machine), "i386");
    if (pe.machine == kPeMachineAmd64) std::snprintf(machine, sizeof(machine), "x86-64");
    return std::string(pe.magic == kPeMagic64 ? "PE32+" : "PE32") +
           (pe.characteristics & kPeDll ? " library" : " executable") + " for " + machine;
}

std::string StubProblem(const PeLayout& pe) {
    if (pe.header == 0)
        return "is not a Windows program (no PE headers that end within its first 4096 bytes)";
    if (!(pe.characteristics & kPeExecutable) || (pe.characteristics & kPeDll))
        return "is a " + StubKind(pe) + ", not a program that can run";
    if ((pe.magic == kPeMagic32 && pe.machine == kPeMachineI386) ||
        (pe.magic == kPeMagic64 && pe.machine == kPeMachineAmd64))
        return "";
    return "is a " + StubKind(pe) + "; the setup program is a 32-bit Windows one (PE32 for i386)";
}

bool ReadFileRange(const std::string& path, int64_t offset, int64_t size, std::string* out,
                   std::string* error) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        *error = "cannot open " + path + ": " + strerror(errno);
        return false;
    }
    out->assign(static_cast<size_t>(size), '\0');
    bool ok = fseeko(f, static_cast<off_t>(offset), SEEK_SET) == 0 &&
              std::fread(&(*out)[0], 1, out->size(), f) == out->size();
    std::fclose(f);
    if (!ok) *error = "cannot read " + std::to_string(size) + " bytes at offset " +
                      std::to_string(offset) + " of " + path;
    return ok;
}

bool OpenPackage(const std::string& path, PackageView* view, std::string* error) {
    view->path = path;
    view->archive.reset(new SfxArchive());
    int result = view->archive->ReadDirectory(path.c_str());
    if (result != SFX_OK) {
        *error = path + ": " + SfxResultText(result);
        return false;
    }
    view->fileSize = RegularFileSize(path);
    view->pe = ReadPeHeaders(path);
    FileHandle file = FileOpenRead(path.c_str());
    result = file == kNoFile ? SFX_ERR_REOPEN : view->archive->ReadManifest(file);
    FileClose(file);
    if (result == SFX_ERR_REOPEN) {
        *error = path + ": " + SfxResultText(result);
        return false;
    }
    view->checksums = result == SFX_ERR_DAMAGED ? Checksums::kDamaged
                      : view->archive->checked  ? Checksums::kWhole
                                                : Checksums::kNone;
    const SfxArchive& a = *view->archive;
    view->shadowedBy.assign(static_cast<size_t>(a.entryCount), -1);
    for (int i = 0; i < a.entryCount; ++i) {
        for (int j = 0; j < i; ++j) {
            if (view->shadowedBy[j] < 0 && SameEntryName(a.entries[i].name, a.entries[j].name)) {
                view->shadowedBy[i] = j;
                break;
            }
        }
        if (view->scriptIndex < 0 && SameEntryName(a.entries[i].name, kScriptEntryName))
            view->scriptIndex = i;
    }
    view->plan = PackagePlan();
    if (view->scriptIndex >= 0) {
        const SfxEntry& e = a.entries[view->scriptIndex];
        if (!ReadFileRange(path, e.offset, e.size, &view->script, error)) return false;
        view->plan = MakePackagePlan(view->script);
    }
    view->entryOfPlan.assign(view->plan.entries.size(), -1);
    view->planOfEntry.assign(static_cast<size_t>(a.entryCount), -1);
    for (int i = 0; i < a.entryCount; ++i) {
        if (view->shadowedBy[i] >= 0) continue;
        int p = view->plan.Find(a.entries[i].name);
        if (p < 0) continue;
        view->planOfEntry[i] = p;
        view->entryOfPlan[p] = i;
    }
    return true;
}

bool OpenPackageCommand(int argc, char** argv, int first, const char* command, const char* help,
                        PackageView* view, int* exitCode) {
    ParsedArgs args;
    std::string error;
    if (!ParseArgs(argc, argv, first, {}, {}, &args, &error)) {
        *exitCode = UsageError(command, error);
        return false;
    }
    if (args.help) {
        std::printf("%s%s", help, kExitCodeHelp);
        *exitCode = kExitOk;
        return false;
    }
    if (args.positional.size() != 1) {
        *exitCode = UsageError(command, "expected exactly one SETUP.EXE");
        return false;
    }
    if (!OpenPackage(args.positional[0], view, &error)) {
        std::fprintf(stderr, "tarnvale %s: error: %s\n", command, error.c_str());
        *exitCode = kExitFailed;
        return false;
    }
    return true;
}
