// A DXF drawing held as the bytes it was read from, cut into records.
//
// A record is what a 0 group opens: a section start, a table, a table entry, a block
// start or end, an entity, an object, the end of file; the header's variables belong
// to the HEADER section's start record. A record keeps its bytes; only a record that
// is edited or inserted gets new bytes, so everything else is written back exactly as
// read. While reading, every record is summarised once: its handle and owner, its name
// when it is a table entry or a block, and the names and handles it refers to. Purge,
// audit and the object model work on these summaries and parse a record's groups only
// when they need its values.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "drawing/dxf_groups.h"
#include "drawing/status.h"
#include "drawing/text_encoding.h"

namespace drawing {

enum class Section : uint8_t { None, Header, Classes, Tables, Blocks, Entities, Objects, Other };

// What a reference points at: a named table entry or block, or any object by handle.
enum class RefKind : uint8_t { Layer, Linetype, TextStyle, DimStyle, Block, Handle };
inline constexpr int kNameKinds = 5;
inline constexpr uint32_t kNoName = 0xffffffffu;

// What a pointer means to its record.
enum class RefRole : uint8_t {
    Use,       // the record needs its target
    Owner,     // the record's owner
    Listing,   // a table's list of its own entries
    Reactor,   // an entry of the record's reactor list
    Data,      // a record of a section of its own (ACDSDATA) holding data of its target
    Extended,  // a handle in the record's extended data (1005): its application's own
};

struct Ref {
    RefKind kind = RefKind::Handle;
    RefRole role = RefRole::Use;
    uint32_t name = kNoName;  // interned folded name, for the name kinds
    uint64_t handle = 0;      // for RefKind::Handle
};

// The record types the engine looks at, to tell them apart without comparing texts.
enum class Kind : uint8_t {
    Other,
    Section,
    EndSec,
    Eof,
    Table,
    EndTab,
    Block,
    EndBlk,
    Insert,
    Attrib,
    Vertex,
    Seqend,
    Polyline,
    BlockRecord,
    Dictionary,
    Layout,
    DimStyle,
    Layer,
    Linetype,
    Style,
};
Kind kindOf(std::string_view type);
// Whether records of `type` are dimensions, each drawn through the block it names.
bool isDimension(std::string_view type);
// The type of a record as the engine reads it: the 0 group's value, trimmed and in upper
// case, since readers take record types in any case.
std::string recordType(std::string_view value);

struct Record {
    std::string type;  // the value of the record's 0 group: LINE, INSERT, TABLE ...
    Kind kind = Kind::Other;
    size_t begin = 0;  // the record's bytes are [begin, end) of the source
    size_t end = 0;    //   unless `patch` names its new bytes
    int32_t patch = -1;
    Section section = Section::None;
    bool deleted = false;
    bool hasHandle = false;
    bool paperSpace = false;     // group 67 is 1
    bool attribsFollow = false;  // group 66 is 1
    bool badColor = false;       // an entity's colour number (62) is none of 0 ... 257
    int flags = 0;               // the first group 70
    uint64_t handle = 0;
    uint64_t owner = 0;       // 0 when the record names no owner
    int32_t table = -1;       // table entries and ENDTAB: index of their TABLE record
    int32_t block = -1;       // BLOCKS section: index of the BLOCK record of their definition
    uint32_t name = kNoName;  // sections, tables, table entries and BLOCK records
    uint32_t refBegin = 0;    // the record's references are refs_[refBegin, refEnd)
    uint32_t refEnd = 0;
};

// Whether `r` is an entity of its own: not a part of another (an attribute, a vertex,
// the end of a sequence) and no mark of a section, a block or the file's end.
bool isOwnEntity(const Record& r);

class Drawing {
public:
    // Reads a drawing from the bytes of a file. Fails with a reason of status.h.
    static Status parse(std::string bytes, Drawing& drawing);

    // The file as it would be written now, in pieces (callers write them in order).
    void forEachChunk(const std::function<void(std::string_view)>& sink) const;
    std::string bytes() const;

    DxfFormat format() const { return style_.format; }
    const GroupStyle& style() const { return style_; }
    const std::string& version() const { return version_; }  // $ACADVER, "AC1009" when missing
    bool isR12() const { return version_ < "AC1012"; }
    const TextCodec& codec() const { return codec_; }
    // Whether records carry handles: from R13 on always, in R12 when $HANDLING is 1.
    bool usesHandles() const { return usesHandles_; }

    size_t size() const { return records_.size(); }
    const Record& record(size_t i) const { return records_[i]; }
    std::string_view recordBytes(size_t i) const;
    std::span<const Ref> refs(size_t i) const;
    // The groups of record i, its 0 group first; views into recordBytes(i).
    std::vector<Group> groups(size_t i) const;
    // The first value of `code` in record i as text (decoded numbers for binary), and
    // whether it was there.
    bool value(size_t i, int code, std::string& text) const;

    // Edits. Every edit counts as a change; indexes stay valid except after insert().
    void replace(size_t i, std::string bytes);
    void erase(size_t i);
    // Inserts records; each pair is (index the new record gets before any of the
    // insertions, its bytes). Indexes of later records shift.
    void insert(std::vector<std::pair<size_t, std::string>> records);
    uint64_t changes() const { return changes_; }

    // Names compare as foldName(name, codec()) does.
    uint32_t nameId(std::string_view name);
    uint32_t findName(std::string_view name) const;  // kNoName when unknown
    size_t nameCount() const { return names_.size(); }

    // Handle look-up; -1 when no live record has the handle.
    int32_t find(uint64_t handle);
    uint64_t highestHandle();
    // A handle above every handle in use and above $HANDSEED.
    uint64_t allocateHandle();

    // The text of a header variable's first value and whether the header has it.
    bool header(std::string_view variable, std::string& text) const;
    // Sets (or adds) a header variable with one value group.
    void setHeader(std::string_view variable, int code, std::string_view text);
    int headerIndex() const { return header_; }

private:
    struct Analysis;
    Analysis beginAnalysis(const Record& r) const;
    void analyze(size_t i, std::string_view bytes);
    void addGroup(Record& r, Analysis& a, const Group& g);
    void addName(RefKind kind, std::string_view name);
    void recomputeContext();
    void readHeaderSettings();
    void buildHandleIndex();

    std::string source_;
    size_t bodyBegin_ = 0;  // bytes before the first record (sentinel, comments)
    size_t bodyEnd_ = 0;    // bytes after the EOF record
    std::vector<Record> records_;
    std::vector<Ref> refs_;
    std::vector<std::string> patches_;
    std::unordered_map<std::string, uint32_t> names_;
    std::unordered_map<uint64_t, int32_t> handles_;
    bool handlesCurrent_ = false;
    uint64_t highest_ = 0;
    uint64_t nextHandle_ = 0;
    GroupStyle style_;
    std::string version_ = "AC1009";
    TextCodec codec_ = TextCodec::utf8();
    bool usesHandles_ = false;
    int header_ = -1;
    uint64_t changes_ = 0;
};

// The form in which names compare: trimmed, ASCII letters in upper case, every other
// character unchanged, the second byte of a two-byte character of `codec` included (as
// the drawing's program folds case).
std::string foldName(std::string_view name, const TextCodec& codec);
std::string foldName(std::string_view name);  // for names in ASCII or UTF-8

}  // namespace drawing
