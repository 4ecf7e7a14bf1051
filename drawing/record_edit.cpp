#include "drawing/record_edit.h"

namespace drawing {

RecordEdit::RecordEdit(const Drawing& drawing, size_t record)
    : record_(record), style_(drawing.style()) {
    const std::string_view bytes = drawing.recordBytes(record);
    GroupReader reader(bytes, style_.format);
    Group g;
    while (reader.next(g))
        items_.push_back({g.code, valueText(g, style_.format),
                          std::string(bytes.substr(g.begin, g.end - g.begin))});
}

int RecordEdit::find(int code, size_t from) const {
    for (size_t k = from; k < items_.size(); ++k) {
        if (items_[k].code == 1001) break;
        if (items_[k].code == code) return static_cast<int>(k);
    }
    return -1;
}

size_t RecordEdit::xdataStart() const {
    for (size_t k = 0; k < items_.size(); ++k)
        if (items_[k].code == 1001) return k;
    return items_.size();
}

void RecordEdit::set(size_t k, std::string text) {
    if (items_[k].text == text) return;
    items_[k].text = std::move(text);
    // ASCII keeps the code line with its padding; binary writes the group anew.
    if (style_.format == DxfFormat::Ascii) {
        const size_t nl = items_[k].raw.find('\n');
        if (nl != std::string::npos) {
            std::string raw = items_[k].raw.substr(0, nl + 1);
            raw += items_[k].text;
            raw += style_.eol;
            items_[k].raw = std::move(raw);
            return;
        }
    }
    items_[k].raw.clear();
}

void RecordEdit::insert(size_t k, int code, std::string text) {
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(k), Item{code, std::move(text), {}});
}

void RecordEdit::erase(size_t k) { items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(k)); }

std::string RecordEdit::bytes() const {
    std::string out;
    for (const Item& item : items_) {
        if (!item.raw.empty())
            out += item.raw;
        else
            appendGroup(out, style_, item.code, item.text);
    }
    return out;
}

void RecordEdit::commit(Drawing& drawing) const { drawing.replace(record_, bytes()); }

}  // namespace drawing
