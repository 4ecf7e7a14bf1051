#include "dwg/dxf_writer.h"

#include <algorithm>
#include <charconv>
#include <unordered_set>

#include "dwg/dxf_out.h"
#include "dwg/header_dxf.h"

namespace dwg {
namespace {

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool isPaperSpaceName(const std::string& name) { return upper(name).starts_with("*PAPER_SPACE"); }

bool isHandleCode(int code) {
    return (code >= 330 && code <= 369) || (code >= 390 && code <= 399) ||
           (code >= 480 && code <= 481);
}

class Writer {
public:
    explicit Writer(const DwgDrawing& d) : d_(d) {}

    std::string run() {
        out_.reserve(expectedSize());
        writeHeader();
        writeClasses();
        writeTables();
        writeBlocks();
        writeEntities();
        writeObjects();
        out_.group(0, "EOF");
        return std::move(out_.text());
    }

private:
    // A little more than the text will take, so that it is never moved as it grows.
    size_t expectedSize() const {
        size_t bytes = 1 << 16;
        for (const Record& r : d_.records) {
            bytes += 256;
            for (const Group& g : r.groups) bytes += g.value.size() + 8;
            for (const Group& g : r.xdata) bytes += g.value.size() + 8;
        }
        return bytes;
    }

    const std::string& nameOf(uint64_t handle) const {
        static const std::string kNone;
        const Record* r = d_.find(handle);
        return r ? r->name : kNone;
    }
    bool exists(uint64_t handle) const { return d_.find(handle) != nullptr; }

    void section(const char* name) {
        out_.group(0, "SECTION");
        out_.group(2, name);
    }
    void endSection() { out_.group(0, "ENDSEC"); }

    void writeHeader() {
        section("HEADER");
        out_.group(9, "$ACADVER");
        out_.group(1, versionName(d_.version));
        out_.group(9, "$ACADMAINTVER");
        out_.group(d_.version >= Version::R2018 ? 90 : 70, int64_t{d_.maintenance});
        out_.group(9, "$DWGCODEPAGE");
        out_.group(3, codePageName(d_.codePage));
        writeHeaderVariables(d_, [this](uint64_t h) { return nameOf(h); }, out_);
        endSection();
    }

    void writeClasses() {
        section("CLASSES");
        for (const DwgClass& c : d_.classes) {
            out_.group(0, "CLASS");
            out_.group(1, c.dxfName);
            out_.group(2, c.cppName);
            out_.group(3, c.appName);
            out_.group(90, int64_t{c.proxyFlags});
            if (d_.version >= Version::R2004) out_.group(91, int64_t{c.instances});
            out_.group(280, c.wasZombie ? "1" : "0");
            out_.group(281, c.isEntity ? "1" : "0");
        }
        endSection();
    }

    // The handle, the reactors and extension dictionary, and the owner.
    void writeStart(const Record& r, const std::string& type, uint64_t owner, int handleCode = 5) {
        out_.group(0, type);
        out_.handle(handleCode, r.handle);
        const auto present = [this](uint64_t h) { return exists(h); };
        if (std::any_of(r.reactors.begin(), r.reactors.end(), present)) {
            out_.group(102, "{ACAD_REACTORS");
            for (uint64_t h : r.reactors)
                if (exists(h)) out_.handle(330, h);
            out_.group(102, "}");
        }
        if (r.xdictionary && exists(r.xdictionary)) {
            out_.group(102, "{ACAD_XDICTIONARY");
            out_.handle(360, r.xdictionary);
            out_.group(102, "}");
        }
        out_.handle(330, owner);
    }

    // The record's own groups; references to objects that were not translated are left
    // out (with the name of a dictionary entry that pointed at one, and the sort handle
    // of a sort table's entity), or written as 0 where DXF holds them in their place.
    void writeGroups(const Record& r) {
        const std::vector<Group>& g = r.groups;
        for (size_t i = 0; i < g.size(); ++i) {
            if (g[i].isName) {
                const std::string& name = nameOf(g[i].ref);
                // An entity's text style STANDARD is DXF's default and not written.
                if (!(r.kind == RecordKind::Entity && g[i].code == 7 && upper(name) == "STANDARD"))
                    out_.group(g[i].code, name);
                continue;
            }
            if (g[i].code == 3 && i + 1 < g.size() &&
                (g[i + 1].code == 350 || g[i + 1].code == 360) && !exists(hexValue(g[i + 1]))) {
                ++i;
                continue;
            }
            // A draw order entry of an entity not translated goes whole: the entity
            // (331) and its sort handle (5), which DXF holds in pairs.
            if (isHandleCode(g[i].code) && g[i].code != 330 && !exists(hexValue(g[i]))) {
                if (g[i].keepsPlace) {
                    out_.group(g[i].code, "0");
                    continue;
                }
                if (g[i].code == 331 && r.type == "SORTENTSTABLE" && i + 1 < g.size() &&
                    g[i + 1].code == 5)
                    ++i;
                continue;
            }
            out_.group(g[i].code, g[i].value);
        }
        for (const Group& x : r.xdata) out_.group(x.code, x.isName ? nameOf(x.ref) : x.value);
    }

    static uint64_t hexValue(const Group& g) {
        uint64_t value = 0;
        std::from_chars(g.value.data(), g.value.data() + g.value.size(), value, 16);
        return value;
    }

    void writeTables() {
        section("TABLES");
        const Header& h = d_.header;
        const std::pair<const char*, uint64_t> tables[] = {
            {"VPORT", h.vportControl}, {"LTYPE", h.linetypeControl},
            {"LAYER", h.layerControl}, {"STYLE", h.styleControl},
            {"VIEW", h.viewControl},   {"UCS", h.ucsControl},
            {"APPID", h.appidControl}, {"DIMSTYLE", h.dimstyleControl},
            {"BLOCK_RECORD", h.blockControl},
        };
        for (const auto& [name, handle] : tables) {
            const Record* control = d_.find(handle);
            out_.group(0, "TABLE");
            out_.group(2, name);
            if (!control) {
                out_.group(70, "0");
                out_.group(0, "ENDTAB");
                continue;
            }
            out_.handle(5, control->handle);
            if (control->xdictionary && exists(control->xdictionary)) {
                out_.group(102, "{ACAD_XDICTIONARY");
                out_.handle(360, control->xdictionary);
                out_.group(102, "}");
            }
            out_.group(330, "0");
            out_.group(100, "AcDbSymbolTable");
            std::vector<const Record*> entries;
            for (uint64_t e : control->owned)
                if (const Record* r = d_.find(e); r && r->kind == RecordKind::TableEntry)
                    entries.push_back(r);
            out_.group(70, static_cast<int64_t>(entries.size()));
            if (std::string(name) == "DIMSTYLE") {
                out_.group(100, "AcDbDimStyleTable");
                out_.group(71, static_cast<int64_t>(control->groups.size()));
                writeGroups(*control);
            }
            for (const Record* r : entries) {
                writeStart(*r, r->type, control->handle, r->type == "DIMSTYLE" ? 105 : 5);
                writeGroups(*r);
            }
            out_.group(0, "ENDTAB");
        }
        endSection();
    }

    // The entities a block record, a polyline or an insert owns, in order.
    std::vector<const Record*> ownedBy(const Record& owner) const {
        std::vector<const Record*> list;
        if (d_.version >= Version::R2004) {
            for (uint64_t h : owner.owned)
                if (const Record* r = d_.find(h); r && r->kind == RecordKind::Entity)
                    list.push_back(r);
            return list;
        }
        std::unordered_set<uint64_t> seen;
        uint64_t h = owner.firstOwned;
        while (h && seen.insert(h).second) {
            const Record* r = d_.find(h);
            uint64_t next = 0;
            if (r) {
                if (r->kind == RecordKind::Entity) list.push_back(r);
                next = r->next;
            } else if (const auto it = d_.links.find(h); it != d_.links.end()) {
                next = it->second;
            }
            if (h == owner.lastOwned) break;
            h = next;
        }
        return list;
    }

    void writeEntity(const Record& r, uint64_t owner, bool paper) {
        if (r.type == "VIEWPORT" && owner == d_.header.paperSpace) {
            // The viewports of the active layout are on and numbered in order.
            Record numbered = r;
            const std::string number = std::to_string(++viewports_);
            for (Group& g : numbered.groups)
                if (g.code == 68 || g.code == 69) g.value = number;
            writeEntityAs(numbered, owner, paper);
            return;
        }
        writeEntityAs(r, owner, paper);
    }

    void writeEntityAs(const Record& r, uint64_t owner, bool paper) {
        writeStart(r, r.type, owner);
        out_.group(100, "AcDbEntity");
        if (paper) out_.group(67, "1");
        out_.group(8, r.layer ? nameOf(r.layer) : "0");
        if (r.linetypeFlags == 1) out_.group(6, "ByBlock");
        if (r.linetypeFlags == 2) out_.group(6, "Continuous");
        if (r.linetypeFlags == 3 && exists(r.linetype)) out_.group(6, nameOf(r.linetype));
        if (d_.version >= Version::R2007 && r.material && exists(r.material))
            out_.handle(347, r.material);
        if (r.color.index != 256) out_.group(62, int64_t{r.color.index});
        if (d_.version >= Version::R2000 && r.lineweight != -1)
            out_.group(370, int64_t{r.lineweight});
        if (r.linetypeScale != 1.0) out_.group(48, realText(r.linetypeScale));
        if (r.invisible) out_.group(60, "1");
        if (d_.version >= Version::R2004) {
            // A book colour is a DBCOLOR object: its true colour and its name.
            const Record* book = d_.find(r.colorBook);
            const Color& c = book ? book->color : r.color;
            if (c.hasRgb) out_.group(420, int64_t{c.rgb});
            if (book && !c.name.empty()) out_.group(430, c.book + "$" + c.name);
            if (r.color.hasTransparency && (r.color.transparency >> 24) == 3)
                out_.group(440, int64_t{r.color.transparency});
        }
        if (d_.version >= Version::R2000 && r.plotStyle && exists(r.plotStyle))
            out_.handle(390, r.plotStyle);
        writeGroups(r);
        // The vertices of a polyline, the attributes of an insert, then their end.
        if (r.type == "POLYLINE" || (r.type == "INSERT" && r.seqend)) {
            for (const Record* sub : ownedBy(r)) writeEntity(*sub, r.handle, paper);
            if (const Record* end = d_.find(r.seqend)) writeEntity(*end, r.handle, paper);
        }
    }

    void writeBlockContents(const Record& block, bool paper) {
        for (const Record* e : ownedBy(block)) writeEntity(*e, block.handle, paper);
    }

    void writeBlocks() {
        section("BLOCKS");
        const Record* control = d_.find(d_.header.blockControl);
        if (control) {
            for (uint64_t h : control->owned) {
                const Record* br = d_.find(h);
                if (!br || br->type != "BLOCK_RECORD") continue;
                const bool paper = isPaperSpaceName(br->name);
                const bool layoutSpace = h == d_.header.modelSpace || h == d_.header.paperSpace;
                if (const Record* begin = d_.find(br->block)) {
                    Record shown = *begin;
                    shown.groups.clear();
                    shown.marker("AcDbBlockBegin");
                    shown.text(2, br->name);
                    shown.integer(70, br->blockFlags);
                    shown.point(10, br->basePoint);
                    shown.text(3, br->name);
                    shown.text(1, br->xrefPath);
                    if (!br->description.empty()) shown.text(4, br->description);
                    writeEntity(shown, br->handle, paper);
                }
                if (!layoutSpace) writeBlockContents(*br, paper);
                if (const Record* end = d_.find(br->endBlock)) {
                    Record shown = *end;
                    shown.groups.clear();
                    shown.marker("AcDbBlockEnd");
                    writeEntity(shown, br->handle, paper);
                }
            }
        }
        endSection();
    }

    void writeEntities() {
        section("ENTITIES");
        if (const Record* model = d_.find(d_.header.modelSpace)) writeBlockContents(*model, false);
        if (const Record* paper = d_.find(d_.header.paperSpace)) writeBlockContents(*paper, true);
        endSection();
    }

    void writeObjects() {
        section("OBJECTS");
        const Record* root = d_.find(d_.header.namedObjects);
        if (root) {
            writeStart(*root, root->type, 0);
            writeGroups(*root);
        }
        for (const Record& r : d_.records) {
            if (r.kind != RecordKind::Object || &r == root) continue;
            writeStart(r, r.type, r.owner);
            writeGroups(r);
        }
        endSection();
    }

    const DwgDrawing& d_;
    DxfOut out_;
    int viewports_ = 0;
};

}  // namespace

const char* versionName(Version version) {
    switch (version) {
    case Version::R13: return "AC1012";
    case Version::R14: return "AC1014";
    case Version::R2000: return "AC1015";
    case Version::R2004: return "AC1018";
    case Version::R2007: return "AC1021";
    case Version::R2010: return "AC1024";
    case Version::R2013: return "AC1027";
    case Version::R2018: return "AC1032";
    }
    return "AC1015";
}

std::string codePageName(uint16_t number) {
    static const char* const kNames[] = {
        "ANSI_1252", "ANSI_1252", "ISO8859-1", "ISO8859-2", "ISO8859-3", "ISO8859-4",
        "ISO8859-5", "ISO8859-6", "ISO8859-7", "ISO8859-8", "ISO8859-9", "DOS437",
        "DOS850",    "DOS852",    "DOS855",    "DOS857",    "DOS860",    "DOS861",
        "DOS863",    "DOS864",    "DOS865",    "DOS869",    "DOS932",    "MACINTOSH",
        "BIG5",      "KSC5601",   "JOHAB",     "DOS866",    "ANSI_1250", "ANSI_1251",
        "ANSI_1252", "ANSI_936",  "ANSI_1253", "ANSI_1254", "ANSI_1255", "ANSI_1256",
        "ANSI_1257", "ANSI_874",  "ANSI_932",  "ANSI_936",  "ANSI_949",  "ANSI_950",
        "ANSI_1361", "ANSI_1252", "ANSI_1258",
    };
    return number < std::size(kNames) ? kNames[number] : "ANSI_1252";
}

std::string writeDxf(const DwgDrawing& drawing) { return Writer(drawing).run(); }

}  // namespace dwg
