// The HEADER section of the DXF written from a DWG: the variables in the order the
// drawing program writes them, each with its group code, taken from the decoded header
// where the version has it.
#include "dwg/header_dxf.h"

#include <string_view>
#include <unordered_map>

namespace dwg {
namespace {

struct Variable {
    const char* name;
    int16_t code;  // for points the code of x (10)
};

// The order of a DXF header; a variable the DWG does not hold is left out.
const Variable kOrder[] = {
    {"$INSBASE", 10}, {"$EXTMIN", 10}, {"$EXTMAX", 10}, {"$LIMMIN", 10}, {"$LIMMAX", 10},
    {"$ORTHOMODE", 70}, {"$REGENMODE", 70}, {"$FILLMODE", 70}, {"$QTEXTMODE", 70},
    {"$MIRRTEXT", 70}, {"$DRAGMODE", 70}, {"$LTSCALE", 40}, {"$OSMODE", 70},
    {"$ATTMODE", 70}, {"$TEXTSIZE", 40}, {"$TRACEWID", 40}, {"$TEXTSTYLE", 7},
    {"$CLAYER", 8}, {"$CELTYPE", 6}, {"$CECOLOR", 62}, {"$CELTSCALE", 40},
    {"$DELOBJ", 70}, {"$DISPSILH", 70}, {"$DIMSCALE", 40}, {"$DIMASZ", 40},
    {"$DIMEXO", 40}, {"$DIMDLI", 40}, {"$DIMRND", 40}, {"$DIMDLE", 40}, {"$DIMEXE", 40},
    {"$DIMTP", 40}, {"$DIMTM", 40}, {"$DIMTXT", 40}, {"$DIMCEN", 40}, {"$DIMTSZ", 40},
    {"$DIMTOL", 70}, {"$DIMLIM", 70}, {"$DIMTIH", 70}, {"$DIMTOH", 70}, {"$DIMSE1", 70},
    {"$DIMSE2", 70}, {"$DIMTAD", 70}, {"$DIMZIN", 70}, {"$DIMBLK", 1}, {"$DIMASO", 70},
    {"$DIMSHO", 70}, {"$DIMPOST", 1}, {"$DIMAPOST", 1}, {"$DIMALT", 70},
    {"$DIMALTD", 70}, {"$DIMALTF", 40}, {"$DIMLFAC", 40}, {"$DIMTOFL", 70},
    {"$DIMTVP", 40}, {"$DIMTIX", 70}, {"$DIMSOXD", 70}, {"$DIMSAH", 70}, {"$DIMBLK1", 1},
    {"$DIMBLK2", 1}, {"$DIMSTYLE", 2}, {"$DIMCLRD", 70}, {"$DIMCLRE", 70},
    {"$DIMCLRT", 70}, {"$DIMTFAC", 40}, {"$DIMGAP", 40}, {"$DIMJUST", 70},
    {"$DIMSD1", 70}, {"$DIMSD2", 70}, {"$DIMTOLJ", 70}, {"$DIMTZIN", 70},
    {"$DIMALTZ", 70}, {"$DIMALTTZ", 70}, {"$DIMFIT", 70}, {"$DIMUPT", 70},
    {"$DIMUNIT", 70}, {"$DIMDEC", 70}, {"$DIMTDEC", 70}, {"$DIMALTU", 70},
    {"$DIMALTTD", 70}, {"$DIMTXSTY", 7}, {"$DIMAUNIT", 70}, {"$DIMADEC", 70},
    {"$DIMALTRND", 40}, {"$DIMAZIN", 70}, {"$DIMDSEP", 70}, {"$DIMATFIT", 70},
    {"$DIMFRAC", 70}, {"$DIMLDRBLK", 1}, {"$DIMLUNIT", 70}, {"$DIMLWD", 70},
    {"$DIMLWE", 70}, {"$DIMTMOVE", 70}, {"$DIMFXL", 40}, {"$DIMFXLON", 70},
    {"$DIMJOGANG", 40}, {"$DIMTFILL", 70}, {"$DIMTFILLCLR", 70}, {"$DIMARCSYM", 70},
    {"$DIMLTYPE", 6}, {"$DIMLTEX1", 6}, {"$DIMLTEX2", 6}, {"$DIMTXTDIRECTION", 70},
    {"$LUNITS", 70}, {"$LUPREC", 70}, {"$SKETCHINC", 40}, {"$FILLETRAD", 40},
    {"$AUNITS", 70}, {"$AUPREC", 70}, {"$MENU", 1}, {"$ELEVATION", 40},
    {"$PELEVATION", 40}, {"$THICKNESS", 40}, {"$LIMCHECK", 70}, {"$BLIPMODE", 70},
    {"$CHAMFERA", 40}, {"$CHAMFERB", 40}, {"$CHAMFERC", 40}, {"$CHAMFERD", 40},
    {"$SKPOLY", 70}, {"$TDCREATE", 40}, {"$TDUPDATE", 40}, {"$TDINDWG", 40},
    {"$TDUSRTIMER", 40}, {"$USRTIMER", 70}, {"$ANGBASE", 50}, {"$ANGDIR", 70},
    {"$PDMODE", 70}, {"$PDSIZE", 40}, {"$PLINEWID", 40}, {"$COORDS", 70},
    {"$SPLFRAME", 70}, {"$SPLINETYPE", 70}, {"$SPLINESEGS", 70}, {"$ATTDIA", 70},
    {"$ATTREQ", 70}, {"$HANDSEED", 5}, {"$SURFTAB1", 70}, {"$SURFTAB2", 70},
    {"$SURFTYPE", 70}, {"$SURFU", 70}, {"$SURFV", 70}, {"$UCSBASE", 2}, {"$UCSNAME", 2},
    {"$UCSORG", 10}, {"$UCSXDIR", 10}, {"$UCSYDIR", 10}, {"$UCSORTHOREF", 2},
    {"$UCSORTHOVIEW", 70}, {"$UCSORGTOP", 10}, {"$UCSORGBOTTOM", 10},
    {"$UCSORGLEFT", 10}, {"$UCSORGRIGHT", 10}, {"$UCSORGFRONT", 10}, {"$UCSORGBACK", 10},
    {"$PUCSBASE", 2}, {"$PUCSNAME", 2}, {"$PUCSORG", 10}, {"$PUCSXDIR", 10},
    {"$PUCSYDIR", 10}, {"$PUCSORTHOREF", 2}, {"$PUCSORTHOVIEW", 70},
    {"$PUCSORGTOP", 10}, {"$PUCSORGBOTTOM", 10}, {"$PUCSORGLEFT", 10},
    {"$PUCSORGRIGHT", 10}, {"$PUCSORGFRONT", 10}, {"$PUCSORGBACK", 10},
    {"$USERI1", 70}, {"$USERI2", 70}, {"$USERI3", 70}, {"$USERI4", 70}, {"$USERI5", 70},
    {"$USERR1", 40}, {"$USERR2", 40}, {"$USERR3", 40}, {"$USERR4", 40}, {"$USERR5", 40},
    {"$WORLDVIEW", 70}, {"$SHADEDGE", 70}, {"$SHADEDIF", 70}, {"$TILEMODE", 70},
    {"$MAXACTVP", 70}, {"$PINSBASE", 10}, {"$PLIMCHECK", 70}, {"$PEXTMIN", 10},
    {"$PEXTMAX", 10}, {"$PLIMMIN", 10}, {"$PLIMMAX", 10}, {"$UNITMODE", 70},
    {"$VISRETAIN", 70}, {"$PLINEGEN", 70}, {"$PSLTSCALE", 70}, {"$TREEDEPTH", 70},
    {"$PICKSTYLE", 70}, {"$CMLSTYLE", 2}, {"$CMLJUST", 70}, {"$CMLSCALE", 40},
    {"$PROXYGRAPHICS", 70}, {"$CELWEIGHT", 370}, {"$ENDCAPS", 280}, {"$JOINSTYLE", 280},
    {"$LWDISPLAY", 290}, {"$INSUNITS", 70}, {"$HYPERLINKBASE", 1}, {"$STYLESHEET", 1},
    {"$XEDIT", 290}, {"$CEPSNTYPE", 380}, {"$PSTYLEMODE", 290}, {"$FINGERPRINTGUID", 2},
    {"$VERSIONGUID", 2}, {"$EXTNAMES", 290}, {"$PSVPSCALE", 40}, {"$OLESTARTUP", 290},
    {"$SORTENTS", 280}, {"$INDEXCTL", 280}, {"$HIDETEXT", 280}, {"$XCLIPFRAME", 280},
    {"$HALOGAP", 280}, {"$OBSCOLOR", 70}, {"$OBSLTYPE", 280},
    {"$INTERSECTIONDISPLAY", 280}, {"$INTERSECTIONCOLOR", 70}, {"$DIMASSOC", 280},
    {"$PROJECTNAME", 1}, {"$CAMERADISPLAY", 290}, {"$LENSLENGTH", 40},
    {"$CAMERAHEIGHT", 40}, {"$STEPSPERSEC", 40}, {"$STEPSIZE", 40}, {"$3DDWFPREC", 40},
    {"$PSOLWIDTH", 40}, {"$PSOLHEIGHT", 40}, {"$LOFTANG1", 40}, {"$LOFTANG2", 40},
    {"$LOFTMAG1", 40}, {"$LOFTMAG2", 40}, {"$LOFTPARAM", 70}, {"$LOFTNORMALS", 280},
    {"$LATITUDE", 40}, {"$LONGITUDE", 40}, {"$NORTHDIRECTION", 40}, {"$TIMEZONE", 70},
    {"$LIGHTGLYPHDISPLAY", 280}, {"$TILEMODELIGHTSYNCH", 280}, {"$CMATERIAL", 347},
    {"$SOLIDHIST", 280}, {"$SHOWHIST", 280}, {"$DWFFRAME", 280}, {"$DGNFRAME", 280},
    {"$REALWORLDSCALE", 290}, {"$INTERFERECOLOR", 62}, {"$INTERFEREOBJVS", 345},
    {"$INTERFEREVPVS", 346}, {"$DRAGVS", 349}, {"$CSHADOW", 280},
    {"$SHADOWPLANELOCATION", 40},
};

// Arrow blocks are named without the underscore their blocks carry.
bool isArrowVariable(std::string_view name) {
    return name == "$DIMBLK" || name == "$DIMBLK1" || name == "$DIMBLK2" ||
           name == "$DIMLDRBLK";
}

}  // namespace

void writeHeaderVariables(const DwgDrawing& drawing, const NameOf& nameOf, DxfOut& out) {
    // The variables by name, the first of a name as Header::find takes it.
    std::unordered_map<std::string_view, const HeaderValue*> byName;
    byName.reserve(drawing.header.values.size());
    for (const HeaderValue& value : drawing.header.values) byName.emplace(value.name, &value);
    for (const Variable& v : kOrder) {
        const auto found = byName.find(v.name);
        if (found == byName.end()) continue;
        const HeaderValue* value = found->second;
        out.group(9, v.name);
        switch (value->type) {
        case HeaderValue::Type::Int: out.group(v.code, value->i); break;
        case HeaderValue::Type::Double: out.group(v.code, realText(value->d[0])); break;
        case HeaderValue::Type::Point2:
            out.group(10, realText(value->d[0]));
            out.group(20, realText(value->d[1]));
            break;
        case HeaderValue::Type::Point3:
            out.group(10, realText(value->d[0]));
            out.group(20, realText(value->d[1]));
            out.group(30, realText(value->d[2]));
            break;
        case HeaderValue::Type::Text: {
            std::string text = value->text;
            if (isArrowVariable(v.name) && !text.empty() && text[0] == '_') text.erase(0, 1);
            out.group(v.code, text);
            break;
        }
        case HeaderValue::Type::Color: out.group(v.code, int64_t{value->color.index}); break;
        case HeaderValue::Type::Handle:
            if (v.code == 5 || v.code >= 340) {
                out.handle(v.code, value->handle);
            } else {
                std::string name = value->handle ? nameOf(value->handle) : std::string();
                if (isArrowVariable(v.name) && !name.empty() && name[0] == '_') name.erase(0, 1);
                out.group(v.code, name);
            }
            break;
        }
    }
}

}  // namespace dwg
