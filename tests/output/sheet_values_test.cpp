// The values the sheets share: given values as typed against results converted, the
// remark endings, designations from the channel counts and types, the unit counts.
#include "output/sheet_values.h"

#include "preview_samples.h"

#include <limits>

namespace hxq::output {
namespace {

class SheetValues : public test::OutputTest {};

TEST_F(SheetValues, RemarksEndInOneDecimalWithoutALeadingZero) {
    struct Case {
        double value;
        const char* expected;
    };
    const Case cases[] = {{12.34, "12.3"}, {0.5, ".5"}, {-0.46, "-.5"}, {0, ".0"}, {105.25, "105.3"}, {-3.04, "-3.0"}};
    for (const Case& c : cases) EXPECT_EQ(hash_point_zero(c.value), c.expected) << c.value;
    EXPECT_EQ(percent_remark(37.26), " (37.3 %)");
    EXPECT_EQ(pressure_remark(45000), " (.5 bar)");
    EXPECT_EQ(pressure_remark(2.5e5), " (2.5 bar)");
    // Side notes end each remark and leave out empty ones.
    const SideNotes both = side_notes("Oversurface above the limit", 62.04, "Port pressure drop high", 31000);
    EXPECT_EQ(both.percent, "Oversurface above the limit (62.0 %)");
    EXPECT_EQ(both.pressure, "Port pressure drop high (.3 bar)");
    EXPECT_TRUE(side_notes("", 62.04, "", 31000).empty());
}

TEST_F(SheetValues, AGivenValueKeepsTheUsersTextAndUnitAResultIsConverted) {
    const std::int16_t kw = group_unit(kHeatLoadGroup, si());
    EXPECT_EQ(settings::UnitTable(kw).sUnit, "kW");
    EXPECT_NE(group_unit(kHeatLoadGroup, us()), kw);

    core::InputDataType typed;
    typed.sValue = "171";
    typed.iUnitID = group_unit(kFlowGroup, us());  // the user's own unit, not the sheet's
    typed.Given = true;
    const core::OutVal shown = duty_value(typed, 0.0215, group_unit(kFlowGroup, si()));
    EXPECT_EQ(shown.GVal, "171");
    EXPECT_EQ(shown.GUnit, settings::UnitTable(typed.iUnitID).sUnit);

    typed.Given = false;
    const core::OutVal converted = duty_value(typed, 50e3, kw);
    EXPECT_EQ(converted.GVal, "50.0");
    EXPECT_EQ(converted.GUnit, "kW");
    EXPECT_EQ(result_value(std::numeric_limits<double>::infinity(), kw).GVal, "-");

    // A record's own choice of unit wins over the sheet's; unit 0 (°C) is a choice too.
    EXPECT_EQ(chosen_unit(core::GivenOutputUnitsType{"", 0}, si().Area), si().Area.UnitID);
    EXPECT_EQ(chosen_unit(core::GivenOutputUnitsType{"°C", 0}, si().Area), 0);
}

core::OutDataType single_phase(const char* alias, const char* chan_comb, int plates, int passes, int left1,
                               int right1, int left2, int right2) {
    core::OutDataType a;
    a.XerAlias = alias;
    a.ChanComb = chan_comb;
    a.Chantype = chan_comb;
    auto& r = a.OutputData;
    r.NoOfPlates = static_cast<std::int16_t>(plates);
    r.NoOfPasses = static_cast<std::int16_t>(passes);
    const int counts[2][2] = {{left1, right1}, {left2, right2}};
    for (int s = 1; s <= 2; ++s) {
        r.Passes[s] = static_cast<std::int16_t>(passes);
        r.Channelout[s][1] = static_cast<std::int16_t>(counts[s - 1][0]);
        r.Channelout[s][2] = static_cast<std::int16_t>(counts[s - 1][1]);
        r.NoOfChannels[s] = static_cast<std::int16_t>(counts[s - 1][0] + counts[s - 1][1]);
    }
    return a;
}

TEST_F(SheetValues, DesignationsComposeChannelCountsPerPassWithTheTypesOfEachSide) {
    struct Case {
        core::OutDataType alternative;
        bool dual;
        const char* expected;
    };
    const Case cases[] = {
        {single_phase("Q32", "H", 40, 1, 19, 0, 20, 0), false, "Q32x40H/1P"},
        {single_phase("Q22", "HM", 41, 2, 13, 13, 14, 13), false, "Q22x41 (7H+6M, 7H+6M)/2P"},
        // ChanComb names each side's types apart.
        {single_phase("Q22", "H-M", 30, 1, 14, 0, 15, 0), false, "Q22x30 (14H, 15M)/1P"},
        {single_phase("Q22", "H/M", 30, 1, 14, 0, 15, 0), false, "Q22x30 (14H, 15M)/1P"},
        {single_phase("Q32D", "H", 61, 1, 30, 0, 30, 0), true, "Q32Dx30x31H/1P"},
    };
    for (const Case& c : cases) EXPECT_EQ(alternative_designation(c.alternative, c.dual), c.expected);

    core::CONOutDataType con;
    con.XerAlias = "Q45";
    con.Chantype = "H";
    con.OutputData.NoOfPlates = 31;
    con.OutputData.NoOfChannels[1] = 15;
    con.OutputData.NoOfChannels[2] = 15;
    EXPECT_EQ(alternative_designation(con, false), "Q45x31H/1P");

    core::TwoStageOutDataType two;
    two.Stage1 = single_phase("Q32", "H", 20, 1, 9, 0, 10, 0);
    two.Stage2 = single_phase("", "", 16, 1, 7, 0, 8, 0);
    EXPECT_EQ(two_stage_designation(two), "Q32x37H/1P/2S");
}

TEST_F(SheetValues, UnitCountsNameOnlyWhatIsMoreThanOneUnitInTheLanguageOfTheOffset) {
    struct Case {
        std::int16_t parallel, serial, offset;
        const char* expected;
    };
    const Case cases[] = {
        {1, 1, 0, ""},
        {2, 1, 0, "2 Units connected in parallell"},
        {1, 3, 0, "3 Units in series"},
        {2, 3, 0, "2 Units connected in parallell, 3 Units in series"},
        {2, 3, 3000, "2 Einheiten parallel geschaltet, 3 Einheiten in Reihe"},
    };
    for (const Case& c : cases) EXPECT_EQ(unit_counts(c.parallel, c.serial, c.offset), c.expected);
}

}  // namespace
}  // namespace hxq::output
