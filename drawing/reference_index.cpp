#include "drawing/reference_index.h"

#include "drawing/record_edit.h"

namespace drawing {
namespace {

bool isPointerCode(int code) {
    return (code >= 330 && code <= 369) || (code >= 390 && code <= 399) || code == 480 ||
           code == 481;
}

// Whether record `from` is owned, directly or through its owners, by record `owner`.
bool ownedBy(Drawing& d, size_t from, int32_t owner) {
    uint64_t h = d.record(from).owner;
    for (int depth = 0; depth < 16 && h != 0; ++depth) {
        const int32_t i = d.find(h);
        if (i < 0) return false;
        if (i == owner) return true;
        h = d.record(static_cast<size_t>(i)).owner;
    }
    return false;
}

}  // namespace

bool isSpaceName(std::string_view folded, bool paper) {
    if (!paper) return folded == "*MODEL_SPACE" || folded == "$MODEL_SPACE";
    return folded.substr(0, 12) == "*PAPER_SPACE" || folded.substr(0, 12) == "$PAPER_SPACE";
}

ReferenceIndex::ReferenceIndex(Drawing& drawing) : d_(drawing), names_(drawing.nameCount()) {
    collectEntries();
    findLayouts();
    markUses();
}

void ReferenceIndex::collectEntries() {
    const uint32_t layer = d_.findName("LAYER"), ltype = d_.findName("LTYPE"),
                   style = d_.findName("STYLE"), dimstyle = d_.findName("DIMSTYLE"),
                   blockRecord = d_.findName("BLOCK_RECORD");
    std::vector<int32_t> recordOfBlock(names_, -1);
    for (size_t i = 0; i < d_.size(); ++i) {
        const Record& r = d_.record(i);
        if (r.deleted) continue;
        if (r.hasHandle && (r.table >= 0 || r.section == Section::Blocks))
            named_.emplace(r.handle, static_cast<int32_t>(i));
        if (r.section == Section::Objects && r.owner) dependents_[r.owner].push_back(i);
        if (r.section == Section::Other)
            for (const Ref& ref : d_.refs(i))
                if (ref.role == RefRole::Data) dependents_[ref.handle].push_back(i);
        if (r.kind == Kind::BlockRecord && r.hasHandle) blockRecords_.push_back(i);
        if (r.kind == Kind::Layout && r.section == Section::Objects) layouts_.push_back(i);
        if (r.name == kNoName) continue;
        if (r.section == Section::Blocks && r.kind == Kind::Block) {
            entries_.push_back({RefKind::Block, i});
            continue;
        }
        if (r.table < 0) continue;
        const uint32_t table = d_.record(static_cast<size_t>(r.table)).name;
        if (table == blockRecord && r.kind == Kind::BlockRecord) {
            if (recordOfBlock[r.name] < 0) recordOfBlock[r.name] = static_cast<int32_t>(i);
        } else if (table == layer && r.kind == Kind::Layer) {
            entries_.push_back({RefKind::Layer, i});
        } else if (table == ltype && r.kind == Kind::Linetype) {
            entries_.push_back({RefKind::Linetype, i});
        } else if (table == style && r.kind == Kind::Style) {
            entries_.push_back({RefKind::TextStyle, i});
        } else if (table == dimstyle && r.kind == Kind::DimStyle) {
            entries_.push_back({RefKind::DimStyle, i});
        }
    }
    definition_.assign(kNameKinds * names_, -1);
    for (NamedEntry& e : entries_) {
        const Record& r = d_.record(e.record);
        if (e.kind == RefKind::Block) {
            // A definition belongs to the block record that owns it; the name is the
            // fallback for definitions without an owner.
            const auto owner = named_.find(r.owner);
            e.blockRecord =
                owner != named_.end() &&
                        d_.record(static_cast<size_t>(owner->second)).kind == Kind::BlockRecord
                    ? owner->second
                    : recordOfBlock[r.name];
        }
        int32_t& def = definition_[static_cast<size_t>(e.kind) * names_ + r.name];
        if (def < 0) def = static_cast<int32_t>(e.record);
    }
}

void ReferenceIndex::findLayouts() {
    struct Layout {
        uint64_t blockRecord = 0;
        bool model = false;
        long long tab = 0;
    };
    std::vector<Layout> layouts;
    std::unordered_set<uint64_t> layoutObjects;
    for (size_t i : layouts_) {
        const Record& r = d_.record(i);
        layoutObjects.insert(r.handle);
        Layout layout;
        bool inLayout = false;
        for (const Group& g : d_.groups(i)) {
            const std::string text = valueText(g, d_.format());
            if (g.code == 100) inLayout = text == "AcDbLayout";
            if (!inLayout) continue;
            if (g.code == 1) layout.model = foldName(text) == "MODEL";
            if (g.code == 71) layout.tab = valueInt(g, d_.format());
            if (g.code == 330 && !layout.blockRecord) layout.blockRecord = parseHandle(text);
        }
        if (layout.blockRecord) layouts.push_back(layout);
    }
    for (size_t i : blockRecords_) {
        const Record& r = d_.record(i);
        std::string text;
        if (d_.value(i, 340, text) && layoutObjects.count(parseHandle(text)))
            layoutBlocks_.insert(r.handle);
    }
    long long paperTab = 0;
    for (const Layout& l : layouts) {
        layoutBlocks_.insert(l.blockRecord);
        if (l.model)
            modelSpace_ = l.blockRecord;
        else if (!paperSpace_ || l.tab < paperTab) {
            paperSpace_ = l.blockRecord;
            paperTab = l.tab;
        }
    }
    // The block record named so is the active paper space, when it holds a layout; in
    // drawings without layouts (R13, R14), the names are all there is.
    for (size_t i : blockRecords_) {
        const Record& r = d_.record(i);
        std::string name;
        d_.value(i, 2, name);
        const std::string folded = foldName(name);
        const bool model = isSpaceName(folded, false), paper = isSpaceName(folded, true);
        if (!model && !paper) continue;
        if (layouts.empty()) layoutBlocks_.insert(r.handle);
        if (!layoutBlocks_.count(r.handle)) continue;
        if (model && !modelSpace_) modelSpace_ = r.handle;
        if (paper && folded.size() == 12) paperSpace_ = r.handle;
    }
}

void ReferenceIndex::markUses() {
    usedName_.assign(kNameKinds * names_, 0);
    usedRecord_.assign(d_.size(), 0);
    // Runs of records share their owner: the last one's answer is kept.
    uint64_t lastOwner = 0;
    bool lastOwnerIsLayout = false;
    for (size_t i = 0; i < d_.size(); ++i) {
        const Record& r = d_.record(i);
        if (r.deleted) continue;
        const uint32_t ownBlock =
            r.block >= 0 ? d_.record(static_cast<size_t>(r.block)).name : kNoName;
        for (const Ref& ref : d_.refs(i)) {
            if (ref.role == RefRole::Owner) {
                if (ref.handle != lastOwner) {
                    lastOwner = ref.handle;
                    lastOwnerIsLayout = layoutBlocks_.count(ref.handle) > 0;
                }
                if (!lastOwnerIsLayout) pointers_.push_back({i, ref.handle, ref.role});
                continue;
            }
            if (ref.kind == RefKind::Handle) pointers_.push_back({i, ref.handle, ref.role});
            if (ref.kind == RefKind::Handle && ref.role != RefRole::Use &&
                ref.role != RefRole::Extended)
                continue;
            if (ref.kind != RefKind::Handle) {
                if (!(ref.kind == RefKind::Block && ref.name == ownBlock))
                    usedName_[static_cast<size_t>(ref.kind) * names_ + ref.name] = 1;
                continue;
            }
            const auto found = named_.find(ref.handle);
            if (found == named_.end()) continue;
            const int32_t t = found->second;
            const Record& target = d_.record(static_cast<size_t>(t));
            // A pointer into a block definition keeps the whole definition.
            if (target.block >= 0) {
                if (target.block != r.block) usedRecord_[static_cast<size_t>(target.block)] = 1;
                continue;
            }
            if ((target.table >= 0 || target.kind == Kind::Block) && !ownedBy(d_, i, t))
                usedRecord_[static_cast<size_t>(t)] = 1;
        }
    }
}

const std::vector<size_t>& ReferenceIndex::dependents(uint64_t handle) const {
    static const std::vector<size_t> kNone;
    const auto found = dependents_.find(handle);
    return found == dependents_.end() ? kNone : found->second;
}

int32_t ReferenceIndex::definition(RefKind kind, uint32_t name) const {
    if (name == kNoName || name >= names_) return -1;
    return definition_[static_cast<size_t>(kind) * names_ + name];
}

bool ReferenceIndex::isNamed(RefKind kind, uint32_t name) const {
    return name != kNoName && name < names_ && usedName_[static_cast<size_t>(kind) * names_ + name];
}

bool ReferenceIndex::isUsed(const NamedEntry& e) const {
    const uint32_t name = d_.record(e.record).name;
    return usedName_[static_cast<size_t>(e.kind) * names_ + name] || usedRecord_[e.record] ||
           (e.blockRecord >= 0 && usedRecord_[static_cast<size_t>(e.blockRecord)]);
}

std::vector<ClearedPointer> clearPointers(Drawing& d, size_t i,
                                          const std::function<bool(uint64_t)>& gone,
                                          uint64_t newOwner, bool reactors, bool fix) {
    RecordEdit edit(d, i);
    std::vector<ClearedPointer> out;
    const Record& r = d.record(i);
    const bool dictionary = r.kind == Kind::Dictionary, table = r.kind == Kind::Table;
    bool ownerSeen = false, inReactors = false;
    for (size_t k = 1; k < edit.size(); ++k) {
        const int code = edit.code(k);
        if (code == 1001) break;  // extended data belongs to its application
        if (code == 102) {
            if (edit.text(k).rfind("{ACAD_REACTORS", 0) == 0)
                inReactors = true;
            else if (edit.text(k) == "}")
                inReactors = false;
            continue;
        }
        if (!isPointerCode(code)) continue;
        const uint64_t h = parseHandle(edit.text(k));
        const bool isOwner = !inReactors && code == 330 && !ownerSeen;
        ownerSeen = ownerSeen || isOwner;
        if (h == 0 || !gone(h) || (inReactors && !reactors)) continue;
        out.push_back({code, h, isOwner});
        if (!fix) continue;
        if (isOwner) {
            edit.set(k, handleText(newOwner));
        } else if (inReactors || (table && code == 340)) {
            edit.erase(k--);
        } else if (dictionary && (code == 350 || code == 360)) {
            edit.erase(k);
            if (k > 1 && edit.code(k - 1) == 3) edit.erase(--k);
            --k;
        } else {
            edit.set(k, "0");
        }
    }
    if (fix && !out.empty()) edit.commit(d);
    return out;
}

}  // namespace drawing
