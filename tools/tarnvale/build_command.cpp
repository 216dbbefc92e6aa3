// tarnvale build: script and files in, one package out.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "core/lzss_encoder.h"
#include "core/sfx_writer.h"
#include "tools/tarnvale/command_line.h"
#include "tools/tarnvale/commands.h"
#include "tools/tarnvale/host_files.h"
#include "tools/tarnvale/lint_report.h"
#include "tools/tarnvale/lzss_files.h"
#include "tools/tarnvale/package_plan.h"
#include "tools/tarnvale/package_reader.h"
#include "tools/tarnvale/script_lint.h"
#include "tools/tarnvale/script_text.h"

namespace {

const char kBuildHelp[] =
    "Usage: tarnvale build SCRIPT -o SETUP.EXE [--files DIR] [--stub STUB]\n"
    "                      [--uninstaller EXE] [--werror] [--force] [--no-checksums]\n"
    "\n"
    "Builds a package: the setup stub followed by the payload and its directory.\n"
    "docs/SCRIPT.md describes the install script: its sections, keys and the\n"
    "columns of an entry line.\n"
    "\n"
    "  SCRIPT        the install script; it is stored as the entry \"install.ini\"\n"
    "                with [INFO] SIZE set to the bytes the install decodes\n"
    "  -o SETUP.EXE  the package to write (replaced only when the build succeeds)\n"
    "  --files DIR   folder of the files the script names (default: the script's\n"
    "                folder); a name is found exactly or, failing that, ignoring case\n"
    "  --stub STUB   the setup stub (default: tarnvale-stub.exe beside this program):\n"
    "                a Windows program for 32-bit x86 (PE32, i386), or one for\n"
    "                x86-64 (PE32+) as the tests build it; anything else is refused\n"
    "  --uninstaller EXE  stored as [UNINSTALL] NAME when the files hold no file of\n"
    "                that name (default: tarnvale-uninstall.exe beside this program)\n"
    "  --werror      count warnings as errors\n"
    "  --force       build even when the checks find errors in the script (the\n"
    "                package then does what docs/SCRIPT.md says of such lines)\n"
    "  --no-checksums  leave out the checksum manifest (the last entry,\n"
    "                \"payload.crc\"), as packages built before it existed; the\n"
    "                setup program then installs the package unchecked\n"
    "\n"
    "The script and its files are checked first, as 'tarnvale lint' checks them;\n"
    "an error stops the build (FILE:LINE:COL: error: ... on stderr).\n"
    "The licence file is stored as it is; every file that a line of [NORMAL],\n"
    "[WINDOWS], [SYSTEM] or [LW] names, and [UNINSTALL] NAME, is stored LZSS-\n"
    "compressed. The script is read with the installer's own buffer sizes.\n"
    "\n";

std::string Percent(uint64_t part, uint64_t whole) {
    if (whole == 0) return "-";
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f%%", 100.0 * static_cast<double>(part) /
                                                    static_cast<double>(whole));
    return text;
}

struct BuildInputs {
    std::string scriptPath;
    std::string output;
    std::string filesDir;
    std::string stub;
    std::string uninstaller;
    bool filesGiven = false;
    bool werror = false;
    bool force = false;
    bool checksums = true;
};

class PackageBuild {
public:
    explicit PackageBuild(const BuildInputs& in) : in_(in) {}
    int Run();

private:
    bool CheckOutput(bool sourcesKnown);
    bool CheckScript();
    bool PrepareScript();
    bool WritePackage();
    // Encodes entry `index` into `streamPath`, then appends that stream.
    bool AddCompressed(SfxWriter* writer, LzssEncoder* encoder, const std::string& streamPath,
                       size_t index, std::string* error);
    void PrintSummary() const;
    void Fail(const std::string& text) {
        std::fprintf(stderr, "tarnvale build: error: %s\n", text.c_str());
    }

    const BuildInputs& in_;
    std::string script_;
    std::string packagedScript_;
    PackagePlan plan_;
    std::vector<std::string> sources_;   // per plan entry; empty for the script
    std::vector<uint64_t> sizes_;        // per plan entry: its input bytes
    SizeTotals totals_;
    std::vector<SfxRecord> records_;
    int64_t stubSize_ = 0;
};

// The package replaces only a regular file or takes a new name, and never
// one of its own inputs. Checked before any work, and once more for the
// package's files when they are known.
bool PackageBuild::CheckOutput(bool sourcesKnown) {
    std::string problem = OutputProblem(in_.output);
    if (!problem.empty()) {
        Fail("cannot write the package: " + problem);
        return false;
    }
    std::vector<std::pair<std::string, std::string>> inputs;
    if (!sourcesKnown) {
        inputs.push_back({in_.scriptPath, "the install script"});
        inputs.push_back({in_.stub, "the setup stub"});
    } else {
        for (size_t i = 0; i < sources_.size(); ++i)
            if (!sources_[i].empty()) inputs.push_back({sources_[i], plan_.entries[i].origin});
    }
    for (const auto& input : inputs) {
        if (SameFile(in_.output, input.first)) {
            Fail("the package " + in_.output + " would replace " + input.first + " (" +
                 input.second + ")");
            return false;
        }
    }
    return true;
}

// The checks of `tarnvale lint`; they also find the package's files. A
// missing file fails even with --force: there is nothing to store for it.
bool PackageBuild::CheckScript() {
    LintResult lint = LintPackage(script_, in_.filesDir, in_.filesGiven, in_.uninstaller);
    if (!lint.suppliedUninstaller.empty())
        std::printf("[UNINSTALL] NAME \"%s\" is not in %s: storing the Tarnvale uninstaller %s\n",
                    lint.plan.entries[lint.plan.uninstaller].name.c_str(),
                    in_.filesDir.c_str(), lint.suppliedUninstaller.c_str());
    if (in_.werror) MakeWarningsErrors(&lint.diagnostics);
    plan_ = lint.plan;
    sources_ = lint.sources;
    sizes_.assign(plan_.entries.size(), 0);
    bool found = true;
    for (size_t i = 0; i < plan_.entries.size(); ++i) {
        if (plan_.entries[i].kind == EntryKind::kScript)
            sizes_[i] = script_.size();
        else if (sources_[i].empty())
            found = false;
        else
            sizes_[i] = static_cast<uint64_t>(RegularFileSize(sources_[i]));
    }
    const bool ok = found && !plan_.entries.empty() && !plan_.HasErrors() &&
                    (in_.force || lint.Count(true) == 0);
    if (!lint.diagnostics.empty())
        PrintDiagnostics(in_.scriptPath, lint.diagnostics,
                         ok ? "" : "; no package written");
    return ok;
}

bool PackageBuild::PrepareScript() {
    totals_ = ComputeSizeTotals(plan_, sizes_);
    const uint64_t size = totals_.Larger();
    if (size > static_cast<uint64_t>(INT32_MAX)) {
        Fail("the install would decode " + std::to_string(size) +
             " bytes; [INFO] SIZE holds at most 2147483647");
        return false;
    }
    packagedScript_ = script_;
    const SizeSetting& old = plan_.size;
    if (old.present && old.value == static_cast<int64_t>(size)) return true;
    std::string error;
    if (!SetInfoSize(script_, size, &packagedScript_, &error)) {
        Fail(in_.scriptPath + ": " + error);
        return false;
    }
    if (old.present)
        std::printf("[INFO] SIZE (line %d) was \"%s\", now %llu\n", old.line, old.text.c_str(),
                    static_cast<unsigned long long>(size));
    else
        std::printf("[INFO] SIZE was missing, now %llu (added)\n",
                    static_cast<unsigned long long>(size));
    return true;
}

bool PackageBuild::AddCompressed(SfxWriter* writer, LzssEncoder* encoder, const std::string& streamPath,
                                 size_t index, std::string* error) {
    std::FILE* out = std::fopen(streamPath.c_str(), "wb");
    if (!out) {
        *error = "cannot write " + streamPath + ": " + std::strerror(errno);
        return false;
    }
    uint64_t written = 0;
    bool ok = EncodeFileTo(encoder, sources_[index], sizes_[index], out, &written, error);
    if (std::fclose(out) != 0 && ok) {
        *error = "cannot write " + streamPath;
        ok = false;
    }
    return ok && writer->AddFile(plan_.entries[index].name, streamPath, error);
}

bool PackageBuild::WritePackage() {
    std::string error;
    TempFile package, stream;
    if (!package.Create(in_.output, "part", &error) || !stream.Create(in_.output, "lzss", &error)) {
        Fail(error);
        return false;
    }
    std::unique_ptr<LzssEncoder> encoder(new LzssEncoder());
    SfxWriter writer;
    writer.SetChecksums(in_.checksums);
    bool ok = writer.Begin(package.Path(), in_.stub, &error);
    for (size_t i = 0; ok && i < plan_.entries.size(); ++i) {
        const PlanEntry& e = plan_.entries[i];
        if (e.kind == EntryKind::kScript) {
            ok = writer.AddBytes(e.name, reinterpret_cast<const uint8_t*>(packagedScript_.data()),
                                 packagedScript_.size(), &error);
        } else if (e.kind == EntryKind::kLicence) {
            ok = writer.AddFile(e.name, sources_[i], &error);
        } else {
            ok = AddCompressed(&writer, encoder.get(), stream.Path(), i, &error);
        }
        if (!ok && e.kind != EntryKind::kScript)
            error = e.origin + " (line " + std::to_string(e.line) + "): \"" + e.name + "\": " + error;
    }
    if (ok) {
        records_ = writer.Records();
        ok = writer.Finish(&error);
    }
    if (ok) ok = package.Commit(in_.output, &error);
    if (!ok) Fail(error);
    return ok;
}

void PackageBuild::PrintSummary() const {
    uint64_t rawCount = 0, rawBytes = 0, packCount = 0, packIn = 0, packOut = 0;
    for (size_t i = 0; i < plan_.entries.size(); ++i) {
        uint64_t out = static_cast<uint64_t>(records_[i].size);
        if (plan_.entries[i].kind == EntryKind::kCompressed) {
            ++packCount;
            packIn += sizes_[i];
            packOut += out;
        } else {
            ++rawCount;
            rawBytes += out;
        }
    }
    std::printf("built %s: %zu entries, %lld bytes (stub %lld)\n", in_.output.c_str(),
                plan_.entries.size(), static_cast<long long>(RegularFileSize(in_.output)),
                static_cast<long long>(stubSize_));
    std::printf("  stored as is: %llu entries, %llu bytes\n",
                static_cast<unsigned long long>(rawCount), static_cast<unsigned long long>(rawBytes));
    std::printf("  compressed:   %llu entries, %llu -> %llu bytes (%s)\n",
                static_cast<unsigned long long>(packCount), static_cast<unsigned long long>(packIn),
                static_cast<unsigned long long>(packOut), Percent(packOut, packIn).c_str());
    std::printf("  SIZE:         %llu bytes decoded by the install (NT family %llu, 95 family %llu)\n",
                static_cast<unsigned long long>(totals_.Larger()),
                static_cast<unsigned long long>(totals_.nt),
                static_cast<unsigned long long>(totals_.win95));
}

int PackageBuild::Run() {
    std::string error;
    if (!CheckOutput(false)) return kExitFailed;
    if (!ReadWholeFile(in_.scriptPath, &script_, &error)) {
        Fail(error);
        return kExitFailed;
    }
    bool ok = CheckScript();
    if (ok && !CheckOutput(true)) return kExitFailed;
    stubSize_ = RegularFileSize(in_.stub);
    const PeLayout stub = ReadPeHeaders(in_.stub);
    std::string problem = StubProblem(stub);
    if (problem.empty() && stub.tableSize != 0) problem = "is signed: sign the finished package instead";
    if (problem.empty() && stub.imageEnd > stubSize_) problem = "is cut short: its sections reach past its end";
    if (stubSize_ < 0) {
        Fail("no setup stub at " + in_.stub + " (build the Windows side, or pass --stub)");
        ok = false;
    } else if (!problem.empty()) {
        Fail("the setup stub " + in_.stub + " " + problem);
        ok = false;
    }
    if (!ok || !PrepareScript() || !WritePackage()) return kExitFailed;
    PrintSummary();
    return kExitOk;
}

}  // namespace

int RunBuild(int argc, char** argv, int first) {
    ParsedArgs args;
    std::string error;
    if (!ParseArgs(argc, argv, first, {"-o", "--output", "--files", "--stub", "--uninstaller"},
                   {"--werror", "--force", "--no-checksums"}, &args, &error))
        return UsageError("build", error);
    if (args.help) {
        std::printf("%s%s", kBuildHelp, kExitCodeHelp);
        return kExitOk;
    }
    if (args.positional.size() != 1) return UsageError("build", "expected exactly one SCRIPT");
    if (args.values.count("-o") + args.values.count("--output") != 1)
        return UsageError("build", "expected one -o SETUP.EXE");
    BuildInputs in;
    in.scriptPath = args.positional[0];
    in.output = args.values.count("-o") ? args.values["-o"] : args.values["--output"];
    if (in.output.empty()) return UsageError("build", "the -o SETUP.EXE name is empty");
    in.filesGiven = args.values.count("--files") > 0;
    in.filesDir = in.filesGiven ? args.values["--files"] : DirName(in.scriptPath);
    in.werror = args.flags.count("--werror") > 0;
    in.force = args.flags.count("--force") > 0;
    in.checksums = args.flags.count("--no-checksums") == 0;
    in.stub = args.values.count("--stub") ? args.values["--stub"]
                                          : JoinPath(ExecutableDir(), "tarnvale-stub.exe");
    in.uninstaller = args.values.count("--uninstaller") ? args.values["--uninstaller"]
                                                        : DefaultUninstaller();
    return PackageBuild(in).Run();
}
