// For tests: damaging a page of a real SQLite file on purpose, as a disk or a careless
// copy would, so that SQLite reports it corrupt when a read reaches it.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

namespace db::testtools {

enum class Page { kRoot, kLastLeaf };

inline std::uint32_t bigEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t n = 0;
    for (std::size_t i = 0; i < 4; ++i) n = n << 8 | static_cast<unsigned char>(bytes[at + i]);
    return n;
}

// Overwrites one page of `table` in the file at `path` with bytes no page starts with: the
// root of its b-tree, or the last leaf under it. False when the file cannot be read, has
// no such table, or the table has no leaf of its own (it fits on its root page).
inline bool damage(const std::string& path, const std::string& table, Page page) {
    sqlite3* c = nullptr;
    if (sqlite3_open(path.c_str(), &c) != SQLITE_OK) return false;
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(c,
                       "SELECT rootpage, (SELECT page_size FROM pragma_page_size) FROM "
                       "sqlite_master WHERE name = ?1",
                       -1, &s, nullptr);
    sqlite3_bind_text(s, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    const bool found = sqlite3_step(s) == SQLITE_ROW;
    const std::size_t root = found ? static_cast<std::size_t>(sqlite3_column_int(s, 0)) : 0;
    const std::size_t size = found ? static_cast<std::size_t>(sqlite3_column_int(s, 1)) : 0;
    sqlite3_finalize(s);
    sqlite3_close(c);
    if (!found) return false;
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    std::size_t at = (root - 1) * size;
    if (page == Page::kLastLeaf) {
        if (bytes[at] != '\x05') return false;  // the table fits on one page
        at = (bigEndian(bytes, at + 8) - 1) * size;
    }
    bytes.replace(at, size, size, '\xEE');
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    return true;
}

}  // namespace db::testtools
