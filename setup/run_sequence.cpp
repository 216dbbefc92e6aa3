#include "setup/run_sequence.h"

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

    const char* failure = ExtractionFailureText(ExtractPayload(archive));
    if (failure != NULL) {
        // The workspace stays, and so does a preparing dialog still open.
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
    if (productKey[0] != '\0') SetRegString(HKEY_LOCAL_MACHINE, productKey, "Path", InstallDir);
    ResolveDefaultInstallDir();

    HWND backdrop =
        CreateBackdropWindow(AppInstance, "", kBackdropTop, kBackdropBottom, kBackdropText);
    parts.wizard(backdrop);

    int rebootRequested = ReadProjectInt(kRebootKey) != 0;
    RecordProduct(productKey);
    RemoveWorkspace();
    if (password.newPassword[0] != '\0') parts.storePassword(productKey, &password);

    if (rebootRequested && !WasUserCancelled())
        DialogBoxParamA(AppInstance, MAKEINTRESOURCEA(IDD_RESTART), backdrop, RestartDialogProc, 0);
    if (backdrop != NULL) SendMessageA(backdrop, WM_CLOSE, 0, 0);
    return 0;
}
