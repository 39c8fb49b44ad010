#include "checker/system.h"

#include <climits>
#include <unistd.h>

namespace checker {

std::string ProgramFolder() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return "./";
    const std::string exe(path, static_cast<std::size_t>(length));
    return exe.substr(0, exe.rfind('/') + 1);
}

std::string ArgumentToUtf8(const std::string& argument) {
    return argument;
}

void PrepareConsole() {}

std::string InFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

} // namespace checker
