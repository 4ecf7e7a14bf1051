#include "plot/colors.h"

#include <array>

namespace plot {
namespace {

// Indexes 10..249 run through 24 hues in steps of 15°; within a hue the even indexes
// are full colours and the odd ones half-saturated, at five levels of brightness.
std::array<QRgb, 256> buildTable() {
    std::array<QRgb, 256> table{};
    const QRgb basic[10] = {0,        0xff0000, 0xffff00, 0x00ff00, 0x00ffff,
                            0x0000ff, 0xff00ff, 0x000000, 0x808080, 0xc0c0c0};
    for (int i = 0; i < 10; ++i) table[i] = basic[i] | 0xff000000u;
    const double levels[5] = {1.0, 0.8, 0.6, 0.5, 0.3};
    for (int i = 10; i < 250; ++i) {
        const int hue = (i / 10 - 1) * 15;
        const double saturation = (i % 2) ? 0.5 : 1.0;
        table[i] = QColor::fromHsvF(hue / 360.0, saturation, levels[(i % 10) / 2]).rgb();
    }
    const int grays[6] = {51, 80, 105, 130, 190, 255};
    for (int i = 0; i < 6; ++i) table[250 + i] = qRgb(grays[i], grays[i], grays[i]);
    return table;
}

}  // namespace

QColor aciColor(int index) {
    static const std::array<QRgb, 256> table = buildTable();
    if (index < 1 || index > 255) return Qt::black;
    return QColor(table[index]);
}

}  // namespace plot
