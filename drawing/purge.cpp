#include "drawing/purge.h"

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

}  // namespace

PurgeReport purgeAll(Drawing& d) {
    PurgeReport report;
    const ReferenceIndex index(d);
    std::unordered_set<uint64_t> removedHandles;
    auto remove = [&](size_t i) {
        if (d.record(i).hasHandle) removedHandles.insert(d.record(i).handle);
        d.erase(i);
    };
    for (const NamedEntry& c : index.entries()) {
        const Record& r = d.record(c.record);
        std::string name;
        d.value(c.record, 2, name);
        if (isProtected(c, foldName(name), r.flags) || index.isUsed(c)) continue;
        if (c.blockRecord >= 0 &&
            index.isLayoutBlock(d.record(static_cast<size_t>(c.blockRecord)).handle))
            continue;
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
    if (removedHandles.empty()) return report;
    // What the removed items owned (extension dictionaries and their contents) goes
    // too, and so do the records that hold data of a removed entity (ACDSDATA).
    for (bool more = true; more;) {
        more = false;
        for (size_t i = 0; i < d.size(); ++i) {
            const Record& r = d.record(i);
            if (r.deleted) continue;
            bool owned = r.section == Section::Objects && removedHandles.count(r.owner);
            if (r.section == Section::Other)
                for (const Ref& ref : d.refs(i))
                    owned =
                        owned || (ref.role == RefRole::Data && removedHandles.count(ref.handle));
            if (!owned) continue;
            remove(i);
            more = true;
        }
    }
    // Every other pointer to what was removed goes with it: table lists, reactor lists,
    // dictionary entries.
    const auto gone = [&](uint64_t h) { return removedHandles.count(h) > 0; };
    for (size_t i : index.referrers()) {
        if (d.record(i).deleted) continue;
        bool points = false;
        for (const Ref& ref : d.refs(i))
            points = points || (ref.kind == RefKind::Handle && ref.role != RefRole::Owner &&
                                removedHandles.count(ref.handle));
        if (points) clearPointers(d, i, gone, 0, true, true);
    }
    return report;
}

}  // namespace drawing
