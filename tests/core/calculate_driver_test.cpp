// The single-phase main loop with a scripted engine: the walk over groups and models,
// the ranking into the seven slots, prices, physical data, errors and clean-up.
#include "core/calculate.h"
#include "core/calculate_fixture.h"
#include "platform/db.h"
#include "platform/error.h"
#include "settings/library_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

namespace hxq::core {
namespace {

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

TEST_F(Driver, AModelReachedThroughTwoGroupsIsRatedOnceAndAFolderWithoutChildrenIsRatedItself) {
    // Group 10 lists model 3 directly, then the folder 5 that holds models 3 and 4, and
    // the childless folder 7 that carries model 6's data.
    db.node(3, 5, "S S/010", 3);
    db.node(4, 5, "S", 4);
    db.node(5, 1, "S S/010", 0);
    db.node(7, 1, "S S/010", 0);
    db.exec_folder_model(7, 6);
    engine->replies[3] = Reply{.plates = 10};
    engine->replies[4] = Reply{.plates = 30};
    group(10);
    run();
    EXPECT_EQ(engine->rated_models(), (std::vector<int>{3, 4, 6}));
    std::vector<int> nodes = slot_nodes();
    std::sort(nodes.begin(), nodes.end());
    // Model 3's second visit gives nothing and does not push its sibling 4 out.
    EXPECT_EQ(nodes, (std::vector<int>{3, 4, 7}));
    EXPECT_TRUE(calc->IsCalculated(0));
}

TEST_F(Driver, AFilteredModelNeverDisplacesItsSibling) {
    db.node(3, 5, "S", 3);
    db.node(4, 5, "S", 4);
    db.node(5, 1, "S S/010", 0);
    db.article(3);
    db.article(4);
    // Model 3 would be far cheaper, but no base article of material "D" exists for it.
    db.exec_selector("UPDATE BaseArticleNumbers SET Material = 'D' WHERE BaseArtNo = 'A4'");
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

TEST_F(Driver, FewerUnitsRankFirstAndOfEqualAlternativesTheLaterStandsFirst) {
    for (int n = 1; n <= 4; ++n) db.node(n, 0, "S S/010", n);
    // Same price row for 2 and 3 through the same answers: equal alternatives.
    engine->replies[1] = Reply{.plates = 10, .units = 2};  // cheapest per unit, two units
    engine->replies[2] = Reply{.plates = 40, .units = 1};
    engine->replies[3] = Reply{.plates = 40, .units = 1};
    engine->replies[4] = Reply{.plates = 90, .units = 1};
    db.exec_products("UPDATE ModelTree SET PriceID = 2 WHERE NodeID IN (2, 3)");
    group(10);
    run();
    EXPECT_EQ(slot_nodes(), (std::vector<int>{3, 2, 4, 1}));
    EXPECT_FLOAT_EQ(data.outdata[1].Price, 40 * 20 + 200);
    EXPECT_FLOAT_EQ(data.outdata[4].Price, (10 * 10 + 100) * 2);
    // The rest stay empty.
    for (int i = 5; i <= 7; ++i) {
        EXPECT_EQ(data.outdata[i].OutputData.ParallelUnits, kEmptySlotUnits);
        EXPECT_EQ(data.outdata[i].Price, kEmptySlotPrice);
    }
}

TEST_F(Driver, PricesPassesAndTheDefaultsOfAModelWithoutACostRow) {
    db.node(1, 0, "S S/010", 1);
    db.node(5, 0, "S S/010", 5);  // no Cost row
    engine->replies[1] = Reply{.plates = 21, .units = 1, .passes = 2};
    engine->replies[5] = Reply{.plates = 11, .units = 2, .passes = 1};
    group(10);
    run();
    ASSERT_EQ(slot_nodes(), (std::vector<int>{1, 5}));
    EXPECT_FLOAT_EQ(data.outdata[1].Price, 21 * 10 + 100 + 50);
    EXPECT_FLOAT_EQ(data.outdata[2].Price, (11 * 10 + 1000) * 2);
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

TEST_F(Driver, AGroupWhereNothingSolvesRaisesNoSolution) {
    for (int n = 1; n <= 3; ++n) db.node(n, 0, "S S/010", n);
    engine->fallback = Reply{.valid = false, .error = 46};
    group(10);
    try {
        run();
        FAIL() << "no error";
    } catch (const platform::Error& e) {
        // A group member's own error stays silent; the group has no solution.
        EXPECT_EQ(e.number(), platform::kObjectError + 15);
        EXPECT_EQ(e.source(), "SPCMainCalcLoop");
        EXPECT_EQ(e.description(), "No solution found !");
    }
    EXPECT_EQ(engine->calls.size(), 3u);
}

TEST_F(Driver, AOneRowQueryRaisesTheEngineErrorUnlessItIsARemark) {
    db.node(2, 0, "S", 2);
    engine->replies[2] = Reply{.valid = false, .error = 44};
    model(2);
    try {
        run();
        FAIL() << "no error";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.number(), platform::kObjectError + 44);
        EXPECT_EQ(e.source(), "SPCMainCalcLoop");
        EXPECT_EQ(e.description(), "Heat load must be greater than 0.");
    }
    engine->replies[2] = Reply{.plates = 12, .error = 3, .warning = true};
    run();
    EXPECT_EQ(slot_nodes(), (std::vector<int>{2}));
}

TEST_F(Driver, AGroupSearchStopsAtTheEnginesInputCheck) {
    db.node(1, 0, "S S/010", 1);
    engine->check_error = 43;
    group(10);
    try {
        run();
        FAIL() << "no error";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.number(), platform::kObjectError + 43);
        EXPECT_EQ(e.source(), "SPCMainCalcLoop");
    }
    EXPECT_TRUE(engine->calls.empty());
}

TEST_F(Driver, MaterialSetsTheWallConductivity) {
    db.node(1, 0, "S", 1);
    model(1);
    data.GivenValues.Material = 1;
    run();
    EXPECT_DOUBLE_EQ(engine->calls.back().WallConductivity, 22.5);
    data.GivenValues.Material = 0;
    run();
    EXPECT_DOUBLE_EQ(engine->calls.back().WallConductivity, 16.3);
    data.GivenValues.Material = 7;  // unknown: left as it was
    data.InData.WallConductivity = 40;
    run();
    EXPECT_DOUBLE_EQ(engine->calls.back().WallConductivity, 40);
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
    const XerPhysicsType& p = data.outdata[1].XerPhysics;
    EXPECT_FLOAT_EQ(p.Height, 0.5f);
    EXPECT_FLOAT_EQ(p.length, 0.01f + 30 * 0.002f);
    EXPECT_FLOAT_EQ(p.Weight_empty, 2 + 30 * 0.1f);

    // The same rows as another product database: no physical data, nothing dropped.
    calc->SetSources(db.sources(false));
    run();
    ASSERT_EQ(slot_nodes().size(), 2u);
    for (const auto& s : data.outdata) EXPECT_EQ(s.XerPhysics, XerPhysicsType{});
}

TEST_F(Driver, ResultsAreRescaledFromEngineUnits) {
    db.node(1, 0, "S", 1);
    model(1);
    run();
    const SinglePhaseResult& r = data.outdata[1].OutputData;
    EXPECT_DOUBLE_EQ(r.HeatLoad, 10000);
    EXPECT_DOUBLE_EQ(r.PortDiameterUp[1], 0.02);
    EXPECT_DOUBLE_EQ(r.PortDiameterUp[2], 0.02);
    EXPECT_DOUBLE_EQ(r.Viscosity[2], 0.001);
    EXPECT_DOUBLE_EQ(r.WallViscosity[1], 0.002);
    EXPECT_DOUBLE_EQ(r.FoulingFactor, 0.00005);
    // The preset port limits reach the engine whole and leave the loop divided.
    EXPECT_DOUBLE_EQ(engine->calls.back().PortMassFluxLimit[1], 2000);
    EXPECT_DOUBLE_EQ(data.InData.PortMassFluxLimit[1], 2);
    EXPECT_DOUBLE_EQ(data.InData.PortMassFluxLimit[2], 2);
    // A dual model's engine result covers one of its two circuits.
    db.exec_products("UPDATE ModelTree SET Dual = -1 WHERE NodeID = 1");
    run();
    EXPECT_DOUBLE_EQ(data.outdata[1].OutputData.HeatLoad, 20000);
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
    EXPECT_EQ(pair.MassFlow[1], (DutyValue{1.0, true}));
    EXPECT_EQ(pair.MassFlow[2], (DutyValue{2.0, true}));
    EXPECT_FALSE(pair.HeatLoad.Given);
    EXPECT_FALSE(pair.OutletTemp[1].Given);
    EXPECT_EQ(engine->calls[2].MaxPlates, 50);  // halved for the pair

    ASSERT_EQ(slot_nodes(), (std::vector<int>{2}));
    const OutDataType& alt = data.outdata[1];
    EXPECT_EQ(alt.OutputData.NoOfPlates, 42);
    EXPECT_EQ(alt.OutputData.NoOfChannels[2], 20);
    EXPECT_EQ(alt.OutputData.Channelout[2][1], 20);  // the types follow the side's count
    EXPECT_EQ(alt.OutputData.NoOfChannels[1], 10);   // one circuit's channels
    EXPECT_DOUBLE_EQ(alt.OutputData.HeatLoad, 19000);
    EXPECT_FLOAT_EQ(alt.Price, 42 * 20 + 200);  // no pass price for a pair
}

TEST_F(Driver, CandidatesDoNotInheritTheChannelsOrStockOfTheModelBefore) {
    db.node(1, 0, "S S/010", 1, "ABC", true);
    db.node(2, 0, "S S/010", 2);
    db.exec_stock("INSERT INTO Stock (StockID, Level1, Level2) VALUES (1, '10', '20')");
    group(10);
    run();
    ASSERT_EQ(engine->calls.size(), 2u);
    EXPECT_TRUE(engine->calls[0].Side[1].Right.Defined);
    EXPECT_EQ(engine->calls[0].StockCount, 2);
    EXPECT_FALSE(engine->calls[1].Side[1].Right.Defined);
    EXPECT_EQ(engine->calls[1].StockCount, 0);
    EXPECT_DOUBLE_EQ(engine->calls[1].Side[1].PortDiaUp, 0.02);
}

TEST_F(Driver, ProgressIsRaisedAfterEveryRowAndEndsAt100) {
    for (int n = 1; n <= 4; ++n) db.node(n, 0, "S S/010", n);
    std::vector<int> seen;
    calc->CalcPercent.subscribe([&](std::int16_t& p) { seen.push_back(p); });
    group(10);
    run();
    EXPECT_EQ(seen, (std::vector<int>{25, 50, 75, 100}));
}

TEST_F(Driver, EveryDatabaseAndRecordsetIsClosedAfterAnError) {
    db.node(1, 0, "S S/010", 1);
    db.node(2, 0, "S S/010", 2);
    db.article(1);
    calc->SetSources(db.sources());
    group(10);
    const platform::DbHandleCounts before = platform::db_open_handles();
    auto expect_closed = [&] {
        const platform::DbHandleCounts after = platform::db_open_handles();
        EXPECT_EQ(after.databases, before.databases);
        EXPECT_EQ(after.recordsets, before.recordsets);
    };
    // An error thrown by the engine in the middle of the walk.
    engine->before = [](const SinglePhaseInput&) { throw platform::Error(3021, "engine", "No current record."); };
    try {
        run();
        FAIL() << "no error";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.number(), 3021);
        EXPECT_EQ(e.source(), "SPCMainCalcLoop");
        EXPECT_EQ(e.description(), "No current record.");
    }
    expect_closed();
    // A look-up of the physical data that finds no article (node 2 has none).
    engine->before = nullptr;
    EXPECT_THROW(run(), platform::Error);
    expect_closed();
    // A stock database that does not exist.
    CalculationSources s = db.sources();
    s.StockDB = db.scratch.file("missing.db");
    calc->SetSources(s);
    EXPECT_THROW(run(), platform::Error);
    expect_closed();
}

TEST_F(Driver, NoOfAlternativesIsWhatTheOptionsReport) {
    calc->NoOfAlternatives(4);
    EXPECT_EQ(settings::library_state().derived.NrResults, 4);
    calc->NoOfAlternatives(7);
}

TEST(Ranking, FewerUnitsBeforeCheaperAndEqualCountsByPrice) {
    EXPECT_TRUE(BetterAlternative(5000.f, std::int16_t{1}, 100.f, std::int16_t{2}));
    EXPECT_FALSE(BetterAlternative(100.f, std::int16_t{2}, 5000.f, std::int16_t{1}));
    EXPECT_TRUE(BetterAlternative(100.f, std::int16_t{1}, 100.f, std::int16_t{1}));
    EXPECT_FALSE(BetterAlternative(100.5f, std::int16_t{1}, 100.f, std::int16_t{1}));
    EXPECT_TRUE(BetterAlternative(1e9f, std::int16_t{3}, kEmptySlotPrice, kEmptySlotUnits));
}

}  // namespace
}  // namespace hxq::core
