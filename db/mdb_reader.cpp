// Reading Access files through libmdb (the part of mdb_import.h that needs it).
#include <glib.h>  // before mdbtools.h, which includes it inside extern "C"
#include <mdbtools.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "db/mdb_import.h"

namespace db {
namespace {

// How a column's values are taken from libmdb.
enum class Reading {
    kText,      // libmdb's text of the value, through the bound buffer
    kOle,       // the bound buffer holds the OLE header; the bytes follow from it
    kRaw,       // the bytes as stored in the row (binary columns)
    kDate,      // the stored day count of a date/time, turned into ISO text
    kExtended,  // the stored bytes of an extended date/time, turned into ISO text
    kSkipped,   // a type that is not imported
};

Reading readingOf(int accessType) {
    switch (accessType) {
        case MDB_OLE:
            return Reading::kOle;
        case MDB_BINARY:
            return Reading::kRaw;
        case MDB_DATETIME:
            return Reading::kDate;
        case kAccessExtendedDateTime:
            return Reading::kExtended;
        default:
            return columnKindOf(accessType) ? Reading::kText : Reading::kSkipped;
    }
}

// The whole value of the OLE column of the current row: the first chunk, then the chain
// of pages. A chain that runs past the size of the file (a loop in a damaged file) ends
// the value there.
std::string oleValue(MdbHandle* mdb, MdbColumn* column, const char* bound, std::size_t limit) {
    char header[MDB_MEMO_OVERHEAD];
    std::copy(bound, bound + MDB_MEMO_OVERHEAD, header);
    std::string value;
    std::size_t n = mdb_ole_read(mdb, column, header, mdb->bind_size);
    while (n > 0 && value.size() <= limit) {
        value.append(bound, n);
        n = mdb_ole_read_next(mdb, column, header);
    }
    return value;
}

// The bytes of `column` in the current row as stored on its page ("" for NULL); a
// damaged row's place is cut to the page.
std::string storedBytes(MdbHandle* mdb, const MdbColumn* column) {
    const std::size_t page = sizeof mdb->pg_buf;
    const std::size_t start = std::min<std::size_t>(std::max(column->cur_value_start, 0), page);
    const std::size_t length =
        std::min<std::size_t>(std::max(column->cur_value_len, 0), page - start);
    return std::string(reinterpret_cast<const char*>(mdb->pg_buf) + start, length);
}

// The number of `size` bytes stored little-endian at `at` of `bytes`.
std::uint64_t littleEndian(const std::string& bytes, std::size_t at, int size) {
    std::uint64_t value = 0;
    for (int k = size - 1; k >= 0; --k)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(k)]);
    return value;
}

// The text of a stored date, 8 bytes holding a double; a calculated column's value
// follows a 20-byte header whose last 4 bytes give its length (0: NULL). Bytes of
// neither form are kept as they are.
std::optional<std::string> storedDate(const std::string& bytes) {
    std::size_t at = 0;
    if (bytes.size() != 8) {
        if (bytes.size() < 20) return bytes;
        const std::uint64_t length = littleEndian(bytes, 16, 4);
        if (length == 0) return std::nullopt;
        if (length != 8 || bytes.size() < 28) return bytes;
        at = 20;
    }
    const std::uint64_t bits = littleEndian(bytes, at, 8);
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return dateText(value);
}

// Reads the columns and rows of one table; false when libmdb cannot read its layout.
bool readTable(MdbCatalogEntry* entry, std::size_t fileSize, ImportedTable& out) {
    std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> table(mdb_read_table(entry),
                                                               mdb_free_tabledef);
    if (!table || !mdb_read_columns(table.get())) return false;
    MdbHandle* mdb = table->entry->mdb;
    out.name = table->name;
    const unsigned n = table->num_cols;
    std::vector<MdbColumn*> columns(n);
    std::vector<Reading> readings(n);
    std::vector<std::vector<char>> buffers(n, std::vector<char>(mdb->bind_size + 1));
    std::vector<int> lengths(n, 0);
    for (unsigned i = 0; i < n; ++i) {
        columns[i] = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        out.columns.push_back({columns[i]->name, columns[i]->col_type});
        readings[i] = readingOf(columns[i]->col_type);
        // Only libmdb's own types are bound: for the others it would print a warning.
        if (readings[i] == Reading::kText || readings[i] == Reading::kOle)
            mdb_bind_column(table.get(), static_cast<int>(i + 1), buffers[i].data(), &lengths[i]);
    }
    mdb_rewind_table(table.get());
    while (mdb_fetch_row(table.get())) {
        auto& row = out.rows.emplace_back(n);
        // libmdb gives a NULL and an empty text alike as length 0; both become NULL.
        for (unsigned i = 0; i < n; ++i) {
            MdbColumn* column = columns[i];
            switch (readings[i]) {
                case Reading::kText:
                    if (lengths[i] > 0)
                        row[i] =
                            std::string(buffers[i].data(), static_cast<std::size_t>(lengths[i]));
                    break;
                case Reading::kOle:
                    if (lengths[i] > 0) row[i] = oleValue(mdb, column, buffers[i].data(), fileSize);
                    break;
                case Reading::kRaw:
                    if (const std::string bytes = storedBytes(mdb, column); !bytes.empty())
                        row[i] = bytes;
                    break;
                case Reading::kDate:
                    if (const std::string bytes = storedBytes(mdb, column); !bytes.empty())
                        row[i] = storedDate(bytes);
                    break;
                case Reading::kExtended:
                    if (const std::string bytes = storedBytes(mdb, column); !bytes.empty())
                        row[i] = extendedDateText(bytes).value_or(bytes);
                    break;
                case Reading::kSkipped:
                    break;
            }
        }
    }
    return true;
}

// "YYYY-MM-DD HH:MM:SS", and ".fraction" when there is one.
std::string isoText(std::chrono::sys_days day, long long seconds, std::string_view fraction) {
    const std::chrono::year_month_day date{day};
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02lld:%02lld:%02lld", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return fraction.empty() ? std::string(text) : text + ("." + std::string(fraction));
}

}  // namespace

std::optional<std::string> extendedDateText(std::string_view raw) {
    const auto digits = [&](std::size_t from, std::size_t count) -> std::optional<long long> {
        long long value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (raw[i] < '0' || raw[i] > '9') return std::nullopt;
            value = value * 10 + (raw[i] - '0');
        }
        return value;
    };
    if (raw.size() < 39 || raw[19] != ':') return std::nullopt;
    const std::optional<long long> days = digits(0, 19), seconds = digits(20, 12);
    if (!days || !seconds || !digits(32, 7) || *days > 3652058 || *seconds >= 86400)
        return std::nullopt;  // past 9999-12-31, or more than a day
    const std::string_view fraction = raw.substr(32, 7);
    return isoText(std::chrono::sys_days{std::chrono::year{1} / 1 / 1} + std::chrono::days{*days},
                   *seconds, fraction == "0000000" ? "" : fraction);
}

std::string dateText(double value) {
    // Days since 1899-12-30; before it, the fraction still counts forward from midnight.
    if (!(value >= -657434 && value < 2958466)) {  // outside the years 100 … 9999
        char number[32];
        std::snprintf(number, sizeof number, "%.15g", value);
        return number;
    }
    const double whole = std::trunc(value);
    long long days = static_cast<long long>(whole);
    long long seconds = std::llround(std::abs(value - whole) * 86400);
    if (seconds == 86400) {
        seconds = 0;
        ++days;
    }
    return isoText(
        std::chrono::sys_days{std::chrono::year{1899} / 12 / 30} + std::chrono::days{days}, seconds,
        "");
}

bool readAccessFileInProcess(const std::string& path, std::vector<ImportedTable>& tables,
                             std::string& error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = "文件 “" + path + "” 不存在";
        return false;
    }
    const std::size_t fileSize = std::filesystem::file_size(path, ec);
    setenv("MDB_JET3_CHARSET", "CP936", 0);
    std::unique_ptr<MdbHandle, void (*)(MdbHandle*)> mdb(mdb_open(path.c_str(), MDB_NOFLAGS),
                                                         mdb_close);
    if (!mdb || !mdb_read_catalog(mdb.get(), MDB_TABLE)) {
        error = "“" + path + "” 不是可读的 Access 数据库";
        return false;
    }
    tables.clear();
    for (unsigned i = 0; i < mdb->num_catalog; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type != MDB_TABLE || !mdb_is_user_table(entry)) continue;
        ImportedTable table;
        if (!readTable(entry, fileSize, table)) {
            error = "无法读取 “" + path + "” 的表 “" + entry->object_name + "”";
            return false;
        }
        tables.push_back(std::move(table));
    }
    return true;
}

}  // namespace db
