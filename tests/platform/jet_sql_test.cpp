#include "platform/jet_sql.h"

#include "platform/db.h"
#include "platform/error.h"
#include "platform/scratch.h"

#include <gtest/gtest.h>

namespace hxq::platform {
namespace {

TEST(JetSql, TextsTranslateToSQLite) {
    struct Case {
        const char* jet;
        const char* sqlite;
    };
    const Case cases[] = {
        // Query texts of the library.
        {"SELECT * FROM ModelTree WHERE Instr(Group,'S/012') > 0  AND InUse AND Instr(UserLevel, 'A')>0",
         "SELECT * FROM ModelTree WHERE instr(upper(\"Group\"),upper('S/012')) > 0  AND InUse AND "
         "instr(upper(UserLevel),upper( 'A'))>0"},
        {"SELECT * FROM [Channel-Fluid-Factors]", "SELECT * FROM \"Channel-Fluid-Factors\""},
        {"SELECT [Connection XPC],[Height] FROM [Connections] WHERE [ArtNo]=7",
         "SELECT \"Connection XPC\",\"Height\" FROM \"Connections\" WHERE \"ArtNo\"=7"},
        {"ModelID=3 AND Table='HXQ' AND Instr(Group,'T')>0",
         "ModelID=3 AND \"Table\"='HXQ' AND instr(upper(\"Group\"),upper('T'))>0"},
        {"SELECT DISTINCT Customer, Default FROM Indata", "SELECT DISTINCT Customer, \"Default\" FROM Indata"},
        {"UnitGroup=3 AND Use AND Density=0", "UnitGroup=3 AND Use AND Density=0"},
        {"InUse = True OR Dual = False", "InUse = -1 OR Dual = 0"},
        // Asterisks of article codes, keywords and brackets inside literals are data.
        {"XPC='B*10*20*316*H*1P*S'", "XPC='B*10*20*316*H*1P*S'"},
        {"Customer = 'Group [Table] & Not True'", "Customer = 'Group [Table] & Not True'"},
        {"Customer='O''Brien'", "Customer='O''Brien'"},
        // Jet's double-quoted texts are literals; SQLite would take them for names.
        {"Name = \"it's \"\"x\"\"\"", "Name = 'it''s \"x\"'"},
        // Clause keywords stay, the same words as column names are quoted.
        {"SELECT Group, Count(*) FROM T GROUP BY Group ORDER BY Order DESC",
         "SELECT \"Group\", Count(*) FROM T GROUP BY \"Group\" ORDER BY \"Order\" DESC"},
        {"SELECT T.Key, Left(Name, 2) FROM T LEFT JOIN U ON T.Key = U.Key",
         "SELECT T.\"Key\", substr(Name,1, 2) FROM T LEFT JOIN U ON T.\"Key\" = U.\"Key\""},
        {"SELECT DISTINCTROW TOP 5 Name FROM T;", "SELECT Name FROM T LIMIT 5"},
        {"Delete from Discount", "Delete from Discount"},
        {"Name Like 'B*1?' AND Code Like '50[%]*'", "Name Like 'B%1_' AND Code Like '50\\%%' ESCAPE '\\'"},
    };
    for (const auto& c : cases) EXPECT_EQ(jet_to_sqlite(c.jet), c.sqlite);
}

TEST(JetSql, UntranslatableTextsAreErrors) {
    for (const char* bad : {"Instr(Group,'S'", "Name = 'open", "[Open", "D > #1/1/2000#", "Name Like '[A-C]*'",
                            "Name Like 'B#'", "Instr(Group)"}) {
        const auto e = test::raised([&] { jet_to_sqlite(bad); });
        ASSERT_TRUE(e) << "translated: " << bad;
        EXPECT_EQ(e->number(), 3075) << bad;
        EXPECT_NE(e->description().find(bad), std::string::npos) << e->description();
    }
}

// Texts are quoted through the rows above.
TEST(JetSql, StripBracketsAndQuoteIdentifiers) {
    EXPECT_EQ(strip_brackets(" [Channel-Fluid-Factors] "), "Channel-Fluid-Factors");
    EXPECT_EQ(sql_quote_identifier("a\"b"), "\"a\"\"b\"");
}

// What the translated expressions compute, evaluated by SQLite.
TEST(JetSqlValues, ExpressionsComputeAsInJet) {
    test::ScratchDir scratch;
    Database db = CreateDatabase(scratch.file("values.db"));
    db.Execute("CREATE TABLE T (Name VARCHAR(20), Num INTEGER, Flag BOOLEAN)");
    db.Execute("INSERT INTO T VALUES ('Abc', 7, -1), (NULL, NULL, 0)");
    struct Case {
        const char* expr;
        Variant value;
        const char* row = "Num=7";  // the other row is all Null but Flag (False)
    };
    const Case cases[] = {
        // & binds looser than +: 'n' & 1 + 2 is "n3" in Jet; SQLite's || would bind first.
        {"'n' & 1 + 2", "n3"},                   {"Name & '-' & Num * 2", "Abc-14"},
        {"Name & 'x'", "x", "Num IS NULL"},  // Null counts as ""
        {"Instr(Name & 'def', 'CD')", 3},        {"(Name & 'z') = 'Abcz'", 1},
        {"Instr(Name, 'BC')", 2},  // text comparison ignores case
        {"Instr(Name, 'x')", 0},                 {"Instr(Name, 'x')", Variant::null(), "Num IS NULL"},
        {"Instr(2, 'abcabc', 'a')", 4},          {"Num Mod 4", 3},
        {"Left(Name, 2) & Right(Name, 1) & Mid(Name, 2, 1)", "Abcb"},
        {"Right(Name, 0)", ""},                  {"Right(Name, 10)", "Abc"},
        {"Len(Name) + Val('12.5')", 15.5},       {"UCase(Name) & LCase(Name)", "ABCabc"},
        {"Nz(Num, 99)", 99, "Num IS NULL"},      {"IsNull(Num)", -1, "Num IS NULL"},
        {"IIf(Num > 5, 'big', 'small')", "big"},
        {"Flag = True", 1},                      {"Not Flag", 0},  // booleans are -1 and Not works on them
    };
    for (const auto& c : cases) {
        Recordset rs = db.OpenRecordset(std::string("SELECT ") + c.expr + " AS v FROM T WHERE " + c.row);
        EXPECT_EQ(rs.Fields("v"), c.value) << c.expr << " where " << c.row;
    }
    EXPECT_EQ(db.OpenRecordset("SELECT * FROM T WHERE Flag AND Name Like 'a*'").RecordCount(), 1);
}

}  // namespace
}  // namespace hxq::platform
