#include "plot/pdf_fonts.h"

#include <QPainterPath>
#include <QRect>
#include <cmath>

#include "plot/glyphs.h"

namespace plot {
namespace {

// A glyph's drawing for a Type 3 font: its advance, its box and its outline filled,
// y up; `box` returns the box.
std::string glyphProcedure(const Glyph& glyph, const QPainterPath& outline, QRect& box) {
    box = outline.boundingRect().toAlignedRect();
    std::string out;
    pdfReal(out, glyph.advance);
    out += "0 ";
    for (int v : {box.left(), -box.bottom(), box.right(), -box.top()}) pdfInteger(out, v);
    out += "d1\n";
    const int n = outline.elementCount();
    auto put = [&out](const QPainterPath::Element& e) {
        pdfInteger(out, std::lround(e.x));
        pdfInteger(out, std::lround(-e.y));
    };
    for (int i = 0; i < n; ++i) {
        const QPainterPath::Element& e = outline.elementAt(i);
        if (e.isCurveTo() && i + 2 < n) {
            put(e), put(outline.elementAt(i + 1)), put(outline.elementAt(i + 2));
            out += "c\n";
            i += 2;
        } else {
            put(e);
            out += e.isMoveTo() ? "m\n" : "l\n";
        }
    }
    out += "f\n";
    return out;
}

std::string toUnicode(const std::vector<Glyph>& glyphs) {
    std::string out =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<00> <FF>\nendcodespacerange\n";
    for (size_t first = 0; first < glyphs.size(); first += 100) {
        const size_t last = std::min(glyphs.size(), first + 100);
        out += std::to_string(last - first) + " beginbfchar\n";
        for (size_t code = first; code < last; ++code) {
            out += '<';
            pdfHex(out, static_cast<unsigned>(code), 2);
            out += "> <";
            const char32_t c = glyphs[code].character;
            const QString utf16 = QString::fromUcs4(&c, 1);
            for (QChar unit : utf16) pdfHex(out, unit.unicode(), 4);
            out += ">\n";
        }
        out += "endbfchar\n";
    }
    out += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return out;
}

}  // namespace

PdfFonts::PdfFonts(const std::vector<uint32_t>& glyphs) : codes_(glyphs.size()) {
    std::vector<int> codeOf;  // by glyph id, or -1
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const uint32_t id = glyphs[i];
        if (id >= codeOf.size()) codeOf.resize(id + 1, -1);
        if (codeOf[id] < 0) {
            if (fonts_.empty() || fonts_.back().size() == kCodesPerFont) fonts_.emplace_back();
            fonts_.back().push_back(id);
            codeOf[id] =
                static_cast<int>((fonts_.size() - 1) * kCodesPerFont + fonts_.back().size() - 1);
        }
        codes_[i] = codeOf[id];
    }
}

void PdfFonts::write(PdfFile& pdf, size_t font, int number) const {
    const std::vector<uint32_t>& ids = fonts_[font];
    Glyphs& glyphs = Glyphs::instance();
    std::vector<Glyph> list;
    std::string procs, differences, widths;
    QRect bounds;
    const int cmap = pdf.reserve();
    for (size_t code = 0; code < ids.size(); ++code) {
        const Glyph glyph = glyphs.glyph(ids[code]);
        list.push_back(glyph);
        QRect box;
        const int proc = pdf.reserve();
        pdf.stream(proc, glyphProcedure(glyph, glyphs.outline(ids[code]), box));
        bounds |= box;
        const std::string name = "/g" + std::to_string(code);
        procs += name + " " + PdfFile::ref(proc) + " ";
        differences += name + " ";
        pdfReal(widths, glyph.advance);
    }
    pdf.stream(cmap, toUnicode(list));
    std::string bbox;
    for (int v : {bounds.left(), -bounds.bottom(), bounds.right(), -bounds.top()})
        pdfInteger(bbox, v);
    pdf.object(number, "<< /Type /Font /Subtype /Type3 /FontBBox [" + bbox +
                           "] /FontMatrix [0.001 0 0 0.001 0 0] /CharProcs << " + procs +
                           ">> /Encoding << /Type /Encoding /Differences [0 " + differences +
                           "] >> /FirstChar 0 /LastChar " + std::to_string(ids.size() - 1) +
                           " /Widths [" + widths + "] /Resources << >> /ToUnicode " +
                           PdfFile::ref(cmap) + " >>");
}

}  // namespace plot
