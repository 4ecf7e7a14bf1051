// A database file is never put over one that is there, not even over one another program
// made while this one was building its own; a build that a killed program left half done
// is cleared away by the next.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>

#include "db/child_program.h"
#include "db/row_append.h"
#include "db/schema.h"
#include "db/seed.h"
#include "db/table_cursor.h"

namespace db {
namespace {

namespace fs = std::filesystem;
using testtools::appears;
using testtools::ChildProgram;

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A program that seeds the data folder is held just before it renames its insulation.db
// into place; meanwhile a second one seeds the folder and the user adds a material. When
// the first goes on, it finds the file there and keeps it, the user's row included.
TEST(NoReplace, ADatabaseMadeMeanwhileByAnotherProgramIsKept) {
    QTemporaryDir dir;
    const std::string data = dir.filePath(QStringLiteral("data")).toStdString();
    const std::string gate = dir.filePath(QStringLiteral("gate")).toStdString();
    fs::create_directory(gate);
    const std::vector<std::string> query{TOLVANE_CLI, "--data-dir", data, "grade", "query", "45"};
    ChildProgram first(query, dir.path().toStdString(), "first",
                       {"LD_PRELOAD=" TOLVANE_RENAME_GATE, "TOLVANE_GATE_DIR=" + gate,
                        "TOLVANE_GATE_NAME=insulation.db"});
    ASSERT_TRUE(appears(gate + "/waiting"));

    ChildProgram second(query, dir.path().toStdString(), "second");
    ASSERT_EQ(second.wait(), 0) << second.err();
    const std::string file = data + "/" + std::string(kInsulationFile);
    ASSERT_EQ(appendNumberedRow(file, "heat", "ID", {{"名称", std::string("my own wool")}}).outcome,
              AppendOutcome::kAdded);

    std::ofstream(gate + "/open").close();
    EXPECT_EQ(first.wait(), 0);
    EXPECT_EQ(first.err(),
              "tolvane: 无法创建数据库文件 “" + file + "”：文件 “" + file + "” 已存在\n");
    Database database;
    ASSERT_FALSE(Database::open(file, database));
    TableCursor heat;
    ASSERT_FALSE(heat.open(database, "heat"));
    heat.findFirst("名称", "my own wool");
    EXPECT_FALSE(heat.noMatch());
    EXPECT_EQ(namesIn(data), (std::vector<std::string>{"S_WORLD972.db", "help.txt", "insulation.db",
                                                       "s_material.db", "standard.db"}));
}

// The temporary "<file>.new<pid>" of a program that no longer runs is removed; that of a
// running program, and any other name, stays.
TEST(NoReplace, TemporariesOfProgramsNoLongerRunningAreRemoved) {
    QTemporaryDir dir;
    const fs::path data = dir.path().toStdString();
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    const std::string dead = std::to_string(gone), alive = std::to_string(::getppid());
    for (const std::string& name :
         {"insulation.db.new" + dead, "S_WORLD972.db.new" + dead, "insulation.db.new" + alive,
          std::string("insulation.db.newer"), "standard.db.new" + dead + "x"})
        std::ofstream(data / name) << "half a database";
    EXPECT_TRUE(seedDatabases(data.string(), data.string(), TOLVANE_SEED_DIR).empty());
    EXPECT_EQ(namesIn(data), (std::vector<std::string>{
                                 "S_WORLD972.db", "insulation.db", "insulation.db.new" + alive,
                                 "insulation.db.newer", "s_material.db", "standard.db",
                                 "standard.db.new" + dead + "x"}));
}

}  // namespace
}  // namespace db
