#include "cadbatch/purge.h"

#include <unordered_set>

namespace cadbatch {
namespace {

struct Candidate {
    RefKind kind;
    size_t record;             // the table entry, or the BLOCK record of a definition
    int32_t blockRecord = -1;  // a block's BLOCK_RECORD entry (from R13 on)
};

bool startsWith(const std::string& s, std::string_view prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

bool isProtected(const Candidate& c, const std::string& name, int flags) {
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
            return name == "*MODEL_SPACE" || startsWith(name, "*PAPER_SPACE") ||
                   name == "$MODEL_SPACE" || startsWith(name, "$PAPER_SPACE") ||
                   (flags & (4 | 16 | 32));
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

std::vector<Candidate> findCandidates(Drawing& d) {
    const uint32_t layer = d.findName("LAYER"), ltype = d.findName("LTYPE"),
                   style = d.findName("STYLE"), dimstyle = d.findName("DIMSTYLE"),
                   blockRecord = d.findName("BLOCK_RECORD");
    std::vector<Candidate> out;
    std::vector<int32_t> recordOfBlock(d.nameCount(), -1);
    for (size_t i = 0; i < d.size(); ++i) {
        const Record& r = d.record(i);
        if (r.deleted || r.name == kNoName) continue;
        if (r.section == Section::Blocks && r.kind == Kind::Block) {
            out.push_back({RefKind::Block, i});
            continue;
        }
        if (r.table < 0) continue;
        const uint32_t table = d.record(static_cast<size_t>(r.table)).name;
        if (table == blockRecord && r.kind == Kind::BlockRecord)
            recordOfBlock[r.name] = static_cast<int32_t>(i);
        else if (table == layer && r.kind == Kind::Layer)
            out.push_back({RefKind::Layer, i});
        else if (table == ltype && r.kind == Kind::Linetype)
            out.push_back({RefKind::Linetype, i});
        else if (table == style && r.kind == Kind::Style)
            out.push_back({RefKind::TextStyle, i});
        else if (table == dimstyle && r.kind == Kind::DimStyle)
            out.push_back({RefKind::DimStyle, i});
    }
    for (Candidate& c : out)
        if (c.kind == RefKind::Block) c.blockRecord = recordOfBlock[d.record(c.record).name];
    return out;
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

PurgeReport purgeAll(Drawing& d) {
    PurgeReport report;
    const std::vector<Candidate> candidates = findCandidates(d);
    if (candidates.empty()) return report;
    std::unordered_set<uint64_t> candidateHandles;
    for (const Candidate& c : candidates) {
        if (d.record(c.record).hasHandle) candidateHandles.insert(d.record(c.record).handle);
        if (c.blockRecord >= 0 && d.record(static_cast<size_t>(c.blockRecord)).hasHandle)
            candidateHandles.insert(d.record(static_cast<size_t>(c.blockRecord)).handle);
    }
    const size_t names = d.nameCount();
    std::vector<uint8_t> usedName(kNameKinds * names, 0);
    std::vector<uint8_t> usedRecord(d.size(), 0);
    for (size_t i = 0; i < d.size(); ++i) {
        const Record& r = d.record(i);
        if (r.deleted) continue;
        const uint32_t ownBlock =
            r.block >= 0 ? d.record(static_cast<size_t>(r.block)).name : kNoName;
        for (const Ref& ref : d.refs(i)) {
            if (ref.owner) continue;
            if (ref.kind == RefKind::Handle) {
                if (!candidateHandles.count(ref.handle)) continue;
                const int32_t t = d.find(ref.handle);
                if (t >= 0 && !ownedBy(d, i, t)) usedRecord[static_cast<size_t>(t)] = 1;
            } else if (!(ref.kind == RefKind::Block && ref.name == ownBlock)) {
                usedName[static_cast<size_t>(ref.kind) * names + ref.name] = 1;
            }
        }
    }
    std::unordered_set<uint64_t> removedHandles;
    auto remove = [&](size_t i) {
        if (d.record(i).hasHandle) removedHandles.insert(d.record(i).handle);
        d.erase(i);
    };
    for (const Candidate& c : candidates) {
        const Record& r = d.record(c.record);
        std::string name;
        d.value(c.record, 2, name);
        const std::string folded = foldName(name);
        if (isProtected(c, folded, r.flags)) continue;
        if (usedName[static_cast<size_t>(c.kind) * names + r.name] || usedRecord[c.record])
            continue;
        if (c.blockRecord >= 0 && usedRecord[static_cast<size_t>(c.blockRecord)]) continue;
        report.removed.push_back(kindText(c.kind) + d.codec().toUtf8(name));
        if (c.kind != RefKind::Block) {
            remove(c.record);
            continue;
        }
        const int32_t block = static_cast<int32_t>(c.record);
        remove(c.record);
        for (size_t i = c.record + 1; i < d.size() && d.record(i).block == block; ++i) {
            const bool end = d.record(i).kind == Kind::EndBlk;
            remove(i);
            if (end) break;
        }
        if (c.blockRecord >= 0) remove(static_cast<size_t>(c.blockRecord));
    }
    // What the removed items owned (extension dictionaries and their contents) goes too.
    for (bool more = !removedHandles.empty(); more;) {
        more = false;
        for (size_t i = 0; i < d.size(); ++i) {
            const Record& r = d.record(i);
            if (r.deleted || r.section != Section::Objects || !removedHandles.count(r.owner))
                continue;
            remove(i);
            more = true;
        }
    }
    return report;
}

}  // namespace cadbatch
