// Fuzz target of the stand-in host's configuration file: any bytes are either read, or refused
// with a problem that names the file and leaves the host refusing to start.
#include "standin/config.h"
#include "standin/testing.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path =
        "/tmp/standin_config_fuzz_" + std::to_string(::getpid()) + ".json";
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const bool read = standin::ReloadConfig(path);
    const standin::Config& config = standin::GetConfig();
    if (read != standin::LoadProblem().empty())
        std::abort();
    if (!read && config.initiateResult != -1)
        std::abort();
    if (config.packageName.size() > 255)
        std::abort();
    for (const std::string* folder : {&config.outputFolder, &config.settingsFolder}) {
        if (!folder->empty() && folder->back() != '/' && folder->back() != '\\')
            std::abort();
    }
    return 0;
}
