// The matches of one criterion in the search table, read a chunk ahead in table order, so
// that each further FindNext costs a single row read (internal to db/). The cache names
// the file's data version it was read at; a match it gives is only good when the file
// has not changed since.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace db {

class MatchCache {
public:
    static constexpr int kChunk = 64;

    // The first cached match after `after`, if the cache holds the matches of `column`
    // and `pattern` from before `after` on.
    std::optional<std::int64_t> next(const std::string& column, const std::string& pattern,
                                     std::int64_t after) const {
        if (column != column_ || pattern != pattern_ || after < from_) return std::nullopt;
        const auto it = std::upper_bound(rowids_.begin(), rowids_.end(), after);
        if (it == rowids_.end()) return std::nullopt;
        return *it;
    }

    // `rowids`: the matches after `from` in rowid order, read at data version `version`.
    void fill(const std::string& column, const std::string& pattern, std::int64_t from,
              std::vector<std::int64_t> rowids, unsigned version) {
        column_ = column;
        pattern_ = pattern;
        from_ = from;
        rowids_ = std::move(rowids);
        version_ = version;
    }

    bool readAt(unsigned version) const { return version == version_; }

    void clear() { fill({}, {}, 0, {}, 0); }

private:
    std::string column_, pattern_;
    std::int64_t from_ = 0;
    std::vector<std::int64_t> rowids_;
    unsigned version_ = 0;
};

}  // namespace db
