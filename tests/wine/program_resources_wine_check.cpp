// Reads back, as Windows does, what a built program carries besides its code: the version
// resource (GetFileVersionInfo / VerQueryValue) and the application manifest.
//   program_resources_wine_check.exe EDITION
// checks EDITIONOvw21ToRv16_G.exe in the folder of this program (the build's bin folder):
//   - string resource 1 is the version text NN.NN.NN; the FileVersion and ProductVersion strings
//     are that text, and the fixed file and product versions are major.minor.build.0 made from it;
//   - one Japanese string block (0411, code page 932) with the edition's product name, the file
//     description, the original file name and a copyright line;
//   - one manifest: asInvoker, the supportedOS entries of Windows 7 to 11, no common controls,
//     aware of the system's DPI.
// Exit status 0 when every check passed.
#include "app/edition.h"
#include "tests/wine/wine_check.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using winecheck::Check;

const char kFileDescription[] = "事業概況書 連動";
const char kLanguageBlock[] = "041103a4";

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    // The path is ASCII up to the build folder; the last separator ends the folder.
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

// "21.00.01" as its four version numbers 21, 0, 1, 0; false unless the text is NN.NN.NN.
bool VersionNumbers(const std::string& text, unsigned (&numbers)[4]) {
    if (text.size() != 8 || text[2] != '.' || text[5] != '.')
        return false;
    for (std::size_t at : {0u, 1u, 3u, 4u, 6u, 7u})
        if (text[at] < '0' || text[at] > '9')
            return false;
    const auto two = [&](std::size_t at) {
        return static_cast<unsigned>((text[at] - '0') * 10 + (text[at + 1] - '0'));
    };
    numbers[0] = two(0);
    numbers[1] = two(3);
    numbers[2] = two(6);
    numbers[3] = 0;
    return true;
}

std::string Dotted(const unsigned (&numbers)[4]) {
    return std::to_string(numbers[0]) + "." + std::to_string(numbers[1]) + "." +
           std::to_string(numbers[2]) + "." + std::to_string(numbers[3]);
}

std::string StringValue(std::vector<char>& info, const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\") + kLanguageBlock + "\\" + name;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
        value == nullptr)
        return "(none)";
    return std::string(value);
}

BOOL CALLBACK CountName(HMODULE, LPCSTR, LPSTR, LONG_PTR count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

void CheckVersion(const std::string& path, const std::string& fileName, HMODULE module,
                  const Edition& edition) {
    char text[64] = {};
    LoadStringA(module, 1, text, sizeof text);
    unsigned expected[4] = {};
    Check(VersionNumbers(text, expected), "string resource 1 is a version NN.NN.NN", text);

    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    Check(size > 0, "GetFileVersionInfoSizeA", std::to_string(size));
    if (size == 0)
        return;
    std::vector<char> info(size);
    Check(GetFileVersionInfoA(path.c_str(), 0, size, info.data()) != FALSE, "GetFileVersionInfoA");

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) ||
        fixed == nullptr) {
        Check(false, "VS_FIXEDFILEINFO");
        return;
    }
    Check(fixed->dwSignature == VS_FFI_SIGNATURE, "fixed file information signature");
    const unsigned file[4] = {HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                              HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
    const unsigned product[4] = {
        HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
        HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS)};
    Check(Dotted(file) == Dotted(expected), "file version " + Dotted(expected) + " from " + text,
          Dotted(file));
    Check(Dotted(product) == Dotted(expected),
          "product version " + Dotted(expected) + " from " + text, Dotted(product));
    Check(fixed->dwFileType == VFT_APP, "file type application", std::to_string(fixed->dwFileType));

    WORD* translation = nullptr;
    if (!VerQueryValueA(info.data(), "\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translation), &length) ||
        translation == nullptr || length < 4) {
        Check(false, "translation 0411 / 932", "none");
    } else {
        Check(length == 4 && translation[0] == 0x0411 && translation[1] == 932,
              "one translation 0411 / 932",
              std::to_string(length / 4) + " entries, first " + std::to_string(translation[0]) +
                  " / " + std::to_string(translation[1]));
    }

    const std::pair<const char*, std::string> strings[] = {
        {"FileVersion", text},
        {"ProductVersion", text},
        {"ProductName", edition.defaultProductName},
        {"FileDescription", kFileDescription},
        {"OriginalFilename", fileName},
    };
    for (const auto& entry : strings) {
        const std::string value = StringValue(info, entry.first);
        Check(value == entry.second, std::string(entry.first) + " \"" + entry.second + "\"",
              "\"" + value + "\"");
    }
    const std::string copyright = StringValue(info, "LegalCopyright");
    Check(copyright.rfind("Copyright (C) ", 0) == 0, "LegalCopyright", "\"" + copyright + "\"");
}

void CheckManifest(HMODULE module) {
    int count = 0;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(24), CountName, reinterpret_cast<LONG_PTR>(&count));
    Check(count == 1, "one manifest resource", std::to_string(count));
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const char* bytes =
        loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (bytes == nullptr) {
        Check(false, "manifest resource 1", "none");
        return;
    }
    const std::string manifest(bytes, SizeofResource(module, found));
    const auto has = [&](const std::string& part) {
        return manifest.find(part) != std::string::npos;
    };
    Check(has("<requestedExecutionLevel level=\"asInvoker\""), "requestedExecutionLevel asInvoker");
    const std::pair<const char*, const char*> systems[] = {
        {"Windows 7", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"},
        {"Windows 8", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
        {"Windows 8.1", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"},
        {"Windows 10 and 11", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"},
    };
    for (const auto& system : systems)
        Check(has(std::string("<supportedOS Id=\"") + system.second + "\"/>"),
              std::string("supportedOS ") + system.first);
    Check(!has("Common-Controls") && !has("dependentAssembly"),
          "no dependency on common controls version 6");
    Check(has("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true"
              "</dpiAware>"),
          "aware of the system's DPI (dpiAware true)");
    Check(has("<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"),
          "an assembly manifest of version 1.0");
}

} // namespace

int main(int argc, char** argv) {
    const std::pair<const char*, const Edition*> editions[] = {
        {"Ivy", &kEditionIvy}, {"Oak", &kEditionOak}, {"Elm", &kEditionElm}};
    const Edition* edition = nullptr;
    for (const auto& entry : editions)
        if (argc == 2 && std::strcmp(argv[1], entry.first) == 0)
            edition = entry.second;
    if (edition == nullptr) {
        std::fputs("usage: program_resources_wine_check.exe Ivy|Oak|Elm\n", stderr);
        return 2;
    }
    Check(GetACP() == 932, "ANSI code page 932", std::to_string(GetACP()));
    const std::string fileName = std::string(argv[1]) + "Ovw21ToRv16_G.exe";
    const std::string path = ProgramFolder() + fileName;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    Check(module != nullptr, "program " + path + " loaded as data");
    if (module == nullptr)
        return 1;
    CheckVersion(path, fileName, module, *edition);
    CheckManifest(module);
    FreeLibrary(module);
    std::printf("%s: %d failed\n", fileName.c_str(), winecheck::Failures());
    return winecheck::Failures() == 0 ? 0 : 1;
}
