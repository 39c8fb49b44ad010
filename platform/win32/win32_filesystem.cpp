#include "win32_filesystem.h"

#include "platform/program_folder.h"

#include <io.h>
#include <memory>
#include <vector>
#include <windows.h>

namespace platform {

namespace {

// Closes a file handle at the end of its scope, also when the scope is left by an exception.
struct HandleCloser {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(handle);
    }
};
using UniqueHandle = std::unique_ptr<void, HandleCloser>;

class Win32OutputFile : public OutputFile {
  public:
    Win32OutputFile() = default;
    ~Win32OutputFile() override { Close(); }
    Win32OutputFile(const Win32OutputFile&) = delete;
    Win32OutputFile& operator=(const Win32OutputFile&) = delete;

    bool Write(const char* data, std::size_t size) override {
        if (file_ == INVALID_HANDLE_VALUE || failed_)
            return false;
        while (size > 0) {
            DWORD written = 0;
            const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
            if (!::WriteFile(file_, data, chunk, &written, nullptr) || written == 0) {
                Fail();
                return false;
            }
            data += written;
            size -= written;
        }
        return true;
    }

    bool Close() override {
        if (file_ == INVALID_HANDLE_VALUE)
            return !failed_;
        if (!failed_ && !::FlushFileBuffers(file_))
            Fail();
        if (!::CloseHandle(file_))
            Fail();
        file_ = INVALID_HANDLE_VALUE;
        return !failed_;
    }

    unsigned long Error() const override { return error_; }

    // The file it writes, opened after the object was made.
    void Adopt(HANDLE file) { file_ = file; }

  private:
    void Fail() {
        if (!failed_) {
            // A write that wrote nothing without an error is a full disk.
            const DWORD error = ::GetLastError();
            error_ = error != ERROR_SUCCESS ? error : ERROR_DISK_FULL;
        }
        failed_ = true;
    }

    HANDLE file_ = INVALID_HANDLE_VALUE;
    unsigned long error_ = 0;
    bool failed_ = false;
};

} // namespace

bool Win32FileSystem::Failed() {
    lastError_ = ::GetLastError();
    return false;
}

std::string Win32FileSystem::ProgramFolder() {
    return ProgramFolderOfProcess();
}

std::string Win32FileSystem::CurrentDirectory() {
    const DWORD n = ::GetCurrentDirectoryA(0, nullptr);
    std::string dir(n, '\0');
    const DWORD got = ::GetCurrentDirectoryA(n, &dir[0]);
    dir.resize(got);
    return dir;
}

bool Win32FileSystem::ChangeDirectory(const std::string& path) {
    return ::SetCurrentDirectoryA(path.c_str()) != FALSE || Failed();
}

std::string Win32FileSystem::TempFolder() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathA(sizeof buffer, buffer);
    return std::string(buffer, n <= MAX_PATH ? n : 0);
}

bool Win32FileSystem::Exists(const std::string& path) {
    return ::_access(path.c_str(), 0) == 0;
}

bool Win32FileSystem::CanReadWrite(const std::string& path) {
    return ::_access(path.c_str(), 6) == 0;
}

bool Win32FileSystem::DirectoryExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

DriveType Win32FileSystem::DriveTypeOf(const std::string& root) {
    return static_cast<DriveType>(::GetDriveTypeA(root.c_str()));
}

bool Win32FileSystem::MakeDirectory(const std::string& path) {
    return ::CreateDirectoryA(path.c_str(), nullptr) != FALSE || Failed();
}

bool Win32FileSystem::RemoveFolder(const std::string& path) {
    return ::RemoveDirectoryA(path.c_str()) != FALSE || Failed();
}

bool Win32FileSystem::ReadFile(const std::string& path, std::string& bytes) {
    const UniqueHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        return Failed();
    bytes.clear();
    std::vector<char> buffer(65536);
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got,
                        nullptr))
            return Failed();
        if (got == 0)
            return true;
        bytes.append(buffer.data(), got);
    }
}

std::unique_ptr<OutputFile> Win32FileSystem::OpenOutput(const std::string& path,
                                                        unsigned long disposition) {
    // Made before the file is opened: without memory for it, no file is created or truncated.
    auto output = std::make_unique<Win32OutputFile>();
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Failed();
        return nullptr;
    }
    output->Adopt(file);
    return output;
}

std::unique_ptr<OutputFile> Win32FileSystem::OpenForWrite(const std::string& path) {
    return OpenOutput(path, CREATE_ALWAYS);
}

std::unique_ptr<OutputFile> Win32FileSystem::CreateNewFile(const std::string& path) {
    return OpenOutput(path, CREATE_NEW);
}

bool Win32FileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    return ::MoveFileExA(from.c_str(), to.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE ||
           Failed();
}

bool Win32FileSystem::DeleteFileAt(const std::string& path) {
    return ::DeleteFileA(path.c_str()) != FALSE || Failed();
}

unsigned long Win32FileSystem::ProcessId() {
    return ::GetCurrentProcessId();
}

void Win32FileSystem::DebugOutput(const std::string& text) {
    ::OutputDebugStringA((text + "\n").c_str());
}

std::string Win32FileSystem::ReadProfileString(const std::string& section, const std::string& key,
                                               const std::string& defaultValue, std::size_t size,
                                               const std::string& path) {
    std::vector<char> buffer(size + 1, '\0');
    const DWORD n =
        ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                   buffer.data(), static_cast<DWORD>(size), path.c_str());
    // The count may take in the lead byte of a double-byte character that did not fit and was
    // not copied: the answer is the text up to the NUL.
    return std::string(buffer.data(), ::strnlen(buffer.data(), n));
}

} // namespace platform
