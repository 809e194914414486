#include "engines/fluid/sqlite_reader.h"

#include "engines/fluid/fluid_error.h"

#include <cmath>
#include <filesystem>
#include <limits>

namespace hxq::engines::fluid {

SqliteReader::SqliteReader(const std::string& path) : path_(path) {
    // A missing file is an error, never a new empty database.
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec))
        throw FluidDatabaseError("Fluid database not found: \"" + path + "\"");
    // One reader serves one thread (the loaders hold their cache's lock), so SQLite's
    // own per-call locking is not needed.
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) !=
        SQLITE_OK) {
        const std::string msg = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw FluidDatabaseError("Cannot open fluid database \"" + path + "\": " + msg);
    }
    // Tables are read whole: map the file instead of copying it page by page.
    sqlite3_exec(db_, "PRAGMA mmap_size = 268435456", nullptr, nullptr, nullptr);
}

SqliteReader::~SqliteReader() { sqlite3_close(db_); }

void SqliteReader::fail(const std::string& what) const {
    throw FluidDatabaseError("Fluid database \"" + path_ + "\": " + what + ": " +
                             sqlite3_errmsg(db_));
}

bool SqliteReader::has_table(const std::string& name) {
    Query q(*this, "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?1 COLLATE NOCASE");
    q.bind(1, name);
    return q.step();
}

SqliteReader::Query::Query(SqliteReader& db, const std::string& sql) : db_(db) {
    if (sqlite3_prepare_v2(db.db_, sql.c_str(), -1, &stmt_, nullptr) != SQLITE_OK)
        db.fail("cannot run \"" + sql + "\"");
}

SqliteReader::Query::~Query() { sqlite3_finalize(stmt_); }

void SqliteReader::Query::bind(int index, double value) { sqlite3_bind_double(stmt_, index, value); }

void SqliteReader::Query::bind(int index, const std::string& value) {
    sqlite3_bind_text(stmt_, index, value.c_str(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
}

bool SqliteReader::Query::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    db_.fail("read error");
}

int SqliteReader::Query::columns() const { return sqlite3_column_count(stmt_); }

std::string SqliteReader::Query::column_name(int i) const {
    const char* n = sqlite3_column_name(stmt_, i);
    return n ? n : "";
}

bool SqliteReader::Query::is_null(int i) const { return sqlite3_column_type(stmt_, i) == SQLITE_NULL; }

double SqliteReader::Query::number(int i) const {
    switch (sqlite3_column_type(stmt_, i)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT: return sqlite3_column_double(stmt_, i);
    case SQLITE_TEXT: {
        const std::string t = text(i);
        try {
            std::size_t used = 0;
            const double v = std::stod(t, &used);
            if (used == t.size()) return v;
        } catch (const std::exception&) {
        }
        return std::numeric_limits<double>::quiet_NaN();
    }
    default: return std::numeric_limits<double>::quiet_NaN();
    }
}

std::string SqliteReader::Query::text(int i) const {
    const auto* p = sqlite3_column_text(stmt_, i);
    return p ? reinterpret_cast<const char*>(p) : "";
}

}  // namespace hxq::engines::fluid
