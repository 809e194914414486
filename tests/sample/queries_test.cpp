// The library's own query and criteria texts, in Jet dialect through the database layer,
// select what the sample range is laid out to give: the groups and user levels, the
// children of a node, the correction-factor fallbacks and the article-code fallback.
#include "sample_db.h"

#include "platform/db.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace hxq::sample_test {
namespace {

using platform::Database;
using platform::OpenDatabase;
using platform::Recordset;

std::string db_path(const char* file) { return (sample_dir() / file).string(); }

std::set<std::string> aliases(Database& db, const std::string& sql) {
    Recordset rs = db.OpenRecordset(sql);
    std::set<std::string> out;
    while (!rs.Eof()) {
        out.insert(rs.Fields("Alias").as_text());
        rs.MoveNext();
    }
    return out;
}

std::string spc_group(int group, const std::string& level) {
    char num[8];
    std::snprintf(num, sizeof num, "%03d", group);
    return std::string("SELECT * FROM ModelTree WHERE Instr(Group,'S/") + num +
           "') > 0  AND InUse AND Instr(UserLevel, '" + level + "')>0";
}

TEST(SampleQueries, GroupQueriesHonourMembershipsUserLevelsAndRetirement) {
    Database db = OpenDatabase(db_path("products.db"), true);
    EXPECT_EQ(aliases(db, spc_group(12, "C")), (std::set<std::string>{"Q10", "Q14", "Q22", "Q32"}));
    // The two largest sizes are hidden from user level C.
    EXPECT_EQ(aliases(db, spc_group(13, "C")), (std::set<std::string>{"Q32", "Q45", "Q60", "Q90", "Q140", "Q220"}));
    EXPECT_EQ(aliases(db, spc_group(13, "A")).size(), 8u);
    // The whole range reaches its members through the two size groups, and Q32 directly.
    EXPECT_EQ(aliases(db, spc_group(11, "B")),
              (std::set<std::string>{"Small single-phase units", "Large single-phase units", "Q32"}));
    EXPECT_TRUE(aliases(db, "SELECT * FROM ModelTree WHERE Instr(Group,'E/034') > 0 AND InUse AND "
                            "Instr(UserLevel, 'C')>0")
                    .empty());
    EXPECT_EQ(aliases(db, "SELECT * FROM ModelTree WHERE ParentID=52 AND Instr(Group,'A/052') > 0 AND InUse").size(),
              3u);
    // The retired size is a member of no group that a calculation can select.
    Recordset retired = db.OpenRecordset("SELECT * FROM ModelTree WHERE Alias='Q18' AND Not InUse");
    ASSERT_EQ(retired.RecordCount(), 1);
    EXPECT_TRUE(retired.Fields("Group").as_text().find('/') == std::string::npos);
}

TEST(SampleQueries, SubtreeWalkFindsChannelVariantsOfTheDutyOnly) {
    Database db = OpenDatabase(db_path("products.db"), true);
    Recordset tree = db.OpenRecordset("SELECT * FROM ModelTree");
    ASSERT_TRUE(tree.FindFirst("Alias='Q22' AND Instr(Group,'S/012')>0"));
    const auto folder = tree.Fields("NodeID").as_integer();
    const std::string child = "ParentID=" + std::to_string(folder) + " AND Instr(Group,'S')>0 AND Instr(UserLevel, '";
    std::set<std::string> seen_c, seen_a;
    for (bool f = tree.FindFirst(child + "C')>0"); f; f = tree.FindNext(child + "C')>0"))
        seen_c.insert(tree.Fields("ChannelType").as_text() + tree.Fields("Alias").as_text());
    for (bool f = tree.FindFirst(child + "A')>0"); f; f = tree.FindNext(child + "A')>0"))
        seen_a.insert(tree.Fields("Alias").as_text());
    EXPECT_EQ(seen_c.size(), 3u);  // H, M, L
    EXPECT_EQ(seen_a.size(), 6u);  // and the mixed H+M, M+L and the double-wall execution
    // Condenser children are not single-phase children.
    ASSERT_TRUE(tree.FindFirst("Alias='Q22' AND Instr(Group,'C/022')>0"));
    const auto con = tree.Fields("NodeID").as_integer();
    EXPECT_FALSE(tree.FindFirst("ParentID=" + std::to_string(con) + " AND Instr(Group,'S')>0"));
    EXPECT_TRUE(tree.FindFirst("ParentID=" + std::to_string(con) + " AND Instr(Group,'C')>0"));
    // A folder without children is its own candidate.
    ASSERT_TRUE(tree.FindFirst("Alias='Special builds (none yet)'"));
    EXPECT_FALSE(tree.FindFirst("ParentID=" + std::to_string(tree.Fields("NodeID").as_integer())));
    // The stage-1 candidates of a two-stage unit share its model.
    Recordset stage = db.OpenRecordset("SELECT * FROM ModelTree WHERE ModelID=5 AND Table='HXQ' AND Instr(Group,'T')>0");
    EXPECT_EQ(stage.RecordCount(), 4);
}

TEST(SampleQueries, CorrectionFactorsFallBackToFluidZeroThenToDefaults) {
    Database db = OpenDatabase(db_path("products.db"), true);
    Recordset cff = db.OpenRecordset("SELECT * FROM [Channel-Fluid-Factors]");
    // Q22-H (31) has rows of its own for R134a (20); Q32-H (41) only the fallback.
    EXPECT_TRUE(cff.FindFirst("ChannelID=31 AND FluidID=20 AND Not [V-model] AND [CounterCurrent]"));
    EXPECT_DOUBLE_EQ(cff.Fields("cNuCorrVAP").as_double(), 1.08);
    EXPECT_FALSE(cff.FindFirst("ChannelID=41 AND FluidID=20 AND Not [V-model] AND not [CounterCurrent]"));
    EXPECT_TRUE(cff.FindFirst("ChannelID=41 AND FluidID=0 AND Not [V-model] AND not [CounterCurrent]"));
    // A V-ring evaporator has V-model rows; a low-angle channel has none at all.
    EXPECT_TRUE(cff.FindFirst("ChannelID=51 AND FluidID=0 AND [V-model] AND [CounterCurrent]"));
    EXPECT_FALSE(cff.FindFirst("ChannelID=42 AND FluidID=0"));
}

TEST(SampleQueries, ArticleCodeSearchCountsPassesDown) {
    Database db = OpenDatabase(db_path("products.db"), true);
    Database sel = OpenDatabase(db_path("selector.db"), true);
    Recordset den = db.OpenRecordset("SELECT * FROM Denomination");
    Recordset meas = sel.OpenRecordset("SELECT * FROM HXQMeas");
    Recordset tree = db.OpenRecordset("SELECT * FROM ModelTree");
    ASSERT_TRUE(tree.FindFirst("Alias='Q45 H' AND Instr(Group,'S')>0"));
    ASSERT_TRUE(den.FindFirst("NodeID=" + std::to_string(tree.Fields("NodeID").as_integer())));
    const std::string stem = den.Fields("Class").as_text() + "*" + den.Fields("Type").as_text() + "*" +
                             den.Fields("Size").as_text() + "*" + den.Fields("Material").as_text() + "*" +
                             den.Fields("Chantype").as_text() + "*";
    EXPECT_FALSE(meas.FindFirst("XPC='" + stem + "3P*S'"));
    EXPECT_TRUE(meas.FindFirst("XPC='" + stem + "2P*S'"));
    EXPECT_GT(meas.Fields("MinNoP").as_integer(), 4);
    // A two-phase unit of the same node type has its one-pass code.
    EXPECT_TRUE(meas.FindFirst("XPC='" + stem + "1P*S'"));
}

TEST(SampleQueries, FilterFindsWarehouseStockWithConnections) {
    Database sel = OpenDatabase(db_path("selector.db"), true);
    const std::string c = "Class = 'QB' AND Type = 'Q10' AND Size = '16'";
    Recordset base = sel.OpenRecordset("SELECT * FROM BaseArticleNumbers WHERE " + c + " AND Material = 'C'");
    ASSERT_FALSE(base.Eof());
    EXPECT_NE(base.Fields("Factory").as_text().find("F2"), std::string::npos);
    Recordset stock = sel.OpenRecordset(
        "SELECT DISTINCT ITEM_PLAN_NF.NoPlates FROM BaseArticleNumbers INNER JOIN ITEM_PLAN_NF ON"
        " BaseArticleNumbers.BaseArtNo = ITEM_PLAN_NF.ArtNo WHERE " + c +
        " AND ITEM_PLAN_NF.WHS_NBR='100' AND (conXPC='CT16' OR conXPC='CS16')");
    EXPECT_EQ(stock.RecordCount(), 3);
    Recordset none = sel.OpenRecordset("SELECT * FROM BaseArticleNumbers WHERE Class = 'QB' AND Type = 'Q500' AND Size = '100'");
    EXPECT_TRUE(none.Eof());
}

}  // namespace
}  // namespace hxq::sample_test
