// The few services of the system that the checker needs: its files, its folder, paths and the
// console. One implementation for Windows (system_win32.cpp), one for Linux (system_posix.cpp).
#pragma once

#include "platform/status.h"

#include <memory>
#include <string>
#include <vector>

namespace checker {

// The files the checker reads and writes. Tests put one of their own in its place.
class FileAccess {
  public:
    virtual ~FileAccess() = default;
    // The whole file when it has at most limit bytes, else its first limit + 1 bytes: enough to
    // tell that it is too large, and never more in memory. Fails with no data when there is no
    // such file, else with the I/O error.
    virtual platform::Status ReadWhole(const std::string& path, std::string& bytes,
                                       std::size_t limit) = 0;
    // Whether two paths name the same file (false when either names none).
    virtual bool SameFile(const std::string& one, const std::string& other) = 0;
    // Whether path names a folder.
    virtual bool IsFolder(const std::string& path) = 0;
    // The names of the files (not the folders) in a folder, in no particular order.
    virtual platform::Status ListFiles(const std::string& folder,
                                       std::vector<std::string>& names) = 0;
    // Puts bytes at path whole or not at all: a new temporary file beside it, written and
    // flushed to the disk, replaces the file only when complete; after a failure the file is as
    // it was and no temporary file is left.
    virtual platform::Status WriteWhole(const std::string& path, const std::string& bytes) = 0;
};

std::unique_ptr<FileAccess> SystemFileAccess();

// The folder of the running program, with a trailing separator.
std::string ProgramFolder();
// A command-line argument or a path as UTF-8 text, for messages.
std::string ArgumentToUtf8(const std::string& argument);
// The terminal takes the UTF-8 bytes as they are written.
void PrepareConsole();
// The path of a file in a folder.
std::string InFolder(const std::string& folder, const std::string& name);
// Where the name of the file starts in a path (after its last separator).
std::size_t NameStart(const std::string& path);

} // namespace checker
