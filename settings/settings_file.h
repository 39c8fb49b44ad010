// The per-user, per-company settings file: the end month, the tax flag, the output path and the
// mappings of the aggregation conditions, kept between runs. One file per form generation, host
// user and selected company data, in the host's settings folder:
//
//   [P1]
//   <endMonth>/<taxIncluded>/0/<output path>
//   <end marker: texts::kSectionEndMarker>
//   [P2/P3]
//   <lineNo>/<key>[END]          one line per mapping entry
//   <end marker: texts::kSectionEndMarker>
//
// Shift_JIS, lines ended by LF alone. A missing or broken file is never reported to the user;
// the callers apply defaults.
#pragma once

#include "platform/filesystem.h"
#include "platform/host.h"
#include "settings/conditions.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// "RV16_G_<userId>_<selectionNo1>_<selectionNo2>.env", "RV30_G_..." for the newer form. Empty
// when the user ID cannot be part of a file name in the settings folder (a separator, a
// character Windows refuses in a name, a control character, "..", or longer than 64 bytes).
std::string SettingsFileName(const AggregationConditions& conditions);

// The settings folder of host, copied at once; empty when the host gives none, and when the host
// refuses (its status then comes back). loadSettings and saveSettings use no folder longer than
// 260 bytes.
[[nodiscard]] platform::Status HostSettingsFolder(platform::Host& host, std::string& folder);

// The file's bytes for the conditions. The path written is savedOutputPath when the host fixed
// the output file, else outputPath. Entries whose key a reader could not give back unchanged
// (longer than 34 bytes, holding a line end, a NUL, "[END]" or the end marker) are left out.
std::string SettingsText(const AggregationConditions& conditions);

// Reads the bytes of a settings file into the conditions: endMonth, taxIncluded, reserved,
// savedOutputPath, outputPath (only when empty) and the mappings. False when "[P1]", its
// end marker, "[P2/P3]" or its end marker is missing; the "[P1]" values stay applied when only the
// mapping part is missing. The mapping list ends early, and the read still succeeds, at an entry
// without "[END]" before its line end and the section's end marker. Keys longer than 34 bytes are
// skipped; a CR before an LF is a line end too; an output path longer than 260 bytes is not
// taken. The text ends at its first NUL.
[[nodiscard]] bool ReadSettingsText(const std::string& text, AggregationConditions& conditions);

// Reads the settings file of the conditions from settingsFolder.
// savedOutputPath is emptied first. False when there is no folder (none, or one longer than 260
// bytes), the user ID is not usable,
// the file is missing or cannot be read, or ReadSettingsText fails.
[[nodiscard]] bool loadSettings(platform::FileSystem& files, const std::string& settingsFolder,
                                AggregationConditions& conditions);

// Writes the settings file of the conditions into settingsFolder, creating the folder chain when
// the folder is missing. The file is replaced whole or not at all (FileReplacement): on any failure
// the old file stays as it was, and the temporary file and the folders this call created are
// removed. Refused when there is no folder (none, or one longer than 260 bytes: no data), the user
// ID cannot name a file, or there is no mapping list, or with the cause of the first file
// operation that failed.
[[nodiscard]] platform::Status saveSettings(platform::FileSystem& files,
                                            const std::string& settingsFolder,
                                            const AggregationConditions& conditions);

// Replaces the mappings by copies of the default mappings, in order, when there is a mapping
// list; when memory runs out, std::bad_alloc goes on with the list as it was.
void resetMappingsToDefaults(AggregationConditions& conditions);
