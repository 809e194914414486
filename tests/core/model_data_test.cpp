#include "core/model_data.h"
#include "core/fixture.h"
#include "platform/error.h"

#include <gtest/gtest.h>

#include <cmath>

namespace hxq::core {
namespace {

using platform::Recordset;

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
  0.3, 1, 0.6, 0.7, 9, 9, 9, 1500, 9, 9, 9, -1, 0.00005),
 (102, 'M45', 0.024, 0.024, 1.0, 3.0, 0, -0.2, 9, 9, 9, 9, 9, 9, 9, 9,
  0.2, 0, 0.65, 9, 9, 9, 9, 9, 9, 9, 9, 0, 0.00005),
 (103, 'Bad', 0.024, 0.024, 1.0, 3.0, 5, -0.2, 9, 9, 9, 9, 9, 9, 9, 9,
  0.2, 0, 0.65, 9, 9, 9, 9, 9, 9, 9, 9, 0, 0.00005);
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
INSERT INTO ModelTree VALUES (1, '101', '102', '102', NULL), (2, '', NULL, '101', ''), (3, '103', NULL, NULL, NULL);
)";

class ModelDataTest : public test::ScratchTest {
protected:
    void SetUp() override {
        db = open("p.db", kProduct);
        hxq = db.OpenRecordset("HXQ");
        channel = db.OpenRecordset("Channel");
        corr = db.OpenRecordset("SELECT * FROM [Channel-Fluid-Factors]");
        vring = db.OpenRecordset("VRing");
        tree = db.OpenRecordset("ModelTree");
    }
    platform::Database db;
    Recordset hxq, channel, corr, vring, tree;
};

TEST_F(ModelDataTest, CondenserModelColumnsAndAMissingModel) {
    CONDataType data;
    GetModelDataCON(hxq, data, 7);
    const CondenserInput& in = data.InData;
    EXPECT_DOUBLE_EQ(in.plateThickness, 0.0004);
    EXPECT_DOUBLE_EQ(in.PlateArea, 0.032);
    EXPECT_DOUBLE_EQ(in.FlowLength, 0.25);
    EXPECT_DOUBLE_EQ(in.CoCurrHTCFactor, 0.9);  // stored as text with a decimal comma
    EXPECT_EQ(in.Information2, "brazed");
    EXPECT_EQ(in.MaxPlates, 61);
    EXPECT_DOUBLE_EQ(in.DTMin, 1.5);
    EXPECT_FALSE(in.Dual);
    // A missing model row leaves the input as it was.
    GetModelDataCON(hxq, data, 99);
    EXPECT_DOUBLE_EQ(in.PlateArea, 0.032);
    EXPECT_EQ(in.MaxPlates, 61);
}

TEST_F(ModelDataTest, DualCalculationHalvesPlatesOfSingleCircuitModelsHalvesToEven) {
    CONDataType data;
    data.GivenValues.IsDualCalc = true;
    GetModelDataCON(hxq, data, 7);
    EXPECT_EQ(data.InData.MaxPlates, 30);  // 30.5
    VAPDataType vap;
    vap.GivenValues.IsDualCalc = true;
    GetModelDataVAP(hxq, vap, 9);
    EXPECT_EQ(vap.InData.MaxPlates, 32);  // 31.5
    GetModelDataVAP(hxq, vap, 8);           // a dual model keeps its plates
    EXPECT_EQ(vap.InData.MaxPlates, 63);
    EXPECT_TRUE(vap.InData.Dual);
}

TEST_F(ModelDataTest, EvaporatorVRing) {
    VAPDataType data;
    data.InData.MaxPressureDropVRing = 7;
    GetModelDataVAP(hxq, data, 8);
    EXPECT_TRUE(data.InData.VRing);
    EXPECT_EQ(data.InData.VRingID, 4);
    EXPECT_DOUBLE_EQ(data.InData.MaxPressureDropVRing, 50000);
    EXPECT_DOUBLE_EQ(data.InData.MinPressureDropVRing, 10000);
    EXPECT_DOUBLE_EQ(data.InData.CoCurrHTCFactor, 1.0);  // empty text
    GetVRingData(data.InData, vring);
    EXPECT_DOUBLE_EQ(data.InData.Dorifice, 0.0015);
    EXPECT_DOUBLE_EQ(data.InData.DiameterIN, 0.012);
    EXPECT_EQ(data.InData.NoOrifice, 18);

    data.InData.MaxPressureDropVRing = 7;
    GetModelDataVAP(hxq, data, 9);  // Null limits stay as they were
    EXPECT_DOUBLE_EQ(data.InData.MaxPressureDropVRing, 7);
    GetModelDataVAP(hxq, data, 7);  // VRingID 0 clears the flag and the id
    EXPECT_FALSE(data.InData.VRing);
    EXPECT_EQ(data.InData.VRingID, 0);
    GetVRingData(data.InData, vring);
    EXPECT_EQ(data.InData.NoOrifice, 0);
    EXPECT_EQ(data.InData.Dorifice, 0);
}

TEST_F(ModelDataTest, SinglePhaseLimitsAndPassPriceRatio) {
    SPCDataType data;
    data.GivenValues.Price.Plateprice = 10;
    data.GivenValues.Price.PassPrice = 250;
    GetModelDataSPC(hxq, data, 8);
    EXPECT_EQ(data.InData.PortMassFluxLimit[1], 2000);
    EXPECT_EQ(data.InData.PortMassFluxLimit[2], 2000);
    EXPECT_DOUBLE_EQ(data.InData.PassPriceRatio, 25);
    EXPECT_EQ(data.InData.MaxPasses, 4);
    EXPECT_EQ(data.InData.Split, 3);
    EXPECT_EQ(data.InData.Depth, 5);
    data.GivenValues.Price.Plateprice = 0;
    GetModelDataSPC(hxq, data, 8);
    EXPECT_DOUBLE_EQ(data.InData.PassPriceRatio, 0);

    TwoStageType two;
    GetModelDataTwoStage(hxq, two, 7);
    EXPECT_EQ(two.InData.MaxPlates, 61);
    EXPECT_EQ(two.InData.PortMassFluxLimit[2], 2000);
}

TEST_F(ModelDataTest, SinglePhaseSidesWithLeftAndRightChannels) {
    ASSERT_TRUE(tree.FindFirst("NodeID=1"));
    PerSide<SinglePhaseSide> sides;
    ReadSideData(tree, channel, sides);
    const SinglePhaseSide& s1 = sides[1];
    EXPECT_DOUBLE_EQ(s1.PortDiaUp, 0.024);
    EXPECT_DOUBLE_EQ(s1.SlitResistance, 1.5);
    EXPECT_NEAR(s1.PortDia, std::pow((std::pow(0.024, -4) + std::pow(0.020, -4)) / 2, -0.25), 1e-12);
    EXPECT_TRUE(s1.Left.Defined);
    EXPECT_EQ(s1.Left.ChannelID, 101);
    EXPECT_EQ(s1.Left.noFp, 2);
    EXPECT_DOUBLE_EQ(s1.Left.xFp[0], -0.3);
    EXPECT_DOUBLE_EQ(s1.Left.xFp[2], -0.05);
    EXPECT_DOUBLE_EQ(s1.Left.crFp[2], 10000);
    EXPECT_DOUBLE_EQ(s1.Left.crFp[3], 0);  // beyond noFp nothing is read
    EXPECT_DOUBLE_EQ(s1.Left.crNu[1], 1500);
    EXPECT_TRUE(s1.Left.ExtraChannel);
    EXPECT_TRUE(s1.Right.Defined);
    EXPECT_EQ(s1.Right.ChannelName, "M45");
    EXPECT_FALSE(sides[2].Right.Defined);  // Null right channel
    EXPECT_EQ(sides[2].Left.ChannelID, 102);
}

TEST_F(ModelDataTest, TwoPhaseSidesReadOnlyTheLeftChannel) {
    ASSERT_TRUE(tree.FindFirst("NodeID=2"));
    PerSide<TwoPhaseSide> sides;
    sides[1].PortDiaUp = 0.5;
    ReadSideDataVAP(tree, channel, sides);
    EXPECT_DOUBLE_EQ(sides[1].PortDiaUp, 0.5);  // "" channel: side untouched
    EXPECT_FALSE(sides[1].Channel.Defined);
    EXPECT_DOUBLE_EQ(sides[2].PortDiaDown, 0.020);
    EXPECT_EQ(sides[2].Channel.ChannelID, 101);
    EXPECT_FALSE(sides[2].Channel.ExtraChannel);  // not read for two-phase channels
    EXPECT_DOUBLE_EQ(sides[2].Channel.xNu[1], 0.7);
}

TEST_F(ModelDataTest, BreakpointCountBeyondTheRecordIsAnError) {
    ASSERT_TRUE(tree.FindFirst("NodeID=3"));
    PerSide<TwoPhaseSide> sides;
    EXPECT_EQ(test::error_of([&] { ReadSideDataCON(tree, channel, sides); }).number(), 3349);
}

TEST_F(ModelDataTest, CorrectionFactorsByVariantWithFallbackAndDefaults) {
    CorrFactors f = GetCorrFactorsCON(101, 134, corr, true);
    EXPECT_DOUBLE_EQ(f.cNuCorr, 1.2);
    EXPECT_DOUBLE_EQ(f.cNuMaxNoP, 120);
    f = GetCorrFactorsVAP(101, 134, corr, false, true);
    EXPECT_DOUBLE_EQ(f.cNuCorr, 1.1);
    EXPECT_DOUBLE_EQ(f.cNuNoPRef, 20);
    f = GetCorrFactorsVAP(101, 134, corr, true, true);  // V-model row
    EXPECT_DOUBLE_EQ(f.cNuCorr, 1.3);
    f = GetCorrFactorsVAP(101, 134, corr, false, false);  // co-current row, empty exponent
    EXPECT_DOUBLE_EQ(f.cNuCorr, 1.4);
    EXPECT_DOUBLE_EQ(f.xNuCorr, 1.0);
    f = GetCorrFactorsCON(101, 404, corr, true);  // no row of its own: FluidID 0
    EXPECT_DOUBLE_EQ(f.cNuCorr, 1.06);
    f = GetCorrFactorsVAP(101, 404, corr, true, true);  // neither
    EXPECT_DOUBLE_EQ(f.cNuCorr, 1);
    EXPECT_DOUBLE_EQ(f.xNuCorr, 1);
    EXPECT_DOUBLE_EQ(f.cNuNoPCorr, 0);
    EXPECT_DOUBLE_EQ(f.cNuNoPRef, 0);
    EXPECT_DOUBLE_EQ(f.cNuMaxNoP, 0);
}

TEST(EffectivePort, EqualPortsGiveThatDiameterAndAMissingPortNone) {
    EXPECT_NEAR(EffectivePortDiameter(0.05, 0.05), 0.05, 1e-15);
    EXPECT_EQ(EffectivePortDiameter(0.05, 0), 0);
}

}  // namespace
}  // namespace hxq::core
