#include "tools/tarnvale/lint_report.h"

#include <cstdio>

namespace {

std::string Counted(int n, const char* what) {
    return std::to_string(n) + " " + what + (n == 1 ? "" : "s");
}

// Length of the UTF-8 sequence at `at`, or 0 when it is not one.
size_t Utf8Length(const std::string& text, size_t at) {
    const unsigned char c = static_cast<unsigned char>(text[at]);
    const size_t length = c >= 0xF0 ? (c <= 0xF4 ? 4 : 0) : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
    if (length == 0 || at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) return 0;
    return length;
}

}  // namespace

void MakeWarningsErrors(std::vector<LintDiagnostic>* list) {
    for (LintDiagnostic& d : *list) d.error = true;
}

std::string CountText(const std::vector<LintDiagnostic>& list) {
    int errors = 0;
    for (const LintDiagnostic& d : list) errors += d.error ? 1 : 0;
    return Counted(errors, "error") + ", " + Counted(static_cast<int>(list.size()) - errors, "warning");
}

void PrintDiagnostics(const std::string& file, const std::vector<LintDiagnostic>& list,
                      const std::string& outcome) {
    for (const LintDiagnostic& d : list)
        std::fprintf(stderr, "%s:%d:%d: %s: %s\n", file.c_str(), d.line, d.column,
                     d.error ? "error" : "warning", d.text.c_str());
    std::fprintf(stderr, "%s: %s%s\n", file.c_str(), CountText(list).c_str(), outcome.c_str());
}

std::string DiagnosticsJson(const std::string& file, const std::vector<LintDiagnostic>& list) {
    std::string json = "[";
    for (size_t i = 0; i < list.size(); ++i) {
        const LintDiagnostic& d = list[i];
        json += std::string(i ? ",\n " : "\n ") + "{\"file\": " + JsonString(file) +
                ", \"line\": " + std::to_string(d.line) + ", \"column\": " + std::to_string(d.column) +
                ", \"severity\": \"" + (d.error ? "error" : "warning") + "\", \"text\": " +
                JsonString(d.text) + "}";
    }
    return json + (list.empty() ? "]\n" : "\n]\n");
}

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t sequence = c >= 0x80 ? Utf8Length(text, i) : 1;
        char escaped[8];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || (c >= 0x80 && sequence == 0)) {
            std::snprintf(escaped, sizeof(escaped), "\\u%04x", c);
            out += escaped;
        } else {
            out.append(text, i, sequence);
            i += sequence - 1;
        }
    }
    return out + "\"";
}
