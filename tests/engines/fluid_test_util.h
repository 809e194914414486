// Reading the reference CSV files of tests/engines/data, and the fixture of the tests that
// need the fluid databases of the sample installation.
#pragma once

#include "engines/fluid/catalogue.h"

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

// Density, heat capacity, conductivity and viscosity at t °C against the reference
// row's columns rho_kg_m3, cp_J_kgK, lambda_W_mK and mu_Pa_s, to a relative tolerance.
inline void expect_properties(const core::FluidObject& f, double t, const CsvRow& ref, double tolerance) {
    EXPECT_NEAR(rel(f.YDensity(t), num(ref, "rho_kg_m3")), 0, tolerance);
    EXPECT_NEAR(rel(f.YHeatCapacity(t), num(ref, "cp_J_kgK")), 0, tolerance);
    EXPECT_NEAR(rel(f.YConductivity(t), num(ref, "lambda_W_mK")), 0, tolerance);
    EXPECT_NEAR(rel(f.YViscosity(t), num(ref, "mu_Pa_s")), 0, tolerance);
}

// The sample installation's fluid and user fluid databases, set for each test and
// cleared after it; the test is skipped when they have not been built.
class SampleFluidDatabases : public ::testing::Test {
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
