#include "checker/system.h"

#include "checker/text_decode.h"
#include "platform/sjis.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <memory>
#include <windows.h>

namespace checker {

namespace {

// Closes a file handle at the end of its scope.
struct HandleCloser {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

platform::Status Failed(const char* step, const std::string& path) {
    const DWORD error = ::GetLastError();
    return platform::Status::Io(step, error != ERROR_SUCCESS ? error : ERROR_DISK_FULL, path);
}

class Win32FileAccess : public FileAccess {
  public:
    platform::Status ReadWhole(const std::string& path, std::string& bytes) override {
        UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.get() == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
                return platform::Status::NoData("open", error);
            return platform::Status::Io("open", error, path);
        }
        std::string read;
        char buffer[65536];
        DWORD got = 0;
        for (;;) {
            if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr))
                return Failed("read", path);
            if (got == 0)
                break;
            read.append(buffer, got);
        }
        bytes = std::move(read);
        return {};
    }

    bool IsFolder(const std::string& path) override {
        const DWORD attributes = ::GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    platform::Status ListFiles(const std::string& folder,
                               std::vector<std::string>& names) override {
        WIN32_FIND_DATAA data{};
        const HANDLE find = ::FindFirstFileA(InFolder(folder, "*").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE)
            return Failed("list-folder", folder);
        std::vector<std::string> found;
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                found.push_back(data.cFileName);
        } while (::FindNextFileA(find, &data));
        const DWORD error = ::GetLastError();
        ::FindClose(find);
        if (error != ERROR_NO_MORE_FILES)
            return platform::Status::Io("list-folder", error, folder);
        names = std::move(found);
        return {};
    }

    platform::Status WriteWhole(const std::string& path, const std::string& bytes) override {
        const std::string temporary = path.substr(0, NameStart(path)) + "~ovwcheck" +
                                      std::to_string(::GetCurrentProcessId()) + ".tmp";
        platform::Status status;
        {
            UniqueHandle file(::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file.get() == INVALID_HANDLE_VALUE)
                return Failed("create-temporary", temporary);
            std::size_t done = 0;
            while (done < bytes.size() && status.ok()) {
                DWORD wrote = 0;
                const DWORD chunk =
                    static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
                if (!::WriteFile(file.get(), bytes.data() + done, chunk, &wrote, nullptr) ||
                    wrote == 0)
                    status = Failed("write-page", path);
                done += wrote;
            }
            if (status.ok() && !::FlushFileBuffers(file.get()))
                status = Failed("write-page", path);
        }
        if (status.ok() && !::MoveFileExA(temporary.c_str(), path.c_str(),
                                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            status = Failed("replace-page", path);
        if (!status.ok())
            ::DeleteFileA(temporary.c_str());
        return status;
    }
};

} // namespace

std::unique_ptr<FileAccess> SystemFileAccess() {
    return std::make_unique<Win32FileAccess>();
}

std::string ProgramFolder() {
    std::string path(MAX_PATH, '\0');
    const DWORD length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size())
        return ".\\";
    path.resize(length);
    const std::size_t start = NameStart(path);
    return start == 0 ? ".\\" : path.substr(0, start);
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

// After the last separator that is not the second byte of a double-byte character.
std::size_t NameStart(const std::string& path) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (platform::IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size())
            ++i;
        else if (path[i] == '\\' || path[i] == '/' || (i == 1 && path[i] == ':'))
            start = i + 1;
    }
    return start;
}

} // namespace checker
