// The texts of a PDF page in Type 3 fonts made of the outlines of the glyphs they use:
// each glyph gets a single-byte code in one of the page's fonts, 256 to a font, and
// the fonts map their codes back to Unicode, so texts can be searched and copied.
#pragma once

#include <cstdint>
#include <vector>

#include "plot/pdf_file.h"

namespace plot {

inline constexpr int kCodesPerFont = 256;

class PdfFonts {
public:
    // Codes for `glyphs` (ids of Glyphs), given in their order of first use.
    explicit PdfFonts(const std::vector<uint32_t>& glyphs);

    // For each of the glyphs given, its font's number * kCodesPerFont + its code.
    const std::vector<int>& codes() const { return codes_; }
    size_t count() const { return fonts_.size(); }
    // Writes font `font` as object `number`, its glyph drawings as objects after it.
    void write(PdfFile& pdf, size_t font, int number) const;

private:
    std::vector<int> codes_;
    std::vector<std::vector<uint32_t>> fonts_;  // the glyph ids of each font, in code order
};

}  // namespace plot
