#include "core/model_designation.h"

#include <gtest/gtest.h>

namespace hxq::core {
namespace {

std::string format(std::string designation, std::int16_t plates, const std::string& s1, const std::string& s2,
                   bool halves = false, const DesignationRules& rules = {}) {
    const std::string returned = FormatModelDesignation(designation, plates, s1, s2, halves, rules);
    EXPECT_EQ(returned, designation);  // the designation argument is replaced too
    return returned;
}

TEST(ModelDesignation, OneChannelTypeOnBothSides) {
    EXPECT_EQ(format("QB10", 40, "19H", "20H"), "QB10x40H/1P");
    EXPECT_EQ(format("QB10", 40, "19H", "20L"), "QB10x40 (19H, 20L)/1P");
}

TEST(ModelDesignation, MixedSidesTakeTheLettersOfTheirFamily) {
    EXPECT_EQ(format("QB10", 40, "12H+7M", "12H+8M"), "QB10x40 (12H+7M, 12H+8M)/1P");
    // Without an H on side 1 the two types are M and L.
    EXPECT_EQ(format("QB10", 40, "12M+7L", "20M"), "QB10x40 (12M+7L, 20M)/1P");
}

TEST(ModelDesignation, PassesComeFromTheSideOneText) {
    EXPECT_EQ(format("QB20", 41, "2*(6H+4M)", "2*(10H)"), "QB20x41 (6H+4M, 10H)/2P");
    EXPECT_EQ(format("QB20", 61, "3*(10H)", "3*(10H)"), "QB20x61H/3P");
}

TEST(ModelDesignation, DualUnitsShowBothHalves) {
    EXPECT_EQ(format("QD30", 60, "29H", "30H", true), "QD30x30x30H/1P");
    EXPECT_EQ(format("QD30", 61, "30H", "30H", true), "QD30x30x31H/1P");
}

TEST(ModelDesignation, ProductRulesForSpecialCodes) {
    DesignationRules rules;
    rules.DropTrailingLetter = {"QB50A"};
    rules.PlatesFromChannels = {"K"};
    EXPECT_EQ(format("QB50A", 40, "19H", "20H", false, rules), "QB50x40H/1P");
    EXPECT_EQ(format("QB50B", 40, "19H", "20H", false, rules), "QB50Bx40H/1P");
    // 2 passes × 8 + 1 + 2 × (5 + 3)
    EXPECT_EQ(format("QK60", 99, "2*(8K)", "2*(5M+3L)", false, rules), "QK60x33 (8K, 5M+3L)/2P");
}

TEST(ModelDesignation, NoChannelTexts) { EXPECT_EQ(format("QB10", 24, "", ""), "QB10x24/1P"); }

}  // namespace
}  // namespace hxq::core
