// The calculation records: whole-value copies, declared array bounds, and the texts of the
// engine error codes.
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

struct StubFluid : FluidObject {
    double pressure = 1e5;
    std::int32_t GetFluidID() const override { return 7; }
    std::string YFluidName() const override { return "Stub"; }
    double YConc() const override { return 0; }
    bool YGas() const override { return false; }
    bool IsTwoPhase() const override { return false; }
    double YPressure() const override { return pressure; }
    void SetYPressure(double p) override { pressure = p; }
    double YDensity(double) const override { return 1000; }
    double YHeatCapacity(double) const override { return 4180; }
    double YConductivity(double) const override { return 0.6; }
    double YViscosity(double) const override { return 1e-3; }
};

TEST(Records, CopiesAreWholeValuesExceptFluidReferences) {
    SPCDataType a;
    a.GivenValues.InletTemp[1].sValue = "60";
    a.GivenValues.NoOfChannels[2][1].Given = true;
    a.outdata[7].Price = 1e10f;
    a.outdata[3].XerPhysics.Vol[2] = 1.5f;
    auto fluid = std::make_shared<StubFluid>();
    a.InData.Fluid[1] = fluid;

    SPCDataType b = a;
    b.GivenValues.InletTemp[1].sValue = "70";
    b.GivenValues.NoOfChannels[2][1].Given = false;
    b.outdata[3].XerPhysics.Vol[2] = 9.0f;
    EXPECT_EQ(a.GivenValues.InletTemp[1].sValue, "60");
    EXPECT_TRUE(a.GivenValues.NoOfChannels[2][1].Given);
    EXPECT_FLOAT_EQ(a.outdata[3].XerPhysics.Vol[2], 1.5f);
    EXPECT_FLOAT_EQ(b.outdata[7].Price, 1e10f);

    // The fluid is shared: a pressure set through the copy is seen by the original.
    b.InData.Fluid[1]->SetYPressure(3e5);
    EXPECT_DOUBLE_EQ(a.InData.Fluid[1]->YPressure(), 3e5);
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
