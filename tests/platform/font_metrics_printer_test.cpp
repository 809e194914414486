// The printer measuring with real font metrics: "Arial" resolves to the metric-compatible
// Liberation Sans (fonts-liberation2), whose advance widths per 2048 units of the em are
// published with it, so the widths of known strings are checked against those sums.
#include "platform/font_metrics_printer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace hxq::test {
namespace {

constexpr double kTwipsPerUnitAt9_5 = 9.5 * 20 / 2048;

TEST(FontMetricsPrinter, ArialIsMeasuredWithLiberationSansAtItsSize) {
    platform::FontMetricsPrinter printer;
    printer.set_font_name("Times New Roman");
    EXPECT_EQ(printer.resolved_family(), "Liberation Serif");
    printer.set_font_name("Arial");
    EXPECT_EQ(printer.resolved_family(), "Liberation Sans");
    EXPECT_EQ(printer.width(), 11906);  // A4 portrait, 210 mm
    printer.set_font_size(9.5);
    const std::pair<std::string, int> texts[] = {  // the text and the sum of its advance widths
        {"AISI 316", 1366 + 569 + 1366 + 569 + 569 + 1139 + 1139 + 1139},
        {"K\xC3\xA4yt\xC3\xA4", 1366 + 1139 + 1024 + 569 + 1139},  // "Käytä": letters, not bytes
    };
    for (const auto& [text, units] : texts)
        EXPECT_NEAR(printer.text_width(text), units * kTwipsPerUnitAt9_5, 2.0) << text;
    // Broken UTF-8 counts as a replacement character, also a sequence cut at the end.
    EXPECT_GT(printer.text_width("a\xFF" "b"), printer.text_width("ab"));
    EXPECT_GT(printer.text_width("a\xC3"), printer.text_width("a"));
    // The width follows the size and the font.
    const double small = printer.text_width("Pressure drop");
    printer.set_font_size(19);
    EXPECT_NEAR(printer.text_width("Pressure drop"), 2 * small, 1e-9);
    printer.set_font_name("Liberation Mono");
    printer.set_font_size(9.5);
    EXPECT_NEAR(printer.text_width("Pressure drop"), 13 * 1229 * kTwipsPerUnitAt9_5, 2.0);  // one advance for all
}

}  // namespace
}  // namespace hxq::test
