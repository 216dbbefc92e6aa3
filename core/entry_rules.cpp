// The rules of the entry-line fields, and the paths a line forms.
#include "core/entry_rules.h"

#include <string.h>

namespace {

// Copies text[0, length) into `out` of `size` bytes. Returns 0, with `out`
// empty when it has room for that, when the text does not fit.
int PutText(char* out, size_t size, const char* text, size_t length) {
    if (size == 0) return 0;
    if (length >= size) {
        out[0] = '\0';
        return 0;
    }
    memmove(out, text, length);
    out[length] = '\0';
    return 1;
}

// `first`, `separator` (0 for none) and `second` into `out`. `out` may be
// `first`.
int Join(char* out, size_t size, const char* first, char separator, const char* second) {
    if (size > kRulePathSize) size = kRulePathSize;
    if (size == 0) return 0;
    const size_t firstLength = strlen(first);
    const size_t separatorLength = separator ? 1 : 0;
    const size_t secondLength = strlen(second);
    if (firstLength >= size || separatorLength + secondLength >= size - firstLength) {
        out[0] = '\0';
        return 0;
    }
    memmove(out, first, firstLength);
    if (separator) out[firstLength] = separator;
    memcpy(out + firstLength + separatorLength, second, secondLength + 1);
    return 1;
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
        const char* colon = strchr(field, ':');
        end = colon ? colon : firstFlag;
    }
    if (!PutText(name, size, field, (size_t)(end - field))) return -1;
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
        if (!PutText(request->Args, sizeof(request->Args), first, firstLength))
            return kRunOnceNone;
    } else if (!PutText(request->Macro, sizeof(request->Macro), first, firstLength) ||
               !PutText(request->FileName, sizeof(request->FileName), second, strlen(second))) {
        request->Macro[0] = '\0';
        request->FileName[0] = '\0';
        return kRunOnceNone;
    }
    return request->Kind = form->kind;
}

int EntryExportName(const char* entryPoints, char* name, size_t size) {
    if (size == 0) return 0;
    name[0] = '\0';
    const char* slash = strchr(entryPoints, '/');
    if (slash == NULL || slash == entryPoints) return 0;
    return PutText(name, size, entryPoints, (size_t)(slash - entryPoints));
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
