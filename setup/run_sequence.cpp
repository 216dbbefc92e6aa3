#include "setup/run_sequence.h"

#include <stdlib.h>
#include <string.h>

#include "core/script_vocabulary.h"
#include "core/sfx_archive.h"
#include "resources/resource_ids.h"
#include "system/target_dirs_win32.h"
#include "ui/extraction_progress.h"
#include "core/run_text.h"
#include "system/settings.h"
#include "system/system_helpers.h"
#include "system/workspace.h"
#include "ui/ui.h"

namespace {

const char kExtractCaption[] = "Extracting ERROR";

// The colours of the backdrop: yellow at the top, blue at the bottom, red
// letters.
const COLORREF kBackdropTop = RGB(255, 255, 0);
const COLORREF kBackdropBottom = RGB(0, 0, 255);
const COLORREF kBackdropText = RGB(255, 0, 0);

// The message for a failed extraction, or null on SFX_OK.
const char* ExtractionFailureText(int result) {
    // Not a case of the switch: its table of texts would grow to 1011.
    if (result == SFX_ERR_DAMAGED) return "The installation package is damaged. Please obtain it again.";
    switch (result) {
    case SFX_OK:
        return NULL;
    case SFX_ERR_SIGNATURE:
    case SFX_ERR_EMPTY:
        return " - Invalid signal or Nothing to do -";
    default:
        return "- Unknown error -";
    }
}

// A directory of the platform; empty when it does not fit.
void ReadPlatformDir(UINT(WINAPI* call)(LPSTR, UINT), char* out) {
    UINT length = call(out, kPathSize);
    if (length == 0 || length >= kPathSize) out[0] = '\0';
}

// A text key of [INSTALL PROJECT] into one of the settings' buffers.
static_assert((int)kScriptTextSize <= (int)kPathSize, "a project text must fit the settings' buffers");
void ReadProjectText(const char* key, char* out) {
    GetPrivateProfileStringA(kProjectSection, key, "", out, kScriptTextSize, ScriptPath);
}

int ReadProjectInt(const char* key) {
    return (int)GetPrivateProfileIntA(kProjectSection, key, 0, ScriptPath);
}

// Steps 8 to 10: the preparing dialog and the extraction. Returns the
// extraction's result.
int ExtractPayload(SfxArchive* archive) {
    // Dialog 104 holds a progress bar: its class must exist first.
    RegisterDialogControls();

    HWND preparing = CreateDialogParamA(AppInstance, MAKEINTRESOURCEA(IDD_PREPARING),
                                        GetDesktopWindow(), PreparingDialogProc, 0);
    if (preparing != NULL) CenterOnScreen(preparing);
    // Every extracted file stays open until the workspace is removed.
    archive->heldFiles = WorkspaceFiles;
    return archive->ExtractAll(WorkspaceDir, ExtractionProgress,
                               reinterpret_cast<uintptr_t>(preparing), 0);
}

// Steps 19 and 20: "Path" and, when that was written, "Version" under the
// product key. A NAME too long for the key, or a version text too long for
// its 20 bytes, is not written at all.
void RecordProduct(char* productKey) {
    if (!FormatProductKey(productKey, kPathSize, ProjectName)) return;
    if (SetRegString(HKEY_LOCAL_MACHINE, productKey, "Path", InstallDir) != 1) return;
    char versionText[kVersionTextSize];
    if (FormatVersionText(versionText, sizeof(versionText), ReadProjectInt(kMajorVersionKey),
                          ReadProjectInt(kMinorVersionKey)))
        SetRegString(HKEY_LOCAL_MACHINE, productKey, "Version", versionText);
}

// The product key as this run found it, before step 14 cleared its "Path".
struct EarlierRecord {
    int keyExisted;
    char* path;  // heap copy, or null when there was no "Path"
};

EarlierRecord ReadEarlierRecord(const char* productKey) {
    EarlierRecord record = {0, NULL};
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, productKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return record;
    RegCloseKey(key);
    record.keyExisted = 1;
    record.path = QueryRegString(HKEY_LOCAL_MACHINE, productKey, "Path");
    return record;
}

// After a Cancel the product is not installed by this run: the key it
// created goes again, and a "Path" it cleared gets its earlier text back.
void RestoreEarlierRecord(const char* productKey, const EarlierRecord& record) {
    if (!record.keyExisted) {
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, productKey);
    } else if (record.path != NULL) {
        SetRegString(HKEY_LOCAL_MACHINE, productKey, "Path", record.path);
    } else {
        HKEY key;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, productKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
        RegDeleteValueA(key, "Path");
        RegCloseKey(key);
    }
}

}  // namespace

int RunSetup(SfxArchive* archive, const RunParts& parts) {
    AppInstance = GetModuleHandleA(NULL);
    IsWinNT = DetectPlatform();
    ReadPlatformDir(GetSystemDirectoryA, SystemDir);
    ReadPlatformDir(GetWindowsDirectoryA, WindowsDir);

    // Steps 4 to 7. A temporary path too long for the workspace's paths is
    // reported like an extraction that could not start.
    if (!PrepareWorkspace()) {
        ShowMessage(NULL, ExtractionFailureText(SFX_ERR_PATH), kExtractCaption, MB_OK);
        return 0;
    }

    int extracted = ExtractPayload(archive);
    const char* failure = ExtractionFailureText(extracted);
    if (failure != NULL) {
        // A preparing dialog still open stays. So does the workspace, unless
        // the package is damaged: then nothing of it may be left.
        if (extracted == SFX_ERR_DAMAGED) RemoveWorkspace();
        ShowMessage(NULL, failure, kExtractCaption, MB_OK);
        return 0;
    }

    ReadProjectText(kNameKey, ProjectName);
    ReadProjectText(kMainDirectoryKey, MainDirSetting);
    ReadProjectText(kSubDirectoryKey, SubDirSetting);
    char productKey[kPathSize];
    FormatProductKey(productKey, sizeof(productKey), ProjectName);

    UninstallPassword password;
    memset(&password, 0, sizeof(password));
    if (ReadProjectInt(kProtectionKey) != 0 && !parts.protect(productKey, &password))
        return 0;

    // InstallDir is still empty: this creates the key and clears "Path".
    EarlierRecord earlier = {1, NULL};
    if (productKey[0] != '\0') earlier = ReadEarlierRecord(productKey);
    if (productKey[0] != '\0') SetRegString(HKEY_LOCAL_MACHINE, productKey, "Path", InstallDir);
    ResolveDefaultInstallDir();

    HWND backdrop =
        CreateBackdropWindow(AppInstance, "", kBackdropTop, kBackdropBottom, kBackdropText);
    parts.wizard(backdrop);

    int rebootRequested = ReadProjectInt(kRebootKey) != 0;
    // A cancelled install was taken back: the product is not there, so
    // nothing records it. A Cancel after the install completed changes
    // nothing of it.
    const int installed = WasInstallCompleted();
    if (installed)
        RecordProduct(productKey);
    else if (productKey[0] != '\0')
        RestoreEarlierRecord(productKey, earlier);
    free(earlier.path);
    RemoveWorkspace();
    if (installed && password.newPassword[0] != '\0') parts.storePassword(productKey, &password);

    if (rebootRequested && !WasUserCancelled())
        DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_RESTART), backdrop, RestartDialogProc, 0);
    if (backdrop != NULL) SendMessageA(backdrop, WM_CLOSE, 0, 0);
    return 0;
}
