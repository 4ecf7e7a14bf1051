#include "drawing/entity.h"

#include <cstdlib>
#include <unordered_map>

#include "drawing/record_edit.h"

namespace drawing {

std::string objectNameOf(std::string_view type) {
    static const std::pair<std::string_view, const char*> kNames[] = {
        {"INSERT", "AcDbBlockReference"},
        {"LINE", "AcDbLine"},
        {"CIRCLE", "AcDbCircle"},
        {"ARC", "AcDbArc"},
        {"TEXT", "AcDbText"},
        {"MTEXT", "AcDbMText"},
        {"LWPOLYLINE", "AcDbPolyline"},
        {"POLYLINE", "AcDb2dPolyline"},
        {"POINT", "AcDbPoint"},
        {"DIMENSION", "AcDbRotatedDimension"},
        {"HATCH", "AcDbHatch"},
        {"SOLID", "AcDbSolid"},
        {"ELLIPSE", "AcDbEllipse"},
        {"SPLINE", "AcDbSpline"},
        {"LEADER", "AcDbLeader"},
        {"VIEWPORT", "AcDbViewport"},
        {"ATTDEF", "AcDbAttributeDefinition"},
        {"ATTRIB", "AcDbAttribute"},
        {"3DFACE", "AcDbFace"},
        {"TRACE", "AcDbTrace"},
        {"SHAPE", "AcDbShape"},
        {"RAY", "AcDbRay"},
        {"XLINE", "AcDbXline"},
        {"REGION", "AcDbRegion"},
        {"3DSOLID", "AcDb3dSolid"},
        {"BODY", "AcDbBody"},
        {"IMAGE", "AcDbRasterImage"},
        {"WIPEOUT", "AcDbWipeout"},
        {"TOLERANCE", "AcDbFcf"},
        {"MLINE", "AcDbMline"},
        {"ACAD_TABLE", "AcDbTable"},
        {"MULTILEADER", "AcDbMLeader"},
        {"MLEADER", "AcDbMLeader"},
        {"OLE2FRAME", "AcDbOle2Frame"},
        {"VERTEX", "AcDb2dVertex"},
        {"SEQEND", "AcDbSequenceEnd"},
        {"HELIX", "AcDbHelix"},
        {"SURFACE", "AcDbSurface"},
        {"MESH", "AcDbSubDMesh"},
        {"UNDERLAY", "AcDbUnderlayReference"},
    };
    static const std::unordered_map<std::string_view, const char*> kByType(std::begin(kNames),
                                                                           std::end(kNames));
    auto it = kByType.find(type);
    return it == kByType.end() ? "AcDbEntity" : it->second;
}

// An INSERT with more than one row or column is a multiple insert, not a plain block
// reference.
bool AcadEntity::isMultipleInsert() const {
    GroupReader reader(drawing_->recordBytes(record_), drawing_->format());
    Group g;
    while (reader.next(g)) {
        if (g.code == 1001) break;
        if ((g.code == 70 || g.code == 71) && valueInt(g, drawing_->format()) > 1) return true;
    }
    return false;
}

std::string AcadEntity::objectName() const {
    const Record& r = drawing_->record(record_);
    if (r.kind == Kind::Insert && isMultipleInsert()) return "AcDbMInsertBlock";
    return objectNameOf(r.type);
}

bool AcadEntity::isBlockReference() const {
    return drawing_->record(record_).kind == Kind::Insert && !isMultipleInsert();
}

std::string AcadAttributeReference::tagString() const {
    std::string text;
    drawing_->value(record_, 2, text);
    return drawing_->codec().toUtf8(text);
}

std::string AcadAttributeReference::textString() const {
    std::string text;
    drawing_->value(record_, 1, text);
    return drawing_->codec().toUtf8(text);
}

void AcadAttributeReference::setTextString(std::string_view text) {
    std::string clean(text);
    for (char& c : clean)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    RecordEdit edit(*drawing_, record_);
    const std::string encoded = drawing_->codec().fromUtf8(clean);
    const int k = edit.find(1);
    if (k >= 0) {
        if (edit.text(static_cast<size_t>(k)) == encoded) return;
        edit.set(static_cast<size_t>(k), encoded);
    } else {
        edit.insert(edit.xdataStart(), 1, encoded);
    }
    edit.commit(*drawing_);
}

std::string AcadBlockReference::name() const {
    std::string text;
    drawing_->value(record_, 2, text);
    return drawing_->codec().toUtf8(text);
}

bool AcadBlockReference::hasAttributes() const {
    return drawing_->record(record_).attribsFollow && !getAttributes().empty();
}

std::vector<AcadAttributeReference> AcadBlockReference::getAttributes() const {
    std::vector<AcadAttributeReference> out;
    if (!drawing_->record(record_).attribsFollow) return out;
    for (size_t i = record_ + 1; i < drawing_->size(); ++i) {
        const Record& r = drawing_->record(i);
        if (r.deleted) continue;
        if (r.kind != Kind::Attrib) break;
        out.emplace_back(*drawing_, i);
    }
    return out;
}

}  // namespace drawing
