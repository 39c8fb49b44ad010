// Blocks of the system's movable global memory, locked for as long as the block object lives.
#pragma once

#include <cstddef>
#include <memory>

namespace platform {

class MemoryBlock {
  public:
    virtual ~MemoryBlock() = default;
    virtual unsigned char* data() = 0;
    virtual std::size_t size() const = 0;
};

class GlobalMemory {
  public:
    virtual ~GlobalMemory() = default;
    // GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT) and GlobalLock: a zero-filled block, null when
    // the system has no memory to give. The block is unlocked and freed when destroyed.
    virtual std::unique_ptr<MemoryBlock> AllocateZeroed(std::size_t size) = 0;
};

} // namespace platform
