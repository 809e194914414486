// The single-phase, two-stage and air dryer printouts' merge records from real
// calculations on the sample range, and the load the dual forms of every kind write.
#include "output/merge_air_dryer.h"
#include "output/merge_con.h"
#include "output/merge_spc.h"
#include "output/merge_vap.h"

#include "batch/ad_records.h"
#include "output_fixture.h"

namespace hxq::test {
namespace {

// The connection and quotation block the air dryer printout always writes.
constexpr std::size_t kAirDryerQuotationFields = 40;

class MergeSinglePhase : public OutputTest {
protected:
    static const core::SPCDataType& water() { return sample_records().water; }
};

TEST_F(MergeSinglePhase, ValuesAreTypedWhereGivenAndConvertedIntoTheOutputUnitsElsewhere) {
    core::SPCDataType d = water();
    const core::SinglePhaseResult& r = d.outdata[1].OutputData;
    ASSERT_TRUE(r.Valid);
    d.GivenValues.heatLoad = typed("129000", kKcalPerHour);
    d.GivenValues.InletTemp[1] = typed("194", kFahrenheit);
    const MergeRecord record = output::spc_merge_record(d, 1, si(), false, "Design", {}, false);
    EXPECT_EQ(value_of(record, "'HeatLoad'"), "129000");
    EXPECT_EQ(value_of(record, "HeatLoad_u"), "kcal/h");
    EXPECT_EQ(value_of(record, "'Tin1'"), "194.0");
    EXPECT_EQ(value_of(record, "'Tin1_u'"), "°F");
    expect_converted(record, {
        {"FlowRate1", "FlowRate1_u", r.MassFlow[1], "kg/s"},
        {"'Visc2'", "'Visc2_u'", r.Viscosity[2] * 1e3, "cP"},
        {"'ViscWall1'", "'ViscWall1_u'", r.WallViscosity[1] * 1e3, "cP"},
        {"'HeatCap1'", "'HeatCap1_u'", r.SpecificHeat[1] / 1e3, "kJ/kg,°C"},
        {"'MTD'", "'MTD_u'", r.DeltaTempEffective, "ΔK"},
        {"'PressDropPort2'", "'PressDropPort2_u'", r.PortPressureDrop[2] / 1e3, "kPa"},
        {"'ConnDia1'", "'ConnDia1_u'", r.PortDiameterUp[1] * 1e3, "mm"},
        {"'Tmin2'", "'Tmin2_u'", r.MinTemp[2], "°C"},
        {"'Tmax1'", "'Tmax1_u'", r.MaxTemp[1], "°C"},
        {"'PD1'", "'TPD1_u'", r.ChannelPressureDrop[1] / 1e3, "kPa"},
        {"'Shear1'", "Shear1_u'", r.ShearStress[1], "Pa"},
    });
    EXPECT_NEAR(number_of(record, "'NTU2'"), r.NTU[2], 0.01 * r.NTU[2]);
    EXPECT_EQ(value_of(record, "'Para'"), "1");
    EXPECT_EQ(value_of(record, "'Note'"), "Port velocity above the limit, port pressure drop (.1 bar)");
    const MergeRecord us_record = output::spc_merge_record(d, 1, us(), false, "Design", {}, false);
    EXPECT_EQ(value_of(us_record, "'Tout2'"), "55.0");
    EXPECT_EQ(value_of(us_record, "'RefTemp2_u'"), "°F");
    EXPECT_NEAR(number_of(us_record, "'RefTemp2'"), r.RefTemp[2] * 1.8 + 32, 0.1);
}

TEST_F(MergeSinglePhase, OverSurfaceIsWrittenOnlyWhereItIsAsked) {
    struct Case { double over_surface; bool over_surface_given, quote, box_ticked; const char* written; };
    const Case cases[] = {
        {1.5, false, false, true, "0"},  // a margin nobody asked for
        {-1.5, false, false, true, "0"},
        {1.5, true, false, true, "1.5"},
        {12.9, false, false, true, "12.9"},
        {12.9, false, true, false, "-"},  // the quotation form hides it
        {12.9, false, true, true, "12.9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        core::SPCDataType d = water();
        d.outdata[1].OutputData.OverSurface = c.over_surface;
        d.GivenValues.OverSurface.Given = c.over_surface_given;
        QuotationTexts quotation;
        quotation.ShowOverSurface = c.box_ticked;
        EXPECT_EQ(value_of(output::spc_merge_record(d, 1, si(), c.quote, "", quotation, false), "'OverSurf'"),
                  c.written);
    }
}

TEST_F(MergeSinglePhase, DualFormsNameBothCircuitsAndWriteTheLoadOfBoth) {
    core::SPCDataType spc = water();
    spc.GivenValues.heatLoad = typed("40", kKilowatt);
    core::CONDataType con = sample_records().condenser;
    con.GivenValues.heatLoad = typed("43000", kKcalPerHour);
    core::VAPDataType vap = sample_records().dual;
    vap.GivenValues.heatLoad = typed("40", kKilowatt);
    spc.GivenValues.IsDualCalc = con.GivenValues.IsDualCalc = vap.GivenValues.IsDualCalc = true;
    struct Case { const char* form; MergeRecord record; const char* fluid; const char* load; const char* total; };
    const Case cases[] = {
        {"SPCDual", output::spc_merge_record(spc, 1, si(), false, "", {}, true), "Water", "80.0", "2x(40.0)"},
        {"CONDual", output::con_merge_record(con, 1, si(), false, "", {}, true), "R134a", "86000", "2x(43000)"},
        {"VAPDual", output::vap_merge_record(vap, 1, si(), false, "", {}, true), "R410A", "80.0", "2x(40.0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form);
        EXPECT_EQ(value_of(c.record, "'Fluid1a'"), c.fluid);
        EXPECT_EQ(value_of(c.record, "'Fluid1b'"), c.fluid);
        EXPECT_EQ(value_of(c.record, "'HeatLoad'"), c.load);
        EXPECT_EQ(value_of(c.record, "'HeatLoadTotal'"), c.total);
    }

    // A duty sized by its flows has the rated load, both circuits' already.
    spc.GivenValues.heatLoad.Given = false;
    spc.InData.HeatLoad.Given = false;
    const double rated = spc.outdata[1].OutputData.HeatLoad / 1e3;
    const MergeRecord sized = output::spc_merge_record(spc, 1, si(), false, "", {}, true);
    EXPECT_NEAR(number_of(sized, "'HeatLoad'"), rated, 0.01 * rated);
    EXPECT_NEAR(number_of(sized, "'HeatFlux'") * number_of(sized, "'Area'"), rated, 0.02 * rated);
}

TEST_F(MergeSinglePhase, TwoStageWritesThePackOfBothStages) {
    const core::TwoStageType& d = sample_records().two_stage;
    const core::SinglePhaseResult& r1 = d.outdata[1].Stage1.OutputData;
    const core::SinglePhaseResult& r2 = d.outdata[1].Stage2.OutputData;
    ASSERT_TRUE(r1.Valid && r2.Valid);
    const MergeRecord record = output::two_stage_merge_record(d, 1, si(), true, {});
    EXPECT_TRUE(value_of(record, "'XerName'").ends_with("/2S"));
    EXPECT_EQ(value_of(record, "'NoOfPlates'"), std::to_string(r1.NoOfPlates + r2.NoOfPlates + 1));
    // The primary enters the second stage and leaves the first; the radiator return
    // joins it in between.
    EXPECT_NEAR(number_of(record, "FlowRate1"), r2.MassFlow[1], 0.01 * r2.MassFlow[1]);
    EXPECT_NEAR(number_of(record, "FlowRateTot"), r1.MassFlow[1], 0.01 * r1.MassFlow[1]);
    EXPECT_NEAR(number_of(record, "FlowRateAdd"), d.Rad_Flow.SngValue, 0.01 * d.Rad_Flow.SngValue + 1e-3);
    EXPECT_NEAR(number_of(record, "'RefTemp1_2'"), r2.RefTemp[1], 0.05);
    EXPECT_NEAR(number_of(record, "'PressDropTot2'"), (r1.PressureDrop[2] + r2.PressureDrop[2]) / 1e3, 0.01);
    EXPECT_NEAR(number_of(record, "'HeatLoad'"), (r1.HeatLoad + r2.HeatLoad) / 1e3, 0.5);
    EXPECT_EQ(value_of(record, "'OverSurf_u'"), "%");
    EXPECT_EQ(value_of(record, "'ConnPlace1'"), "F3,F1/P3");
    EXPECT_EQ(value_of(record, "'ConnPlace2'"), "P4,F2/F4");
}

TEST_F(MergeSinglePhase, AirDryerWritesBothUnitsAndTheMethodInTheLanguage) {
    const batch::ADDataType& air_dryer = sample_records().air_dryer;
    const batch::ADOutputType& pair = air_dryer.ADOutData[1];
    ASSERT_TRUE(pair.Exist);
    const MergeRecord record = output::air_dryer_merge_record(air_dryer, 1, true, 0, false, si(), {});
    EXPECT_EQ(value_of(record, "'CalcM'"), "Performance");
    EXPECT_EQ(value_of(record, "'XerName'"), "AD 200");
    EXPECT_EQ(value_of(record, "FluNameAir'"), "Humid air");
    EXPECT_NEAR(number_of(record, "'LoadTot'"),
                (pair.RefHXQResults_new.HeatLoad + pair.AirHXQResults.HeatLoad) / 1e3, 0.02);
    EXPECT_NEAR(number_of(record, "'dPTot'"), pair.TotalPressureDrop / 1e3, 0.1);
    EXPECT_EQ(value_of(record, "'NoPAir'"), std::to_string(pair.TotalNumberOfPlates - pair.RefNumberOfPlates));
    EXPECT_EQ(value_of(output::air_dryer_merge_record(air_dryer, 1, false, 3000, false, si(), {}), "'CalcM'"),
              "Auslegung");

    // The connection and quotation fields are empty without a quotation and name its
    // three connections with one.
    for (std::size_t i = record.size() - kAirDryerQuotationFields; i < record.size(); ++i)
        EXPECT_EQ(record.values()[i], "") << record.names()[i];
    const MergeRecord quoted = output::air_dryer_merge_record(air_dryer, 1, false, 0, true, si(), {});
    EXPECT_EQ(value_of(quoted, "'ConnPlace1'"), "F3/F1");
    EXPECT_EQ(value_of(quoted, "'ConnPlace2'"), "P4/P3");
    EXPECT_EQ(value_of(quoted, "'ConnPlace3'"), "F4=>P1");
    EXPECT_EQ(value_of(quoted, "'PlMtrl'"), "AISI 316");

    // A pair that misses the duty has nothing rated to show.
    batch::ADDataType missed = air_dryer;
    missed.ADOutData[1].Exist = false;
    const MergeRecord none = output::air_dryer_merge_record(missed, 1, false, 0, false, si(), {});
    EXPECT_EQ(value_of(none, "'LoadTot'"), "-");
    EXPECT_NEAR(number_of(none, "'TinAir'"), 35, 0.05);
}

}  // namespace
}  // namespace hxq::test
