// Global memory from the C++ heap, for tests that run without the system's global memory.
#pragma once

#include "platform/memory.h"

namespace platform {

class HeapMemory : public GlobalMemory {
  public:
    std::unique_ptr<MemoryBlock> AllocateZeroed(std::size_t size) override;
};

} // namespace platform
