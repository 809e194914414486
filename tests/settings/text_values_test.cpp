// Numbers and texts: display texts with significant digits and fixed decimals under both
// decimal separators, the leading number of a text, and the column sorts that compare by it.
#include "settings/format.h"

#include "platform/error.h"
#include "platform/locale.h"
#include "settings/cls_misc.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace hxq::settings {
namespace {

using platform::ScopedDecimalSeparator;
using platform::Variant;

// 21 rows; row 0 names the record, row 20 and row 3 hold the keys.
TextMatrix matrix(const std::vector<std::string>& row20, const std::vector<std::string>& row3) {
    TextMatrix m(21, std::vector<std::string>(row20.size()));
    for (std::size_t c = 0; c < row20.size(); ++c) {
        m[0][c] = std::string(1, static_cast<char>('a' + c));
        m[20][c] = row20[c];
        m[3][c] = row3[c];
    }
    return m;
}

std::string names(const TextMatrix& m) {
    std::string s;
    for (const auto& n : m[0]) s += n;
    return s;
}

// The expected text written with "."; under a "," locale every "." reads ",".
std::string in_locale(std::string text, const std::string& sep) {
    for (auto& c : text)
        if (c == '.') c = sep[0];
    return text;
}

class DisplayUnderSeparator : public ::testing::TestWithParam<std::string> {
protected:
    std::string expect(const std::string& dotted) const { return in_locale(dotted, GetParam()); }
    ScopedDecimalSeparator separator_{GetParam()};
};

TEST_P(DisplayUnderSeparator, ThreeSignificantDigitsAcrossMagnitudes) {
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {5.0f, "5.00"},      {50.0f, "50.0"},     {500.0f, "500"},        {123456.0f, "123000"},
        {0.3f, "0.300"},     {0.005f, "0.00500"}, {0.000123f, "123e-6"},  {1.2e6f, "1.20e6"},
        {2e-5f, "20.00e-6"}, {-5.0f, "-5.00"},    {999.7f, "1000"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatSignificant(c.value, 3, 0.0f), expect(c.text)) << c.value;
}

// Temperatures count their digits from the absolute value and round the value itself:
// rounding x + 273.15 and then removing 2731.5 tenths would leave a half unit that
// pushes a whole class of temperatures one tenth up.
TEST_P(DisplayUnderSeparator, TemperaturesShowTenthsRoundedToTheNearest) {
    struct Case {
        float value;
        const char* text;
    };
    const Case cases[] = {
        {300.0f, "300.0"}, {-10.0f, "-10.0"}, {25.04f, "25.0"}, {25.06f, "25.1"}, {-0.04f, "0.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatSignificant(c.value, 4, 273.15f), expect(c.text)) << c.value;
    // Zero is "0" whatever the digits and offset.
    EXPECT_EQ(FormatSignificant(0.0f, 3, 0.0f), "0");
    EXPECT_EQ(FormatSignificant(0.0f, 4, 273.15f), "0");
    EXPECT_EQ(show_value(Variant(0), 7), "0");
}

TEST_P(DisplayUnderSeparator, ShowValReadsNumbersAndTextsInEitherSeparator) {
    EXPECT_EQ(show_value(Variant(5.0), 3), expect("5.00"));
    EXPECT_EQ(show_value(Variant("0,005"), 3), expect("0.00500"));
    EXPECT_EQ(show_value(Variant(" 1200 "), 3), "1200");
    EXPECT_EQ(show_value(Variant(25), 4, 273.15f), expect("25.0"));
    for (const Variant& none : {Variant(""), Variant("1.2.3"), Variant("0x10"), Variant("inf"), Variant::null()})
        EXPECT_EQ(show_value(none, 3), "") << none.as_text();
}

// Fixed decimals by magnitude, and as many as the text was written with.
TEST_P(DisplayUnderSeparator, FixedDecimals) {
    const std::pair<const char*, const char*> by_magnitude[] = {
        {"0.5", "0.500"},  {"12.3456", "12.35"}, {"99.999", "100.00"}, {"123.45", "123.5"}, {"2.675", "2.68"},
        {"1234.5", "1235"}, {"-0.25", "-0.250"}, {"1,5", "1.50"},      {"n/a", "n/a"},
    };
    for (const auto& [text, shown] : by_magnitude) EXPECT_EQ(FormatByMagnitude(text), expect(shown)) << text;
    const std::pair<const char*, const char*> as_written[] = {
        {"1.50", "1.50"}, {".5", "0.5"}, {"007", "7"}, {"3,125", "3.125"}, {"abc", "0"},
    };
    for (const auto& [text, shown] : as_written) EXPECT_EQ(FormatToOwnDecimals(text), expect(shown)) << text;
}

INSTANTIATE_TEST_SUITE_P(Separators, DisplayUnderSeparator, ::testing::Values(".", ","),
                         [](const auto& info) { return info.param == "." ? "Point" : "Comma"; });

TEST(NormaliseDecimal, FollowsTheLocaleSeparator) {
    {
        ScopedDecimalSeparator sep(",");
        EXPECT_EQ(NormaliseDecimal("1.5"), "1,5");
    }
    ScopedDecimalSeparator sep(".");
    EXPECT_EQ(NormaliseDecimal("a,b,c"), "a.b.c");
}

TEST(SingleText, ShortestTextThatReadsBack) {
    ScopedDecimalSeparator sep(".");
    const std::pair<float, const char*> cases[] = {
        {0.1f, "0.1"}, {25.0f, "25"}, {1.0f / 3.0f, "0.3333333"}, {1.5e-6f, "1.5E-06"}, {2.5e8f, "2.5E+08"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(single_text(value), text) << value;
}

TEST(FormatSignificant, RefusesWhatASingleCannotHold) {
    EXPECT_THROW(show_value(Variant(1e40), 3), platform::Error);
    EXPECT_THROW(FormatSignificant(5.0f, 12, 0.0f), platform::Error);
}

TEST(ColumnSort, OrdersByRow20AndTheLowestFirstThenByTheChosenRow) {
    // Numbers compare as numbers ("10" after "9"), ties on row 20 by row 3.
    TextMatrix m = matrix({"10", "9", "2", "2", "2", " 1e1"}, {"5", "1", "7", "3", "4.5", "0"});
    clsMisc misc;
    misc.BubbleSortLowest(m, 3);
    EXPECT_EQ(m[20], (std::vector<std::string>{"2", "2", "2", "9", " 1e1", "10"}));
    EXPECT_EQ(m[3], (std::vector<std::string>{"3", "4.5", "7", "1", "0", "5"}));
    EXPECT_EQ(names(m), "decbfa");
    // The highest first sorts by row 20 only.
    m = matrix({"1", "3", "3", "2", "3"}, {"1", "2", "9", "0", "5"});
    BubbleSortHighest(m, 3);
    EXPECT_EQ(m[20], (std::vector<std::string>{"3", "3", "3", "2", "1"}));
    // Equal row-20 values are not put in order of row 3.
    EXPECT_EQ(m[3], (std::vector<std::string>{"5", "2", "9", "0", "1"}));
}

TEST(ColumnSort, LeavesEmptyTablesAndRefusesMissingRows) {
    TextMatrix no_columns(21);
    BubbleSortHighest(no_columns, 3);
    TextMatrix short_one(5, std::vector<std::string>(2, "1"));
    EXPECT_THROW(BubbleSortLowest(short_one, 3), platform::Error);
    TextMatrix m = matrix({"1", "2"}, {"1", "2"});
    EXPECT_THROW(BubbleSortLowest(m, 21), platform::Error);
    m[4].pop_back();
    EXPECT_THROW(BubbleSortHighest(m, 3), platform::Error);
}

TEST(Val, ReadsTheLeadingNumber) {
    const std::pair<const char*, double> cases[] = {
        {"12abc", 12}, {" 1 2 . 5", 12.5}, {"-3.5e2x", -350}, {"1e", 1}, {"abc", 0}, {".5", 0.5},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(Val(text), value) << text;
}

}  // namespace
}  // namespace hxq::settings
