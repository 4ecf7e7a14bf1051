// Entities drawn from parts with properties of their own: multileaders, multilines,
// tables, wipeouts, meshes and the proxy graphics of objects whose program is not at
// hand. `Parts` is what their drawing asks of the scene builder: pens for parts that
// name their own colour, linetype, lineweight or layer; the drawing's objects by
// handle; block references drawn as the scene draws them. Internal to the plot library.
#pragma once

#include <QRgb>
#include <QTransform>
#include <cstdint>
#include <string_view>

#include "drawing/drawing.h"
#include "plot/entity.h"

namespace plot {

// A colour as entities keep it for their parts.
struct PartColor {
    int aci = 256;  // 256: the layer's, 0: the entity's own (by block), else 1..255
    bool trueColor = false;
    QRgb rgb = 0;  // when trueColor
};

// The colours that multileaders, tables and their styles store as one number: the
// kind in the top byte (0xC0 by layer, 0xC1 by block, 0xC2 true colour, 0xC3 index).
PartColor partColor(int64_t raw);

inline constexpr int kByBlockWeight = -2;  // a part's lineweight: the entity's

class Parts {
public:
    virtual ~Parts() = default;

    // The pen of a part on `layer` (kNoName: the entity's) in `color`, with `linetype`
    // (a name of the drawing; kNoName: the entity's) and `lineweight` (hundredths of a
    // millimetre, or -1 the layer's, -2 the entity's, -3 the default). Linetypes named
    // ByBlock take the entity's, ByLayer the layer's.
    virtual Pen pen(const PartColor& color, uint32_t linetype = drawing::kNoName,
                    int lineweight = kByBlockWeight, uint32_t layer = drawing::kNoName) const = 0;
    virtual const Pen& entityPen() const = 0;
    // Draws block `name` as a reference drawn with `pen` (what the block draws by block
    // takes from it); `t` maps the block's coordinates, its base point at the origin, to
    // the entity's. False when there is no such block.
    virtual bool block(uint32_t name, const QTransform& t, const Pen& pen) = 0;
    // The block the entity names (group 2), kNoName when none.
    virtual uint32_t ownBlock() const = 0;

    virtual const drawing::Drawing& drawing() const = 0;
    // The record of a table entry, block or object by handle; -1 when there is none.
    virtual int32_t recordOf(uint64_t handle) const = 0;
    // The text style of a STYLE record's handle, else the one the entity names.
    virtual const TextStyle& textStyle(uint64_t handle) const = 0;
    // The text style that entity record `record` names (group 7).
    virtual const TextStyle& styleOfRecord(size_t record) const = 0;
    // Layers and linetypes by their place in their table (proxy graphics name them so);
    // kNoName past the end.
    virtual uint32_t layerAt(int64_t index) const = 0;
    virtual uint32_t linetypeAt(int64_t index) const = 0;
    // Whether the drawing asks for the frames of wipeouts ($WIPEOUTFRAME 1).
    virtual bool wipeoutFrames() const = 0;

    // Maps the entity's coordinates to drawing units.
    virtual const QTransform& t() const = 0;
    virtual Scene& scene() const = 0;
};

// The name of the block (kNoName when none) whose BLOCK_RECORD has `handle`.
uint32_t blockOfRecord(const Parts& parts, uint64_t handle);
// The name of the linetype (kNoName when none) whose LTYPE record has `handle`.
uint32_t linetypeOfRecord(const Parts& parts, uint64_t handle);

// Draws the entities of those kinds, and entities of any other kind by their proxy
// graphics; false when there is nothing to draw them by.
bool drawParts(const EntityGroups& g, Parts& parts);

// The kinds (each in its own file).
void drawMultiLeader(const EntityGroups& g, Parts& parts);
void drawTable(const EntityGroups& g, Parts& parts);
void drawMLine(const EntityGroups& g, Parts& parts);
void drawWipeout(const EntityGroups& g, Parts& parts);
void drawMesh(const EntityGroups& g, Parts& parts);
// False when `g` carries no proxy graphics.
bool drawProxyGraphics(const EntityGroups& g, Parts& parts);

}  // namespace plot
