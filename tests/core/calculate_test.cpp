// The single-phase main loop: with a scripted engine on scratch databases (the walk over
// groups and models, the ranking into the seven slots, prices, physical data, errors and
// clean-up), and one multi-pass unit with the real engine on the sample product range.
#include "core/calculate.h"
#include "core/fixture.h"
#include "platform/db.h"
#include "platform/error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>

namespace hxq::core {
namespace {

using test::error_of;
using test::Reply;
using test::ScriptedEngine;

class Driver : public ::testing::Test {
protected:
    Driver() {
        auto e = std::make_unique<ScriptedEngine>();
        engine = e.get();
        calc = std::make_unique<clsCalculate>(std::move(e));
        // Another product database unless a test needs the main one's physical data.
        calc->SetSources(db.sources(false));
        data.GivenValues.XerDB = db.products;
        data.GivenValues.Price = PriceType{};
    }

    void group(int number) {
        data.GivenValues.IsXerGroup = true;
        data.GivenValues.XerID = static_cast<std::int16_t>(number);
    }
    void model(int node) {
        data.GivenValues.IsXerGroup = false;
        data.GivenValues.XerID = static_cast<std::int16_t>(node);
    }
    void run() { calc->SPCMainCalcLoop(data); }

    std::vector<int> slot_nodes() const {
        std::vector<int> out;
        for (const auto& s : data.outdata)
            if (s.OutputData.Valid) out.push_back(s.nodeid);
        return out;
    }

    test::DriverDatabases db;
    ScriptedEngine* engine = nullptr;
    std::unique_ptr<clsCalculate> calc;
    SPCDataType data;
};

TEST_F(Driver, AModelReachedThroughTwoGroupsIsRatedOnce) {
    // Group 10 lists model 3 directly, then the folder 5 that holds models 3 and 4.
    db.node(3, 5, "S S/010", 3);
    db.node(4, 5, "S", 4);
    db.node(5, 1, "S S/010", 0);
    engine->replies[3] = Reply{.plates = 10};
    engine->replies[4] = Reply{.plates = 30};
    group(10);
    run();
    EXPECT_EQ(engine->rated_models(), (std::vector<int>{3, 4}));
    std::vector<int> nodes = slot_nodes();
    std::sort(nodes.begin(), nodes.end());
    // Model 3's second visit gives nothing and does not push its sibling 4 out.
    EXPECT_EQ(nodes, (std::vector<int>{3, 4}));
    EXPECT_TRUE(calc->IsCalculated(0));
}

TEST_F(Driver, AFilteredModelNeverDisplacesItsSibling) {
    db.node(3, 5, "S", 3);
    db.node(4, 5, "S", 4);
    db.node(5, 1, "S S/010", 0);
    db.article(3);
    db.article(4);
    // Model 3 would be far cheaper, but no base article of material "D" exists for it.
    test::exec_sql(db.selector, "UPDATE BaseArticleNumbers SET Material = 'D' WHERE BaseArtNo = 'A4'");
    engine->replies[3] = Reply{.plates = 4};
    engine->replies[4] = Reply{.plates = 90};
    data.GivenValues.Filter.Active = true;
    data.GivenValues.Filter.Material = "D";
    calc->SetSources(db.sources());
    group(10);
    run();
    EXPECT_EQ(engine->rated_models(), (std::vector<int>{4}));
    EXPECT_EQ(slot_nodes(), (std::vector<int>{4}));
}

// The slots fill in rank order, and once all seven are full a candidate must beat the
// last one kept, replace it and move up to its rank.
TEST_F(Driver, SevenSlotsKeepTheFewestUnitsThenTheCheapestAndTheLaterOfEqualOnes) {
    // Ten nodes answered in the order rated, all of price row 1 (10 per plate, start 100,
    // pass 50) but node 6 of model 5 (no Cost row: 10 per plate, start 1000). The first
    // seven fill the slots as 4 1 3 6 (one unit), 2 5 (two), 7 (three).
    const std::vector<Reply> script{{.plates = 50}, {.plates = 10, .units = 2}, {.plates = 60}, {.plates = 30},
                                    {.plates = 20, .units = 2}, {.plates = 40}, {.plates = 5, .units = 3},
                                    {.plates = 90, .passes = 2},  // fewer units than the last: after 3
                                    {.plates = 30},               // equal to the first: before it
                                    {.plates = 1, .units = 3}};   // cheaper than the last, more units: out
    for (int n = 1; n <= 10; ++n) db.node(n, 0, "S S/010", n == 6 ? 5 : 1);
    engine->before = [&](const SinglePhaseInput&) { engine->fallback = script[engine->calls.size() - 1]; };
    std::vector<int> progress;
    calc->CalcPercent.subscribe([&](std::int16_t& p) { progress.push_back(p); });
    group(10);
    run();
    EXPECT_EQ(slot_nodes(), (std::vector<int>{9, 4, 1, 3, 8, 6, 2}));
    std::vector<float> prices;
    for (int i = 1; i <= 7; ++i) prices.push_back(data.outdata[i].Price);
    EXPECT_EQ(prices,
              (std::vector<float>{400, 400, 600, 700, 90 * 10 + 100 + 50, 40 * 10 + 1000, (10 * 10 + 100) * 2}));
    // Progress is raised after every row and ends at 100.
    EXPECT_EQ(progress, (std::vector<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
}

TEST_F(Driver, AnEmptyQueryReturnsWithEverySlotEmpty) {
    db.node(1, 0, "S S/011", 1);
    data.outdata[3].XerAlias = "left over";
    int raised = 0;
    calc->CalcPercent.subscribe([&](std::int16_t&) { ++raised; });
    group(10);
    EXPECT_NO_THROW(run());
    EXPECT_TRUE(engine->calls.empty());
    EXPECT_EQ(raised, 0);
    for (const auto& s : data.outdata) {
        EXPECT_FALSE(s.OutputData.Valid);
        EXPECT_EQ(s.OutputData.ParallelUnits, kEmptySlotUnits);
        EXPECT_EQ(s.Price, kEmptySlotPrice);
        EXPECT_EQ(s.XerAlias, "");
    }
}

TEST_F(Driver, EngineErrorsOfAGroupAndOfASingleModel) {
    for (int n = 1; n <= 3; ++n) db.node(n, 0, "S S/010", n);
    db.node(4, 0, "S", 2);
    // A group member's own error stays silent; the group has no solution.
    engine->fallback = Reply{.valid = false, .error = 46};
    group(10);
    const platform::Error e = error_of([&] { run(); });
    EXPECT_EQ(e.number(), platform::kObjectError + 15);
    EXPECT_EQ(e.source(), "SPCMainCalcLoop");
    EXPECT_EQ(e.description(), "No solution found !");
    EXPECT_EQ(engine->calls.size(), 3u);

    // A one-row query raises the engine's error, unless it is a remark.
    engine->replies[2] = Reply{.valid = false, .error = 44};
    model(4);
    EXPECT_EQ(error_of([&] { run(); }).number(), platform::kObjectError + 44);
    engine->replies[2] = Reply{.plates = 12, .error = 3, .warning = true};
    run();
    EXPECT_EQ(slot_nodes(), (std::vector<int>{4}));

    // A group search stops at the engine's input check, before any rating.
    engine->calls.clear();
    engine->check_error = 43;
    group(10);
    EXPECT_EQ(error_of([&] { run(); }).number(), platform::kObjectError + 43);
    EXPECT_TRUE(engine->calls.empty());
}

TEST_F(Driver, PhysicalDataOnlyForTheMainDatabaseAndBelowMinNoPTheAlternativeIsDropped) {
    db.node(1, 0, "S S/010", 1);
    db.node(2, 0, "S S/010", 2);
    db.article(1, 4);
    db.article(2, 20);  // model 2 is built from 20 plates on
    engine->replies[1] = Reply{.plates = 30, .passes = 3};  // the measures hold 1P and 2P only
    engine->replies[2] = Reply{.plates = 10};
    calc->SetSources(db.sources());
    group(10);
    run();
    ASSERT_EQ(slot_nodes(), (std::vector<int>{1}));
    EXPECT_FLOAT_EQ(data.outdata[1].XerPhysics.length, 0.01f + 30 * 0.002f);

    // The same rows as another product database: no physical data, nothing dropped.
    calc->SetSources(db.sources(false));
    run();
    ASSERT_EQ(slot_nodes().size(), 2u);
    for (const auto& s : data.outdata) EXPECT_EQ(s.XerPhysics, XerPhysicsType{});
}

TEST_F(Driver, ResultsAreRescaledFromEngineUnitsAndMaterialSetsTheWallConductivity) {
    db.node(1, 0, "S", 1);
    model(1);
    data.InData.WallConductivity = 40;
    // Material 7 is unknown: the conductivity stays as it was.
    for (auto [material, expected] : std::array<std::pair<std::int16_t, double>, 3>{{{7, 40}, {1, 22.5}, {0, 16.3}}}) {
        data.GivenValues.Material = material;
        run();
        EXPECT_DOUBLE_EQ(engine->calls.back().WallConductivity, expected) << "material " << material;
    }
    const SinglePhaseResult& r = data.outdata[1].OutputData;
    // One field of each unit the engine answers in: kW, mm, mPa s, m² K/kW.
    EXPECT_DOUBLE_EQ(r.HeatLoad, 10000);
    EXPECT_DOUBLE_EQ(r.PortDiameterDown[1], 0.016);
    EXPECT_DOUBLE_EQ(r.WallViscosity[1], 0.002);
    EXPECT_DOUBLE_EQ(r.FoulingFactor, 0.00005);
    // The preset port limits reach the engine whole and leave the loop divided.
    EXPECT_DOUBLE_EQ(engine->calls.back().PortMassFluxLimit[1], 2000);
    EXPECT_DOUBLE_EQ(data.InData.PortMassFluxLimit[2], 2);
}

TEST_F(Driver, TheLoadIsDoubledExactlyWhenTheEngineRatedOneCircuitOfADualModel) {
    db.node(1, 0, "S", 1);
    model(1);
    struct Case {
        bool tree_dual, model_dual;
        double load;  // W
    };
    // The engine halves by the model row's flag, which it copies to its result; the tree's
    // flag alone marks the alternative but must not double a whole unit's load.
    for (const Case& c : {Case{false, false, 10000}, Case{true, true, 20000}, Case{true, false, 10000},
                          Case{false, true, 20000}}) {
        SCOPED_TRACE(testing::Message() << "tree " << c.tree_dual << ", model " << c.model_dual);
        db.exec_products(fmt::format("UPDATE ModelTree SET Dual = {} WHERE NodeID = 1", c.tree_dual ? -1 : 0));
        db.exec_products(fmt::format("UPDATE HXQ SET Dual = {} WHERE HXQID = 1", c.model_dual ? -1 : 0));
        run();
        EXPECT_EQ(engine->calls.back().Dual, c.model_dual);
        EXPECT_EQ(data.outdata[1].Dual, c.tree_dual);
        EXPECT_DOUBLE_EQ(data.outdata[1].OutputData.HeatLoad, c.load);
    }
}

TEST_F(Driver, ADualCalculationRatesANonDualModelAsAPairInOnePack) {
    db.node(1, 0, "S S/010", 1);
    db.node(2, 0, "S S/010", 2);
    data.GivenValues.IsDualCalc = true;
    engine->replies[1] = Reply{.plates = 11, .passes = 2, .heat_kw = 10};
    engine->replies[2] = Reply{.plates = 21, .passes = 1, .heat_kw = 10};
    // The pair of model 2 answers with its own load; model 1's pair fails.
    engine->before = [this](const SinglePhaseInput& in) {
        if (in.CalcMode != "P") return;
        const int m = ScriptedEngine::model_of(in);
        engine->replies[m] = m == 1 ? Reply{.valid = false, .error = 46} : Reply{.plates = 42, .heat_kw = 19};
    };
    group(10);
    run();
    ASSERT_EQ(engine->calls.size(), 4u);
    const SinglePhaseInput& pair = engine->calls[3];
    EXPECT_EQ(pair.CalcMode, "P");
    EXPECT_EQ(pair.NoOfPlates, (DutyCount{42, true}));
    EXPECT_EQ(pair.NoOfChannels[1][1], (DutyCount{21, true}));
    EXPECT_EQ(pair.NoOfChannels[2][1], (DutyCount{20, true}));
    EXPECT_EQ(pair.MassFlow[2], (DutyValue{2.0, true}));
    EXPECT_FALSE(pair.HeatLoad.Given);
    EXPECT_EQ(engine->calls[2].MaxPlates, 50);  // halved for the pair

    ASSERT_EQ(slot_nodes(), (std::vector<int>{2}));
    const OutDataType& alt = data.outdata[1];
    EXPECT_EQ(alt.OutputData.NoOfChannels[2], 20);
    EXPECT_EQ(alt.OutputData.Channelout[2][1], 20);  // the types follow the side's count
    EXPECT_EQ(alt.OutputData.NoOfChannels[1], 10);   // one circuit's channels
    EXPECT_DOUBLE_EQ(alt.OutputData.HeatLoad, 19000);
    EXPECT_FLOAT_EQ(alt.Price, 42 * 20 + 200);  // no pass price for a pair
}

TEST_F(Driver, CandidatesDoNotInheritTheChannelsOrStockOfTheModelBefore) {
    db.node(1, 0, "S S/010", 1, "ABC", true);
    db.node(2, 0, "S S/010", 2);
    test::exec_sql(db.stock, "INSERT INTO Stock (StockID, Level1, Level2) VALUES (1, '10', '20')");
    group(10);
    run();
    ASSERT_EQ(engine->calls.size(), 2u);
    EXPECT_TRUE(engine->calls[0].Side[1].Right.Defined);
    EXPECT_EQ(engine->calls[0].StockCount, 2);
    EXPECT_FALSE(engine->calls[1].Side[1].Right.Defined);
    EXPECT_EQ(engine->calls[1].StockCount, 0);
    EXPECT_DOUBLE_EQ(engine->calls[1].Side[1].PortDiaUp, 0.02);
}

TEST_F(Driver, EveryDatabaseAndRecordsetIsClosedAfterAnError) {
    db.node(1, 0, "S S/010", 1);
    db.node(2, 0, "S S/010", 2);
    calc->SetSources(db.sources());
    group(10);
    const test::OpenHandles handles;
    // An error thrown by the engine in the middle of the walk.
    engine->before = [](const SinglePhaseInput&) { throw platform::Error(3021, "engine", "No current record."); };
    const platform::Error e = error_of([&] { run(); });
    EXPECT_EQ(e.number(), 3021);
    EXPECT_EQ(e.source(), "SPCMainCalcLoop");
    EXPECT_EQ(e.description(), "No current record.");
    handles.expect_closed();
    // A stock database that does not exist: the run fails half opened.
    engine->before = nullptr;
    CalculationSources s = db.sources();
    s.StockDB = db.scratch.file("missing.db");
    calc->SetSources(s);
    EXPECT_THROW(run(), platform::Error);
    handles.expect_closed();
}

// The ranking, prices and physical data are the scripted tests'; on the sample range the
// real engine's channel counts must meet the physical data's volumes.
using DriverOnSampleRange = test::SampleRange;

TEST_F(DriverOnSampleRange, AMultiPassUnitHoldsTheVolumeOfItsChannelsOnce) {
    // A given unit of Q45 HM (a left and a right channel type on each side), 30 kW.
    SPCDataType d = test::water_duty(30e3, 80, 50, 25, 45);
    d.GivenValues.XerID = 123;
    d.InData.NoOfPlates = {21, true};
    for (int s = 1; s <= 2; ++s) d.InData.NoOfPasses[s] = {2, true};
    d.InData.CalcMode = "X";
    const test::OpenHandles handles;
    calc.SPCMainCalcLoop(d);
    handles.expect_closed();
    const OutDataType& a = d.outdata[1];
    ASSERT_TRUE(a.OutputData.Valid);
    ASSERT_EQ(a.OutputData.Passes[1], 2);
    platform::Database db = platform::OpenDatabase(test::sample("products.db"), true);
    platform::Recordset ch = db.OpenRecordset("SELECT min(ChVol) AS low, max(ChVol) AS high FROM Channel "
                                              "WHERE ChannelID IN (51, 53)");
    const double low = ch.Fields("low").as_double(), high = ch.Fields("high").as_double();
    ASSERT_GT(low, 0);
    for (int s = 1; s <= 2; ++s) {
        SCOPED_TRACE(s);
        const double channels = a.OutputData.NoOfChannels[s];
        EXPECT_GE(a.XerPhysics.Vol[s], low * channels * (1 - 1e-6));
        EXPECT_LE(a.XerPhysics.Vol[s], high * channels * (1 + 1e-6));
    }
}

}  // namespace
}  // namespace hxq::core
