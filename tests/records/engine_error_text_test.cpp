#include "records/engine_error_text.h"
#include "platform/error.h"

#include <gtest/gtest.h>

namespace hxq::core {
namespace {

TEST(EngineErrorText, ListedCodesCarryTheirMessage) {
    EXPECT_EQ(EngineErrorText(platform::kObjectError + 15, 0), "Error number: 15 : No solution found !");
    EXPECT_EQ(EngineErrorText(-2147221504 + 4, 0),
              "Error number: 4 : Crossing or impossible temperatures.");
    EXPECT_EQ(EngineErrorText(platform::kObjectError + 46, 0), "Error number: 46 : Wrong channel arrangment.");
}

TEST(EngineErrorText, UnlistedAndOutOfRangeCodesHaveNoMessage) {
    EXPECT_EQ(EngineErrorText(platform::kObjectError + 12, 0), "Error number: 12 : ");
    EXPECT_EQ(EngineErrorText(platform::kObjectError + 47, 0), "Error number: 47 : ");
    EXPECT_EQ(EngineErrorText(platform::kObjectError + 0, 0), "Error number: 0 : ");
    EXPECT_EQ(EngineErrorText(platform::kObjectError + 666, 0), "Error number: 666 : ");
    // A number far below the base must not overflow.
    EXPECT_EQ(EngineErrorText(INT32_MAX, 0), "Error number: 4294705151 : ");
}

TEST(EngineErrorText, CodeSixFollowsTheCalculationType) {
    const std::string spc = EngineErrorText(platform::kObjectError + 6, 0);
    EXPECT_NE(spc.find("You have specified an incorrect number of plates.\r\nIf you have more than one pass"),
              std::string::npos);
    EXPECT_NE(spc.find("\r\nOtherwise number of plates must be an even number."), std::string::npos);
    EXPECT_EQ(EngineErrorText(platform::kObjectError + 6, 1),
              "Error number: 6 : No condensation, use Single Phase instead.");
    EXPECT_EQ(EngineErrorText(platform::kObjectError + 6, 2), "Error number: 6 : ");
}

}  // namespace
}  // namespace hxq::core
