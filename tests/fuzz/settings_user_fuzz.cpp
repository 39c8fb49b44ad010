// Fuzz target of the user ID in the settings file's name: any ID either names no file, or a
// file "RV16_G_<id>_<n>_<n>.env" that lies in the settings folder itself; saving writes nothing
// anywhere else.
#include "platform/sjis.h"
#include "settings/settings_file.h"
#include "support/memory_filesystem.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    AggregationConditions conditions;
    conditions.userId.assign(reinterpret_cast<const char*>(data), size);
    conditions.selectionNo1 = 1;
    conditions.selectionNo2 = 2;
    MappingEntries mappings;
    conditions.mappings = &mappings;

    const std::string name = SettingsFileName(conditions);
    if (!name.empty()) {
        if (name.compare(0, 7, "RV16_G_") != 0 || name.size() < 11 ||
            name.compare(name.size() - 8, 8, "_1_2.env") != 0)
            std::abort();
        for (std::size_t i = 0; i < name.size(); ++i) {
            const auto c = static_cast<unsigned char>(name[i]);
            if (platform::IsLeadByte(c) && i + 1 < name.size() &&
                platform::IsTrailByte(static_cast<unsigned char>(name[i + 1]))) {
                ++i;
                continue;
            }
            if (c < 0x20 || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' ||
                c == '<' || c == '>' || c == '|')
                std::abort();
        }
    }

    testsupport::MemoryFileSystem files;
    files.AddStandardMachine();
    files.AddFolder("C:\\Host\\Settings");
    const bool saved = saveSettings(files, "C:\\Host\\Settings\\", conditions).ok();
    if (saved == name.empty())
        std::abort();
    const auto tree = files.Tree();
    for (const auto& entry : tree) {
        const std::string& path = entry.first;
        if (path == "C:\\" || path == "C:\\Program\\" || path == "C:\\Temp\\" ||
            path == "C:\\Host\\" || path == "C:\\Host\\Settings\\")
            continue;
        if (path != "C:\\Host\\Settings\\" + name)
            std::abort();
    }
    return 0;
}
