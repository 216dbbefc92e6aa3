// tarnvale verify: checks a package the way the installer will use it.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/file_io.h"
#include "core/lzss_decoder.h"
#include "core/sfx_writer.h"
#include "tools/tarnvale/command_line.h"
#include "tools/tarnvale/commands.h"
#include "tools/tarnvale/lzss_files.h"
#include "tools/tarnvale/package_reader.h"

namespace {

const char kVerifyHelp[] =
    "Usage: tarnvale verify SETUP.EXE\n"
    "\n"
    "Checks a package:\n"
    "  - its stub is a Windows program for 32-bit x86 (PE32, i386); one for x86-64\n"
    "    (PE32+), as the tests build it, passes too, and the output names it;\n"
    "  - its directory is well formed (signature, count, names, offsets, sizes);\n"
    "  - the stub and every entry match the package's checksums, naming each one\n"
    "    that does not; a package without checksums (built before they existed,\n"
    "    or with --no-checksums) is said to be one, and only its structure is\n"
    "    checked;\n"
    "  - entries overlap neither each other nor the directory, and no two share\n"
    "    a name (ignoring case), since one would overwrite the other;\n"
    "  - it holds install.ini, the script reads without errors, and every file\n"
    "    the script names is present;\n"
    "  - every entry the script makes an LZSS stream decodes to the length in its\n"
    "    header within its own bytes (one trailing empty flag byte allowed).\n"
    "An [INFO] SIZE that differs from the bytes the install decodes is reported\n"
    "as a warning. Each problem is one line on stderr. An Authenticode signature\n"
    "is reported as present, not checked ('osslsigncode verify' checks it).\n"
    "\n";

class Verifier {
public:
    explicit Verifier(const PackageView& view) : view_(view), a_(*view.archive) {}
    int Run();

private:
    void Problem(const std::string& text) {
        std::fprintf(stderr, "%s: %s\n", view_.path.c_str(), text.c_str());
        ++problems_;
    }
    std::string EntryText(int i) const {
        return "entry " + std::to_string(i) + " \"" + a_.entries[i].name + "\"";
    }
    std::string ScriptAt(int line) const {
        return line > 0 ? "install.ini:" + std::to_string(line) : "install.ini";
    }
    void CheckStub();
    void CheckChecksums();
    void CheckLayout();
    void CheckNames();
    void CheckScript();
    void CheckStreams();

    const PackageView& view_;
    const SfxArchive& a_;
    int problems_ = 0;
    int streams_ = 0;
    std::vector<uint64_t> decoded_;  // per plan entry
};

std::string StubText(const SfxArchive& a) {
    return "the stub (bytes 0 to " + std::to_string(a.entries[0].offset - 1) + ")";
}

void Verifier::CheckStub() {
    std::string problem = StubProblem(view_.pe);
    if (!problem.empty()) {
        Problem(StubText(a_) + " " + problem);
    } else if (view_.pe.imageEnd > a_.entries[0].offset) {
        Problem(StubText(a_) + " is cut short: its sections reach byte " +
                std::to_string(view_.pe.imageEnd - 1));
    }
    std::printf("%s: stub: %d bytes, %s\n", view_.path.c_str(), a_.entries[0].offset,
                StubKind(view_.pe).c_str());
}

void Verifier::CheckChecksums() {
    const int manifest = a_.entryCount - 1;
    if (view_.checksums == Checksums::kNone) {
        std::printf("%s: no checksums: the package carries none, so only its structure is checked\n",
                    view_.path.c_str());
        return;
    }
    if (view_.checksums == Checksums::kDamaged) {
        Problem(EntryText(manifest) + ": the checksum manifest is damaged, so nothing is checked against it");
        return;
    }
    FileHandle file = FileOpenRead(view_.path.c_str());
    uint32_t crc = 0;
    int damaged = 0;
    if (!SfxImageChecksum(file, a_.entries[0].offset, &crc) || crc != a_.manifest[kSfxManifestHead - 1]) {
        Problem(StubText(a_) + " is damaged: its checksum does not match");
        ++damaged;
    }
    for (int i = 0; i < manifest; ++i) {
        if (!SfxEntryChecksum(file, a_.entries[i], &crc) || crc != a_.Expected(i)) {
            Problem(EntryText(i) + " is damaged: its checksum does not match");
            ++damaged;
        }
    }
    FileClose(file);
    if (damaged == 0)
        std::printf("%s: checksums: the stub and all %d entries match\n", view_.path.c_str(), manifest);
}

void Verifier::CheckLayout() {
    const int64_t dataEnd = a_.containerEnd - a_.trailerLength;
    std::vector<int> order;
    for (int i = 0; i < a_.entryCount; ++i) {
        const SfxEntry& e = a_.entries[i];
        if (static_cast<int64_t>(e.offset) + e.size > dataEnd)
            Problem(EntryText(i) + " runs into the directory");
        if (e.size > 0) order.push_back(i);
    }
    std::sort(order.begin(), order.end(), [this](int x, int y) {
        return a_.entries[x].offset != a_.entries[y].offset ? a_.entries[x].offset < a_.entries[y].offset
                                                            : x < y;
    });
    int reach = -1;  // entry whose data reaches furthest so far
    for (int i : order) {
        const SfxEntry& e = a_.entries[i];
        if (reach >= 0) {
            const SfxEntry& r = a_.entries[reach];
            if (static_cast<int64_t>(r.offset) + r.size > e.offset)
                Problem(EntryText(reach) + " and " + EntryText(i) + " overlap");
        }
        if (reach < 0 || static_cast<int64_t>(e.offset) + e.size >
                             static_cast<int64_t>(a_.entries[reach].offset) + a_.entries[reach].size)
            reach = i;
    }
}

void Verifier::CheckNames() {
    for (int i = 0; i < a_.entryCount; ++i) {
        std::string problem = SfxNameProblem(a_.entries[i].name);
        if (!problem.empty()) Problem(EntryText(i) + ": " + problem);
        if (view_.shadowedBy[i] >= 0)
            Problem(EntryText(i) + " has the name of " + EntryText(view_.shadowedBy[i]) +
                    ", which overwrites it");
    }
}

void Verifier::CheckScript() {
    if (view_.scriptIndex < 0) {
        Problem("the package holds no install.ini");
        return;
    }
    for (const Diagnostic& d : view_.plan.diagnostics) {
        if (d.error) Problem(ScriptAt(d.line) + ": " + d.text);
    }
    for (size_t p = 0; p < view_.plan.entries.size(); ++p) {
        const PlanEntry& e = view_.plan.entries[p];
        if (view_.entryOfPlan[p] < 0)
            Problem(ScriptAt(e.line) + ": " + e.origin + " names \"" + e.name +
                    "\", which the package lacks");
    }
}

void Verifier::CheckStreams() {
    decoded_.assign(view_.plan.entries.size(), 0);
    std::FILE* file = std::fopen(view_.path.c_str(), "rb");
    if (!file) {
        Problem("cannot open the file again");
        return;
    }
    std::unique_ptr<LzssDecoder> decoder(new LzssDecoder());
    for (int i = 0; i < a_.entryCount; ++i) {
        int p = view_.planOfEntry[i];
        if (p < 0 || view_.plan.entries[p].kind != EntryKind::kCompressed) continue;
        ++streams_;
        uint32_t length = 0;
        std::string problem;
        if (!CheckLzssStream(decoder.get(), file, a_.entries[i].offset, a_.entries[i].size, &length,
                             &problem))
            Problem(EntryText(i) + ": " + problem);
        decoded_[p] = length;
    }
    std::fclose(file);
}

int Verifier::Run() {
    CheckStub();
    CheckChecksums();
    if (view_.Signed())
        std::printf("%s: signed: a certificate table of %u bytes at offset %u, present but not "
                    "checked (osslsigncode verify checks it)\n",
                    view_.path.c_str(), view_.pe.tableSize, view_.pe.tableOffset);
    CheckLayout();
    CheckNames();
    CheckScript();
    CheckStreams();
    if (view_.scriptIndex >= 0) {
        SizeTotals totals = ComputeSizeTotals(view_.plan, decoded_);
        const SizeSetting& size = view_.plan.size;
        if (!size.present || size.value != static_cast<int64_t>(totals.Larger()))
            std::fprintf(stderr, "%s: warning: %s: [INFO] SIZE is %s; the install decodes %llu bytes\n",
                         view_.path.c_str(), ScriptAt(size.line).c_str(),
                         size.present ? ("\"" + size.text + "\"").c_str() : "missing",
                         static_cast<unsigned long long>(totals.Larger()));
    }
    if (problems_ > 0) {
        std::fprintf(stderr, "%s: %d problem%s\n", view_.path.c_str(), problems_,
                     problems_ == 1 ? "" : "s");
        return kExitFailed;
    }
    std::printf("%s: OK, %d entries, %d compressed streams decode whole\n", view_.path.c_str(),
                a_.entryCount, streams_);
    return kExitOk;
}

}  // namespace

int RunVerify(int argc, char** argv, int first) {
    PackageView view;
    int exitCode;
    if (!OpenPackageCommand(argc, argv, first, "verify", kVerifyHelp, &view, &exitCode))
        return exitCode;
    return Verifier(view).Run();
}
