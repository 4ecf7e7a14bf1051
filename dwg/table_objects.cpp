// TABLEGEOMETRY: where the contents of each of a table's cells lie, as the table was
// last drawn.
#include "dwg/decoders.h"
#include "dwg/table_values.h"

namespace dwg {

void decodeTableGeometry(ObjectFrame& f, Record& r) {
    BitReader& d = f.data();
    const int32_t rows = d.BL();
    const int32_t columns = d.BL();
    const int32_t cells = d.BL();
    // Each cell takes at least a flag, two sizes and a count of contents.
    if (!countFits(d, cells, 8)) return;
    r.marker("AcDbTableGeometry");
    r.integer(90, rows);
    r.integer(91, columns);
    r.integer(92, cells);
    for (int32_t i = 0; i < cells && !d.failed(); ++i) {
        r.integer(93, d.BL());
        r.real(40, d.BD());
        r.real(41, d.BD());
        r.hex(330, f.ref());
        const int32_t contents = d.BL();
        if (!countFits(d, contents, 16)) return;
        r.integer(94, contents);
        for (int32_t c = 0; c < contents && !d.failed(); ++c) {
            r.point(10, d.BD3());
            r.point(11, d.BD3());
            for (const int code : {43, 44, 45, 46}) r.real(code, d.BD());
            r.integer(95, d.BL());
        }
    }
}

}  // namespace dwg
