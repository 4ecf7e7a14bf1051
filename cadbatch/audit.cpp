#include "cadbatch/audit.h"

#include <unordered_set>

#include "cadbatch/record_edit.h"
#include "cadbatch/record_templates.h"

namespace cadbatch {
namespace {

bool isPointerCode(int code) {
    return (code >= 330 && code <= 369) || (code >= 390 && code <= 399) || code == 480 ||
           code == 481;
}

bool needsHandle(const Drawing& d, const Record& r) {
    if (r.kind == Kind::Section || r.kind == Kind::EndSec || r.kind == Kind::Eof ||
        r.kind == Kind::EndTab)
        return false;
    if (r.section == Section::Tables) return !(d.isR12() && r.kind == Kind::Table);
    return r.section == Section::Blocks || r.section == Section::Entities ||
           r.section == Section::Objects;
}

int handleCode(const Record& r) { return r.kind == Kind::DimStyle && r.table >= 0 ? 105 : 5; }

class Auditor {
public:
    Auditor(Drawing& d, bool fix) : d_(d), fix_(fix) {}

    AuditReport run() {
        if (d_.usesHandles()) {
            checkHandseed();
            checkHandles();
        }
        if (!d_.isR12()) checkPointers();
        checkUndefinedBlocks();
        checkSequences();
        checkMandatoryEntries();
        if (d_.usesHandles() && fix_) syncHandseed();
        return std::move(report_);
    }

private:
    void found(std::string text) { report_.findings.push_back({std::move(text), fix_}); }
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

    uint64_t spaceRecord(bool paper) {
        const std::string want = paper ? "*PAPER_SPACE" : "*MODEL_SPACE";
        for (size_t i = 0; i < d_.size(); ++i) {
            const Record& r = d_.record(i);
            if (r.kind != Kind::BlockRecord || r.deleted) continue;
            std::string name;
            if (d_.value(i, 2, name) && foldName(name) == want) return r.handle;
        }
        return 0;
    }

    // The owner a record without a valid one belongs to.
    uint64_t rightfulOwner(size_t i) {
        const Record& r = d_.record(i);
        if (r.section == Section::Entities) return spaceRecord(r.paperSpace);
        if (r.section == Section::Blocks && r.block >= 0) {
            const uint32_t name = d_.record(static_cast<size_t>(r.block)).name;
            for (size_t k = 0; k < d_.size(); ++k)
                if (d_.record(k).kind == Kind::BlockRecord && d_.record(k).name == name &&
                    !d_.record(k).deleted)
                    return d_.record(k).handle;
            return 0;
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

    void checkPointers() {
        for (size_t i = 0; i < d_.size(); ++i) {
            const Record& r = d_.record(i);
            if (r.deleted) continue;
            bool missing = false;
            for (const Ref& ref : d_.refs(i))
                if (ref.kind == RefKind::Handle && d_.find(ref.handle) < 0) missing = true;
            if (missing) fixPointers(i);
        }
    }

    void fixPointers(size_t i) {
        RecordEdit edit(d_, i);
        bool changed = false, ownerSeen = false, inReactors = false;
        const bool dictionary = d_.record(i).kind == Kind::Dictionary;
        for (size_t k = 1; k < edit.size(); ++k) {
            const int code = edit.code(k);
            if (code == 1001) break;
            if (code == 102)
                inReactors = edit.text(k).rfind("{ACAD_REACTORS", 0) == 0
                                 ? true
                                 : (edit.text(k) == "}" ? false : inReactors);
            if (!isPointerCode(code) || inReactors) continue;
            const uint64_t h = parseHandle(edit.text(k));
            const bool isOwner = code == 330 && !ownerSeen;
            if (isOwner) ownerSeen = true;
            if (h == 0 || d_.find(h) >= 0) continue;
            if (isOwner) {
                found("对象 " + typeAndHandle(i) + " 的所有者 " + handleText(h) + " 不存在");
                if (fix_) edit.set(k, handleText(rightfulOwner(i)));
            } else if (dictionary && (code == 350 || code == 360)) {
                found("字典 " + typeAndHandle(i) + " 的条目指向不存在的对象 " + handleText(h));
                if (fix_) {
                    edit.erase(k);
                    if (k > 1 && edit.code(k - 1) == 3) edit.erase(--k);
                    --k;
                }
            } else {
                found("对象 " + typeAndHandle(i) + " 指向不存在的对象 " + handleText(h));
                if (fix_) edit.set(k, "0");
            }
            changed = fix_;
        }
        if (changed) edit.commit(d_);
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
            if (r.deleted || r.kind != Kind::Insert) continue;
            for (const Ref& ref : d_.refs(i)) {
                if (ref.kind != RefKind::Block || defined.count(ref.name) || added.count(ref.name))
                    continue;
                std::string name;
                d_.value(i, 2, name);
                found("插入了未定义的块 " + d_.codec().toUtf8(name));
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

    void checkMandatoryEntries() {
        struct Entry {
            const char* table;
            const char* name;
            const char* kind;
        };
        static const Entry kR12[] = {{"LAYER", "0", "图层"},
                                     {"LTYPE", "CONTINUOUS", "线型"},
                                     {"STYLE", "STANDARD", "文字样式"},
                                     {"DIMSTYLE", "STANDARD", "标注样式"},
                                     {"APPID", "ACAD", "应用程序"}};
        static const Entry kLater[] = {{"LAYER", "0", "图层"},
                                       {"LTYPE", "ByBlock", "线型"},
                                       {"LTYPE", "ByLayer", "线型"},
                                       {"LTYPE", "Continuous", "线型"},
                                       {"STYLE", "Standard", "文字样式"},
                                       {"DIMSTYLE", "Standard", "标注样式"},
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
            if (tableRecord < 0 || present) continue;
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

}  // namespace cadbatch
