// The layout every sheet shares: unit column, escaping, the address block measured on the
// real font, warnings and the disclaimer.
#include "output/sheet_layout.h"

#include "platform/error.h"
#include "platform/font_metrics_printer.h"
#include "settings/library_state.h"

#include <gtest/gtest.h>

#include <memory>

namespace hxq::output {
namespace {

class SheetLayout : public ::testing::Test {
protected:
    void SetUp() override { settings::reset_library_state(); }
    void TearDown() override { settings::reset_library_state(); }

    // The filled elements of a sheet, in order.
    static std::vector<std::string> filled(const PreviewArray& sheet) {
        std::vector<std::string> out;
        for (const auto& line : sheet.lines())
            if (!line.empty()) out.push_back(line);
        return out;
    }
};

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
    struct Case {
        PreviewWarnings warnings;
        std::vector<std::string> expected;
    };
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
        EXPECT_EQ(filled(sheet), c.expected);
    }
}

TEST_F(SheetLayout, DisclaimerAddsFiveElementsOnlyWhenSwitchedOn) {
    PreviewArray off;
    add_disclaimer(off, 0);
    EXPECT_EQ(off.size(), 100u);

    settings::library_state().UserSettings.UseDisclaimer = true;
    PreviewArray on;
    add_disclaimer(on, 0);
    ASSERT_EQ(on.size(), 105u);
    EXPECT_EQ(on[101], "\\par ");
    EXPECT_EQ(on[102], std::string(kDisclaimerLine) +
                           "Disclaimer: Data used in this calculation is subject to change without notice.");
    for (std::size_t i = 103; i <= 105; ++i) EXPECT_EQ(on[i].rfind(kDisclaimerLine, 0), 0u);
    // In another language block the same ids give that language's texts.
    PreviewArray swedish;
    add_disclaimer(swedish, 10000);
    EXPECT_NE(swedish[102], on[102]);
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
    for (std::int16_t bad : {0, 8, -1}) {
        try {
            check_alternative_index(bad, "CreatePreview_new");
            FAIL() << bad;
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.number(), 9);
        }
    }
    EXPECT_NO_THROW(check_alternative_index(7, "CreatePreview_new"));
}

}  // namespace
}  // namespace hxq::output
