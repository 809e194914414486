// Read-only access to the built sample databases for the sample tests, straight through
// SQLite so that the data are checked independently of the library's database layer.
#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace hxq::sample_test {

inline std::filesystem::path sample_dir() { return HXQ_SAMPLE_DIR; }

// One value of a result row.
struct Cell {
    enum Kind { Null, Int, Real, Text } kind = Null;
    long long i = 0;
    double d = 0;
    std::string s;

    // Null and the empty text both mean "no value" to the readers of these tables.
    bool blank() const { return kind == Null || (kind == Text && s.empty()); }
    double number() const {
        if (kind == Null) throw std::logic_error("number of a Null cell");
        return kind == Int ? static_cast<double>(i) : kind == Real ? d : std::stod(s);
    }
    long long integer() const {
        if (kind == Int) return i;
        if (kind == Text) return std::stoll(s);
        throw std::logic_error("integer of a non-integer cell");
    }
    std::string text() const { return kind == Int ? std::to_string(i) : kind == Real ? std::to_string(d) : s; }
};

using Row = std::map<std::string, Cell>;

class SampleDb {
public:
    // Opens a database of the build's sample folder read-only; a missing file fails.
    explicit SampleDb(const std::string& file) : path_(sample_dir() / file) {
        if (!std::filesystem::exists(path_))
            throw std::runtime_error(path_.string() + " is missing: build the sample data first");
        if (sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            std::string msg = db_ ? sqlite3_errmsg(db_) : "out of memory";
            sqlite3_close(db_);
            throw std::runtime_error("cannot open " + path_.string() + ": " + msg);
        }
    }
    ~SampleDb() { sqlite3_close(db_); }
    SampleDb(const SampleDb&) = delete;
    SampleDb& operator=(const SampleDb&) = delete;

    std::vector<Row> query(const std::string& sql) const {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
        struct Finalize {
            sqlite3_stmt* st;
            ~Finalize() { sqlite3_finalize(st); }
        } fin{st};
        std::vector<Row> rows;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            Row row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                Cell& cell = row[sqlite3_column_name(st, c)];
                switch (sqlite3_column_type(st, c)) {
                    case SQLITE_INTEGER: cell = {Cell::Int, sqlite3_column_int64(st, c), 0, {}}; break;
                    case SQLITE_FLOAT: cell = {Cell::Real, 0, sqlite3_column_double(st, c), {}}; break;
                    case SQLITE_NULL: break;
                    default: cell = {Cell::Text, 0, 0, reinterpret_cast<const char*>(sqlite3_column_text(st, c))};
                }
            }
            rows.push_back(std::move(row));
        }
        if (rc != SQLITE_DONE) throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
        return rows;
    }

    bool has(const std::string& sql) const { return !query(sql).empty(); }

    // The first column of every row of `sql`.
    std::set<long long> ids(const std::string& sql) const {
        std::set<long long> out;
        for (const auto& r : query(sql)) out.insert(r.begin()->second.integer());
        return out;
    }
    std::set<std::string> texts(const std::string& sql) const {
        std::set<std::string> out;
        for (const auto& r : query(sql)) out.insert(r.begin()->second.text());
        return out;
    }

    bool has_table(const std::string& name) const {
        return has("SELECT 1 FROM sqlite_master WHERE type='table' AND name='" + name + "'");
    }
    std::set<std::string> columns(const std::string& table) const {
        return texts("SELECT name FROM pragma_table_info('" + table + "')");
    }

private:
    std::filesystem::path path_;
    sqlite3* db_ = nullptr;
};

// "Class*Type*Size*Material*Chantype*", the start of the article code of a Denomination row.
inline std::string article_stem(const Row& d) {
    std::string stem;
    for (const char* part : {"Class", "Type", "Size", "Material", "Chantype"}) stem += d.at(part).text() + "*";
    return stem;
}

}  // namespace hxq::sample_test
