// The product data of a model-tree node on small scratch databases: model and channel
// data, correction factors and V-rings, prices and stock levels, article codes, the
// product filter and the physical data of the alternatives.
#include "core/filter_check.h"
#include "core/fixture.h"
#include "core/model_data.h"
#include "core/price_data.h"
#include "core/xer_physics.h"
#include "platform/error.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>

namespace hxq::core {
namespace {

using platform::Recordset;
using platform::Variant;

// Models 7 (single circuit, condenser data), 8 (dual, V-ring) and 9; channels 101 and
// 102 and 103 with a breakpoint count beyond the record. Nodes 3 to 5 have denominations
// (node 6 one without measures), node 2 an empty side-1 channel, node 7 channel 103.
const char* kProduct = R"(
CREATE TABLE HXQ (HXQID SMALLINT, plateThickness REAL, Enlargement REAL, Dh REAL, PlateArea REAL,
  FlowLength REAL, FlowWidth REAL, Information2 TEXT, CoCurrHTCFactor TEXT, MaxPlates SMALLINT,
  MaxPasses SMALLINT, Dual BOOLEAN, Split SMALLINT, Depth SMALLINT, DTMin REAL, VRingID SMALLINT,
  MaxPressureDropVRing REAL, MinPressureDropVRing REAL);
INSERT INTO HXQ VALUES
 (7, 0.0004, 1.22, 0.0033, 0.032, 0.25, 0.11, 'brazed', '0,9', 61, 3, 0, 2, 4, 1.5, 0, NULL, NULL),
 (8, 0.0004, 1.22, 0.0033, 0.060, 0.40, 0.16, NULL, '', 63, 4, -1, 3, 5, 2.0, 4, 50000, 10000),
 (9, 0.0004, 1.22, 0.0033, 0.060, 0.40, 0.16, NULL, NULL, 63, 4, 0, 3, 5, 2.0, 4, NULL, NULL);
CREATE TABLE Channel (ChannelID INTEGER, ChannelName TEXT, PortDiaUp REAL, PortDiaDown REAL,
  SlitResistance REAL, cFp REAL, noFp SMALLINT, xFp0 REAL, xFp1 REAL, xFp2 REAL, xFp3 REAL, xFp4 REAL,
  crFp1 REAL, crFp2 REAL, crFp3 REAL, crFp4 REAL, cnu REAL, noNu SMALLINT, xNu0 REAL, xNu1 REAL,
  xNu2 REAL, xNu3 REAL, xNu4 REAL, crNu1 REAL, crNu2 REAL, crNu3 REAL, crNu4 REAL, ExtraChannel BOOLEAN,
  ChVol REAL);
INSERT INTO Channel VALUES
 (101, 'H60', 0.024, 0.020, 1.5, 4.0, 2, -0.3, -0.1, -0.05, 9, 9, 2000, 10000, 9, 9,
  0.3, 1, 0.6, 0.7, 9, 9, 9, 1500, 9, 9, 9, -1, 0.0001),
 (102, 'M45', 0.024, 0.024, 1.0, 3.0, 0, -0.2, 9, 9, 9, 9, 9, 9, 9, 9,
  0.2, 0, 0.65, 9, 9, 9, 9, 9, 9, 9, 9, 0, 0.0002),
 (103, 'Bad', 0.024, 0.024, 1.0, 3.0, 5, -0.2, 9, 9, 9, 9, 9, 9, 9, 9,
  0.2, 0, 0.65, 9, 9, 9, 9, 9, 9, 9, 9, 0, 0.0001);
CREATE TABLE "Channel-Fluid-Factors" (ChannelID INTEGER, FluidID INTEGER, "V-model" BOOLEAN,
  CounterCurrent BOOLEAN, cNuCorrVAP TEXT, xNuCorrVAP TEXT, cNuNoPCorrVAP TEXT, cNuNoPRefVAP TEXT,
  cNuMaxNoPVAP TEXT, cNuCorrCON TEXT, xNuCorrCON TEXT, cNuNoPCorrCON TEXT, cNuNoPRefCON TEXT,
  cNuMaxNoPCON TEXT);
INSERT INTO "Channel-Fluid-Factors" VALUES
 (101, 134, 0, -1, '1.1', '0.9', '0.01', '20', '100', '1.2', '0.95', '0.02', '30', '120'),
 (101, 134, -1, -1, '1.3', '0.8', '0.03', '40', '140', '9', '9', '9', '9', '9'),
 (101, 134, 0, 0, '1.4', '', '0.04', '50', '150', '1.5', '0.85', '0.05', '60', '160'),
 (101, 0, 0, -1, '1.05', '1.0', '0', '0', '0', '1.06', '1.0', '0', '0', '0');
CREATE TABLE VRing (VRingID SMALLINT, Dorifice REAL, DiameterIN REAL, NoOrifice SMALLINT);
INSERT INTO VRing VALUES (4, 0.0015, 0.012, 18);
CREATE TABLE ModelTree (NodeID INTEGER PRIMARY KEY, ChannelID1Left TEXT, ChannelID1Right TEXT,
  ChannelID2Left TEXT, ChannelID2Right TEXT);
INSERT INTO ModelTree VALUES (2, '', NULL, '101', ''), (3, '101', NULL, '101', '102'),
  (4, '101', '102', '102', NULL), (5, '101', NULL, '101', NULL), (7, '103', NULL, NULL, NULL);
CREATE TABLE Denomination (NodeID SMALLINT, Class TEXT, Type TEXT, Size TEXT, Material TEXT, Chantype TEXT,
  Execution TEXT);
INSERT INTO Denomination VALUES (3, 'QB', '10', 'S', '316', 'H', ''), (4, 'QB', '20', 'S', '316', 'M', 'X7'),
  (5, 'QB', '30', 'S', '316', 'L', NULL), (6, 'QB', '40', 'S', '316', 'H', NULL);
CREATE TABLE Stock (StockID TEXT, Level1 TEXT, Level2 TEXT, Level3 TEXT, Level4 TEXT, Level5 TEXT);
INSERT INTO Stock VALUES ('5', '10', '20', '', '40', NULL), ('6', '12', '24', '36', NULL, NULL);
CREATE TABLE Cost (PriceID SMALLINT, TQSP1 REAL, TQSP2 REAL, PricePass REAL);
INSERT INTO Cost VALUES (3, 850, 12.5, 300);
CREATE TABLE XPC (NodeID SMALLINT, XPc TEXT);
INSERT INTO XPC VALUES (12, 'QB*H*10*316*H*1P*S');
)";

// Measures of node 3's article with 1 and 2 passes and as a two-stage unit, node 4's
// execution X7 and node 5's; base articles of nodes 3 and 4 and their warehouse stock.
const char* kSelector = R"(
CREATE TABLE HXQMeas (XPC TEXT, MinNoP SMALLINT, Height REAL, Width REAL, PP_Start REAL, PP_Plate REAL,
  PP_LessChpl REAL, OffsetDepth REAL, TestPressure1 TEXT, CH1PressAlt1 TEXT, CH1PressAlt2 TEXT,
  CH2PressAlt1 TEXT, CH2PressAlt2 TEXT, CH1TempAlt1 TEXT, CH1TempAlt2 TEXT, Weight_Start REAL,
  Weight_Plate REAL);
INSERT INTO HXQMeas VALUES
 ('QB*10*S*316*H*1P*S', 10, 0.5, 0.12, 0.010, 0.0024, 2, 0.004, '45', '30', NULL, '', '16', '225', '150', 1.2, 0.1),
 ('QB*10*S*316*H*2P*S', 10, 0.5, 0.12, 0.012, 0.0024, 2, 0.004, '45', '30', '25', '16', '16', '225', '150', 1.3, 0.1),
 ('QB*20*S*316*M*X7*S', 4, 0.6, 0.20, 0.010, 0.0025, 0, 0, '40', '30', '30', '16', '16', '200', '200', 2.0, 0.2),
 ('QB*30*S*316*L*1P*S', 4, 0.6, 0.20, 0.010, 0.0025, 0, 0, '40', '30', '30', '16', '16', '200', '200', 2.0, 0.2),
 ('QB*10*S*316*H*2S*S', 4, 0.5, 0.12, 0.020, 0.0024, 2, 0.006, '45', '30', '25', '16', '16', '225', '150', 3.0, 0.1);
CREATE TABLE BaseArticleNumbers (Class TEXT, Type TEXT, Size TEXT, Material TEXT, Pressure TEXT,
  Factory TEXT, BaseArtNo TEXT);
INSERT INTO BaseArticleNumbers VALUES ('QB', '10', 'S', '316', 'PN30', 'North;South', 'A100'),
  ('QB', '10', 'S', 'SMO', 'PN30', 'South', 'A101'), ('QB', '20', 'S', '316', 'PN16', 'West', 'A200');
CREATE TABLE ITEM_PLAN_NF (ArtNo TEXT, NoPlates SMALLINT, WHS_NBR TEXT, conXPC TEXT);
INSERT INTO ITEM_PLAN_NF VALUES ('A100', 20, '01', 'G1'), ('A100', 20, '01', 'G1'), ('A100', 30, '01', 'G2'),
  ('A100', 40, '02', 'G1'), ('A200', 16, '01', 'G1');
)";

class ProductData : public test::ScratchTest {
protected:
    void SetUp() override {
        product = open("p.db", kProduct);
        selector = open("ps.dat", kSelector);
        hxq = product.OpenRecordset("HXQ");
        channel = product.OpenRecordset("Channel");
        corr = product.OpenRecordset("SELECT * FROM [Channel-Fluid-Factors]");
        vring = product.OpenRecordset("VRing");
        tree = product.OpenRecordset("ModelTree");
        denomination = product.OpenRecordset("Denomination");
        stock = product.OpenRecordset("Stock");
        cost = product.OpenRecordset("Cost");
        measures = selector.OpenRecordset("HXQMeas");
        filter.Active = true;
    }

    bool check(std::int16_t node) {
        return FilterCheck("SPC", node, {&denomination, &selector}, filter, forced, plates, count);
    }
    bool physics(OutDataType& alt) { return GetXerPhysicsSPC(denomination, measures, tree, channel, alt); }

    // A single-phase alternative of node `node`; side 2 has a left and a right part.
    static OutDataType single(std::int16_t node, std::int16_t plates, std::int16_t passes) {
        OutDataType alt;
        alt.nodeid = node;
        SinglePhaseResult& r = alt.OutputData;
        r.NoOfPlates = plates;
        r.NoOfPasses = passes;
        r.Passes[1] = passes;
        r.Passes[2] = 1;
        r.Channelout[1][1] = 18;  // all passes of the unit
        r.Channelout[2][1] = 10;
        r.Channelout[2][2] = 3;
        r.Density[1] = 1000;
        r.Density[2] = 980;
        alt.XerPhysics.MaxOPress[1] = 99;  // cleared by the routine
        return alt;
    }

    platform::Database product, selector;
    Recordset hxq, channel, corr, vring, tree, denomination, stock, cost, measures;
    FilterType filter;
    bool forced = false;
    Bounded<std::int16_t, 1, 20> plates{}, levels{};
    std::int16_t count = -1;
    PriceType price;
};

TEST_F(ProductData, ModelColumnsTextNumbersAMissingModelAndDualCalculations) {
    CONDataType data;
    GetModelDataCON(hxq, data, 7);
    const CondenserInput& in = data.InData;
    EXPECT_DOUBLE_EQ(in.PlateArea, 0.032);
    EXPECT_DOUBLE_EQ(in.CoCurrHTCFactor, 0.9);  // stored as text with a decimal comma
    EXPECT_DOUBLE_EQ(in.DTMin, 1.5);            // a two-phase column
    // A missing model row leaves the input as it was.
    GetModelDataCON(hxq, data, 99);
    EXPECT_DOUBLE_EQ(in.PlateArea, 0.032);

    // The engine weighs an extra pass against plates: 0 without a plate price.
    SPCDataType spc;
    spc.GivenValues.Price = PriceType{.Plateprice = 10, .Startprice = 0, .PassPrice = 250};
    GetModelDataSPC(hxq, spc, 8);
    EXPECT_DOUBLE_EQ(spc.InData.PassPriceRatio, 25);
    EXPECT_DOUBLE_EQ(spc.InData.CoCurrHTCFactor, 1.0);  // empty text
    EXPECT_EQ(spc.InData.MaxPasses, 4);                  // a single-phase column
    spc.GivenValues.Price.Plateprice = 0;
    GetModelDataSPC(hxq, spc, 8);
    EXPECT_DOUBLE_EQ(spc.InData.PassPriceRatio, 0);
    TwoStageType two;
    GetModelDataTwoStage(hxq, two, 7);
    EXPECT_EQ(two.InData.MaxPlates, 61);

    // A dual calculation halves the plates of single-circuit models, half to even.
    data.GivenValues.IsDualCalc = true;
    GetModelDataCON(hxq, data, 7);
    EXPECT_EQ(data.InData.MaxPlates, 30);  // 30.5
    VAPDataType vap;
    vap.GivenValues.IsDualCalc = true;
    GetModelDataVAP(hxq, vap, 9);
    EXPECT_EQ(vap.InData.MaxPlates, 32);  // 31.5
    GetModelDataVAP(hxq, vap, 8);         // a dual model keeps its plates
    EXPECT_EQ(vap.InData.MaxPlates, 63);
    EXPECT_TRUE(vap.InData.Dual);
}

TEST_F(ProductData, EvaporatorVRing) {
    VAPDataType data;
    data.InData.MaxPressureDropVRing = 7;
    GetModelDataVAP(hxq, data, 8);
    EXPECT_TRUE(data.InData.VRing);
    EXPECT_DOUBLE_EQ(data.InData.MaxPressureDropVRing, 50000);
    EXPECT_DOUBLE_EQ(data.InData.MinPressureDropVRing, 10000);
    GetVRingData(data.InData, vring);
    EXPECT_EQ(data.InData.NoOrifice, 18);

    data.InData.MaxPressureDropVRing = 7;
    GetModelDataVAP(hxq, data, 9);  // Null limits stay as they were
    EXPECT_DOUBLE_EQ(data.InData.MaxPressureDropVRing, 7);
    GetModelDataVAP(hxq, data, 7);  // VRingID 0 clears the flag and the id
    EXPECT_FALSE(data.InData.VRing);
    EXPECT_EQ(data.InData.VRingID, 0);
    GetVRingData(data.InData, vring);
    EXPECT_EQ(data.InData.Dorifice, 0);
}

TEST_F(ProductData, SidesAndChannelsWithTheirBreakpoints) {
    ASSERT_TRUE(tree.FindFirst("NodeID=4"));
    PerSide<SinglePhaseSide> sides;
    ReadSideData(tree, channel, sides);
    const SinglePhaseSide& s1 = sides[1];
    EXPECT_NEAR(s1.PortDia, std::pow((std::pow(0.024, -4) + std::pow(0.020, -4)) / 2, -0.25), 1e-12);
    EXPECT_DOUBLE_EQ(s1.Left.xFp[0], -0.3);
    EXPECT_DOUBLE_EQ(s1.Left.crFp[2], 10000);
    EXPECT_DOUBLE_EQ(s1.Left.crFp[3], 0);  // beyond noFp nothing is read
    EXPECT_DOUBLE_EQ(s1.Left.crNu[1], 1500);
    EXPECT_TRUE(s1.Left.ExtraChannel);
    EXPECT_EQ(s1.Right.ChannelName, "M45");
    EXPECT_FALSE(sides[2].Right.Defined);  // Null right channel
    EXPECT_EQ(sides[2].Left.ChannelID, 102);
    EXPECT_EQ(EffectivePortDiameter(0.05, 0), 0);

    // Two-phase sides read only the left channel.
    ASSERT_TRUE(tree.FindFirst("NodeID=2"));
    PerSide<TwoPhaseSide> two;
    two[1].PortDiaUp = 0.5;
    ReadSideDataVAP(tree, channel, two);
    EXPECT_DOUBLE_EQ(two[1].PortDiaUp, 0.5);  // "" channel: side untouched
    EXPECT_DOUBLE_EQ(two[2].PortDiaDown, 0.020);
    EXPECT_FALSE(two[2].Channel.ExtraChannel);  // not read for two-phase channels
    EXPECT_DOUBLE_EQ(two[2].Channel.xNu[1], 0.7);

    // A breakpoint count beyond the record is an error.
    ASSERT_TRUE(tree.FindFirst("NodeID=7"));
    EXPECT_EQ(test::error_of([&] { ReadSideDataCON(tree, channel, two); }).number(), 3349);
}

TEST_F(ProductData, CorrectionFactorsByVariantWithFallbackAndDefaults) {
    struct Case {
        const char* what;
        bool condenser, v_model, counter_current;
        std::int32_t fluid;
        std::array<double, 5> factors;  // cNuCorr, xNuCorr, cNuNoPCorr, cNuNoPRef, cNuMaxNoP
    };
    for (const Case& c : std::array<Case, 6>{{
             {"condenser row", true, false, true, 134, {1.2, 0.95, 0.02, 30, 120}},
             {"evaporator row", false, false, true, 134, {1.1, 0.9, 0.01, 20, 100}},
             {"V-model row", false, true, true, 134, {1.3, 0.8, 0.03, 40, 140}},
             {"co-current row, empty exponent", false, false, false, 134, {1.4, 1, 0.04, 50, 150}},
             {"no row of its own: FluidID 0", true, false, true, 404, {1.06, 1, 0, 0, 0}},
             {"neither", false, true, true, 404, {1, 1, 0, 0, 0}},
         }}) {
        const CorrFactors f = c.condenser ? GetCorrFactorsCON(101, c.fluid, corr, c.counter_current)
                                          : GetCorrFactorsVAP(101, c.fluid, corr, c.v_model, c.counter_current);
        EXPECT_EQ((std::array{f.cNuCorr, f.xNuCorr, f.cNuNoPCorr, f.cNuNoPRef, f.cNuMaxNoP}), c.factors) << c.what;
    }
}

TEST_F(ProductData, PricesStockLevelsEmptyFieldsAndArticleCodes) {
    GetPriceData(Variant(6), 3, levels, count, price, stock, cost, false);
    EXPECT_EQ(price, (PriceType{.Plateprice = 12.5f, .Startprice = 850, .PassPrice = 300}));
    EXPECT_EQ(count, 3);
    // Without a Cost row the default prices; the stock is read all the same, up to the
    // first empty level.
    GetPriceData(Variant("5"), 99, levels, count, price, stock, cost, false);
    EXPECT_EQ(price, (PriceType{.Plateprice = 10, .Startprice = 1000, .PassPrice = 1000}));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(levels[1], 10);
    EXPECT_EQ(levels[2], 20);
    EXPECT_EQ(levels[4], 0);  // the level after the gap is not read

    // The stock is left alone when skipped, missing or without an id.
    for (const auto& [id, skip] : std::array<std::pair<Variant, bool>, 3>{
             {{Variant("6"), true}, {Variant("404"), false}, {Variant::null(), false}}}) {
        count = -1;
        levels[1] = 77;
        GetPriceData(id, 3, levels, count, price, stock, cost, skip);
        EXPECT_EQ(count, -1) << id.as_text();
        EXPECT_EQ(levels[1], 77);
    }
    EXPECT_EQ(price.Startprice, 850);
    // Null and empty fields count as zero.
    EXPECT_EQ(FieldValueOrZero(Variant::null()).as_double(), 0);
    EXPECT_EQ(FieldValueOrZero(Variant("")), Variant(0));

    // Article codes of nodes; errors close what was opened.
    test::exec_sql(scratch.file("other.db"), "CREATE TABLE Dummy (x INTEGER);");
    const test::OpenHandles handles;
    EXPECT_EQ(GetXPC(12, scratch.file("p.db")), "QB*H*10*316*H*1P*S");
    EXPECT_EQ(GetXPC(13, scratch.file("p.db")), "");
    handles.expect_closed();
    EXPECT_THROW(GetXPC(12, scratch.file("other.db")), platform::Error);  // no XPC table
    handles.expect_closed();
}

TEST_F(ProductData, FilterOnMaterialPressureAndFactoryOfTheBaseArticle) {
    filter.Active = false;
    EXPECT_TRUE(FilterCheck("CON", 99, FilterSources{}, filter, forced, plates, count));
    filter.Active = true;
    EXPECT_EQ(test::error_of([&] { FilterCheck("VAP", 3, FilterSources{}, filter, forced, plates, count); }).number(),
              91);  // an active filter needs the main database's tables
    struct Case {
        std::int16_t node;
        const char *material, *pressure, *factory;
        bool passes;
    };
    for (const Case& c : std::array<Case, 8>{{
             {3, "", "", "", true},    // any article of the denomination
             {5, "", "", "", false},   // no base article at all
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

TEST_F(ProductData, FilterOnWarehouseStockWithConnectionCodesUpToTwentyCounts) {
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

    // Two codes are joined by a proper OR; an unknown code or warehouse finds nothing.
    for (const auto& [whs, codes, passes] : std::array<std::tuple<const char*, const char*, bool>, 3>{
             {{"01", "G1;G2;", true}, {"01", "G9", false}, {"03", "", false}}}) {
        filter.whs = whs;
        filter.ConnXPCs = codes;
        forced = false;
        EXPECT_EQ(check(3), passes) << whs << " " << codes;
        EXPECT_EQ(forced, passes);
    }
    // More than twenty stocked counts keep twenty.
    std::string sql = "DELETE FROM ITEM_PLAN_NF;";
    for (int n = 10; n < 60; n += 2) sql += fmt::format("INSERT INTO ITEM_PLAN_NF VALUES ('A100', {}, '01', 'G1');", n);
    test::exec_sql(scratch.file("ps.dat"), sql);
    filter.whs = "01";
    filter.ConnXPCs = "";
    ASSERT_TRUE(check(3));
    EXPECT_EQ(count, 20);
    // Its recordsets are closed after an error.
    test::exec_sql(scratch.file("ps.dat"), "DROP TABLE ITEM_PLAN_NF;");
    const test::OpenHandles handles;
    EXPECT_THROW(check(3), platform::Error);
    handles.expect_closed();
}

TEST_F(ProductData, PhysicalDataOfTheArticleForThePassesOrTheExecution) {
    OutDataType alt = single(3, 25, 3);
    ASSERT_TRUE(physics(alt));
    const XerPhysicsType& p = alt.XerPhysics;
    EXPECT_FLOAT_EQ(p.length, 0.012f + (25 - 2) * 0.0024f + 0.004f);  // the 2-pass row's PP_Start
    EXPECT_FLOAT_EQ(p.MaxOPress[1], 0);
    // Side 1: left only (no right channel), 18 channels in 3 passes, each channel filled
    // once; side 2: left and right.
    EXPECT_FLOAT_EQ(p.Vol[1], 0.0001f * 18);
    EXPECT_FLOAT_EQ(p.Vol[2], 0.0001f * 10 + 0.0002f * 3);
    EXPECT_FLOAT_EQ(p.Weight_empty, 1.3f + 0.1f * 25);
    EXPECT_FLOAT_EQ(p.Weight_full, p.Weight_empty + 1000 * p.Vol[1] + 980 * p.Vol[2]);
    // An execution names the article.
    alt = single(4, 30, 2);
    ASSERT_TRUE(physics(alt));
    EXPECT_FLOAT_EQ(alt.XerPhysics.Width, 0.20f);
    // Pressures in Pa from the table's hPa, temperatures as stored; Null is zero.
    alt = single(3, 25, 1);
    ASSERT_TRUE(physics(alt));
    EXPECT_FLOAT_EQ(p.TestPress[1], 4500);
    EXPECT_FLOAT_EQ(p.MaxInnerOPressure[2], 0);
    EXPECT_FLOAT_EQ(p.MaxWorkingTemperature[2], 150);
}

TEST_F(ProductData, FewerPlatesThanTheArticleMinimumIsNotBuiltAndMissingRowsRaise666) {
    OutDataType alt = single(3, 9, 1);
    EXPECT_FALSE(physics(alt));
    auto code = [](auto f) { return test::error_of(f).number() - platform::kObjectError; };
    OutDataType no_node = single(42, 20, 1), no_article = single(6, 20, 2);
    EXPECT_EQ(code([&] { physics(no_node); }), 666);
    EXPECT_EQ(code([&] { physics(no_article); }), 666);
    VAPOutDataType no_tree_row;
    no_tree_row.nodeid = 5;
    test::exec_sql(scratch.file("p.db"), "DELETE FROM ModelTree WHERE NodeID = 5;");
    Recordset fresh_tree = product.OpenRecordset("ModelTree");
    EXPECT_EQ(code([&] { GetXerPhysicsVAP(denomination, measures, fresh_tree, channel, no_tree_row); }), 666);
}

TEST_F(ProductData, CondenserAndTwoStageVolumesAndWeights) {
    // Fewer plates than the article's 10: the two-phase routines do not check the minimum.
    CONOutDataType con;
    con.nodeid = 3;
    CondenserResult& r = con.OutputData;
    r.NoOfPlates = 9;
    r.NoOfChannels[1] = 5;
    r.NoOfChannels[2] = 3;
    r.RefLiquid.Density = 1200;
    r.Side2.Density = 1000;
    GetXerPhysicsCON(denomination, measures, tree, channel, con);
    const XerPhysicsType& p = con.XerPhysics;
    EXPECT_FLOAT_EQ(p.length, 0.010f + 7 * 0.0024f + 0.004f);  // the 1-pass article
    EXPECT_FLOAT_EQ(p.Vol[2], 0.0001f * 3);  // left part only
    EXPECT_FLOAT_EQ(p.Weight_full, p.Weight_empty + 1200 * p.Vol[1] + 1000 * p.Vol[2]);

    // A two-stage unit counts both stages and the plate between them in one pack.
    TwoStageOutDataType two;
    two.Stage1.nodeid = 3;
    two.Stage1.OutputData.NoOfPlates = 20;
    two.Stage2.OutputData.NoOfPlates = 16;
    two.Stage1.OutputData.NoOfChannels[1] = 9;
    two.Stage2.OutputData.NoOfChannels[1] = 7;
    two.Stage1.OutputData.NoOfChannels[2] = 10;
    two.Stage2.OutputData.NoOfChannels[2] = 8;
    two.Stage1.OutputData.Density[1] = 1000;
    two.Stage1.OutputData.Density[2] = 1000;
    GetXerPhysicsTwoStage(denomination, measures, tree, channel, two);
    const XerPhysicsType& t = two.XerPhysics;
    EXPECT_FLOAT_EQ(t.length, 0.020f + (20 + 16 + 1 - 2) * 0.0024f + 0.006f);
    EXPECT_FLOAT_EQ(t.Vol[2], 0.0001f * 18);
    EXPECT_FLOAT_EQ(t.Weight_empty, 3.0f + 0.1f * 37);
    EXPECT_FLOAT_EQ(two.Stage1.XerPhysics.length, 0);  // the unit's data go to the record itself
}

}  // namespace
}  // namespace hxq::core
