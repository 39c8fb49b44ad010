#include "report/support_info.h"

#include "platform/sjis.h"
#include "texts/catalogue.h"

#include <algorithm>
#include <cstring>

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
        const char* character = value;
        while (character < stop) {
            const bool lead = platform::IsLeadByte(static_cast<unsigned char>(*character));
            if (lead && character + 1 == stop)
                break;
            character += lead ? 2 : 1;
        }
        stop = character;
    }
    return std::string(value, stop);
}
