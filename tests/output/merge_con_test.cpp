// The condenser and evaporator printouts' merge records: the field names the templates
// address, and the values of a real calculation (given values as typed, results in the
// output units) down to the bytes of the merge data file.
#include "output/merge_con.h"
#include "output/merge_vap.h"

#include "core/sample_duties.h"
#include "merge_fixture.h"
#include "merge_headers.h"
#include "platform/error.h"
#include "platform/scratch.h"

#include <cmath>
#include <functional>

namespace hxq::test {
namespace {


class MergeTwoPhase : public MergeTest {
protected:
    static void SetUpTestSuite() {
        MergeTest::SetUpTestSuite();
        core::clsCalculate calc;
        calc.SetSources(sample_sources());
        condenser_ = new core::CONDataType(condenser_duty(180, false));
        calc.CONMainCalcLoop(*condenser_);
        // The duty as the user typed it: the load in kcal/h, the water inlet in °F.
        condenser_->GivenValues.heatLoad = typed("43000", kKcalPerHour);
        condenser_->GivenValues.InletTemp[2] = typed("86", kFahrenheit);
        evaporator_ = new core::VAPDataType(evaporator_duty(32, true));
        calc.VAPMainCalcLoop(*evaporator_);
    }
    static void TearDownTestSuite() {
        delete condenser_;
        delete evaporator_;
    }
    static const core::CONDataType& condenser() { return *condenser_; }
    static const core::VAPDataType& evaporator() { return *evaporator_; }

private:
    static inline core::CONDataType* condenser_ = nullptr;
    static inline core::VAPDataType* evaporator_ = nullptr;
};

TEST_F(MergeTwoPhase, EveryFormWritesTheFieldNamesItsTemplatesAddress) {
    const core::CONDataType con;
    const core::VAPDataType vap;
    const QuotationTexts quotation;
    struct Case {
        const char* form;
        std::function<MergeRecord(bool quote)> build;
        std::function<Names(bool quote)> expected;
    };
    const Case cases[] = {
        {"CON", [&](bool q) { return output::con_merge_record(con, 1, si(), q, "Design", quotation, false); },
         [](bool q) { return condenser_names(false, q); }},
        {"CONDual", [&](bool q) { return output::con_merge_record(con, 1, si(), q, "Design", quotation, true); },
         [](bool q) { return condenser_names(true, q); }},
        {"VAP", [&](bool q) { return output::vap_merge_record(vap, 1, si(), q, "Design", quotation, false); },
         [](bool q) { return evaporator_names(false, q); }},
        {"VAPDual", [&](bool q) { return output::vap_merge_record(vap, 1, si(), q, "Design", quotation, true); },
         [](bool q) { return evaporator_names(true, q); }},
    };
    for (const Case& c : cases) {
        for (const bool quote : {false, true}) {
            SCOPED_TRACE(std::string(c.form) + (quote ? " with quotation" : ""));
            const MergeRecord record = c.build(quote);
            EXPECT_EQ(record.names(), c.expected(quote));
            EXPECT_EQ(record.values().size(), record.names().size());
            EXPECT_EQ(field_count(record.value_line()), field_count(record.header_line()));
            EXPECT_EQ(record.names().back(), quote ? "'Comment3'" : "'Dia4'");
        }
    }
}

TEST_F(MergeTwoPhase, CondenserValuesAreTypedWhereGivenAndConvertedIntoTheOutputUnitsElsewhere) {
    const core::CONDataType& d = condenser();
    const core::CondenserResult& r = d.outdata[1].OutputData;
    ASSERT_EQ(r.Status, -1);
    const MergeRecord record = output::con_merge_record(d, 1, si(), false, "Design", {}, false);

    // Given: the user's text and unit, not the SI value converted.
    EXPECT_EQ(value_of(record, "'HeatLoad'"), "43000");
    EXPECT_EQ(value_of(record, "HeatLoad_u"), "kcal/h");
    EXPECT_EQ(value_of(record, "'Tin2'"), "86.0");
    EXPECT_EQ(value_of(record, "'Tin2_u'"), "°F");

    // Results in the output units of their groups.
    expect_converted(record, {
        {"'Tin1'", "'Tin1_u'", r.InletTemp[1], "°C"},
        {"'Tout2'", "'Tout2_u'", r.OutletTemp[2], "°C"},
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
    EXPECT_EQ(value_of(us_record, "'Tout2_u'"), "°F");
}

TEST_F(MergeTwoPhase, CondenserDataFileHoldsOneValuePerNameInCodePage1252) {
    const MergeRecord record = output::con_merge_record(condenser(), 1, si(), true, "Design", {}, false);
    ScratchDir dir;
    const output::MergeDataFile file(record, dir.path());
    const std::string bytes = read_file(file.path());
    const std::size_t end1 = bytes.find("\r\n");
    ASSERT_NE(end1, std::string::npos);
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    const std::string header = bytes.substr(0, end1);
    const std::string values = bytes.substr(end1 + 2, bytes.size() - end1 - 4);
    EXPECT_EQ(values.find("\r\n"), std::string::npos);
    EXPECT_EQ(field_count(header), condenser_names(false, true).size());
    EXPECT_EQ(field_count(values), field_count(header));
    // "°F" and "m²" as single bytes of the code page, never as UTF-8.
    EXPECT_NE(values.find(";86.0;\xB0" "F;"), std::string::npos);
    EXPECT_NE(values.find("m\xB2"), std::string::npos);
    EXPECT_EQ(values.find("\xC2"), std::string::npos);
}

TEST_F(MergeTwoPhase, DualFormsNameBothCircuitsAndWriteTheLoadOfBoth) {
    core::CONDataType con = condenser();
    con.GivenValues.IsDualCalc = true;
    core::VAPDataType vap = evaporator();
    vap.GivenValues.IsDualCalc = true;
    vap.GivenValues.heatLoad = typed("40", kKilowatt);
    struct Case {
        const char* form;
        MergeRecord record;
        const char* refrigerant;
        const char* load;
        const char* total;
    };
    const Case cases[] = {
        {"CONDual", output::con_merge_record(con, 1, si(), false, "", {}, true), "R134a", "86000", "2x(43000)"},
        {"VAPDual", output::vap_merge_record(vap, 1, si(), false, "", {}, true), "R410A", "80.0", "2x(40.0)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.form);
        EXPECT_EQ(value_of(c.record, "'Fluid1a'"), c.refrigerant);
        EXPECT_EQ(value_of(c.record, "'Fluid1b'"), c.refrigerant);
        EXPECT_EQ(value_of(c.record, "'HeatLoad'"), c.load);
        EXPECT_EQ(value_of(c.record, "'HeatLoadTotal'"), c.total);
    }
}

TEST_F(MergeTwoPhase, EvaporatorWritesItsGasAndDistributorFields) {
    core::VAPDataType d = evaporator();
    const core::EvaporatorResult& r = d.outdata[1].OutputData;
    ASSERT_EQ(r.Status, -1);
    const MergeRecord plain = output::vap_merge_record(d, 1, si(), false, "", {}, false);
    EXPECT_NEAR(number_of(plain, "'ToutGas'"), r.OutletTempGas, 0.05);
    EXPECT_NEAR(number_of(plain, "FluidVap"), r.FluidVaporized, 0.01 * r.FluidVaporized);
    EXPECT_NEAR(number_of(plain, "FlowRateGas"), r.InletVaporFlow, 0.01 * r.InletVaporFlow);
    EXPECT_NEAR(number_of(plain, "'EvapTemp'"), r.EvapTemp, 0.05);
    EXPECT_EQ(value_of(plain, "'Fluid2'"), "Ethylene glycol 30.0 %");

    struct Case {
        bool v_ring;
        const char* drop;
    };
    for (const Case c : {Case{false, " - "}, Case{true, "4.50"}}) {
        d.outdata[1].OutputData.VType = c.v_ring;
        d.outdata[1].OutputData.VRingPressureDrop = 4500;
        const MergeRecord record = output::vap_merge_record(d, 1, si(), false, "", {}, false);
        EXPECT_EQ(value_of(record, "'PDropFlu'"), c.drop);
        EXPECT_EQ(value_of(record, "PDropFlu_u'"), "kPa");
    }
}

TEST_F(MergeTwoPhase, AnAlternativeOutsideOneToSevenIsABoundsFailure) {
    for (const std::int16_t index : {0, 8, -1}) {
        SCOPED_TRACE(index);
        try {
            output::con_merge_record(condenser(), index, si(), false, "", {}, false);
            ADD_FAILURE() << "no failure";
        } catch (const platform::Error& e) {
            EXPECT_EQ(e.number(), 9);
        }
        EXPECT_THROW(output::vap_merge_record(evaporator(), index, si(), false, "", {}, true), platform::Error);
    }
}

}  // namespace
}  // namespace hxq::test
