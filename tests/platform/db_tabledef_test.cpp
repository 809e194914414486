#include "platform/db.h"

#include "db_test_util.h"
#include "platform/error.h"

#include <gtest/gtest.h>

#include <functional>

namespace hxq::platform {
namespace {

int error_number(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.number();
    }
    return 0;
}

FieldDef field(std::string name, FieldType type, int size = 0) {
    FieldDef f;
    f.name = std::move(name);
    f.type = type;
    f.size = size;
    return f;
}

const FieldDef& find_field(const TableDef& def, const std::string& name) {
    for (const FieldDef& f : def.fields)
        if (f.name == name) return f;
    throw std::runtime_error("no field " + name);
}

TEST(TableDef, CreatedDefinitionReadsBackWithTypesAndAttributes) {
    test::DbScratch scratch;
    Database db = CreateDatabase(scratch.file("defs.db"));
    TableDef def;
    def.name = "Info";
    FieldDef id = field("FluidID", FieldType::Long);
    id.auto_increment = true;
    def.fields.push_back(id);
    FieldDef name = field("HelpName", FieldType::Text, 50);
    name.required = true;
    name.allow_zero_length = false;
    def.fields.push_back(name);
    def.fields.push_back(field("Category", FieldType::Text, 10));
    def.fields.push_back(field("Flag", FieldType::Boolean));
    def.fields.push_back(field("Level", FieldType::Integer));
    def.fields.push_back(field("Small", FieldType::Byte));
    def.fields.push_back(field("TKmin", FieldType::Single));
    def.fields.push_back(field("cRHOl0", FieldType::Double));
    def.fields.push_back(field("Price", FieldType::Currency));
    def.fields.push_back(field("Date", FieldType::Date));
    def.fields.push_back(field("Notes", FieldType::Memo));
    FieldDef dflt = field("Reference", FieldType::Text, 20);
    dflt.default_value = "'none'";
    def.fields.push_back(dflt);
    db.CreateTableDef(def);

    const TableDef back = db.GetTableDef("info");
    EXPECT_EQ(back.name, "Info");
    ASSERT_EQ(back.fields.size(), def.fields.size());
    for (std::size_t i = 0; i < def.fields.size(); ++i) {
        EXPECT_EQ(back.fields[i].name, def.fields[i].name);
        EXPECT_EQ(back.fields[i].type, def.fields[i].type) << def.fields[i].name;
    }
    EXPECT_TRUE(find_field(back, "FluidID").auto_increment);
    EXPECT_EQ(back.primary_key, std::vector<std::string>{"FluidID"});
    EXPECT_EQ(find_field(back, "HelpName").size, 50);
    EXPECT_TRUE(find_field(back, "HelpName").required);
    EXPECT_FALSE(find_field(back, "HelpName").allow_zero_length);
    EXPECT_TRUE(find_field(back, "Category").allow_zero_length);
    EXPECT_FALSE(find_field(back, "Category").required);
    EXPECT_EQ(find_field(back, "Category").collation, "NOCASE");
    EXPECT_EQ(find_field(back, "Level").size, 2);
    EXPECT_EQ(find_field(back, "Reference").default_value, "'none'");

    // The attributes hold: a zero-length name and a missing name are refused.
    Recordset rs = db.OpenRecordset("Info");
    rs.AddNew();
    rs["HelpName"] = "";
    EXPECT_EQ(error_number([&] { rs.Update(); }), 3315);
    rs["HelpName"] = Variant::null();
    EXPECT_EQ(error_number([&] { rs.Update(); }), 3314);
    rs["HelpName"] = "Brine";
    rs["Category"] = "";
    rs.Update();
    // The number the database gave the new row, read back as the fluid editor does.
    rs.SetBookmark(rs.LastModified());
    EXPECT_EQ(rs.Fields("FluidID").as_integer(), 1);
    EXPECT_EQ(rs.Fields("Reference").as_text(), "none");
    EXPECT_EQ(rs.Fields("Category").as_text(), "");
    rs.AddNew();
    rs["HelpName"] = "Oil";
    rs.Update();
    rs.SetBookmark(rs.LastModified());
    EXPECT_EQ(rs.Fields("FluidID").as_integer(), 2);
    EXPECT_EQ(db.OpenRecordset("Info").RecordCount(), 2);
}

TEST(TableDef, CopyIntoANewDatabaseKeepsTheDefinition) {
    // The export file: a new database with the definitions of the save tables.
    test::DbScratch scratch;
    {
        Database src = CreateDatabase(scratch.file("saves.db"));
        src.Execute(
            "CREATE TABLE InData_Save (Customer VARCHAR(50) NOT NULL CHECK (\"Customer\" <> ''), "
            "CalculationName VARCHAR(50) NOT NULL, \"Default\" BOOLEAN DEFAULT 0, HXQID SMALLINT, heatLoad VARCHAR(30), "
            "FluidID1 INTEGER, Fluid1Conc REAL, PRIMARY KEY (Customer, CalculationName))");
        src.Execute("INSERT INTO InData_Save VALUES ('ACME', 'One', 0, 3, '120', 17, 0.3)");
    }
    Database src = OpenDatabase(scratch.file("saves.db"), true);
    Database out = CreateDatabase(scratch.file("export.qsd"));
    CopyTableDef(src, "InData_Save", out);
    CopyTableDef(src, "[InData_Save]", out, "Copy2");

    const TableDef a = src.GetTableDef("InData_Save");
    const TableDef b = out.GetTableDef("InData_Save");
    ASSERT_EQ(a.fields.size(), b.fields.size());
    for (std::size_t i = 0; i < a.fields.size(); ++i) {
        const FieldDef& x = a.fields[i];
        const FieldDef& y = b.fields[i];
        EXPECT_EQ(x.name, y.name);
        EXPECT_EQ(x.type, y.type);
        EXPECT_EQ(x.size, y.size);
        EXPECT_EQ(x.required, y.required);
        EXPECT_EQ(x.allow_zero_length, y.allow_zero_length) << x.name;
        EXPECT_EQ(x.default_value, y.default_value);
        EXPECT_EQ(x.declared_type, y.declared_type);
        EXPECT_EQ(x.collation, y.collation);
    }
    EXPECT_EQ(b.primary_key, (std::vector<std::string>{"Customer", "CalculationName"}));
    EXPECT_FALSE(find_field(b, "Customer").allow_zero_length);
    EXPECT_TRUE(find_field(b, "CalculationName").allow_zero_length);
    EXPECT_EQ(find_field(b, "HXQID").type, FieldType::Integer);
    EXPECT_EQ(find_field(b, "Default").type, FieldType::Boolean);
    EXPECT_EQ(find_field(b, "Fluid1Conc").type, FieldType::Single);
    EXPECT_TRUE(out.TableExists("Copy2"));

    // The copy takes the exported row; the definition's rules came along.
    Recordset rs = out.OpenRecordset("InData_Save");
    EXPECT_EQ(rs.RecordCount(), 0);
    rs.AddNew();
    rs["Customer"] = "Exported";
    rs["CalculationName"] = "Exported";
    rs["heatLoad"] = "";
    rs.Update();
    rs.AddNew();
    rs["Customer"] = "";
    rs["CalculationName"] = "x";
    EXPECT_EQ(error_number([&] { rs.Update(); }), 3315);
    rs.CancelUpdate();
    out.Close();
    Database again = OpenDatabase(scratch.file("export.qsd"));
    Recordset back = again.OpenRecordset("SELECT * FROM InData_Save WHERE Customer='Exported' AND CalculationName='Exported'");
    ASSERT_EQ(back.RecordCount(), 1);
    EXPECT_EQ(back.Fields("Default"), Variant(false));
    EXPECT_EQ(back.Fields("heatLoad").as_text(), "");
    EXPECT_TRUE(back.Fields("HXQID").is_null());
}

TEST(TableDef, UnknownTableIsAnError) {
    test::DbScratch scratch;
    Database db = CreateDatabase(scratch.file("empty.db"));
    EXPECT_EQ(error_number([&] { db.GetTableDef("Nope"); }), 3265);
    Database other = CreateDatabase(scratch.file("other.db"));
    EXPECT_EQ(error_number([&] { CopyTableDef(db, "Nope", other); }), 3265);
    EXPECT_TRUE(other.TableNames().empty());
}

}  // namespace
}  // namespace hxq::platform
