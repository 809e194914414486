// Scratch databases for the database-layer tests: a fresh folder per test under the
// build's scratch area, and a small product-like database to search in.
#pragma once

#include "platform/db.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <unistd.h>

namespace hxq::test {

class DbScratch {
public:
    DbScratch() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "scratch";
        for (char& c : name)
            if (c == '/') c = '_';
        dir_ = std::filesystem::path(HXQ_TEST_TMP) / ("db-" + name + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    ~DbScratch() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    DbScratch(const DbScratch&) = delete;
    DbScratch& operator=(const DbScratch&) = delete;

    std::string file(const std::string& name) const { return (dir_ / name).string(); }

private:
    std::filesystem::path dir_;
};

// A model tree in the shape the selection drivers walk: folder nodes (Table Null or
// empty) and model nodes, group memberships in Group, user levels in UserLevel, Jet
// booleans (-1/0) in InUse, and a correction table whose name needs brackets.
inline void build_product_db(const std::string& path) {
    platform::Database db = platform::CreateDatabase(path);
    db.Execute(
        "CREATE TABLE ModelTree (NodeID SMALLINT PRIMARY KEY, ParentID SMALLINT, \"Group\" VARCHAR(50), "
        "UserLevel VARCHAR(26), InUse BOOLEAN, \"Table\" VARCHAR(20), ModelID SMALLINT, ChannelID1Left VARCHAR(10))");
    db.Execute(
        "INSERT INTO ModelTree VALUES "
        "(1, 0, 'S/012,C/003', 'ABC', -1, NULL, NULL, NULL),"
        "(2, 1, 'S,C', 'ABC', -1, 'HXQ', 10, '7'),"
        "(3, 1, 'C', 'A', -1, 'HXQ', 11, '8'),"
        "(4, 1, 'S', 'B', -1, '', NULL, NULL),"
        "(5, 4, 'S', 'AB', -1, 'HXQ', 12, NULL),"
        "(6, 4, 'S', 'AB', 0, 'HXQ', 13, NULL),"
        "(7, 1, 'S/012', 'ABC', -1, 'HXQ', 14, '7'),"
        "(8, 0, 'E/005', 'ABC', -1, NULL, NULL, NULL)");
    db.Execute(
        "CREATE TABLE \"Channel-Fluid-Factors\" (ChannelID INTEGER, FluidID INTEGER, \"V-model\" BOOLEAN, "
        "CounterCurrent BOOLEAN, cNuCorrVAP VARCHAR(20))");
    db.Execute(
        "INSERT INTO \"Channel-Fluid-Factors\" VALUES "
        "(7, 3, -1, -1, '1.10'), (7, 3, 0, -1, '1.20'), (7, 3, 0, 0, '1.30'), (7, 0, 0, 0, '0.90')");
}

}  // namespace hxq::test
