// PurgeAll: one pass that removes every block definition, layer, linetype, text style
// and dimension style that nothing refers to.
//
// References count by name (an entity's layer, linetype and text style, the block of
// an INSERT, a dimension's style and block, a layer's linetype, the blocks of an R12
// dimension style, the header's current settings) and by handle (every pointer of
// entities, blocks, table entries and objects, extended data included; owner and
// reactor links do not count, nor pointers from what an item owns itself). References
// made from inside an unused block definition count in the same pass, so blocks nested
// in unused blocks go one pass later: ten passes clear ten levels.
//
// An entry goes with what it owns, directly or through what it owns (extension
// dictionaries and their contents), and with the records that hold its data (ACDSDATA);
// entries of tables' lists and reactor lists that pointed at any of it are cleared. It
// stays when any of that is a record the engine cannot judge (a proxy object or entity
// of another program), or when any record that stays points at any of it, as owner or
// from extended data included: a block record that owns entities of the ENTITIES
// section is a space, whatever its name.
//
// Never removed: layer 0 and Defpoints, linetypes ByLayer, ByBlock and Continuous,
// text style and dimension style Standard, the model and paper space blocks, entries
// that belong to external references, and text styles that hold shape files.
#pragma once

#include <string>
#include <vector>

#include "drawing/drawing.h"

namespace drawing {

struct PurgeReport {
    std::vector<std::string> removed;  // "图层 X", "块 Y" ... in the order of the file
};

PurgeReport purgeAll(Drawing& drawing);

}  // namespace drawing
