// The system helpers against the real registry, windows and files, under
// Wine. Every case works in keys and folders of its own.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "system/system_helpers.h"

namespace {

const char kTestKey[] = "SOFTWARE\\Tarnvale Tests";

void DeleteTestKey() { RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestKey); }

std::string Take(char* text) {
    std::string copy = text ? "[" + std::string(text) + "]" : "null";
    free(text);
    return copy;
}

struct StoredValue {
    const char* name;
    DWORD type;
    std::string bytes;     // stored exactly, terminator included where wanted
    const char* expected;  // "[text]" or "null"
};

std::string Text(size_t length, char c, bool terminated) {
    std::string text(length, c);
    if (terminated) text.push_back('\0');
    return text;
}

TEST(QueryRegString, ReadsAtMost260Bytes) {
    DeleteTestKey();
    const std::string t259 = "[" + std::string(259, 's') + "]";
    const std::string b260 = "[" + std::string(260, 'b') + "]";
    const StoredValue kRows[] = {
        {"plain", REG_SZ, std::string("C:\\Apps", 8), "[C:\\Apps]"},
        {"260 bytes with terminator", REG_SZ, Text(259, 's', true), t259.c_str()},
        {"261 bytes with terminator", REG_SZ, Text(260, 's', true), "null"},
        {"260 bytes without terminator", REG_BINARY, Text(260, 'b', false), b260.c_str()},
        {"261 bytes without terminator", REG_BINARY, Text(261, 'b', false), "null"},
        // 5
        {"empty", REG_SZ, std::string("", 1), "[]"},
        {"type not tested", REG_DWORD, std::string("ABC\0", 4), "[ABC]"},
        {"no bytes at all", REG_BINARY, std::string(), "[]"},
    };
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTestKey, 0, NULL, 0,
                                             KEY_ALL_ACCESS, NULL, &key, NULL));
    for (const StoredValue& row : kRows)
        ASSERT_EQ(ERROR_SUCCESS,
                  RegSetValueExA(key, row.name, 0, row.type, (const BYTE*)row.bytes.data(),
                                 (DWORD)row.bytes.size()))
            << row.name;
    RegCloseKey(key);

    for (const StoredValue& row : kRows)
        EXPECT_EQ(row.expected, Take(QueryRegString(HKEY_LOCAL_MACHINE, kTestKey, row.name)))
            << row.name;
    EXPECT_EQ("null", Take(QueryRegString(HKEY_LOCAL_MACHINE, kTestKey, "missing value")));
    EXPECT_EQ("null", Take(QueryRegString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Tarnvale Missing", "x")));
    DeleteTestKey();
}

struct Written {
    DWORD type;
    std::string bytes;
};

Written ReadBack(const char* subkey, const char* name) {
    Written value = {0, std::string(600, '\x7f')};
    DWORD size = (DWORD)value.bytes.size();
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    if (RegQueryValueExA(key, name, NULL, &value.type, (BYTE*)&value.bytes[0], &size) !=
        ERROR_SUCCESS)
        size = 0;
    RegCloseKey(key);
    value.bytes.resize(size);
    return value;
}

TEST(SetRegString, StoresTheTerminator) {
    DeleteTestKey();
    const std::string nested = std::string(kTestKey) + "\\New\\Deeper";
    struct Row {
        const char* name;
        std::string subkey;
        const char* value;
        std::string text;
    } rows[] = {
        {"empty text", kTestKey, "Path", ""},
        {"plain text", kTestKey, "Version", "1.2"},
        {"overwrites", kTestKey, "Path", "C:\\Program Files\\My Product"},
        {"creates the parents", nested, "Path", "x"},
        {"259 characters", kTestKey, "Long", std::string(259, 'l')},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(1,
                  SetRegString(HKEY_LOCAL_MACHINE, row.subkey.c_str(), row.value, row.text.c_str()))
            << row.name;
        Written back = ReadBack(row.subkey.c_str(), row.value);
        EXPECT_EQ((DWORD)REG_SZ, back.type) << row.name;
        EXPECT_EQ(row.text + '\0', back.bytes) << row.name << ": size " << back.bytes.size();
    }

    // The keys it created have the empty class.
    for (const std::string& subkey : {std::string(kTestKey), nested}) {
        HKEY key;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_READ, &key));
        char className[64] = "sentinel";
        DWORD classLength = sizeof(className);
        EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(key, className, &classLength, NULL, NULL, NULL,
                                                  NULL, NULL, NULL, NULL, NULL, NULL));
        EXPECT_EQ(0u, classLength) << subkey;
        EXPECT_STREQ("", className) << subkey;
        RegCloseKey(key);
    }

    EXPECT_EQ(0, SetRegString(reinterpret_cast<HKEY>(0x1234), "SOFTWARE", "Path", "x"));
    DeleteTestKey();
}

TEST(DetectPlatform, NtFamilyWithoutMessage) {
    // A message box would keep the call from returning.
    EXPECT_EQ(1, DetectPlatform());
}

struct CentreRow {
    int screenWidth, screenHeight, width, height;
    LONG x, y;
};

TEST(CenteredPosition, Table) {
    const CentreRow kRows[] = {
        {1024, 768, 300, 200, 362, 284},
        {1024, 768, 1024, 768, 0, 0},
        {1024, 768, 1100, 900, -38, -66},
        {800, 600, 301, 201, 249, 199},
    };
    for (const CentreRow& row : kRows) {
        POINT at = CenteredPosition(row.screenWidth, row.screenHeight, row.width, row.height);
        EXPECT_EQ(row.x, at.x) << row.width << "x" << row.height << " on " << row.screenWidth;
        EXPECT_EQ(row.y, at.y) << row.width << "x" << row.height << " on " << row.screenWidth;
    }
}

TEST(CenterOnScreen, MovesShowsAndKeepsTheSize) {
    ASSERT_EQ(1024, GetSystemMetrics(SM_CXSCREEN)) << "the harness runs a 1024x768 screen";
    ASSERT_EQ(768, GetSystemMetrics(SM_CYSCREEN));
    HWND window = CreateWindowExA(0, "STATIC", "centre me", WS_POPUP, 5, 7, 300, 200, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
    ASSERT_TRUE(window != NULL);
    ASSERT_FALSE(IsWindowVisible(window));
    CenterOnScreen(window);
    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(362, frame.left);
    EXPECT_EQ(284, frame.top);
    EXPECT_EQ(300, frame.right - frame.left);
    EXPECT_EQ(200, frame.bottom - frame.top);
    EXPECT_TRUE(IsWindowVisible(window));
    DestroyWindow(window);
}

std::string FileText(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    char buffer[256];
    DWORD read = 0;
    ReadFile(file, buffer, sizeof(buffer), &read, NULL);
    CloseHandle(file);
    return std::string(buffer, read);
}

void WriteText(const char* path, const std::string& text) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
    DWORD written = 0;
    WriteFile(file, text.data(), (DWORD)text.size(), &written, NULL);
    CloseHandle(file);
}

TEST(CopyFileOver, ReplacesAnExistingTarget) {
    CreateDirectoryA("C:\\copy-test", NULL);
    WriteText("C:\\copy-test\\install.ini", "[INSTALL PROJECT]\r\nNAME=New\r\n");
    WriteText("C:\\copy-test\\Install-old.ini", "an earlier, longer copy of the script text");
    EXPECT_NE(0, CopyFileOver("C:\\copy-test\\install.ini", "C:\\copy-test\\Install-old.ini"));
    EXPECT_EQ("[INSTALL PROJECT]\r\nNAME=New\r\n", FileText("C:\\copy-test\\Install-old.ini"));
    EXPECT_NE(0, CopyFileOver("C:\\copy-test\\install.ini", "C:\\copy-test\\fresh.ini"));
    EXPECT_EQ("[INSTALL PROJECT]\r\nNAME=New\r\n", FileText("C:\\copy-test\\fresh.ini"));
    EXPECT_EQ(0, CopyFileOver("C:\\copy-test\\missing.ini", "C:\\copy-test\\fresh.ini"));
    EXPECT_EQ("[INSTALL PROJECT]\r\nNAME=New\r\n", FileText("C:\\copy-test\\fresh.ini"));
}

}  // namespace
