// tolvane-cli import-mdb: an existing Access database converted into a new SQLite file.
#include <filesystem>
#include <ostream>
#include <string>

#include "cli/command.h"
#include "cli/options.h"
#ifdef TOLVANE_HAVE_LIBMDB
#include "db/mdb_import.h"
#endif

namespace {

int runImportMdb(const std::vector<std::string>& args, cli::CommandIo& io) {
    cli::Options opt;
    std::string error;
    if (!opt.parse(args, {}, {}, error)) {
        io.err << "tolvane-cli import-mdb: " << error << "\n";
        return cli::kUsage;
    }
    const std::vector<std::string>& pos = opt.positional();
    if (pos.empty() || pos.size() > 2) {
        io.err << "tolvane-cli import-mdb: give FILE.mdb and optionally OUT.db\n";
        return cli::kUsage;
    }
#ifdef TOLVANE_HAVE_LIBMDB
    const std::string out =
        pos.size() == 2 ? pos[1] : std::filesystem::path(pos[0]).replace_extension(".db").string();
    std::vector<db::ImportedTable> tables;
    if (!db::readAccessFile(pos[0], tables, error) || !db::writeImport(tables, out, error)) {
        io.err << "tolvane-cli import-mdb: " << error << "\n";
        return cli::kFailure;
    }
    std::string lines;
    for (const db::ImportedTable& t : tables) {
        if (db::keepsAColumn(t))
            lines += "table=" + t.name + "|" + std::to_string(t.rows.size()) + "\n";
        for (const std::string& note : db::importNotes(t))
            lines += "note=" + t.name + "|" + note + "\n";
    }
    io.out << lines << "saved=" << out << "\n";
    return cli::kOk;
#else
    io.err << "tolvane-cli import-mdb: built without mdbtools' libmdb (Debian package "
              "mdbtools-dev); Access files cannot be read\n";
    return cli::kFailure;
#endif
}

const cli::CommandRegistration reg(
    "import-mdb",
    "import-mdb FILE.mdb [OUT.db]\n"
    "  Converts an Access database into a new SQLite file (default: FILE.db beside it):\n"
    "  every user table with its columns and rows; the reference tables get their named\n"
    "  indexes; binary and OLE columns are kept as blobs, dates as ISO text. An existing\n"
    "  OUT.db is never replaced, not even one made while the import runs. Prints\n"
    "  table=<name>|<rows> per table, note=<table>|<text> for every column or table that\n"
    "  is not imported (attachments, multi-valued fields, unknown types), then\n"
    "  saved=<OUT.db>. A damaged FILE.mdb gives an error and no OUT.db.",
    &runImportMdb);

}  // namespace
