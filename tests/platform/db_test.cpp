// The database layer on SQLite files: opening, finds and positions, changes, table
// definitions and the handles it keeps open.
#include "platform/db.h"

#include "platform/error.h"
#include "platform/scratch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <tuple>

namespace hxq::platform {
namespace {

using test::error_number;

// A model tree in the shape the selection drivers walk: folder nodes (Table Null or
// empty) and model nodes, group memberships in Group, user levels in UserLevel, Jet
// booleans (-1/0) in InUse, and a correction table whose name needs brackets.
void build_product_db(const std::string& path) {
    Database db = CreateDatabase(path);
    db.BeginTrans();  // one write to the disk, not four
    db.Execute(
        "CREATE TABLE ModelTree (NodeID SMALLINT PRIMARY KEY, ParentID SMALLINT, \"Group\" VARCHAR(50), "
        "UserLevel VARCHAR(26), InUse BOOLEAN, \"Table\" VARCHAR(20), ModelID SMALLINT, ChannelID1Left VARCHAR(10))");
    db.Execute(
        "INSERT INTO ModelTree VALUES "
        "(1, 0, 'S/012,C/003', 'ABC', -1, NULL, NULL, NULL), (2, 1, 'S,C', 'ABC', -1, 'HXQ', 10, '7'),"
        "(3, 1, 'C', 'A', -1, 'HXQ', 11, '8'),                (4, 1, 'S', 'B', -1, '', NULL, NULL),"
        "(5, 4, 'S', 'AB', -1, 'HXQ', 12, NULL),              (6, 4, 'S', 'AB', 0, 'HXQ', 13, NULL),"
        "(7, 1, 'S/012', 'ABC', -1, 'HXQ', 14, '7'),          (8, 0, 'E/005', 'ABC', -1, NULL, NULL, NULL)");
    db.Execute(
        "CREATE TABLE \"Channel-Fluid-Factors\" (ChannelID INTEGER, FluidID INTEGER, \"V-model\" BOOLEAN, "
        "CounterCurrent BOOLEAN, cNuCorrVAP VARCHAR(20))");
    db.Execute(
        "INSERT INTO \"Channel-Fluid-Factors\" VALUES "
        "(7, 3, -1, -1, '1.10'), (7, 3, 0, -1, '1.20'), (7, 3, 0, 0, '1.30'), (7, 0, 0, 0, '0.90')");
    db.CommitTrans();
}

std::string node(const Recordset& rs) { return rs.Fields("NodeID").as_text(); }

// The nodes from the current row to the end.
std::vector<std::string> rest(Recordset& rs) {
    std::vector<std::string> ids;
    for (; !rs.Eof(); rs.MoveNext()) ids.push_back(node(rs));
    return ids;
}

// The node FindFirst lands on, "none" when it finds nothing.
std::string first(Recordset& rs, const std::string& criteria) { return rs.FindFirst(criteria) ? node(rs) : "none"; }

// The nodes the criteria find, FindFirst and then FindNext until it fails.
std::vector<std::string> found(Recordset& rs, const std::string& criteria) {
    std::vector<std::string> ids;
    for (bool f = rs.FindFirst(criteria); f; f = rs.FindNext(criteria)) ids.push_back(node(rs));
    return ids;
}

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = scratch_.file("product.db");
        build_product_db(path_);
        db_ = OpenDatabase(path_);
    }
    test::ScratchDir scratch_;
    std::string path_;
    Database db_;
};

TEST(DatabaseOpen, MissingNonDatabaseAndExistingFilesAreErrors) {
    test::ScratchDir scratch;
    const std::string path = scratch.file("nowhere.mdb");
    const auto missing = test::raised([&] { OpenDatabase(path); });
    ASSERT_TRUE(missing) << "opened a missing database";
    EXPECT_EQ(missing->number(), 3024);
    EXPECT_NE(missing->description().find(path), std::string::npos) << missing->description();
    EXPECT_FALSE(std::filesystem::exists(path));
    const std::string text = scratch.file("notes.txt");
    test::write_file(text, "this is not a database, just some text that is long enough to be read\n");
    EXPECT_EQ(error_number([&] { OpenDatabase(text); }), 3343);
    EXPECT_EQ(error_number([&] { CreateDatabase(text); }), 3204);
    EXPECT_EQ(error_number([&] { CreateDatabase(scratch.file("no/such/folder/x.db")); }), 3051);
    EXPECT_EQ(db_open_handles().databases, 0);
}

TEST_F(RecordsetTest, FindNextContinuesAfterTheCurrentRowAndAFailedFindStays) {
    Recordset rs = db_.OpenRecordset("ModelTree");
    const std::string child = "ParentID=1 AND Instr(Group,'S')>0 AND Instr(UserLevel, 'B')>0";
    EXPECT_EQ(found(rs, child), (std::vector<std::string>{"2", "4", "7"}));
    EXPECT_TRUE(rs.NoMatch());
    EXPECT_EQ(node(rs), "7");  // the failed FindNext left the current row
    ASSERT_TRUE(rs.FindPrevious(child));
    EXPECT_EQ(node(rs), "4");
    ASSERT_TRUE(rs.FindLast(child));
    EXPECT_FALSE(rs.NoMatch());
    // FindNext from BOF starts at the first row.
    rs.MoveFirst();
    rs.MovePrevious();
    ASSERT_TRUE(rs.BOF());
    ASSERT_TRUE(rs.FindNext("NodeID=1"));
    EXPECT_EQ(node(rs), "1");
}

TEST_F(RecordsetTest, InstrGroupQueriesAndCriteriaOnBracketedNamesAndBooleans) {
    Recordset group = db_.OpenRecordset(
        "SELECT * FROM ModelTree WHERE Instr(Group,'S/012') > 0  AND InUse AND Instr(UserLevel, 'A')>0");
    EXPECT_EQ(rest(group), (std::vector<std::string>{"1", "7"}));
    Recordset rs = db_.OpenRecordset("SELECT * FROM [Channel-Fluid-Factors]");
    auto factor = [&](bool v_model, bool counter) {
        std::string c = "ChannelID=7 AND FluidID=3";
        c += v_model ? " AND [V-model]" : " AND Not [V-model]";
        c += counter ? " AND [CounterCurrent]" : " AND not [CounterCurrent]";
        if (!rs.FindFirst(c)) return std::string("none");
        return rs.Fields("cNuCorrVAP").as_text();
    };
    EXPECT_EQ(factor(true, true), "1.10");
    EXPECT_EQ(factor(false, false), "1.30");
    EXPECT_EQ(factor(true, false), "none");
    // A text column holding a number compares with a number, as the product tables do.
    Recordset tree = db_.OpenRecordset("ModelTree");
    EXPECT_EQ(first(tree, "ChannelID1Left=8"), "3");
    EXPECT_EQ(first(tree, "UserLevel='ab'"), "5");  // Jet compares texts without case
}

TEST_F(RecordsetTest, UnknownNamesAndBadTextsAreErrors) {
    Recordset rs = db_.OpenRecordset("ModelTree");
    rs.MoveLast();
    EXPECT_EQ(error_number([&] { rs.FindFirst("NoSuchColumn=1"); }), 3070);
    EXPECT_EQ(error_number([&] { rs.FindFirst("NodeID=="); }), 3075);
    EXPECT_EQ(node(rs), "8");  // a failed find leaves the position
    const long open = db_open_handles().recordsets;
    EXPECT_EQ(error_number([&] { db_.OpenRecordset("NoSuchTable"); }), 3078);
    EXPECT_EQ(error_number([&] { db_.OpenRecordset("SELECT * FROM NoSuchTable"); }), 3078);
    EXPECT_EQ(error_number([&] { db_.OpenRecordset("SELECT Nope FROM ModelTree"); }), 3061);
    EXPECT_EQ(db_open_handles().recordsets, open);
}

TEST_F(RecordsetTest, BookmarkRestoredAfterNestedSearchOnAClone) {
    // The subtree walk: remember the row, search the folder's children, come back.
    Recordset rs = db_.OpenRecordset("ModelTree");
    ASSERT_TRUE(rs.FindFirst("NodeID=4"));
    const Bookmark mark = rs.GetBookmark();
    Recordset clone = rs.Clone();
    EXPECT_EQ(found(clone, "ParentID=4"), (std::vector<std::string>{"5", "6"}));
    EXPECT_EQ(node(rs), "4");  // the clone moves on its own
    ASSERT_TRUE(rs.FindFirst("ParentID=4"));
    rs.SetBookmark(mark);
    EXPECT_EQ(node(rs), "4");
    ASSERT_TRUE(rs.FindNext("ParentID=1"));
    EXPECT_EQ(node(rs), "7");
    // Bookmarks are shared with clones, not with other recordsets.
    clone.SetBookmark(mark);
    EXPECT_EQ(node(clone), "4");
    Recordset other = db_.OpenRecordset("ModelTree");
    EXPECT_EQ(error_number([&] { other.SetBookmark(mark); }), 3159);
}

TEST_F(RecordsetTest, PositionsPercentsAndEmptyRecordsets) {
    Recordset rs = db_.OpenRecordset("SELECT * FROM ModelTree ORDER BY NodeID");
    EXPECT_EQ(rs.RecordCount(), 8);  // complete at once, without a MoveLast
    rs.MoveNext();
    rs.MoveNext();
    EXPECT_EQ(rs.AbsolutePosition(), 2);
    EXPECT_DOUBLE_EQ(rs.PercentPosition(), 25.0);  // row 2 of 8
    rs.MoveLast();
    EXPECT_EQ(rs.AbsolutePosition(), 7);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(rs.AbsolutePosition(), -1);
    EXPECT_DOUBLE_EQ(rs.PercentPosition(), 100.0);
    EXPECT_EQ(error_number([&] { (void)rs.Fields("NodeID"); }), 3021);
    rs.SetPercentPosition(50.0);
    EXPECT_EQ(rs.AbsolutePosition(), 4);
    rs.SetAbsolutePosition(6);
    EXPECT_EQ(node(rs), "7");
    EXPECT_EQ(error_number([&] { rs.SetAbsolutePosition(8); }), 3001);
    rs.Move(-2);
    EXPECT_EQ(node(rs), "5");
    rs.Move(10);
    EXPECT_TRUE(rs.Eof());
    rs.Move(-3);
    EXPECT_EQ(node(rs), "6");
    Recordset empty = db_.OpenRecordset("SELECT * FROM ModelTree WHERE NodeID=999");
    EXPECT_TRUE(empty.BOF());
    EXPECT_TRUE(empty.Eof());
    EXPECT_EQ(empty.RecordCount(), 0);
    for (auto move : {&Recordset::MoveFirst, &Recordset::MoveLast, &Recordset::MoveNext})
        EXPECT_EQ(error_number([&] { (empty.*move)(); }), 3021);
    EXPECT_FALSE(empty.FindFirst("NodeID=1"));
    EXPECT_EQ(empty.FieldCount(), 8u);  // the fields are known without rows
}

TEST_F(RecordsetTest, NullFieldsAndFieldNames) {
    Recordset rs = db_.OpenRecordset("ModelTree");
    ASSERT_TRUE(rs.FindFirst("NodeID=1"));
    EXPECT_TRUE(rs.Fields("Table").is_null());
    ASSERT_TRUE(rs.FindFirst("NodeID=4"));
    EXPECT_EQ(rs.Fields("Table"), Variant(""));
    EXPECT_EQ(rs.FieldNames(), (std::vector<std::string>{"NodeID", "ParentID", "Group", "UserLevel", "InUse", "Table",
                                                          "ModelID", "ChannelID1Left"}));
    // Names without case.
    EXPECT_TRUE(rs.HasField("GROUP"));
    EXPECT_EQ(rs["inuse"], Variant(true));
    EXPECT_EQ(error_number([&] { (void)rs.Fields("Nope"); }), 3265);
}

TEST_F(RecordsetTest, AddNewAndEditPersistAfterReopening) {
    {
        Recordset rs = db_.OpenRecordset("ModelTree");
        ASSERT_TRUE(rs.Updatable());
        ASSERT_EQ(first(rs, "ParentID=4 AND InUse"), "5");
        rs.Edit();
        rs["UserLevel"] = "XYZ";
        rs["InUse"] = false;
        rs["ModelID"] = 12.5;  // an integer column rounds halves to even, as Jet does
        EXPECT_EQ(rs.Fields("UserLevel").as_text(), "XYZ");  // the edit buffer
        rs.Update();
        EXPECT_EQ(rs.GetEditMode(), EditMode::None);
        rs.MoveFirst();
        rs.AddNew();
        rs["NodeID"] = 20;
        rs["ParentID"] = 4;
        rs["Group"] = "S";
        rs["Table"] = "HXQ";
        rs["InUse"] = true;
        rs.Update();
        EXPECT_EQ(node(rs), "1");  // back on the row current before AddNew
        EXPECT_EQ(rs.RecordCount(), 9);
        rs.SetBookmark(rs.LastModified());
        EXPECT_EQ(node(rs), "20");
        EXPECT_TRUE(rs.Fields("UserLevel").is_null());
        // Finds see the changed and the new row: an earlier result of the criteria is not reused.
        EXPECT_EQ(first(rs, "ParentID=4 AND InUse"), "20");
        EXPECT_EQ(found(rs, "ParentID=4"), (std::vector<std::string>{"5", "6", "20"}));
    }
    db_.Close();
    Database again = OpenDatabase(path_);
    Recordset rs = again.OpenRecordset("SELECT * FROM ModelTree WHERE NodeID=5 OR NodeID=20 ORDER BY NodeID");
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Fields("UserLevel").as_text(), "XYZ");
    EXPECT_EQ(rs.Fields("InUse"), Variant(false));
    EXPECT_EQ(rs.Fields("ModelID").as_integer(), 12);
    Recordset raw = again.OpenRecordset("SELECT InUse + 0 AS raw FROM ModelTree WHERE NodeID=20");
    EXPECT_EQ(raw.Fields("raw").as_integer(), -1);  // stored as Jet stores True
}

TEST_F(RecordsetTest, RefusedChangesLeaveTheTableUnchanged) {
    Recordset rs = db_.OpenRecordset("ModelTree");
    ASSERT_TRUE(rs.FindFirst("NodeID=3"));
    rs.Edit();
    rs["NodeID"] = 2;  // the key of another row
    rs["UserLevel"] = "CHANGED";
    EXPECT_EQ(error_number([&] { rs.Update(); }), 3022);
    EXPECT_EQ(rs.GetEditMode(), EditMode::Edit);  // the edit stays pending, as in DAO
    rs.CancelUpdate();
    EXPECT_EQ(rs.Fields("UserLevel").as_text(), "A");
    rs.AddNew();
    rs["NodeID"] = 1;
    EXPECT_EQ(error_number([&] { rs.Update(); }), 3022);
    rs.CancelUpdate();
    EXPECT_EQ(rs.RecordCount(), 8);
    EXPECT_EQ(db_.OpenRecordset("ModelTree").RecordCount(), 8);
    // Assignments are checked against the column type.
    rs.MoveFirst();
    rs.Edit();
    EXPECT_EQ(error_number([&] { rs["ModelID"] = "abc"; }), 3421);
    EXPECT_EQ(error_number([&] { rs["ModelID"] = 40000; }), 3349);  // SMALLINT
    EXPECT_EQ(error_number([&] { rs["Table"] = std::string(21, 'x'); }), 3163);  // VARCHAR(20)
    rs["ModelID"] = " 42 ";
    rs["Table"] = 3.5;
    rs["InUse"] = "False";
    EXPECT_EQ(rs.Fields("ModelID"), Variant(42));
    EXPECT_EQ(rs.Fields("Table"), Variant("3.5"));
    EXPECT_EQ(rs.Fields("InUse"), Variant(false));
    rs.CancelUpdate();
    EXPECT_EQ(error_number([&] { rs["ModelID"] = 1; }), 3020);
    EXPECT_EQ(error_number([&] { rs.Update(); }), 3020);
}

TEST_F(RecordsetTest, DeleteRemovesTheRowForAllClones) {
    Recordset rs = db_.OpenRecordset("ModelTree");
    Recordset clone = rs.Clone();
    ASSERT_TRUE(rs.FindFirst("NodeID=4"));
    ASSERT_TRUE(clone.FindFirst("NodeID=4"));
    const Bookmark mark = rs.GetBookmark();
    rs.Delete();
    EXPECT_EQ(error_number([&] { (void)rs.Fields("NodeID"); }), 3167);
    EXPECT_EQ(error_number([&] { (void)clone.Fields("NodeID"); }), 3167);
    EXPECT_EQ(error_number([&] { rs.SetBookmark(mark); }), 3167);
    rs.MoveNext();
    EXPECT_EQ(rs.AbsolutePosition(), 3);
    EXPECT_EQ(rs.RecordCount(), 7);
    EXPECT_FALSE(clone.FindFirst("NodeID=4"));
    EXPECT_EQ(db_.OpenRecordset("SELECT * FROM ModelTree WHERE NodeID=4").RecordCount(), 0);
}

TEST_F(RecordsetTest, ReadOnlyRecordsetsRefuseChanges) {
    Recordset snap = db_.OpenRecordset("ModelTree", RecordsetType::Snapshot);
    EXPECT_EQ(error_number([&] { snap.Edit(); }), 3027);
    Recordset distinct = db_.OpenRecordset("SELECT DISTINCT ParentID FROM ModelTree");
    EXPECT_EQ(error_number([&] { distinct.AddNew(); }), 3027);
    EXPECT_FALSE(db_.OpenRecordset("SELECT NodeID, ParentID + 1 AS Up FROM ModelTree").Updatable());
    db_.Execute("CREATE VIEW Folders AS SELECT * FROM ModelTree WHERE \"Table\" IS NULL OR \"Table\" = ''");
    Recordset view = db_.OpenRecordset("Folders");
    EXPECT_FALSE(view.Updatable());
    // Finds work on views too, comparing texts without case as on the table.
    EXPECT_EQ(first(view, "Instr(Group, 'E/')>0 AND UserLevel='abc'"), "8");
    db_.Close();
    Database ro = OpenDatabase(path_, true);
    Recordset rs = ro.OpenRecordset("ModelTree");
    EXPECT_FALSE(rs.Updatable());
    EXPECT_EQ(error_number([&] { ro.Execute("DELETE FROM ModelTree"); }), 3027);
    EXPECT_TRUE(rs.FindFirst("NodeID=2"));  // finds need no write access to the file
}

TEST_F(RecordsetTest, FilterAndSortOpenANewRecordset) {
    Recordset rs = db_.OpenRecordset("ModelTree");
    rs.SetFilter("ParentID=1 AND Instr(Group,'S')>0");
    rs.SetSort("NodeID DESC");
    Recordset sub = rs.OpenRecordset();
    EXPECT_EQ(rs.RecordCount(), 8);  // the filter does not apply to rs itself
    EXPECT_EQ(rest(sub), (std::vector<std::string>{"7", "4", "2"}));
    // Still rows of the table: an edit goes through.
    sub.MoveFirst();
    sub.Edit();
    sub["UserLevel"] = "Q";
    sub.Update();
    Recordset check = db_.OpenRecordset("SELECT * FROM ModelTree WHERE NodeID=7");
    EXPECT_EQ(check.Fields("UserLevel").as_text(), "Q");
    rs.SetFilter("Nonsense=1");
    EXPECT_EQ(error_number([&] { rs.OpenRecordset(); }), 3070);
    // Requery reads the table again and keeps the filter and order it was opened with.
    db_.Execute("UPDATE ModelTree SET ParentID = 1 WHERE NodeID = 5");
    sub.Requery();
    EXPECT_EQ(rest(sub), (std::vector<std::string>{"7", "5", "4", "2"}));
    const long before = db_open_handles().recordsets;
    rs.Requery();
    EXPECT_EQ(rs.RecordCount(), 8);
    EXPECT_EQ(db_open_handles().recordsets, before);
}

TEST_F(RecordsetTest, FindsSurviveARolledBackTransaction) {
    Recordset rs = db_.OpenRecordset("ModelTree");
    db_.BeginTrans();
    ASSERT_TRUE(rs.FindFirst("NodeID=3"));  // the first find sets up the search
    rs.Edit();
    rs["UserLevel"] = "T";
    rs.Update();
    db_.Rollback();
    EXPECT_TRUE(rs.FindFirst("NodeID=3"));
    rs.SetFilter("ParentID=4");
    EXPECT_EQ(rs.OpenRecordset().RecordCount(), 2);
    EXPECT_EQ(db_.OpenRecordset("SELECT * FROM ModelTree WHERE NodeID=3").Fields("UserLevel").as_text(), "A");
}

TEST_F(RecordsetTest, ExecuteRunsActionQueries) {
    EXPECT_EQ(db_.Execute("DELETE FROM ModelTree WHERE Instr(Group, 'C')>0"), 3);
    EXPECT_EQ(db_.Execute("UPDATE ModelTree SET UserLevel = UserLevel & 'Z' WHERE NodeID=4"), 1);
    EXPECT_EQ(db_.OpenRecordset("SELECT UserLevel FROM ModelTree WHERE NodeID=4").Fields("UserLevel").as_text(), "BZ");
    EXPECT_TRUE(db_.TableExists("[channel-fluid-factors]"));
    EXPECT_EQ(db_.TableNames(), (std::vector<std::string>{"Channel-Fluid-Factors", "ModelTree"}));
}

TEST_F(RecordsetTest, HandlesAreCountedAndClosedWithTheDatabase) {
    const DbHandleCounts before = db_open_handles();
    {
        Recordset a = db_.OpenRecordset("ModelTree");
        Recordset b = a.Clone();
        EXPECT_EQ(db_open_handles().recordsets, before.recordsets + 2);
        b.Close();
        b.Close();
        EXPECT_EQ(db_open_handles().recordsets, before.recordsets + 1);
    }
    EXPECT_EQ(db_open_handles().recordsets, before.recordsets);
    Recordset kept = db_.OpenRecordset("ModelTree");
    ASSERT_TRUE(kept.FindFirst("NodeID=2"));
    db_.Close();  // closes its recordsets, as DAO does
    EXPECT_EQ(db_open_handles().databases, before.databases - 1);
    EXPECT_EQ(db_open_handles().recordsets, before.recordsets);
    EXPECT_EQ(error_number([&] { kept.MoveNext(); }), 3420);
    EXPECT_EQ(error_number([&] { db_.OpenRecordset("ModelTree"); }), 3420);
}

TEST(RecordsetQueries, JoinedTablesAndRepeatedColumnNames) {
    test::ScratchDir scratch;
    Database db = CreateDatabase(scratch.file("selector.db"));
    db.Execute("CREATE TABLE BaseArticleNumbers (Class TEXT, Type TEXT, BaseArtNo TEXT, Note TEXT)");
    db.Execute("CREATE TABLE ITEM_PLAN_NF (ArtNo TEXT, NoPlates SMALLINT, WHS_NBR TEXT, Note TEXT)");
    db.Execute("INSERT INTO BaseArticleNumbers VALUES ('B', '10', 'A1', 'base')");
    db.Execute("INSERT INTO ITEM_PLAN_NF VALUES ('A1', 20, '01', 'plan'), ('A1', 30, '01', 'plan')");
    Recordset both = db.OpenRecordset(
        "SELECT * FROM BaseArticleNumbers INNER JOIN ITEM_PLAN_NF ON BaseArticleNumbers.BaseArtNo = ITEM_PLAN_NF.ArtNo");
    EXPECT_FALSE(both.Updatable());
    EXPECT_EQ(both.Fields("Note").as_text(), "base");  // the first of two equal names
    EXPECT_EQ(both.Fields("ITEM_PLAN_NF.Note").as_text(), "plan");
    EXPECT_EQ(both.Fields("[BaseArticleNumbers].[Note]").as_text(), "base");
    ASSERT_TRUE(both.FindFirst("NoPlates=30 AND Note='base'"));
    EXPECT_EQ(both.Fields("ITEM_PLAN_NF.NoPlates").as_integer(), 30);
}

const FieldDef& find_field(const TableDef& def, const std::string& name) {
    for (const FieldDef& f : def.fields)
        if (f.name == name) return f;
    throw std::runtime_error("no field " + name);
}

// A definition written and read back keeps its types and attributes, and the database
// holds rows to them: the fluid editor's tables are made this way.
TEST(TableDef, CreatedDefinitionReadsBackAndHoldsItsRules) {
    test::ScratchDir scratch;
    Database db = CreateDatabase(scratch.file("defs.db"));
    TableDef def;
    def.name = "Info";
    using Column = std::tuple<const char*, FieldType, int>;
    for (const auto& [name, type, size] : std::initializer_list<Column>{
             {"FluidID", FieldType::Long, 0},   {"HelpName", FieldType::Text, 50}, {"Flag", FieldType::Boolean, 0},
             {"Level", FieldType::Integer, 0},  {"Small", FieldType::Byte, 0},     {"TKmin", FieldType::Single, 0},
             {"cRHOl0", FieldType::Double, 0},  {"Price", FieldType::Currency, 0}, {"Date", FieldType::Date, 0},
             {"Notes", FieldType::Memo, 0},     {"Reference", FieldType::Text, 20}}) {
        FieldDef& f = def.fields.emplace_back();
        f.name = name;
        f.type = type;
        f.size = size;
    }
    def.fields[0].auto_increment = true;
    def.fields[1].required = true;
    def.fields[1].allow_zero_length = false;
    def.fields[10].default_value = "'none'";
    db.CreateTableDef(def);
    const TableDef back = db.GetTableDef("info");
    EXPECT_EQ(back.name, "Info");
    ASSERT_EQ(back.fields.size(), def.fields.size());
    for (std::size_t i = 0; i < def.fields.size(); ++i) {
        EXPECT_EQ(back.fields[i].name, def.fields[i].name);
        EXPECT_EQ(back.fields[i].type, def.fields[i].type) << def.fields[i].name;
    }
    EXPECT_EQ(back.primary_key, std::vector<std::string>{"FluidID"});
    EXPECT_EQ(find_field(back, "HelpName").size, 50);
    EXPECT_FALSE(find_field(back, "HelpName").allow_zero_length);
    Recordset rs = db.OpenRecordset("Info");
    rs.AddNew();
    rs["HelpName"] = "";
    EXPECT_EQ(error_number([&] { rs.Update(); }), 3315);
    rs["HelpName"] = Variant::null();
    EXPECT_EQ(error_number([&] { rs.Update(); }), 3314);
    rs["HelpName"] = "Brine";
    rs.Update();
    rs.SetBookmark(rs.LastModified());  // the number the database gave, as the editor reads it
    EXPECT_EQ(rs.Fields("FluidID").as_integer(), 1);
    EXPECT_EQ(rs.Fields("Reference").as_text(), "none");
    EXPECT_EQ(error_number([&] { db.GetTableDef("Nope"); }), 3265);
}

// The export file: a new database with the definitions of the save tables and their rules.
TEST(TableDef, CopyIntoANewDatabaseKeepsTheDefinition) {
    test::ScratchDir scratch;
    {
        Database src = CreateDatabase(scratch.file("saves.db"));
        src.Execute(
            "CREATE TABLE InData_Save (Customer VARCHAR(50) NOT NULL CHECK (\"Customer\" <> ''), "
            "CalculationName VARCHAR(50) NOT NULL, \"Default\" BOOLEAN DEFAULT 0, HXQID SMALLINT, heatLoad VARCHAR(30), "
            "FluidID1 INTEGER, Fluid1Conc REAL, PRIMARY KEY (Customer, CalculationName))");
    }
    Database src = OpenDatabase(scratch.file("saves.db"), true);
    Database out = CreateDatabase(scratch.file("export.qsd"));
    CopyTableDef(src, "InData_Save", out);
    CopyTableDef(src, "[InData_Save]", out, "Copy2");
    EXPECT_EQ(error_number([&] { CopyTableDef(src, "Nope", out); }), 3265);
    const TableDef a = src.GetTableDef("InData_Save");
    const TableDef b = out.GetTableDef("InData_Save");
    ASSERT_EQ(a.fields.size(), b.fields.size());
    const auto attributes = [](const FieldDef& f) {
        return std::tie(f.name, f.type, f.size, f.required, f.allow_zero_length, f.default_value, f.declared_type,
                        f.collation);
    };
    for (std::size_t i = 0; i < a.fields.size(); ++i) EXPECT_EQ(attributes(a.fields[i]), attributes(b.fields[i]));
    // The rules as read from the hand-written table; the database holds rows to them (above).
    EXPECT_FALSE(find_field(a, "Customer").allow_zero_length);
    EXPECT_TRUE(find_field(a, "CalculationName").required);
    EXPECT_EQ(find_field(a, "Default").default_value, "0");
    EXPECT_EQ(b.primary_key, (std::vector<std::string>{"Customer", "CalculationName"}));
    EXPECT_EQ(out.TableNames(), (std::vector<std::string>{"Copy2", "InData_Save"}));
}

}  // namespace
}  // namespace hxq::platform
