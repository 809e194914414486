#include "platform/db.h"

#include "platform/db_internal.h"
#include "platform/jet_sql.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <limits>

#include <fmt/format.h>

namespace hxq::platform {

using namespace detail;

namespace {

std::atomic<int> g_databases{0};
std::atomic<int> g_recordsets{0};

constexpr const char* kDb = "Database";
constexpr const char* kRs = "Recordset";
constexpr std::size_t kStatementCacheSize = 64;
constexpr std::size_t kFindCacheSize = 256;

std::string trim(std::string_view s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string_view::npos) return {};
    const auto e = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(b, e - b + 1));
}

bool starts_with_word(std::string_view s, std::string_view word) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == '(' || std::isspace(static_cast<unsigned char>(s[i])))) ++i;
    if (s.size() - i < word.size() || !ci_equal(s.substr(i, word.size()), word)) return false;
    return i + word.size() == s.size() || !(std::isalnum(static_cast<unsigned char>(s[i + word.size()])) || s[i + word.size()] == '_');
}

// Words of an SQLite text outside quotes, with their parenthesis depth and offset.
struct Word {
    std::string upper;
    int depth;
    std::size_t offset;
};
std::vector<Word> sql_words(std::string_view sql) {
    std::vector<Word> out;
    int depth = 0;
    for (std::size_t i = 0; i < sql.size();) {
        const char c = sql[i];
        if (c == '\'' || c == '"' || c == '`') {
            const std::size_t close = sql.find(c, i + 1);
            if (close == std::string_view::npos) break;
            out.push_back({c == '\'' ? "'" : "\"", depth, i});  // a literal or quoted name
            i = close + 1;
        } else if (c == '(') {
            ++depth;
            ++i;
        } else if (c == ')') {
            --depth;
            ++i;
        } else if (c == ',') {
            out.push_back({",", depth, i});
            ++i;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            std::size_t j = i;
            while (j < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[j])) || sql[j] == '_' || sql[j] == '$')) ++j;
            out.push_back({upper(sql.substr(i, j - i)), depth, i});
            i = j;
        } else {
            ++i;
        }
    }
    return out;
}

// A plain single-table SELECT whose rows map one to one onto rows of the table: the only
// kind of query whose recordset can change rows (the rowid is read along).
bool single_table_select(std::string_view sql, std::size_t& select_end) {
    const auto words = sql_words(sql);
    if (words.empty() || words[0].upper != "SELECT" || words[0].depth != 0) return false;
    select_end = words[0].offset + 6;
    if (words.size() > 1 && (words[1].upper == "DISTINCT" || words[1].upper == "ALL")) return false;
    bool in_from = false;
    for (std::size_t k = 1; k < words.size(); ++k) {
        const Word& w = words[k];
        if (w.depth != 0) {
            if (w.upper == "SELECT") return false;  // subqueries
            continue;
        }
        if (w.upper == "JOIN" || w.upper == "UNION" || w.upper == "INTERSECT" || w.upper == "EXCEPT" ||
            w.upper == "HAVING" || w.upper == "GROUP" || w.upper == "WINDOW")
            return false;
        if (w.upper == "FROM") in_from = true;
        else if (w.upper == "WHERE" || w.upper == "ORDER" || w.upper == "LIMIT") in_from = false;
        else if (in_from && w.upper == ",") return false;
    }
    return true;
}

Error no_current_record() { return Error(kNoCurrentRecord, kRs, "No current record."); }

}  // namespace

DbHandleCounts db_open_handles() { return {g_databases.load(), g_recordsets.load()}; }

// ---------------------------------------------------------------------------------------
// Helpers

namespace detail {

std::size_t CiHash::operator()(std::string_view s) const noexcept {
    std::size_t h = 1469598103934665603ull;
    for (char c : s) {
        h ^= static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
        h *= 1099511628211ull;
    }
    return h;
}

bool ci_equal(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

bool CiEqual::operator()(std::string_view a, std::string_view b) const noexcept { return ci_equal(a, b); }

std::string upper(std::string_view s) {
    std::string u(s);
    for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return u;
}

Variant column_value(sqlite3_stmt* stmt, int i, bool is_bool) {
    switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_INTEGER: {
            const auto v = static_cast<std::int64_t>(sqlite3_column_int64(stmt, i));
            return is_bool ? Variant(v != 0) : Variant(static_cast<long long>(v));
        }
        case SQLITE_FLOAT: {
            const double d = sqlite3_column_double(stmt, i);
            return is_bool ? Variant(d != 0.0) : Variant(d);
        }
        case SQLITE_TEXT: {
            const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            return Variant(std::string(t, static_cast<std::size_t>(sqlite3_column_bytes(stmt, i))));
        }
        case SQLITE_BLOB: {
            const auto* b = static_cast<const char*>(sqlite3_column_blob(stmt, i));
            return Variant(std::string(b ? b : "", static_cast<std::size_t>(sqlite3_column_bytes(stmt, i))));
        }
        default: return Variant::null();
    }
}

void bind_value(sqlite3_stmt* stmt, int i, const Variant& v) {
    const Variant::Storage& s = v.storage();
    if (auto* b = std::get_if<bool>(&s))
        sqlite3_bind_int64(stmt, i, *b ? -1 : 0);  // Jet's True
    else if (auto* n = std::get_if<std::int64_t>(&s))
        sqlite3_bind_int64(stmt, i, *n);
    else if (auto* d = std::get_if<double>(&s))
        sqlite3_bind_double(stmt, i, *d);
    else if (auto* t = std::get_if<std::string>(&s))
        sqlite3_bind_text64(stmt, i, t->data(), t->size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    else
        sqlite3_bind_null(stmt, i);
}

// ---------------------------------------------------------------------------------------
// Connection

Statement::~Statement() {
    if (stmt_) conn_->release(sql_, stmt_);
}

Connection::~Connection() { close(); }

void Connection::close() {
    if (!db || closing) return;
    closing = true;
    // DAO closes the recordsets of a database with it.
    while (!recordsets.empty()) {
        RecordsetState* rs = *recordsets.begin();
        recordsets.erase(recordsets.begin());
        close_state(*rs);
    }
    for (auto& [sql, st] : cache) sqlite3_finalize(st);
    cache.clear();
    sqlite3_close_v2(db);
    db = nullptr;
    closing = false;
    --g_databases;
}

void Connection::check_open(const char* source) const {
    if (!db) throw Error(kObjectClosed, source, "Object invalid or no longer set.");
}

Statement Connection::prepare(const std::string& sql, std::int32_t error_number, const char* source) {
    check_open(source);
    if (auto it = cache.find(sql); it != cache.end()) {
        sqlite3_stmt* st = it->second;
        cache.erase(it);
        return Statement(this, sql, st);
    }
    sqlite3_stmt* st = nullptr;
    const int rc = sqlite3_prepare_v3(db, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &st, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(st);
        throw error(rc, error_number, source, sql);
    }
    return Statement(this, sql, st);
}

void Connection::release(const std::string& sql, sqlite3_stmt* stmt) {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (!db || cache.size() >= kStatementCacheSize || cache.count(sql)) {
        sqlite3_finalize(stmt);
        return;
    }
    cache.emplace(sql, stmt);
}

void Connection::exec(const std::string& sql, const char* source) {
    check_open(source);
    char* msg = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &msg);
    sqlite3_free(msg);
    if (rc != SQLITE_OK) throw error(rc, kSyntax, source, sql);
}

Error Connection::error(int rc, std::int32_t fallback, const char* source, std::string_view context, bool expression) const {
    const int ext = db ? sqlite3_extended_errcode(db) : rc;
    const std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    auto make = [&](std::int32_t number, std::string text) {
        return Error(number, source, text + " (" + msg + ")");
    };
    switch (ext) {
        case SQLITE_CONSTRAINT_NOTNULL:
            return make(kRequired, "The field cannot contain a Null value because its Required property is set to True.");
        case SQLITE_CONSTRAINT_UNIQUE:
        case SQLITE_CONSTRAINT_PRIMARYKEY:
            return make(kDuplicateValues,
                        "The changes were not successful because they would create duplicate values in the index, "
                        "primary key, or relationship.");
        case SQLITE_CONSTRAINT_CHECK:
            return make(kValidationRule, "One or more values are prohibited by the validation rule set for the table.");
        case SQLITE_CONSTRAINT_FOREIGNKEY:
            return make(kRelatedRecord, "You cannot add or change a record because a related record is required.");
        default: break;
    }
    switch (rc & 0xff) {
        case SQLITE_READONLY: return make(kReadOnly, "Cannot update. Database or object is read-only.");
        case SQLITE_BUSY:
        case SQLITE_LOCKED: return make(kLocked, "Could not update; currently locked.");
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT: return make(kUnrecognizedFormat, "Unrecognized database format '" + path + "'.");
        default: break;
    }
    if (msg.rfind("no such table: ", 0) == 0)
        return Error(kTableNotFound, source, "Cannot find the input table or query '" + msg.substr(15) + "'.");
    if (msg.rfind("no such column: ", 0) == 0) {
        const std::string name = msg.substr(16);
        if (expression)
            return Error(kUnknownField, source, "'" + name + "' is not a valid field name or expression.");
        return Error(kTooFewParameters, source, "Too few parameters. Expected 1. (unknown name '" + name + "')");
    }
    if (!context.empty()) return Error(fallback, source, msg + " in '" + std::string(context) + "'");
    return Error(fallback, source, msg);
}

// ---------------------------------------------------------------------------------------
// RowSet

RowSet::RowSet(std::shared_ptr<Connection> c) : conn(std::move(c)) {
    id = conn->next_rowset++;
    conn->rowsets.emplace(id, this);
}

RowSet::~RowSet() {
    for (auto& [text, f] : finds) sqlite3_finalize(f.stmt);
    if (conn->db && view_created && !conn->closing) {
        const std::string sql = "DROP TABLE IF EXISTS temp." + view_name();
        sqlite3_exec(conn->db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    conn->rowsets.erase(id);
}

std::optional<std::size_t> RowSet::index_of(std::string_view name) const {
    if (auto it = names.find(name); it != names.end()) return it->second;
    // "Table.Column", as a query joining tables names its fields.
    if (auto dot = name.rfind('.'); dot != std::string_view::npos) {
        const std::string_view table = name.substr(0, dot), col = name.substr(dot + 1);
        for (std::size_t i = 0; i < columns.size(); ++i)
            if (ci_equal(columns[i].table, strip_brackets(table)) && ci_equal(columns[i].name, strip_brackets(col))) return i;
    }
    return std::nullopt;
}

std::string RowSet::view_name() const { return "\"hxq_rows_" + std::to_string(id) + "\""; }

void RowSet::ensure_view() {
    if (view_created) return;
    conn->check_open(kRs);
    const std::string sql = "CREATE VIRTUAL TABLE temp." + view_name() + " USING hxq_rows(" + std::to_string(id) + ")";
    conn->exec(sql, kRs);
    view_created = true;
}

void RowSet::changed() { ++version; }

bool RowSet::view_exists() const {
    sqlite3_stmt* st = nullptr;
    bool found = false;
    const std::string name = "hxq_rows_" + std::to_string(id);
    if (sqlite3_prepare_v2(conn->db, "SELECT 1 FROM temp.sqlite_master WHERE name = ?1", -1, &st, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(st, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        found = sqlite3_step(st) == SQLITE_ROW;
    }
    sqlite3_finalize(st);
    return found;
}

void RowSet::forget_finds() {
    for (auto& [text, f] : finds) sqlite3_finalize(f.stmt);
    finds.clear();
    find_order.clear();
}

// The view is made inside whatever transaction is open; when that transaction is rolled
// back the view goes with it, and is made again here.
template <typename F>
auto RowSet::with_view(F&& run) -> decltype(run()) {
    for (int attempt = 0;; ++attempt) {
        try {
            return run();
        } catch (const Error&) {
            if (attempt > 0 || !view_created || !conn->db || view_exists()) throw;
            forget_finds();
            view_created = false;
        }
    }
}

const std::vector<std::size_t>& RowSet::matches(std::string_view criteria) {
    return with_view([&]() -> const std::vector<std::size_t>& { return run_find(criteria); });
}

const std::vector<std::size_t>& RowSet::run_find(std::string_view criteria) {
    auto it = finds.find(std::string(criteria));
    if (it != finds.end() && it->second.version == version && it->second.stmt) return it->second.matches;
    if (it == finds.end()) {
        ensure_view();
        const std::string sql = "SELECT \"" + std::string(kIndexColumn) + "\" FROM temp." + view_name() + " WHERE (" +
                                jet_to_sqlite(criteria) + ")";
        sqlite3_stmt* st = nullptr;
        const int rc = sqlite3_prepare_v3(conn->db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &st, nullptr);
        if (rc != SQLITE_OK) {
            Error e = conn->error(rc, kSyntax, kRs, criteria, true);
            sqlite3_finalize(st);
            throw e;
        }
        if (finds.size() >= kFindCacheSize) {
            auto old = finds.find(find_order.front());
            sqlite3_finalize(old->second.stmt);
            finds.erase(old);
            find_order.pop_front();
        }
        it = finds.emplace(std::string(criteria), Find{}).first;
        it->second.stmt = st;
        find_order.push_back(it->first);
    }
    Find& f = it->second;
    f.matches.clear();
    int rc;
    while ((rc = sqlite3_step(f.stmt)) == SQLITE_ROW) f.matches.push_back(static_cast<std::size_t>(sqlite3_column_int64(f.stmt, 0)));
    sqlite3_reset(f.stmt);
    if (rc != SQLITE_DONE) {
        Error e = conn->error(rc, kSyntax, kRs, criteria, true);
        sqlite3_finalize(f.stmt);
        finds.erase(it);
        std::erase(find_order, std::string(criteria));
        throw e;
    }
    f.version = version;
    return f.matches;
}

std::vector<std::size_t> RowSet::select(const std::string& filter, const std::string& sort) {
    return with_view([&] { return run_select(filter, sort); });
}

std::vector<std::size_t> RowSet::run_select(const std::string& filter, const std::string& sort) {
    ensure_view();
    std::string sql = "SELECT \"" + std::string(kIndexColumn) + "\" FROM temp." + view_name();
    if (!trim(filter).empty()) sql += " WHERE (" + jet_to_sqlite(filter) + ")";
    if (!trim(sort).empty()) sql += " ORDER BY " + jet_to_sqlite(sort);
    // Not cached: the text names this row set's view, which goes when the row set goes.
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(conn->db, sql.c_str(), -1, &st, nullptr);
    std::vector<std::size_t> out;
    if (rc == SQLITE_OK)
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) out.push_back(static_cast<std::size_t>(sqlite3_column_int64(st, 0)));
    if (rc != SQLITE_DONE) {
        Error e = conn->error(rc, kSyntax, kRs, sql, true);
        sqlite3_finalize(st);
        throw e;
    }
    sqlite3_finalize(st);
    return out;
}

// ---------------------------------------------------------------------------------------
// Recordset state

struct RecordsetState {
    std::shared_ptr<Connection> conn;
    std::shared_ptr<RowSet> rows;
    std::string source;
    RecordsetType type = RecordsetType::Dynaset;
    bool updatable = false;
    bool open = true;

    // Position: a row index, or before the first / after the last row.
    std::size_t pos = 0;
    bool bof = false;
    bool eof = false;
    bool no_match = false;

    EditMode mode = EditMode::None;
    std::vector<Variant> buffer;
    std::vector<bool> dirty;
    std::size_t edit_row = 0;
    std::optional<std::size_t> last_modified;

    std::string filter;
    std::string sort;
    // Set on a recordset opened from a filtered or sorted one.
    std::string derived_filter;
    std::string derived_sort;

    RecordsetState(std::shared_ptr<Connection> c, std::shared_ptr<RowSet> r) : conn(std::move(c)), rows(std::move(r)) {
        conn->recordsets.insert(this);
        ++g_recordsets;
    }
    ~RecordsetState() {
        if (open) {
            if (conn) conn->recordsets.erase(this);
            close_state(*this);
        }
    }

    bool has_current() const { return !bof && !eof && pos < rows->rows.size(); }

    void check_open() const {
        if (!open) throw Error(kObjectClosed, kRs, "Object invalid or no longer set.");
    }

    void discard_edit() {
        mode = EditMode::None;
        buffer.clear();
        dirty.clear();
    }

    // First live row at or after i / at or before i.
    std::optional<std::size_t> live_from(std::size_t i) const {
        for (; i < rows->rows.size(); ++i)
            if (!rows->rows[i].deleted) return i;
        return std::nullopt;
    }
    std::optional<std::size_t> live_before(std::size_t i) const {
        while (i-- > 0)
            if (!rows->rows[i].deleted) return i;
        return std::nullopt;
    }

    void go(std::size_t i) {
        pos = i;
        bof = eof = false;
    }
    void to_start() {
        if (auto f = live_from(0)) go(*f);
        else bof = eof = true;
    }
};

void close_state(RecordsetState& s) {
    if (!s.open) return;
    s.open = false;
    s.discard_edit();
    s.rows.reset();
    --g_recordsets;
}

}  // namespace detail

// ---------------------------------------------------------------------------------------
// Database

Database::Database() = default;
Database::Database(std::shared_ptr<Connection> conn) : conn_(std::move(conn)) {}
Database::Database(Database&&) noexcept = default;
Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        Close();
        conn_ = std::move(other.conn_);
    }
    return *this;
}
Database::~Database() { Close(); }

bool Database::IsOpen() const { return conn_ && conn_->db; }

void Database::Close() {
    if (conn_) conn_->close();
    conn_.reset();
}

Connection& Database::conn() const {
    if (!conn_ || !conn_->db) throw Error(kObjectClosed, kDb, "Object invalid or no longer set.");
    return *conn_;
}

const std::string& Database::Name() const {
    static const std::string none;
    return conn_ ? conn_->path : none;
}

namespace {

std::shared_ptr<Connection> open_connection(const std::string& path, int flags, bool read_only) {
    auto c = std::make_shared<Connection>();
    c->path = path;
    c->read_only = read_only;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close_v2(db);
        throw Error(kCannotOpen, kDb, "Cannot open the file '" + path + "'. (" + msg + ")");
    }
    c->db = db;
    ++g_databases;
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 2000);
    // A misspelt "name" must be an error, not silently a text literal.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    // The row views of the recordsets live in the temp schema; keep it off the disk.
    sqlite3_exec(db, "PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);
    register_row_view_module(db, c.get());
    // SQLite opens lazily: read the schema now so that a file that is no database fails here.
    char* msg = nullptr;
    const int check = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, &msg);
    sqlite3_free(msg);
    if (check != SQLITE_OK) {
        Error e = c->error(check, kUnrecognizedFormat, kDb);
        if ((check & 0xff) == SQLITE_NOTADB || (check & 0xff) == SQLITE_CORRUPT)
            e = Error(kUnrecognizedFormat, kDb, "Unrecognized database format '" + path + "'.");
        c->close();
        throw e;
    }
    return c;
}

}  // namespace

Database OpenDatabase(const std::string& path, bool read_only) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec))
        throw Error(kFileNotFound, kDb, "Could not find file '" + path + "'.");
    const int flags = (read_only ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    return Database(open_connection(path, flags, read_only));
}

Database CreateDatabase(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) throw Error(kDatabaseExists, kDb, "Database '" + path + "' already exists.");
    return Database(open_connection(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, false));
}

namespace detail {

std::shared_ptr<RecordsetState> open_state(const std::shared_ptr<Connection>& connection, std::string_view source,
                                            RecordsetType type) {
    connection->check_open(kDb);
    Connection& c = *connection;
    const std::string src = trim(source);
    std::string sql;
    std::string base;  // table whose rows can change through the recordset
    std::size_t select_end = 0;
    bool is_query = starts_with_word(src, "SELECT") || starts_with_word(src, "TRANSFORM");
    if (is_query) {
        sql = jet_to_sqlite(src);
        if (single_table_select(sql, select_end)) {
            // The table named after FROM; confirmed below by the columns' origin.
            const auto words = sql_words(sql);
            for (std::size_t k = 0; k + 1 < words.size(); ++k) {
                if (words[k].depth == 0 && words[k].upper == "FROM") {
                    std::size_t at = words[k + 1].offset;
                    std::size_t end = at;
                    if (sql[at] == '"') {
                        end = at + 1;
                        std::string name;
                        while (end < sql.size()) {
                            if (sql[end] == '"') {
                                if (end + 1 < sql.size() && sql[end + 1] == '"') {
                                    name += '"';
                                    end += 2;
                                    continue;
                                }
                                break;
                            }
                            name += sql[end++];
                        }
                        base = name;
                    } else {
                        while (end < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[end])) || sql[end] == '_' || sql[end] == '$')) ++end;
                        base = sql.substr(at, end - at);
                    }
                    break;
                }
            }
        }
    } else {
        const std::string name = strip_brackets(src);
        Statement st = c.prepare("SELECT name, type FROM sqlite_master WHERE type IN ('table','view') AND name = ?1 COLLATE NOCASE",
                                 kSyntax, kDb);
        sqlite3_bind_text(st.get(), 1, name.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(st.get()) != SQLITE_ROW)
            throw Error(kTableNotFound, kDb, "Cannot find the input table or query '" + name + "'.");
        const std::string canonical = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0));
        const std::string kind = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 1));
        sql = "SELECT * FROM " + sql_quote_identifier(canonical);
        select_end = 6;
        if (kind == "table") base = canonical;
    }
    // A table recordset needs a table; for a query or a view DAO's default is a dynaset.
    if (type == RecordsetType::Default || (type == RecordsetType::Table && (is_query || base.empty())))
        type = (!is_query && !base.empty()) ? RecordsetType::Table : RecordsetType::Dynaset;
    const bool want_update = !base.empty() && !c.read_only && type != RecordsetType::Snapshot &&
                             type != RecordsetType::ForwardOnly;

    auto rows = std::make_shared<RowSet>(connection);
    auto load = [&](const std::string& text, bool with_rowid) {
        Statement st = c.prepare(text, kTooFewParameters, kDb);
        sqlite3_stmt* s = st.get();
        const int first = with_rowid ? 1 : 0;
        const int n = sqlite3_column_count(s);
        if (with_rowid) {
            for (int i = first; i < n; ++i) {
                const char* t = sqlite3_column_table_name(s, i);
                if (!t || !ci_equal(t, base)) return false;  // a column from elsewhere: read-only
            }
        }
        rows->columns.clear();
        rows->names.clear();
        for (int i = first; i < n; ++i) {
            Column col;
            col.name = sqlite3_column_name(s, i);
            if (const char* d = sqlite3_column_decltype(s, i)) col.declared = d;
            if (const char* t = sqlite3_column_table_name(s, i)) col.table = t;
            if (const char* o = sqlite3_column_origin_name(s, i)) col.origin = o;
            col.info = decl_info(col.declared);
            col.is_bool = !col.declared.empty() && col.info.type == FieldType::Boolean;
            rows->names.emplace(col.name, rows->columns.size());  // the first of equal names wins
            rows->columns.push_back(std::move(col));
        }
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
            Row row;
            if (with_rowid) row.rowid = sqlite3_column_int64(s, 0);
            row.values.reserve(static_cast<std::size_t>(n - first));
            for (int i = first; i < n; ++i) row.values.push_back(column_value(s, i, rows->columns[static_cast<std::size_t>(i - first)].is_bool));
            rows->rows.push_back(std::move(row));
        }
        if (rc != SQLITE_DONE) throw c.error(rc, kTooFewParameters, kDb, text);
        return true;
    };
    bool updatable = false;
    if (want_update) {
        const std::string with_rowid = sql.substr(0, select_end) + " _rowid_ AS \"" + std::string(kRowidColumn) + "\"," + sql.substr(select_end);
        // A source without rowids (a view, WITHOUT ROWID table, ambiguous join) fails
        // here and is read as it is below, where its real errors surface.
        try {
            updatable = load(with_rowid, true);
        } catch (const Error&) {
            updatable = false;
        }
    }
    if (!updatable) {
        rows->rows.clear();
        load(sql, false);
        base.clear();
    }
    rows->base_table = base;

    auto state = std::make_shared<RecordsetState>(connection, rows);
    state->source = src;
    state->type = type;
    state->updatable = updatable;
    state->to_start();
    return state;
}

}  // namespace detail

Recordset Database::OpenRecordset(std::string_view source, RecordsetType type) {
    conn();
    return Recordset(open_state(conn_, source, type));
}

long long Database::Execute(std::string_view sql) {
    Connection& c = conn();
    // Definitions are SQLite's own (CreateTableDef builds them); only queries are Jet.
    const std::string raw = trim(sql);
    const bool ddl = starts_with_word(raw, "CREATE") || starts_with_word(raw, "DROP") || starts_with_word(raw, "ALTER");
    const std::string text = ddl ? raw : jet_to_sqlite(raw);
    Statement st = c.prepare(text, kTooFewParameters, kDb);
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) throw c.error(rc, kSyntax, kDb, text);
    c.affected = sqlite3_changes64(c.db);
    return c.affected;
}

long long Database::RecordsAffected() const { return conn_ ? conn_->affected : 0; }

void Database::BeginTrans() { conn().exec("BEGIN", kDb); }
void Database::CommitTrans() { conn().exec("COMMIT", kDb); }
void Database::Rollback() { conn().exec("ROLLBACK", kDb); }

std::vector<std::string> Database::TableNames() const {
    Connection& c = conn();
    Statement st = c.prepare(
        "SELECT name FROM sqlite_master WHERE type IN ('table','view') AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
        "ORDER BY name",
        kSyntax, kDb);
    std::vector<std::string> out;
    while (sqlite3_step(st.get()) == SQLITE_ROW) out.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0)));
    return out;
}

bool Database::TableExists(std::string_view name) const {
    const std::string n = strip_brackets(name);
    for (const std::string& t : TableNames())
        if (ci_equal(t, n)) return true;
    return false;
}

// ---------------------------------------------------------------------------------------
// Recordset

Recordset::Recordset() = default;
Recordset::Recordset(std::shared_ptr<RecordsetState> state) : state_(std::move(state)) {}
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&& other) noexcept {
    if (this != &other) {
        Close();
        state_ = std::move(other.state_);
    }
    return *this;
}
Recordset::~Recordset() { Close(); }

RecordsetState& Recordset::state() const {
    if (!state_ || !state_->open) throw Error(kObjectClosed, kRs, "Object invalid or no longer set.");
    return *state_;
}

bool Recordset::IsOpen() const { return state_ && state_->open; }

void Recordset::Close() {
    if (!state_) return;
    if (state_->open) {
        if (state_->conn) state_->conn->recordsets.erase(state_.get());
        close_state(*state_);
    }
    state_.reset();
}

const std::string& Recordset::Source() const { return state().source; }
RecordsetType Recordset::Type() const { return state().type; }
bool Recordset::Updatable() const { return state().updatable; }

void Recordset::MoveFirst() {
    RecordsetState& s = state();
    s.discard_edit();
    auto f = s.live_from(0);
    if (!f) throw no_current_record();
    s.go(*f);
}

void Recordset::MoveLast() {
    RecordsetState& s = state();
    s.discard_edit();
    auto l = s.live_before(s.rows->rows.size());
    if (!l) throw no_current_record();
    s.go(*l);
}

void Recordset::MoveNext() {
    RecordsetState& s = state();
    s.discard_edit();
    if (s.eof) throw no_current_record();
    auto n = s.bof ? s.live_from(0) : s.live_from(s.pos + 1);
    if (n) {
        s.go(*n);
    } else {
        s.eof = true;
        s.bof = s.rows->live() == 0;
    }
}

void Recordset::MovePrevious() {
    RecordsetState& s = state();
    s.discard_edit();
    if (s.bof) throw no_current_record();
    auto p = s.eof ? s.live_before(s.rows->rows.size()) : s.live_before(s.pos);
    if (p) {
        s.go(*p);
    } else {
        s.bof = true;
        s.eof = s.rows->live() == 0;
    }
}

void Recordset::Move(long n) {
    if (n == 0) {
        if (!state().has_current()) throw no_current_record();
        state().discard_edit();
        return;
    }
    if ((n > 0 && Eof()) || (n < 0 && BOF())) throw no_current_record();
    for (long i = 0; i < n && !Eof(); ++i) MoveNext();
    for (long i = 0; i > n && !BOF(); --i) MovePrevious();
}

bool Recordset::BOF() const { return state().bof; }
bool Recordset::Eof() const { return state().eof; }

long Recordset::RecordCount() const { return static_cast<long>(state().rows->live()); }

long Recordset::AbsolutePosition() const {
    const RecordsetState& s = state();
    if (!s.has_current() || s.rows->rows[s.pos].deleted) return -1;
    if (s.rows->deleted == 0) return static_cast<long>(s.pos);
    long n = 0;
    for (std::size_t i = 0; i < s.pos; ++i)
        if (!s.rows->rows[i].deleted) ++n;
    return n;
}

void Recordset::SetAbsolutePosition(long position) {
    RecordsetState& s = state();
    if (position < 0 || position >= static_cast<long>(s.rows->live()))
        throw Error(kInvalidArgument, kRs, fmt::format("Invalid argument. (position {} of {} rows)", position, s.rows->live()));
    s.discard_edit();
    long n = -1;
    for (std::size_t i = 0; i < s.rows->rows.size(); ++i) {
        if (!s.rows->rows[i].deleted && ++n == position) {
            s.go(i);
            return;
        }
    }
}

double Recordset::PercentPosition() const {
    const RecordsetState& s = state();
    const long n = RecordCount();
    if (n == 0 || s.bof) return 0.0;
    if (s.eof) return 100.0;
    const long p = AbsolutePosition();
    return p < 0 ? 0.0 : 100.0 * static_cast<double>(p) / static_cast<double>(n);
}

void Recordset::SetPercentPosition(double percent) {
    const long n = RecordCount();
    if (n == 0) throw no_current_record();
    if (!(percent >= 0.0 && percent <= 100.0))
        throw Error(kInvalidArgument, kRs, fmt::format("Invalid argument. (percent position {})", percent));
    const long row = std::min(n - 1, static_cast<long>(std::lround(percent * static_cast<double>(n) / 100.0)));
    SetAbsolutePosition(row);
}

Bookmark Recordset::GetBookmark() const {
    const RecordsetState& s = state();
    if (!s.has_current()) throw no_current_record();
    return Bookmark{s.rows->id, s.pos};
}

void Recordset::SetBookmark(const Bookmark& bookmark) {
    RecordsetState& s = state();
    if (bookmark.rowset != s.rows->id || bookmark.row >= s.rows->rows.size())
        throw Error(kInvalidBookmark, kRs, "Not a valid bookmark.");
    if (s.rows->rows[bookmark.row].deleted) throw Error(kRecordDeleted, kRs, "Record is deleted.");
    s.discard_edit();
    s.go(bookmark.row);
}

Bookmark Recordset::LastModified() const {
    const RecordsetState& s = state();
    if (!s.last_modified) throw no_current_record();
    return Bookmark{s.rows->id, *s.last_modified};
}

bool Recordset::FindFirst(std::string_view criteria) {
    RecordsetState& s = state();
    const auto& m = s.rows->matches(criteria);
    s.discard_edit();
    s.no_match = m.empty();
    if (!s.no_match) s.go(m.front());
    return !s.no_match;
}

bool Recordset::FindLast(std::string_view criteria) {
    RecordsetState& s = state();
    const auto& m = s.rows->matches(criteria);
    s.discard_edit();
    s.no_match = m.empty();
    if (!s.no_match) s.go(m.back());
    return !s.no_match;
}

bool Recordset::FindNext(std::string_view criteria) {
    RecordsetState& s = state();
    const auto& m = s.rows->matches(criteria);
    s.discard_edit();
    auto it = m.end();
    if (s.bof) it = m.begin();
    else if (!s.eof) it = std::upper_bound(m.begin(), m.end(), s.pos);
    s.no_match = it == m.end();
    if (!s.no_match) s.go(*it);
    return !s.no_match;
}

bool Recordset::FindPrevious(std::string_view criteria) {
    RecordsetState& s = state();
    const auto& m = s.rows->matches(criteria);
    s.discard_edit();
    std::optional<std::size_t> hit;
    if (s.eof) {
        if (!m.empty()) hit = m.back();
    } else if (!s.bof) {
        auto it = std::lower_bound(m.begin(), m.end(), s.pos);
        if (it != m.begin()) hit = *std::prev(it);
    }
    s.no_match = !hit;
    if (hit) s.go(*hit);
    return !s.no_match;
}

bool Recordset::NoMatch() const { return state().no_match; }

Recordset Recordset::Clone() const {
    const RecordsetState& s = state();
    auto c = std::make_shared<RecordsetState>(s.conn, s.rows);
    c->source = s.source;
    c->type = s.type;
    c->updatable = s.updatable;
    c->to_start();
    return Recordset(std::move(c));
}

const std::string& Recordset::Filter() const { return state().filter; }
void Recordset::SetFilter(std::string filter) { state().filter = std::move(filter); }
const std::string& Recordset::Sort() const { return state().sort; }
void Recordset::SetSort(std::string sort) { state().sort = std::move(sort); }

namespace {

// The recordset DAO opens from a filtered or sorted one: the parent's rows that pass the
// filter, in the sort order. Remembers both so that Requery can do it again.
std::shared_ptr<RecordsetState> derive_state(const RecordsetState& s, const std::string& filter, const std::string& sort) {
    const std::vector<std::size_t> picked = s.rows->select(filter, sort);
    auto rows = std::make_shared<RowSet>(s.conn);
    rows->columns = s.rows->columns;
    rows->names = s.rows->names;
    rows->base_table = s.rows->base_table;
    rows->rows.reserve(picked.size());
    for (std::size_t i : picked) rows->rows.push_back(s.rows->rows[i]);
    auto c = std::make_shared<RecordsetState>(s.conn, rows);
    c->source = s.source;
    c->type = s.type == RecordsetType::Table ? RecordsetType::Dynaset : s.type;
    c->updatable = s.updatable;
    const bool both = !trim(s.derived_filter).empty() && !trim(filter).empty();
    c->derived_filter = both ? "(" + s.derived_filter + ") AND (" + filter + ")" : s.derived_filter + filter;
    c->derived_sort = trim(sort).empty() ? s.derived_sort : sort;
    c->to_start();
    return c;
}

}  // namespace

Recordset Recordset::OpenRecordset() const {
    const RecordsetState& s = state();
    return Recordset(derive_state(s, s.filter, s.sort));
}

void Recordset::Requery() {
    RecordsetState& s = state();
    auto fresh = open_state(s.conn, s.source, s.type);
    if (!s.derived_filter.empty() || !s.derived_sort.empty()) fresh = derive_state(*fresh, s.derived_filter, s.derived_sort);
    fresh->filter = s.filter;
    fresh->sort = s.sort;
    Close();
    state_ = std::move(fresh);
}

void Recordset::AddNew() {
    RecordsetState& s = state();
    if (!s.updatable) throw Error(kReadOnly, kRs, "Cannot update. Database or object is read-only.");
    s.conn->check_open(kRs);
    s.mode = EditMode::Add;
    s.buffer.assign(s.rows->columns.size(), Variant::null());
    s.dirty.assign(s.rows->columns.size(), false);
}

void Recordset::Edit() {
    RecordsetState& s = state();
    if (!s.updatable) throw Error(kReadOnly, kRs, "Cannot update. Database or object is read-only.");
    if (!s.has_current()) throw no_current_record();
    if (s.rows->rows[s.pos].deleted) throw Error(kRecordDeleted, kRs, "Record is deleted.");
    s.conn->check_open(kRs);
    s.mode = EditMode::Edit;
    s.edit_row = s.pos;
    s.buffer = s.rows->rows[s.pos].values;
    s.dirty.assign(s.rows->columns.size(), false);
}

void Recordset::CancelUpdate() {
    RecordsetState& s = state();
    if (s.mode == EditMode::None) throw Error(kUpdateWithoutEdit, kRs, "Update or CancelUpdate without AddNew or Edit.");
    s.discard_edit();
}

EditMode Recordset::GetEditMode() const { return state().mode; }

void Recordset::Update() {
    RecordsetState& s = state();
    if (s.mode == EditMode::None) throw Error(kUpdateWithoutEdit, kRs, "Update or CancelUpdate without AddNew or Edit.");
    Connection& c = *s.conn;
    c.check_open(kRs);
    RowSet& rs = *s.rows;
    const std::string table = sql_quote_identifier(rs.base_table);

    std::vector<std::size_t> cols;
    for (std::size_t i = 0; i < s.dirty.size(); ++i)
        if (s.dirty[i]) cols.push_back(i);

    // A failed CHECK on a row that gets an empty text is most likely the column's
    // AllowZeroLength rule; say which field.
    auto failure = [&](int rc) {
        if (sqlite3_extended_errcode(c.db) == SQLITE_CONSTRAINT_CHECK)
            for (std::size_t i : cols)
                if (s.buffer[i].is_text() && s.buffer[i].as_text().empty())
                    return Error(kZeroLength, kRs, "Field '" + rs.columns[i].name + "' cannot be a zero-length string. (" +
                                                       sqlite3_errmsg(c.db) + ")");
        return c.error(rc, kSyntax, kRs);
    };
    std::int64_t rowid = 0;
    if (s.mode == EditMode::Edit) {
        rowid = rs.rows[s.edit_row].rowid;
        if (!cols.empty()) {
            std::string sql = "UPDATE " + table + " SET ";
            for (std::size_t k = 0; k < cols.size(); ++k)
                sql += (k ? ", " : "") + sql_quote_identifier(rs.columns[cols[k]].origin) + " = ?" + std::to_string(k + 1);
            sql += " WHERE _rowid_ = ?" + std::to_string(cols.size() + 1);
            Statement st = c.prepare(sql, kSyntax, kRs);
            for (std::size_t k = 0; k < cols.size(); ++k) bind_value(st.get(), static_cast<int>(k + 1), s.buffer[cols[k]]);
            sqlite3_bind_int64(st.get(), static_cast<int>(cols.size() + 1), rowid);
            const int rc = sqlite3_step(st.get());
            if (rc != SQLITE_DONE) throw failure(rc);
            if (sqlite3_changes(c.db) == 0) throw Error(kRecordDeleted, kRs, "Record is deleted.");
        }
    } else {
        std::string sql = "INSERT INTO " + table;
        if (cols.empty()) {
            sql += " DEFAULT VALUES";
        } else {
            std::string names, marks;
            for (std::size_t k = 0; k < cols.size(); ++k) {
                names += (k ? ", " : "") + sql_quote_identifier(rs.columns[cols[k]].origin);
                marks += (k ? ", ?" : "?") + std::to_string(k + 1);
            }
            sql += " (" + names + ") VALUES (" + marks + ")";
        }
        Statement st = c.prepare(sql, kSyntax, kRs);
        for (std::size_t k = 0; k < cols.size(); ++k) bind_value(st.get(), static_cast<int>(k + 1), s.buffer[cols[k]]);
        const int rc = sqlite3_step(st.get());
        if (rc != SQLITE_DONE) throw failure(rc);
        rowid = sqlite3_last_insert_rowid(c.db);
    }

    // Read the row back: the table applied its defaults, numbering and type affinity.
    Row fresh;
    fresh.rowid = rowid;
    fresh.values = s.mode == EditMode::Edit ? rs.rows[s.edit_row].values : std::vector<Variant>(rs.columns.size(), Variant::null());
    {
        std::string sql = "SELECT ";
        std::vector<std::size_t> read;
        for (std::size_t i = 0; i < rs.columns.size(); ++i) {
            if (rs.columns[i].origin.empty()) continue;
            sql += (read.empty() ? "" : ", ") + sql_quote_identifier(rs.columns[i].origin);
            read.push_back(i);
        }
        if (!read.empty()) {
            sql += " FROM " + table + " WHERE _rowid_ = ?1";
            Statement st = c.prepare(sql, kSyntax, kRs);
            sqlite3_bind_int64(st.get(), 1, rowid);
            if (sqlite3_step(st.get()) == SQLITE_ROW)
                for (std::size_t k = 0; k < read.size(); ++k)
                    fresh.values[read[k]] = column_value(st.get(), static_cast<int>(k), rs.columns[read[k]].is_bool);
        }
    }
    if (s.mode == EditMode::Edit) {
        rs.rows[s.edit_row] = std::move(fresh);
        s.last_modified = s.edit_row;
    } else {
        rs.rows.push_back(std::move(fresh));
        s.last_modified = rs.rows.size() - 1;
    }
    rs.changed();
    s.discard_edit();
}

void Recordset::Delete() {
    RecordsetState& s = state();
    if (!s.updatable) throw Error(kReadOnly, kRs, "Cannot update. Database or object is read-only.");
    if (!s.has_current()) throw no_current_record();
    Row& row = s.rows->rows[s.pos];
    if (row.deleted) throw Error(kRecordDeleted, kRs, "Record is deleted.");
    Connection& c = *s.conn;
    s.discard_edit();
    Statement st = c.prepare("DELETE FROM " + sql_quote_identifier(s.rows->base_table) + " WHERE _rowid_ = ?1", kSyntax, kRs);
    sqlite3_bind_int64(st.get(), 1, row.rowid);
    const int rc = sqlite3_step(st.get());
    if (rc != SQLITE_DONE) throw c.error(rc, kSyntax, kRs);
    row.deleted = true;
    row.values.clear();
    ++s.rows->deleted;
    s.rows->changed();
}

std::size_t Recordset::FieldIndex(std::string_view name) const {
    auto i = state().rows->index_of(name);
    if (!i) throw Error(kItemNotFound, "Field", "Item not found in this collection. (field '" + std::string(name) + "')");
    return *i;
}

bool Recordset::HasField(std::string_view name) const { return state().rows->index_of(name).has_value(); }

std::size_t Recordset::FieldCount() const { return state().rows->columns.size(); }

std::vector<std::string> Recordset::FieldNames() const {
    std::vector<std::string> out;
    for (const Column& c : state().rows->columns) out.push_back(c.name);
    return out;
}

const Variant& Recordset::Fields(std::string_view name) const { return Fields(FieldIndex(name)); }

const Variant& Recordset::Fields(std::size_t index) const {
    const RecordsetState& s = state();
    if (index >= s.rows->columns.size())
        throw Error(kItemNotFound, "Field", fmt::format("Item not found in this collection. (field {})", index));
    if (s.mode != EditMode::None) return s.buffer[index];
    if (!s.has_current()) throw no_current_record();
    const Row& row = s.rows->rows[s.pos];
    if (row.deleted) throw Error(kRecordDeleted, kRs, "Record is deleted.");
    return row.values[index];
}

FieldRef Recordset::operator[](std::string_view name) { return FieldRef(this, FieldIndex(name)); }

void Recordset::SetField(std::string_view name, const Variant& value) { SetField(FieldIndex(name), value); }

void Recordset::SetField(std::size_t index, const Variant& value) {
    RecordsetState& s = state();
    if (index >= s.rows->columns.size())
        throw Error(kItemNotFound, "Field", fmt::format("Item not found in this collection. (field {})", index));
    if (s.mode == EditMode::None) throw Error(kUpdateWithoutEdit, kRs, "Update or CancelUpdate without AddNew or Edit.");
    const Column& col = s.rows->columns[index];
    if (col.origin.empty()) throw Error(kFieldNotUpdatable, "Field", "Field '" + col.name + "' cannot be updated.");

    // Convert as Jet converts on assignment, so that what is stored has the column's type.
    Variant v = value.is_empty() ? Variant::null() : value;
    auto conversion_error = [&] {
        return Error(kConversion, "Field", "Data type conversion error. (field '" + col.name + "', value '" + value.as_text() + "')");
    };
    auto number = [&]() -> double {
        if (v.is_text()) {
            auto n = v.to_number();
            if (!n) throw conversion_error();
            return *n;
        }
        return v.as_double();
    };
    if (!v.is_null()) {
        switch (col.declared.empty() ? FieldType::Memo : col.info.type) {
            case FieldType::Boolean: {
                if (v.is_text()) {
                    const std::string u = upper(trim(v.as_text()));
                    if (u == "TRUE" || u == "YES" || u == "ON") v = Variant(true);
                    else if (u == "FALSE" || u == "NO" || u == "OFF") v = Variant(false);
                    else v = Variant(number() != 0.0);
                } else {
                    v = Variant(v.as_double() != 0.0);
                }
                break;
            }
            case FieldType::Byte:
            case FieldType::Integer:
            case FieldType::Long: {
                const double d = number();
                const double r = std::nearbyint(d);  // halves to even, as Jet rounds
                const double lo = col.info.type == FieldType::Byte ? 0.0 : col.info.type == FieldType::Integer ? -32768.0 : -2147483648.0;
                const double hi = col.info.type == FieldType::Byte ? 255.0 : col.info.type == FieldType::Integer ? 32767.0 : 2147483647.0;
                if (!(r >= lo && r <= hi))
                    throw Error(kNumericOverflow, "Field", fmt::format("Numeric field overflow. (field '{}', value {})", col.name, d));
                v = Variant(static_cast<long long>(r));
                break;
            }
            case FieldType::Currency:
            case FieldType::Single:
            case FieldType::Double: v = Variant(number()); break;
            case FieldType::Text:
            case FieldType::Memo: {
                if (!v.is_text()) v = Variant(v.as_text());
                if (col.info.text_size_explicit) {
                    // Sizes count characters; count UTF-8 lead bytes.
                    const std::string& t = std::get<std::string>(v.storage());
                    const auto chars = static_cast<int>(std::count_if(t.begin(), t.end(), [](char ch) { return (static_cast<unsigned char>(ch) & 0xC0) != 0x80; }));
                    if (chars > col.info.size)
                        throw Error(kFieldTooSmall, "Field",
                                    fmt::format("The field is too small to accept the amount of data you attempted to add. "
                                                "(field '{}', {} characters, size {})",
                                                col.name, chars, col.info.size));
                }
                break;
            }
            case FieldType::Date:
            case FieldType::LongBinary: break;
        }
    }
    s.buffer[index] = std::move(v);
    s.dirty[index] = true;
}

// ---------------------------------------------------------------------------------------
// FieldRef

const Variant& FieldRef::Value() const { return rs_->Fields(index_); }
FieldRef& FieldRef::operator=(const Variant& value) {
    rs_->SetField(index_, value);
    return *this;
}
const std::string& FieldRef::Name() const { return rs_->state().rows->columns[index_].name; }

}  // namespace hxq::platform
