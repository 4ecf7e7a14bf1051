// Reading a drawing: checking what kind of file it is, cutting it into records and
// summarising each record's references.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "drawing/drawing.h"

namespace drawing {
namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

Section sectionNamed(std::string_view value) {
    const std::string name = recordType(value);
    if (name == "HEADER") return Section::Header;
    if (name == "CLASSES") return Section::Classes;
    if (name == "TABLES") return Section::Tables;
    if (name == "BLOCKS") return Section::Blocks;
    if (name == "ENTITIES") return Section::Entities;
    if (name == "OBJECTS") return Section::Objects;
    return Section::Other;
}

bool isBlank(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0';
    });
}

bool looksLikeDwg(std::string_view s) {
    return s.size() >= 4 &&
           (s.substr(0, 4) == "AC10" || s.substr(0, 4) == "AC1." || s.substr(0, 4) == "AC2.");
}

// Whether group 2 of an entity of this type names a block. Of the entities that have a
// group 2, only these use it for something else (tag, pattern, style or shape name);
// in any other type, known or not, it is taken as a block, so that purge keeps the block.
bool namesBlock(std::string_view type) {
    static constexpr std::string_view kOther[] = {"ATTRIB",   "ATTDEF", "HATCH",
                                                  "MPOLYGON", "MLINE",  "SHAPE"};
    return std::find(std::begin(kOther), std::end(kOther), type) == std::end(kOther);
}

// Whether group 3 of an entity of this type names a dimension style.
bool namesDimStyle(std::string_view type) {
    static constexpr std::string_view kTypes[] = {"DIMENSION", "ARC_DIMENSION",
                                                  "LARGE_RADIAL_DIMENSION", "LEADER", "TOLERANCE"};
    return std::find(std::begin(kTypes), std::end(kTypes), type) != std::end(kTypes);
}

bool isStructural(Kind kind) {
    return kind == Kind::Section || kind == Kind::EndSec || kind == Kind::Eof;
}

}  // namespace

Kind kindOf(std::string_view type) {
    static const std::pair<std::string_view, Kind> kKinds[] = {
        {"SECTION", Kind::Section},
        {"ENDSEC", Kind::EndSec},
        {"EOF", Kind::Eof},
        {"TABLE", Kind::Table},
        {"ENDTAB", Kind::EndTab},
        {"BLOCK", Kind::Block},
        {"ENDBLK", Kind::EndBlk},
        {"INSERT", Kind::Insert},
        {"ATTRIB", Kind::Attrib},
        {"VERTEX", Kind::Vertex},
        {"SEQEND", Kind::Seqend},
        {"POLYLINE", Kind::Polyline},
        {"BLOCK_RECORD", Kind::BlockRecord},
        {"DICTIONARY", Kind::Dictionary},
        {"LAYOUT", Kind::Layout},
        {"DIMSTYLE", Kind::DimStyle},
        {"LAYER", Kind::Layer},
        {"LTYPE", Kind::Linetype},
        {"STYLE", Kind::Style},
    };
    for (const auto& [name, kind] : kKinds)
        if (name == type) return kind;
    return Kind::Other;
}

bool isOwnEntity(const Record& r) {
    return r.kind != Kind::Attrib && r.kind != Kind::Vertex && r.kind != Kind::Seqend &&
           r.kind != Kind::Block && r.kind != Kind::EndBlk && r.kind != Kind::Section &&
           r.kind != Kind::EndSec && r.kind != Kind::Eof;
}

bool isDimension(std::string_view type) {
    return type == "DIMENSION" || type == "ARC_DIMENSION" || type == "LARGE_RADIAL_DIMENSION";
}

std::string recordType(std::string_view value) { return foldName(value); }

std::string foldName(std::string_view name) { return foldName(name, TextCodec::utf8()); }

std::string foldName(std::string_view name, const TextCodec& codec) {
    std::string s(trim(name));
    for (size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 'a' && c <= 'z')
            s[i] = static_cast<char>(c - 'a' + 'A');
        else if (codec.isLeadByte(c))
            ++i;
    }
    return s;
}

// What the analysis of one record remembers between its groups.
struct Drawing::Analysis {
    bool entity = false;  // an entity (ENTITIES, or inside a block definition)
    bool tableEntry = false;
    bool table = false;  // a TABLE record: its 340 pointers list its own entries
    bool header = false;
    bool dimStyle = false;  // a DIMSTYLE table entry
    bool nameSeen = false;
    bool ownerSeen = false;
    bool inReactors = false;
    bool inXdata = false;
    bool blockNameRef = false;  // INSERT, DIMENSION, ACAD_TABLE: group 2 names a block
    bool dimStyleRef = false;   // DIMENSION, LEADER, TOLERANCE: group 3 names a dimension style
    bool seen70 = false;
    std::string_view variable;  // header: the variable whose values follow
};

void Drawing::addName(RefKind kind, std::string_view name) {
    if (trim(name).empty()) return;
    Ref ref;
    ref.kind = kind;
    ref.name = nameId(name);
    refs_.push_back(ref);
}

uint32_t Drawing::nameId(std::string_view name) {
    auto [it, added] = names_.emplace(foldName(name, codec_), static_cast<uint32_t>(names_.size()));
    return it->second;
}

uint32_t Drawing::findName(std::string_view name) const {
    auto it = names_.find(foldName(name, codec_));
    return it == names_.end() ? kNoName : it->second;
}

void Drawing::addGroup(Record& r, Analysis& a, const Group& g) {
    const int code = g.code;
    const std::string_view v = g.value;
    if (a.inXdata) {
        if (code == 1003) addName(RefKind::Layer, v);
        if (code == 1005 && parseHandle(v))
            refs_.push_back(Ref{RefKind::Handle, RefRole::Extended, kNoName, parseHandle(v)});
        return;
    }
    if (a.header) {
        if (code == 9) {
            a.variable = trim(v);
            return;
        }
        const std::string_view var = a.variable;
        if (code == 8 && var == "$CLAYER")
            addName(RefKind::Layer, v);
        else if (code == 6 && var == "$CELTYPE")
            addName(RefKind::Linetype, v);
        else if (code == 7 && (var == "$TEXTSTYLE" || var == "$DIMTXSTY"))
            addName(RefKind::TextStyle, v);
        else if (code == 2 && var == "$DIMSTYLE")
            addName(RefKind::DimStyle, v);
        else if (code == 1 && (var == "$DIMBLK" || var == "$DIMBLK1" || var == "$DIMBLK2" ||
                               var == "$DIMLDRBLK"))
            addName(RefKind::Block, v);
        else if (((code >= 330 && code <= 369) || (code >= 390 && code <= 399)) && parseHandle(v))
            refs_.push_back(Ref{RefKind::Handle, RefRole::Use, kNoName, parseHandle(v)});
        return;
    }
    switch (code) {
        case 2:
            if (!a.nameSeen &&
                (r.kind == Kind::Section || a.tableEntry || a.table || r.kind == Kind::Block)) {
                a.nameSeen = true;
                r.name = nameId(v);
                if (r.kind == Kind::Section) {
                    r.section = sectionNamed(v);
                    a.header = r.section == Section::Header;
                }
            } else if (a.entity && a.blockNameRef) {
                addName(RefKind::Block, v);
            }
            return;
        case 3:
            if (a.entity && a.dimStyleRef) addName(RefKind::DimStyle, v);
            return;
        case 5:
            if (a.dimStyle)
                addName(RefKind::Block, v);  // R12 dimension style: DIMBLK
            else if (!r.hasHandle) {
                r.handle = parseHandle(v);
                r.hasHandle = r.handle != 0;
            }
            return;
        case 105:
            if (!r.hasHandle) {
                r.handle = parseHandle(v);
                r.hasHandle = r.handle != 0;
            }
            return;
        case 6:
            if (a.dimStyle)
                addName(RefKind::Block, v);  // R12: DIMBLK1
            else if (a.entity || (a.tableEntry && r.kind == Kind::Layer))
                addName(RefKind::Linetype, v);
            return;
        case 7:
            if (a.dimStyle)
                addName(RefKind::Block, v);  // R12: DIMBLK2
            else if (a.entity)
                addName(RefKind::TextStyle, v);
            return;
        case 8:
            if (a.entity || r.section == Section::Objects) addName(RefKind::Layer, v);
            return;
        case 62:
            if (a.entity) {
                const long long color = valueInt(g, style_.format, -1);
                r.badColor = color < 0 || color > 257;
            }
            return;
        case 66:
            if (a.entity) r.attribsFollow = valueInt(g, style_.format) == 1;
            return;
        case 67:
            if (a.entity) r.paperSpace = valueInt(g, style_.format) == 1;
            return;
        case 70:
            if (!a.seen70) {
                a.seen70 = true;
                r.flags = static_cast<int>(valueInt(g, style_.format));
            }
            return;
        case 102:
            if (trim(v).substr(0, 14) == "{ACAD_REACTORS")
                a.inReactors = true;
            else if (trim(v) == "}")
                a.inReactors = false;
            return;
        case 1001:
            a.inXdata = true;
            return;
        default:
            break;
    }
    const bool pointer =
        (code >= 320 && code <= 369) || (code >= 390 && code <= 399) || code == 480 || code == 481;
    if (!pointer) return;
    const uint64_t h = parseHandle(v);
    if (code == 330 && !a.ownerSeen && !a.inReactors) {
        a.ownerSeen = true;
        r.owner = h;
        if (h) refs_.push_back(Ref{RefKind::Handle, RefRole::Owner, kNoName, h});
        return;
    }
    if (h == 0) return;
    RefRole role = RefRole::Use;
    if (a.inReactors)
        role = RefRole::Reactor;
    else if (a.table && code == 340)
        role = RefRole::Listing;
    else if (r.section == Section::Other)
        role = RefRole::Data;
    refs_.push_back(Ref{RefKind::Handle, role, kNoName, h});
}

Drawing::Analysis Drawing::beginAnalysis(const Record& r) const {
    Analysis a;
    const bool body = !isStructural(r.kind);
    a.table = r.kind == Kind::Table;
    a.tableEntry = body && r.section == Section::Tables && !a.table && r.kind != Kind::EndTab;
    a.entity =
        body && (r.section == Section::Entities ||
                 (r.section == Section::Blocks && r.kind != Kind::Block && r.kind != Kind::EndBlk));
    a.header = r.kind == Kind::Section && r.section == Section::Header;
    a.nameSeen = a.header;
    a.dimStyle = a.tableEntry && r.kind == Kind::DimStyle;
    a.blockNameRef = a.entity && namesBlock(r.type);
    a.dimStyleRef = a.entity && namesDimStyle(r.type);
    return a;
}

void Drawing::analyze(size_t i, std::string_view bytes) {
    Record& r = records_[i];
    Analysis a = beginAnalysis(r);
    r.hasHandle = false;
    r.handle = r.owner = 0;
    r.attribsFollow = r.paperSpace = r.badColor = false;
    r.flags = 0;
    r.refBegin = static_cast<uint32_t>(refs_.size());
    GroupReader reader(bytes, style_.format);
    Group g;
    reader.next(g);  // the 0 group
    while (reader.next(g)) addGroup(r, a, g);
    r.refEnd = static_cast<uint32_t>(refs_.size());
}

void Drawing::recomputeContext() {
    Section section = Section::None;
    int32_t table = -1, block = -1;
    for (size_t i = 0; i < records_.size(); ++i) {
        Record& r = records_[i];
        if (r.kind == Kind::Section) {
            section = r.section;
            table = block = -1;
            continue;
        }
        r.section = section;
        if (r.kind == Kind::Table) table = static_cast<int32_t>(i);
        if (r.kind == Kind::Block) block = static_cast<int32_t>(i);
        r.table = section == Section::Tables && r.kind != Kind::Table && !isStructural(r.kind)
                      ? table
                      : -1;
        r.block = section == Section::Blocks && !isStructural(r.kind) ? block : -1;
        if (r.kind == Kind::EndTab) table = -1;
        if (r.kind == Kind::EndBlk) block = -1;
        if (r.kind == Kind::EndSec) section = Section::None;
    }
}

Status Drawing::parse(std::string bytes, Drawing& d) {
    d = Drawing();
    d.source_ = std::move(bytes);
    const std::string_view data = d.source_;
    if (data.size() > 0xFFFFFFF0u) return Status::failure(reason::kTooLarge);
    if (isBlank(data)) return Status::failure(reason::kEmpty);
    if (looksLikeDwg(data)) return Status::failure(reason::kBinaryDwg);
    size_t start = 0;
    if (data.substr(0, kBinarySentinel.size()) == kBinarySentinel) {
        start = kBinarySentinel.size();
        d.style_.format = data.size() > start + 1 && data[start + 1] == '\0' ? DxfFormat::Binary16
                                                                             : DxfFormat::Binary8;
    } else {
        if (data.substr(0, 3) == "\xEF\xBB\xBF") start = 3;
        const size_t nl = data.find('\n');
        d.style_.eol =
            nl != std::string_view::npos && nl > 0 && data[nl - 1] == '\r' ? "\r\n" : "\n";
    }
    d.records_.reserve(data.size() / 128);
    d.refs_.reserve(data.size() / 64);
    GroupReader reader(data, d.style_.format, start);
    Group g;
    bool first = true, ended = false;
    Section section = Section::None;
    int32_t table = -1, block = -1;
    Analysis a;
    d.bodyBegin_ = start;
    while (!ended && reader.next(g)) {
        if (g.code != 0) {
            if (d.records_.empty()) {
                if (g.code != 999) return Status::failure(reason::kNotDxf);
                continue;  // a comment before the first record
            }
            d.addGroup(d.records_.back(), a, g);
            continue;
        }
        std::string type = recordType(g.value);
        if (first) {
            if (type != "SECTION") return Status::failure(reason::kNotDxf);
            first = false;
            d.bodyBegin_ = g.begin;
        }
        if (!d.records_.empty()) {
            Record& prev = d.records_.back();
            prev.end = g.begin;
            prev.refEnd = static_cast<uint32_t>(d.refs_.size());
            if (prev.kind == Kind::Section) {
                if (section != Section::None) return Status::failure(reason::kIncomplete);
                section = prev.section;
                // Names read after the header compare in the drawing's encoding.
                if (section == Section::Header) d.readHeaderSettings();
            } else if (prev.kind == Kind::Table) {
                table = static_cast<int32_t>(d.records_.size() - 1);
            } else if (prev.kind == Kind::Block) {
                block = static_cast<int32_t>(d.records_.size() - 1);
            }
        }
        if (type == "ENDSEC") table = block = -1;
        Record r;
        r.kind = kindOf(type);
        r.begin = g.begin;
        r.section = type == "SECTION" || type == "EOF" ? Section::None : section;
        r.table = section == Section::Tables && r.kind != Kind::Table && !isStructural(r.kind)
                      ? table
                      : -1;
        r.block = section == Section::Blocks && !isStructural(r.kind) ? block : -1;
        r.refBegin = static_cast<uint32_t>(d.refs_.size());
        if (type == "ENDSEC") section = Section::None;
        if (type == "ENDTAB") table = -1;
        if (type == "ENDBLK") block = -1;
        if (type == "EOF") {
            if (section != Section::None) return Status::failure(reason::kIncomplete);
            ended = true;
        }
        r.type = std::move(type);
        d.records_.push_back(std::move(r));
        a = d.beginAnalysis(d.records_.back());
    }
    if (reader.problem() == ReadProblem::BadCode)
        return Status::failure(first ? reason::kNotDxf : reason::kBadGroupCode);
    if (first) return Status::failure(reason::kNotDxf);
    // A file whose every section is closed lacks only its end mark, which the save
    // writes; a file cut inside a section has lost data and is refused.
    if (!ended && (reader.problem() != ReadProblem::None || d.records_.back().kind != Kind::EndSec))
        return Status::failure(reason::kIncomplete);
    Record& last = d.records_.back();
    last.end = g.end;
    last.refEnd = static_cast<uint32_t>(d.refs_.size());
    d.bodyEnd_ = g.end;
    d.readHeaderSettings();
    if (!ended) {
        // The mark goes on lines of its own, after the line end the last line may lack.
        std::string eof;
        if (d.style_.format == DxfFormat::Ascii && data[d.bodyEnd_ - 1] != '\n') eof = d.style_.eol;
        appendGroup(eof, d.style_, 0, "EOF");
        d.insert({{d.records_.size(), std::move(eof)}});
    }
    return Status{};
}

void Drawing::readHeaderSettings() {
    header_ = -1;
    for (size_t i = 0; i < records_.size() && i < 4; ++i)
        if (records_[i].kind == Kind::Section && records_[i].section == Section::Header)
            header_ = static_cast<int>(i);
    std::string text;
    if (header("$ACADVER", text) && trim(text).size() >= 6) version_ = std::string(trim(text));
    std::string page;
    header("$DWGCODEPAGE", page);
    codec_ = TextCodec::forDrawing(version_, page);
    usesHandles_ = !isR12() || (header("$HANDLING", text) && std::atoi(text.c_str()) == 1);
    if (header("$HANDSEED", text)) nextHandle_ = parseHandle(text);
}

}  // namespace drawing
