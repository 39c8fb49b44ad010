#include "common/console.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace tools {

std::vector<std::wstring> StartConsole() {
    _setmode(_fileno(stdout), _O_BINARY);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::wstring> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    LocalFree(argv);
    return arguments;
}

bool HasCodePage932(std::FILE* stream, const char* prefix) {
    if (GetACP() == 932)
        return true;
    std::fprintf(stream, "%sthe ANSI code page is %u, not 932 (run under LC_ALL=ja_JP.UTF-8)\n",
                 prefix, GetACP());
    return false;
}

} // namespace tools
