// The checker's files and console on Windows: the platform's own Win32 file system, and the
// program's way of replacing a file (a new temporary file beside it, written, flushed, moved).
#include "checker/system.h"

#include "checker/text_decode.h"
#include "platform/program_folder.h"
#include "platform/sjis.h"
#include "settings/file_replacement.h"
#include "win32_filesystem.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace checker {

namespace {

class Win32FileAccess : public FileAccess {
  public:
    platform::Status ReadWhole(const std::string& path, std::string& bytes,
                               std::size_t limit) override {
        const HANDLE file =
            ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                return platform::Status::NoData("open", static_cast<long long>(error));
            return platform::Status::Io("open", error, path);
        }
        std::string read;
        char buffer[65536];
        DWORD error = 0;
        while (read.size() <= limit) {
            DWORD got = 0;
            const auto want = static_cast<DWORD>(std::min(sizeof buffer, limit + 1 - read.size()));
            if (!::ReadFile(file, buffer, want, &got, nullptr)) {
                error = ::GetLastError();
                break;
            }
            if (got == 0)
                break;
            read.append(buffer, got);
        }
        if (!::CloseHandle(file) && error == 0)
            error = ::GetLastError();
        if (error != 0)
            return platform::Status::Io("read", error, path);
        bytes = std::move(read);
        return {};
    }

    bool SameFile(const std::string& one, const std::string& other) override {
        BY_HANDLE_FILE_INFORMATION first{};
        BY_HANDLE_FILE_INFORMATION second{};
        return Identify(one, first) && Identify(other, second) &&
               first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
               first.nFileIndexHigh == second.nFileIndexHigh &&
               first.nFileIndexLow == second.nFileIndexLow;
    }

    bool IsFolder(const std::string& path) override { return system_.DirectoryExists(path); }

    platform::Status ListFiles(const std::string& folder,
                               std::vector<std::string>& names) override {
        WIN32_FIND_DATAA data{};
        const HANDLE find = ::FindFirstFileA(InFolder(folder, "*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return platform::Status::Io("list-folder", ::GetLastError(), folder);
        std::vector<std::string> found;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                found.push_back(data.cFileName);
        } while (::FindNextFileA(find, &data));
        DWORD error = ::GetLastError();
        if (!::FindClose(find) && error == ERROR_NO_MORE_FILES)
            error = ::GetLastError();
        if (error != ERROR_NO_MORE_FILES)
            return platform::Status::Io("list-folder", error, folder);
        names = std::move(found);
        return {};
    }

    platform::Status WriteWhole(const std::string& path, const std::string& bytes) override {
        FileReplacement replacement(system_, path);
        return replacement.WriteWhole(bytes, "write-page");
    }

  private:
    // The volume and the index of the file at path.
    static bool Identify(const std::string& path, BY_HANDLE_FILE_INFORMATION& information) {
        const HANDLE file =
            ::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        const bool known = ::GetFileInformationByHandle(file, &information) != FALSE;
        ::CloseHandle(file);
        return known;
    }

    platform::Win32FileSystem system_;
};

} // namespace

std::unique_ptr<FileAccess> SystemFileAccess() {
    return std::make_unique<Win32FileAccess>();
}

std::string ProgramFolder() {
    const std::string folder = platform::ProgramFolderOfProcess();
    return folder.empty() ? ".\\" : folder;
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

// After the last separator ('/' is never the second byte of a double-byte character, '\' may be)
// or the drive's colon.
std::size_t NameStart(const std::string& path) {
    const std::size_t backslash = platform::FindLastSingleByte(path, '\\');
    const std::size_t slash = path.rfind('/');
    std::size_t start = path.size() >= 2 && path[1] == ':' ? 2 : 0;
    for (const std::size_t separator : {backslash, slash}) {
        if (separator != std::string::npos)
            start = std::max(start, separator + 1);
    }
    return start;
}

} // namespace checker
