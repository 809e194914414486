// The pieces every sheet shares: unit column, escaping, the address block measured on the
// real font, warnings; the rich-text header and code page of each
// language; the connection diameter from the density of each kind of port flow; and the
// values: given values as typed against results converted, the remark endings,
// designations from the channel counts and types, the unit counts.
#include "output_fixture.h"

#include "output/cls_output.h"
#include "output/rtf_document.h"
#include "output/sheet_layout.h"
#include "output/sheet_values.h"

#include "platform/font_metrics_printer.h"
#include "platform/scratch.h"
#include "settings/library_state.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <memory>

namespace hxq::output {
namespace {

class SheetLayout : public test::OutputTest {};
class SheetValues : public test::OutputTest {};

TEST_F(SheetLayout, RowsCombineUnitsAndEscapeTheirTexts) {
    EXPECT_EQ(unit_column("kW", "kW"), "kW");
    EXPECT_EQ(unit_column("kg/s", "l/min"), "kg/s / l/min");
    EXPECT_EQ(table_row("Flow rate", "kg/s", "l/min", "1.2", "3.4"),
              std::string(kTableRow) + "Flow rate\\tab kg/s / l/min\\tab :\\tab 1.2\\tab 3.4");
    EXPECT_EQ(sub_row("in ports", "kPa", "kPa", "1", "2", true),
              std::string(kSubRow) + "\\tab - in ports\\tab kPa\\tab :\\tab 1\\tab 2");
    EXPECT_EQ(side_heading("Side"), std::string(kSideHeading) + "\\tab Side 1\\tab Side 2");
    // A user's text with rich-text controls stays text.
    EXPECT_EQ(rtf_escape("a{b}\\c"), "a\\{b\\}\\\\c");
}

TEST_F(SheetLayout, WriterSkipsEmptyFragmentsAndStopsAtTheEnd) {
    PreviewArray sheet(2);
    SheetWriter out(sheet);
    out.add("a");
    out.add("");
    out.add("b");
    EXPECT_EQ(sheet[1], "a");
    EXPECT_EQ(sheet[2], "b");
    EXPECT_THROW(out.add("c"), std::out_of_range);
    EXPECT_THROW(sheet[0], std::out_of_range);
}

TEST_F(SheetLayout, WarningsNeedAnArrayAndSkipEmptyTexts) {
    struct Case { PreviewWarnings warnings; std::vector<std::string> expected; };
    const std::string note = std::string(kWarningRow) + "Note : \\tab ";
    const Case cases[] = {
        {std::nullopt, {}},
        {std::vector<std::string>{"", ""}, {std::string(kSmallSpacer)}},
        {std::vector<std::string>{"", "High port velocity", "Check fouling"},
         {std::string(kSmallSpacer), note + "High port velocity",
          std::string(kWarningRow) + "\\tab Check fouling"}},
    };
    for (const Case& c : cases) {
        PreviewArray sheet;
        SheetWriter out(sheet);
        add_warnings(out, c.warnings, 0);
        std::vector<std::string> filled;
        std::ranges::copy_if(sheet.lines(), std::back_inserter(filled), [](const auto& line) { return !line.empty(); });
        EXPECT_EQ(filled, c.expected);
    }
}

TEST_F(SheetLayout, AddressLinesEndAtTheRightMarginByTheirMeasuredWidth) {
    auto printer = std::make_shared<platform::FontMetricsPrinter>();
    settings::set_printer(printer);
    auto& lines = settings::library_state().UserSettings.header;
    lines = {"Nordic Heat AB", "Industrivägen 12, SE-123 45 Smalltown, Sweden", "", "", ""};
    PreviewArray sheet;
    SheetWriter out(sheet);
    add_address_block(out);
    const auto position = [](const std::string& line) {
        const auto at = line.find("\\tx") + 3;
        return std::stoi(line.substr(at));
    };
    EXPECT_EQ(sheet[1].rfind("\\paperw11906\\paperh16838\\pard\\ql\\plain\\tx", 0), 0u);
    EXPECT_EQ(sheet[2].rfind("\\par\\pard\\ql\\plain\\tx", 0), 0u);
    printer->set_font_name("Arial");
    printer->set_font_size(9.5);
    const double difference = printer->text_width(lines[1]) - printer->text_width(lines[0]);
    EXPECT_GT(difference, 1000.0);
    EXPECT_NEAR(position(sheet[1]) - position(sheet[2]), difference, 1.0);
    EXPECT_NE(sheet[2].find("\\tab Industrivägen 12"), std::string::npos);
}

TEST_F(SheetLayout, AlternativeIndexOutsideOneToSevenIsSubscriptError) {
    for (std::int16_t index : {0, 8, -1, 7})
        EXPECT_EQ(test::error_number([&] { check_alternative_index(index, "CreatePreview_new"); }), index == 7 ? 0 : 9)
            << index;
}

TEST(RtfDocument, HeaderAndCodePageFollowTheLanguageName) {
    struct Case { const char* language; const char* font_table; int code_page; };
    const Case cases[] = {
        {"English", R"({\fonttbl{\f0\fnil\fprq2 Arial;}})", 1252},
        {"Swedish", R"({\fonttbl{\f0\fnil\fprq2 Arial;}})", 1252},
        {"Russian", R"({\fonttbl{\f0\fswiss\fprq2\fcharset204{\*\fname Arial;} Arial Cyr;}})", 1251},
        {"Polish", R"({\fonttbl{\f0\fswiss\fprq2\fcharset238{\*\fname Arial;} Arial CE;}})", 1250},
        {"Hungarian", R"(\fcharset238{\*\fname Arial;} Arial CE;)", 1250},
        {"Czech", R"(\fcharset238{\*\fname Arial;} Arial CE;)", 1250},
    };
    for (const Case& c : cases) {
        const std::string header = rtf_header(c.language);
        EXPECT_EQ(header.rfind(R"({\rtf1\ansi\deff0\deftab720)", 0), 0u) << c.language;
        EXPECT_NE(header.find(c.font_table), std::string::npos) << c.language;
        EXPECT_EQ(header.substr(header.size() - 30), R"({\colortbl\red0\green0\blue0;})") << c.language;
        EXPECT_EQ(rtf_code_page(c.language), c.code_page) << c.language;
    }
}

// A sheet of lines is written whole by PreviewPrint (Desktop.TheFileHoldsTheSheet...).
TEST(RtfDocument, EmptyArrayIsHeaderThenClose) {
    EXPECT_EQ(rtf_document("English", PreviewArray(0)), rtf_header("English") + "\r\n\\par}\r\n");
}

TEST(RtfDocument, TextIsWrittenInTheCodePageAndWhatItLacksEscaped) {
    // ä is 0xE4 in 1252, ł is 0xB3 in 1250, Ж is 0xC6 in 1251.
    EXPECT_EQ(to_code_page("Wärme 25 °C", 1252), "W\xE4rme 25 \xB0""C");
    EXPECT_EQ(to_code_page("Ciepło", 1250), "Ciep\xB3o");
    EXPECT_EQ(to_code_page("Жидкость", 1251), "\xC6\xE8\xE4\xEA\xEE\xF1\xF2\xFC");
    // Characters outside the code page keep their identity as rich-text escapes.
    EXPECT_EQ(to_code_page("Ж", 1252), "\\u1046?");
    EXPECT_EQ(to_code_page("€", 1251), "\x88");
    EXPECT_EQ(to_code_page("\xF0\x9F\x99\x82", 1252), "\\u-10179?\\u-8638?");
    // Broken UTF-8 never reaches the file as stray bytes.
    EXPECT_EQ(to_code_page("a\xC3", 1252), "a?");
    EXPECT_EQ(to_code_page("\x80z", 1252), "?z");
}

TEST(RtfDocument, UnwritableFileIsError75) {
    EXPECT_EQ(test::error_number([] { write_rtf_document("/nonexistent-folder/x.rtf", "English", PreviewArray()); }),
              75);
}

TEST(TheConnection, DiameterFollowsTheDensityOfThePortFlow) {
    struct Case {
        const char* what;
        std::int16_t in_out;
        float quality, vapour, liquid, flow;
        std::int16_t units;
        double millimetres;
    };
    const Case cases[] = {
        // sqrt(4 / 3.14) * 1000, the rule's own constant for pi.
        {"unit density and flow", 1, 0.5f, 1, 1000, 1, 1, 1128.6653},
        {"vapour", 1, 0.0f, 25, 1150, 0.3f, 1, 123.6391},
        {"liquid", 2, 1.0f, 25, 1150, 0.3f, 1, 18.2296},
        {"two-phase inlet of quality 0 is liquid", 0, 0.0f, 25, 1150, 0.3f, 1, 18.2296},
        {"two-phase inlet of quality 1 is vapour", 0, 1.0f, 25, 1150, 0.3f, 1, 123.6391},
        // 1 / (0.25 / 20 + 0.75 / 1200) = 76.19 kg/m³; two units share 0.5 kg/s.
        {"homogeneous mixture, flow per unit", 0, 0.25f, 20, 1200, 0.5f, 2, 64.6524},
        {"no flow", 2, 0.0f, 25, 1150, 0.0f, 1, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NEAR(clsOutput::TheConnection(c.in_out, c.quality, c.vapour, c.liquid, c.flow, c.units), c.millimetres,
                    1e-3);
    }
}

TEST(TheConnection, ArgumentsWithoutADiameterAreInvalidCalls) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        std::int16_t in_out;
        float quality, vapour, liquid, flow;
        std::int16_t units;
        const char* named;  // the argument the message names
    };
    const Case cases[] = {
        {3, 0.5f, 20, 1200, 1, 1, "InOut 3"},
        {-1, 0.5f, 20, 1200, 1, 1, "InOut -1"},
        {1, 0.5f, 0, 1200, 1, 1, "density 0"},
        {2, 0.5f, 20, -5, 1, 1, "density -5"},
        {0, 0.0f, 20, 0, 1, 1, "density 0"},
        {0, 0.5f, 0, 1200, 1, 1, "DensVap 0"},
        {0, 1.5f, 20, 1200, 1, 1, "Qin 1.5"},
        {0, nan, 20, 1200, 1, 1, "Qin nan"},
        {1, 0.5f, 20, 1200, 1, 0, "ParaM 0"},
        {1, 0.5f, 20, 1200, 1, -2, "ParaM -2"},
        {1, 0.5f, 20, 1200, -1, 1, "MassFlow -1"},
        {1, 0.5f, 1e-37f, 1200, 3e38f, 1, "MassFlow 3e+38"},  // beyond a float
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.named);
        const auto e = test::raised(
            [&] { clsOutput::TheConnection(c.in_out, c.quality, c.vapour, c.liquid, c.flow, c.units); });
        ASSERT_TRUE(e);
        EXPECT_EQ(e->number(), 5);
        EXPECT_EQ(e->source(), "TheConnection");
        EXPECT_NE(e->description().find("Invalid procedure call or argument"), std::string::npos);
        EXPECT_NE(e->description().find(c.named), std::string::npos) << e->description();
    }
}

TEST_F(SheetValues, RemarksEndInOneDecimalWithoutALeadingZero) {
    struct Case { double value; const char* expected; };
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
    struct Case { core::OutDataType alternative; bool dual; const char* expected; };
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
    struct Case { std::int16_t parallel, serial, offset; const char* expected; };
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
