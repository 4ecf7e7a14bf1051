// tolvane-cli grade: the look-ups of the grade query and grade conversion windows.
#include <ostream>
#include <set>
#include <string>

#include "cli/command.h"
#include "cli/options.h"
#include "db/data_folder.h"
#include "db/grade_lookup.h"
#include "db/schema.h"

namespace {

int usage(cli::CommandIo& io, const std::string& text) {
    io.err << "tolvane-cli grade: " << text << "\n";
    return cli::kUsage;
}

// A failure is printed both as the window's message and as the line on stderr.
int failed(const ui::Message& failure, cli::CommandIo& io) {
    io.out << cli::messageLine(failure);
    io.err << "tolvane-cli grade: " << failure.text << "\n";
    return cli::kFailure;
}

// Opens `table` of `file` in the data folder, creating the missing databases from the
// seed first, as the program does on start; prints the failure.
bool openTable(std::string_view file, const std::string& table, db::Database& database,
               db::TableCursor& cursor, cli::CommandIo& io) {
    ui::OptionalMessage failure = db::seedDataFolder();
    if (!failure) failure = db::Database::open(db::databasePath(file), database);
    if (!failure) failure = cursor.open(database, table);
    if (failure) failed(*failure, io);
    return !failure;
}

// The lines of a command, or only the failure when a read of the file failed on the way:
// what a damaged table gave is not passed off as its content.
int finish(const std::string& lines, const db::TableCursor& cursor, cli::CommandIo& io) {
    if (const ui::OptionalMessage& failure = cursor.readFailure()) return failed(*failure, io);
    io.out << lines;
    return cli::kOk;
}

int query(const std::string& grade, cli::CommandIo& io) {
    db::Database database;
    db::TableCursor cursor;
    if (!openTable(db::kMaterialFile, "CNA_STEEL", database, cursor, io)) return cli::kFailure;
    db::queryGrade(cursor, grade);
    std::string out;
    for (const db::ResultField& f : db::gradeResultFields())
        out += std::string(f.field) + "=" + cursor.field(f.field) + "\n";
    return finish(out, cursor, io);
}

std::string matchLine(const db::GradeSearch& search, const db::TableCursor& cursor) {
    std::string line = "match=" + std::to_string(search.position()) + "|" + cursor.field("类别");
    for (const std::string_view standard : db::kStandards) line += "|" + cursor.field(standard);
    return line + "\n";
}

int search(const std::string& text, int nextCount, cli::CommandIo& io) {
    db::Database database;
    db::TableCursor cursor;
    if (!openTable(db::kWorldFile, "s_world", database, cursor, io)) return cli::kFailure;
    db::GradeSearch search(cursor);
    search.textEdited();
    std::string out;
    if (!search.search(text)) return finish(cli::messageLine(db::notFoundMessage()), cursor, io);
    out += matchLine(search, cursor);
    for (int i = 0; i < nextCount; ++i) {
        if (!search.next(text)) {
            out += "end\n";
            break;
        }
        out += matchLine(search, cursor);
    }
    return finish(out, cursor, io);
}

// STANDARD as its position 1-9 or its name; 0 when it is neither.
int standardPosition(const std::string& standard) {
    for (int i = 1; i <= 9; ++i)
        if (standard == std::to_string(i) || standard == db::kStandards[i - 1]) return i;
    return 0;
}

int list(const std::string& standard, cli::CommandIo& io) {
    const int position = standardPosition(standard);
    if (!position) return usage(io, "no standard '" + standard + "' (1-9 or its name)");
    db::Database database;
    db::TableCursor cursor;
    if (!openTable(db::kWorldFile, "s_world", database, cursor, io)) return cli::kFailure;
    std::string out;
    for (const std::string& item : db::standardList(cursor, position)) out += "item=" + item + "\n";
    return finish(out, cursor, io);
}

int runGrade(const std::vector<std::string>& args, cli::CommandIo& io) {
    cli::Options opt;
    std::string error;
    if (!opt.parse(args, {"next"}, {}, error)) return usage(io, error);
    const std::vector<std::string>& pos = opt.positional();
    if (pos.empty()) return usage(io, "missing sub-command (query, search or list)");
    if (pos.size() != 2) return usage(io, pos[0] + " takes exactly one argument");
    if (opt.has("next") && pos[0] != "search") return usage(io, "--next belongs to search");
    if (pos[0] == "query") return query(pos[1], io);
    if (pos[0] == "list") return list(pos[1], io);
    if (pos[0] != "search") return usage(io, "unknown sub-command '" + pos[0] + "'");
    const std::string next = opt.value("next").value_or("0");
    if (next.empty() || next.size() > 6 ||
        next.find_first_not_of("0123456789") != std::string::npos)
        return usage(io, "--next needs a count, not '" + next + "'");
    return search(pos[1], std::stoi(next), io);
}

const cli::CommandRegistration reg(
    "grade",
    "grade query GRADE | grade search TEXT [--next K] | grade list STANDARD\n"
    "  query: the row the grade query window shows for GRADE (the first row when the\n"
    "  table has no such grade), one FIELD=value line per result display.\n"
    "  search: 搜索 for TEXT across the nine standards, then 下一个 K times; one line\n"
    "  match=<standard position>|<类别>|<中国GB>|...|<国际标准化组织ISO> per match, message=\n"
    "  when nothing is found, end when 下一个 runs out.\n"
    "  list: the designations the grade box lists for STANDARD (1-9 or its name), one\n"
    "  item= line each.\n"
    "  Missing databases are created from the seed data first.",
    &runGrade);

}  // namespace
