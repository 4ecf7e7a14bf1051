// The glyphs plotted texts are made of, from the system's fonts. Each character is
// drawn with its text style's font, or with the first font after it that has the
// character (a Chinese font for Chinese). Texts are laid out from the glyphs' advances
// alone, without shaping or kerning, as drawing programs place their texts; the
// outlines go into the plot file, so a plot needs no font on the machine that opens it.
//
// One table for the process: a drawing has few fonts and many texts. Glyph ids stay
// valid for the life of the process. Thread-safe: the table holds what was read from
// the fonts, and each thread reads the fonts through its own font objects, as Qt's
// fonts belong to the thread that made them.
#pragma once

#include <QPainterPath>
#include <QString>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace plot {

// Outlines, advances and metrics are in thousandths of the font's em, y down from the
// baseline as Qt draws.
inline constexpr double kGlyphUnits = 1000;

struct Glyph {
    char32_t character = 0;
    double advance = 0;
};

struct FontMetrics {
    double capHeight = 700;  // of the style's own font
    double descent = 200;
};

class Glyphs {
public:
    static Glyphs& instance();

    // The font of a text style that names `family` (any name: a missing family falls
    // back to the system's sans-serif font).
    int font(const QString& family);
    FontMetrics metrics(int font);
    // The glyph of every character of `text`, one per character, appended to `out`;
    // returns their advance.
    double layout(int font, const QString& text, std::vector<uint32_t>& out);
    Glyph glyph(uint32_t id);
    std::vector<Glyph> glyphs(const std::vector<uint32_t>& ids);
    QPainterPath outline(uint32_t id);

private:
    struct Entry {
        Glyph glyph;
        QPainterPath outline;
    };
    struct Font {
        QString family;
        FontMetrics metrics;
    };

    Glyphs() = default;
    uint32_t glyphOf(int font, char32_t c);  // REQUIRES: mutex_ held

    std::mutex mutex_;
    std::vector<Font> fonts_;
    std::vector<Entry> entries_;
    std::unordered_map<uint64_t, uint32_t> ids_;  // (font, character) to glyph id
};

}  // namespace plot
