// Access to a drawing's records, their edits and the bytes written back.
#include "drawing/drawing.h"

#include <algorithm>

namespace drawing {

std::string_view Drawing::recordBytes(size_t i) const {
    const Record& r = records_[i];
    if (r.patch >= 0) return patches_[static_cast<size_t>(r.patch)];
    return std::string_view(source_).substr(r.begin, r.end - r.begin);
}

std::span<const Ref> Drawing::refs(size_t i) const {
    const Record& r = records_[i];
    return std::span<const Ref>(refs_.data() + r.refBegin, r.refEnd - r.refBegin);
}

std::vector<Group> Drawing::groups(size_t i) const {
    std::vector<Group> out;
    GroupReader reader(recordBytes(i), style_.format);
    Group g;
    while (reader.next(g)) out.push_back(g);
    return out;
}

bool Drawing::value(size_t i, int code, std::string& text) const {
    GroupReader reader(recordBytes(i), style_.format);
    Group g;
    reader.next(g);
    while (reader.next(g)) {
        if (g.code == 1001) return false;  // extended data holds no values of the record
        if (g.code == code) {
            text = valueText(g, style_.format);
            return true;
        }
    }
    return false;
}

void Drawing::forEachChunk(const std::function<void(std::string_view)>& sink) const {
    const std::string_view src = source_;
    sink(src.substr(0, bodyBegin_));
    // Runs of unchanged records lie side by side in the source: write each run at once.
    size_t runBegin = 0, runEnd = 0;
    for (size_t i = 0; i < records_.size(); ++i) {
        const Record& r = records_[i];
        if (r.deleted) continue;
        if (r.patch < 0 && r.begin == runEnd && runEnd != 0) {
            runEnd = r.end;
            continue;
        }
        if (runEnd > runBegin) sink(src.substr(runBegin, runEnd - runBegin));
        runBegin = runEnd = 0;
        if (r.patch >= 0) {
            sink(patches_[static_cast<size_t>(r.patch)]);
        } else {
            runBegin = r.begin;
            runEnd = r.end;
        }
    }
    if (runEnd > runBegin) sink(src.substr(runBegin, runEnd - runBegin));
    sink(src.substr(bodyEnd_));
}

std::string Drawing::bytes() const {
    std::string out;
    out.reserve(source_.size());
    forEachChunk([&](std::string_view chunk) { out += chunk; });
    return out;
}

void Drawing::replace(size_t i, std::string bytes) {
    Record& r = records_[i];
    const uint64_t oldHandle = r.handle;
    const bool hadHandle = r.hasHandle;
    if (r.patch >= 0) {
        patches_[static_cast<size_t>(r.patch)] = std::move(bytes);
    } else {
        r.patch = static_cast<int32_t>(patches_.size());
        patches_.push_back(std::move(bytes));
    }
    analyze(i, patches_[static_cast<size_t>(r.patch)]);
    if (r.hasHandle != hadHandle || r.handle != oldHandle) handlesCurrent_ = false;
    if (i == static_cast<size_t>(header_)) readHeaderSettings();
    ++changes_;
}

void Drawing::erase(size_t i) {
    records_[i].deleted = true;
    handlesCurrent_ = false;
    ++changes_;
}

void Drawing::insert(std::vector<std::pair<size_t, std::string>> added) {
    if (added.empty()) return;
    std::stable_sort(added.begin(), added.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Record> merged;
    merged.reserve(records_.size() + added.size());
    std::vector<size_t> fresh;
    size_t k = 0;
    for (size_t i = 0; i <= records_.size(); ++i) {
        for (; k < added.size() && added[k].first == i; ++k) {
            Record r;
            r.patch = static_cast<int32_t>(patches_.size());
            patches_.push_back(std::move(added[k].second));
            GroupReader reader(patches_.back(), style_.format);
            Group g;
            if (reader.next(g)) r.type = recordType(g.value);
            r.kind = kindOf(r.type);
            fresh.push_back(merged.size());
            merged.push_back(std::move(r));
        }
        if (i < records_.size()) merged.push_back(std::move(records_[i]));
    }
    records_ = std::move(merged);
    if (header_ >= 0) {
        for (size_t i = 0; i < records_.size(); ++i)
            if (records_[i].kind == Kind::Section && records_[i].section == Section::Header)
                header_ = static_cast<int>(i);
    }
    // A new section start learns its section from its own groups; the records after it
    // then learn theirs from it.
    for (size_t i : fresh) analyze(i, patches_[static_cast<size_t>(records_[i].patch)]);
    recomputeContext();
    for (size_t i : fresh) analyze(i, patches_[static_cast<size_t>(records_[i].patch)]);
    handlesCurrent_ = false;
    ++changes_;
}

void Drawing::buildHandleIndex() {
    handles_.clear();
    handles_.reserve(records_.size());
    highest_ = 0;
    for (size_t i = 0; i < records_.size(); ++i) {
        const Record& r = records_[i];
        if (r.deleted || !r.hasHandle) continue;
        handles_.emplace(r.handle, static_cast<int32_t>(i));  // the first of duplicates wins
        highest_ = std::max(highest_, r.handle);
    }
    handlesCurrent_ = true;
}

int32_t Drawing::find(uint64_t handle) {
    if (!handlesCurrent_) buildHandleIndex();
    auto it = handles_.find(handle);
    return it == handles_.end() ? -1 : it->second;
}

uint64_t Drawing::highestHandle() {
    if (!handlesCurrent_) buildHandleIndex();
    return highest_;
}

uint64_t Drawing::allocateHandle() {
    nextHandle_ = std::max(nextHandle_, highestHandle() + 1);
    return nextHandle_++;
}

bool Drawing::header(std::string_view variable, std::string& text) const {
    if (header_ < 0) return false;
    GroupReader reader(recordBytes(static_cast<size_t>(header_)), style_.format);
    Group g;
    bool match = false;
    while (reader.next(g)) {
        if (g.code == 9) {
            std::string_view name = g.value;
            while (!name.empty() && (name.back() == ' ' || name.back() == '\r'))
                name.remove_suffix(1);
            match = name == variable;
        } else if (match) {
            text = valueText(g, style_.format);
            return true;
        }
    }
    return false;
}

void Drawing::setHeader(std::string_view variable, int code, std::string_view text) {
    if (header_ < 0) return;
    const size_t h = static_cast<size_t>(header_);
    const std::string_view old = recordBytes(h);
    std::string out;
    GroupReader reader(old, style_.format);
    Group g;
    bool match = false, done = false;
    while (reader.next(g)) {
        if (match && !done && g.code != 9) {
            appendGroupLike(out, style_, old.substr(g.begin, g.end - g.begin), code, text);
            done = true;
            match = false;
            continue;
        }
        if (g.code == 9) {
            std::string_view name = g.value;
            while (!name.empty() && (name.back() == ' ' || name.back() == '\r'))
                name.remove_suffix(1);
            match = name == variable;
        }
        out += old.substr(g.begin, g.end - g.begin);
    }
    if (!done) {
        appendGroup(out, style_, 9, variable);
        appendGroup(out, style_, code, text);
    }
    replace(h, std::move(out));
    if (variable == "$HANDSEED") nextHandle_ = parseHandle(text);
}

}  // namespace drawing
