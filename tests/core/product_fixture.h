// Small SQLite product, stock and selector databases built in a scratch folder for the
// tests of the model tree, prices and physical data.
#pragma once

#include "platform/db.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include <unistd.h>

namespace hxq::test {

// A fresh folder per test under the build's scratch area, removed afterwards.
class CoreScratch {
public:
    CoreScratch() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "core";
        for (char& c : name)
            if (c == '/') c = '_';
        path_ = std::filesystem::path(HXQ_TEST_TMP) / ("core-" + name + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~CoreScratch() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    CoreScratch(const CoreScratch&) = delete;
    CoreScratch& operator=(const CoreScratch&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Runs SQL text on the SQLite file at `path`, creating it when needed.
inline void exec_sql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + path);
    }
    char* message = nullptr;
    // Scratch files need no durability; without syncing the fixtures build in a blink.
    const std::string text = "PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY; BEGIN; " + sql + "; COMMIT;";
    int rc = sqlite3_exec(db, text.c_str(), nullptr, nullptr, &message);
    std::string error = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("SQL failed: " + error);
}

// The ModelTree table with every column the library reads (booleans as Jet stores them).
inline const char* kModelTreeSchema = R"(
CREATE TABLE ModelTree (
  NodeID INTEGER PRIMARY KEY, ParentID SMALLINT, Alias TEXT, "Group" TEXT, UserLevel TEXT,
  InUse BOOLEAN, "Table" TEXT, ChannelCombination TEXT, PureType TEXT, ChannelType TEXT,
  Information2 TEXT, CalcMethod TEXT, ModelID SMALLINT, Dual BOOLEAN, StockID TEXT, PriceID SMALLINT,
  ChannelID1Left TEXT, ChannelID1Right TEXT, ChannelID2Left TEXT, ChannelID2Right TEXT);
)";

}  // namespace hxq::test
