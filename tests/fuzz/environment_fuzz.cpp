// Fuzz target of the environment check's level reading: any definition file gives one of the
// four codes, and the matching code only for a level that reads as 3.
#include "app/environment_check.h"
#include "support/memory_filesystem.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testsupport::MemoryFileSystem files;
    files.AddStandardMachine();
    files.AddFile(std::string("C:\\Program\\") + kDefinitionFileName,
                  std::string(reinterpret_cast<const char*>(data), size));
    const EnvironmentCode code = EnvironmentCodeOf(files);
    if (code != kEnvironmentInvalid && code != kEnvironmentMatches &&
        code != kEnvironmentTargetOld && code != kEnvironmentTargetNew)
        std::abort();
    const std::string level =
        files.ReadProfileString("ProgramLevel", "RV16_G", "1", 16, kDefinitionFileName);
    if (code == kEnvironmentMatches && std::strtol(level.c_str(), nullptr, 10) != 3)
        std::abort();
    return 0;
}
