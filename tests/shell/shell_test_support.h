// Helpers of the shell integration tests under Wine.
#ifndef TARNVALE_TESTS_SHELL_TEST_SUPPORT_H
#define TARNVALE_TESTS_SHELL_TEST_SUPPORT_H

#include <windows.h>

#include <string>

// The folder of the running test program, without a trailing backslash.
std::string ProgramFolder();

// The whole text of `path`, or "<missing>" when it does not exist.
std::string ReadText(const std::string& path);

// Polls for `path` up to `seconds`; returns its text or "<missing>".
std::string WaitForText(const std::string& path, int seconds);

// What a call showed in a message box, if anything.
struct ShownBox {
    bool shown;
    std::string text;  // control 0xFFFF of the box
};

// Runs `call` on a thread of its own. When a dialog with `caption` appears
// before the thread ends, reads its text and presses OK. Waits at most
// `seconds` for each stage.
ShownBox RunAndAnswer(void (*call)(void*), void* context, const char* caption, int seconds);

#endif
