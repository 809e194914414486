// AD_Main over the sample range's air dryers: the models of a group, their AD-Models
// rows and units, prices and the seven cheapest in order, progress and errors; with
// scripted engines, and one design of a sample air dryer with the real engines.
#include "ad_fixture.h"

#include "core/fixture.h"
#include "core/sample_duties.h"
#include "core/xer_tag.h"
#include "platform/db.h"

#include <fmt/format.h>

#include <algorithm>
#include <filesystem>
#include <map>

namespace hxq::test {
namespace {

class ADMain : public ADSearch {
protected:
    void SetUp() override {
        ADSearch::SetUp();
        std::filesystem::copy_file(sample("products.db"), products);
        core::CalculationSources s = sample_sources();
        s.MainProductDB = products;
        opt.SetSources(s);
        opt.CalcPercent.subscribe([this](std::int16_t& p) { percents.push_back(p); });
        data.ADInData = input;
        data.ADInData.XerIndex = 52;
        data.ADInData.IsGroup = true;
    }
    // Nine more air dryers in group 52 on the units of AD 200, start prices as given;
    // `max_plates` 8 builds no pair.
    void add_models(const std::vector<std::pair<int, int>>& start_and_max_plates) {
        std::string sql;
        int id = 301;
        for (const auto& [start, max_plates] : start_and_max_plates) {
            sql += fmt::format(
                "INSERT INTO ModelTree (NodeID, ParentID, Alias, \"Group\", UserLevel, InUse, \"Table\", PureType, "
                "ModelID, Dual, PriceID) VALUES ({0}, 52, 'AD {0}', 'A/052', 'ABC', -1, 'AD-Models', 'AD {0}', {0}, 0, "
                "{0});"
                "INSERT INTO \"AD-Models\" VALUES ({0}, 3, 32, 32, 3, 31, 31, {0}, 3, 1, {1}, 40, 60);"
                "INSERT INTO Cost (PriceID, Description, TQSP1, TQSP2, PricePass) VALUES ({0}, 'AD {0}', {2}, 10, 0);",
                id++, max_plates, start);
        }
        exec_sql(products, sql);
    }

    ScratchDir folder;
    std::string products = folder.file("products.db");
    batch::ADDataType data;
    std::vector<std::int16_t> percents;
};

TEST_F(ADMain, ALargeGroupKeepsTheSevenCheapestThatExist) {
    add_models({{1000, 100}, {3000, 100}, {1500, 100}, {5000, 100}, {2500, 100},
                {800, 100}, {4500, 100}, {1200, 100}, {100, 8}});
    // Each model alone gives the price the group run must rank: its start and plate prices
    // by the plates of the pair (AD 200: 1900 + 14 per plate).
    std::vector<std::pair<float, std::string>> alone;
    for (int node : {279, 280, 281, 301, 302, 303, 304, 305, 306, 307, 308, 309}) {
        SCOPED_TRACE(node);
        batch::ADDataType single = data;
        single.ADInData.IsGroup = false;
        single.ADInData.XerIndex = static_cast<std::int16_t>(node);
        opt.AD_Main(single);
        const auto& out = single.ADOutData;
        if (node == 309) {
            EXPECT_FALSE(out[1].Exist) << "a model without a buildable pair is not ranked";
            continue;
        }
        ASSERT_TRUE(out[1].Exist);
        EXPECT_FALSE(out[2].Exist);
        EXPECT_FLOAT_EQ(out[2].TotalPrice, 1e30f);
        EXPECT_EQ(out[1].XerNodeID, node);
        EXPECT_FLOAT_EQ(out[1].TotalPrice, out[1].Startprice + out[1].Plateprice * out[1].TotalNumberOfPlates);
        if (node == 279) {
            EXPECT_EQ(out[1].XerType, "AD 200");
            EXPECT_EQ(out[1].XerModelID, 201);
            EXPECT_FLOAT_EQ(out[1].Startprice, 1900);
            EXPECT_FLOAT_EQ(out[1].Plateprice, 14);
        }
        alone.emplace_back(out[1].TotalPrice, out[1].XerType);
    }
    std::sort(alone.begin(), alone.end());
    percents.clear();
    opt.AD_Main(data);
    for (int i = 1; i <= 7; ++i) {
        SCOPED_TRACE(i);
        ASSERT_TRUE(data.ADOutData[i].Exist);
        EXPECT_EQ(data.ADOutData[i].XerType, alone[i - 1].second);
        EXPECT_FLOAT_EQ(data.ADOutData[i].TotalPrice, alone[i - 1].first);
    }
    EXPECT_EQ(percents.size(), 12u);
    EXPECT_EQ(percents.back(), 100);
    EXPECT_TRUE(prompter->shown().empty());
}

TEST_F(ADMain, TheGroupComesFromTheNodesTag) {
    platform::Database db = platform::OpenDatabase(products, true);
    platform::Recordset tree = db.OpenRecordset("SELECT * FROM ModelTree WHERE NodeID=52");
    data.ADInData.XerTag = core::BuildXerTag(tree, products);
    data.ADInData.XerIndex = 0;  // the tag names node and database
    core::CalculationSources s = sample_sources();
    s.MainProductDB = "/nonexistent/products.db";  // the tag's database is used
    opt.SetSources(s);
    opt.AD_Main(data);
    EXPECT_TRUE(prompter->shown().empty());
    EXPECT_TRUE(data.ADOutData[3].Exist);
}

TEST_F(ADMain, AModelsOwnPlateNumbersAreUsedForARatingAndOthersKeepTheEntered) {
    data.ADInData.ADFormIndata.CalcMethod = 1;
    data.ADInData.ADFormIndata.AirNoOfPlates = 24;
    data.ADInData.ADFormIndata.RefNoOfPlates = 16;
    opt.AD_Main(data);
    std::map<std::string, std::int16_t> plates;
    for (const auto& slot : data.ADOutData)
        if (slot.Exist) plates[slot.XerType] = slot.RefNumberOfPlates;
    // AD 200: 40 + 60, AD 350: 50 + 90 of their rows; AD 600 has none: the entered 16,
    // although it is rated after the others.
    EXPECT_EQ(plates, (std::map<std::string, std::int16_t>{{"AD 200", 40}, {"AD 350", 50}, {"AD 600", 16}}));
    EXPECT_EQ(data.ADInData.ADFormIndata.AirNoOfPlates, 24) << "the entered numbers stay";
    EXPECT_EQ(data.ADInData.ADFormIndata.RefNoOfPlates, 16);
}

TEST_F(ADMain, AnErrorEndsTheRunWithTheSlotsFoundSoFar) {
    exec_sql(products,
         "INSERT INTO ModelTree (NodeID, ParentID, Alias, \"Group\", UserLevel, InUse, \"Table\", ModelID, Dual) "
         "VALUES (900, 52, 'AD 999', 'A/052', 'ABC', -1, 'AD-Models', 999, 0)");
    opt.AD_Main(data);
    ASSERT_EQ(prompter->shown().size(), 1u);
    EXPECT_EQ(prompter->shown()[0].text,
              "Error number -2147220838\r\nNo AD-Models row of model 999\r\nOccured in AD-Main");
    EXPECT_TRUE(data.ADOutData[3].Exist);
    EXPECT_FALSE(data.ADOutData[4].Exist);
    EXPECT_EQ(percents.size(), 3u) << "no progress after the failing model";
}

TEST_F(ADMain, AMissingDatabaseIsShown) {
    core::CalculationSources s = sample_sources();
    s.MainProductDB = folder.file("missing.db");
    opt.SetSources(s);
    opt.AD_Main(data);
    ASSERT_EQ(prompter->shown().size(), 1u);
    EXPECT_NE(prompter->shown()[0].text.find("Occured in AD-Main"), std::string::npos);
    EXPECT_FALSE(data.ADOutData[1].Exist);
    EXPECT_EQ(platform::db_open_handles().databases, 0);
    EXPECT_EQ(platform::db_open_handles().recordsets, 0);
}

// A sample air dryer with the real engines (the engine tests hold the humid air's
// balances, the scripted searches the limits a pair must keep): the search chains the air
// unit's pre-cooled air into the evaporator, which dries it to the dew point.
TEST_F(ADMain, DesignOfTheSmallestSampleDryerWithTheRealEngines) {
    opt.Calculation().SetSinglePhaseEngine(nullptr);
    opt.Calculation().SetEvaporatorEngine(nullptr);
    air_dryer_duty(data.ADInData, 279, false);  // AD 200
    opt.AD_Main(data);
    for (const auto& p : prompter->shown()) ADD_FAILURE() << p.text;
    const batch::ADOutputType& r = data.ADOutData[1];
    ASSERT_TRUE(r.Exist);
    const auto& a = r.AirHXQResults;
    const auto& e = r.RefHXQResults_new;
    EXPECT_FLOAT_EQ(r.DewTemp, 3);
    // Both loads in W: the wet air's drop to the pre-cooled temperature, and from there
    // to the dew point.
    const auto& wet_air = *data.ADInData.AirIndata.InData.Fluid[2];
    EXPECT_NEAR(a.HeatLoad, 0.06 * (wet_air.YEnthalpy(35) - wet_air.YEnthalpy(a.OutletTemp[2])), 1e-6 * a.HeatLoad);
    const auto& air = *data.ADInData.RefIndata.AirFluid;
    EXPECT_NEAR(e.HeatLoad, 0.06 * (air.YEnthalpy(a.OutletTemp[2]) - air.YEnthalpy(3)), 1e-6 * e.HeatLoad);

    // The same pair rated (the input still holds AD 200's units): it reaches at least
    // the design dew point.
    batch::ADInputType in = data.ADInData;
    in.ADFormIndata.CalcMethod = 1;
    in.ADFormIndata.AirNoOfPlates = static_cast<std::int16_t>(r.TotalNumberOfPlates - r.RefNumberOfPlates);
    in.ADFormIndata.RefNoOfPlates = r.RefNumberOfPlates;
    batch::ADOutputType rated = opt.P_ADCalc(in);
    ASSERT_TRUE(rated.Exist);
    EXPECT_LE(rated.DewTemp, 3.01);
    EXPECT_GE(rated.DewTemp, 1.0);
}

}  // namespace
}  // namespace hxq::test
