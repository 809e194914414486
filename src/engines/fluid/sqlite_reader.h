// Read-only access to the fluid databases through the SQLite C API, RAII wrapped. The
// fluid data are read once per database and cached, so this stays minimal.
#pragma once

#include <sqlite3.h>

#include <string>

namespace hxq::engines::fluid {

class SqliteReader {
public:
    // Opens an existing file read-only; throws FluidDatabaseError when it cannot.
    explicit SqliteReader(const std::string& path);
    ~SqliteReader();
    SqliteReader(const SqliteReader&) = delete;
    SqliteReader& operator=(const SqliteReader&) = delete;

    bool has_table(const std::string& name);
    const std::string& path() const { return path_; }

    class Query {
    public:
        Query(SqliteReader& db, const std::string& sql);
        ~Query();
        Query(const Query&) = delete;
        Query& operator=(const Query&) = delete;

        void bind(int index, double value);
        void bind(int index, const std::string& value);
        bool step();  // true while a row is available
        int columns() const;
        std::string column_name(int i) const;
        bool is_null(int i) const;
        double number(int i) const;  // NULL or text that is no number: NaN
        std::string text(int i) const;

    private:
        SqliteReader& db_;
        sqlite3_stmt* stmt_ = nullptr;
    };

private:
    [[noreturn]] void fail(const std::string& what) const;

    std::string path_;
    sqlite3* db_ = nullptr;
};

}  // namespace hxq::engines::fluid
