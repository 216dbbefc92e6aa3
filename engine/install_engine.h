// Inside the install engine: the state of one worker run, the table of the
// four file sections and the preparation of a line that both passes share.
#ifndef TARNVALE_ENGINE_INSTALL_ENGINE_H
#define TARNVALE_ENGINE_INSTALL_ENGINE_H

#include <windows.h>

#include "core/install_steps.h"
#include "core/script_vocabulary.h"
#include "system/settings.h"

class LzssDecoder;

// One worker run. The installing page is reached through the messages of
// install_messages.h only.
struct InstallRun {
    HWND page;
    LzssDecoder* decoder;  // reports its lines and bars to `page`
    char programGroupDir[kPathSize];  // ProgramGroupDir
};

// A file section: one of the first kFileSectionCount rows of the script's
// section table (kScriptSections, in the order of both passes), with its
// name, kind, BaseDir column and line buffer.
typedef ScriptSection SectionInfo;

// A line of a section as both passes see it: its fields, SectionDir and
// TargetPath (core/install_steps.h).
typedef LineSteps PreparedLine;

enum LineState {
    kLineSkipped = 0,  // empty, unparsable or for the other OS family: passed over in silence
    kLineReady = 1,
    kLineRefused = 2   // its directory is unknown or a path would not fit
};

// FILES of `section` (0 when missing).
int SectionFileCount(const SectionInfo& section);

// Reads line `number` of `section`, parses it, applies the OS filter and
// forms SectionDir and TargetPath. A refused line gets one list-box line
// naming the reason when `report` is set.
LineState PrepareLine(InstallRun* run, const SectionInfo& section, int number,
                      PreparedLine* line, int report);

// The folders of the running system that `section`'s lines go below: for
// [LW] the LonWorks path, read anew into `lonWorks` (kPathSize bytes) at
// each call.
void CurrentFolders(const SectionInfo& section, LineFolders* folders, char* lonWorks);

// SourcePath: WorkspaceDir + "\\" + `fileName`, with one backslash between
// them also when WorkspaceDir already ends in one. 0 when it does not fit.
int FormSourcePath(char* out, size_t size, const char* fileName);

// Adds `text` to the page's log (WM_INSTALL_LINE, posted after the bars
// and lines before it; `text` may go once this returns).
void AddLogLine(InstallRun* run, const char* text);
// Adds `before` `subject` `after` to the page's log; nothing when the
// joined text would not fit a line.
void AddLogLine3(InstallRun* run, const char* before, const char* subject, const char* after);

// 1 once the wizard was cancelled: the passes stop at the next line.
int InstallCancelled();

// What a pass does with one line that PrepareLine made ready.
typedef void (*LineAction)(InstallRun* run, const SectionInfo& section, PreparedLine* line);

// Runs `action` on every ready line of [NORMAL], [WINDOWS], [SYSTEM] and
// [LW], in section order and within a section in number order; refused
// lines are reported when `report` is set. Returns 0 when it stopped
// because the wizard was cancelled, else 1.
int ForEachLine(InstallRun* run, int report, LineAction action);

// The two passes (file_pass.cpp, activation_pass.cpp). Each returns 0
// when it stopped because the wizard was cancelled, else 1.
int RunFilePass(InstallRun* run);
int RunActivationPass(InstallRun* run);

#endif
