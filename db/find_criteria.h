// The SQL LIKE patterns for the criteria [column] LIKE '*text*' (internal to db/).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace db {

struct LikePatterns {
    // For "column LIKE ? ESCAPE '\'": "*" becomes "%", and "%", "_" and "\" are escaped.
    std::string escaped;
    // For the two-argument LIKE on a trigram table, which only then uses its index: set
    // when the text holds no "%" or "_" and at least three characters in a row between
    // its "*"s.
    std::optional<std::string> trigram;
};

LikePatterns likePatterns(std::string_view text);

}  // namespace db
