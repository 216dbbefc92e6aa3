// Install plan: the steps in the install's order on each family, and the
// lines passed over. (tests/wine/engine_test compares plans with installs.)
#include <gtest/gtest.h>

#include <string>

#include "tools/tarnvale/install_plan.h"

namespace {

const char kScript[] =
    "[INSTALL PROJECT]\nNAME=P\nMAIN DIRECTORY=*Windows\nSUB DIRECTORY=\\P\nMINOR VERSION=5\n"
    "[NORMAL]\nFILES=3\n"
    "1=*Default directory,,a.exe,A:*PG*,Registry,PLUGIN,WIN-NT,RUN ONCE@*System&x.dll,Go/Stop\n"
    "2=*Default directory,,b.txt,,Menu,,,RUN ONCE#,\n[LW]\nFILES=1\n1=,l.txt,,,,,,\n[UNINSTALL]\nNAME=u.exe\n";

// Each step as its kind and what it makes; each passed-over line as its origin.
std::string Summary(const InstallPlan& plan) {
    std::string out;
    for (const PlanStep& s : plan.steps)
        out += s.kind + " " + s.Field("link") + s.Field("target") + s.Field("path") + s.Field("commandLine") +
               s.Field("export") + (s.Field("name").empty() ? "" : s.Field("name") + "=" + s.Field("data")) + "\n";
    for (const PlanSkip& s : plan.skipped) out += "skip " + s.origin + "\n";
    return out;
}

TEST(InstallPlan, StepsInTheInstallsOrder) {
    const std::string nt =
        "folder G:\\P\nfile W:\\P\\a.exe\nshortcut G:\\P\\A.lnkW:\\P\\a.exe\nrun value A=W:\\P\\a.exe\n"
        "file W:\\P\\b.txt\nshortcut S:\\b.txt.lnkW:\\P\\b.txt\n"
        "program W:\\P\\a.exe /regplugin\nprogram W:\\P\\a.exe W:\\S\\x.dll\nentry point Go\n"
        "program W:\\P\\b.txt \n";
    const std::string closing =
        "uninstaller W:\\P\\u.exe\nregistry value DisplayName=P\n"
        "registry value UninstallString=\"W:\\P\\u.exe\" W:\\P\nscript copy W:\\P\\Install.ini\n"
        "registry value Path=W:\\P\nregistry value Version=0.5\nskip [NORMAL] 3\n";
    for (bool family : {true, false}) {
        PlanOptions options;
        options.nt = family;
        for (const auto& folder : {std::make_pair("windows", "W:"), {"system", "W:\\S"}, {"programs", "G:"}, {"startup", "S:"}})
            ASSERT_TRUE(SetPlanFolder(&options.folders, folder.first, folder.second));
        EXPECT_EQ("install log W:\\P\\Install.log\n" +
                      (family ? nt : "folder G:\\P\nfile W:\\P\\b.txt\nshortcut S:\\b.txt.lnkW:\\P\\b.txt\n"
                                              "program W:\\P\\b.txt \n") +
                      closing + (family ? "" : "skip [NORMAL] 1\n") + "skip [LW] 1\n",
                  Summary(MakeInstallPlan(kScript, options)));
    }
}

}  // namespace
