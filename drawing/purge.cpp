#include "drawing/purge.h"

#include <unordered_map>
#include <unordered_set>

#include "drawing/reference_index.h"

namespace drawing {
namespace {

bool isProtected(const NamedEntry& c, const std::string& name, int flags) {
    switch (c.kind) {
        case RefKind::Layer:
            return name == "0" || name == "DEFPOINTS" || (flags & 16);
        case RefKind::Linetype:
            return name == "BYLAYER" || name == "BYBLOCK" || name == "CONTINUOUS" || (flags & 16);
        case RefKind::TextStyle:
            return name == "STANDARD" || name.empty() || (flags & 1) || (flags & 16);
        case RefKind::DimStyle:
            return name == "STANDARD" || (flags & 16);
        case RefKind::Block:
            return isSpaceName(name, false) || isSpaceName(name, true) || (flags & (4 | 16 | 32));
        default:
            return true;
    }
}

const char* kindText(RefKind kind) {
    switch (kind) {
        case RefKind::Layer:
            return "图层 ";
        case RefKind::Linetype:
            return "线型 ";
        case RefKind::TextStyle:
            return "文字样式 ";
        case RefKind::DimStyle:
            return "标注样式 ";
        default:
            return "块 ";
    }
}

// Records whose content the engine cannot judge: what another program stored without
// its own class being known (a proxy) may point at anything, so it is never taken away.
bool understood(const Record& r) { return r.type.rfind("ACAD_PROXY_", 0) != 0; }

// What removing each unused entry would take away with it: the entry (a block with its
// definition and its block record), what it owns, directly or through what it owns
// (extension dictionaries and their contents), and the records holding data of any of
// these (ACDSDATA). An entry is kept when any of that is not understood, or when any
// record that stays points at any of it other than through a table's list of entries
// or a reactor list (those pointers are cleared after the removal). What another entry
// would take counts as staying, as references from unused blocks do: a later pass
// takes the entry once that other one is gone.
class Removal {
public:
    Removal(Drawing& d, const ReferenceIndex& index, const std::vector<NamedEntry>& candidates)
        : d_(d),
          index_(index),
          candidates_(candidates),
          member_(d.size(), -1),
          kept_(candidates.size(), 0) {
        for (size_t c = 0; c < candidates_.size(); ++c) collect(c);
        checkPointers();
    }

    bool kept(size_t candidate) const { return kept_[candidate]; }

    // Removes the records of every candidate not kept and clears the list entries that
    // pointed at them.
    void apply() {
        std::unordered_set<uint64_t> removed;
        for (size_t i = 0; i < d_.size(); ++i) {
            if (member_[i] < 0 || kept_[static_cast<size_t>(member_[i])]) continue;
            if (d_.record(i).hasHandle) removed.insert(d_.record(i).handle);
            d_.erase(i);
        }
        if (removed.empty()) return;
        const auto gone = [&](uint64_t h) { return removed.count(h) > 0; };
        for (size_t i : cleared_)
            if (!d_.record(i).deleted) clearPointers(d_, i, gone, 0, true, true);
    }

private:
    void collect(size_t c) {
        const NamedEntry& e = candidates_[c];
        std::vector<size_t> records{e.record};
        if (e.kind == RefKind::Block) {
            const int32_t block = static_cast<int32_t>(e.record);
            for (size_t i = e.record + 1; i < d_.size() && d_.record(i).block == block; ++i) {
                if (!d_.record(i).deleted) records.push_back(i);
                if (d_.record(i).kind == Kind::EndBlk) break;
            }
            if (e.blockRecord >= 0) records.push_back(static_cast<size_t>(e.blockRecord));
        }
        const int32_t id = static_cast<int32_t>(c);
        for (size_t k = 0; k < records.size(); ++k) {
            const size_t i = records[k];
            if (member_[i] == id) continue;
            // A record reached from two entries stays with both this pass.
            if (member_[i] >= 0 || !understood(d_.record(i))) kept_[c] = 1;
            if (member_[i] >= 0) continue;
            member_[i] = id;
            const Record& r = d_.record(i);
            if (!r.hasHandle) continue;
            handles_.emplace(r.handle, id);
            const std::vector<size_t>& more = index_.dependents(r.handle);
            records.insert(records.end(), more.begin(), more.end());
        }
    }

    void checkPointers() {
        for (const Pointer& p : index_.pointers()) {
            const auto found = handles_.find(p.handle);
            if (found == handles_.end() || found->second == member_[p.record]) continue;
            if (p.role == RefRole::Listing || p.role == RefRole::Reactor) {
                if (cleared_.empty() || cleared_.back() != p.record) cleared_.push_back(p.record);
            } else {
                kept_[static_cast<size_t>(found->second)] = 1;
            }
        }
    }

    Drawing& d_;
    const ReferenceIndex& index_;
    const std::vector<NamedEntry>& candidates_;
    std::unordered_map<uint64_t, int32_t> handles_;  // of every record to be removed
    std::vector<int32_t> member_;                    // per record: its candidate, or -1
    std::vector<uint8_t> kept_;                      // per candidate
    std::vector<size_t> cleared_;  // records whose lists point at what may be removed
};

}  // namespace

PurgeReport purgeAll(Drawing& d) {
    PurgeReport report;
    const ReferenceIndex index(d);
    std::vector<NamedEntry> candidates;
    for (const NamedEntry& c : index.entries()) {
        std::string name;
        d.value(c.record, 2, name);
        if (isProtected(c, foldName(name), d.record(c.record).flags) || index.isUsed(c)) continue;
        if (c.blockRecord >= 0 &&
            index.isLayoutBlock(d.record(static_cast<size_t>(c.blockRecord)).handle))
            continue;
        candidates.push_back(c);
    }
    if (candidates.empty()) return report;
    Removal removal(d, index, candidates);
    for (size_t c = 0; c < candidates.size(); ++c) {
        if (removal.kept(c)) continue;
        std::string name;
        d.value(candidates[c].record, 2, name);
        report.removed.push_back(kindText(candidates[c].kind) + d.codec().toUtf8(name));
    }
    removal.apply();
    return report;
}

}  // namespace drawing
