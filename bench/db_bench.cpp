// The grade conversion window's look-ups on a generated s_world of 100 000 rows:
// "搜索" for a text that only the ninth standard holds, "下一个" through 100 matches,
// and the 1000-entry list of a standard. Each runs on the seed's layout with its
// trigram search table ("trigram") and without it ("plain"); both must find the same
// rows, which the set-up checks before timing.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <iostream>

#include "db/database_builder.h"
#include "db/grade_lookup.h"

namespace {

constexpr int kRows = 100'000;
constexpr int kMatchEvery = 500;  // 200 rows hold the text, in their ISO column only
constexpr std::string_view kText = "zqx";

// Builds S_WORLD972-like files of kRows rows, with and without the search table.
class World {
public:
    World() {
        const db::NewTable withSearch = db::NewTable::fromSchema(*db::findTableSchema("s_world"));
        db::NewTable plain = withSearch;
        plain.searchColumns.clear();
        build(withSearch, path(true));
        build(plain, path(false));
    }

    std::string path(bool trigram) const {
        return dir_.filePath(trigram ? "trigram.db" : "plain.db").toStdString();
    }

private:
    static void build(const db::NewTable& table, const std::string& path) {
        std::string error;
        const bool ok = db::buildDatabaseFile(
            path,
            [&](sqlite3* c, std::string& e) {
                if (!db::createTable(c, table, e)) return false;
                db::RowInserter insert(c, table);
                std::vector<std::optional<std::string>> row(table.columns.size());
                for (int i = 1; i <= kRows; ++i) {
                    const std::string n = std::to_string(i);
                    row[0] = n;
                    row[1] = "合金结构钢";
                    for (std::size_t s = 0; s < 9; ++s)
                        row[s + 2] = std::string(1, static_cast<char>('A' + s)) + n + "Cr" +
                                     std::to_string(i % 97);
                    if (i % kMatchEvery == 0) *row[10] += "ZQX";
                    if (!insert.insert(row, e)) return false;
                }
                return true;
            },
            error);
        if (!ok) {
            std::cerr << "bench_db: " << error << "\n";
            std::exit(1);
        }
    }

    QTemporaryDir dir_;
};

const World& world() {
    static const World w;
    return w;
}

struct Opened {
    explicit Opened(bool trigram) {
        if (db::Database::open(world().path(trigram), database) ||
            cursor.open(database, "s_world")) {
            std::cerr << "bench_db: cannot open the generated table\n";
            std::exit(1);
        }
    }
    db::Database database;
    db::TableCursor cursor;
};

// The IDs that "搜索" and 100 × "下一个" show.
std::vector<std::string> walk(bool trigram) {
    Opened o(trigram);
    db::GradeSearch search(o.cursor);
    std::vector<std::string> ids;
    if (search.search(kText)) ids.push_back(o.cursor.field("ID"));
    for (int i = 0; i < 100 && search.next(kText); ++i) ids.push_back(o.cursor.field("ID"));
    return ids;
}

void checkSameResults() {
    static const bool same = [] {
        const auto a = walk(true), b = walk(false);
        return a == b && a.size() == 101 && a.front() == std::to_string(kMatchEvery);
    }();
    if (!same) {
        std::cerr << "bench_db: the trigram table and the plain scan disagree\n";
        std::exit(1);
    }
}

void BM_SearchAllStandards(benchmark::State& state) {
    checkSameResults();
    Opened o(state.range(0) != 0);
    db::GradeSearch search(o.cursor);
    for (auto _ : state) {
        search.textEdited();
        benchmark::DoNotOptimize(search.search(kText));
    }
}

void BM_Next100(benchmark::State& state) {
    checkSameResults();
    Opened o(state.range(0) != 0);
    db::GradeSearch search(o.cursor);
    for (auto _ : state) {
        state.PauseTiming();
        search.textEdited();
        search.search(kText);
        state.ResumeTiming();
        for (int i = 0; i < 100; ++i) benchmark::DoNotOptimize(search.next(kText));
    }
}

void BM_StandardList1000(benchmark::State& state) {
    Opened o(state.range(0) != 0);
    for (auto _ : state) benchmark::DoNotOptimize(db::standardList(o.cursor, 1));
}

BENCHMARK(BM_SearchAllStandards)->ArgName("trigram")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Next100)->ArgName("trigram")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StandardList1000)->ArgName("trigram")->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
