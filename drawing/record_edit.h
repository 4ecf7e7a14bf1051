// Changing the groups of one record. The record's groups are read into a list; values
// can be set, groups inserted or removed, and the record is written back with every
// untouched group keeping its exact bytes.
#pragma once

#include <string>
#include <vector>

#include "drawing/drawing.h"

namespace drawing {

class RecordEdit {
public:
    RecordEdit(const Drawing& drawing, size_t record);

    size_t size() const { return items_.size(); }
    int code(size_t k) const { return items_[k].code; }
    const std::string& text(size_t k) const { return items_[k].text; }
    // The first group with `code` at or after `from` and before the extended data;
    // -1 when there is none.
    int find(int code, size_t from = 1) const;
    // Where the extended data starts (size() when there is none).
    size_t xdataStart() const;

    void set(size_t k, std::string text);  // text in the file's encoding
    void insert(size_t k, int code, std::string text);
    void erase(size_t k);

    std::string bytes() const;
    // Writes the record back into the drawing.
    void commit(Drawing& drawing) const;

private:
    struct Item {
        int code;
        std::string text;  // the value as text
        std::string raw;   // the original bytes; empty once changed
    };
    size_t record_;
    GroupStyle style_;
    std::vector<Item> items_;
};

}  // namespace drawing
