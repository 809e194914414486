// Table definitions: SQLite declarations read as DAO field types and back.
#include "platform/db_internal.h"
#include "platform/jet_sql.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace hxq::platform {

using namespace detail;

namespace detail {

namespace {

bool contains(std::string_view hay, std::string_view needle) { return hay.find(needle) != std::string_view::npos; }

}  // namespace

bool is_text_affinity(std::string_view declared) {
    const std::string u = upper(declared);
    if (contains(u, "INT")) return false;
    return contains(u, "CHAR") || contains(u, "CLOB") || contains(u, "TEXT");
}

DeclInfo decl_info(std::string_view declared) {
    const std::string u = upper(declared);
    std::string base = u.substr(0, u.find('('));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    int size = 0;
    bool has_size = false;
    if (auto open = u.find('('); open != std::string::npos) {
        const char* first = u.data() + open + 1;
        while (*first == ' ') ++first;
        auto [p, ec] = std::from_chars(first, u.data() + u.size(), size);
        has_size = ec == std::errc() && size > 0;
    }
    auto is = [&](std::initializer_list<std::string_view> names) {
        return std::find(names.begin(), names.end(), base) != names.end();
    };
    if (is({"BOOLEAN", "BOOL", "BIT", "YESNO", "LOGICAL"})) return {FieldType::Boolean, 1, false};
    if (is({"TINYINT", "BYTE"})) return {FieldType::Byte, 1, false};
    if (is({"SMALLINT", "SHORT", "INT2"})) return {FieldType::Integer, 2, false};
    if (is({"INTEGER", "INT", "LONG", "INT4", "MEDIUMINT", "BIGINT", "INT8", "COUNTER", "AUTOINCREMENT"}))
        return {FieldType::Long, 4, false};
    if (is({"CURRENCY", "MONEY"})) return {FieldType::Currency, 8, false};
    if (is({"REAL", "SINGLE", "FLOAT4"})) return {FieldType::Single, 4, false};
    if (is({"FLOAT", "DOUBLE", "DOUBLE PRECISION", "FLOAT8", "NUMERIC", "DECIMAL", "NUMBER"}))
        return {FieldType::Double, 8, false};
    if (is({"DATE", "DATETIME", "TIME", "TIMESTAMP"})) return {FieldType::Date, 8, false};
    if (is({"LONGTEXT", "MEMO", "CLOB", "NOTE", "NTEXT"})) return {FieldType::Memo, 0, false};
    if (is({"BLOB", "LONGBINARY", "BINARY", "VARBINARY", "IMAGE", "OLEOBJECT"})) return {FieldType::LongBinary, 0, false};
    if (is({"VARCHAR", "CHAR", "NVARCHAR", "NCHAR", "TEXT", "CHARACTER", "STRING", "ALPHANUMERIC"}))
        return {FieldType::Text, has_size ? size : 255, has_size};
    // Anything else by SQLite's affinity rules.
    if (contains(u, "INT")) return {FieldType::Long, 4, false};
    if (is_text_affinity(u)) return {has_size ? FieldType::Text : FieldType::Memo, has_size ? size : 0, has_size};
    if (u.empty() || contains(u, "BLOB")) return {FieldType::Memo, 0, false};
    return {FieldType::Double, 8, false};
}

std::string decl_for(const FieldDef& f) {
    if (!f.declared_type.empty()) return f.declared_type;
    switch (f.type) {
        case FieldType::Boolean: return "BOOLEAN";
        case FieldType::Byte: return "TINYINT";
        case FieldType::Integer: return "SMALLINT";
        case FieldType::Long: return "INTEGER";
        case FieldType::Currency: return "CURRENCY";
        case FieldType::Single: return "REAL";
        case FieldType::Double: return "DOUBLE";
        case FieldType::Date: return "DATETIME";
        case FieldType::Text: return "VARCHAR(" + std::to_string(f.size > 0 ? f.size : 255) + ")";
        case FieldType::LongBinary: return "BLOB";
        case FieldType::Memo: return "LONGTEXT";
    }
    return "LONGTEXT";
}

}  // namespace detail

namespace {

// The CHECK that stores a text column's AllowZeroLength = false.
std::string zero_length_check(std::string_view column) {
    return "CHECK (" + sql_quote_identifier(column) + " <> '')";
}

std::string canonical_table_name(const Connection& c, std::string_view name) {
    sqlite3_stmt* st = nullptr;
    std::string found;
    if (sqlite3_prepare_v2(c.db,
                           "SELECT name FROM sqlite_master WHERE type IN ('table','view') AND name = ?1 COLLATE NOCASE",
                           -1, &st, nullptr) == SQLITE_OK) {
        sqlite3_bind_text(st, 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(st) == SQLITE_ROW) found = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    }
    sqlite3_finalize(st);
    return found;
}

}  // namespace

TableDef Database::GetTableDef(std::string_view table) const {
    Connection& c = conn();
    const std::string name = canonical_table_name(c, strip_brackets(table));
    if (name.empty())
        throw Error(kItemNotFound, "Database", "Item not found in this collection. (table '" + std::string(table) + "')");

    std::string create_sql;
    {
        Statement st = c.prepare("SELECT sql FROM sqlite_master WHERE name = ?1", kSyntax, "Database");
        sqlite3_bind_text(st.get(), 1, name.c_str(), -1, SQLITE_TRANSIENT);
        if (sqlite3_step(st.get()) == SQLITE_ROW && sqlite3_column_text(st.get(), 0))
            create_sql = reinterpret_cast<const char*>(sqlite3_column_text(st.get(), 0));
    }

    TableDef def;
    def.name = name;
    std::vector<std::pair<int, std::string>> pk;
    Statement st = c.prepare("PRAGMA table_info(" + sql_quote_identifier(name) + ")", kSyntax, "Database");
    while (sqlite3_step(st.get()) == SQLITE_ROW) {
        FieldDef f;
        auto text = [&](int i) {
            const unsigned char* t = sqlite3_column_text(st.get(), i);
            return t ? std::string(reinterpret_cast<const char*>(t)) : std::string();
        };
        f.name = text(1);
        f.declared_type = text(2);
        const DeclInfo info = decl_info(f.declared_type);
        f.type = info.type;
        f.size = info.size;
        f.required = sqlite3_column_int(st.get(), 3) != 0;
        f.default_value = text(4);
        if (int k = sqlite3_column_int(st.get(), 5); k > 0) pk.emplace_back(k, f.name);
        if (f.type == FieldType::Text || f.type == FieldType::Memo)
            f.allow_zero_length = create_sql.find(zero_length_check(f.name)) == std::string::npos;
        const char* coll = nullptr;
        if (sqlite3_table_column_metadata(c.db, nullptr, name.c_str(), f.name.c_str(), nullptr, &coll, nullptr, nullptr,
                                          nullptr) == SQLITE_OK &&
            coll)
            f.collation = coll;
        def.fields.push_back(std::move(f));
    }
    std::sort(pk.begin(), pk.end());
    for (auto& [k, n] : pk) def.primary_key.push_back(n);
    // A single INTEGER primary key is the rowid: SQLite numbers new rows, like a counter.
    if (def.primary_key.size() == 1) {
        for (FieldDef& f : def.fields)
            if (ci_equal(f.name, def.primary_key[0]) && upper(f.declared_type) == "INTEGER") f.auto_increment = true;
    }
    return def;
}

void Database::CreateTableDef(const TableDef& def) {
    Connection& c = conn();
    if (def.fields.empty()) throw Error(kInvalidArgument, "Database", "Invalid argument. (table '" + def.name + "' has no fields)");
    std::string sql = "CREATE TABLE " + sql_quote_identifier(def.name) + " (";
    bool auto_key = false;
    for (std::size_t i = 0; i < def.fields.size(); ++i) {
        const FieldDef& f = def.fields[i];
        if (i) sql += ", ";
        sql += sql_quote_identifier(f.name) + " ";
        if (f.auto_increment) {
            sql += "INTEGER PRIMARY KEY AUTOINCREMENT";
            auto_key = true;
        } else {
            sql += decl_for(f);
        }
        if (f.required) sql += " NOT NULL";
        if (!f.default_value.empty()) sql += " DEFAULT " + f.default_value;
        const bool text = f.type == FieldType::Text || f.type == FieldType::Memo;
        std::string coll = f.collation;
        if (coll.empty() && text && f.declared_type.empty()) coll = "NOCASE";
        if (!coll.empty() && upper(coll) != "BINARY") sql += " COLLATE " + coll;
        if (text && !f.allow_zero_length) sql += " " + zero_length_check(f.name);
    }
    if (!def.primary_key.empty() && !(auto_key && def.primary_key.size() == 1)) {
        sql += ", PRIMARY KEY (";
        for (std::size_t i = 0; i < def.primary_key.size(); ++i)
            sql += (i ? ", " : "") + sql_quote_identifier(def.primary_key[i]);
        sql += ")";
    }
    sql += ")";
    c.exec(sql, "Database");
}

void CopyTableDef(const Database& from, std::string_view table, Database& to, std::string_view new_name) {
    TableDef def = from.GetTableDef(table);
    if (!new_name.empty()) def.name = strip_brackets(new_name);
    to.CreateTableDef(def);
}

}  // namespace hxq::platform
