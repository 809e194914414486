// The model tree, prices, filter and physical data on the sample product range.
#include "core/filter_check.h"
#include "core/model_data.h"
#include "core/model_tree.h"
#include "core/price_data.h"
#include "core/xer_physics.h"
#include "core/xer_tag.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace hxq::core {
namespace {

using platform::Recordset;

std::string sample(const char* name) { return std::string(HXQ_SAMPLE_DIR) + "/" + name; }

class CountingRating : public CandidateRating<OutDataType> {
public:
    std::vector<int> rated;
    bool PassesFilter(std::int16_t) override { return true; }
    void Rate(Recordset&, OutDataType& alt) override {
        rated.push_back(alt.nodeid);
        alt.Price = static_cast<float>(alt.nodeid);
    }
    bool Better(const OutDataType& candidate, const OutDataType& best) override {
        return candidate.Price <= best.Price;
    }
};

class SampleRange : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* db : {"products.db", "selector.db", "stock.db"})
            if (!std::filesystem::exists(sample(db))) GTEST_SKIP() << "sample databases not built";
        products = platform::OpenDatabase(sample("products.db"));
        selector = platform::OpenDatabase(sample("selector.db"));
        stockdb = platform::OpenDatabase(sample("stock.db"));
        tree = products.OpenRecordset("SELECT * FROM ModelTree");
    }

    std::vector<int> walk_group(int group, const std::string& level) {
        Recordset rows = products.OpenRecordset(MainQuery(Duty::SinglePhase, true, group, level));
        WalkOptions o;
        o.user_level = level;
        for (; !rows.Eof(); rows.MoveNext())
            NodeCalc<OutDataType>(tree, ToInt16(rows.Fields("NodeID")), o, calculated, rating);
        return rating.rated;
    }

    platform::Database products, selector, stockdb;
    Recordset tree;
    CalculatedSet calculated;
    CountingRating rating;
};

TEST_F(SampleRange, SmallAndLargeGroupsShareQ32OnlyOnce) {
    const auto small = walk_group(12, "A");
    EXPECT_NE(std::find(small.begin(), small.end(), 116), small.end());  // Q32 H
    const std::size_t after_small = small.size();
    const auto all = walk_group(13, "A");
    // Q32's three channel nodes, rated with the small group, are not rated again.
    EXPECT_EQ(std::count(all.begin(), all.end(), 116), 1);
    EXPECT_EQ(std::count(all.begin(), all.end(), 118), 1);
    EXPECT_GT(all.size(), after_small);
    EXPECT_EQ(calculated.size(), all.size());
}

TEST_F(SampleRange, UserLevelCSeesNoMixedChannels) {
    const auto rated = walk_group(13, "C");
    EXPECT_EQ(std::find(rated.begin(), rated.end(), 123), rated.end());  // Q45 HM
    EXPECT_EQ(std::find(rated.begin(), rated.end(), 144), rated.end());  // Q320
    EXPECT_NE(std::find(rated.begin(), rated.end(), 120), rated.end());  // Q45 H
}

TEST_F(SampleRange, Q14HasNoCostRowAndTwoStockLevels) {
    Recordset stock = stockdb.OpenRecordset("Stock");
    Recordset cost = products.OpenRecordset("Cost");
    Bounded<std::int16_t, 1, 20> levels{};
    std::int16_t count = 0;
    PriceType price;
    ASSERT_TRUE(tree.FindFirst("NodeID=105"));
    GetPriceData(tree.Fields("StockID"), ToInt16(tree.Fields("PriceID")), levels, count, price, stock, cost, false);
    EXPECT_EQ(price.Startprice, 1000);
    EXPECT_EQ(price.Plateprice, 10);
    EXPECT_EQ(price.PassPrice, 1000);
    EXPECT_EQ(count, 2);
}

TEST_F(SampleRange, ThreePassQ45TakesTheTwoPassArticle) {
    Recordset denomination = products.OpenRecordset("Denomination");
    Recordset channel = products.OpenRecordset("Channel");
    Recordset measures = selector.OpenRecordset("HXQMeas");
    OutDataType alt;
    alt.nodeid = 120;
    alt.OutputData.NoOfPlates = 39;
    alt.OutputData.NoOfPasses = 3;
    alt.OutputData.Passes[1] = 3;
    alt.OutputData.Passes[2] = 1;
    alt.OutputData.Channelout[1][1] = 18;  // the unit's channels: 6 in each of 3 passes
    alt.OutputData.Channelout[2][1] = 20;
    ASSERT_TRUE(GetXerPhysicsSPC(denomination, measures, tree, channel, alt));
    EXPECT_GT(alt.XerPhysics.length, 0);
    EXPECT_GT(alt.XerPhysics.Vol[1], 0);
    EXPECT_FLOAT_EQ(alt.XerPhysics.Vol[1], alt.XerPhysics.Vol[2] * 18 / 20);
    EXPECT_GT(alt.XerPhysics.Weight_empty, 0);
}

TEST_F(SampleRange, FilterAndChannelDataOfASampleModel) {
    Recordset denomination = products.OpenRecordset("Denomination");
    FilterType filter;
    filter.Active = true;
    filter.Material = "C";
    bool forced = false;
    Bounded<std::int16_t, 1, 20> plates{};
    std::int16_t count = 0;
    FilterSources sources{&denomination, &selector};
    EXPECT_TRUE(FilterCheck("SPC", 101, sources, filter, forced, plates, count));
    filter.Material = "titanium";
    EXPECT_FALSE(FilterCheck("SPC", 101, sources, filter, forced, plates, count));

    Recordset channel = products.OpenRecordset("Channel");
    ASSERT_TRUE(tree.FindFirst("NodeID=101"));
    PerSide<SinglePhaseSide> sides;
    ReadSideData(tree, channel, sides);
    EXPECT_EQ(sides[1].Left.ChannelID, 11);
    EXPECT_GT(sides[1].PortDia, 0);
    EXPECT_GT(sides[1].Left.cnu, 0);
}

TEST_F(SampleRange, GroupNodeTag) {
    ASSERT_TRUE(tree.FindFirst("NodeID=12"));
    const XerTagInfo info = ParseXerTag(BuildXerTag(tree, sample("products.db")));
    EXPECT_TRUE(info.IsGroup);
    EXPECT_EQ(info.GroupOrNode, 12);
    // The Q32 family folder is a member of three groups but no group itself: its group
    // query would find nothing, so the tag has it rated as one node with its subtree.
    ASSERT_TRUE(tree.FindFirst("NodeID=115"));
    const XerTagInfo folder = ParseXerTag(BuildXerTag(tree, sample("products.db")));
    EXPECT_FALSE(folder.IsGroup);
    EXPECT_EQ(folder.GroupOrNode, 115);
    EXPECT_EQ(ToInt16(tree.Fields("NodeID")), 115);  // the look-up leaves the row as it was
    ASSERT_TRUE(tree.FindFirst("NodeID=244"));
    EXPECT_TRUE(ParseXerTag(BuildXerTag(tree, sample("products.db"))).Dual);
}

}  // namespace
}  // namespace hxq::core
