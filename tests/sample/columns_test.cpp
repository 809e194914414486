// The sample databases carry every column the library reads, spelled exactly as the
// library names it (a misspelt column only shows up as a failed look-up at run time).
#include "sample_db.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace hxq::sample_test {
namespace {

struct TableColumns {
    std::string table;
    std::string columns;  // separated by ", "
};

std::string numbered(const std::string& stem, int from, int to) {
    std::string out;
    for (int i = from; i <= to; ++i) out += ", " + stem + std::to_string(i);
    return out;
}

// The tables every calculation reads, in both product databases.
std::vector<TableColumns> calculation_tables() {
    std::string channel = "ChannelID, ChannelName, PortDiaUp, PortDiaDown, SlitResistance, cFp, noFp, cnu, noNu, "
                          "ExtraChannel, ChVol";
    for (const char* stem : {"xFp", "crFp", "xNu", "crNu"}) channel += numbered(stem, 0, 4);
    return {
        {"ModelTree",
         "NodeID, ParentID, Alias, Group, UserLevel, InUse, Table, ChannelCombination, PureType, ChannelType, "
         "Information2, CalcMethod, ModelID, Dual, StockID, PriceID, ChannelID1Left, ChannelID1Right, "
         "ChannelID2Left, ChannelID2Right"},
        {"HXQ",
         "HXQID, plateThickness, Enlargement, Dh, PlateArea, FlowLength, FlowWidth, Information2, CoCurrHTCFactor, "
         "MaxPlates, MaxPasses, Dual, Split, Depth, DTMin, VRingID, MaxPressureDropVRing, MinPressureDropVRing"},
        {"Channel", channel},
        {"Channel-Fluid-Factors",
         "ChannelID, FluidID, V-model, CounterCurrent, cNuCorrVAP, xNuCorrVAP, cNuNoPCorrVAP, cNuNoPRefVAP, "
         "cNuMaxNoPVAP, cNuCorrCON, xNuCorrCON, cNuNoPCorrCON, cNuNoPRefCON, cNuMaxNoPCON"},
        {"VRing", "VRingID, Dorifice, DiameterIN, NoOrifice"},
        {"Cost", "PriceID, TQSP1, TQSP2, PricePass"},
    };
}

void expect_columns(const std::string& file, const std::vector<TableColumns>& tables) {
    SampleDb db(file);
    for (const auto& t : tables) {
        ASSERT_TRUE(db.has_table(t.table)) << file << " lacks table " << t.table;
        const auto have = db.columns(t.table);
        for (std::size_t start = 0, end = 0; start < t.columns.size(); start = end + 2) {
            end = std::min(t.columns.find(", ", start), t.columns.size());
            const std::string c = t.columns.substr(start, end - start);
            EXPECT_TRUE(have.count(c)) << file << ": " << t.table << " lacks column \"" << c << '"';
        }
    }
}

TEST(SampleColumns, EveryDatabaseHasEveryColumnRead) {
    auto tables = calculation_tables();
    tables.push_back({"Denomination", "NodeID, Class, Type, Size, Material, Chantype, Execution"});
    tables.push_back({"XPC", "NodeID, XPc"});
    expect_columns("products.db", tables);
    expect_columns("legacy.db", calculation_tables());
    expect_columns("stock.db", {{"Stock", "StockID" + numbered("Level", 1, 20)}});
    expect_columns(
        "selector.db",
        {{"HXQMeas",
          "XPC, MinNoP, Height, Width, PP_Start, PP_Plate, PP_LessChpl, OffsetDepth, TestPressure1, CH1PressAlt1, "
          "CH1PressAlt2, CH2PressAlt1, CH2PressAlt2, CH1TempAlt1, CH1TempAlt2, Weight_Start, Weight_Plate"},
         {"BaseArticleNumbers", "Class, Type, Size, Material, Pressure, Factory, BaseArtNo"},
         {"ITEM_PLAN_NF", "ArtNo, NoPlates, WHS_NBR, conXPC"}});
}

}  // namespace
}  // namespace hxq::sample_test
