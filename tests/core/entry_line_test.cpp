// Entry line split: field positions, the last field, refused lines.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/entry_line.h"

namespace {

struct EntryRow {
    const char* name;
    std::string text;
    int hasBaseDir;
    int result;
    // BaseDir, SubDir, FileName, ShortcutSpec, StartupMode, PluginMark,
    // OsFilter, RunOnceSpec, EntryPoints
    const char* fields[9];
};

const std::string kLong19(19, 'M');
const std::string kLong259(259, 'p');

const EntryRow kRows[] = {
    {"shortcuts and menu", "*Default directory,,app.exe,My Product:*PG**DT*,Menu,,,,", 1, 1,
     {"*Default directory", "", "app.exe", "My Product:*PG**DT*", "Menu", "", "", "", ""}},
    {"NT-only library", "*Default directory,Plugins,viewer.dll,,,,WIN-NT,,DllRegisterServer/DllUnregisterServer",
     1, 1, {"*Default directory", "Plugins", "viewer.dll", "", "", "", "WIN-NT", "", "DllRegisterServer/DllUnregisterServer"}},
    {"run once keeps its marks", "*Default directory,,agent.exe,,,,,RUN ONCE#-install%-remove,", 1, 1,
     {"*Default directory", "", "agent.exe", "", "", "", "", "RUN ONCE#-install%-remove", ""}},
    {"eight fields without base", ",tool.exe,Tool,Registry,,,,", 0, 1,
     {"", "", "tool.exe", "Tool", "Registry", "", "", "", ""}},
    // 5
    {"last field keeps commas", "d,s,f,,,,,,Start,Now/Stop,Now", 1, 1,
     {"d", "s", "f", "", "", "", "", "", "Start,Now/Stop,Now"}},
    {"nine fields read as eight", "a,b,c,d,e,f,g,h,i", 0, 1,
     {"", "a", "b", "c", "d", "e", "f", "g", "h,i"}},
    {"eight fields read as nine", "a,b,c,d,e,f,g,h", 1, 0, {}},
    {"one separator missing", "*Default directory,,app.exe,,,,,", 1, 0, {}},
    {"empty line", "", 0, 0, {}},
    // 10
    {"blanks and quotes stay", " d , \"s\" ,f ,,,PLUGIN ,,,", 1, 1,
     {" d ", " \"s\" ", "f ", "", "", "PLUGIN ", "", "", ""}},
    {"StartupMode of 19 fits", ",f,," + kLong19 + ",,,,", 0, 1,
     {"", "", "f", "", kLong19.c_str(), "", "", "", ""}},
    {"StartupMode of 20 refused", ",f,," + kLong19 + "M,,,,", 0, 0, {}},
    {"OsFilter of 20 refused", ",f,,,," + kLong19 + "N,,", 0, 0, {}},
    {"field of 259 fits", ",f,,,,,," + kLong259, 0, 1,
     {"", "", "f", "", "", "", "", "", kLong259.c_str()}},
    // 15
    {"field of 260 refused", ",f,,,,,," + kLong259 + "q", 0, 0, {}},
};

TEST(EntryLine, Split) {
    for (const EntryRow& row : kRows) {
        EntryLine entry;
        memset(&entry, 'X', sizeof(entry));  // stale contents must not survive
        int result = ParseEntryLine(row.text.c_str(), row.hasBaseDir, &entry);
        EXPECT_EQ(row.result, result) << row.name;
        const char* actual[9] = {entry.BaseDir, entry.SubDir, entry.FileName,
                                 entry.ShortcutSpec, entry.StartupMode, entry.PluginMark,
                                 entry.OsFilter, entry.RunOnceSpec, entry.EntryPoints};
        for (int i = 0; i < 9; ++i) {
            const char* expected = row.fields[i] ? row.fields[i] : "";
            EXPECT_STREQ(expected, actual[i]) << row.name << ", field " << i + 1;
        }
    }
}

}  // namespace
