// Numbers and texts: display texts with significant digits and fixed decimals under both
// decimal separators, the leading number of a text, and the column sorts that compare by it.
#include "settings/format.h"

#include "platform/error.h"
#include "platform/locale.h"
#include "settings/cls_misc.h"

#include <gtest/gtest.h>

#include <string>

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
        {5.0f, "5.00"},       {50.0f, "50.0"},      {500.0f, "500"},         {1200.0f, "1200"},
        {0.3f, "0.300"},      {0.005f, "0.00500"},  {0.000123f, "123e-6"},   {1.2e6f, "1.20e6"},
        {2e-5f, "20.00e-6"},  {1.0f, "1.00"},       {10.0f, "10.0"},         {100.0f, "100"},
        {0.01f, "0.0100"},    {-5.0f, "-5.00"},     {12.345f, "12.3"},       {999.7f, "1000"},
        {1.0e6f, "1.00e6"},   {3.5e9f, "3.50e9"},   {0.1234f, "0.123"},      {123456.0f, "123000"},
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
        {25.0f, "25.0"},  {300.0f, "300.0"}, {-10.0f, "-10.0"}, {-40.0f, "-40.0"}, {0.01f, "0.0"},
        {25.1f, "25.1"},  {25.01f, "25.0"},  {25.04f, "25.0"},  {25.06f, "25.1"},  {-0.04f, "0.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatSignificant(c.value, 4, 273.15f), expect(c.text)) << c.value;
    // Zero is "0" whatever the digits and offset.
    EXPECT_EQ(FormatSignificant(0.0f, 3, 0.0f), "0");
    EXPECT_EQ(FormatSignificant(0.0f, 4, 273.15f), "0");
    EXPECT_EQ(show_value(Variant(0), 7), "0");
}

TEST_P(DisplayUnderSeparator, ShowValReadsNumbersAndTextsInEitherSeparator) {
    EXPECT_EQ(show_value(Variant(5.0), 3), expect("5.00"));
    EXPECT_EQ(show_value(Variant("0.005"), 3), expect("0.00500"));
    EXPECT_EQ(show_value(Variant("0,005"), 3), expect("0.00500"));
    EXPECT_EQ(show_value(Variant(" 1200 "), 3), "1200");
    EXPECT_EQ(show_value(Variant(25), 4, 273.15f), expect("25.0"));
    for (const Variant& none : {Variant(""), Variant("abc"), Variant("1.2.3"), Variant("0x10"), Variant("inf"),
                                Variant::null(), Variant()})
        EXPECT_EQ(show_value(none, 3), "") << none.as_text();
}

TEST_P(DisplayUnderSeparator, FixedDecimalsByMagnitude) {
    EXPECT_EQ(FormatByMagnitude("0.5"), expect("0.500"));
    EXPECT_EQ(FormatByMagnitude("12.3456"), expect("12.35"));
    EXPECT_EQ(FormatByMagnitude("99.999"), expect("100.00"));
    EXPECT_EQ(FormatByMagnitude("123.45"), expect("123.5"));
    EXPECT_EQ(FormatByMagnitude("2.675"), expect("2.68"));
    EXPECT_EQ(FormatByMagnitude("1234.5"), "1235");
    EXPECT_EQ(FormatByMagnitude("-0.25"), expect("-0.250"));
    EXPECT_EQ(FormatByMagnitude("1,5"), expect("1.50"));
    EXPECT_EQ(FormatByMagnitude("n/a"), "n/a");
}

TEST_P(DisplayUnderSeparator, FixedDecimalsAsWritten) {
    EXPECT_EQ(FormatToOwnDecimals("1.50"), expect("1.50"));
    EXPECT_EQ(FormatToOwnDecimals(".5"), expect("0.5"));
    EXPECT_EQ(FormatToOwnDecimals("007"), "7");
    EXPECT_EQ(FormatToOwnDecimals("3,125"), expect("3.125"));
    EXPECT_EQ(FormatToOwnDecimals("abc"), "0");
    EXPECT_EQ(FormatToOwnDecimals(""), "0");
}

INSTANTIATE_TEST_SUITE_P(Separators, DisplayUnderSeparator, ::testing::Values(".", ","),
                         [](const auto& info) { return info.param == "." ? "Point" : "Comma"; });

TEST(NormaliseDecimal, FollowsTheLocaleSeparator) {
    {
        ScopedDecimalSeparator sep(",");
        EXPECT_EQ(NormaliseDecimal("1.5"), "1,5");
        EXPECT_EQ(NormaliseDecimal("1,5"), "1,5");
    }
    ScopedDecimalSeparator sep(".");
    EXPECT_EQ(NormaliseDecimal("1,5"), "1.5");
    EXPECT_EQ(NormaliseDecimal("a,b,c"), "a.b.c");
}

TEST(SingleText, ShortestTextThatReadsBack) {
    ScopedDecimalSeparator sep(".");
    EXPECT_EQ(single_text(0.1f), "0.1");
    EXPECT_EQ(single_text(25.0f), "25");
    EXPECT_EQ(single_text(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(single_text(-1234567.0f), "-1234567");
    EXPECT_EQ(single_text(1.5e-6f), "1.5E-06");
    EXPECT_EQ(single_text(2.5e8f), "2.5E+08");
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
    TextMatrix empty;
    BubbleSortLowest(empty, 3);
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
    EXPECT_EQ(Val("12abc"), 12);
    EXPECT_EQ(Val(" 1 2 . 5"), 12.5);
    EXPECT_EQ(Val("-3.5e2x"), -350);
    EXPECT_EQ(Val("1e"), 1);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val(".5"), 0.5);
}

}  // namespace
}  // namespace hxq::settings
