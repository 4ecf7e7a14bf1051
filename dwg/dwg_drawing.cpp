#include "dwg/dwg_drawing.h"

#include "dwg/object_types.h"

namespace dwg {
namespace {

// Reads the object at `offset`; false when it does not translate (counted).
void readObject(const Container& container, const DwgDrawing& drawing, uint64_t offset,
                Record& record, std::map<std::string, int>& untranslated, bool& keep) {
    keep = false;
    ObjectFrame frame;
    if (!frame.open(container.objects, offset, container.version)) {
        ++untranslated["?"];
        return;
    }
    const ObjectType type = objectType(frame.type(), drawing.classes);
    if (type.dxfName.empty()) return;  // no DXF counterpart
    if (!type.decode) {
        ++untranslated[type.dxfName];
        return;
    }
    record.type = type.dxfName;
    if (type.entity) {
        frame.readEntityCommon(record);
    } else {
        frame.readObjectCommon(record);
    }
    if (!frame.failed()) type.decode(frame, record);
    if (frame.failed()) {
        ++untranslated[type.dxfName + "?"];
        return;
    }
    keep = true;
}

}  // namespace

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
    for (const ObjectLocation& location : container.objectMap) {
        Record record;
        bool keep = false;
        readObject(container, out, location.offset, record, out.untranslated, keep);
        if (!keep) continue;
        // The object map is the authority on handles; a later entry wins.
        record.handle = location.handle;
        const auto [it, added] = out.byHandle.emplace(location.handle, out.records.size());
        if (added) {
            out.records.push_back(std::move(record));
        } else {
            out.records[it->second] = std::move(record);
        }
    }
    return {};
}

}  // namespace dwg
