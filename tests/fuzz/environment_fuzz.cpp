// Fuzz target of the environment check's level reading: any definition file passes the check
// or is refused with one message, and passes only for a level that reads as 3.
#include "app/environment_check.h"
#include "support/fake_host.h"
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
    testsupport::FakeHost host;
    const bool passed = CheckEnvironment(host, files, nullptr, 1).ok();
    if (host.messages.size() != (passed ? 0u : 1u))
        std::abort();
    const std::string level =
        files.ReadProfileString("ProgramLevel", "RV16_G", "1", 16, kDefinitionFileName);
    if (passed && std::strtol(level.c_str(), nullptr, 10) != 3)
        std::abort();
    return 0;
}
