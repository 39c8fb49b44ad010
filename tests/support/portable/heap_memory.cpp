#include "support/portable/heap_memory.h"

#include "support/portable/uncounted.h"

#include <new>
#include <utility>
#include <vector>

namespace platform {

namespace {

class HeapBlock : public MemoryBlock {
  public:
    explicit HeapBlock(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}
    unsigned char* data() override { return bytes_.data(); }
    std::size_t size() const override { return bytes_.size(); }

  private:
    std::vector<unsigned char> bytes_;
};

} // namespace

// The bytes stand for the system's global memory, which answers a lack of it with no block; the
// object that holds them is the program's own, as on Windows.
std::unique_ptr<MemoryBlock> HeapMemory::AllocateZeroed(std::size_t size) {
    std::vector<unsigned char> bytes;
    try {
        const testsupport::UncountedScope uncounted;
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return std::make_unique<HeapBlock>(std::move(bytes));
}

} // namespace platform
