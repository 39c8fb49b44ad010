// Fuzz target of the support-information reader: any file gives two values that lie within the
// first 30000 bytes, hold no line end or NUL, and never show the filler after the bytes read.
#include "report/support_info.h"
#include "support/portable/heap_memory.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// A program folder that holds nothing but "SUPPORT.INF".
class OneFile : public platform::FileSystem {
  public:
    explicit OneFile(std::string bytes) : bytes_(std::move(bytes)) {}
    std::string ProgramFolder() override { return "C:\\Program\\"; }
    std::string CurrentDirectory() override { return "C:\\Program"; }
    bool ChangeDirectory(const std::string&) override { return false; }
    std::string TempFolder() override { return "C:\\Temp\\"; }
    bool Exists(const std::string& path) override { return path == "SUPPORT.INF"; }
    bool DirectoryExists(const std::string&) override { return false; }
    bool CanReadWrite(const std::string&) override { return false; }
    platform::DriveType DriveTypeOf(const std::string&) override { return platform::kDriveFixed; }
    bool MakeDirectory(const std::string&) override { return false; }
    bool RemoveFolder(const std::string&) override { return false; }
    bool ReadFile(const std::string& path, std::string& bytes) override {
        if (path != "SUPPORT.INF")
            return false;
        bytes = bytes_;
        return true;
    }
    std::unique_ptr<platform::OutputFile> OpenForWrite(const std::string&) override {
        return nullptr;
    }
    std::unique_ptr<platform::OutputFile> CreateNewFile(const std::string&) override {
        return nullptr;
    }
    bool MoveReplacing(const std::string&, const std::string&) override { return false; }
    bool DeleteFileAt(const std::string&) override { return false; }
    unsigned long LastError() override { return 0; }
    unsigned long ProcessId() override { return 1; }
    void DebugOutput(const std::string&) override {}
    std::string ReadProfileString(const std::string&, const std::string&,
                                  const std::string& defaultValue, std::size_t,
                                  const std::string&) override {
        return defaultValue;
    }

  private:
    std::string bytes_;
};

class NoDesktop : public platform::Desktop {
  public:
    int ShowMessage(platform::WindowHandle, const std::string&, const std::string&,
                    unsigned) override {
        std::abort(); // memory never runs out here
    }
    void EnableWindow(platform::WindowHandle, bool) override {}
    void Post(platform::WindowHandle, unsigned, std::intptr_t, std::intptr_t) override {}
    void SetForegroundWindow(platform::WindowHandle) override {}
    void BeginWaitCursor() override {}
    void RestoreWaitCursor() override {}
    void EndWaitCursor() override {}
};

void CheckValue(const std::string& value) {
    if (value.size() >= ClSupportInfo::kBlockSize)
        std::abort();
    for (char c : value)
        if (c == '\0' || c == '\n' || c == '\x1A' || c == '\xFF')
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // 0xFF is the filler of the block: a value may hold it only when the file did.
    const bool fileHasFiller = bytes.find('\xFF') != std::string::npos;
    OneFile files(bytes);
    platform::HeapMemory memory;
    NoDesktop desktop;
    ClSupportInfo info(files, memory, desktop);
    const std::string name = info.GetProductName();
    const std::string version = info.GetProductVersion();
    if (!fileHasFiller) {
        CheckValue(name);
        CheckValue(version);
    } else if (name.find('\n') != std::string::npos || version.find('\n') != std::string::npos) {
        std::abort();
    }
    return 0;
}
