// Reading Access files through libmdb (the part of mdb_import.h that needs it).
#include <glib.h>  // before mdbtools.h, which includes it inside extern "C"
#include <mdbtools.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "db/mdb_import.h"

namespace db {
namespace {

// Reads the columns and rows of one table; false when libmdb cannot read its layout.
bool readTable(MdbCatalogEntry* entry, ImportedTable& out) {
    std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> table(mdb_read_table(entry),
                                                               mdb_free_tabledef);
    if (!table || !mdb_read_columns(table.get())) return false;
    out.name = table->name;
    const unsigned n = table->num_cols;
    const std::size_t bindSize = table->entry->mdb->bind_size;
    std::vector<std::vector<char>> buffers(n, std::vector<char>(bindSize + 1));
    std::vector<int> lengths(n, 0);
    for (unsigned i = 0; i < n; ++i) {
        const auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        out.columns.push_back({column->name, column->col_type});
        mdb_bind_column(table.get(), static_cast<int>(i + 1), buffers[i].data(), &lengths[i]);
    }
    mdb_rewind_table(table.get());
    while (mdb_fetch_row(table.get())) {
        auto& row = out.rows.emplace_back(n);
        // libmdb gives a NULL and an empty text alike as length 0; both become NULL.
        for (unsigned i = 0; i < n; ++i)
            if (lengths[i] > 0)
                row[i] = std::string(buffers[i].data(), static_cast<std::size_t>(lengths[i]));
    }
    return true;
}

}  // namespace

bool readAccessFile(const std::string& path, std::vector<ImportedTable>& tables,
                    std::string& error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        error = "文件 “" + path + "” 不存在";
        return false;
    }
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
        if (!readTable(entry, table)) {
            error = "无法读取 “" + path + "” 的表 “" + entry->object_name + "”";
            return false;
        }
        tables.push_back(std::move(table));
    }
    return true;
}

}  // namespace db
