#include "core/filter_check.h"
#include "core/fixture.h"
#include "platform/error.h"

#include <gtest/gtest.h>

#include <array>

namespace hxq::core {
namespace {

class FilterCheckTest : public test::ScratchTest {
protected:
    void SetUp() override {
        product = open("products.db", R"(
CREATE TABLE Denomination (NodeID SMALLINT, Class TEXT, Type TEXT, Size TEXT);
INSERT INTO Denomination VALUES (3, 'QB', 'H', '10'), (4, 'QB', 'M', '12'), (5, 'QB', 'L', '14');
)");
        selector = open("ps.dat", R"(
CREATE TABLE BaseArticleNumbers (Class TEXT, Type TEXT, Size TEXT, Material TEXT, Pressure TEXT,
                                 Factory TEXT, BaseArtNo TEXT);
INSERT INTO BaseArticleNumbers VALUES
 ('QB', 'H', '10', '316', 'PN30', 'North;South', 'A100'),
 ('QB', 'H', '10', 'SMO', 'PN30', 'South', 'A101'),
 ('QB', 'M', '12', '316', 'PN16', 'West', 'A200');
CREATE TABLE ITEM_PLAN_NF (ArtNo TEXT, NoPlates SMALLINT, WHS_NBR TEXT, conXPC TEXT);
INSERT INTO ITEM_PLAN_NF VALUES
 ('A100', 20, '01', 'G1'), ('A100', 20, '01', 'G1'), ('A100', 30, '01', 'G2'),
 ('A100', 40, '02', 'G1'), ('A200', 16, '01', 'G1');
)");
        denomination = product.OpenRecordset("SELECT * FROM Denomination");
        sources = {&denomination, &selector};
        filter.Active = true;
    }

    bool check(std::int16_t node) { return FilterCheck("SPC", node, sources, filter, forced, plates, count); }

    platform::Database product, selector;
    platform::Recordset denomination;
    FilterSources sources;
    FilterType filter;
    bool forced = false;
    Bounded<std::int16_t, 1, 20> plates{};
    std::int16_t count = 0;
};

TEST_F(FilterCheckTest, InactiveFilterPassesWithoutLookingAndActiveNeedsTheMainDatabaseTables) {
    filter.Active = false;
    EXPECT_TRUE(FilterCheck("CON", 99, FilterSources{}, filter, forced, plates, count));
    EXPECT_FALSE(forced);
    filter.Active = true;
    EXPECT_EQ(test::error_of([&] { FilterCheck("VAP", 3, FilterSources{}, filter, forced, plates, count); }).number(),
              91);
}

TEST_F(FilterCheckTest, MaterialPressureAndFactoryOfTheBaseArticle) {
    struct Case {
        std::int16_t node;
        const char *material, *pressure, *factory;
        bool passes;
    };
    for (const Case& c : std::array<Case, 8>{{
             {3, "", "", "", true},  // any article of the denomination
             {5, "", "", "", false},  // no base article at all
             {42, "", "", "", false},  // no denomination row
             {3, "SMO", "", "", true},
             {3, "SMO", "PN16", "", false},
             {3, "", "", "South", true},  // found inside "North;South"
             {3, "", "", "East", false},
             {3, "3'16", "", "", false},  // a quote in a user's text cannot break the criterion
         }}) {
        SCOPED_TRACE(testing::Message() << c.node << " " << c.material << " " << c.pressure << " " << c.factory);
        filter.Material = c.material;
        filter.Pressure = c.pressure;
        filter.Factory = c.factory;
        EXPECT_EQ(check(c.node), c.passes);
    }
    EXPECT_FALSE(forced);
}

TEST_F(FilterCheckTest, WarehouseStockPadsToThreePlateCounts) {
    filter.cew = true;
    filter.whs = "01";
    filter.Material = "316";
    ASSERT_TRUE(check(3));
    EXPECT_TRUE(forced);
    EXPECT_EQ(count, 3);
    // Two distinct counts: 20 and 30, the last repeated.
    EXPECT_EQ(plates[3], plates[2]);
    EXPECT_EQ(std::min(plates[1], plates[2]), 20);
    EXPECT_EQ(std::max(plates[1], plates[2]), 30);
}

TEST_F(FilterCheckTest, WarehouseStockWithConnectionCodes) {
    filter.cew = true;
    filter.whs = "01";
    filter.ConnXPCs = "G1";
    ASSERT_TRUE(check(3));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(plates[1], 20);
    EXPECT_EQ(plates[3], 20);
    // Two codes are joined by a proper OR.
    filter.ConnXPCs = "G1;G2;";
    forced = false;
    ASSERT_TRUE(check(3));
    EXPECT_TRUE(forced);
    filter.ConnXPCs = "G9";
    forced = false;
    EXPECT_FALSE(check(3));
    EXPECT_FALSE(forced);
    filter.whs = "03";
    filter.ConnXPCs = "";
    EXPECT_FALSE(check(3));
}

TEST_F(FilterCheckTest, WarehouseQueryText) {
    FilterType f;
    f.whs = "01";
    f.ConnXPCs = "G1;G2";
    EXPECT_EQ(WarehousePlatesQuery(ArticleCriteria("QB", "H", "10", f), f),
              "SELECT DISTINCT ITEM_PLAN_NF.NoPlates FROM BaseArticleNumbers INNER JOIN ITEM_PLAN_NF ON "
              "BaseArticleNumbers.BaseArtNo = ITEM_PLAN_NF.ArtNo WHERE Class = 'QB' AND Type = 'H' AND "
              "Size = '10' AND ITEM_PLAN_NF.WHS_NBR='01' AND (conXPC='G1' OR conXPC='G2')");
    f.Material = "316";
    f.Pressure = "PN30";
    EXPECT_EQ(ArticleCriteria("QB", "H", "10", f),
              "Class = 'QB' AND Type = 'H' AND Size = '10' AND Material = '316' AND Pressure = 'PN30'");
}

TEST_F(FilterCheckTest, MoreThanTwentyStockedCountsKeepTwenty) {
    std::string sql = "DELETE FROM ITEM_PLAN_NF;";
    for (int n = 10; n < 60; n += 2) sql += "INSERT INTO ITEM_PLAN_NF VALUES ('A100', " + std::to_string(n) + ", '01', 'G1');";
    test::exec_sql(scratch.file("ps.dat"), sql);
    filter.cew = true;
    filter.whs = "01";
    ASSERT_TRUE(check(3));
    EXPECT_EQ(count, 20);
}

TEST_F(FilterCheckTest, RecordsetsAreClosedAfterAnError) {
    test::exec_sql(scratch.file("ps.dat"), "DROP TABLE ITEM_PLAN_NF;");
    filter.cew = true;
    filter.whs = "01";
    const test::OpenHandles handles;
    EXPECT_THROW(check(3), platform::Error);
    handles.expect_closed();
}

}  // namespace
}  // namespace hxq::core
