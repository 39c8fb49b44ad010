// A file replaced whole or not at all. The new content goes to a temporary file of this process
// beside the target (CreateTemporaryBeside), which the writer closes (flushing it) and which
// then takes the target's place in one move. Until that move the target stays as it was; a
// replacement that fails, or that is abandoned without Commit (an exception on the way),
// removes its temporary file and the folders it made, trying each removal twice and naming in
// the debugger output what it could not remove.
#pragma once

#include "platform/filesystem.h"
#include "platform/status.h"

#include <memory>
#include <string>
#include <vector>

class FileReplacement {
  public:
    FileReplacement(platform::FileSystem& files, std::string target);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Makes the missing folders of the target's chain (removed again unless the replacement is
    // committed).
    [[nodiscard]] platform::Status MakeFolders();
    // Creates the temporary file into file. Refused when the target's folder is too long to hold
    // a name beside it (range refused) or the system refuses every name (io, its error).
    [[nodiscard]] platform::Status Create(std::unique_ptr<platform::OutputFile>& file);
    // The temporary file's path; empty before Create or when its folder was too long.
    const std::string& temporary() const { return temporary_; }
    // Moves the temporary file, created and closed by the writer, over the target.
    [[nodiscard]] platform::Status Commit();
    // Create, bytes written whole, the file closed (flushed) whatever the write gave, Commit: a
    // write or a close that fails is io with step and the temporary file's path.
    [[nodiscard]] platform::Status WriteWhole(const std::string& bytes, const char* step);

  private:
    void RollBack() noexcept;

    platform::FileSystem& files_;
    std::string target_;
    std::string temporary_;
    std::vector<std::string> madeFolders_;
    bool created_ = false;
    bool committed_ = false;
};
