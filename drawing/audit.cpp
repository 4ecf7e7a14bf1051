#include "drawing/audit.h"

#include <unordered_set>

#include "drawing/record_edit.h"
#include "drawing/record_templates.h"
#include "drawing/reference_index.h"

namespace drawing {
namespace {

bool needsHandle(const Drawing& d, const Record& r) {
    if (r.kind == Kind::Section || r.kind == Kind::EndSec || r.kind == Kind::Eof ||
        r.kind == Kind::EndTab)
        return false;
    if (r.section == Section::Tables) return !(d.isR12() && r.kind == Kind::Table);
    return r.section == Section::Blocks || r.section == Section::Entities ||
           r.section == Section::Objects;
}

// The entities whose group 2 names the block that holds their geometry.
int handleCode(const Record& r) { return r.kind == Kind::DimStyle && r.table >= 0 ? 105 : 5; }

class Auditor {
public:
    Auditor(Drawing& d, bool fix) : d_(d), fix_(fix) {}

    AuditReport run() {
        if (d_.usesHandles()) {
            checkHandseed();
            checkHandles();
        }
        const ReferenceIndex index(d_);
        if (!d_.isR12()) checkPointers(index);
        checkEntityProperties(index);
        checkUndefinedBlocks();
        checkSequences();
        checkMandatoryEntries(index);
        if (d_.usesHandles() && fix_) syncHandseed();
        return std::move(report_);
    }

private:
    void found(std::string text, bool fixable = true) {
        report_.findings.push_back({std::move(text), fix_ && fixable});
    }
    std::string typeAndHandle(size_t i) {
        const Record& r = d_.record(i);
        std::string text = r.type;
        if (r.hasHandle) {
            text.push_back(' ');
            text += handleText(r.handle);
        }
        return text;
    }
    void flush() {
        d_.insert(std::move(inserts_));
        inserts_.clear();
    }

    void checkHandles() {
        for (size_t i = 0; i < d_.size(); ++i) {
            const Record& r = d_.record(i);
            if (r.deleted || !needsHandle(d_, r)) continue;
            if (r.hasHandle && d_.find(r.handle) == static_cast<int32_t>(i)) continue;
            if (!r.hasHandle && d_.isR12()) continue;  // handles are optional in R12
            RecordEdit edit(d_, i);
            const uint64_t fresh = fix_ ? d_.allocateHandle() : 0;
            if (r.hasHandle) {
                found("重复的句柄 " + handleText(r.handle) + "（" + r.type + "）");
                if (!fix_) continue;
                // The handle may stand in the group the record's type does not expect.
                int k = edit.find(handleCode(r));
                if (k < 0) k = edit.find(handleCode(r) == 5 ? 105 : 5);
                if (k >= 0)
                    edit.set(static_cast<size_t>(k), handleText(fresh));
                else
                    edit.insert(1, handleCode(r), handleText(fresh));
            } else {
                found("缺少句柄（" + r.type + "）");
                if (!fix_) continue;
                edit.insert(1, handleCode(r), handleText(fresh));
            }
            edit.commit(d_);
        }
    }

    // The owner a record without a valid one belongs to.
    uint64_t rightfulOwner(size_t i, const ReferenceIndex& index) {
        const Record& r = d_.record(i);
        if (r.section == Section::Entities)
            return r.paperSpace ? index.paperSpace() : index.modelSpace();
        if (r.section == Section::Blocks && r.block >= 0) {
            // A definition's entities belong to the block record that owns the BLOCK.
            const uint64_t record = d_.record(static_cast<size_t>(r.block)).owner;
            return record && d_.find(record) >= 0 ? record : 0;
        }
        if (r.table >= 0) return d_.record(static_cast<size_t>(r.table)).handle;
        if (r.section == Section::Objects) {
            for (size_t k = 0; k < d_.size(); ++k)
                if (d_.record(k).section == Section::Objects &&
                    d_.record(k).kind == Kind::Dictionary)
                    return k == i ? 0 : d_.record(k).handle;
        }
        return 0;
    }

    // Pointers to nothing. Reactor lists and extended data are left as they are: the
    // one is rebuilt by the programs that keep it, the other belongs to its application.
    void checkPointers(const ReferenceIndex& index) {
        const auto gone = [&](uint64_t h) { return d_.find(h) < 0; };
        for (size_t i = 0; i < d_.size(); ++i) {
            const Record& r = d_.record(i);
            if (r.deleted) continue;
            bool missing = false, ownerMissing = false;
            for (const Ref& ref : d_.refs(i)) {
                if (ref.kind != RefKind::Handle || ref.role == RefRole::Reactor ||
                    ref.role == RefRole::Data || ref.role == RefRole::Extended ||
                    d_.find(ref.handle) >= 0)
                    continue;
                missing = true;
                ownerMissing = ownerMissing || ref.role == RefRole::Owner;
            }
            if (!missing) continue;
            const std::string what = typeAndHandle(i);
            const bool dictionary = r.kind == Kind::Dictionary;
            const uint64_t owner = ownerMissing ? rightfulOwner(i, index) : 0;
            for (const ClearedPointer& p : clearPointers(d_, i, gone, owner, false, fix_)) {
                if (p.owner)
                    found("对象 " + what + " 的所有者 " + handleText(p.handle) + " 不存在");
                else if (dictionary && (p.code == 350 || p.code == 360))
                    found("字典 " + what + " 的条目指向不存在的对象 " + handleText(p.handle));
                else
                    found("对象 " + what + " 指向不存在的对象 " + handleText(p.handle));
            }
        }
    }

    // Entities on a layer that does not exist (the layer is created, as CAD programs
    // do), with an undefined linetype (BYLAYER) or text style (Standard), or with a
    // colour number that is none (BYLAYER). Names are looked up only in a table the
    // drawing has: a drawing of entities alone leaves them all to its reader, and the
    // record a fix would name could not be made.
    void checkEntityProperties(const ReferenceIndex& index) {
        int32_t layers = -1, layersEnd = -1;
        findTable("LAYER", layers, layersEnd);
        hasTable_[static_cast<size_t>(RefKind::Layer)] = layersEnd >= 0;
        for (const auto& [kind, name] :
             {std::pair{RefKind::Linetype, "LTYPE"}, std::pair{RefKind::TextStyle, "STYLE"}}) {
            int32_t table = -1, endtab = -1;
            findTable(name, table, endtab);
            hasTable_[static_cast<size_t>(kind)] = endtab >= 0;
        }
        std::vector<std::string> newLayers;
        std::unordered_set<uint32_t> created;
        for (size_t i = 0; i < d_.size(); ++i) {
            const Record& r = d_.record(i);
            if (r.deleted || !isEntity(r)) continue;
            bool faulty = r.badColor;
            for (const Ref& ref : d_.refs(i))
                faulty = faulty || undefined(index, ref.kind, ref.name);
            if (faulty) fixEntity(i, index, newLayers, created);
        }
        if (!fix_ || newLayers.empty()) return;
        for (const std::string& name : newLayers)
            inserts_.emplace_back(
                static_cast<size_t>(layersEnd),
                tableEntryRecord(d_, "LAYER", name, d_.record(static_cast<size_t>(layers)).handle));
        flush();
    }

    // Whether an entity's layer, linetype or text style `name` is one the drawing's
    // table lacks. ByLayer and ByBlock are no entries; CONTINUOUS is built in before R13.
    bool undefined(const ReferenceIndex& index, RefKind kind, uint32_t name) const {
        if (kind != RefKind::Layer && kind != RefKind::Linetype && kind != RefKind::TextStyle)
            return false;
        if (!hasTable_[static_cast<size_t>(kind)]) return false;
        if (name != kNoName && (name == byLayer_ || name == byBlock_ ||
                                (kind == RefKind::Linetype && d_.isR12() && name == continuous_)))
            return false;
        return index.definition(kind, name) < 0;
    }

    static bool isEntity(const Record& r) {
        return r.section == Section::Entities ||
               (r.section == Section::Blocks && r.block >= 0 && r.kind != Kind::EndBlk);
    }

    void fixEntity(size_t i, const ReferenceIndex& index, std::vector<std::string>& newLayers,
                   std::unordered_set<uint32_t>& created) {
        const std::string what = typeAndHandle(i);
        RecordEdit edit(d_, i);
        bool changed = false;
        const size_t end = edit.xdataStart();
        for (size_t k = 1; k < end; ++k) {
            const int code = edit.code(k);
            const std::string& text = edit.text(k);
            if (code == 62 && d_.record(i).badColor) {
                found("对象 " + what + " 的颜色号 " + text + " 无效");
                if (fix_) edit.set(k, "256");
                changed = true;
                continue;
            }
            const RefKind kind = code == 8   ? RefKind::Layer
                                 : code == 6 ? RefKind::Linetype
                                 : code == 7 ? RefKind::TextStyle
                                             : RefKind::Handle;
            if (kind == RefKind::Handle) continue;
            const std::string folded = foldName(text, d_.codec());
            const uint32_t name = d_.findName(text);
            if (folded.empty() || !undefined(index, kind, name)) continue;
            const std::string shown = d_.codec().toUtf8(text);
            // Layer 0 and text style Standard are mandatory entries, added after these
            // checks when named.
            if ((kind == RefKind::Layer && folded == "0") ||
                (kind == RefKind::TextStyle && folded == "STANDARD"))
                continue;
            if (kind == RefKind::Layer) {
                if (!created.insert(name).second) continue;
                found("对象 " + what + " 所在的图层 " + shown + " 不存在");
                newLayers.push_back(text);
            } else if (kind == RefKind::Linetype) {
                found("对象 " + what + " 的线型 " + shown + " 未定义");
                if (fix_) edit.set(k, "BYLAYER");
                changed = true;
            } else {
                found("对象 " + what + " 的文字样式 " + shown + " 未定义");
                if (fix_) edit.set(k, d_.isR12() ? "STANDARD" : "Standard");
                changed = standardStyleNamed_ = true;
            }
        }
        if (fix_ && changed) edit.commit(d_);
    }

    void findTable(const char* name, int32_t& table, int32_t& endtab) {
        const uint32_t id = d_.findName(name);
        for (size_t i = 0; i < d_.size() && id != kNoName; ++i) {
            const Record& r = d_.record(i);
            if (r.deleted) continue;
            if (r.kind == Kind::Table && r.name == id) table = static_cast<int32_t>(i);
            if (r.kind == Kind::EndTab && table >= 0 && r.table == table) {
                endtab = static_cast<int32_t>(i);
                return;
            }
        }
    }

    void checkUndefinedBlocks() {
        std::unordered_set<uint32_t> defined, added;
        size_t blocksEnd = 0;
        int32_t blockTableEnd = -1;
        uint64_t blockTable = 0;
        const uint32_t blockRecordName = d_.findName("BLOCK_RECORD");
        for (size_t i = 0; i < d_.size(); ++i) {
            const Record& r = d_.record(i);
            if (r.deleted) continue;
            if (r.section == Section::Blocks && r.kind == Kind::Block) defined.insert(r.name);
            if (r.section == Section::Blocks && r.kind == Kind::EndSec) blocksEnd = i;
            if (r.kind == Kind::Table && r.name == blockRecordName) blockTable = r.handle;
            if (r.kind == Kind::EndTab && r.table >= 0 &&
                d_.record(static_cast<size_t>(r.table)).name == blockRecordName)
                blockTableEnd = static_cast<int32_t>(i);
        }
        for (size_t i = 0; i < d_.size(); ++i) {
            const Record& r = d_.record(i);
            if (r.deleted || !(r.kind == Kind::Insert || isDimension(r.type))) continue;
            for (const Ref& ref : d_.refs(i)) {
                if (ref.kind != RefKind::Block || defined.count(ref.name) || added.count(ref.name))
                    continue;
                std::string name;
                d_.value(i, 2, name);
                // Without a BLOCKS section there is nowhere to define it.
                found("插入了未定义的块 " + d_.codec().toUtf8(name), blocksEnd != 0);
                if (!fix_ || blocksEnd == 0) continue;
                added.insert(ref.name);
                uint64_t owner = 0;
                if (!d_.isR12() && blockTableEnd >= 0)
                    inserts_.emplace_back(static_cast<size_t>(blockTableEnd),
                                          blockRecordEntry(d_, name, blockTable, owner));
                inserts_.emplace_back(blocksEnd, blockBeginRecord(d_, name, owner));
                inserts_.emplace_back(blocksEnd, blockEndRecord(d_, owner));
            }
        }
        flush();
    }

    void checkSequences() {
        int64_t parent = -1;
        std::string child;
        for (size_t i = 0; i < d_.size(); ++i) {
            const Record& r = d_.record(i);
            if (r.deleted || (r.section != Section::Entities && r.section != Section::Blocks))
                continue;
            if (parent >= 0) {
                if (r.type == child) continue;
                if (r.kind == Kind::Seqend) {
                    parent = -1;
                    continue;
                }
                found(typeAndHandle(static_cast<size_t>(parent)) + " 的" +
                      (child == "ATTRIB" ? "属性" : "顶点") + "缺少结束标记 SEQEND");
                if (fix_) inserts_.emplace_back(i, seqendRecord(d_, static_cast<size_t>(parent)));
                parent = -1;
            }
            if (r.kind == Kind::Insert || r.kind == Kind::Polyline) {
                const bool insert = r.kind == Kind::Insert;
                size_t next = i + 1;
                while (next < d_.size() && d_.record(next).deleted) ++next;
                const bool childFollows =
                    next < d_.size() && d_.record(next).type == (insert ? "ATTRIB" : "VERTEX");
                if (insert && !r.attribsFollow && childFollows) {
                    found(typeAndHandle(i) + " 后有属性但未标明");
                    if (fix_) {
                        RecordEdit edit(d_, i);
                        const int k = edit.find(66);
                        if (k >= 0)
                            edit.set(static_cast<size_t>(k), "1");
                        else
                            edit.insert(edit.xdataStart(), 66, "1");
                        edit.commit(d_);
                    }
                }
                if ((insert && (r.attribsFollow || childFollows)) || (!insert)) {
                    parent = static_cast<int64_t>(i);
                    child = insert ? "ATTRIB" : "VERTEX";
                }
                continue;
            }
            if (r.kind == Kind::Attrib || r.kind == Kind::Vertex || r.kind == Kind::Seqend) {
                found("多余的 " + typeAndHandle(i) + "（不属于任何对象）");
                if (fix_) d_.erase(i);
            }
        }
        flush();
    }

    // Layer 0 and the Standard styles are added when something names them (an entity,
    // the header, a fix above): a drawing of ISO-25 alone, or without layer 0, is sound.
    void checkMandatoryEntries(const ReferenceIndex& index) {
        struct Entry {
            const char* table;
            const char* name;
            const char* kind;
            RefKind named = RefKind::Handle;  // a name kind: needed only when so named
        };
        // Before R13 the linetype CONTINUOUS is built in: a table without it is sound.
        static const Entry kR12[] = {{"LAYER", "0", "图层", RefKind::Layer},
                                     {"STYLE", "STANDARD", "文字样式", RefKind::TextStyle},
                                     {"DIMSTYLE", "STANDARD", "标注样式", RefKind::DimStyle},
                                     {"APPID", "ACAD", "应用程序"}};
        static const Entry kLater[] = {{"LAYER", "0", "图层", RefKind::Layer},
                                       {"LTYPE", "ByBlock", "线型"},
                                       {"LTYPE", "ByLayer", "线型"},
                                       {"LTYPE", "Continuous", "线型"},
                                       {"STYLE", "Standard", "文字样式", RefKind::TextStyle},
                                       {"DIMSTYLE", "Standard", "标注样式", RefKind::DimStyle},
                                       {"APPID", "ACAD", "应用程序"}};
        const Entry* begin = d_.isR12() ? std::begin(kR12) : std::begin(kLater);
        const Entry* end = d_.isR12() ? std::end(kR12) : std::end(kLater);
        for (const Entry* e = begin; e != end; ++e) {
            const uint32_t table = d_.findName(e->table);
            int32_t tableRecord = -1, endtab = -1;
            bool present = false;
            const uint32_t want = d_.findName(e->name);
            for (size_t i = 0; i < d_.size(); ++i) {
                const Record& r = d_.record(i);
                if (r.deleted || table == kNoName) continue;
                if (r.kind == Kind::Table && r.name == table) tableRecord = static_cast<int32_t>(i);
                if (r.table < 0 || r.table != tableRecord || tableRecord < 0) continue;
                if (r.kind == Kind::EndTab)
                    endtab = static_cast<int32_t>(i);
                else if (want != kNoName && r.name == want && r.type == e->table)
                    present = true;
            }
            const bool needed = e->named == RefKind::Handle ||
                                (e->named == RefKind::TextStyle && standardStyleNamed_) ||
                                index.isNamed(e->named, want);
            if (tableRecord < 0 || present || !needed) continue;
            found(std::string("缺少必需的表项：") + e->kind + " " + e->name);
            if (!fix_ || endtab < 0) continue;
            inserts_.emplace_back(
                static_cast<size_t>(endtab),
                tableEntryRecord(d_, e->table, e->name,
                                 d_.record(static_cast<size_t>(tableRecord)).handle));
        }
        flush();
    }

    void checkHandseed() {
        const uint64_t highest = d_.highestHandle();
        std::string text;
        const bool present = d_.header("$HANDSEED", text);
        if (present && parseHandle(text) > highest) return;
        found("$HANDSEED（" + (present ? text : std::string("无")) + "）不大于最大句柄 " +
              handleText(highest));
    }

    // After the fixes the seed must lie above every handle, those just given included.
    void syncHandseed() {
        const uint64_t highest = d_.highestHandle();
        std::string text;
        if (d_.header("$HANDSEED", text) && parseHandle(text) > highest) return;
        d_.setHeader("$HANDSEED", 5, handleText(highest + 1));
    }

    Drawing& d_;
    bool fix_;
    const uint32_t byLayer_ = d_.findName("BYLAYER"), byBlock_ = d_.findName("BYBLOCK"),
                   continuous_ = d_.findName("CONTINUOUS");
    bool hasTable_[kNameKinds] = {};   // per name kind: the drawing has its table
    bool standardStyleNamed_ = false;  // by a fix of an entity's text style
    AuditReport report_;
    std::vector<std::pair<size_t, std::string>> inserts_;
};

}  // namespace

size_t AuditReport::fixedCount() const {
    size_t n = 0;
    for (const AuditFinding& f : findings) n += f.fixed;
    return n;
}

AuditReport auditDrawing(Drawing& drawing, bool fix) { return Auditor(drawing, fix).run(); }

}  // namespace drawing
