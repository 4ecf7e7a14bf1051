#include "plot/colors.h"

#include "drawing/aci.h"

namespace plot {

QColor aciColor(int index) {
    if (index < 1 || index > 255 || index == 7) return Qt::black;
    return QColor(QRgb(drawing::aciRgb(index)));
}

}  // namespace plot
