#include "settings/settings_file.h"

#include "aggregate/account_key.h"
#include "platform/decimal.h"
#include "platform/sjis.h"
#include "settings/file_replacement.h"
#include "settings/paths.h"
#include "texts/catalogue.h"

#include <algorithm>
#include <cstring>

namespace {

const char kP1Header[] = "[P1]";
const char kMappingHeader[] = "[P2/P3]";
const char kEntryEnd[] = "[END]";

constexpr std::size_t kMaxKeyLength = kMappingKeySize - 1;

// A decimal field of the file, held within the range of its 16-bit field instead of wrapping.
std::int16_t DecimalField(const std::string& text) {
    return platform::LeadingDecimal(text).Clamped<std::int16_t>();
}

// The user ID goes into a file name inside the settings folder: it must not lead out of the
// folder nor make the name invalid.
bool UsableUserId(const std::string& id) {
    if (id.size() >= AggregationConditions::kUserIdSize ||
        platform::FindText(id, "..") != std::string::npos)
        return false;
    for (std::size_t i = 0; i < id.size(); i += platform::CharLength(id, i)) {
        const unsigned char c = static_cast<unsigned char>(id[i]);
        // A lead byte before a byte that cannot follow it is no character: Windows reads that
        // byte alone, and it may be a separator. One at the end would take the name's '_'.
        if (platform::IsLeadByte(c)) {
            if (platform::CharLength(id, i) != 2 ||
                !platform::IsTrailByte(static_cast<unsigned char>(id[i + 1])))
                return false;
            continue;
        }
        if (c < 0x20 || c == 0x7F || std::strchr("\\/:*?\"<>|", c) != nullptr)
            return false;
    }
    return true;
}

// A key that a reader gives back unchanged.
bool StorableKey(const std::string& key) {
    return key.size() <= kMaxKeyLength &&
           key.find_first_of(std::string("\r\n\0", 3)) == std::string::npos &&
           platform::FindText(key, kEntryEnd) == std::string::npos &&
           platform::FindText(key, texts::kSectionEndMarker) == std::string::npos;
}

// The end of the line that starts at begin: the position of its LF (or of the CRs before it),
// or the end of the text.
std::size_t LineEnd(const std::string& text, std::size_t begin, std::size_t& next) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string::npos) {
        next = text.size();
        return text.size();
    }
    next = end + 1;
    while (end > begin && text[end - 1] == '\r')
        --end;
    return end;
}

// Reads "[P1]" and the line after it. Returns the position after that line, or npos when the
// part is missing.
std::size_t ReadP1(const std::string& text, AggregationConditions& conditions) {
    const std::size_t header = platform::FindText(text, kP1Header);
    if (header == std::string::npos ||
        platform::FindText(text, texts::kSectionEndMarker, header + std::strlen(kP1Header)) ==
            std::string::npos)
        return std::string::npos;
    std::size_t lineStart = 0;
    LineEnd(text, header, lineStart);
    std::size_t next = 0;
    const std::string line = text.substr(lineStart, LineEnd(text, lineStart, next) - lineStart);

    std::string fields[3];
    std::size_t from = 0;
    std::string path;
    for (int field = 0; field < 3 && from != std::string::npos; ++field) {
        const std::size_t slash = line.find('/', from);
        fields[field] =
            line.substr(from, slash == std::string::npos ? std::string::npos : slash - from);
        from = slash == std::string::npos ? slash : slash + 1;
    }
    if (from != std::string::npos)
        path = line.substr(from);
    conditions.endMonth = DecimalField(fields[0]);
    conditions.taxIncluded = DecimalField(fields[1]);
    conditions.reserved = 0;
    if (path.size() < AggregationConditions::kSavedOutputPathSize)
        conditions.savedOutputPath = path;
    if (conditions.outputPath.empty())
        conditions.outputPath = conditions.savedOutputPath;
    return next;
}

// Reads the entries between "[P2/P3]" and its end marker into the mappings.
bool ReadMappings(const std::string& text, std::size_t from, MappingEntries& mappings) {
    const std::size_t header = platform::FindText(text, kMappingHeader, from);
    if (header == std::string::npos)
        return false;
    const std::size_t sectionEnd =
        platform::FindText(text, texts::kSectionEndMarker, header + std::strlen(kMappingHeader));
    if (sectionEnd == std::string::npos)
        return false;
    mappings.clear();
    std::size_t position = 0;
    LineEnd(text, header, position);
    while (position < sectionEnd) {
        std::size_t next = 0;
        const std::size_t limit = std::min(LineEnd(text, position, next), sectionEnd);
        const std::size_t slash = text.find('/', position);
        if (slash == std::string::npos || slash >= limit)
            break;
        const std::size_t entryEnd = platform::FindText(text, kEntryEnd, slash + 1);
        if (entryEnd == std::string::npos || entryEnd >= limit)
            break;
        const std::string key = text.substr(slash + 1, entryEnd - slash - 1);
        if (key.size() <= kMaxKeyLength) {
            auto entry = std::make_unique<MappingEntry>();
            entry->lineNo = DecimalField(text.substr(position, slash - position));
            entry->key = key;
            mappings.push_back(std::move(entry));
        }
        position = entryEnd + std::strlen(kEntryEnd);
        if (position < text.size() && text[position] == '\r')
            ++position;
        if (position < text.size() && text[position] == '\n')
            ++position;
    }
    return true;
}

// The settings file's path in folder. Refused when there is no folder to use (none, or one
// longer than 260 bytes) or the user ID cannot name the file.
platform::Status SettingsPath(const std::string& folder, const AggregationConditions& conditions,
                              std::string& path) {
    if (folder.empty() || folder.size() > kMaxPathText)
        return platform::Status::NoData("settings-folder");
    const std::string name = SettingsFileName(conditions);
    if (name.empty())
        return platform::Status::NoData("settings-file-name");
    path = folder + name;
    return platform::Status();
}

} // namespace

std::string SettingsFileName(const AggregationConditions& conditions) {
    if (!UsableUserId(conditions.userId))
        return std::string();
    return std::string(conditions.form == FormGeneration::k30 ? "RV30_G_" : "RV16_G_") +
           conditions.userId + '_' + std::to_string(conditions.selectionNo1) + '_' +
           std::to_string(conditions.selectionNo2) + ".env";
}

platform::Status HostSettingsFolder(platform::Host& host, std::string& folder) {
    folder.clear();
    std::string given;
    if (platform::Status got = host.FolderPath(platform::HostFolder::kSettings, given); !got.ok())
        return got;
    folder = std::move(given);
    return platform::Status();
}

std::string SettingsText(const AggregationConditions& conditions) {
    const std::string& path =
        conditions.outputPathFixed != 0 ? conditions.savedOutputPath : conditions.outputPath;
    std::string text = std::string(kP1Header) + '\n';
    text += std::to_string(conditions.endMonth) + '/' + std::to_string(conditions.taxIncluded) +
            "/0/" + path.substr(0, path.find('\0')) + '\n';
    text += std::string(texts::kSectionEndMarker) + '\n' + kMappingHeader + '\n';
    if (conditions.mappings != nullptr) {
        for (const auto& entry : *conditions.mappings) {
            if (StorableKey(entry->key))
                text += std::to_string(entry->lineNo) + '/' + entry->key + kEntryEnd + '\n';
        }
    }
    text += std::string(texts::kSectionEndMarker) + '\n';
    return text;
}

bool ReadSettingsText(const std::string& bytes, AggregationConditions& conditions) {
    const std::string text = bytes.substr(0, bytes.find('\0'));
    const std::size_t afterP1 = ReadP1(text, conditions);
    if (afterP1 == std::string::npos || conditions.mappings == nullptr)
        return false;
    return ReadMappings(text, afterP1, *conditions.mappings);
}

bool loadSettings(platform::FileSystem& files, const std::string& settingsFolder,
                  AggregationConditions& conditions) {
    conditions.savedOutputPath.clear();
    std::string path;
    std::string bytes;
    if (!SettingsPath(settingsFolder, conditions, path).ok() || !files.Exists(path) ||
        !files.ReadFile(path, bytes))
        return false;
    return ReadSettingsText(bytes, conditions);
}

platform::Status saveSettings(platform::FileSystem& files, const std::string& settingsFolder,
                              const AggregationConditions& conditions) {
    std::string path;
    if (platform::Status named = SettingsPath(settingsFolder, conditions, path); !named.ok())
        return named;
    // Without the mapping list the file would lose the user's mappings.
    if (conditions.mappings == nullptr)
        return platform::Status::NoData("settings-mappings");
    FileReplacement replacement(files, path);
    if (platform::Status made = replacement.MakeFolders(); !made.ok())
        return made;
    return replacement.WriteWhole(SettingsText(conditions), "write-settings");
}

void resetMappingsToDefaults(AggregationConditions& conditions) {
    if (conditions.mappings == nullptr)
        return;
    MappingEntries copies;
    for (const auto& entry : conditions.defaultMappings)
        copies.push_back(std::make_unique<MappingEntry>(*entry));
    *conditions.mappings = std::move(copies);
}
