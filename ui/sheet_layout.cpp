#include "ui/sheet_layout.h"

#include <algorithm>
#include <cstdint>

namespace layout {

namespace {

constexpr std::size_t kExtendedStyleOffset = 12;
constexpr std::size_t kExtendedSizeOffset = 22;
constexpr std::size_t kSizeOffset = 14;

unsigned Word(const unsigned char* bytes, std::size_t offset) {
    return bytes[offset] | static_cast<unsigned>(bytes[offset + 1]) << 8;
}

int SignedWord(const unsigned char* bytes, std::size_t offset) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(Word(bytes, offset)));
}

// DLGTEMPLATEEX starts with version 1 and the signature 0xFFFF.
bool IsExtended(const unsigned char* bytes) {
    return Word(bytes, 2) == 0xFFFF;
}

} // namespace

std::size_t TemplateStyleOffset(const unsigned char* bytes) {
    return IsExtended(bytes) ? kExtendedStyleOffset : 0;
}

Extent TemplateSize(const unsigned char* bytes, std::size_t size) {
    if (bytes == nullptr || size < 4)
        return {};
    const std::size_t offset = IsExtended(bytes) ? kExtendedSizeOffset : kSizeOffset;
    if (size < offset + 4)
        return {};
    return {SignedWord(bytes, offset), SignedWord(bytes, offset + 2)};
}

Extent GrowthToFit(Extent area, const std::vector<Extent>& needed) {
    Extent growth;
    for (const Extent& page : needed) {
        growth.width = std::max(growth.width, page.width - area.width);
        growth.height = std::max(growth.height, page.height - area.height);
    }
    return growth;
}

} // namespace layout
