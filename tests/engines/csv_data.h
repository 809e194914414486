// What the fluid tests share: the reference tables of tests/engines/data, read as rows of
// cells by column name, and the sample installation's fluid databases as a fixture.
#pragma once

#include "engines/fluid/catalogue.h"
#include "engines/fluid/user_fluid.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace hxq::engines::fluid::testing {

// One row of a CSV file: its cells by column name. Quoted cells may hold commas.
using CsvRow = std::map<std::string, std::string>;

inline std::vector<std::string> split_csv_line(const std::string& line) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        else if (c == ',' && !quoted) cells.emplace_back();
        else if (c != '\r') cells.back() += c;
    }
    return cells;
}

inline std::vector<CsvRow> read_csv(const std::string& file) {
    const std::string path = std::string(HXQ_SOURCE_DIR) + "/tests/engines/data/" + file;
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    std::string line;
    std::getline(in, line);
    const auto header = split_csv_line(line);
    std::vector<CsvRow> rows;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        const auto cells = split_csv_line(line);
        CsvRow& row = rows.emplace_back();
        for (std::size_t i = 0; i < header.size(); ++i) row[header[i]] = cells.at(i);
    }
    return rows;
}

inline double num(const CsvRow& row, const std::string& column) { return std::stod(row.at(column)); }

inline double rel(double a, double b) { return (a - b) / b; }

// The sample installation's fluid and user fluid databases, set for each test and
// cleared after it; the test is skipped when they have not been built.
class FluidDatabases : public ::testing::Test {
protected:
    static inline const std::string kDb = std::string(HXQ_SAMPLE_DIR) + "/fluids.db";
    static inline const std::string kUserDb = std::string(HXQ_SAMPLE_DIR) + "/userfluids.db";

    void SetUp() override {
        if (!std::filesystem::exists(kDb) || !std::filesystem::exists(kUserDb))
            GTEST_SKIP() << "build hxq_sample_data first";
        set_fluids_database(kDb);
        set_user_fluids_database(kUserDb);
    }
    void TearDown() override {
        set_user_fluids_database("");
        set_fluids_database("");
    }
};
}  // namespace hxq::engines::fluid::testing
