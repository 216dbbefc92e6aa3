#include "core/password_rules.h"

#include <string.h>

#include "core/bounded_text.h"

namespace {

// Length of `text`, counting at most `limit` bytes.
size_t BoundedLength(const char* text, size_t limit) {
    size_t length = 0;
    while (length < limit && text[length] != '\0') ++length;
    return length;
}

}  // namespace

int32_t NameSum(const char* name) {
    int32_t sum = 0;
    for (const char* at = name; *at != '\0'; ++at) sum += (signed char)*at;
    return sum;
}

void InvertBytes(unsigned char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) bytes[i] = (unsigned char)(255 - bytes[i]);
}

void MakePasswordRecord(const char* password, unsigned char record[kPasswordRecordSize]) {
    memset(record, 0, kPasswordRecordSize);
    memcpy(record, password, BoundedLength(password, kPasswordRecordSize));
    InvertBytes(record, kPasswordRecordSize);
}

int StoredPasswordFromRecord(const unsigned char* bytes, size_t length,
                             char text[kPasswordTextSize]) {
    memset(text, 0, kPasswordTextSize);
    if (length < kPasswordRecordSize) return 0;
    memcpy(text, bytes, kPasswordRecordSize);
    InvertBytes(reinterpret_cast<unsigned char*>(text), kPasswordRecordSize);
    // The bytes behind the first zero stay: callers read the text up to it.
    size_t end = BoundedLength(text, kPasswordRecordSize);
    memset(text + end, 0, kPasswordTextSize - end);
    return 1;
}

int HoldsPasswordRecord(const unsigned char* bytes, size_t length) {
    static const char kDosStubText[] = "This program cannot be run in DOS mode.";
    return length >= kPasswordRecordSize && memcmp(bytes, kDosStubText, kPasswordRecordSize) != 0;
}

int PasswordLengthCode(char* out, size_t size, const char* password) {
    int code = 255 - (int)BoundedLength(password, kPasswordRecordSize);
    if (size < 4) {
        if (size > 0) out[0] = '\0';
        return 0;
    }
    // 234 to 255: always three digits.
    out[0] = (char)('0' + code / 100);
    out[1] = (char)('0' + code / 10 % 10);
    out[2] = (char)('0' + code % 10);
    out[3] = '\0';
    return 1;
}

int PasswordAccepted(const char* entry, const char* matchText) {
    size_t length = BoundedLength(entry, kPasswordMaxLength + 1);
    if (length < 1 || length > kPasswordMaxLength) return 0;
    // strncmp stops at the end of `entry` only by comparing its
    // terminator, so a beginning of `matchText` does not pass.
    return strncmp(entry, matchText, kPasswordMaxLength) == 0 ? 1 : 0;
}

int FormatHiddenRecordPath(char* out, size_t size, const char* systemDir,
                           const char* projectName) {
    char sum[kDecimalTextSize];
    FormatDecimal(sum, NameSum(projectName));
    const char* parts[] = {systemDir, "\\tv_sys", sum, ".sys"};
    return JoinParts(out, size, parts, 4);
}

int FormatUninstallerPath(char* out, size_t size, const char* installDir) {
    const char* parts[] = {installDir, "\\", UNINSTALLER_NAME};
    return JoinParts(out, size, parts, 3);
}
