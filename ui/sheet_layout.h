// The property sheet's arithmetic without windows: what it reads from the dialog templates of
// its pages (DLGTEMPLATE or DLGTEMPLATEEX, little-endian) and how much it grows to fit them.
#pragma once

#include <cstddef>
#include <vector>

namespace layout {

struct Extent {
    int width = 0;
    int height = 0;
};

// Byte offset of the style in a template: 12 in DLGTEMPLATEEX (after its version, signature,
// help ID and extended style), 0 in DLGTEMPLATE. The bytes hold at least 4.
std::size_t TemplateStyleOffset(const unsigned char* bytes);

// The template's cx and cy in dialog units (bytes 22 and 24 of DLGTEMPLATEEX, 14 and 16 of
// DLGTEMPLATE); zero when the size bytes lie beyond size.
Extent TemplateSize(const unsigned char* bytes, std::size_t size);

// How much the sheet and its pages grow so that every page's needed extent fits the page
// area: per axis the largest shortfall, never less than zero.
Extent GrowthToFit(Extent area, const std::vector<Extent>& needed);

} // namespace layout
