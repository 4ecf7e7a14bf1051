// The inline codes of an MTEXT value read into paragraphs of formatted pieces: fonts
// (\f, \F), heights (\H), colours (\C, \c), widths (\W), slant (\Q), tracking (\T),
// under-, over- and strike-lines (\L \O \K), stacked fractions (\S), paragraph
// alignment, indents and tabs (\p), breaks (\P, \N, \X) and caret codes (^I, ^J).
// A code whose value lacks its closing ";" ends where its value ends; an unknown code
// is dropped. Internal to the plot library.
#pragma once

#include <QRgb>
#include <QString>
#include <vector>

namespace plot {

struct MTextFormat {
    int font = 0;            // of Glyphs
    double height = 2.5;     // of capitals, drawing units
    double widthFactor = 1;  // ...of the glyphs
    double oblique = 0;      // degrees, from upright
    double tracking = 1;     // the advance of each character, as a factor
    bool underline = false;
    bool overline = false;
    bool strike = false;
    int aci = -1;  // a colour index 1..255, or -1 for the text's own colour
    bool trueColor = false;
    QRgb rgb = 0;  // when trueColor

    bool operator==(const MTextFormat&) const = default;
};

struct MTextPiece {
    enum class Kind : uint8_t { Text, Stack, Tab };
    Kind kind = Kind::Text;
    QString text;    // Text: its characters; Stack: the upper part
    QString lower;   // Stack: the lower part
    QChar stack;     // Stack: '/' (over a line), '#' (diagonal), '^' (no line)
    int format = 0;  // index of the formats
};

struct MTextParagraph {
    enum class Align : uint8_t { ByAttachment, Left, Center, Right, Justified };
    Align align = Align::ByAttachment;
    // In multiples of the text's height: the first line's indent from `left`, the
    // paragraph's left and right indents; the tab stops from the left edge.
    double indent = 0, left = 0, right = 0;
    std::vector<double> tabs;
    bool newColumn = false;  // a column break (\N) before it
    std::vector<MTextPiece> pieces;
};

// The paragraphs of `text` (decoded, codes included) starting in `base`; the formats the
// pieces name are appended to `formats`. A font named by family (\f) or by a TrueType
// file (\F) is the system's font of that family; other font files keep the font.
std::vector<MTextParagraph> parseMText(const QString& text, const MTextFormat& base,
                                       std::vector<MTextFormat>& formats);

}  // namespace plot
