// Real calculations on the sample range for the sheet tests: a single-phase unit, a
// condenser, an evaporator, a cascade and an air dryer, rated once per test program, and
// the sample units database behind the value formatter.
#pragma once

#include "batch/ad_opt.h"
#include "batch/ad_records.h"
#include "core/calculate.h"
#include "core/sample_duties.h"
#include "engines/fluid/catalogue.h"
#include "output/preview_array.h"
#include "settings/convert.h"
#include "settings/library_state.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace hxq::test {

struct SampleRuns {
    core::SPCDataType water = water_duty(60e3, 60, 45, 15, 35);
    core::CONDataType condenser = condenser_duty(180, false);  // Q32 H
    core::VAPDataType evaporator = evaporator_duty(176, false);  // Q22 H
    core::CascadeDataType cascade = cascade_duty();
    batch::ADDataType air_dryer;

    SampleRuns() {
        core::clsCalculate calc;
        calc.SetSources(sample_sources());
        water.GivenValues.IsXerGroup = false;
        water.GivenValues.XerID = 116;  // Q32 H
        calc.SPCMainCalcLoop(water);
        calc.CONMainCalcLoop(condenser);
        calc.VAPMainCalcLoop(evaporator);
        calc.CascadeMainCalcLoop(cascade);
        run_air_dryer();
    }

    // 0.06 kg/s of saturated air at 8 bar(a) and 35 °C dried to a 3 °C pressure dew point
    // by R134a at 0 °C, on AD 200.
    void run_air_dryer() {
        batch::clsADOpt opt;
        opt.SetSources(sample_sources());
        auto& in = air_dryer.ADInData;
        auto& f = in.ADFormIndata;
        f.AirInletTemp = 35;
        f.AirMassFlow = 0.06f;
        f.AirOperatingPressure = 8e5f;
        f.AirMinOutletTemp = 10;
        f.AirMaxPressureDrop = 20000;
        f.RefEvapTemp = 0;
        f.RefSuperHeat = 5;
        f.RefVaporQualityInlet = 0.25f;
        f.RefFluid = "R134a";
        f.DewTemp = 3;
        in.AirIndata.InData.Fluid[1] = engines::fluid::create_fluid("Humid air", 0.6);
        in.AirIndata.InData.Fluid[2] = engines::fluid::create_fluid("Humid air", 4.5);
        in.RefIndata.AirFluid = in.AirIndata.InData.Fluid[2];
        in.Optimisation.Split = 3;
        in.Optimisation.Depth = 1;
        in.MaxNoOfPlates = 100;
        in.IsGroup = false;
        in.XerIndex = 279;  // AD 200
        opt.AD_Main(air_dryer);
    }
};

// The runs, made on first use.
inline const SampleRuns& sample_runs() {
    static const SampleRuns runs;
    return runs;
}

// The library as a host sets it up for documents: the sample units in SI, the built-in SI
// output units, English.
class SheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        settings::reset_library_state();
        settings::convert_context().convert_db = [] { return std::string(HXQ_SAMPLE_DIR) + "/units.db"; };
        settings::convert_context().unit_system = [] { return settings::kUnitSystemSI; };
        settings::ResetSharedConverter();
        settings::SharedConverter();
        settings::FillOutputUnits(settings::library_state().derived.OutputUnits, settings::kSIOutputUnits);
        settings::library_state().host.TQSAppVersion = "2.1";
    }
    void TearDown() override {
        settings::ResetSharedConverter();
        settings::reset_library_state();
    }

    static void language(std::int16_t offset) { settings::library_state().UserSettings.language.iOffset = offset; }

    // The "\tab "-separated cells of the first sheet line that holds `label`; empty when none.
    static std::vector<std::string> cells(const output::PreviewArray& sheet, const std::string& label) {
        for (const std::string& line : sheet.lines()) {
            const std::size_t at = line.find(label);
            if (at == std::string::npos) continue;
            std::vector<std::string> out;
            std::size_t from = at;
            for (std::size_t tab; (tab = line.find("\\tab ", from)) != std::string::npos; from = tab + 5)
                out.push_back(line.substr(from, tab - from));
            out.push_back(line.substr(from));
            return out;
        }
        return {};
    }
    static std::string text_of(const output::PreviewArray& sheet) {
        std::string all;
        for (const std::string& line : sheet.lines()) all += line + "\n";
        return all;
    }
};

}  // namespace hxq::test
