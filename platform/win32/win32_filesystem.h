// Win32 forwarders of the platform's file-system services.
#pragma once

#include "platform/filesystem.h"

namespace platform {

class Win32FileSystem : public FileSystem {
  public:
    std::string ProgramFolder() override;
    std::string CurrentDirectory() override;
    bool ChangeDirectory(const std::string& path) override;
    std::string TempFolder() override;
    bool Exists(const std::string& path) override;
    bool DirectoryExists(const std::string& path) override;
    bool CanReadWrite(const std::string& path) override;
    DriveType DriveTypeOf(const std::string& root) override;
    bool MakeDirectory(const std::string& path) override;
    bool RemoveFolder(const std::string& path) override;
    bool ReadFile(const std::string& path, std::string& bytes) override;
    std::unique_ptr<OutputFile> OpenForWrite(const std::string& path) override;
    std::unique_ptr<OutputFile> CreateNewFile(const std::string& path) override;
    bool MoveReplacing(const std::string& from, const std::string& to) override;
    bool DeleteFileAt(const std::string& path) override;
    unsigned long LastError() override { return lastError_; }
    unsigned long ProcessId() override;
    void DebugOutput(const std::string& text) override;
    std::string ReadProfileString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue, std::size_t size,
                                  const std::string& path) override;

  private:
    // Takes GetLastError of the call that has just failed; returns false.
    bool Failed();
    std::unique_ptr<OutputFile> OpenOutput(const std::string& path, unsigned long disposition);

    unsigned long lastError_ = 0;
};

} // namespace platform
