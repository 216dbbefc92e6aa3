// How diagnostics are shown: "FILE:LINE:COL: error: TEXT" (or "warning")
// on stderr followed by a line with the counts, or, for --json, one array
// of {file, line, column, severity, text} on stdout.
#ifndef TARNVALE_TOOLS_LINT_REPORT_H
#define TARNVALE_TOOLS_LINT_REPORT_H

#include <string>
#include <vector>

#include "tools/tarnvale/script_lint.h"

// --werror: every warning becomes an error.
void MakeWarningsErrors(std::vector<LintDiagnostic>* list);

// "2 errors, 1 warning".
std::string CountText(const std::vector<LintDiagnostic>& list);

// Prints each diagnostic of `file` to stderr in the FILE:LINE:COL form,
// then "FILE: <counts>" and `outcome` (may be empty) on one line.
void PrintDiagnostics(const std::string& file, const std::vector<LintDiagnostic>& list,
                      const std::string& outcome);

// The diagnostics as a JSON array, one object to a line.
std::string DiagnosticsJson(const std::string& file, const std::vector<LintDiagnostic>& list);

// `text` as a JSON string, quotes included. Bytes that are not UTF-8 (a
// script in an ANSI code page) are written as the code points of the same
// value, as Latin-1 would read them.
std::string JsonString(const std::string& text);

#endif
