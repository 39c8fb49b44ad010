#include "standin/config.h"

#include "standin/system.h"

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace standin {

namespace {

Config Load() {
    Config config;
    const std::string path = ConfigPath();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return config; // No file: a host that connects and permits the link.
    std::ostringstream text;
    text << in.rdbuf();
    try {
        const nlohmann::json doc = nlohmann::json::parse(text.str());
        config.initiateResult = doc.value("initiate", 0L);
        config.expSysLinkResult = doc.value("expSysLink", 0L);
        if (doc.contains("packageName"))
            config.packageName = Utf8ToSjis(doc.at("packageName").get<std::string>());
    } catch (const nlohmann::json::exception& e) {
        config.error = path + ": " + e.what();
        config.initiateResult = -1;
    }
    return config;
}

} // namespace

std::string ConfigPath() {
    if (const char* env = std::getenv("STANDIN_HOST_CONFIG"); env != nullptr && *env != '\0')
        return env;
    return ProgramFolder() + "StandinHost.json";
}

const Config& GetConfig() {
    static const Config config = Load();
    return config;
}

} // namespace standin
