// Connection sizing: the density of each kind of port flow, the diameter from it, and
// the arguments that have no diameter.
#include "output/cls_output.h"

#include "platform/error.h"

#include <gtest/gtest.h>

#include <limits>

namespace hxq::output {
namespace {

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
        try {
            clsOutput::TheConnection(c.in_out, c.quality, c.vapour, c.liquid, c.flow, c.units);
            ADD_FAILURE() << "no error";
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.number(), 5);
            EXPECT_EQ(e.source(), "TheConnection");
            EXPECT_NE(e.description().find("Invalid procedure call or argument"), std::string::npos);
            EXPECT_NE(e.description().find(c.named), std::string::npos) << e.description();
        }
    }
}

}  // namespace
}  // namespace hxq::output
