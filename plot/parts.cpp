// The kinds of entities drawn from parts, and what they share.
#include "plot/parts.h"

namespace plot {

PartColor partColor(int64_t raw) {
    PartColor c;
    const int64_t kind = (raw >> 24) & 0xff;
    if (kind == 0xc1) {
        c.aci = 0;
    } else if (kind == 0xc2) {
        c.trueColor = true;
        c.rgb = qRgb(static_cast<int>((raw >> 16) & 0xff), static_cast<int>((raw >> 8) & 0xff),
                     static_cast<int>(raw & 0xff));
    } else if (kind == 0xc3) {
        const int aci = static_cast<int>(raw & 0xff);
        c.aci = aci == 0 ? 0 : aci;
    }
    return c;
}

uint32_t blockOfRecord(const Parts& parts, uint64_t handle) {
    const int32_t i = handle ? parts.recordOf(handle) : -1;
    return i >= 0 && parts.drawing().record(i).kind == drawing::Kind::BlockRecord
               ? parts.drawing().record(i).name
               : drawing::kNoName;
}

uint32_t linetypeOfRecord(const Parts& parts, uint64_t handle) {
    const int32_t i = handle ? parts.recordOf(handle) : -1;
    return i >= 0 && parts.drawing().record(i).kind == drawing::Kind::Linetype
               ? parts.drawing().record(i).name
               : drawing::kNoName;
}

bool drawParts(const EntityGroups& g, Parts& parts) {
    const std::string_view type = g.type();
    if (type == "MULTILEADER" || type == "MLEADER") {
        drawMultiLeader(g, parts);
    } else if (type == "ACAD_TABLE") {
        drawTable(g, parts);
    } else if (type == "MLINE") {
        drawMLine(g, parts);
    } else if (type == "WIPEOUT") {
        drawWipeout(g, parts);
    } else if (type == "MESH") {
        drawMesh(g, parts);
    } else if (type == "IMAGE" || type == "OLE2FRAME" || type == "OLEFRAME" ||
               type.ends_with("UNDERLAY")) {
        return false;  // pictures and attached files: what their proxy shows is no plot of them
    } else {
        return drawProxyGraphics(g, parts);
    }
    return true;
}

}  // namespace plot
