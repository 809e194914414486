// The condenser, evaporator and cascade printouts' merge records from real calculations
// on the sample range: given values as typed, results in the output units; and the
// remarks of each cascade circuit.
#include "output/merge_cascade.h"
#include "output/merge_con.h"
#include "output/merge_vap.h"

#include "output_fixture.h"

namespace hxq::test {
namespace {

class MergeTwoPhase : public OutputTest {
protected:
    // The sample condenser as its user typed it: the load in kcal/h, the water inlet in °F.
    static core::CONDataType condenser() {
        core::CONDataType d = sample_records().condenser;
        d.GivenValues.heatLoad = typed("43000", kKcalPerHour);
        d.GivenValues.InletTemp[2] = typed("86", kFahrenheit);
        return d;
    }
};

TEST_F(MergeTwoPhase, CondenserValuesAreTypedWhereGivenAndConvertedIntoTheOutputUnitsElsewhere) {
    core::CONDataType d = condenser();
    const core::CondenserResult& r = d.outdata[1].OutputData;
    ASSERT_EQ(r.Status, -1);
    d.outdata[1].XerAlias = "Q22\"H";
    const MergeRecord record = output::con_merge_record(d, 1, si(), false, "Design", {}, false);
    // The designation's double quote as the diaeresis the data file writes in its code page.
    EXPECT_EQ(value_of(record, "'XerName'").rfind("Q22\xC2\xA8H", 0), 0u) << value_of(record, "'XerName'");

    // Given: the user's text and unit, not the SI value converted.
    EXPECT_EQ(value_of(record, "'HeatLoad'"), "43000");
    EXPECT_EQ(value_of(record, "HeatLoad_u"), "kcal/h");
    EXPECT_EQ(value_of(record, "'Tin2'"), "86.0");
    EXPECT_EQ(value_of(record, "'Tin2_u'"), "°F");
    expect_converted(record, {
        {"'Tin1'", "'Tin1_u'", r.InletTemp[1], "°C"},
        {"'Tout1'", "'Tout1_u'", r.OutletTemp[1], "°C"},
        {"FlowRate2", "FlowRate2_u", r.MassFlow[2], "kg/s"},
        {"FluidCond", "FluidCond_u", r.FluidCondensed, "kg/s"},
        {"OPout", "OPout_u", r.OperatingPressOut / 1e5, "bar"},
        {"'CondTemp'", "'CondTemp_u'", r.CondensingTemp, "°C"},
        {"'Area'", "'Area_u'", r.HeatTransferArea, "m²"},
        {"'PressDropTot2'", "'PressDropTot2_u'", r.PressureDrop[2] / 1e3, "kPa"},
        {"'ViscRefLiq'", "'ViscRefLiq_u'", r.RefLiquid.Viscosity * 1e3, "cP"},
        {"'DensGas'", "'DensGas_u'", r.RefVapor.Density, "kg/m³"},
        {"'HeatCap2'", "'HeatCap2_u'", r.Side2.SpecificHeat / 1e3, "kJ/kg,°C"},
        {"'SubC'", "'SubC_u'", r.SubCooling, "ΔK"},
        {"'Dia1'", "'Dia_u'", r.PortDiameterUp[1] * 1e3, "mm"},
        {"'Dia4'", "'Dia_u'", r.PortDiameterDown[2] * 1e3, "mm"},
        {"'PortVel2'", "'PortVel2_u'", r.PortVelocity[2], "m/s"},
    });
    // The flux of the load written, over the area.
    EXPECT_NEAR(number_of(record, "'HeatFlux'") * number_of(record, "'Area'"), 50.0, 1.0);
    EXPECT_EQ(value_of(record, "'Fluid1'"), "R134a");
    EXPECT_EQ(value_of(record, "'Fluid2'"), "Water");
    EXPECT_EQ(value_of(record, "'NoOfPlates'"), std::to_string(r.NoOfPlates));
    EXPECT_EQ(value_of(record, "'NoofChan2'"), std::to_string(r.NoOfChannels[2]));
    EXPECT_EQ(value_of(record, "'CalcM'"), "Design");

    // The same record in US units converts what was not given, keeps what was.
    const MergeRecord us_record = output::con_merge_record(d, 1, us(), false, "Design", {}, false);
    EXPECT_EQ(value_of(us_record, "'HeatLoad'"), "43000");
    EXPECT_EQ(value_of(us_record, "'Area_u'"), "ft²");
    EXPECT_NEAR(number_of(us_record, "'Area'"), r.HeatTransferArea / (0.3048 * 0.3048), 0.01 * r.HeatTransferArea / 0.09);
    EXPECT_EQ(value_of(us_record, "'Tout1_u'"), "°F");
}

TEST_F(MergeTwoPhase, EvaporatorWritesItsGasAndDistributorFields) {
    core::VAPDataType d = sample_records().evaporator;
    const core::EvaporatorResult& r = d.outdata[1].OutputData;
    ASSERT_EQ(r.Status, -1);
    const MergeRecord plain = output::vap_merge_record(d, 1, si(), false, "", {}, false);
    EXPECT_NEAR(number_of(plain, "'ToutGas'"), r.OutletTempGas, 0.05);
    EXPECT_NEAR(number_of(plain, "FluidVap"), r.FluidVaporized, 0.01 * r.FluidVaporized);
    EXPECT_NEAR(number_of(plain, "FlowRateGas"), r.InletVaporFlow, 0.01 * r.InletVaporFlow);
    EXPECT_NEAR(number_of(plain, "'EvapTemp'"), r.EvapTemp, 0.05);
    EXPECT_EQ(value_of(plain, "'Fluid2'"), "Ethylene glycol 30.0 %");
    for (const bool v_ring : {false, true}) {
        d.outdata[1].OutputData.VType = v_ring;
        d.outdata[1].OutputData.VRingPressureDrop = 4500;
        const MergeRecord record = output::vap_merge_record(d, 1, si(), false, "", {}, false);
        EXPECT_EQ(value_of(record, "'PDropFlu'"), v_ring ? "4.50" : " - ");
        EXPECT_EQ(value_of(record, "PDropFlu_u'"), "kPa");
    }
}

TEST_F(MergeTwoPhase, CascadeSideOneIsTheEvaporatingCircuitSideTwoTheCondensingOne) {
    const core::CascadeDataType& d = sample_records().cascade;
    ASSERT_LT(d.outdataVap[1].Price, core::kEmptySlotPrice);
    const core::EvaporatorResult& v = d.outdataVap[1].OutputData;
    const core::CondenserResult& c = d.outdataCon[1].OutputData;
    const MergeRecord record = output::cascade_merge_record(d, 1, si(), false, "", {});
    EXPECT_EQ(value_of(record, "'Fluid1'"), "R134a");
    EXPECT_EQ(value_of(record, "'Fluid2'"), "R744");
    struct Field { const char* name; double expected; };
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

TEST(CascadeNote, EachCircuitsRemarksFollowItsName) {
    struct Case { const char* condensing; const char* evaporating; const char* note; };
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
