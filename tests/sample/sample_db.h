// Read-only access to the built sample databases for the sample tests, straight through
// SQLite so that the data are checked independently of the library's database layer.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace hxq::sample_test {

inline std::filesystem::path sample_dir() { return HXQ_SAMPLE_DIR; }
inline std::filesystem::path source_dir() { return HXQ_SOURCE_DIR; }

// One value of a result row.
struct Cell {
    enum Kind { Null, Int, Real, Text } kind = Null;
    long long i = 0;
    double d = 0;
    std::string s;

    bool null() const { return kind == Null; }
    // Null and the empty text both mean "no value" to the readers of these tables.
    bool blank() const { return kind == Null || (kind == Text && s.empty()); }
    double number() const {
        if (kind == Int) return static_cast<double>(i);
        if (kind == Real) return d;
        if (kind == Text) return std::stod(s);
        throw std::logic_error("number of a Null cell");
    }
    long long integer() const {
        if (kind == Int) return i;
        if (kind == Text) return std::stoll(s);
        throw std::logic_error("integer of a non-integer cell");
    }
    std::string text() const {
        if (kind == Text) return s;
        if (kind == Int) return std::to_string(i);
        if (kind == Real) return std::to_string(d);
        return {};
    }
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

    std::vector<Row> query(const std::string& sql, const std::vector<Cell>& params = {}) const {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
        struct Finalize {
            sqlite3_stmt* st;
            ~Finalize() { sqlite3_finalize(st); }
        } fin{st};
        for (std::size_t k = 0; k < params.size(); ++k) {
            const Cell& p = params[k];
            int idx = static_cast<int>(k + 1);
            switch (p.kind) {
                case Cell::Null: sqlite3_bind_null(st, idx); break;
                case Cell::Int: sqlite3_bind_int64(st, idx, p.i); break;
                case Cell::Real: sqlite3_bind_double(st, idx, p.d); break;
                case Cell::Text:
                    sqlite3_bind_text(st, idx, p.s.c_str(), static_cast<int>(p.s.size()),
                                      SQLITE_TRANSIENT);
                    break;
            }
        }
        std::vector<Row> rows;
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
            Row row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                Cell cell;
                switch (sqlite3_column_type(st, c)) {
                    case SQLITE_INTEGER:
                        cell.kind = Cell::Int;
                        cell.i = sqlite3_column_int64(st, c);
                        break;
                    case SQLITE_FLOAT:
                        cell.kind = Cell::Real;
                        cell.d = sqlite3_column_double(st, c);
                        break;
                    case SQLITE_NULL: break;
                    default:
                        cell.kind = Cell::Text;
                        cell.s = reinterpret_cast<const char*>(sqlite3_column_text(st, c));
                }
                row[sqlite3_column_name(st, c)] = cell;
            }
            rows.push_back(std::move(row));
        }
        if (rc != SQLITE_DONE) throw std::runtime_error(sql + ": " + sqlite3_errmsg(db_));
        return rows;
    }

    bool has_table(const std::string& name) const {
        return !query("SELECT name FROM sqlite_master WHERE type='table' AND name=?1",
                      {text_cell(name)})
                    .empty();
    }

    std::set<std::string> columns(const std::string& table) const {
        std::set<std::string> out;
        for (const auto& r : query("SELECT name FROM pragma_table_info(?1)", {text_cell(table)}))
            out.insert(r.at("name").s);
        return out;
    }

    static Cell text_cell(std::string s) {
        Cell c;
        c.kind = Cell::Text;
        c.s = std::move(s);
        return c;
    }
    static Cell int_cell(long long v) {
        Cell c;
        c.kind = Cell::Int;
        c.i = v;
        return c;
    }

private:
    std::filesystem::path path_;
    sqlite3* db_ = nullptr;
};

}  // namespace hxq::sample_test
