// Profile reader: looks up keys in an install script held in memory, the
// way the platform's profile reads (GetPrivateProfileStringA/IntA, as Wine
// implements them) see the same file.
//
//   text      lines end in LF, CR LF or a lone CR; a leading UTF-8 BOM is skipped
//   blanks    space, tab, CR, LF, VT, FF and ^Z (0x1A) around a line, a name
//             or a value are not part of it
//   section   "[" name "]": the name runs to the LAST "]" of the line and is
//             trimmed; "[]" names nothing; a "[" line without "]" is a key
//             line like any other (a key of that name, which no read asks for)
//   key       name "=" value; the first "=" splits; a line without "=" is a
//             key whose value is empty
//   lookup    section and key names compared without regard to ASCII case;
//             only the first section of a name is searched, and in it the
//             first key of a name wins; keys before any section, and lines
//             such as "; note" or blank lines, never match a normal key
//   value     one pair of matching quotes ('...' or "...") around it is
//             dropped; the copy is cut to the buffer size minus one
//   integer   the value as read into a 30-character buffer, then: leading
//             characters of codes 1 to 32 skipped, an optional sign, a base
//             prefix "0x", "0o" or "0b" (lower case only), and the digits
//             that follow, in 32-bit arithmetic that wraps; an empty value
//             or a missing key gives the default
//
// Portable core: no allocation, no exceptions; every write is bounded by the
// caller's buffer size. Names are compared byte by byte outside ASCII, so a
// script should keep section and key names in ASCII.
#ifndef TARNVALE_CORE_PROFILE_READER_H
#define TARNVALE_CORE_PROFILE_READER_H

#include <stddef.h>
#include <stdint.h>

enum {
    kProfileIntBuffer = 30  // the platform reads an integer value into 30 characters
};

// An install script in memory. The reader never changes or copies it.
struct ProfileText {
    const char* data;
    size_t size;
};

// Where one key stands in the text: byte offsets into ProfileText::data.
struct ProfileKey {
    int line;            // 1-based line number of the key's line
    size_t lineStart;    // first byte of the line
    size_t lineEnd;      // one past the line's last byte, its line end excluded
    size_t nextLine;     // first byte of the following line (past the line end)
    size_t nameStart;    // the trimmed name
    size_t nameEnd;
    size_t valueStart;   // the trimmed value, quotes still on; empty without "="
    size_t valueEnd;
    int hasEquals;       // 1 when the line holds "="
};

// Where a section header stands.
struct ProfileSection {
    int line;            // 1-based line number of the header
    size_t lineStart;
    size_t lineEnd;      // one past "]...", the line end excluded
    size_t nextLine;     // first byte after the header's line end
};

// Walks the keys of one section in file order; start with ProfileBeginKeys.
struct ProfileCursor {
    size_t pos;          // next byte to look at
    int line;            // line number of the line at `pos`
    int done;            // 1 when the section has ended
};

// Finds the first section named `section`. Returns 1 and fills `out`, or 0
// when no section has that name (an empty name never matches).
int ProfileFindSection(const ProfileText* text, const char* section, ProfileSection* out);

// Finds the key that a profile read of (`section`, `key`) takes: the first
// key of that name in the first section of that name. Returns 1 and fills
// `out`, or 0 when the read would give its default.
int ProfileFindKey(const ProfileText* text, const char* section, const char* key,
                   ProfileKey* out);

// Prepares `cursor` to walk the first section named `section`. Returns 0
// (and a finished cursor) when there is none.
int ProfileBeginKeys(const ProfileText* text, const char* section, ProfileCursor* cursor);

// Steps to the next key line of the section. Returns 1 and fills `out`, or 0
// when the section has no more keys. Keys are reported as written,
// duplicates included.
int ProfileNextKey(const ProfileText* text, ProfileCursor* cursor, ProfileKey* out);

// Copies the value of `key` into `out` of `outSize` bytes as a text read
// does: one pair of matching quotes dropped, cut to outSize - 1 characters,
// always terminated when outSize > 0. Returns the number of characters
// written. Like the platform, a quoted value that exactly fills the buffer
// loses its last character as well.
size_t ProfileCopyValue(const ProfileText* text, const ProfileKey* key, char* out,
                        size_t outSize);

// One line of the text as the loader splits it, for a walk over every line
// of the file: sections of any name, repeated ones, keys outside every
// section and lines the loader drops.
enum ProfileLineKind {
    kProfileBlank,    // blanks only
    kProfileIgnored,  // "[" without "]": a key line of that name, which no read asks for
    kProfileSection,  // `key`'s name is the section's name, trimmed
    kProfileKey       // a key line (comments such as "; note" included)
};

struct ProfileLine {
    ProfileLineKind kind;
    ProfileKey key;      // positions of the line, its name and its value
};

// Offset of the first line: 0, or 3 past a UTF-8 byte-order mark.
size_t ProfileTextStart(const ProfileText* text);

// Reads the line that starts at `pos` (< text->size) and has the number
// `number` into `out`. Returns the offset of the following line.
size_t ProfileReadLine(const ProfileText* text, size_t pos, int number, ProfileLine* out);

// GetPrivateProfileStringA with the empty default: the value of (`section`,
// `key`) into `out` of `outSize` bytes, or the empty text when it is missing.
// Returns the characters written. `line` (may be null) receives the key's
// line number, 0 when the key is missing.
size_t ProfileGetString(const ProfileText* text, const char* section, const char* key,
                        char* out, size_t outSize, int* line);

// GetPrivateProfileIntA: the number the value begins with, or `fallback`
// when the key is missing or its value is empty. A value that begins with no
// digit gives 0. `line` (may be null) as for ProfileGetString.
int32_t ProfileGetInt(const ProfileText* text, const char* section, const char* key,
                      int32_t fallback, int* line);

// The integer conversion of ProfileGetInt on a NUL-terminated value.
int32_t ProfileParseInt(const char* value);

// 1 when a lookup of `name` would find a section or key written `written`:
// both trimmed of blanks, ASCII case ignored; an empty name equals nothing.
int ProfileNamesEqual(const char* written, const char* name);

#endif
