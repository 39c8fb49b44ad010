// Checks under Wine that the portable private-profile reader answers as the system's
// GetPrivateProfileStringA does, over ini files in a folder whose name ends in 表 (95 5C), and
// that the environment check finds and reads "QuorinDef.ini" there.
// Console program; exit status 0 when every check passed.
#include "app/environment_check.h"
#include "support/fake_host.h"
#include "support/portable/profile.h"
#include "tests/wine/wine_check.h"
#include "win32_filesystem.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

using winecheck::Check;
using winecheck::HexBytes;

bool WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    return ::CloseHandle(file) && ok;
}

struct Case {
    const char* name;
    std::string text;
    // Length of a quoted value without its quotes; 0 when the value is not quoted.
    std::size_t quotedLength = 0;
};

void CheckReader(platform::Win32FileSystem& files, const std::string& folder) {
    using namespace std::string_literals;
    const Case cases[] = {
        {"plain", "[ProgramLevel]\r\nRV16_G=3\r\n"},
        {"case and blanks", "  [ programlevel ]  \r\n\t rv16_g \t=  3 ; comment \t\r\n"},
        {"empty value", "[ProgramLevel]\r\nRV16_G=\r\n"},
        {"second '='", "[ProgramLevel]\r\nRV16_G=a=b\r\n"},
        {"no section", "RV16_G=3\r\n"},
        {"key without '='", "[ProgramLevel]\r\nRV16_G\r\n"},
        {"comment line", "[ProgramLevel]\r\n;RV16_G=3\r\n"},
        {"first key", "[ProgramLevel]\r\nRV16_G=2\r\nRV16_G=3\r\n"},
        {"first section", "[ProgramLevel]\r\nX=1\r\n[ProgramLevel]\r\nRV16_G=3\r\n"},
        {"double quotes", "[ProgramLevel]\r\nRV16_G=\"3\"\r\n", 1},
        {"single quotes", "[ProgramLevel]\r\nRV16_G='3'\r\n", 1},
        {"unpaired quotes", "[ProgramLevel]\r\nRV16_G=\"3'\r\n"},
        {"quoted blanks", "[ProgramLevel]\nRV16_G = \"  3  \" \n", 5},
        {"long value", "[ProgramLevel]\r\nRV16_G=0123456789ABCDEFGH\r\n"},
        {"double-byte end", "[ProgramLevel]\nRV16_G=0123456789012表\n"},
        {"text after ']'", "[ProgramLevel] junk\nRV16_G=5\n"},
        {"no ']'", "[ProgramLevel\nRV16_G=5\n"},
        {"two ']'", "[ProgramLevel]]\nRV16_G=6\n"},
        {"CR line ends", "[ProgramLevel]\rRV16_G=8\r"},
        {"byte-order mark", "\xEF\xBB\xBF[ProgramLevel]\nRV16_G=9\n"},
        {"NUL in value", "[ProgramLevel]\nRV16_G=3\0junk\n"s},
        {"double-byte names", "[ゾ]\r\nア=表\r\n[ProgramLevel]\r\nRV16_G=7\r\n"},
    };
    const std::string path = folder + "QuorinDef.ini";
    for (const Case& c : cases) {
        if (!WriteBytes(path, c.text)) {
            Check(false, std::string("write ") + c.name);
            continue;
        }
        const std::string keys[][2] = {{"ProgramLevel", "RV16_G"}, {"ゾ", "ア"}, {"ゾ", "ヂ"}};
        for (const auto& key : keys) {
            for (const std::size_t size : {16, 2, 1}) {
                const std::string system = files.ReadProfileString(key[0], key[1], "1", size, path);
                const std::string portable =
                    platform::ReadProfileStringFromText(c.text, key[0], key[1], "1", size);
                if (c.quotedLength != 0 && size == c.quotedLength + 1 && key[1] == "RV16_G") {
                    // Wine cuts the value before its closing quote and then drops the last
                    // character it kept as if it were that quote; the portable reader keeps it.
                    std::printf("note %s size %u: system %s portable %s\n", c.name,
                                static_cast<unsigned>(size), HexBytes(system).c_str(),
                                HexBytes(portable).c_str());
                    continue;
                }
                Check(system == portable,
                      std::string(c.name) + " " + key[1] + " size " + std::to_string(size),
                      "system " + HexBytes(system) + " portable " + HexBytes(portable));
            }
        }
    }
}

void CheckEnvironmentThere(platform::Win32FileSystem& files, const std::string& folder) {
    const std::string previous = files.CurrentDirectory();
    // The current directory without a trailing separator ends in the trail byte 5C of 表.
    files.ChangeDirectory(folder.substr(0, folder.size() - 1));
    const std::string current = files.CurrentDirectory();
    Check(current.size() >= 2 && current.compare(current.size() - 2, 2, "表") == 0,
          "current directory ends in 表", current);
    const auto check = [&files] {
        testsupport::FakeHost host;
        return platform::LogLine(CheckEnvironment(host, files, nullptr, 0));
    };
    WriteBytes(folder + kDefinitionFileName, "[ProgramLevel]\r\nRV16_G=4\r\n");
    Check(check() == "range-refused step=definition-level value=4",
          "level 4 read from the 表 folder", check());
    WriteBytes(folder + kDefinitionFileName, "[ProgramLevel]\r\nRV16_G=3\r\n");
    Check(check() == "ok", "level 3 read from the 表 folder", check());
    ::DeleteFileA((folder + kDefinitionFileName).c_str());
    Check(check().rfind("bad-file step=definition-file", 0) == 0, "no definition file", check());
    files.ChangeDirectory(previous);
}

} // namespace

int main() {
    Check(::GetACP() == 932, "code page 932", std::to_string(::GetACP()));
    if (::GetACP() != 932)
        return 1;
    platform::Win32FileSystem files;
    const std::string base =
        files.TempFolder() + "ovw_profile_" + std::to_string(::GetCurrentProcessId()) + "\\";
    const std::string folder = base + "決算表\\";
    if (!::CreateDirectoryA(base.c_str(), nullptr) ||
        !::CreateDirectoryA(folder.c_str(), nullptr)) {
        Check(false, "folder " + folder);
        return 1;
    }
    CheckReader(files, folder);
    CheckEnvironmentThere(files, folder);
    ::DeleteFileA((folder + "QuorinDef.ini").c_str());
    ::RemoveDirectoryA(folder.c_str());
    ::RemoveDirectoryA(base.c_str());
    std::printf("%d failed\n", winecheck::Failures());
    return winecheck::Failures() == 0 ? 0 : 1;
}
