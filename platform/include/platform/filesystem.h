// The file-system services that the portable code calls, after the Win32 calls they stand for.
// Paths are Shift_JIS bytes. Win32 forwards to the system; tests use an in-memory model.
#pragma once

#include <memory>
#include <string>

namespace platform {

// GetDriveType results.
enum DriveType : unsigned {
    kDriveUnknown = 0,
    kDriveNoRootDir = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdRom = 5,
    kDriveRamDisk = 6,
};

// A file open for writing; Close reports whether every byte reached the file, and reached the
// disk: it flushes the system's buffers before the file is closed, so that a file put in place
// of another after Close never stands over data still in memory.
class OutputFile {
  public:
    virtual ~OutputFile() = default;
    virtual bool Write(const char* data, std::size_t size) = 0;
    virtual bool Close() = 0;
    // The system error of the first Write or Close that failed; 0 while none has failed.
    virtual unsigned long Error() const = 0;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Folder of the running program, with a trailing backslash.
    virtual std::string ProgramFolder() = 0;
    virtual std::string CurrentDirectory() = 0;
    virtual bool ChangeDirectory(const std::string& path) = 0;
    // The system's temporary folder, with a trailing backslash.
    virtual std::string TempFolder() = 0;

    // _access(path, 0) == 0: a file or a folder exists there.
    virtual bool Exists(const std::string& path) = 0;
    virtual bool DirectoryExists(const std::string& path) = 0;
    // _access(path, 6) == 0: a file or a folder exists there and may be read and written.
    virtual bool CanReadWrite(const std::string& path) = 0;
    virtual DriveType DriveTypeOf(const std::string& root) = 0;
    virtual bool MakeDirectory(const std::string& path) = 0;
    virtual bool RemoveFolder(const std::string& path) = 0;

    // Reads a whole file; false when it cannot be opened or read.
    virtual bool ReadFile(const std::string& path, std::string& bytes) = 0;
    // Creates or truncates a file; null when it cannot be opened.
    virtual std::unique_ptr<OutputFile> OpenForWrite(const std::string& path) = 0;
    // Creates a file where nothing is (CREATE_NEW); null when a file or folder is there or it
    // cannot be created.
    virtual std::unique_ptr<OutputFile> CreateNewFile(const std::string& path) = 0;
    // Puts from in place of to (replacing an existing file) in one step.
    virtual bool MoveReplacing(const std::string& from, const std::string& to) = 0;
    virtual bool DeleteFileAt(const std::string& path) = 0;

    // The system error (GetLastError) of the latest call of this object that failed; 0 while
    // none has failed. The files it opened keep their own (OutputFile::Error).
    virtual unsigned long LastError() = 0;

    // The running process's ID, which makes the names of its temporary files its own.
    virtual unsigned long ProcessId() = 0;
    // A line for the debugger's output (OutputDebugString): what could not be cleaned up.
    virtual void DebugOutput(const std::string& text) = 0;

    // GetPrivateProfileStringA: the value copied into a buffer of size bytes (so at most
    // size - 1 bytes), or defaultValue when the section or key is absent.
    virtual std::string ReadProfileString(const std::string& section, const std::string& key,
                                          const std::string& defaultValue, std::size_t size,
                                          const std::string& path) = 0;
};

} // namespace platform
