// Fuzz target of the host command line: any line is read without harm; a line with three commas
// gives its text after the third comma whole, and that text, as the output path it becomes,
// passes through the path rules without harm.
#include "app/host_command_line.h"
#include "settings/paths.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    HostCommandLine parsed;
    const bool parsedWhole = ParseHostCommandLine(line, parsed).ok();
    const bool threeCommas = std::count(line.begin(), line.end(), ',') >= 3;
    if (parsedWhole != threeCommas)
        std::abort();
    if (!threeCommas)
        return 0;
    std::size_t third = 0;
    for (int comma = 0; comma < 3; ++comma)
        third = line.find(',', comma == 0 ? 0 : third + 1);
    if (parsed.hostText != line.substr(third + 1))
        std::abort();
    static_cast<void>(CheckPathCharacters(parsed.hostText));
    std::string folder;
    if (FolderOfPath(parsed.hostText, folder) &&
        (folder.size() > kMaxPathText || folder.empty() || folder.back() != '\\'))
        std::abort();
    return 0;
}
