// Win32 forwarders of the platform's text and resource services.
#pragma once

#include "platform/memory.h"
#include "platform/resources.h"
#include "platform/text.h"

namespace platform {

class Win32TextMapping : public TextMapping {
  public:
    std::string ToFullWidth(const std::string& text) override;
};

class Win32StringResources : public StringResources {
  public:
    std::string Load(unsigned id) override;
};

class Win32GlobalMemory : public GlobalMemory {
  public:
    std::unique_ptr<MemoryBlock> AllocateZeroed(std::size_t size) override;
};

} // namespace platform
