// The single-phase, two-stage and air dryer printouts' merge records: the field names the
// templates address, and the values of real calculations on the sample range down to the
// bytes of the merge data file.
#include "output/merge_air_dryer.h"
#include "output/merge_spc.h"

#include "batch/ad_records.h"
#include "merge_fixture.h"
#include "merge_headers.h"
#include "platform/error.h"
#include "platform/scratch.h"
#include "preview_samples.h"

#include <cmath>
#include <functional>

namespace hxq::test {
namespace {

constexpr std::int16_t kGermanOffset = 3000;
// The connection and quotation block the air dryer printout always writes.
constexpr std::size_t kAirDryerQuotationFields = 40;

class MergeSinglePhase : public MergeTest {
protected:
    static const core::SPCDataType& water() { return sample_records().water; }
    static const core::TwoStageType& two_stage() { return sample_records().two_stage; }
    static const batch::ADDataType& air_dryer() { return sample_records().air_dryer; }
};

TEST_F(MergeSinglePhase, EveryFormWritesTheFieldNamesItsTemplatesAddress) {
    const QuotationTexts quotation;
    struct Case {
        const char* form;
        std::function<MergeRecord(bool quote)> build;
        std::function<Names(bool quote)> expected;
        const char* last_without_quotation;
    };
    const Case cases[] = {
        {"SPC", [&](bool q) { return output::spc_merge_record(water(), 1, si(), q, "", quotation, false); },
         [](bool q) { return single_phase_names(false, q); }, "Shear2_u'"},
        {"SPCDual", [&](bool q) { return output::spc_merge_record(water(), 1, si(), q, "", quotation, true); },
         [](bool q) { return single_phase_names(true, q); }, "Shear2_u'"},
        {"TwoStage", [&](bool q) { return output::two_stage_merge_record(two_stage(), 1, si(), q, quotation); },
         two_stage_names, "'TPD2_u'"},
        {"AD", [&](bool q) { return output::air_dryer_merge_record(air_dryer(), 1, false, 0, q, si(), quotation); },
         [](bool) { return air_dryer_names(); }, "'Comment3'"},
    };
    for (const Case& c : cases) {
        for (const bool quote : {false, true}) {
            SCOPED_TRACE(std::string(c.form) + (quote ? " with quotation" : ""));
            const MergeRecord record = c.build(quote);
            EXPECT_EQ(record.names(), c.expected(quote));
            EXPECT_EQ(field_count(record.value_line()), field_count(record.header_line()));
            EXPECT_EQ(record.names().back(), quote ? "'Comment3'" : c.last_without_quotation);
        }
    }

    // The air dryer's connection and quotation fields are empty without a quotation and
    // name its three connections with one.
    const MergeRecord plain = output::air_dryer_merge_record(air_dryer(), 1, false, 0, false, si(), quotation);
    for (std::size_t i = plain.size() - kAirDryerQuotationFields; i < plain.size(); ++i)
        EXPECT_EQ(plain.values()[i], "") << plain.names()[i];
    const MergeRecord quoted = output::air_dryer_merge_record(air_dryer(), 1, false, 0, true, si(), quotation);
    EXPECT_EQ(value_of(quoted, "'ConnPlace1'"), "F3/F1");
    EXPECT_EQ(value_of(quoted, "'ConnPlace2'"), "P4/P3");
    EXPECT_EQ(value_of(quoted, "'ConnPlace3'"), "F4=>P1");
    EXPECT_EQ(value_of(quoted, "'PlMtrl'"), "AISI 316");
}

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

    // A double quote of the designation reaches the file as the diaeresis of code page
    // 1252, units as its single bytes.
    d.outdata[1].XerAlias = "Q22\"H";
    ScratchDir dir;
    const output::MergeDataFile file(output::spc_merge_record(d, 1, si(), false, "Design", {}, false), dir.path());
    const std::string bytes = read_file(file.path());
    EXPECT_NE(bytes.find(";Q22\xA8H"), std::string::npos);
    EXPECT_EQ(bytes.find("Q22\""), std::string::npos);
    EXPECT_NE(bytes.find(";194.0;\xB0" "F;"), std::string::npos);
    EXPECT_EQ(bytes.find('\xC2'), std::string::npos);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
}

TEST_F(MergeSinglePhase, OverSurfaceAndDualLoadRules) {
    struct Case {
        double over_surface;
        bool over_surface_given;
        bool quote;
        bool box_ticked;
        const char* written;
    };
    const Case cases[] = {
        {1.5, false, false, true, "0"},    // a margin nobody asked for
        {-1.5, false, false, true, "0"},
        {1.5, true, false, true, "1.5"},
        {12.9, false, false, true, "12.9"},
        {12.9, false, true, false, "-"},   // the quotation form hides it
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

    core::SPCDataType dual = water();
    dual.GivenValues.IsDualCalc = true;
    dual.GivenValues.heatLoad = typed("40", kKilowatt);
    const MergeRecord record = output::spc_merge_record(dual, 1, si(), false, "", {}, true);
    EXPECT_EQ(value_of(record, "'HeatLoad'"), "80.0");
    EXPECT_EQ(value_of(record, "'HeatLoadTotal'"), "2x(40.0)");
    EXPECT_EQ(value_of(record, "'Fluid1a'"), "Water");
    EXPECT_EQ(value_of(record, "'Fluid1b'"), "Water");

    // A duty sized by its flows has the rated load, both circuits' already.
    dual.GivenValues.heatLoad.Given = false;
    dual.InData.HeatLoad.Given = false;
    const double rated = dual.outdata[1].OutputData.HeatLoad;
    const MergeRecord sized = output::spc_merge_record(dual, 1, si(), false, "", {}, true);
    EXPECT_NEAR(number_of(sized, "'HeatLoad'"), rated / 1e3, 0.01 * rated / 1e3);
    EXPECT_NEAR(number_of(sized, "'HeatFlux'") * number_of(sized, "'Area'"), rated / 1e3, 0.02 * rated / 1e3);
}

TEST_F(MergeSinglePhase, TwoStageWritesThePackOfBothStages) {
    const core::TwoStageType& d = two_stage();
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
    const batch::ADOutputType& pair = air_dryer().ADOutData[1];
    ASSERT_TRUE(pair.Exist);
    const MergeRecord record = output::air_dryer_merge_record(air_dryer(), 1, true, 0, false, si(), {});
    EXPECT_EQ(value_of(record, "'CalcM'"), "Performance");
    EXPECT_EQ(value_of(record, "'XerName'"), "AD 200");
    EXPECT_EQ(value_of(record, "FluNameAir'"), "Humid air");
    EXPECT_NEAR(number_of(record, "'LoadTot'"),
                (pair.RefHXQResults_new.HeatLoad + pair.AirHXQResults.HeatLoad) / 1e3, 0.02);
    EXPECT_NEAR(number_of(record, "'dPTot'"), pair.TotalPressureDrop / 1e3, 0.1);
    EXPECT_EQ(value_of(record, "'NoPAir'"), std::to_string(pair.TotalNumberOfPlates - pair.RefNumberOfPlates));
    EXPECT_EQ(value_of(output::air_dryer_merge_record(air_dryer(), 1, false, kGermanOffset, false, si(), {}),
                       "'CalcM'"),
              "Auslegung");

    // A pair that misses the duty has nothing rated to show.
    batch::ADDataType missed = air_dryer();
    missed.ADOutData[1].Exist = false;
    const MergeRecord none = output::air_dryer_merge_record(missed, 1, false, 0, false, si(), {});
    EXPECT_EQ(value_of(none, "'LoadTot'"), "-");
    EXPECT_NEAR(number_of(none, "'TinAir'"), 35, 0.05);
}

TEST_F(MergeSinglePhase, AnAlternativeOutsideOneToSevenIsABoundsFailure) {
    for (const std::int16_t index : {0, 8}) {
        SCOPED_TRACE(index);
        const std::function<void()> builds[] = {
            [&] { output::spc_merge_record(water(), index, si(), false, "", {}, false); },
            [&] { output::two_stage_merge_record(two_stage(), index, si(), false, {}); },
            [&] { output::air_dryer_merge_record(air_dryer(), index, false, 0, false, si(), {}); },
        };
        for (const auto& build : builds) {
            try {
                build();
                ADD_FAILURE() << "no failure";
            } catch (const platform::Error& e) {
                EXPECT_EQ(e.number(), 9);
            }
        }
    }
}

}  // namespace
}  // namespace hxq::test
