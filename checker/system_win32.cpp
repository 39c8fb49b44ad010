#include "checker/system.h"

#include "checker/text_decode.h"
#include "platform/sjis.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace checker {

std::string ProgramFolder() {
    std::string path(MAX_PATH, '\0');
    const DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size())
        return ".\\";
    path.resize(length);
    // The last separator that is not the second byte of a double-byte character.
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size())
            ++i;
        else if (path[i] == '\\' || path[i] == '/')
            last = i;
    }
    return last == std::string::npos ? ".\\" : path.substr(0, last + 1);
}

// Arguments arrive in the system's code page, 932 on the machines the programs run on.
std::string ArgumentToUtf8(const std::string& argument) {
    return ShiftJisToUtf8Lenient(argument);
}

void PrepareConsole() {
    SetConsoleOutputCP(CP_UTF8);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

std::string InFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || platform::EndsWithBackslash(folder) || folder.back() == '/')
        return folder + name;
    return folder + "\\" + name;
}

} // namespace checker
