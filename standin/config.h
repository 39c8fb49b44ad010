// The stand-in host's configuration: "StandinHost.json" in the program's folder, or the file
// named by the environment variable STANDIN_HOST_CONFIG. Tests set the host's answers here.
#pragma once

#include <string>

namespace standin {

struct Config {
    long initiateResult = 0;
    long expSysLinkResult = 0;
    // Replaces "ES_APRPACKAGENAME" in the texts of DispMsg.
    std::string packageName = "Quorin申告";
    // Problem met while reading the file, Shift_JIS; empty when it was read.
    std::string error;
};

// Path of the configuration file in use.
std::string ConfigPath();
// Reads the configuration once per process.
const Config& GetConfig();

} // namespace standin
