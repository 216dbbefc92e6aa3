// Entry line split into its fields, refused whole when a field does not fit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/entry_line.h"

namespace {

// Expected fields: BaseDir|SubDir|FileName|ShortcutSpec|StartupMode|
// PluginMark|OsFilter|RunOnceSpec|EntryPoints; all empty for a refused line.
struct EntryRow { const char* name; std::string text; int hasBaseDir, result; std::string fields; };

const std::string kNone = "||||||||";
const std::string k19(19, 'M'), k259(259, 'p');

const EntryRow kRows[] = {
    {"nine fields", "*Default directory,Plugins,v.dll,My:*PG*,Menu,PLUGIN,WIN-NT,RUN ONCE#-i%-r,A/B", 1, 1,
     "*Default directory|Plugins|v.dll|My:*PG*|Menu|PLUGIN|WIN-NT|RUN ONCE#-i%-r|A/B"},
    {"eight fields without base", ",tool.exe,Tool,Registry,,,,", 0, 1, "||tool.exe|Tool|Registry||||"},
    {"last field keeps commas", "d,s,f,,,,,,Start,Now/Stop,Now", 1, 1, "d|s|f||||||Start,Now/Stop,Now"},
    {"nine fields read as eight", "a,b,c,d,e,f,g,h,i", 0, 1, "|a|b|c|d|e|f|g|h,i"},
    /* 5 */ {"eight fields read as nine", "a,b,c,d,e,f,g,h", 1, 0, kNone},
    {"empty line", "", 0, 0, kNone},
    {"blanks and quotes stay", " d , \"s\" ,f ,,,PLUGIN ,,,", 1, 1, " d | \"s\" |f |||PLUGIN |||"},
    {"StartupMode of 19 fits", ",f,," + k19 + ",,,,", 0, 1, "||f||" + k19 + "||||"},
    {"StartupMode of 20 refused", ",f,," + k19 + "M,,,,", 0, 0, kNone},
    /* 10 */ {"OsFilter of 20 refused", ",f,,,," + k19 + "N,,", 0, 0, kNone},
    {"field of 259 fits", ",f,,,,,," + k259, 0, 1, "||f||||||" + k259},
    {"field of 260 refused", ",f,,,,,," + k259 + "q", 0, 0, kNone},
};

TEST(EntryLine, Split) {
    for (const EntryRow& row : kRows) {
        EntryLine entry;
        memset(&entry, 'X', sizeof(entry));  // stale contents must not survive
        EXPECT_EQ(row.result, ParseEntryLine(row.text.c_str(), row.hasBaseDir, &entry)) << row.name;
        const char* fields[] = {entry.BaseDir, entry.SubDir, entry.FileName,
                                entry.ShortcutSpec, entry.StartupMode, entry.PluginMark,
                                entry.OsFilter, entry.RunOnceSpec, entry.EntryPoints};
        std::string actual = fields[0];
        for (int i = 1; i < 9; ++i) actual += std::string("|") + fields[i];
        EXPECT_EQ(row.fields, actual) << row.name;
    }
}

}  // namespace
