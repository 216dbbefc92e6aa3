// The install log: what a cut or damaged log yields, the order records are
// undone in, and records written then read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/install_log.h"

namespace {

const std::string kHead = std::string(kInstallLogHeader) + "\r\n";

// Each visited record as "kind|path|second|third".
void Collect(void* context, const InstallLogRecord& r) {
    static_cast<std::vector<std::string>*>(context)->push_back(
        std::to_string(r.kind) + "|" + r.path + "|" + r.second + "|" + r.third);
}

TEST(InstallLog, ReadsWholeLinesBackwards) {
    const struct { const char* row; std::string text; int count; std::vector<std::string> visited; } rows[] = {
        {"every kind, newest first",
         kHead + "dir\tC:\\A\r\nfile\tC:\\A\\a.exe\r\nreplaced\tC:\\W\\w.ini\t1\r\n"
                 "value\tHKLM\tSOFTWARE\\R\tApp\r\nplugin\tC:\\A\\p.exe\r\nentry\tC:\\A\\l.dll\tOff\r\n"
                 "program\tC:\\A\\o.exe\r\n",
         7,
         {"6|C:\\A\\o.exe||", "5|C:\\A\\l.dll|Off|", "4|C:\\A\\p.exe||", "3|HKLM|SOFTWARE\\R|App",
          "2|C:\\W\\w.ini|1|", "1|C:\\A\\a.exe||", "0|C:\\A||"}},
        {"LF line ends", std::string(kInstallLogHeader) + "\ndir\tC:\\A\nfile\tC:\\A\\b\n", 2,
         {"1|C:\\A\\b||", "0|C:\\A||"}},
        {"a last line cut short is no record", kHead + "dir\tC:\\A\r\nfile\tC:\\A\\par", 1, {"0|C:\\A||"}},
        {"the header alone", kHead, 0, {}},
        {"no header", "dir\tC:\\A\r\n", -1, {}},
        {"a header cut short", std::string(kInstallLogHeader), -1, {}},
        {"an unknown kind", kHead + "dir\tC:\\A\r\nfolder\tC:\\B\r\n", -1, {}},
        {"a field missing", kHead + "replaced\tC:\\W\\w.ini\r\n", -1, {}},
        {"a field too many", kHead + "file\tC:\\a\tC:\\b\r\n", -1, {}},
        {"an empty field", kHead + "value\tHKLM\t\tApp\r\n", -1, {}},
        {"a field too long", kHead + "file\t" + std::string(kLogTextSize, 'x') + "\r\n", -1, {}},
        {"an empty line", kHead + "dir\tC:\\A\r\n\r\n", -1, {}},
    };
    for (const auto& row : rows) {
        std::vector<std::string> visited;
        EXPECT_EQ(row.count, ReadInstallLog(row.text.data(), row.text.size(), Collect, &visited)) << row.row;
        EXPECT_EQ(row.visited, visited) << row.row;
    }
}

TEST(InstallLog, RecordsReadBackAsWritten) {
    const struct { InstallLogRecord record; bool written; } rows[] = {
        {{kLogValue, "HKLM", "SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN", "My App"}, true},
        {{kLogReplaced, "C:\\Program Files\\x.dll", "12", ""}, true},
        {{kLogFile, "C:\\a\tb", "", ""}, false},     // a tab would split the field
        {{kLogDir, "C:\\a\r\nfile\tC:\\b", "", ""}, false},  // and a line end the record
    };
    for (const auto& row : rows) {
        char line[kLogLineSize];
        ASSERT_EQ(row.written, FormatLogRecord(row.record, line, sizeof(line)) == 1) << row.record.path;
        if (!row.written) {
            EXPECT_STREQ("", line);
            continue;
        }
        const std::string text = kHead + line;
        std::vector<std::string> visited;
        ASSERT_EQ(1, ReadInstallLog(text.data(), text.size(), Collect, &visited)) << line;
        const InstallLogRecord& r = row.record;
        EXPECT_EQ(std::to_string(r.kind) + "|" + r.path + "|" + r.second + "|" + r.third, visited[0]);
    }
}

}  // namespace
