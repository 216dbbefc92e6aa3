#include "tools/tarnvale/script_text.h"

#include <vector>

#include "core/script_vocabulary.h"

namespace {

std::string FirstLineEnd(const std::string& text) {
    size_t at = text.find_first_of("\r\n");
    if (at == std::string::npos) return "\r\n";
    if (text[at] == '\n') return "\n";
    return (at + 1 < text.size() && text[at + 1] == '\n') ? "\r\n" : "\r";
}

}  // namespace

ProfileText ProfileOf(const std::string& text) {
    ProfileText view;
    view.data = text.data();
    view.size = text.size();
    return view;
}

std::string ReadScriptString(const std::string& text, const char* section, const char* key,
                             size_t bufferSize, int* line) {
    ProfileText view = ProfileOf(text);
    std::vector<char> buffer(bufferSize + 1);
    size_t n = ProfileGetString(&view, section, key, buffer.data(), bufferSize, line);
    return std::string(buffer.data(), n);
}

int32_t ReadScriptInt(const std::string& text, const char* section, const char* key, int* line) {
    ProfileText view = ProfileOf(text);
    return ProfileGetInt(&view, section, key, 0, line);
}

std::string CopyKeyValue(const std::string& text, const ProfileKey& key, size_t bufferSize) {
    ProfileText view = ProfileOf(text);
    std::vector<char> buffer(bufferSize + 1);
    size_t n = ProfileCopyValue(&view, &key, buffer.data(), bufferSize);
    return std::string(buffer.data(), n);
}

std::map<int32_t, ProfileKey> NumberedKeys(
    const std::string& text, const char* section, int32_t files,
    const std::function<void(const ProfileKey&, const std::string& name, UnreadKey)>& unread) {
    // One walk over the section instead of a read per number: the first
    // key of each number is the one a read finds.
    std::map<int32_t, ProfileKey> numbered;
    ProfileText view = ProfileOf(text);
    ProfileCursor cursor;
    ProfileKey key;
    ProfileBeginKeys(&view, section, &cursor);
    while (ProfileNextKey(&view, &cursor, &key)) {
        const std::string name = text.substr(key.nameStart, key.nameEnd - key.nameStart);
        const int32_t number = EntryLineNumber(name.c_str());
        if (number == 0) continue;
        const bool above = number > files;
        if ((above || !numbered.emplace(number, key).second) && unread)
            unread(key, name, above ? UnreadKey::kAboveFiles : UnreadKey::kRepeated);
    }
    return numbered;
}

bool SetInfoSize(const std::string& text, uint64_t value, std::string* out, std::string* error) {
    ProfileText view = ProfileOf(text);
    const std::string digits = std::to_string(value);
    const std::string eol = FirstLineEnd(text);
    ProfileKey key;
    ProfileSection section;
    if (ProfileFindKey(&view, kInfoSection, kSizeKey, &key)) {
        if (key.hasEquals)
            *out = text.substr(0, key.valueStart) + digits + text.substr(key.valueEnd);
        else
            *out = text.substr(0, key.nameEnd) + "=" + digits + text.substr(key.nameEnd);
    } else if (ProfileFindSection(&view, kInfoSection, &section)) {
        if (section.nextLine == section.lineEnd)  // the header ends the text
            *out = text + eol + kSizeKey + "=" + digits;
        else
            *out = text.substr(0, section.nextLine) + kSizeKey + "=" + digits + eol +
                   text.substr(section.nextLine);
    } else {
        *out = text;
        if (!out->empty() && out->back() != '\n' && out->back() != '\r') *out += eol;
        *out += "[" + std::string(kInfoSection) + "]" + eol + kSizeKey + "=" + digits + eol;
    }
    std::string back = ReadScriptString(*out, kInfoSection, kSizeKey, kInfoSizeTextSize, nullptr);
    if (back != digits) {
        *error = "[INFO] SIZE reads back as \"" + back + "\" instead of " + digits;
        return false;
    }
    return true;
}
