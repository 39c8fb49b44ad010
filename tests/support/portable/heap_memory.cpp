#include "support/portable/heap_memory.h"

#include <new>
#include <vector>

namespace platform {

namespace {

class HeapBlock : public MemoryBlock {
  public:
    explicit HeapBlock(std::size_t size) : bytes_(size) {}
    unsigned char* data() override { return bytes_.data(); }
    std::size_t size() const override { return bytes_.size(); }

  private:
    std::vector<unsigned char> bytes_;
};

} // namespace

std::unique_ptr<MemoryBlock> HeapMemory::AllocateZeroed(std::size_t size) {
    try {
        return std::make_unique<HeapBlock>(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace platform
