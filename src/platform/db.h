// Databases and recordsets over SQLite with the behaviour of the DAO subset the library
// was written against: positioned recordsets with Move/Find/Bookmark, fields by name,
// AddNew/Edit/Update/Delete on tables, and table definitions that can be copied.
//
// Rows of a recordset are read into memory when it is opened (product tables are
// small); criteria of Find, Filter and Sort are Jet-dialect texts that are translated
// (platform/jet_sql.h) and evaluated by SQLite over those rows. See docs/platform-db.md.
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace hxq::platform {

// DAO recordset types. Default: a table recordset for a table name, a dynaset for a
// query or a view. Snapshot and ForwardOnly recordsets are read-only.
enum class RecordsetType { Default = 0, Table = 1, Dynaset = 2, Snapshot = 4, ForwardOnly = 8 };

enum class EditMode { None = 0, Edit = 1, Add = 2 };

// DAO field types (the DataTypeEnum values).
enum class FieldType {
    Boolean = 1,
    Byte = 2,
    Integer = 3,  // 16-bit
    Long = 4,     // 32-bit
    Currency = 5,
    Single = 6,
    Double = 7,
    Date = 8,
    Text = 10,
    LongBinary = 11,
    Memo = 12,
};

// One column of a table definition.
struct FieldDef {
    std::string name;
    FieldType type = FieldType::Text;
    int size = 0;                   // characters for Text, bytes for numbers
    bool required = false;          // NOT NULL
    bool allow_zero_length = true;  // Text/Memo: false stores a CHECK ("col" <> '')
    bool auto_increment = false;    // the INTEGER PRIMARY KEY of the table
    std::string default_value;      // SQL text of the column default, empty for none
    // The SQLite declaration read back from a database; copying a definition keeps it.
    // Empty: derived from type and size when the table is created.
    std::string declared_type;
    // Collating sequence as read back (BINARY, NOCASE); empty: NOCASE for Text and Memo
    // columns created from a type, as Jet compares texts without case.
    std::string collation;
};

struct TableDef {
    std::string name;
    std::vector<FieldDef> fields;
    std::vector<std::string> primary_key;  // column names, empty for none
};

// Identifies one row of a recordset and of its clones; a bookmark of another recordset
// is rejected (DAO error 3159).
struct Bookmark {
    std::uint64_t rowset = 0;
    std::size_t row = 0;
    bool operator==(const Bookmark&) const = default;
};

// Open Database and Recordset handles of the process, so that tests can check that an
// operation closed everything it opened, also when it failed.
struct DbHandleCounts {
    int databases = 0;
    int recordsets = 0;
};
DbHandleCounts db_open_handles();

class Recordset;
class Database;

namespace detail {
struct Connection;
struct RecordsetState;
}  // namespace detail

// A field of the current row: reads its value, and assigns while editing.
class FieldRef {
public:
    const Variant& Value() const;
    operator const Variant&() const { return Value(); }  // NOLINT: reads like DAO's default property
    FieldRef& operator=(const Variant& value);
    const std::string& Name() const;

private:
    friend class Recordset;
    FieldRef(Recordset* rs, std::size_t index) : rs_(rs), index_(index) {}
    Recordset* rs_;
    std::size_t index_;
};

class Recordset {
public:
    Recordset();  // a closed recordset; assign an opened one to it
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;
    ~Recordset();

    bool IsOpen() const;
    void Close();  // closing a closed recordset does nothing
    const std::string& Source() const;  // the table name or SQL text it was opened with
    RecordsetType Type() const;
    bool Updatable() const;

    // Navigation. Moving off either end sets BOF/EOF; moving when already there, or
    // MoveFirst/MoveLast on an empty recordset, is error 3021 "No current record.".
    // Moving discards a pending AddNew/Edit, as DAO does.
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void Move(long rows);
    bool BOF() const;
    bool Eof() const;  // DAO's EOF; that name is a macro of <cstdio>

    // The rows are loaded when the recordset opens, so the count is complete at once
    // (DAO completes it at MoveLast; code that moves last first sees the same numbers).
    long RecordCount() const;
    // 0-based position of the current row; -1 without a current row.
    long AbsolutePosition() const;
    void SetAbsolutePosition(long position);
    // AbsolutePosition / RecordCount * 100 for the current row (row i of n: 100*i/n);
    // 0 at BOF or for an empty recordset, 100 at EOF.
    double PercentPosition() const;
    void SetPercentPosition(double percent);  // the row nearest to percent * n / 100

    Bookmark GetBookmark() const;  // 3021 without a current row
    void SetBookmark(const Bookmark& bookmark);
    Bookmark LastModified() const;  // the row last added or edited through this recordset

    // Finds with a Jet criteria text (e.g. "ParentID=12 AND Instr(Group,'S')>0").
    // FindFirst/FindLast search the whole recordset, FindNext forward from the row after
    // the current one (from the first row at BOF), FindPrevious backward from the row
    // before it. Found: the row becomes current and NoMatch() is false. Not found:
    // NoMatch() is true and the current row stays where it was. Returns !NoMatch().
    bool FindFirst(std::string_view criteria);
    bool FindNext(std::string_view criteria);
    bool FindLast(std::string_view criteria);
    bool FindPrevious(std::string_view criteria);
    bool NoMatch() const;

    // Reads the rows again from the source; the first row becomes current and earlier
    // bookmarks are no longer valid (clones keep the rows they had).
    void Requery();

    // An independent position over the same rows; bookmarks are shared. Starts on the
    // first row (DAO leaves it undefined until a Move or a Bookmark).
    Recordset Clone() const;

    // DAO: Filter and Sort apply to recordsets opened from this one, not to this one.
    const std::string& Filter() const;
    void SetFilter(std::string filter);
    const std::string& Sort() const;
    void SetSort(std::string sort);
    Recordset OpenRecordset() const;

    // Changes (table recordsets and single-table queries only; others: error 3027).
    // Update writes with bound values and re-reads the row (defaults, autonumbers). A
    // failing Update throws and leaves table and row unchanged and the edit pending.
    // After Update of AddNew the current row is the one current before AddNew; the new
    // row is LastModified() and appears at the end of the recordset.
    void AddNew();
    void Edit();  // 3021 without a current row
    void Update();
    void CancelUpdate();
    void Delete();  // the deleted row stays current but unreadable (3167) until a move
    EditMode GetEditMode() const;

    // Fields of the current row, names compared without case as Jet does. Booleans read
    // as bool, SQL NULL as Null. The reference is valid until the next move or change.
    // Unknown name: error 3265 "Item not found in this collection.".
    const Variant& Fields(std::string_view name) const;
    const Variant& Fields(std::size_t index) const;
    FieldRef operator[](std::string_view name);
    const Variant& operator[](std::string_view name) const { return Fields(name); }
    // Assignment while editing; converts to the column's type and rejects what Jet
    // rejects (3421 text into a number column, 3163 text longer than its size).
    void SetField(std::string_view name, const Variant& value);
    void SetField(std::size_t index, const Variant& value);
    std::vector<std::string> FieldNames() const;
    std::size_t FieldCount() const;
    bool HasField(std::string_view name) const;
    std::size_t FieldIndex(std::string_view name) const;  // 3265 when unknown

private:
    friend class Database;
    friend class FieldRef;
    explicit Recordset(std::shared_ptr<detail::RecordsetState> state);
    detail::RecordsetState& state() const;
    std::shared_ptr<detail::RecordsetState> state_;
};

class Database {
public:
    Database();  // a closed database
    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();  // closes the database and every recordset still open on it

    bool IsOpen() const;
    void Close();
    const std::string& Name() const;  // the path

    // A table or view name (brackets allowed) or a Jet SELECT text.
    // Unknown table: error 3078.
    Recordset OpenRecordset(std::string_view source, RecordsetType type = RecordsetType::Default);

    // An action query (DELETE, UPDATE, INSERT) in Jet dialect; returns the rows affected.
    long long Execute(std::string_view sql);
    long long RecordsAffected() const;

    void BeginTrans();
    void CommitTrans();
    void Rollback();

    std::vector<std::string> TableNames() const;  // tables and views, without internal ones
    bool TableExists(std::string_view name) const;
    TableDef GetTableDef(std::string_view table) const;  // 3265 when the table is unknown
    void CreateTableDef(const TableDef& def);

private:
    friend Database OpenDatabase(const std::string& path, bool read_only);
    friend Database CreateDatabase(const std::string& path);
    explicit Database(std::shared_ptr<detail::Connection> conn);
    detail::Connection& conn() const;
    std::shared_ptr<detail::Connection> conn_;
};

// Opens an existing database. A path that does not exist is error 3024 naming the path
// (no file is created); a file that is not a database is error 3343.
Database OpenDatabase(const std::string& path, bool read_only = false);
// Creates a new, empty database; error 3204 when the file already exists.
Database CreateDatabase(const std::string& path);

// Creates table `new_name` (default: the same name) in `to` with the columns of `table`
// in `from`: names, types, sizes, required, allow-zero-length, defaults, primary key.
void CopyTableDef(const Database& from, std::string_view table, Database& to, std::string_view new_name = {});

}  // namespace hxq::platform
