// AuditInfo: finds, and with fixing repairs, what makes a drawing unreadable or
// inconsistent for other programs:
// - two records with the same handle (the later one gets a new handle);
// - records without the handle their version requires (they get one);
// - $HANDSEED not above the highest handle (raised);
// - an owner that does not exist (entities go to their space or block, found by
//   handle, table entries to their table, objects to the root dictionary); other
//   pointers to missing objects (cleared; a dictionary entry goes with its name, an
//   entry of a table's list is removed); reactor lists, extended data (its
//   application's own) and untranslated handles (320-329) are left as they are;
// - entities on a layer that does not exist (the layer is created), with an undefined
//   linetype (BYLAYER) or text style (Standard), or a colour number outside 0 ... 257
//   (BYLAYER); names are looked up only in the tables the drawing has (a drawing of
//   entities alone names what its reader supplies), and CONTINUOUS is built in before
//   R13;
// - INSERTs and dimensions of blocks that are not defined (an empty definition is
//   added, so that no attribute value is lost; a drawing without a BLOCKS section
//   keeps the finding unfixed);
// - attributes or vertices without their closing SEQEND (one is added), and stray
//   attributes, vertices and SEQENDs that follow nothing (removed);
// - a missing mandatory table entry of a table the drawing has (layer 0, the basic
//   linetypes from R13 on, text style Standard, application ACAD, and dimension style
//   Standard when the table has no style at all) (added).
// A drawing with none of these faults is left unchanged, byte for byte.
#pragma once

#include <string>
#include <vector>

#include "drawing/drawing.h"

namespace drawing {

struct AuditFinding {
    std::string text;  // what was found, in the user's language
    bool fixed = false;
};

struct AuditReport {
    std::vector<AuditFinding> findings;
    size_t fixedCount() const;
};

AuditReport auditDrawing(Drawing& drawing, bool fix);

}  // namespace drawing
