#include "platform/program_folder.h"

#include "platform/sjis.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <vector>

namespace platform {

#ifdef _WIN32

std::string ProgramFolderOfProcess() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0)
            return std::string();
        if (n < path.size()) {
            const std::string full(path.data(), n);
            const std::size_t separator = FindLastSingleByte(full, '\\');
            return separator == std::string::npos ? std::string() : full.substr(0, separator + 1);
        }
        path.resize(path.size() * 2);
    }
}

#else

std::string ProgramFolderOfProcess() {
    std::vector<char> path(4096);
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size());
        if (n <= 0)
            return std::string();
        if (static_cast<std::size_t>(n) < path.size()) {
            const std::string full(path.data(), static_cast<std::size_t>(n));
            const std::size_t separator = full.rfind('/');
            return separator == std::string::npos ? std::string() : full.substr(0, separator + 1);
        }
        path.resize(path.size() * 2);
    }
}

#endif

} // namespace platform
