// The rules of the entry-line fields, and the paths a line forms.
#include "core/entry_rules.h"

#include <string.h>

#include "core/bounded_text.h"

namespace {

// `first`, `separator` (0 for none) and `second` into `out`, which may be
// `first`; never more than a path's 260 bytes.
int Join(char* out, size_t size, const char* first, char separator, const char* second) {
    const char between[2] = {separator, '\0'};
    const size_t limit = kRulePathSize;
    return JoinText(out, size < limit ? size : limit, first, between, second);
}

}  // namespace

int ParseShortcutSpec(const char* field, char* name, size_t size) {
    int flags = 0;
    const char* firstFlag = NULL;
    for (int i = 0; i < kShortcutFlagCount; ++i) {
        const char* found = strstr(field, kShortcutFlags[i].text);
        if (found == NULL) continue;
        flags |= kShortcutFlags[i].flag;
        if (firstFlag == NULL || found < firstFlag) firstFlag = found;
    }

    const char* end = field + strlen(field);
    if (flags) {
        const char* colon = strchr(field, kShortcutNameEnd);
        end = colon ? colon : firstFlag;
    }
    if (!CopySpan(name, size, field, (size_t)(end - field))) return -1;
    return flags;
}

const char* StartupName(const char* shortcutName, const char* fileName) {
    return shortcutName[0] ? shortcutName : fileName;
}

RunOnceKind ParseRunOnceSpec(const char* field, RunOnceRequest* request) {
    request->Kind = kRunOnceNone;
    request->Args[0] = '\0';
    request->Macro[0] = '\0';
    request->FileName[0] = '\0';

    const size_t length = strlen(field);
    if (length < kRunOnceTagLength) return kRunOnceNone;
    if (length == kRunOnceTagLength) return request->Kind = kRunOnceNoArgs;

    const char mark = field[kRunOnceTagLength];         // position 9
    const RunOnceForm* form = NULL;
    for (int i = 0; i < kRunOnceFormCount; ++i)
        if (kRunOnceForms[i].mark == mark) form = &kRunOnceForms[i];
    if (form == NULL) return kRunOnceNone;

    // The first part runs from position 10 up to the form's end mark; the
    // second is the rest after that mark, empty without one.
    const char* first = field + kRunOnceTagLength + 1;
    const char* end = strchr(first, form->end);
    const size_t firstLength = end ? (size_t)(end - first) : strlen(first);
    const char* second = end ? end + 1 : first + firstLength;
    if (form->kind == kRunOnceArgs) {
        if (!CopySpan(request->Args, sizeof(request->Args), first, firstLength))
            return kRunOnceNone;
    } else if (!CopySpan(request->Macro, sizeof(request->Macro), first, firstLength) ||
               !CopySpan(request->FileName, sizeof(request->FileName), second, strlen(second))) {
        request->Macro[0] = '\0';
        request->FileName[0] = '\0';
        return kRunOnceNone;
    }
    return request->Kind = form->kind;
}

int EntryUninstallName(const char* entryPoints, char* name, size_t size) {
    if (size == 0) return 0;
    name[0] = '\0';
    const char* slash = strchr(entryPoints, kEntryPointSeparator);
    return slash != NULL && slash[1] != '\0' && CopyText(name, size, slash + 1);
}

int EntryExportName(const char* entryPoints, char* name, size_t size) {
    if (size == 0) return 0;
    name[0] = '\0';
    const char* slash = strchr(entryPoints, kEntryPointSeparator);
    if (slash == NULL || slash == entryPoints) return 0;
    return CopySpan(name, size, entryPoints, (size_t)(slash - entryPoints));
}

int ScriptDecimal(const char* text) {
    while (*text == ' ' || *text == '\t') ++text;
    int negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    // Magnitude limit: 2147483647, or 2147483648 for a negative value.
    const unsigned long long limit = negative ? 2147483648ull : 2147483647ull;
    unsigned long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (unsigned)(*text - '0');
        if (value > limit) value = limit;
    }
    return negative ? (int)(0ull - value) : (int)value;
}

int FormSectionDir(char* out, size_t size, const char* base, const char* subDir) {
    if (subDir[0] == '\0') return Join(out, size, base, 0, "");
    return Join(out, size, base, '\\', subDir);
}

int FormTargetPath(char* out, size_t size, const char* dir, const char* fileName) {
    return Join(out, size, dir, '\\', fileName);
}

int FormWorkDir(char* out, size_t size, const char* base, const char* subDir) {
    return Join(out, size, base, '\\', subDir);
}
