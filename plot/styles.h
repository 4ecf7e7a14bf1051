// Plot style tables: how the colour an entity is displayed in becomes the pen colour
// on paper.
//
// Built in: "monochrome.ctb" (everything black), "grayscale.ctb" (the colour's
// luminance) and "screening 50%.ctb" (the colour at half intensity). Beside them every
// *.ctb and *.stb file of the plot style folder (<data folder>/plotstyles). A colour-
// dependent table (.ctb, zlib-packed text after a 60-byte header) maps each ACI to a
// pen colour, grayscale and screening; a table that cannot be read, and every named
// table (.stb, which maps style names, not colours), plots the colours as displayed.
#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace plot {

class PlotStyleTable {
public:
    // The built-in names, then the table files of `folder` in name order.
    static std::vector<std::string> names(const std::string& folder);
    // The table called `name`; `readable` tells whether its mapping could be used
    // (false for an .stb or a damaged file, which then plot as displayed).
    static PlotStyleTable load(const std::string& name, const std::string& folder, bool& readable);
    // A table from the unpacked text of a .ctb file; false when it holds no pens.
    bool parseCtbText(const QString& text);

    // The pen colour for an entity of ACI `aci` (0 for a true colour) displayed as
    // `displayed`.
    QColor penColor(int aci, const QColor& displayed) const;

private:
    enum class Mode { AsDisplayed, Monochrome, Grayscale, Screening, Pens };
    struct Pen {
        std::optional<QRgb> color;  // none: the object's own colour
        bool grayscale = false;
        int screen = 100;
    };

    Mode mode_ = Mode::AsDisplayed;
    std::array<Pen, 256> pens_{};
};

}  // namespace plot
