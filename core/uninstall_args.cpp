#include "core/uninstall_args.h"

#include <string.h>

#include "core/bounded_text.h"

namespace {

enum { kHexDigits = 16 };  // of a 64-bit value

int IsBlank(char c) { return c == ' ' || c == '\t'; }

const char* SkipBlanks(const char* at) {
    while (IsBlank(*at)) ++at;
    return at;
}

// "/S" or "/s" at `at`, followed by a blank or the end.
int IsSilentOption(const char* at) {
    return at[0] == '/' && (at[1] == 'S' || at[1] == 's') && (at[2] == '\0' || IsBlank(at[2]));
}

// The hexadecimal digits at `at` into `value`: their count, or 0 when there
// are none or more than a 64-bit value holds.
size_t ReadHex(const char* at, uint64_t* value) {
    *value = 0;
    size_t count = 0;
    for (;; ++count) {
        const char c = at[count];
        int digit = c >= '0' && c <= '9' ? c - '0'
                  : c >= 'a' && c <= 'f' ? c - 'a' + 10
                  : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) break;
        if (count == kHexDigits) return 0;
        *value = *value << 4 | (uint64_t)digit;
    }
    return count;
}

// "/~<pipe>,<process>" at `at`: the end of the option, or null when it is
// malformed.
const char* ReadCopyOption(const char* at, UninstallArgs* args) {
    uint64_t pipe = 0, process = 0;
    size_t length = ReadHex(at + 2, &pipe);
    if (length == 0 || at[2 + length] != ',') return NULL;
    const char* second = at + 3 + length;
    length = ReadHex(second, &process);
    if (length == 0 || !(second[length] == '\0' || IsBlank(second[length]))) return NULL;
    args->isCopy = 1;
    args->decisionPipe = pipe;
    args->launcher = process;
    return second + length;
}

void FormatHex(char out[kHexDigits + 1], uint64_t value) {
    char digits[kHexDigits];
    int count = 0;
    do {
        digits[count++] = "0123456789ABCDEF"[value & 15];
        value >>= 4;
    } while (value != 0);
    for (int i = 0; i < count; ++i) out[i] = digits[count - 1 - i];
    out[count] = '\0';
}

}  // namespace

int ParseUninstallArgs(const char* commandLine, UninstallArgs* args) {
    memset(args, 0, sizeof(*args));
    const char* at = commandLine;
    if (*at == '"') {
        const char* quote = strchr(at + 1, '"');
        at = quote != NULL ? quote + 1 : at + strlen(at);
    } else {
        while (*at != '\0' && !IsBlank(*at)) ++at;
    }
    for (;;) {
        at = SkipBlanks(at);
        if (IsSilentOption(at)) {
            args->silent = 1;
            at += 2;
        } else if (at[0] == '/' && at[1] == '~') {
            if ((at = ReadCopyOption(at, args)) == NULL) {
                args->isCopy = 0;
                return 0;
            }
        } else {
            break;
        }
    }

    const char* end = at + strlen(at);
    while (end > at && IsBlank(end[-1])) --end;
    if (end - at >= 2 && (end - at == 2 || IsBlank(end[-3])) && IsSilentOption(end - 2)) {
        args->silent = 1;
        for (end -= 2; end > at && IsBlank(end[-1]);) --end;
    }
    if (end - at >= 2 && at[0] == '"' && end[-1] == '"') ++at, --end;
    // "C:\x\" names C:\x; "C:\" stays the root.
    if (end - at > 3 && end[-1] == '\\') --end;
    return CopySpan(args->installDir, sizeof(args->installDir), at, (size_t)(end - at));
}

int FormatCopyCommandLine(char* out, size_t size, const char* program, uint64_t pipe,
                          uint64_t process, int silent, const char* installDir) {
    char pipeText[kHexDigits + 1], processText[kHexDigits + 1];
    FormatHex(pipeText, pipe);
    FormatHex(processText, process);
    const char* parts[] = {"\"", program, "\" /~", pipeText, ",", processText,
                           silent ? " /S " : " ", installDir};
    return JoinParts(out, size, parts, 8);
}
