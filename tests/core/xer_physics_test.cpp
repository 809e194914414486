#include "core/xer_physics.h"
#include "core/fixture.h"
#include "platform/error.h"

#include <gtest/gtest.h>


namespace hxq::core {
namespace {

using platform::Recordset;

const char* kProduct = R"(
CREATE TABLE Denomination (NodeID SMALLINT, Class TEXT, Type TEXT, Size TEXT, Material TEXT, Chantype TEXT,
                           Execution TEXT);
INSERT INTO Denomination VALUES
 (3, 'QB', '10', 'S', '316', 'H', ''),
 (4, 'QB', '20', 'S', '316', 'M', 'X7'),
 (5, 'QB', '30', 'S', '316', 'L', NULL),
 (6, 'QB', '40', 'S', '316', 'H', NULL);
CREATE TABLE ModelTree (NodeID INTEGER PRIMARY KEY, ChannelID1Left TEXT, ChannelID1Right TEXT,
  ChannelID2Left TEXT, ChannelID2Right TEXT);
INSERT INTO ModelTree VALUES (3, '101', NULL, '101', '102'), (4, '101', '102', '102', NULL),
                             (5, '101', NULL, '101', NULL);
CREATE TABLE Channel (ChannelID INTEGER, ChVol REAL);
INSERT INTO Channel VALUES (101, 0.0001), (102, 0.0002);
)";

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
)";

class XerPhysicsTest : public test::ScratchTest {
protected:
    void SetUp() override {
        product = open("p.db", kProduct);
        selector = open("ps.dat", kSelector);
        denomination = product.OpenRecordset("Denomination");
        tree = product.OpenRecordset("ModelTree");
        channel = product.OpenRecordset("Channel");
        measures = selector.OpenRecordset("HXQMeas");
    }

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

    template <class F>
    static int error_code(F f) {
        return test::error_of(f).number() - platform::kObjectError;
    }

    platform::Database product, selector;
    Recordset denomination, tree, channel, measures;
};

TEST_F(XerPhysicsTest, ThreePassAlternativeTakesTheTwoPassArticle) {
    OutDataType alt = single(3, 25, 3);
    ASSERT_TRUE(GetXerPhysicsSPC(denomination, measures, tree, channel, alt));
    const XerPhysicsType& p = alt.XerPhysics;
    EXPECT_FLOAT_EQ(p.length, 0.012f + (25 - 2) * 0.0024f + 0.004f);  // the 2-pass row's PP_Start
    EXPECT_FLOAT_EQ(p.Height, 0.5f);
    EXPECT_FLOAT_EQ(p.MaxInnerOPressure[2], 2500);  // only the 2-pass row has it
    EXPECT_FLOAT_EQ(p.MaxOPress[1], 0);
    // Side 1: left only (no right channel), 18 channels in 3 passes, each channel filled
    // once; side 2: left and right.
    EXPECT_FLOAT_EQ(p.Vol[1], 0.0001f * 18);
    EXPECT_FLOAT_EQ(p.Vol[2], 0.0001f * 10 + 0.0002f * 3);
    EXPECT_FLOAT_EQ(p.Weight_empty, 1.3f + 0.1f * 25);
    EXPECT_FLOAT_EQ(p.Weight_full, p.Weight_empty + 1000 * p.Vol[1] + 980 * p.Vol[2]);
}

TEST_F(XerPhysicsTest, PressuresTemperaturesAndEmptyFields) {
    OutDataType alt = single(3, 25, 1);
    ASSERT_TRUE(GetXerPhysicsSPC(denomination, measures, tree, channel, alt));
    const XerPhysicsType& p = alt.XerPhysics;
    EXPECT_FLOAT_EQ(p.TestPress[1], 4500);
    EXPECT_FLOAT_EQ(p.TestPress[2], 0);
    EXPECT_FLOAT_EQ(p.MaxInnerOPressure[1], 3000);
    EXPECT_FLOAT_EQ(p.MaxInnerOPressure[2], 0);  // Null
    EXPECT_FLOAT_EQ(p.MaxOuterOPressure[1], 0);  // ""
    EXPECT_FLOAT_EQ(p.MaxOuterOPressure[2], 1600);
    EXPECT_FLOAT_EQ(p.MaxWorkingTemperature[1], 225);
    EXPECT_FLOAT_EQ(p.MaxWorkingTemperature[2], 150);
}

TEST_F(XerPhysicsTest, ExecutionNamesTheArticle) {
    OutDataType alt = single(4, 30, 2);
    ASSERT_TRUE(GetXerPhysicsSPC(denomination, measures, tree, channel, alt));
    EXPECT_FLOAT_EQ(alt.XerPhysics.Width, 0.20f);
}

TEST_F(XerPhysicsTest, FewerPlatesThanTheArticleMinimumIsNotBuilt) {
    OutDataType alt = single(3, 9, 1);
    EXPECT_FALSE(GetXerPhysicsSPC(denomination, measures, tree, channel, alt));
    // The two-phase routines do not check the minimum.
    CONOutDataType con;
    con.nodeid = 3;
    con.OutputData.NoOfPlates = 9;
    GetXerPhysicsCON(denomination, measures, tree, channel, con);
    EXPECT_FLOAT_EQ(con.XerPhysics.Weight_empty, 1.2f + 0.9f);
}

TEST_F(XerPhysicsTest, LookupsThatMustFindARowRaise666) {
    OutDataType no_node = single(42, 20, 1);
    EXPECT_EQ(error_code([&] { GetXerPhysicsSPC(denomination, measures, tree, channel, no_node); }), 666);
    OutDataType no_article = single(6, 20, 2);
    EXPECT_EQ(error_code([&] { GetXerPhysicsSPC(denomination, measures, tree, channel, no_article); }), 666);
    VAPOutDataType no_tree_row;
    no_tree_row.nodeid = 5;
    test::exec_sql(scratch.file("p.db"), "DELETE FROM ModelTree WHERE NodeID = 5;");
    Recordset fresh_tree = product.OpenRecordset("ModelTree");
    EXPECT_EQ(error_code([&] { GetXerPhysicsVAP(denomination, measures, fresh_tree, channel, no_tree_row); }), 666);
}

TEST_F(XerPhysicsTest, CondenserVolumesAndWeights) {
    CONOutDataType con;
    con.nodeid = 3;
    CondenserResult& r = con.OutputData;
    r.NoOfPlates = 30;
    r.NoOfChannels[1] = 14;
    r.NoOfChannels[2] = 15;
    r.RefLiquid.Density = 1200;
    r.Side2.Density = 1000;
    GetXerPhysicsCON(denomination, measures, tree, channel, con);
    const XerPhysicsType& p = con.XerPhysics;
    EXPECT_FLOAT_EQ(p.length, 0.010f + 28 * 0.0024f + 0.004f);  // the 1-pass article
    EXPECT_FLOAT_EQ(p.Vol[1], 0.0001f * 14);
    EXPECT_FLOAT_EQ(p.Vol[2], 0.0001f * 15);  // left part only
    EXPECT_FLOAT_EQ(p.Weight_full, p.Weight_empty + 1200 * p.Vol[1] + 1000 * p.Vol[2]);
}

TEST_F(XerPhysicsTest, TwoStageUnitCountsBothStagesInOnePack) {
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
    const XerPhysicsType& p = two.XerPhysics;
    EXPECT_FLOAT_EQ(p.length, 0.020f + (20 + 16 + 1 - 2) * 0.0024f + 0.006f);
    EXPECT_FLOAT_EQ(p.Vol[1], 0.0001f * 16);
    EXPECT_FLOAT_EQ(p.Vol[2], 0.0001f * 18);
    EXPECT_FLOAT_EQ(p.Weight_empty, 3.0f + 0.1f * 37);
    EXPECT_FLOAT_EQ(two.Stage1.XerPhysics.length, 0);  // the unit's data go to the record itself
}

}  // namespace
}  // namespace hxq::core
