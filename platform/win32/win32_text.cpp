#include "win32_text.h"

#include <vector>
#include <windows.h>

namespace platform {

namespace {

class GlobalBlock : public MemoryBlock {
  public:
    GlobalBlock(HGLOBAL handle, void* locked, std::size_t size)
        : handle_(handle), locked_(static_cast<unsigned char*>(locked)), size_(size) {}
    ~GlobalBlock() override {
        ::GlobalUnlock(handle_);
        ::GlobalFree(handle_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;

    unsigned char* data() override { return locked_; }
    std::size_t size() const override { return size_; }

  private:
    HGLOBAL handle_;
    unsigned char* locked_;
    std::size_t size_;
};

} // namespace

std::string Win32TextMapping::ToFullWidth(const std::string& text) {
    if (text.empty())
        return text;
    const int length = static_cast<int>(text.size());
    const int needed =
        ::LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_FULLWIDTH, text.data(), length, nullptr, 0);
    if (needed <= 0)
        return text;
    std::string out(static_cast<std::size_t>(needed), '\0');
    const int written = ::LCMapStringA(LOCALE_SYSTEM_DEFAULT, LCMAP_FULLWIDTH, text.data(), length,
                                       &out[0], needed);
    out.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return out;
}

std::string Win32StringResources::Load(unsigned id) {
    std::vector<char> buffer(256);
    for (;;) {
        const int n = ::LoadStringA(::GetModuleHandleA(nullptr), id, buffer.data(),
                                    static_cast<int>(buffer.size()));
        if (n <= 0)
            return std::string();
        // A text that filled the buffer may have been cut: try again with more room.
        if (static_cast<std::size_t>(n) + 1 < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 2);
    }
}

std::unique_ptr<MemoryBlock> Win32GlobalMemory::AllocateZeroed(std::size_t size) {
    HGLOBAL handle = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (handle == nullptr)
        return nullptr;
    void* locked = ::GlobalLock(handle);
    if (locked == nullptr) {
        ::GlobalFree(handle);
        return nullptr;
    }
    try {
        return std::make_unique<GlobalBlock>(handle, locked, size);
    } catch (...) {
        // No memory for the object that holds the block: the block goes back at once.
        ::GlobalUnlock(handle);
        ::GlobalFree(handle);
        throw;
    }
}

} // namespace platform
