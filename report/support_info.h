// The host product's name and version from the host installation's support-information file
// "SUPPORT.INF" in the current directory (the program's folder).
#pragma once

#include "platform/desktop.h"
#include "platform/filesystem.h"
#include "platform/memory.h"

#include <cstddef>
#include <memory>
#include <string>

class ClSupportInfo {
  public:
    static constexpr std::size_t kBlockSize = 30000;

    ClSupportInfo(platform::FileSystem& files, platform::GlobalMemory& memory,
                  platform::Desktop& desktop)
        : files_(files), memory_(memory), desktop_(desktop) {}

    // The text after texts::kProductNameKey and texts::kProductVersionKey up to the end of its
    // line; empty when the file or the key is absent. The file is read once, at the first lookup.
    std::string GetProductName();
    std::string GetProductVersion();

  private:
    void Load();
    std::string Lookup(const std::string& key);

    platform::FileSystem& files_;
    platform::GlobalMemory& memory_;
    platform::Desktop& desktop_;
    bool loaded_ = false;
    // The first kBlockSize bytes of the file, CR LF and 0x1A turned into NUL, filler 0xFF.
    std::unique_ptr<platform::MemoryBlock> block_;
    std::size_t bytesRead_ = 0;
};
