// The property sheet's template reading and growth, on template bytes built here.
#include "ui/sheet_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A template header of length bytes, all zero but the signature (extended) and cx, cy.
std::vector<unsigned char> Template(bool extended, int cx, int cy, std::size_t length = 40) {
    std::vector<unsigned char> bytes(length, 0);
    const std::size_t size = extended ? 22 : 14;
    if (extended) {
        bytes[0] = 1;
        bytes[2] = 0xFF;
        bytes[3] = 0xFF;
    }
    if (length >= size + 4) {
        bytes[size] = static_cast<unsigned char>(cx & 0xFF);
        bytes[size + 1] = static_cast<unsigned char>((cx >> 8) & 0xFF);
        bytes[size + 2] = static_cast<unsigned char>(cy & 0xFF);
        bytes[size + 3] = static_cast<unsigned char>((cy >> 8) & 0xFF);
    }
    return bytes;
}

} // namespace

TEST(SheetLayout, SizeAndStyleOfBothTemplateForms) {
    const auto plain = Template(false, 300, 0x1A2);
    EXPECT_EQ(0u, layout::TemplateStyleOffset(plain.data()));
    EXPECT_EQ(300, layout::TemplateSize(plain.data(), plain.size()).width);
    EXPECT_EQ(0x1A2, layout::TemplateSize(plain.data(), plain.size()).height);

    const auto extended = Template(true, 252, 218);
    EXPECT_EQ(12u, layout::TemplateStyleOffset(extended.data()));
    EXPECT_EQ(252, layout::TemplateSize(extended.data(), extended.size()).width);
    EXPECT_EQ(218, layout::TemplateSize(extended.data(), extended.size()).height);
}

TEST(SheetLayout, TemplatesTooShortForTheirSizeGiveZero) {
    for (const bool extended : {false, true}) {
        const std::size_t needed = extended ? 26 : 18;
        const auto exact = Template(extended, 10, 20, needed);
        EXPECT_EQ(20, layout::TemplateSize(exact.data(), exact.size()).height) << extended;
        const auto shorter = Template(extended, 10, 20, needed - 1);
        EXPECT_EQ(0, layout::TemplateSize(shorter.data(), shorter.size()).width) << extended;
        EXPECT_EQ(0, layout::TemplateSize(shorter.data(), shorter.size()).height) << extended;
    }
    EXPECT_EQ(0, layout::TemplateSize(nullptr, 0).width);
}

TEST(SheetLayout, GrowthIsTheLargestShortfallPerAxisAndNeverNegative) {
    const layout::Extent area{400, 300};
    EXPECT_EQ(0, layout::GrowthToFit(area, {}).width);
    const layout::Extent smaller = layout::GrowthToFit(area, {{390, 200}, {400, 300}});
    EXPECT_EQ(0, smaller.width);
    EXPECT_EQ(0, smaller.height);
    const layout::Extent grown = layout::GrowthToFit(area, {{420, 250}, {410, 330}, {300, 310}});
    EXPECT_EQ(20, grown.width);
    EXPECT_EQ(30, grown.height);
}
