// The row view: an SQLite virtual table over the in-memory rows of a recordset, so that
// SQLite evaluates Find criteria, Filter and Sort on exactly the rows the recordset
// holds (also for views and joins, which have no rowid to go back to).
#include "platform/db_internal.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace hxq::platform::detail {

namespace {

struct RowView {
    sqlite3_vtab base{};
    Connection* conn = nullptr;
    std::uint64_t id = 0;
};

struct RowCursor {
    sqlite3_vtab_cursor base{};
    const RowSet* rows = nullptr;
    std::size_t i = 0;
};

void skip_deleted(RowCursor* c) {
    while (c->i < c->rows->rows.size() && c->rows->rows[c->i].deleted) ++c->i;
}

int set_error(sqlite3_vtab* vt, const char* msg) {
    sqlite3_free(vt->zErrMsg);
    vt->zErrMsg = sqlite3_mprintf("%s", msg);
    return SQLITE_ERROR;
}

int connect(sqlite3* db, void* aux, int argc, const char* const* argv, sqlite3_vtab** out, char** err) {
    auto* conn = static_cast<Connection*>(aux);
    if (argc < 4) {
        *err = sqlite3_mprintf("row view without a row set");
        return SQLITE_ERROR;
    }
    const std::uint64_t id = std::strtoull(argv[3], nullptr, 10);
    auto it = conn->rowsets.find(id);
    if (it == conn->rowsets.end()) {
        *err = sqlite3_mprintf("row set %s is gone", argv[3]);
        return SQLITE_ERROR;
    }
    const RowSet& rs = *it->second;
    // Column names must be unique in a table; a join can repeat one.
    std::unordered_map<std::string, int, CiHash, CiEqual> seen;
    std::string schema = "CREATE TABLE x(";
    for (const Column& col : rs.columns) {
        std::string name = col.name;
        if (int n = seen[col.name]++; n > 0) {
            name += ':';
            name += std::to_string(n);
        }
        schema += "\"";
        for (char ch : name) {
            if (ch == '"') schema += '"';
            schema += ch;
        }
        schema += "\" ";
        schema += col.declared;
        // Jet compares texts without case; so do finds, filters and sorts.
        if (!col.declared.empty() && is_text_affinity(col.declared)) schema += " COLLATE NOCASE";
        schema += ", ";
    }
    schema += '"';
    schema += kIndexColumn;
    schema += "\" INTEGER HIDDEN)";
    if (int rc = sqlite3_declare_vtab(db, schema.c_str()); rc != SQLITE_OK) {
        *err = sqlite3_mprintf("%s", sqlite3_errmsg(db));
        return rc;
    }
    auto* vt = new (std::nothrow) RowView;
    if (!vt) return SQLITE_NOMEM;
    vt->conn = conn;
    vt->id = id;
    *out = &vt->base;
    return SQLITE_OK;
}

int best_index(sqlite3_vtab* vt, sqlite3_index_info* info) {
    auto* v = reinterpret_cast<RowView*>(vt);
    auto it = v->conn->rowsets.find(v->id);
    info->estimatedCost = it == v->conn->rowsets.end() ? 1.0 : static_cast<double>(it->second->rows.size() + 1);
    return SQLITE_OK;
}

int disconnect(sqlite3_vtab* vt) {
    sqlite3_free(vt->zErrMsg);
    delete reinterpret_cast<RowView*>(vt);
    return SQLITE_OK;
}

int open_cursor(sqlite3_vtab*, sqlite3_vtab_cursor** out) {
    auto* c = new (std::nothrow) RowCursor;
    if (!c) return SQLITE_NOMEM;
    *out = &c->base;
    return SQLITE_OK;
}

int close_cursor(sqlite3_vtab_cursor* cur) {
    delete reinterpret_cast<RowCursor*>(cur);
    return SQLITE_OK;
}

int filter(sqlite3_vtab_cursor* cur, int, const char*, int, sqlite3_value**) {
    auto* c = reinterpret_cast<RowCursor*>(cur);
    auto* v = reinterpret_cast<RowView*>(cur->pVtab);
    auto it = v->conn->rowsets.find(v->id);
    if (it == v->conn->rowsets.end()) return set_error(cur->pVtab, "row set is gone");
    c->rows = it->second;
    c->i = 0;
    skip_deleted(c);
    return SQLITE_OK;
}

int next(sqlite3_vtab_cursor* cur) {
    auto* c = reinterpret_cast<RowCursor*>(cur);
    ++c->i;
    skip_deleted(c);
    return SQLITE_OK;
}

int eof(sqlite3_vtab_cursor* cur) {
    auto* c = reinterpret_cast<RowCursor*>(cur);
    return c->i >= c->rows->rows.size();
}

int column(sqlite3_vtab_cursor* cur, sqlite3_context* ctx, int n) {
    auto* c = reinterpret_cast<RowCursor*>(cur);
    const Row& row = c->rows->rows[c->i];
    if (static_cast<std::size_t>(n) >= row.values.size()) {
        sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(c->i));
        return SQLITE_OK;
    }
    const Variant::Storage& v = row.values[static_cast<std::size_t>(n)].storage();
    if (auto* i = std::get_if<std::int64_t>(&v))
        sqlite3_result_int64(ctx, *i);
    else if (auto* d = std::get_if<double>(&v))
        sqlite3_result_double(ctx, *d);
    else if (auto* s = std::get_if<std::string>(&v))
        // The rows do not change while a statement over them runs.
        sqlite3_result_text64(ctx, s->data(), s->size(), SQLITE_STATIC, SQLITE_UTF8);
    else if (auto* b = std::get_if<bool>(&v))
        sqlite3_result_int64(ctx, *b ? -1 : 0);
    else
        sqlite3_result_null(ctx);
    return SQLITE_OK;
}

int rowid(sqlite3_vtab_cursor* cur, sqlite3_int64* out) {
    *out = static_cast<sqlite3_int64>(reinterpret_cast<RowCursor*>(cur)->i);
    return SQLITE_OK;
}

const sqlite3_module& module() {
    static const sqlite3_module m = [] {
        sqlite3_module mod;
        std::memset(&mod, 0, sizeof mod);
        mod.iVersion = 1;
        mod.xCreate = connect;
        mod.xConnect = connect;
        mod.xBestIndex = best_index;
        mod.xDisconnect = disconnect;
        mod.xDestroy = disconnect;
        mod.xOpen = open_cursor;
        mod.xClose = close_cursor;
        mod.xFilter = filter;
        mod.xNext = next;
        mod.xEof = eof;
        mod.xColumn = column;
        mod.xRowid = rowid;
        return mod;
    }();
    return m;
}

}  // namespace

void register_row_view_module(sqlite3* db, Connection* conn) {
    sqlite3_create_module_v2(db, "hxq_rows", &module(), conn, nullptr);
}

}  // namespace hxq::platform::detail
