// The rules of uninstall protection that need no window: the password
// record, the length code, the accept rule of the password dialogs and the
// names of the files that hold records.
//
// A password record is exactly 21 bytes, stored in two places:
//
//   uninstall.exe    bytes 78 to 98 (inside the text of the MS-DOS stub,
//                    which Windows never reads)
//   tv_sysN.sys      bytes 0 to 20, in the system directory; N is NameSum
//                    of the product's NAME
//
//   record[i] = 255 - password[i], the password padded with zero bytes to
//   21 bytes; so the bytes behind the password are 255, and the record
//   holds no terminator of its own.
//
// Portable core: no <windows.h>, no allocation, no printf.
#ifndef TARNVALE_CORE_PASSWORD_RULES_H
#define TARNVALE_CORE_PASSWORD_RULES_H

#include <stddef.h>
#include <stdint.h>

enum {
    kPasswordRecordSize = 21,    // bytes of a record
    kPasswordMaxLength = 20,     // characters a password may have
    kPasswordTextSize = 22,      // a record read back as text: 21 and a terminator
    kUninstallerRecordAt = 78,   // offset of the record in the uninstaller
    kPasswordLengthCodeSize = 24,
    kRecordPathSize = 520        // buffers of both record files' names
};

// Name of the uninstaller inside the product's installation directory.
#define UNINSTALLER_NAME "uninstall.exe"

// The Korean notice shown when an earlier password is set aside, as
// code-page 949 bytes: caption "암호 등록", text "기존 버젼 암호를 무시하고
// 새로 암호를 등록합니다." (the password of the existing version is set
// aside and a new one is registered).
#define PROTECTION_NOTICE_CAPTION "\xbe\xcf\xc8\xa3 \xb5\xee\xb7\xcf"
#define PROTECTION_NOTICE_TEXT                                                     \
    "\xb1\xe2\xc1\xb8 \xb9\xf6\xc1\xaf \xbe\xcf\xc8\xa3\xb8\xa6 \xb9\xab\xbd\xc3" \
    "\xc7\xcf\xb0\xed \xbb\xf5\xb7\xce \xbe\xcf\xc8\xa3\xb8\xa6 \xb5\xee\xb7\xcf"  \
    "\xc7\xd5\xb4\xcf\xb4\xd9."

// Sum of the bytes of `name`, each taken as a signed byte (-128 to 127):
// "AB" gives 131, "" gives 0, names of bytes above 127 can give a negative
// sum. Never overflows: a name would need over 16 million bytes.
int32_t NameSum(const char* name);

// Replaces each of the `count` bytes by 255 minus itself. Applied twice it
// gives the bytes back.
void InvertBytes(unsigned char* bytes, size_t count);

// The record of `password` (at most 21 bytes of it are used): the password
// padded with zero bytes to 21 bytes, inverted.
void MakePasswordRecord(const char* password, unsigned char record[kPasswordRecordSize]);

// The password a record file holds, from the `length` bytes read out of it
// (at most 21 are looked at): inverted, cut at the first zero byte and
// terminated in `text`. Returns 1 when the file holds a record, or 0 with
// `text` empty when fewer than 21 bytes could be read, as from a file that
// ends early: such a file counts as holding no record at all. A record of
// 21 bytes that are all 255 holds the empty password and still counts.
int StoredPasswordFromRecord(const unsigned char* bytes, size_t length,
                             char text[kPasswordTextSize]);

// Whether the `length` bytes read at offset 78 of an uninstaller hold a
// record: 21 bytes that are not the text every linker puts there, "This
// program cannot be run in DOS mode.", which an uninstaller keeps when no
// install wrote a record into it (one named other than uninstall.exe).
// Returns 1 or 0.
int HoldsPasswordRecord(const unsigned char* bytes, size_t length);

// "%03d" of 255 minus the length of `password` (at most 21 bytes of it
// are counted): "235" for 20 characters, "254" for one. Returns 1, or 0
// with `out` empty when `size` is too small for the three digits.
int PasswordLengthCode(char* out, size_t size, const char* password);

// The accept rule of both password dialogs: `entry` is 1 to 20 characters
// long and equals the first 20 characters of `matchText`, byte for byte,
// case included. A `matchText` of 21 characters is accepted when its first
// 20 are typed; a mere beginning of `matchText` is not. Returns 1 or 0.
int PasswordAccepted(const char* entry, const char* matchText);

// "%s\\tv_sys%ld.sys" of `systemDir` and NameSum(`projectName`), with a
// minus sign for a negative sum. Returns 1, or 0 with `out` empty when it
// does not fit `size` bytes.
int FormatHiddenRecordPath(char* out, size_t size, const char* systemDir,
                           const char* projectName);

// `installDir` + "\\" + "uninstall.exe". Returns 1, or 0 with `out` empty
// when it does not fit.
int FormatUninstallerPath(char* out, size_t size, const char* installDir);

#endif
