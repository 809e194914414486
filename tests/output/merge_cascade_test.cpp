// The cascade printout's merge record from a real cascade calculation: both circuits'
// fields under the names the template addresses, and the remarks of each circuit.
#include "output/merge_cascade.h"

#include "core/sample_duties.h"
#include "merge_fixture.h"
#include "merge_headers.h"

#include <cmath>

namespace hxq::test {
namespace {

using output::MergeRecord;

class MergeCascade : public MergeTest {
protected:
    static void SetUpTestSuite() {
        MergeTest::SetUpTestSuite();
        core::clsCalculate calc;
        calc.SetSources(sample_sources());
        cascade_ = new core::CascadeDataType(cascade_duty());
        calc.CascadeMainCalcLoop(*cascade_);
    }
    static void TearDownTestSuite() { delete cascade_; }
    static const core::CascadeDataType& cascade() { return *cascade_; }

private:
    static inline core::CascadeDataType* cascade_ = nullptr;
};

TEST_F(MergeCascade, BothCircuitsUnderTheNamesOfTheTemplateWithOneValueEach) {
    ASSERT_LT(cascade().outdataVap[1].Price, core::kEmptySlotPrice);
    for (const bool quote : {false, true}) {
        SCOPED_TRACE(quote);
        const MergeRecord record = output::cascade_merge_record(cascade(), 1, si(), quote, "Design", {});
        EXPECT_EQ(record.names(), cascade_names(quote));
        EXPECT_EQ(record.values().size(), record.names().size());
        EXPECT_EQ(field_count(record.value_line()), field_count(record.header_line()));
    }
}

TEST_F(MergeCascade, SideOneIsTheEvaporatingCircuitSideTwoTheCondensingOne) {
    const core::EvaporatorResult& v = cascade().outdataVap[1].OutputData;
    const core::CondenserResult& c = cascade().outdataCon[1].OutputData;
    const MergeRecord record = output::cascade_merge_record(cascade(), 1, si(), false, "", {});
    EXPECT_EQ(value_of(record, "'Fluid1'"), "R134a");
    EXPECT_EQ(value_of(record, "'Fluid2'"), "R744");
    struct Field {
        const char* name;
        double expected;
    };
    const Field fields[] = {
        {"'Tin1'", v.InletTemp[1]},
        {"'Tin2'", c.InletTemp[1]},
        {"FlowRate2", c.MassFlow[1]},
        {"FluidCond", c.FluidCondensed},
        {"FluidVap", v.FluidVaporized},
        {"OPout", v.OperatingPressOut / 1e5},
        {"'OPout2'", c.OperatingPressOut / 1e5},
        {"'DensGas'", v.RefVapor.Density},
        {"'DensGas2'", c.RefVapor.Density},
        {"'Dens2'", c.RefLiquid.Density},
        {"'EvapTemp'", v.EvapTemp},
        {"'CondTemp'", c.CondensingTemp},
        {"'SuperHeat'", v.SuperHeat},
        {"'SubC'", c.SubCooling},
        {"'Dia1'", v.PortDiameterUp[1] * 1e3},
        {"'Dia5'", c.PortDiameterUp[1] * 1e3},
        {"'Dia8'", c.PortDiameterDown[2] * 1e3},
    };
    for (const Field& f : fields) {
        SCOPED_TRACE(f.name);
        EXPECT_NEAR(number_of(record, f.name), f.expected, 0.01 * std::fabs(f.expected) + 0.05);
    }
    EXPECT_EQ(value_of(record, "'NoofChan2'"), std::to_string(c.NoOfChannels[1]));
    EXPECT_EQ(value_of(record, "'NoOfPlates'"), std::to_string(v.NoOfPlates));
    EXPECT_EQ(value_of(record, "'Dia_u'"), "mm");
}

TEST_F(MergeCascade, EachCircuitsRemarksFollowItsName) {
    struct Case {
        const char* condensing;
        const char* evaporating;
        const char* note;
    };
    const Case cases[] = {
        {"", "", ""},
        {"Oversurface high", "", "Condenser: Oversurface high (62.0 %)"},
        {"", "Oversurface high", "Evaporator: Oversurface high (62.0 %)"},
        {"A", "B", "Condenser: A (62.0 %) Evaporator: B (62.0 %)"},
    };
    for (const Case& c : cases) {
        core::CondenserResult con;
        core::EvaporatorResult vap;
        con.NotePercentText[1] = c.condensing;
        vap.NotePercentText[2] = c.evaporating;
        con.NotePercent[1] = vap.NotePercent[2] = 62.04;
        EXPECT_EQ(output::cascade_note(con, vap), c.note);
    }
}

}  // namespace
}  // namespace hxq::test
