// MTEXT as a drawing program sets it: the inline codes applied, lines wrapped within
// the text's width only at blanks and between Chinese, Japanese or Korean characters
// (never before closing punctuation; a word wider than the text stays whole), a width
// of 0 wrapping nothing, paragraphs flowing into columns. Used for MTEXT entities and
// for the texts of multileaders and tables. Internal to the plot library.
#pragma once

#include <QPointF>
#include <QString>
#include <vector>

#include "plot/entity.h"

namespace plot {

struct MTextColumns {
    int count = 0;                // 0 or 1: no columns
    double width = 0;             // of each column, drawing units
    double gutter = 0;            // between columns
    std::vector<double> heights;  // of each column; missing ones use `height`
    double height = 0;            // 0: as high as the text needs
};

// Where and how one MTEXT is set.
struct MTextFrame {
    QString text;  // decoded, inline codes included
    QPointF insert;
    QPointF direction{1, 0};  // of the lines, a unit vector
    bool flipped = false;     // seen from below (extrusion down): lines run as mirrored
    double height = 2.5;      // of capitals
    double width = 0;         // for wrapping; 0 wraps nothing
    int attachment = 1;       // 1..9: top left ... bottom right
    double lineSpacing = 1;
    bool exactSpacing = false;  // lines exactly 5/3 of `height` apart, not at least
    bool wrap = true;           // false: only paragraph breaks start lines (dimension texts)
    MTextColumns columns;
};

// The frame of an MTEXT entity; `wrap` false for the texts of dimensions.
MTextFrame mtextFrame(const EntityGroups& g, bool wrap);

// The box of the lines of `frame` set in `style`, from the lowest baseline to the
// highest capitals, in the frame's coordinates (mtextPlacement() maps them).
QRectF mtextBox(const MTextFrame& frame, const TextStyle& style);
// The frame's coordinates (lines along x from the insertion point) to the entity's.
QTransform mtextPlacement(const MTextFrame& frame);

// Draws `frame` in `style`; `t` maps the frame's coordinates to drawing units.
void drawMText(const MTextFrame& frame, const TextStyle& style, const QTransform& t, Out& out);

}  // namespace plot
