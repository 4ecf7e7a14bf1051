// One object of a DWG file as the DXF writer needs it: what it is, whom it belongs to,
// the values common to its kind, and its own DXF groups in the order DXF writes them.
// Names of other objects (an entity's layer, an INSERT's block) are kept as the handle
// of the object named and become its name when the drawing is written, once every
// object has been read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dwg/bit_reader.h"

namespace dwg {

struct Group {
    int16_t code = 0;
    bool isName = false;  // the value is the name of object `ref` (empty for none)
    std::string value;    // as DXF writes it
    uint64_t ref = 0;
    // A handle DXF holds in its place even when it names nothing: written as 0 when its
    // object is not in the drawing written, instead of being left out.
    bool keepsPlace = false;
};

enum class RecordKind : uint8_t {
    Entity,
    Object,
    TableEntry,  // LAYER, LTYPE, ... and BLOCK_RECORD
    Table,       // a table's control object
};

struct Record {
    std::string type;  // DXF type: LINE, LAYER, DICTIONARY, TABLE ...
    RecordKind kind = RecordKind::Object;
    uint64_t handle = 0;
    uint64_t owner = 0;
    uint64_t xdictionary = 0;
    std::vector<uint64_t> reactors;
    std::string name;  // table entries: their name; tables: the table's name

    // Entities.
    uint8_t entityMode = 0;  // 0 owned by `owner`, 1 paper space, 2 model space
    uint64_t layer = 0;
    uint8_t linetypeFlags = 0;  // 0 BYLAYER, 1 BYBLOCK, 2 CONTINUOUS, 3 `linetype`
    uint64_t linetype = 0;
    uint64_t material = 0;
    uint64_t plotStyle = 0;
    Color color;
    uint64_t colorBook = 0;  // a DBCOLOR object the colour is taken from (2004 on)
    double linetypeScale = 1.0;
    int invisible = 0;
    int lineweight = -1;
    uint64_t previous = 0, next = 0;  // links of the entities of a block up to 2000
    std::string proxyOf;  // a proxy entity made from graphics: the kind it stands for

    // What the record owns, in order: a POLYLINE's vertices and an INSERT's attributes
    // (then `seqend`), a table's entries, the entities of a block (from 2004 on).
    std::vector<uint64_t> owned;
    uint64_t firstOwned = 0, lastOwned = 0;  // the same as a first and a last up to 2000
    uint64_t seqend = 0;
    // Block records: their BLOCK and ENDBLK entities, their layout, and what the
    // BLOCK entity shows of them in DXF.
    uint64_t block = 0, endBlock = 0, layout = 0;
    int blockFlags = 0;
    Point3 basePoint;
    std::string xrefPath;
    std::string description;

    Point2 extents;  // an MTEXT's width and height as drawn (a leader's box takes them)

    std::vector<Group> groups;  // the record's own groups, subclass markers included
    std::vector<Group> xdata;   // extended data, from its 1001 group on

    void text(int code, std::string_view value);
    void integer(int code, int64_t value);
    void real(int code, double value);
    // A point as groups code, code + 10, code + 20.
    void point(int code, const Point3& p);
    void point(int code, const Point2& p);
    void hex(int code, uint64_t value);  // a handle, in hexadecimal
    void placedHex(int code, uint64_t value);  // a handle that keeps its place (0 for none)
    void nameOf(int code, uint64_t object);
    void marker(std::string_view subclass) { text(100, subclass); }
    // Groups written only when the value differs from DXF's default.
    void thickness(double value);
    void extrusion(const Point3& e);
};

// The text of a number as DXF holds it: integers plainly, reals in the shortest form
// that reads back to the same double.
std::string realText(double value);
// Binary data as DXF holds it: two upper-case hexadecimal digits a byte.
std::string binaryText(std::string_view bytes);
// The same texts (a handle as drawing::handleText writes it) written at `at` (room for 32
// characters); they return the text's end.
char* putReal(char* at, double value);
char* putHex(char* at, uint64_t handle);

}  // namespace dwg
