#include "dwg/dwg_drawing.h"

#include <cctype>
#include <unordered_set>

#include "dwg/leaders.h"
#include "dwg/object_types.h"
#include "dwg/shapes.h"

namespace dwg {
namespace {

// What is known of each object type of a drawing, looked up once a type.
class TypeCache {
public:
    explicit TypeCache(const std::vector<DwgClass>& classes)
        : classes_(classes), types_(500 + classes.size()), known_(types_.size(), false) {}

    const ObjectType& operator[](uint16_t type) {
        if (type >= types_.size()) return none_;
        if (!known_[type]) {
            types_[type] = objectType(type, classes_);
            known_[type] = true;
        }
        return types_[type];
    }

private:
    const std::vector<DwgClass>& classes_;
    std::vector<ObjectType> types_;
    std::vector<bool> known_;
    const ObjectType none_;
};

// What reading the objects keeps track of besides the drawing.
struct Reading {
    TypeCache types;
    // Handles of the objects that will not be in the drawing: those that do not
    // translate, and the dictionaries and extension records left out below. Kept only
    // while every handle of the object map is distinct (so that no later entry of the
    // same handle can still come in).
    std::unordered_set<uint64_t> leftOut;
    bool tracking = true;
};

// Dictionaries and extension records whose owner is left out are left out in turn
// (dropRecords), whatever they hold: they are not decoded at all. They are the bulk of
// what hangs under the objects not translated (the histories of solids, say).
bool leftOutWithOwner(const Reading& reading, const ObjectType& type, const Record& record) {
    return reading.tracking && !type.entity && record.owner != 0 &&
           (type.decode == decodeDictionary || type.decode == decodeXrecord) &&
           reading.leftOut.contains(record.owner);
}

// Reads the object at `offset` into `record`; false when it does not translate (then
// it is counted, and an entity's link to the next one is kept). An entity of a class
// without a decoder that carries proxy graphics becomes a proxy entity showing them.
bool readObject(const Container& container, DwgDrawing& drawing, Reading& reading, uint64_t offset,
                Record& record) {
    ObjectFrame frame;
    if (!frame.open(container.objects, offset, container.version)) {
        ++drawing.unreadable["?"];
        return false;
    }
    const ObjectType& type = reading.types[frame.type()];
    if (type.dxfName.empty()) return false;  // no DXF counterpart
    // R13 and R14 have no layouts: theirs are those of a later version the drawing was
    // saved down from, which the drawing program keeps as proxies.
    Decoder decode = type.decode;
    if (type.dxfName == "LAYOUT" && container.version <= Version::R14) decode = nullptr;
    record.type = type.dxfName;
    if (type.entity) {
        frame.readEntityCommon(record);
    } else {
        frame.readObjectCommon(record);
    }
    if (!frame.failed() && leftOutWithOwner(reading, type, record)) return false;
    if (decode && !frame.failed()) decode(frame, record);
    // A decoder that clears the type declines a form of its kind it does not translate.
    if (decode && !frame.failed() && !record.type.empty()) return true;
    if (!decode && type.entity && frame.type() >= 500 && frame.hasGraphics() &&
        !frame.failed()) {
        decodeAsProxyEntity(frame, record);
        record.proxyOf = type.dxfName;
        ++drawing.asProxies[type.dxfName];
        return true;
    }
    if (type.entity && record.next) drawing.links[record.handle] = record.next;
    if (decode && frame.failed()) {
        ++drawing.unreadable[type.dxfName];
    } else if (type.entity) {
        ++drawing.untranslatedEntities[type.dxfName];
    } else {
        ++drawing.untranslatedObjects[type.dxfName];
    }
    return false;
}

// The records a drawing of R13 or R14 keeps of a later version it was saved down from:
// the layouts beyond the one paper space, each a further block named *PAPER_SPACE with
// its BLOCK and ENDBLK. The drawing program leaves them out, with what they hold.
std::vector<bool> laterLayouts(DwgDrawing& d) {
    std::vector<bool> gone(d.records.size(), false);
    const auto control = d.byHandle.find(d.header.blockControl);
    if (d.version > Version::R14 || control == d.byHandle.end()) return gone;
    std::vector<uint64_t>& entries = d.records[control->second].owned;
    std::erase_if(entries, [&](uint64_t h) {
        const auto at = d.byHandle.find(h);
        if (at == d.byHandle.end() || h == d.header.paperSpace) return false;
        const Record& r = d.records[at->second];
        std::string name = r.name;
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (r.type != "BLOCK_RECORD" || name != "*PAPER_SPACE") return false;
        for (uint64_t part : {h, r.block, r.endBlock})
            if (const auto p = d.byHandle.find(part); p != d.byHandle.end()) gone[p->second] = true;
        return true;
    });
    return gone;
}

// The proxy entities made from graphics that no block holds: a class may call itself an
// entity and yet be an object kept in a dictionary. They stay counted as left out.
std::vector<bool> proxiesOutsideBlocks(DwgDrawing& d) {
    std::vector<bool> gone(d.records.size(), false);
    for (size_t i = 0; i < d.records.size(); ++i) {
        const Record& r = d.records[i];
        if (r.proxyOf.empty() || r.entityMode != 0) continue;
        const Record* owner = d.find(r.owner);
        if (owner && owner->type == "BLOCK_RECORD") continue;
        gone[i] = true;
        if (--d.asProxies[r.proxyOf] == 0) d.asProxies.erase(r.proxyOf);
        ++d.untranslatedEntities[r.proxyOf];
    }
    return gone;
}

// A block record stores only the stem of an anonymous block's name ("*U" for "*U26",
// "*Paper_Space" for "*Paper_Space0"): the drawing program numbers them when it
// writes the file, each by its place among the entries of the block table (which
// counts deleted entries too).
void nameBlocks(DwgDrawing& d) {
    const auto it = d.byHandle.find(d.header.blockControl);
    if (it == d.byHandle.end()) return;
    const std::vector<uint64_t> entries = d.records[it->second].owned;
    // The first two are *Model_Space and *Paper_Space, which keep their names.
    for (size_t i = 2; i < entries.size(); ++i) {
        const auto at = d.byHandle.find(entries[i]);
        if (at == d.byHandle.end()) continue;
        Record& r = d.records[at->second];
        if (r.type != "BLOCK_RECORD" || r.name.empty() || r.name[0] != '*' ||
            std::isdigit(static_cast<unsigned char>(r.name.back())))
            continue;
        r.name += std::to_string(i - 2);
        for (Group& g : r.groups)
            if (g.code == 2) g.value = r.name;
    }
}

}  // namespace

void dropRecords(DwgDrawing& d, std::vector<bool> gone) {
    for (bool changed = true; changed;) {
        changed = false;
        for (size_t i = 0; i < d.records.size(); ++i) {
            const Record& r = d.records[i];
            if (gone[i] || r.owner == 0 || r.kind == RecordKind::TableEntry) continue;
            const auto owner = d.byHandle.find(r.owner);
            const bool missing = owner == d.byHandle.end();
            if ((missing && r.kind == RecordKind::Object) || (!missing && gone[owner->second])) {
                gone[i] = changed = true;
            }
        }
    }
    d.byHandle.clear();
    size_t kept = 0;
    for (size_t i = 0; i < d.records.size(); ++i) {
        if (gone[i]) continue;
        d.byHandle.emplace(d.records[i].handle, kept);
        if (kept != i) d.records[kept] = std::move(d.records[i]);
        ++kept;
    }
    d.records.erase(d.records.begin() + static_cast<ptrdiff_t>(kept), d.records.end());
}

const Record* DwgDrawing::find(uint64_t handle) const {
    const auto it = byHandle.find(handle);
    return it == byHandle.end() ? nullptr : &records[it->second];
}

std::string readDwg(std::span<const uint8_t> file, DwgDrawing& out) {
    Container container;
    std::string why = readContainer(file, container);
    if (!why.empty()) return why;
    out.version = container.version;
    out.maintenance = container.maintenance;
    out.codePage = container.codePage;
    why = readHeader(container.header, container.version, container.maintenance, out.header);
    if (!why.empty()) return why;
    why = readClasses(container.classes, container.version, container.maintenance, out.classes);
    if (!why.empty()) return why;
    out.records.reserve(container.objectMap.size());
    out.byHandle.reserve(container.objectMap.size());
    Reading reading{TypeCache(out.classes), {}, true};
    for (size_t i = 1; i < container.objectMap.size(); ++i)
        if (container.objectMap[i].handle <= container.objectMap[i - 1].handle)
            reading.tracking = false;
    for (const ObjectLocation& location : container.objectMap) {
        // Read in place at the end of the records, and taken off again when it does not
        // translate.
        Record& record = out.records.emplace_back();
        if (!readObject(container, out, reading, location.offset, record)) {
            out.records.pop_back();
            if (reading.tracking) reading.leftOut.insert(location.handle);
            continue;
        }
        // The object map is the authority on handles; a later entry wins.
        record.handle = location.handle;
        const auto [it, added] = out.byHandle.emplace(location.handle, out.records.size() - 1);
        if (!added) {
            out.records[it->second] = std::move(record);
            out.records.pop_back();
        }
    }
    nameShapes(out);
    dropRecords(out, proxiesOutsideBlocks(out));
    // Also the objects whose owner was not translated (the extension dictionaries and
    // records of a solid, say): they belong to what is counted as left out.
    dropRecords(out, laterLayouts(out));
    nameBlocks(out);
    completeLeaders(out);
    return {};
}

}  // namespace dwg
