// The references of a drawing, gathered once per purge or audit pass from the records'
// summaries: the named entries (layers, linetypes, text styles, dimension styles,
// blocks) and what refers to each, the records pointed at by handle, what goes with a
// record when it goes, and the block records that hold the layouts. Purge removes only
// what nothing refers to; audit finds what refers to nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "drawing/drawing.h"

namespace drawing {

// A pointer by handle of a live record.
struct Pointer {
    size_t record;
    uint64_t handle;
    RefRole role;
};

struct NamedEntry {
    RefKind kind;
    size_t record;             // the table entry, or the BLOCK record of a definition
    int32_t blockRecord = -1;  // a block's BLOCK_RECORD entry (from R13 on)
};

class ReferenceIndex {
public:
    explicit ReferenceIndex(Drawing& drawing);

    const std::vector<NamedEntry>& entries() const { return entries_; }
    // The record that defines `name` of `kind` (the first one); -1 when none does.
    int32_t definition(RefKind kind, uint32_t name) const;
    // Whether anything refers to the name of `kind`, whether it is defined or not.
    bool isNamed(RefKind kind, uint32_t name) const;
    // Whether something outside the entry and what it owns refers to it, by name or by
    // a pointer that needs its target (owner, listing and reactor pointers do not).
    bool isUsed(const NamedEntry& entry) const;
    // Whether the block record (by handle) holds a layout: found through the LAYOUT
    // objects, and in drawings without them through the names of model and paper space.
    bool isLayoutBlock(uint64_t blockRecord) const { return layoutBlocks_.count(blockRecord) > 0; }
    // The block records of model space and of the active paper space; 0 when none.
    uint64_t modelSpace() const { return modelSpace_; }
    uint64_t paperSpace() const { return paperSpace_; }
    // The records that go with the record of `handle`: the objects it owns and the
    // records that hold its data (ACDSDATA); none when nothing does.
    const std::vector<size_t>& dependents(uint64_t handle) const;
    // Every pointer by handle of the live records but the owner pointers to the blocks
    // of layouts, which purge never removes.
    const std::vector<Pointer>& pointers() const { return pointers_; }

private:
    void collectEntries();
    void findLayouts();
    void markUses();

    Drawing& d_;
    size_t names_;
    std::vector<NamedEntry> entries_;
    std::vector<int32_t> definition_;  // per kind and name
    std::vector<uint8_t> usedName_;    // per kind and name
    std::vector<uint8_t> usedRecord_;  // per record
    // The handles of table entries and of blocks and their contents: the only records a
    // pointer can keep. Looking pointers up here, not in the drawing's index of every
    // handle, spares rebuilding that index after each pass that removed something.
    std::unordered_map<uint64_t, int32_t> named_;
    std::vector<size_t> blockRecords_, layouts_;  // the BLOCK_RECORD entries, the LAYOUTs
    std::unordered_set<uint64_t> layoutBlocks_;
    std::unordered_map<uint64_t, std::vector<size_t>> dependents_;
    std::vector<Pointer> pointers_;
    uint64_t modelSpace_ = 0;
    uint64_t paperSpace_ = 0;
};

// Whether a folded block name is model space's (*MODEL_SPACE, or $MODEL_SPACE in R12)
// or, when `paper`, a paper space's (*PAPER_SPACE, *PAPER_SPACE0 ...).
bool isSpaceName(std::string_view folded, bool paper);

// What clearPointers took out of a record.
struct ClearedPointer {
    int code;
    uint64_t handle;
    bool owner;  // the record's owner pointer
};

// Clears the pointers of record `i` to the handles `gone` names: an owner pointer is
// set to `newOwner`, an entry of a table's list or (when `reactors`) of the reactor list
// is removed, a dictionary entry goes with its name, any other pointer is set to 0.
// Extended data is its application's and is left as it is. Returns the pointers found;
// changes the record only when `fix`.
std::vector<ClearedPointer> clearPointers(Drawing& drawing, size_t i,
                                          const std::function<bool(uint64_t)>& gone,
                                          uint64_t newOwner, bool reactors, bool fix);

}  // namespace drawing
