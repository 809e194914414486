#include "platform/jet_sql.h"

#include "db_test_util.h"
#include "platform/db.h"
#include "platform/error.h"

#include <gtest/gtest.h>

namespace hxq::platform {
namespace {

TEST(JetSql, LibraryQueryTextsBecomeSQLite) {
    EXPECT_EQ(jet_to_sqlite("SELECT * FROM ModelTree WHERE Instr(Group,'S/012') > 0  AND InUse AND Instr(UserLevel, 'A')>0"),
              "SELECT * FROM ModelTree WHERE instr(upper(\"Group\"),upper('S/012')) > 0  AND InUse AND "
              "instr(upper(UserLevel),upper( 'A'))>0");
    EXPECT_EQ(jet_to_sqlite("SELECT * FROM [Channel-Fluid-Factors]"), "SELECT * FROM \"Channel-Fluid-Factors\"");
    EXPECT_EQ(jet_to_sqlite("ChannelID=7 AND FluidID=3 AND Not [V-model] AND not [CounterCurrent]"),
              "ChannelID=7 AND FluidID=3 AND Not \"V-model\" AND not \"CounterCurrent\"");
    EXPECT_EQ(jet_to_sqlite("ModelID=3 AND Table='HXQ' AND Instr(Group,'T')>0"),
              "ModelID=3 AND \"Table\"='HXQ' AND instr(upper(\"Group\"),upper('T'))>0");
    EXPECT_EQ(jet_to_sqlite("SELECT DISTINCT Customer, Default FROM Indata"), "SELECT DISTINCT Customer, \"Default\" FROM Indata");
    EXPECT_EQ(jet_to_sqlite("SELECT * FROM Convert ORDER BY UnitID"), "SELECT * FROM Convert ORDER BY UnitID");
    EXPECT_EQ(jet_to_sqlite("UnitGroup=3 AND Use AND Density=0"), "UnitGroup=3 AND Use AND Density=0");
    EXPECT_EQ(jet_to_sqlite("SELECT [Denomination] FROM [BaseArticleNumbers] WHERE [BaseArtNo]='A1'"),
              "SELECT \"Denomination\" FROM \"BaseArticleNumbers\" WHERE \"BaseArtNo\"='A1'");
    EXPECT_EQ(jet_to_sqlite("InUse = True OR Dual = False"), "InUse = -1 OR Dual = 0");
}

TEST(JetSql, StringLiteralsAreKeptIntact) {
    // Asterisks of article codes, keywords and brackets inside literals are data.
    EXPECT_EQ(jet_to_sqlite("XPC='B*10*20*316*H*1P*S'"), "XPC='B*10*20*316*H*1P*S'");
    EXPECT_EQ(jet_to_sqlite("Customer = 'Group [Table] & Not True'"), "Customer = 'Group [Table] & Not True'");
    EXPECT_EQ(jet_to_sqlite("Customer='O''Brien'"), "Customer='O''Brien'");
    // Jet's double-quoted texts are literals; SQLite would take them for names.
    EXPECT_EQ(jet_to_sqlite("Name = \"it's \"\"x\"\"\""), "Name = 'it''s \"x\"'");
}

TEST(JetSql, ClauseKeywordsStayAndColumnKeywordsAreQuoted) {
    EXPECT_EQ(jet_to_sqlite("SELECT Group, Count(*) FROM T GROUP BY Group ORDER BY Order DESC"),
              "SELECT \"Group\", Count(*) FROM T GROUP BY \"Group\" ORDER BY \"Order\" DESC");
    EXPECT_EQ(jet_to_sqlite("SELECT T.Key, Left(Name, 2) FROM T LEFT JOIN U ON T.Key = U.Key"),
              "SELECT T.\"Key\", substr(Name,1, 2) FROM T LEFT JOIN U ON T.\"Key\" = U.\"Key\"");
    EXPECT_EQ(jet_to_sqlite("SELECT DISTINCTROW TOP 5 Name FROM T;"), "SELECT Name FROM T LIMIT 5");
    EXPECT_EQ(jet_to_sqlite("Delete from Discount"), "Delete from Discount");
    EXPECT_EQ(jet_to_sqlite("Name Like 'B*1?' AND Code Like '50[%]*'"),
              "Name Like 'B%1_' AND Code Like '50\\%%' ESCAPE '\\'");
}

TEST(JetSql, UntranslatableTextsAreErrors) {
    for (const char* bad : {"Instr(Group,'S'", "Name = 'open", "[Open", "D > #1/1/2000#", "Name Like '[A-C]*'",
                            "Name Like 'B#'", "Instr(Group)"}) {
        try {
            jet_to_sqlite(bad);
            ADD_FAILURE() << "translated: " << bad;
        } catch (const Error& e) {
            EXPECT_EQ(e.number(), 3075) << bad;
            EXPECT_NE(e.description().find(bad), std::string::npos) << e.description();
        }
    }
}

TEST(JetSql, StripBracketsAndQuoting) {
    EXPECT_EQ(strip_brackets(" [Channel-Fluid-Factors] "), "Channel-Fluid-Factors");
    EXPECT_EQ(strip_brackets("ModelTree"), "ModelTree");
    EXPECT_EQ(sql_quote_identifier("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(sql_quote_text("it's"), "'it''s'");
}

// What the translated expressions compute, evaluated by SQLite.
class JetSqlValues : public ::testing::Test {
protected:
    void SetUp() override {
        db_ = CreateDatabase(scratch_.file("values.db"));
        db_.Execute("CREATE TABLE T (Name VARCHAR(20), Num INTEGER, Flag BOOLEAN)");
        db_.Execute("INSERT INTO T VALUES ('Abc', 7, -1), (NULL, NULL, 0)");
    }
    Variant eval(const std::string& expr, const std::string& where = "Num=7") {
        Recordset rs = db_.OpenRecordset("SELECT " + expr + " AS v FROM T WHERE " + where);
        return rs.Fields("v");
    }
    test::DbScratch scratch_;
    Database db_;
};

TEST_F(JetSqlValues, ConcatenationFollowsJetPrecedenceAndNull) {
    // & binds looser than +: 'n' & 1 + 2 is "n3" in Jet; SQLite's || would bind first.
    EXPECT_EQ(eval("'n' & 1 + 2").as_text(), "n3");
    EXPECT_EQ(eval("Name & '-' & Num * 2").as_text(), "Abc-14");
    EXPECT_EQ(eval("Name & 'x'", "Num IS NULL").as_text(), "x");  // Null counts as ""
    EXPECT_EQ(eval("Instr(Name & 'def', 'CD')").as_integer(), 3);
    EXPECT_EQ(eval("(Name & 'z') = 'Abcz'").as_integer(), 1);
}

TEST_F(JetSqlValues, FunctionsBehaveAsInJet) {
    EXPECT_EQ(eval("Instr(Name, 'bc')").as_integer(), 2);
    EXPECT_EQ(eval("Instr(Name, 'BC')").as_integer(), 2);  // text comparison ignores case
    EXPECT_EQ(eval("Instr(Name, 'x')").as_integer(), 0);
    EXPECT_TRUE(eval("Instr(Name, 'x')", "Num IS NULL").is_null());
    EXPECT_EQ(eval("Instr(2, 'abcabc', 'a')").as_integer(), 4);
    EXPECT_EQ(eval("Instr(5, 'abcabc', 'a')").as_integer(), 0);
    EXPECT_EQ(eval("Left(Name, 2) & Right(Name, 1) & Mid(Name, 2, 1)").as_text(), "Abcb");
    EXPECT_EQ(eval("Right(Name, 0)").as_text(), "");
    EXPECT_EQ(eval("Right(Name, 10)").as_text(), "Abc");
    EXPECT_EQ(eval("Len(Name) + Val('12.5')").as_double(), 15.5);
    EXPECT_EQ(eval("UCase(Name) & LCase(Name)").as_text(), "ABCabc");
    EXPECT_EQ(eval("IIf(Num > 5, 'big', 'small')").as_text(), "big");
    EXPECT_EQ(eval("Nz(Num, 99)", "Num IS NULL").as_integer(), 99);
    EXPECT_EQ(eval("IsNull(Num)", "Num IS NULL").as_integer(), -1);
    EXPECT_EQ(eval("Num Mod 4").as_integer(), 3);
}

TEST_F(JetSqlValues, BooleansAreMinusOneAndNotWorksOnThem) {
    EXPECT_EQ(eval("Flag = True").as_integer(), 1);
    EXPECT_EQ(eval("Not Flag").as_integer(), 0);
    EXPECT_EQ(eval("Not Flag", "Num IS NULL").as_integer(), 1);
    EXPECT_EQ(eval("Flag <> 0").as_integer(), 1);
    Recordset rs = db_.OpenRecordset("SELECT * FROM T WHERE Flag AND Name Like 'a*'");
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Fields("Flag"), Variant(true));
}

}  // namespace
}  // namespace hxq::platform
