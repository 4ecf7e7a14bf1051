#include "drawing/test_drawings.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "drawing/text_encoding.h"

namespace drawing::testing {
namespace {

class Builder {
public:
    explicit Builder(const SampleOptions& o)
        : o_(o), r12_(o.version < "AC1012"), codec_(TextCodec::forDrawing(o.version, o.codePage)) {}

    Groups build() {
        section("HEADER");
        add(9, "$ACADVER");
        add(1, o_.version);
        add(9, "$DWGCODEPAGE");
        add(3, o_.codePage);
        if (r12_) {
            add(9, "$HANDLING");
            add(70, "1");
        }
        add(9, "$TILEMODE");
        add(70, o_.paperSpace ? "0" : "1");
        add(9, "$CLAYER");
        add(8, "0");
        add(9, "$HANDSEED");
        add(5, "0");  // set when the drawing is complete
        endsec();
        section("TABLES");
        const auto ltype = table("LTYPE");
        if (!r12_) {
            entry("LTYPE", ltype, "AcDbLinetypeTableRecord", "ByBlock");
            entry("LTYPE", ltype, "AcDbLinetypeTableRecord", "ByLayer");
        }
        entry("LTYPE", ltype, "AcDbLinetypeTableRecord", r12_ ? "CONTINUOUS" : "Continuous");
        entry("LTYPE", ltype, "AcDbLinetypeTableRecord", "DASHED");
        entry("LTYPE", ltype, "AcDbLinetypeTableRecord", "UNUSEDLT");
        endtab();
        const auto layer = table("LAYER");
        entry("LAYER", layer, "AcDbLayerTableRecord", "0",
              {{62, "7"}, {6, r12_ ? "CONTINUOUS" : "Continuous"}});
        entry("LAYER", layer, "AcDbLayerTableRecord", "USED", {{62, "1"}, {6, "DASHED"}});
        entry("LAYER", layer, "AcDbLayerTableRecord", "UNUSED",
              {{62, "2"}, {6, r12_ ? "CONTINUOUS" : "Continuous"}});
        entry("LAYER", layer, "AcDbLayerTableRecord", "Defpoints",
              {{62, "7"}, {6, r12_ ? "CONTINUOUS" : "Continuous"}});
        endtab();
        const auto style = table("STYLE");
        entry("STYLE", style, "AcDbTextStyleTableRecord", r12_ ? "STANDARD" : "Standard",
              {{40, "0.0"}, {41, "1.0"}, {3, "txt"}});
        entry("STYLE", style, "AcDbTextStyleTableRecord", "UNUSEDSTYLE",
              {{40, "0.0"}, {41, "1.0"}, {3, "arial.ttf"}});
        endtab();
        const auto appid = table("APPID");
        entry("APPID", appid, "AcDbRegAppTableRecord", "ACAD");
        endtab();
        const auto dimstyle = table("DIMSTYLE");
        entry("DIMSTYLE", dimstyle, "AcDbDimStyleTableRecord", r12_ ? "STANDARD" : "Standard");
        entry("DIMSTYLE", dimstyle, "AcDbDimStyleTableRecord", "UNUSEDDIM");
        endtab();
        std::vector<std::string> blocks = {model(), paper(), "TITLE", "USEDBLK"};
        for (int k = 1; k <= o_.nestedBlocks; ++k) blocks.push_back("U" + std::to_string(k));
        if (!r12_) {
            const auto records = table("BLOCK_RECORD");
            for (const std::string& b : blocks)
                blockRecord_[b] = entry("BLOCK_RECORD", records, "AcDbBlockTableRecord", b);
            endtab();
        }
        endsec();
        section("BLOCKS");
        block(model(), [](const std::string&) {});
        block(paper(), [](const std::string&) {});
        block("TITLE", [&](const std::string& owner) {
            entity("LINE", owner, "0",
                   {{10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {11, "180.0"}, {21, "0.0"}, {31, "0.0"}},
                   "AcDbLine");
            for (const char* tag : {"DRAWNO", "REV", "NAME"})
                entity("ATTDEF", owner, "0",
                       {{10, "0.0"},
                        {20, "0.0"},
                        {30, "0.0"},
                        {40, "2.5"},
                        {1, ""},
                        {100, "AcDbAttributeDefinition"},
                        {3, tag},
                        {2, tag},
                        {70, "0"}},
                       "AcDbText");
        });
        block("USEDBLK", [&](const std::string& owner) {
            entity("CIRCLE", owner, "0", {{10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {40, "1.0"}},
                   "AcDbCircle");
        });
        for (int k = 1; k <= o_.nestedBlocks; ++k) {
            block("U" + std::to_string(k), [&](const std::string& owner) {
                if (k < o_.nestedBlocks)
                    insert(owner, "U" + std::to_string(k + 1), false);
                else
                    entity("CIRCLE", owner, "0",
                           {{10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {40, "2.0"}}, "AcDbCircle");
            });
        }
        endsec();
        section("ENTITIES");
        const std::string space = r12_ ? "" : blockRecord_[o_.paperSpace ? paper() : model()];
        entity("LINE", space, "USED",
               {{10, "0.0"}, {20, "0.0"}, {30, "0.0"}, {11, "10.0"}, {21, "10.0"}, {31, "0.0"}},
               "AcDbLine");
        entity("TEXT", space, "USED",
               {{10, "1.0"}, {20, "1.0"}, {30, "0.0"}, {40, "2.5"}, {1, text("中文文字")}},
               "AcDbText");
        insert(space, "USEDBLK", false);
        filler(space);
        const std::string title = insert(space, "TITLE", true);
        const std::pair<const char*, std::string> values[] = {
            {"DRAWNO", "A100"}, {"REV", "B"}, {"NAME", text(o_.title)}};
        for (const auto& [tag, value] : values)
            entity("ATTRIB", title, "0",
                   {{10, "0.0"},
                    {20, "0.0"},
                    {30, "0.0"},
                    {40, "2.5"},
                    {1, value},
                    {100, "AcDbAttribute"},
                    {2, tag},
                    {70, "0"}},
                   "AcDbText");
        entity("SEQEND", title, "0", {}, "");
        endsec();
        if (!r12_) {
            section("OBJECTS");
            add(0, "DICTIONARY");
            add(5, handle());
            add(330, "0");
            add(100, "AcDbDictionary");
            add(281, "1");
            endsec();
        }
        add(0, "EOF");
        for (size_t k = 0; k + 1 < g_.size(); ++k)
            if (g_[k] == std::pair<int, std::string>{9, "$HANDSEED"}) g_[k + 1].second = handle();
        return std::move(g_);
    }

private:
    using Extra = Groups;
    std::string model() const { return r12_ ? "$MODEL_SPACE" : "*Model_Space"; }
    std::string paper() const { return r12_ ? "$PAPER_SPACE" : "*Paper_Space"; }
    std::string text(const std::string& utf8) const { return codec_.fromUtf8(utf8); }
    void add(int code, std::string value) { g_.emplace_back(code, std::move(value)); }
    std::string handle() {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%X", next_++);
        return buf;
    }
    void section(const char* name) {
        add(0, "SECTION");
        add(2, name);
    }
    void endsec() { add(0, "ENDSEC"); }
    void endtab() { add(0, "ENDTAB"); }
    std::string table(const char* name) {
        add(0, "TABLE");
        add(2, name);
        std::string h;
        if (!r12_) {
            h = handle();
            add(5, h);
            add(330, "0");
            add(100, "AcDbSymbolTable");
        }
        add(70, "4");
        return h;
    }
    std::string entry(const char* type, const std::string& table, const char* subclass,
                      const std::string& name, const Extra& extra = {}) {
        add(0, type);
        const std::string h = handle();
        add(std::string(type) == "DIMSTYLE" ? 105 : 5, h);
        if (!r12_) {
            add(330, table);
            add(100, "AcDbSymbolTableRecord");
            add(100, subclass);
        }
        add(2, name);
        add(70, "0");
        for (const auto& e : extra) add(e.first, e.second);
        return h;
    }
    std::string entity(const char* type, const std::string& owner, const std::string& layer,
                       const Extra& extra, const char* subclass) {
        add(0, type);
        const std::string h = handle();
        add(5, h);
        if (!r12_) {
            add(330, owner);
            add(100, "AcDbEntity");
        }
        if (o_.paperSpace && std::string(type) != "SEQEND" && inEntities()) add(67, "1");
        add(8, layer);
        if (!r12_ && *subclass) add(100, subclass);
        for (const auto& e : extra) {
            if (e.first == 100 && r12_) continue;
            add(e.first, e.second);
        }
        return h;
    }
    // A mix of the entities a real drawing is made of, about 200 bytes each.
    void filler(const std::string& space) {
        char x[32], y[32];
        for (int k = 0; k < o_.fillerEntities; ++k) {
            std::snprintf(x, sizeof x, "%.6f", 12.5 + k * 0.731);
            std::snprintf(y, sizeof y, "%.6f", 40.25 + (k % 977) * 1.3);
            switch (k % 5) {
                case 0:
                    entity("LINE", space, "USED",
                           {{10, x}, {20, y}, {30, "0.0"}, {11, y}, {21, x}, {31, "0.0"}},
                           "AcDbLine");
                    break;
                case 1:
                    entity("CIRCLE", space, "USED", {{10, x}, {20, y}, {30, "0.0"}, {40, "3.75"}},
                           "AcDbCircle");
                    break;
                case 2:
                    entity("TEXT", space, "USED",
                           {{10, x},
                            {20, y},
                            {30, "0.0"},
                            {40, "3.5"},
                            {1, text("零件明细 A-" + std::to_string(k))}},
                           "AcDbText");
                    break;
                case 3:
                    entity("LWPOLYLINE", space, "0",
                           {{90, "3"},
                            {70, "1"},
                            {10, x},
                            {20, y},
                            {10, y},
                            {20, x},
                            {10, x},
                            {20, x}},
                           "AcDbPolyline");
                    break;
                default:
                    insert(space, "USEDBLK", false);
            }
        }
    }

    bool inEntities() const {
        for (auto it = g_.rbegin(); it != g_.rend(); ++it)
            if (it->first == 2 && (it->second == "ENTITIES" || it->second == "BLOCKS"))
                return it->second == "ENTITIES";
        return false;
    }
    std::string insert(const std::string& owner, const std::string& name, bool attribs) {
        Extra extra;
        if (attribs) extra.emplace_back(66, "1");
        extra.insert(extra.end(), {{2, name}, {10, "0.0"}, {20, "0.0"}, {30, "0.0"}});
        return entity("INSERT", owner, "0", extra, "AcDbBlockReference");
    }
    template <class F>
    void block(const std::string& name, F body) {
        const std::string owner = r12_ ? "" : blockRecord_[name];
        add(0, "BLOCK");
        add(5, handle());
        if (!r12_) {
            add(330, owner);
            add(100, "AcDbEntity");
        }
        add(8, "0");
        if (!r12_) add(100, "AcDbBlockBegin");
        add(2, name);
        add(70, "0");
        add(10, "0.0");
        add(20, "0.0");
        add(30, "0.0");
        add(3, name);
        add(1, "");
        body(owner);
        add(0, "ENDBLK");
        add(5, handle());
        if (!r12_) {
            add(330, owner);
            add(100, "AcDbEntity");
        }
        add(8, "0");
        if (!r12_) add(100, "AcDbBlockEnd");
    }

    const SampleOptions& o_;
    bool r12_;
    TextCodec codec_;
    Groups g_;
    unsigned next_ = 0x20;
    std::map<std::string, std::string> blockRecord_;
};

}  // namespace

Groups sampleGroups(const SampleOptions& options) { return Builder(options).build(); }

std::string render(const Groups& groups, DxfFormat format, bool crlf) {
    GroupStyle style{format, crlf ? "\r\n" : "\n"};
    std::string out;
    if (format != DxfFormat::Ascii) out += kBinarySentinel;
    for (const auto& [code, text] : groups) appendGroup(out, style, code, text);
    return out;
}

std::string sampleDrawing(const SampleOptions& options) {
    return render(sampleGroups(options), options.format, options.crlf);
}

std::string selfInsertingDrawing() {
    Groups g = {{0, "SECTION"}, {2, "HEADER"}, {9, "$ACADVER"}, {1, "AC1009"}, {0, "ENDSEC"},
                {0, "SECTION"}, {2, "BLOCKS"}, {0, "BLOCK"},    {8, "0"},      {2, "SELF"},
                {70, "0"},      {10, "0"},     {20, "0"}};
    const Groups reference = {{0, "INSERT"}, {8, "0"}, {2, "SELF"}, {10, "1"}, {20, "1"}};
    g.insert(g.end(), reference.begin(), reference.end());
    g.insert(g.end(), reference.begin(), reference.end());
    g.insert(g.end(), {{0, "ENDBLK"}, {8, "0"}, {0, "ENDSEC"}, {0, "SECTION"}, {2, "ENTITIES"}});
    g.insert(g.end(), reference.begin(), reference.end());
    g.insert(g.end(), {{0, "ENDSEC"}, {0, "EOF"}});
    return render(g, DxfFormat::Ascii);
}

ScratchFolder::ScratchFolder(const std::string& prefix)
    : path_(std::filesystem::temp_directory_path() /
            (prefix + std::to_string(std::random_device{}()))) {
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ezdxfAudit(const std::string& path) {
    const std::string command =
        "/usr/bin/python3 -c 'import sys, ezdxf\n"
        "doc = ezdxf.readfile(sys.argv[1])\n"
        "a = doc.audit()\n"
        "print(\"\\n\".join(str(e.message) for e in a.errors))' '" +
        path + "' 2>&1";
    std::string out;
    if (std::FILE* p = ::popen(command.c_str(), "r")) {
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        ::pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

std::set<std::string> pointingNowhere(Drawing& d) {
    std::set<uint32_t> blocks;
    for (size_t i = 0; i < d.size(); ++i)
        if (!d.record(i).deleted && d.record(i).kind == Kind::Block)
            blocks.insert(d.record(i).name);
    std::set<std::string> out;
    for (size_t i = 0; i < d.size(); ++i) {
        const Record& r = d.record(i);
        if (r.deleted) continue;
        for (const Ref& ref : d.refs(i)) {
            if (ref.kind == RefKind::Handle && d.find(ref.handle) < 0)
                out.insert(r.type + " " + std::to_string(static_cast<int>(ref.role)) + " " +
                           handleText(ref.handle));
            if (ref.kind == RefKind::Block && !blocks.count(ref.name))
                out.insert(r.type + " block " + std::to_string(ref.name));
        }
    }
    return out;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace drawing::testing
