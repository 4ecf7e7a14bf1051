#include "db/find_criteria.h"

#include <algorithm>

namespace db {

LikePatterns likePatterns(std::string_view text) {
    LikePatterns p;
    p.escaped = "%";
    std::string plain = "%";
    bool literalWildcard = false;
    int run = 0, longestRun = 0;
    for (const char c : text) {
        if (c == '*') {
            p.escaped += '%';
            plain += '%';
            run = 0;
            continue;
        }
        if (c == '%' || c == '_' || c == '\\') p.escaped += '\\';
        if (c == '%' || c == '_') literalWildcard = true;
        p.escaped += c;
        plain += c;
        // Count characters, not bytes: a UTF-8 continuation byte adds none.
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            longestRun = std::max(longestRun, ++run);
    }
    p.escaped += '%';
    plain += '%';
    if (!literalWildcard && longestRun >= 3) p.trigram = plain;
    return p;
}

}  // namespace db
