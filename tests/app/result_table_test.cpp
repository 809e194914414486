// The channel texts of the designation printed for a single-phase alternative.
#include "result_table.h"

#include <gtest/gtest.h>

#include <array>

namespace hxq::app {
namespace {

// The channel texts of the printed designation: counts of one pass per channel type.
TEST(ChannelText, CountsOfOnePassAddUpToThePassesChannels) {
    struct Case {
        const char* chantype;
        int passes;
        std::array<int, 4> channels;  // left and right type of side 1, then of side 2
        int side;
        const char* text;
        const char* designation;
    };
    for (const Case& c : {
             // 53 plates in two passes: 26 channels a side, 13 of each type, 13 per pass.
             Case{"HM", 2, {13, 13, 13, 13}, 1, "2*(7H+6M)", "Q22x53 (7H+6M, 7H+6M)/2P"},
             Case{"HM", 2, {10, 10, 10, 10}, 2, "2*(5H+5M)", "Q22x41 (5H+5M, 5H+5M)/2P"},
             // One pass: the unit's counts as they are, the odd channel on side 2.
             Case{"H", 1, {14, 0, 15, 0}, 1, "14H", "Q22x30H/1P"},
             Case{"H", 1, {14, 0, 15, 0}, 2, "15H", "Q22x30H/1P"},
             Case{"L", 3, {18, 0, 18, 0}, 1, "3*(6L)", "Q22x37L/3P"},
         }) {
        core::OutDataType a;
        a.XerAlias = "Q22";
        a.Chantype = c.chantype;
        core::SinglePhaseResult& r = a.OutputData;
        r.NoOfPasses = static_cast<std::int16_t>(c.passes);
        for (int s = 1; s <= 2; ++s) {
            const auto left = static_cast<std::size_t>(2 * (s - 1));
            r.Passes[s] = static_cast<std::int16_t>(c.passes);
            r.Channelout[s][1] = static_cast<std::int16_t>(c.channels[left]);
            r.Channelout[s][2] = static_cast<std::int16_t>(c.channels[left + 1]);
            r.NoOfChannels[s] = static_cast<std::int16_t>(c.channels[left] + c.channels[left + 1]);
        }
        r.NoOfPlates = static_cast<std::int16_t>(r.NoOfChannels[1] + r.NoOfChannels[2] + 1);
        EXPECT_EQ(ChannelText(a, c.side), c.text) << c.designation;
        EXPECT_EQ(Designation(a, false), c.designation);
    }
}

}  // namespace
}  // namespace hxq::app
