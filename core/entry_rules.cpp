// The rules of the entry-line fields, and the paths a line forms.
#include "core/entry_rules.h"

#include <string.h>

namespace {

const char kFlagProgramGroup[] = "*PG*";
const char kFlagDesktop[] = "*DT*";

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
    const char* programGroup = strstr(field, kFlagProgramGroup);
    const char* desktop = strstr(field, kFlagDesktop);
    int flags = 0;
    if (programGroup) flags |= ShortcutFlagProgramGroup;
    if (desktop) flags |= ShortcutFlagDesktop;

    const char* end = field + strlen(field);
    if (flags) {
        const char* colon = strchr(field, ':');
        if (colon) {
            end = colon;
        } else {
            end = programGroup ? programGroup : desktop;
            if (desktop && desktop < end) end = desktop;
        }
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
    const char* rest = field + kRunOnceTagLength + 1;   // position 10 on
    const size_t restLength = length - kRunOnceTagLength - 1;
    if (mark == '#') {
        const char* percent = strchr(rest, '%');
        const size_t argsLength = percent ? (size_t)(percent - rest) : restLength;
        if (!PutText(request->Args, sizeof(request->Args), rest, argsLength))
            return kRunOnceNone;
        return request->Kind = kRunOnceArgs;
    }
    if (mark == '@') {
        const char* ampersand = strchr(rest, '&');
        const size_t macroLength = ampersand ? (size_t)(ampersand - rest) : restLength;
        const char* file = ampersand ? ampersand + 1 : rest + restLength;
        if (!PutText(request->Macro, sizeof(request->Macro), rest, macroLength) ||
            !PutText(request->FileName, sizeof(request->FileName), file, strlen(file))) {
            request->Macro[0] = '\0';
            request->FileName[0] = '\0';
            return kRunOnceNone;
        }
        return request->Kind = kRunOnceMacroFile;
    }
    return kRunOnceNone;
}

int EntryExportName(const char* entryPoints, char* name, size_t size) {
    if (size == 0) return 0;
    name[0] = '\0';
    const char* slash = strchr(entryPoints, '/');
    if (slash == NULL || slash == entryPoints) return 0;
    return PutText(name, size, entryPoints, (size_t)(slash - entryPoints));
}

int MatchesOsFilter(const char* filter, int isWinNT) {
    if (filter[0] == '\0') return 1;
    if (strcmp(filter, "WIN-NT") == 0) return isWinNT == 1;
    if (strcmp(filter, "WIN-95") == 0) return isWinNT == 0;
    return 0;
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
