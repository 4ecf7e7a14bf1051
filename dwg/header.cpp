#include "dwg/header.h"

#include <cstring>

namespace dwg {
namespace {

using V = Version;

enum class K : uint8_t {
    B,
    BS,
    BL,
    BLL,
    BD,
    RC,
    RD2,
    BD3,
    TV,
    H,         // a handle of the handle stream
    HandSeed,  // the next handle, in the data stream
    CMC,
    Time,       // days and milliseconds: a Julian date
    Flags,      // the 2000 bit field of lineweight, end caps, joins and switches
    PlotStyle,  // CEPSNTYPE, with the plot style handle when it is 3
};

struct Entry {
    const char* name;  // a DXF variable, or nullptr for values read and dropped
    K kind;
    V from = V::R13;
    V to = V::R2018;
    uint64_t Header::*field = nullptr;  // where a handle that is no variable goes
};

constexpr V kAll = V::R2018;

// The section in its order. Ranges are inclusive.
const Entry kEntries[] = {
    {"$REQUIREDVERSIONS", K::BLL, V::R2013},
    {nullptr, K::BD}, {nullptr, K::BD}, {nullptr, K::BD}, {nullptr, K::BD},
    {nullptr, K::TV}, {nullptr, K::TV}, {nullptr, K::TV}, {nullptr, K::TV},
    {nullptr, K::BL}, {nullptr, K::BL},
    {nullptr, K::BS, V::R13, V::R14},
    {nullptr, K::H, V::R13, V::R2000},  // the current viewport entity header
    {"$DIMASO", K::B}, {"$DIMSHO", K::B},
    {"$DIMSAV", K::B, V::R13, V::R14},
    {"$PLINEGEN", K::B}, {"$ORTHOMODE", K::B}, {"$REGENMODE", K::B}, {"$FILLMODE", K::B},
    {"$QTEXTMODE", K::B}, {"$PSLTSCALE", K::B}, {"$LIMCHECK", K::B},
    {"$BLIPMODE", K::B, V::R13, V::R14},
    {nullptr, K::B, V::R2004},
    {"$USRTIMER", K::B}, {"$SKPOLY", K::B}, {"$ANGDIR", K::B}, {"$SPLFRAME", K::B},
    {"$ATTREQ", K::B, V::R13, V::R14}, {"$ATTDIA", K::B, V::R13, V::R14},
    {"$MIRRTEXT", K::B}, {"$WORLDVIEW", K::B},
    {nullptr, K::B, V::R13, V::R14},  // WIREFRAME
    {"$TILEMODE", K::B}, {"$PLIMCHECK", K::B}, {"$VISRETAIN", K::B},
    {"$DELOBJ", K::B, V::R13, V::R14},
    {"$DISPSILH", K::B}, {"$PELLIPSE", K::B},
    {"$PROXYGRAPHICS", K::BS},
    {"$DRAGMODE", K::BS, V::R13, V::R14},
    {"$TREEDEPTH", K::BS}, {"$LUNITS", K::BS}, {"$LUPREC", K::BS}, {"$AUNITS", K::BS},
    {"$AUPREC", K::BS},
    {"$OSMODE", K::BS, V::R13, V::R14},
    {"$ATTMODE", K::BS},
    {"$COORDS", K::BS, V::R13, V::R14},
    {"$PDMODE", K::BS},
    {"$PICKSTYLE", K::BS, V::R13, V::R14},
    {nullptr, K::BL, V::R2004}, {nullptr, K::BL, V::R2004}, {nullptr, K::BL, V::R2004},
    {"$USERI1", K::BS}, {"$USERI2", K::BS}, {"$USERI3", K::BS}, {"$USERI4", K::BS},
    {"$USERI5", K::BS}, {"$SPLINESEGS", K::BS}, {"$SURFU", K::BS}, {"$SURFV", K::BS},
    {"$SURFTYPE", K::BS}, {"$SURFTAB1", K::BS}, {"$SURFTAB2", K::BS},
    {"$SPLINETYPE", K::BS}, {"$SHADEDGE", K::BS}, {"$SHADEDIF", K::BS},
    {"$UNITMODE", K::BS}, {"$MAXACTVP", K::BS}, {"$ISOLINES", K::BS}, {"$CMLJUST", K::BS},
    {"$TEXTQLTY", K::BS},
    {"$LTSCALE", K::BD}, {"$TEXTSIZE", K::BD}, {"$TRACEWID", K::BD}, {"$SKETCHINC", K::BD},
    {"$FILLETRAD", K::BD}, {"$THICKNESS", K::BD}, {"$ANGBASE", K::BD}, {"$PDSIZE", K::BD},
    {"$PLINEWID", K::BD}, {"$USERR1", K::BD}, {"$USERR2", K::BD}, {"$USERR3", K::BD},
    {"$USERR4", K::BD}, {"$USERR5", K::BD}, {"$CHAMFERA", K::BD}, {"$CHAMFERB", K::BD},
    {"$CHAMFERC", K::BD}, {"$CHAMFERD", K::BD}, {"$FACETRES", K::BD}, {"$CMLSCALE", K::BD},
    {"$CELTSCALE", K::BD},
    // Stored with the data up to 2004 and with the texts from 2007 on: in either case
    // it is the next text.
    {"$MENU", K::TV},
    {"$TDCREATE", K::Time}, {"$TDUPDATE", K::Time},
    {nullptr, K::BL, V::R2004}, {nullptr, K::BL, V::R2004}, {nullptr, K::BL, V::R2004},
    {"$TDINDWG", K::Time}, {"$TDUSRTIMER", K::Time},
    {"$CECOLOR", K::CMC},
    {"$HANDSEED", K::HandSeed},
    {"$CLAYER", K::H}, {"$TEXTSTYLE", K::H}, {"$CELTYPE", K::H},
    {"$CMATERIAL", K::H, V::R2007},
    {"$DIMSTYLE", K::H}, {"$CMLSTYLE", K::H},
    {"$PSVPSCALE", K::BD, V::R2000},
    {"$PINSBASE", K::BD3}, {"$PEXTMIN", K::BD3}, {"$PEXTMAX", K::BD3},
    {"$PLIMMIN", K::RD2}, {"$PLIMMAX", K::RD2}, {"$PELEVATION", K::BD},
    {"$PUCSORG", K::BD3}, {"$PUCSXDIR", K::BD3}, {"$PUCSYDIR", K::BD3},
    {"$PUCSNAME", K::H},
    {"$PUCSORTHOREF", K::H, V::R2000}, {"$PUCSORTHOVIEW", K::BS, V::R2000},
    {"$PUCSBASE", K::H, V::R2000},
    {"$PUCSORGTOP", K::BD3, V::R2000}, {"$PUCSORGBOTTOM", K::BD3, V::R2000},
    {"$PUCSORGLEFT", K::BD3, V::R2000}, {"$PUCSORGRIGHT", K::BD3, V::R2000},
    {"$PUCSORGFRONT", K::BD3, V::R2000}, {"$PUCSORGBACK", K::BD3, V::R2000},
    {"$INSBASE", K::BD3}, {"$EXTMIN", K::BD3}, {"$EXTMAX", K::BD3},
    {"$LIMMIN", K::RD2}, {"$LIMMAX", K::RD2}, {"$ELEVATION", K::BD},
    {"$UCSORG", K::BD3}, {"$UCSXDIR", K::BD3}, {"$UCSYDIR", K::BD3},
    {"$UCSNAME", K::H},
    {"$UCSORTHOREF", K::H, V::R2000}, {"$UCSORTHOVIEW", K::BS, V::R2000},
    {"$UCSBASE", K::H, V::R2000},
    {"$UCSORGTOP", K::BD3, V::R2000}, {"$UCSORGBOTTOM", K::BD3, V::R2000},
    {"$UCSORGLEFT", K::BD3, V::R2000}, {"$UCSORGRIGHT", K::BD3, V::R2000},
    {"$UCSORGFRONT", K::BD3, V::R2000}, {"$UCSORGBACK", K::BD3, V::R2000},
    {"$DIMPOST", K::TV, V::R2000}, {"$DIMAPOST", K::TV, V::R2000},
    {"$DIMTOL", K::B, V::R13, V::R14}, {"$DIMLIM", K::B, V::R13, V::R14},
    {"$DIMTIH", K::B, V::R13, V::R14}, {"$DIMTOH", K::B, V::R13, V::R14},
    {"$DIMSE1", K::B, V::R13, V::R14}, {"$DIMSE2", K::B, V::R13, V::R14},
    {"$DIMALT", K::B, V::R13, V::R14}, {"$DIMTOFL", K::B, V::R13, V::R14},
    {"$DIMSAH", K::B, V::R13, V::R14}, {"$DIMTIX", K::B, V::R13, V::R14},
    {"$DIMSOXD", K::B, V::R13, V::R14}, {"$DIMALTD", K::RC, V::R13, V::R14},
    {"$DIMZIN", K::RC, V::R13, V::R14}, {"$DIMSD1", K::B, V::R13, V::R14},
    {"$DIMSD2", K::B, V::R13, V::R14}, {"$DIMTOLJ", K::RC, V::R13, V::R14},
    {"$DIMJUST", K::RC, V::R13, V::R14}, {"$DIMFIT", K::RC, V::R13, V::R14},
    {"$DIMUPT", K::B, V::R13, V::R14}, {"$DIMTZIN", K::RC, V::R13, V::R14},
    {"$DIMALTZ", K::RC, V::R13, V::R14}, {"$DIMALTTZ", K::RC, V::R13, V::R14},
    {"$DIMTAD", K::RC, V::R13, V::R14}, {"$DIMUNIT", K::BS, V::R13, V::R14},
    {"$DIMAUNIT", K::BS, V::R13, V::R14}, {"$DIMDEC", K::BS, V::R13, V::R14},
    {"$DIMTDEC", K::BS, V::R13, V::R14}, {"$DIMALTU", K::BS, V::R13, V::R14},
    {"$DIMALTTD", K::BS, V::R13, V::R14}, {"$DIMTXSTY", K::H, V::R13, V::R14},
    {"$DIMSCALE", K::BD}, {"$DIMASZ", K::BD}, {"$DIMEXO", K::BD}, {"$DIMDLI", K::BD},
    {"$DIMEXE", K::BD}, {"$DIMRND", K::BD}, {"$DIMDLE", K::BD}, {"$DIMTP", K::BD},
    {"$DIMTM", K::BD},
    {"$DIMFXL", K::BD, V::R2007}, {"$DIMJOGANG", K::BD, V::R2007},
    {"$DIMTFILL", K::BS, V::R2007}, {"$DIMTFILLCLR", K::CMC, V::R2007},
    {"$DIMTOL", K::B, V::R2000}, {"$DIMLIM", K::B, V::R2000}, {"$DIMTIH", K::B, V::R2000},
    {"$DIMTOH", K::B, V::R2000}, {"$DIMSE1", K::B, V::R2000}, {"$DIMSE2", K::B, V::R2000},
    {"$DIMTAD", K::BS, V::R2000}, {"$DIMZIN", K::BS, V::R2000},
    {"$DIMAZIN", K::BS, V::R2000},
    {"$DIMARCSYM", K::BS, V::R2007},
    {"$DIMTXT", K::BD}, {"$DIMCEN", K::BD}, {"$DIMTSZ", K::BD}, {"$DIMALTF", K::BD},
    {"$DIMLFAC", K::BD}, {"$DIMTVP", K::BD}, {"$DIMTFAC", K::BD}, {"$DIMGAP", K::BD},
    {"$DIMPOST", K::TV, V::R13, V::R14}, {"$DIMAPOST", K::TV, V::R13, V::R14},
    {"$DIMBLK", K::TV, V::R13, V::R14}, {"$DIMBLK1", K::TV, V::R13, V::R14},
    {"$DIMBLK2", K::TV, V::R13, V::R14},
    {"$DIMALTRND", K::BD, V::R2000}, {"$DIMALT", K::B, V::R2000},
    {"$DIMALTD", K::BS, V::R2000}, {"$DIMTOFL", K::B, V::R2000},
    {"$DIMSAH", K::B, V::R2000}, {"$DIMTIX", K::B, V::R2000}, {"$DIMSOXD", K::B, V::R2000},
    {"$DIMCLRD", K::CMC}, {"$DIMCLRE", K::CMC}, {"$DIMCLRT", K::CMC},
    {"$DIMADEC", K::BS, V::R2000}, {"$DIMDEC", K::BS, V::R2000},
    {"$DIMTDEC", K::BS, V::R2000}, {"$DIMALTU", K::BS, V::R2000},
    {"$DIMALTTD", K::BS, V::R2000}, {"$DIMAUNIT", K::BS, V::R2000},
    {"$DIMFRAC", K::BS, V::R2000}, {"$DIMLUNIT", K::BS, V::R2000},
    {"$DIMDSEP", K::BS, V::R2000}, {"$DIMTMOVE", K::BS, V::R2000},
    {"$DIMJUST", K::BS, V::R2000}, {"$DIMSD1", K::B, V::R2000}, {"$DIMSD2", K::B, V::R2000},
    {"$DIMTOLJ", K::BS, V::R2000}, {"$DIMTZIN", K::BS, V::R2000},
    {"$DIMALTZ", K::BS, V::R2000}, {"$DIMALTTZ", K::BS, V::R2000},
    {"$DIMUPT", K::B, V::R2000}, {"$DIMATFIT", K::BS, V::R2000},
    {"$DIMFXLON", K::B, V::R2007},
    {"$DIMTXTDIRECTION", K::B, V::R2010}, {"$DIMALTMZF", K::BD, V::R2010},
    {"$DIMALTMZS", K::TV, V::R2010}, {"$DIMMZF", K::BD, V::R2010},
    {"$DIMMZS", K::TV, V::R2010},
    {"$DIMTXSTY", K::H, V::R2000}, {"$DIMLDRBLK", K::H, V::R2000},
    {"$DIMBLK", K::H, V::R2000}, {"$DIMBLK1", K::H, V::R2000}, {"$DIMBLK2", K::H, V::R2000},
    {"$DIMLTYPE", K::H, V::R2007}, {"$DIMLTEX1", K::H, V::R2007},
    {"$DIMLTEX2", K::H, V::R2007},
    {"$DIMLWD", K::BS, V::R2000}, {"$DIMLWE", K::BS, V::R2000},
    {nullptr, K::H, V::R13, kAll, &Header::blockControl},
    {nullptr, K::H, V::R13, kAll, &Header::layerControl},
    {nullptr, K::H, V::R13, kAll, &Header::styleControl},
    {nullptr, K::H, V::R13, kAll, &Header::linetypeControl},
    {nullptr, K::H, V::R13, kAll, &Header::viewControl},
    {nullptr, K::H, V::R13, kAll, &Header::ucsControl},
    {nullptr, K::H, V::R13, kAll, &Header::vportControl},
    {nullptr, K::H, V::R13, kAll, &Header::appidControl},
    {nullptr, K::H, V::R13, kAll, &Header::dimstyleControl},
    {nullptr, K::H, V::R13, V::R2000, &Header::vxControl},
    {nullptr, K::H, V::R13, kAll, &Header::groupDictionary},
    {nullptr, K::H, V::R13, kAll, &Header::mlinestyleDictionary},
    {nullptr, K::H, V::R13, kAll, &Header::namedObjects},
    {nullptr, K::BS, V::R2000}, {nullptr, K::BS, V::R2000},  // TSTACKALIGN, TSTACKSIZE
    {"$HYPERLINKBASE", K::TV, V::R2000}, {"$STYLESHEET", K::TV, V::R2000},
    {nullptr, K::H, V::R2000, kAll, &Header::layoutDictionary},
    {nullptr, K::H, V::R2000, kAll, &Header::plotSettingsDictionary},
    {nullptr, K::H, V::R2000, kAll, &Header::plotStyleDictionary},
    {nullptr, K::H, V::R2004, kAll, &Header::materialDictionary},
    {nullptr, K::H, V::R2004, kAll, &Header::colorDictionary},
    {nullptr, K::H, V::R2007, kAll, &Header::visualStyleDictionary},
    {nullptr, K::H, V::R2013},
    {nullptr, K::Flags, V::R2000},
    {"$INSUNITS", K::BS, V::R2000},
    {"$CEPSNTYPE", K::PlotStyle, V::R2000},
    {"$FINGERPRINTGUID", K::TV, V::R2000}, {"$VERSIONGUID", K::TV, V::R2000},
    {"$SORTENTS", K::RC, V::R2004}, {"$INDEXCTL", K::RC, V::R2004},
    {"$HIDETEXT", K::RC, V::R2004}, {"$XCLIPFRAME", K::RC, V::R2004},
    {"$DIMASSOC", K::RC, V::R2004}, {"$HALOGAP", K::RC, V::R2004},
    {"$OBSCOLOR", K::BS, V::R2004}, {"$INTERSECTIONCOLOR", K::BS, V::R2004},
    {"$OBSLTYPE", K::RC, V::R2004}, {"$INTERSECTIONDISPLAY", K::RC, V::R2004},
    {"$PROJECTNAME", K::TV, V::R2004},
    {nullptr, K::H, V::R13, kAll, &Header::paperSpace},
    {nullptr, K::H, V::R13, kAll, &Header::modelSpace},
    {nullptr, K::H, V::R13, kAll, &Header::byLayer},
    {nullptr, K::H, V::R13, kAll, &Header::byBlock},
    {nullptr, K::H, V::R13, kAll, &Header::continuous},
    {"$CAMERADISPLAY", K::B, V::R2007},
    {nullptr, K::BL, V::R2007}, {nullptr, K::BL, V::R2007}, {nullptr, K::BD, V::R2007},
    {"$STEPSPERSEC", K::BD, V::R2007}, {"$STEPSIZE", K::BD, V::R2007},
    {"$3DDWFPREC", K::BD, V::R2007}, {"$LENSLENGTH", K::BD, V::R2007},
    {"$CAMERAHEIGHT", K::BD, V::R2007}, {"$SOLIDHIST", K::RC, V::R2007},
    {"$SHOWHIST", K::RC, V::R2007}, {"$PSOLWIDTH", K::BD, V::R2007},
    {"$PSOLHEIGHT", K::BD, V::R2007}, {"$LOFTANG1", K::BD, V::R2007},
    {"$LOFTANG2", K::BD, V::R2007}, {"$LOFTMAG1", K::BD, V::R2007},
    {"$LOFTMAG2", K::BD, V::R2007}, {"$LOFTPARAM", K::BS, V::R2007},
    {"$LOFTNORMALS", K::RC, V::R2007}, {"$LATITUDE", K::BD, V::R2007},
    {"$LONGITUDE", K::BD, V::R2007}, {"$NORTHDIRECTION", K::BD, V::R2007},
    {"$TIMEZONE", K::BL, V::R2007}, {"$LIGHTGLYPHDISPLAY", K::RC, V::R2007},
    {"$TILEMODELIGHTSYNCH", K::RC, V::R2007}, {"$DWFFRAME", K::RC, V::R2007},
    {"$DGNFRAME", K::RC, V::R2007}, {"$REALWORLDSCALE", K::B, V::R2007},
    {"$INTERFERECOLOR", K::CMC, V::R2007},
    {"$INTERFEREOBJVS", K::H, V::R2007}, {"$INTERFEREVPVS", K::H, V::R2007},
    {"$DRAGVS", K::H, V::R2007},
    {"$CSHADOW", K::RC, V::R2007}, {"$SHADOWPLANELOCATION", K::BD, V::R2007},
};

const uint8_t kStartSentinel[16] = {0xCF, 0x7B, 0x1F, 0x23, 0xFD, 0xDE, 0x38, 0xA9,
                                    0x5F, 0x7C, 0x68, 0xB8, 0x4E, 0x6D, 0x33, 0x5F};

void addInt(Header& out, const char* name, int64_t v) {
    HeaderValue value;
    value.name = name;
    value.i = v;
    out.values.push_back(std::move(value));
}

void readFlags(BitReader& r, Header& out) {
    const uint32_t flags = static_cast<uint32_t>(r.BL());
    addInt(out, "$CELWEIGHT", lineweightOf(flags & 0x1f));
    addInt(out, "$ENDCAPS", (flags & 0x60) >> 5);
    addInt(out, "$JOINSTYLE", (flags & 0x180) >> 7);
    addInt(out, "$LWDISPLAY", (flags & 0x200) ? 0 : 1);
    addInt(out, "$XEDIT", (flags & 0x400) ? 0 : 1);
    addInt(out, "$EXTNAMES", (flags & 0x800) ? 1 : 0);
    addInt(out, "$PSTYLEMODE", (flags & 0x2000) ? 1 : 0);
    addInt(out, "$OLESTARTUP", (flags & 0x4000) ? 1 : 0);
}

void readEntry(const Entry& e, BitReader& r, BitReader& handles, Header& out) {
    HeaderValue v;
    switch (e.kind) {
    case K::B: v.i = r.B(); break;
    case K::BS: v.i = r.BS(); break;
    case K::BL: v.i = r.BL(); break;
    case K::BLL: v.i = static_cast<int64_t>(r.BLL()); break;
    case K::RC: v.i = r.RC(); break;
    case K::BD:
        v.type = HeaderValue::Type::Double;
        v.d[0] = r.BD();
        break;
    case K::RD2: {
        v.type = HeaderValue::Type::Point2;
        const Point2 p = r.RD2();
        v.d[0] = p.x;
        v.d[1] = p.y;
        break;
    }
    case K::BD3: {
        v.type = HeaderValue::Type::Point3;
        const Point3 p = r.BD3();
        v.d[0] = p.x;
        v.d[1] = p.y;
        v.d[2] = p.z;
        break;
    }
    case K::TV:
        v.type = HeaderValue::Type::Text;
        v.text = r.TV();
        break;
    case K::H:
        v.type = HeaderValue::Type::Handle;
        v.handle = handles.H().value;
        break;
    case K::HandSeed:
        v.type = HeaderValue::Type::Handle;
        v.handle = r.H().value;
        break;
    case K::CMC:
        v.type = HeaderValue::Type::Color;
        v.color = r.CMC();
        break;
    case K::Time: {
        v.type = HeaderValue::Type::Double;
        const int32_t days = r.BL();
        const int32_t ms = r.BL();
        v.d[0] = days + ms / 86400000.0;
        break;
    }
    case K::Flags: readFlags(r, out); return;
    case K::PlotStyle:
        v.i = r.BS();
        if (v.i == 3) handles.H();
        break;
    }
    if (e.field) {
        out.*e.field = v.handle;
    } else if (e.name) {
        v.name = e.name;
        out.values.push_back(std::move(v));
    }
}

}  // namespace

int lineweightOf(int index) {
    static const int kWeights[] = {0,  5,  9,  13, 15, 18,  20,  25,  30,  35,  40,  50,
                                   53, 60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};
    if (index >= 0 && index < 24) return kWeights[index];
    if (index == 28 || index == 29) return -1;  // BYLAYER
    if (index == 30) return -2;  // BYBLOCK
    return -3;                   // the default
}

const HeaderValue* Header::find(std::string_view name) const {
    for (const HeaderValue& v : values)
        if (v.name == name) return &v;
    return nullptr;
}

std::string readHeader(std::span<const uint8_t> section, Version version, uint8_t maintenance,
                       Header& out) {
    if (section.size() < 20 || std::memcmp(section.data(), kStartSentinel, 16) != 0)
        return "DWG文件已损坏：头部变量段无效";
    BitReader r(section, version);
    BitReader strings(section, version);
    BitReader handleStream(section, version);
    r.seek(16 * 8);
    const uint32_t size = static_cast<uint32_t>(r.RL());
    if (size > section.size() - 20) return "DWG文件已损坏：头部变量段无效";
    if ((version >= Version::R2010 && maintenance > 3) || version >= Version::R2018) r.RL();
    if (version >= Version::R2007) {
        const size_t start = r.position();
        const size_t bits = static_cast<uint32_t>(r.RL());
        const size_t end = start + bits;
        if (bits == 0 || end > section.size() * 8) return "DWG文件已损坏：头部变量段无效";
        locateStrings(strings, end);
        handleStream.seek(end);
        r.limit(end);
        r.setTextStream(&strings);
    } else {
        r.limit((20 + size) * 8);
    }
    // Up to 2004 the handles are read in place from the data.
    BitReader& handles = version >= Version::R2007 ? handleStream : r;
    for (const Entry& e : kEntries) {
        if (version < e.from || version > e.to) continue;
        readEntry(e, r, handles, out);
        if (r.failed() || handles.failed() || strings.failed())
            return "DWG文件已损坏：头部变量无法读取";
    }
    return {};
}

}  // namespace dwg
