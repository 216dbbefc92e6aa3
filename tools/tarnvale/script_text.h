// Host side of the script reader: profile reads on a std::string and the
// one edit the tool makes to a script. The sections, keys and buffer widths
// are those of core/script_vocabulary.h; SIZE is converted with
// ScriptDecimal (core/entry_rules.h), as the installer converts it.
#ifndef TARNVALE_TOOLS_SCRIPT_TEXT_H
#define TARNVALE_TOOLS_SCRIPT_TEXT_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "core/profile_reader.h"

// A view of `text`; valid while `text` lives unchanged.
ProfileText ProfileOf(const std::string& text);

// GetPrivateProfileStringA on `text` with a buffer of `bufferSize`
// characters. `line` (may be null) gets the key's line, 0 when missing.
std::string ReadScriptString(const std::string& text, const char* section, const char* key,
                             size_t bufferSize, int* line);

// GetPrivateProfileIntA on `text` with the default 0.
int32_t ReadScriptInt(const std::string& text, const char* section, const char* key, int* line);

// Why a numbered key of a file section is never read.
enum class UnreadKey { kAboveFiles, kRepeated };

// The entry lines of `section` as the setup program reads keys 1 to
// `files`: the first key of each number, by number. `unread` (may be
// empty) hears every other numbered key, with its name.
std::map<int32_t, ProfileKey> NumberedKeys(
    const std::string& text, const char* section, int32_t files,
    const std::function<void(const ProfileKey&, const std::string& name, UnreadKey)>& unread);

// The value of a found key as a read with `bufferSize` characters gives it.
std::string CopyKeyValue(const std::string& text, const ProfileKey& key, size_t bufferSize);

// `text` with [INFO] SIZE set to `value`, every other byte kept: the value
// of the key that the installer reads is replaced; a key without "=" gets
// one; a missing key is added as the first line of the first [INFO]; a
// missing section is appended. New lines use the text's first line end
// (CR LF when it has none). Returns false, with `error` set, when reading
// the result back does not give `value`.
bool SetInfoSize(const std::string& text, uint64_t value, std::string* out, std::string* error);

#endif
