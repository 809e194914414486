// Internals shared by the database files: the connection, the in-memory rows of a
// recordset (shared by its clones) and the position state of one recordset.
#pragma once

#include "platform/db.h"
#include "platform/error.h"

#include <sqlite3.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hxq::platform::detail {

inline constexpr std::int32_t kNoCurrentRecord = 3021;
inline constexpr std::int32_t kInvalidArgument = 3001;
inline constexpr std::int32_t kUpdateWithoutEdit = 3020;
inline constexpr std::int32_t kFileNotFound = 3024;
inline constexpr std::int32_t kCannotOpen = 3051;
inline constexpr std::int32_t kReadOnly = 3027;
inline constexpr std::int32_t kDuplicateValues = 3022;
inline constexpr std::int32_t kTooFewParameters = 3061;
inline constexpr std::int32_t kUnknownField = 3070;
inline constexpr std::int32_t kSyntax = 3075;
inline constexpr std::int32_t kTableNotFound = 3078;
inline constexpr std::int32_t kInvalidBookmark = 3159;
inline constexpr std::int32_t kFieldTooSmall = 3163;
inline constexpr std::int32_t kFieldNotUpdatable = 3164;
inline constexpr std::int32_t kRecordDeleted = 3167;
inline constexpr std::int32_t kDatabaseExists = 3204;
inline constexpr std::int32_t kLocked = 3260;
inline constexpr std::int32_t kItemNotFound = 3265;
inline constexpr std::int32_t kRequired = 3314;
inline constexpr std::int32_t kZeroLength = 3315;
inline constexpr std::int32_t kValidationRule = 3317;
inline constexpr std::int32_t kUnrecognizedFormat = 3343;
inline constexpr std::int32_t kNumericOverflow = 3349;
inline constexpr std::int32_t kObjectClosed = 3420;
inline constexpr std::int32_t kConversion = 3421;
inline constexpr std::int32_t kRelatedRecord = 3201;

// Name of the column that carries the rowid through a load query.
inline constexpr std::string_view kRowidColumn = "hxq$rowid";
// Hidden column of the row views that gives the row's index.
inline constexpr std::string_view kIndexColumn = "hxq$idx";

// Case-insensitive (ASCII) hashing and comparison, as Jet compares names.
struct CiHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept;
};
struct CiEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept;
};
bool ci_equal(std::string_view a, std::string_view b) noexcept;
std::string upper(std::string_view s);

// FieldType and size of an SQLite column declaration; text_size_explicit tells whether
// the declaration gave a size (only then is the size enforced).
struct DeclInfo {
    FieldType type = FieldType::Memo;
    int size = 0;
    bool text_size_explicit = false;
};
DeclInfo decl_info(std::string_view declared);
std::string decl_for(const FieldDef& f);
bool is_text_affinity(std::string_view declared);

struct Column {
    std::string name;      // as the recordset shows it
    std::string declared;  // declared type, empty for expressions
    std::string table;     // origin table, empty for expressions
    std::string origin;    // origin column name in that table
    DeclInfo info;
    bool is_bool = false;
};

struct Row {
    std::int64_t rowid = 0;
    bool deleted = false;
    std::vector<Variant> values;
};

// A statement that goes back to the connection's cache when released.
class Statement {
public:
    Statement() = default;
    Statement(struct Connection* conn, std::string sql, sqlite3_stmt* stmt) : conn_(conn), sql_(std::move(sql)), stmt_(stmt) {}
    Statement(Statement&& o) noexcept : conn_(o.conn_), sql_(std::move(o.sql_)), stmt_(o.stmt_) { o.stmt_ = nullptr; }
    Statement& operator=(Statement&&) = delete;
    ~Statement();
    sqlite3_stmt* get() const { return stmt_; }

private:
    struct Connection* conn_ = nullptr;
    std::string sql_;
    sqlite3_stmt* stmt_ = nullptr;
};

struct RowSet;
struct RecordsetState;

struct Connection {
    sqlite3* db = nullptr;
    std::string path;
    bool read_only = false;
    bool closing = false;
    long long affected = 0;
    std::uint64_t next_rowset = 1;
    std::set<RecordsetState*> recordsets;           // open recordsets, closed with the database
    std::unordered_map<std::uint64_t, RowSet*> rowsets;  // looked up by the row views
    std::unordered_map<std::string, sqlite3_stmt*> cache;  // idle prepared statements

    ~Connection();
    void close();
    void check_open(const char* source) const;

    // A prepared statement from the cache or freshly prepared; errors become Error with
    // the given number (SQLite's own message appended).
    Statement prepare(const std::string& sql, std::int32_t error_number, const char* source);
    void release(const std::string& sql, sqlite3_stmt* stmt);
    void exec(const std::string& sql, const char* source);

    // An Error for the last failure of the connection. In an expression (criteria,
    // filter) an unknown name is 3070; in a query Jet takes it for a parameter (3061).
    Error error(int rc, std::int32_t fallback_number, const char* source, std::string_view context = {},
                bool expression = false) const;
};

// The rows of a recordset and its clones.
struct RowSet {
    std::uint64_t id = 0;
    std::shared_ptr<Connection> conn;
    std::vector<Column> columns;
    std::unordered_map<std::string, std::size_t, CiHash, CiEqual> names;
    std::vector<Row> rows;
    std::size_t deleted = 0;
    std::string base_table;  // non-empty: rows carry rowids of this table and can change
    std::uint64_t version = 0;  // bumped on every change, invalidates cached finds

    bool view_created = false;
    struct Find {
        std::uint64_t version = 0;
        sqlite3_stmt* stmt = nullptr;
        std::vector<std::size_t> matches;
    };
    std::unordered_map<std::string, Find> finds;
    std::deque<std::string> find_order;

    RowSet(std::shared_ptr<Connection> c);
    ~RowSet();
    RowSet(const RowSet&) = delete;
    RowSet& operator=(const RowSet&) = delete;

    std::size_t live() const { return rows.size() - deleted; }
    std::optional<std::size_t> index_of(std::string_view name) const;
    std::string view_name() const;
    void ensure_view();
    // Indexes of the live rows for which the criteria text is true, ascending.
    const std::vector<std::size_t>& matches(std::string_view criteria);
    // Indexes of the live rows matching filter (may be empty) in sort order (may be empty).
    std::vector<std::size_t> select(const std::string& filter, const std::string& sort);
    void changed();

private:
    bool view_exists() const;
    void forget_finds();
    template <typename F>
    auto with_view(F&& run) -> decltype(run());
    const std::vector<std::size_t>& run_find(std::string_view criteria);
    std::vector<std::size_t> run_select(const std::string& filter, const std::string& sort);
};

void close_state(RecordsetState& state);
void register_row_view_module(sqlite3* db, Connection* conn);

Variant column_value(sqlite3_stmt* stmt, int i, bool is_bool);
void bind_value(sqlite3_stmt* stmt, int i, const Variant& v);

}  // namespace hxq::platform::detail
