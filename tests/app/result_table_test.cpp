// The channel texts of the printed designation: counts of one pass per channel type.
#include "result_table.h"

#include <gtest/gtest.h>

namespace hxq::app {
namespace {

core::OutDataType alternative(const std::string& chantype, int passes, int left1, int right1, int left2, int right2) {
    core::OutDataType a;
    a.XerAlias = "Q22";
    a.Chantype = chantype;
    core::SinglePhaseResult& r = a.OutputData;
    r.NoOfPasses = static_cast<std::int16_t>(passes);
    const int counts[2][2] = {{left1, right1}, {left2, right2}};
    for (int s = 1; s <= 2; ++s) {
        r.Passes[s] = static_cast<std::int16_t>(passes);
        r.Channelout[s][1] = static_cast<std::int16_t>(counts[s - 1][0]);
        r.Channelout[s][2] = static_cast<std::int16_t>(counts[s - 1][1]);
        r.NoOfChannels[s] = static_cast<std::int16_t>(counts[s - 1][0] + counts[s - 1][1]);
    }
    r.NoOfPlates = static_cast<std::int16_t>(r.NoOfChannels[1] + r.NoOfChannels[2] + 1);
    return a;
}

TEST(ChannelText, CountsOfOnePassAddUpToThePassesChannels) {
    // 53 plates in two passes: 26 channels a side, 13 of each type, 13 per pass.
    const core::OutDataType mixed = alternative("HM", 2, 13, 13, 13, 13);
    EXPECT_EQ(ChannelText(mixed, 1), "2*(7H+6M)");
    EXPECT_EQ(Designation(mixed, false), "Q22x53 (7H+6M, 7H+6M)/2P");

    const core::OutDataType even = alternative("HM", 2, 10, 10, 10, 10);
    EXPECT_EQ(ChannelText(even, 2), "2*(5H+5M)");

    // One pass: the unit's counts as they are, the odd channel on side 2.
    const core::OutDataType single = alternative("H", 1, 14, 0, 15, 0);
    EXPECT_EQ(ChannelText(single, 1), "14H");
    EXPECT_EQ(ChannelText(single, 2), "15H");
    EXPECT_EQ(Designation(single, false), "Q22x30H/1P");

    const core::OutDataType three = alternative("L", 3, 18, 0, 18, 0);
    EXPECT_EQ(ChannelText(three, 1), "3*(6L)");
}

}  // namespace
}  // namespace hxq::app
