// Reading the reference CSV files of tests/engines/data.
#pragma once

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace hxq::engines::fluid::testing {

// One CSV file: header names to columns; quoted cells may hold commas.
struct CsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;

    std::size_t col(const std::string& name) const {
        for (std::size_t i = 0; i < header.size(); ++i)
            if (header[i] == name) return i;
        throw std::runtime_error("no column " + name);
    }
    double num(std::size_t row, const std::string& name) const {
        return std::stod(rows.at(row).at(col(name)));
    }
    const std::string& text(std::size_t row, const std::string& name) const {
        return rows.at(row).at(col(name));
    }
};

inline std::vector<std::string> split_csv_line(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        else if (c == ',' && !quoted) {
            cells.push_back(cell);
            cell.clear();
        } else if (c != '\r') cell += c;
    }
    cells.push_back(cell);
    return cells;
}

inline CsvTable read_csv(const std::string& file) {
    const std::string path = std::string(HXQ_SOURCE_DIR) + "/tests/engines/data/" + file;
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    CsvTable t;
    std::string line;
    std::getline(in, line);
    t.header = split_csv_line(line);
    while (std::getline(in, line))
        if (!line.empty()) t.rows.push_back(split_csv_line(line));
    return t;
}

inline double rel(double a, double b) { return (a - b) / b; }

}  // namespace hxq::engines::fluid::testing
