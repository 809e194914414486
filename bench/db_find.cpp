// Speed of the recordset operations the selection drivers repeat: the subtree walk's
// criteria finds, key look-ups with a new criteria text each time, and opening a table.
#include "platform/db.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

using namespace hxq::platform;

constexpr int kFolders = 60;
constexpr int kModelsPerFolder = 10;  // 660 rows, about the size of a product range

// A model tree in a scratch file, removed at exit.
struct TreeFile {
    std::string path;
    TreeFile() {
        path = (std::filesystem::temp_directory_path() / ("hxq-bench-db-" + std::to_string(::getpid()) + ".db")).string();
        std::filesystem::remove(path);
        Database db = CreateDatabase(path);
        db.Execute(
            "CREATE TABLE ModelTree (NodeID SMALLINT PRIMARY KEY, ParentID SMALLINT, \"Group\" TEXT, UserLevel TEXT, "
            "InUse BOOLEAN, \"Table\" TEXT, ModelID SMALLINT)");
        db.BeginTrans();
        Recordset rs = db.OpenRecordset("ModelTree");
        int id = 1;
        for (int f = 0; f < kFolders; ++f) {
            const int folder = id++;
            rs.AddNew();
            rs["NodeID"] = folder;
            rs["ParentID"] = 0;
            rs["Group"] = f % 2 ? "S/012,C/003" : "C/003";
            rs["UserLevel"] = "ABC";
            rs["InUse"] = true;
            rs.Update();
            for (int m = 0; m < kModelsPerFolder; ++m) {
                rs.AddNew();
                rs["NodeID"] = id++;
                rs["ParentID"] = folder;
                rs["Group"] = m % 3 ? "S,C" : "E";
                rs["UserLevel"] = m % 4 ? "AB" : "C";
                rs["InUse"] = true;
                rs["Table"] = "HXQ";
                rs["ModelID"] = m;
                rs.Update();
            }
        }
        db.CommitTrans();
    }
    ~TreeFile() { std::filesystem::remove(path); }
};

const TreeFile& tree() {
    static TreeFile file;
    return file;
}

// Every folder's children with the duty and level terms, as one driver run does.
void BM_SubtreeWalkFinds(benchmark::State& state) {
    Database db = OpenDatabase(tree().path);
    for (auto _ : state) {
        Recordset rs = db.OpenRecordset("SELECT * FROM ModelTree");
        long found = 0;
        for (int f = 0; f < kFolders; ++f) {
            const int folder = 1 + f * (kModelsPerFolder + 1);
            const std::string c =
                "ParentID=" + std::to_string(folder) + " AND Instr(Group,'S')>0 AND Instr(UserLevel, 'A')>0";
            for (bool hit = rs.FindFirst(c); hit; hit = rs.FindNext(c)) ++found;
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["finds/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kFolders * 7,
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SubtreeWalkFinds)->Unit(benchmark::kMillisecond);

// A key look-up whose criteria text is new every time ("NodeID=" & id).
void BM_KeyFindNewText(benchmark::State& state) {
    Database db = OpenDatabase(tree().path);
    Recordset rs = db.OpenRecordset("ModelTree");
    const int rows = kFolders * (kModelsPerFolder + 1);
    int id = 0;
    for (auto _ : state) {
        id = id % rows + 1;
        benchmark::DoNotOptimize(rs.FindFirst("NodeID=" + std::to_string(id)));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_KeyFindNewText);

// The same criteria again (the price and channel look-ups repeat across candidates).
void BM_KeyFindRepeatedText(benchmark::State& state) {
    Database db = OpenDatabase(tree().path);
    Recordset rs = db.OpenRecordset("ModelTree");
    for (auto _ : state) benchmark::DoNotOptimize(rs.FindFirst("NodeID=300"));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_KeyFindRepeatedText);

void BM_OpenTable(benchmark::State& state) {
    Database db = OpenDatabase(tree().path);
    for (auto _ : state) {
        Recordset rs = db.OpenRecordset("SELECT * FROM ModelTree");
        benchmark::DoNotOptimize(rs.RecordCount());
    }
}
BENCHMARK(BM_OpenTable)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
