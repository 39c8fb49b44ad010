#include "report/support_info.h"

#include "platform/sjis.h"
#include "texts/catalogue.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

const char kFileName[] = "SUPPORT.INF";

constexpr unsigned char kEndOfFile = 0x1A;

} // namespace

std::string ClSupportInfo::GetProductName() {
    return Lookup(texts::kProductNameKey);
}

std::string ClSupportInfo::GetProductVersion() {
    return Lookup(texts::kProductVersionKey);
}

void ClSupportInfo::Load() {
    if (loaded_)
        return;
    loaded_ = true;
    block_ = memory_.AllocateZeroed(kBlockSize);
    if (block_ == nullptr) {
        desktop_.ShowMessage(nullptr, texts::kOutOfMemoryMessage, texts::kAppTitle,
                             platform::kMbOk | platform::kMbIconExclamation);
        return;
    }
    unsigned char* bytes = block_->data();
    std::memset(bytes, 0xFF, kBlockSize);
    std::string file;
    if (!files_.ReadFile(kFileName, file))
        return;
    bytesRead_ = std::min(file.size(), kBlockSize);
    std::memcpy(bytes, file.data(), bytesRead_);
    for (std::size_t i = 0; i < kBlockSize; ++i) {
        if (bytes[i] == '\r' && i + 1 < kBlockSize && bytes[i + 1] == '\n') {
            bytes[i] = '\0';
            bytes[++i] = '\0';
        } else if (bytes[i] == kEndOfFile) {
            bytes[i] = '\0';
        }
    }
}

std::string ClSupportInfo::Lookup(const std::string& key) {
    Load();
    if (block_ == nullptr || bytesRead_ < key.size())
        return std::string();
    const char* begin = reinterpret_cast<const char*>(block_->data());
    const char* end = begin + bytesRead_;
    const char* found = std::search(begin, end, key.begin(), key.end());
    if (found == end)
        return std::string();
    // The value is the rest of its line: it ends at CR LF (now NUL NUL), a bare LF, a NUL or the
    // end of the bytes read, never in the filler after them.
    const char* value = found + key.size();
    const char* stop = value;
    while (stop != end && *stop != '\0' && *stop != '\n')
        ++stop;
    // A value cut by the end of the bytes read never ends in half a double-byte character.
    if (stop == end) {
        const std::string_view text(value, static_cast<std::size_t>(stop - value));
        std::size_t i = 0;
        while (i < text.size() &&
               !(i + 1 == text.size() && platform::IsLeadByte(static_cast<unsigned char>(text[i]))))
            i += platform::CharLength(text, i);
        stop = value + i;
    }
    return std::string(value, stop);
}
