// The calculation records: declared array bounds and the texts of the engine error codes.
#include "records/calc_records.h"
#include "records/engine_error_text.h"
#include "platform/error.h"

#include <gtest/gtest.h>

namespace hxq::core {
namespace {

// Listed codes carry their message; unlisted and out-of-range codes none; code 6 follows
// the calculation type.
TEST(EngineErrorText, TextsByCodeAndCalculationType) {
    struct Case {
        std::int32_t number;
        std::int16_t calc_type;
        const char* text;
    };
    constexpr std::int32_t base = platform::kObjectError;
    for (const Case& c : {Case{base + 15, 0, "Error number: 15 : No solution found !"},
                          {-2147221504 + 4, 0, "Error number: 4 : Crossing or impossible temperatures."},
                          {base + 46, 0, "Error number: 46 : Wrong channel arrangment."},
                          {base + 12, 0, "Error number: 12 : "},
                          {base + 47, 0, "Error number: 47 : "},
                          {base + 0, 0, "Error number: 0 : "},
                          {base + 666, 0, "Error number: 666 : "},
                          {INT32_MAX, 0, "Error number: 4294705151 : "},  // far below the base: no overflow
                          {base + 6, 1, "Error number: 6 : No condensation, use Single Phase instead."},
                          {base + 6, 2, "Error number: 6 : "}})
        EXPECT_EQ(EngineErrorText(c.number, c.calc_type), c.text) << c.number << " type " << c.calc_type;
    const std::string spc = EngineErrorText(base + 6, 0);
    EXPECT_NE(spc.find("You have specified an incorrect number of plates.\r\nIf you have more than one pass"),
              std::string::npos);
    EXPECT_NE(spc.find("\r\nOtherwise number of plates must be an even number."), std::string::npos);
}

TEST(Records, ArraysKeepTheirDeclaredBounds) {
    SPCDataType d;
    EXPECT_EQ(d.outdata.size(), 7u);
    EXPECT_NO_THROW(d.outdata[1]);
    EXPECT_NO_THROW(d.outdata[7]);
    EXPECT_THROW(d.outdata[0], std::out_of_range);
    EXPECT_THROW(d.outdata[8], std::out_of_range);
    EXPECT_THROW(d.GivenValues.MassFlux[3], std::out_of_range);
}

}  // namespace
}  // namespace hxq::core
