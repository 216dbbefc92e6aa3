// Inside the install engine: the state of one worker run, the table of the
// four file sections and the preparation of a line that both passes share.
#ifndef TARNVALE_ENGINE_INSTALL_ENGINE_H
#define TARNVALE_ENGINE_INSTALL_ENGINE_H

#include <windows.h>

#include "core/entry_line.h"
#include "system/settings.h"

class LzssCodec;

// One worker run. Window handles are the installing page's controls and
// the frame's button 1; all are reached through messages only.
struct InstallRun {
    HWND page;
    HWND logList;     // list box 1016
    HWND overallBar;  // bar 1004, "Total:"
    HWND fileBar;     // bar 1005, "File:"
    HWND exitButton;  // button 1 of the page's parent
    LzssCodec* codec;
    char programGroupDir[kPathSize];  // ProgramGroupDir
};

enum SectionKind { kSectionNormal, kSectionWindows, kSectionSystem, kSectionLonWorks };

// One row of the section table.
struct SectionInfo {
    const char* name;
    SectionKind kind;
    int hasBaseDir;  // [NORMAL] lines have the BaseDir field
    int lineSize;    // line buffer: 80 for [SYSTEM] (79 characters), else 260
};

enum { kSectionCount = 4 };
// [NORMAL], [WINDOWS], [SYSTEM], [LW]: the order of both passes.
extern const SectionInfo kSections[kSectionCount];

// A line of a section as both passes see it.
struct PreparedLine {
    EntryLine entry;
    char sectionDir[kPathSize];  // SectionDir
    char targetPath[kPathSize];  // TargetPath
};

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

// The base of SectionDir and of the shortcuts' working directory: for
// [LW] the LonWorks path, read anew at each call. Returns 0 with `out`
// empty when there is none ([LW] without a LonWorks path).
int SectionBase(const SectionInfo& section, const EntryLine& entry, char* out, size_t size);

// SourcePath: WorkspaceDir + "\\" + `fileName`, with one backslash between
// them also when WorkspaceDir already ends in one. 0 when it does not fit.
int FormSourcePath(char* out, size_t size, const char* fileName);

// Adds `text` to `list` and scrolls it into view (sent: the text lives on
// the worker's stack).
void AppendToList(HWND list, const char* text);

// Adds `text` to the run's list box, as AppendToList does.
void AddLogLine(InstallRun* run, const char* text);
// Adds `before` `subject` `after` to the list box; nothing when the joined
// text would not fit a line.
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
