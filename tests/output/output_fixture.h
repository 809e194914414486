// What the output tests share: the sample duty files rated by the real drivers on the
// sample range, once per test program (the records the previews, sheets and merge records
// are made from, with the given values as the files write them); the library as a host
// sets it up for documents; and the look-up of a merge record's fields.
#pragma once

#include "batch/ad_opt.h"
#include "batch/ad_records.h"
#include "core/calculate.h"
#include "core/sample_duties.h"
#include "duty/cascade_duty.h"
#include "duty/duty_target.h"
#include "duty/single_phase_duty.h"
#include "duty/two_phase_duty.h"
#include "duty/two_stage_duty.h"
#include "engines/fluid/catalogue.h"
#include "output/cls_output.h"
#include "output/merge_record.h"
#include "output/preview_array.h"
#include "platform/db.h"
#include "settings/convert.h"
#include "settings/format.h"
#include "settings/library_state.h"
#include "settings/unit_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace hxq::test {

// Points the shared converter at the sample units database (SI), as a host's settings would.
inline void use_sample_units() {
    settings::convert_context().convert_db = [] { return sample("units.db"); };
    settings::convert_context().unit_system = [] { return settings::kUnitSystemSI; };
    settings::ResetSharedConverter();
    settings::SharedConverter();
}

inline settings::OutputUnitsType output_units(std::string_view list = settings::kSIOutputUnits) {
    settings::OutputUnitsType units;
    settings::FillOutputUnits(units, list);
    return units;
}

// Reads sample/duties/<name>.toml, resolves its target, builds its record and runs `loop`.
template <class Data, class Build>
Data rated_sample(const std::string& name, Build build, void (core::clsCalculate::*loop)(Data&)) {
    const duty::DutyDocument duty =
        duty::ParseDutyFile(std::string(HXQ_SOURCE_DIR) + "/sample/duties/" + name + ".toml");
    const std::string database = sample("products.db");
    duty::ResolvedTarget target;
    {
        platform::Database product = platform::OpenDatabase(database, true);
        target = duty::ResolveTarget(duty, product, database, "A");
    }
    Data data = build(duty, target, database);
    core::clsCalculate calc;
    calc.SetSources(sample_sources());
    (calc.*loop)(data);
    return data;
}

// Every kind of preview's record, rated once.
struct SampleRecords {
    core::SPCDataType water;       // water heating over the whole single-phase range
    core::CONDataType condenser;   // R134a into cooling-tower water
    core::VAPDataType evaporator;  // R410A from brine
    core::VAPDataType dual;        // two R410A circuits in one pack
    core::TwoStageType two_stage;  // tap water, with the radiator return in winter
    core::CascadeDataType cascade; // CO2 low stage into an R134a high stage
    batch::ADDataType air_dryer;   // see rated_air_dryer
};

// 0.06 kg/s of saturated air at 8 bar(a) and 35 °C dried to a 3 °C pressure dew point by
// R134a at 0 °C, on AD 200.
inline batch::ADDataType rated_air_dryer() {
    batch::ADDataType air_dryer;
    batch::clsADOpt opt;
    opt.SetSources(sample_sources());
    auto& in = air_dryer.ADInData;
    air_dryer_duty(in, 279, false);  // AD 200
    in.Optimisation.Split = 3;
    in.Optimisation.Depth = 1;
    in.MaxNoOfPlates = 100;
    opt.AD_Main(air_dryer);
    return air_dryer;
}

inline const SampleRecords& sample_records() {
    static const SampleRecords records = [] {
        use_sample_units();
        SampleRecords r;
        r.water = rated_sample("water_heating", duty::BuildSPCData, &core::clsCalculate::SPCMainCalcLoop);
        r.condenser = rated_sample("condenser_water", duty::BuildCONData, &core::clsCalculate::CONMainCalcLoop);
        r.evaporator = rated_sample("evaporator_brine", duty::BuildVAPData, &core::clsCalculate::VAPMainCalcLoop);
        r.dual = rated_sample("evaporator_dual", duty::BuildVAPData, &core::clsCalculate::VAPMainCalcLoop);
        r.two_stage =
            rated_sample("two_stage_tap_water", duty::BuildTwoStageData, &core::clsCalculate::TwoStageMainCalcLoop);
        r.cascade = rated_sample("cascade_r744_r134a", duty::BuildCascadeData, &core::clsCalculate::CascadeMainCalcLoop);
        r.air_dryer = rated_air_dryer();
        return r;
    }();
    return records;
}

// Each of `wanted` is somewhere in `text`.
inline void expect_contains(const std::string& text, const std::vector<std::string>& wanted) {
    for (const std::string& w : wanted) EXPECT_NE(text.find(w), std::string::npos) << w << "\n" << text;
}

// The library as a host sets it up for documents: the sample units in SI, the built-in SI
// output units, English. The sheet and merge tests share it.
class OutputTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { sample_records(); }
    void SetUp() override {
        settings::reset_library_state();
        use_sample_units();
        ASSERT_TRUE(settings::SharedConverter().IsOpen());
        settings::FillOutputUnits(settings::library_state().derived.OutputUnits, settings::kSIOutputUnits);
        settings::library_state().host.TQSAppVersion = "2.1";
    }
    void TearDown() override {
        settings::ResetSharedConverter();
        settings::reset_library_state();
    }

    static settings::OutputUnitsType si() { return output_units(); }
    static settings::OutputUnitsType us() { return output_units(settings::kUSOutputUnits); }

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

using output::MergeRecord;
using output::QuotationTexts;

// Units of the sample units database the typed values use.
constexpr std::int16_t kFahrenheit = 1;
constexpr std::int16_t kKilowatt = 4;
constexpr std::int16_t kKcalPerHour = 6;

// The value of the first field named `name` (the repeated names carry the same values).
inline std::string value_of(const MergeRecord& record, std::string_view name) {
    for (std::size_t i = 0; i < record.size(); ++i)
        if (record.names()[i] == name) return record.values()[i];
    ADD_FAILURE() << "no field " << name;
    return {};
}

// A number as the sheets and merge records write it.
inline double number(const std::string& text) {
    const auto n = settings::parse_locale_number(text);
    EXPECT_TRUE(n.has_value()) << text;
    return n.value_or(0);
}

inline double number_of(const MergeRecord& record, std::string_view name) {
    SCOPED_TRACE(name);
    return number(value_of(record, name));
}

// A result written in an output unit: the field's number within 1 % of `expected`, its
// unit field's text.
struct Converted { const char* name; const char* unit_name; double expected; const char* unit; };
inline void expect_converted(const MergeRecord& record, std::initializer_list<Converted> fields) {
    for (const Converted& c : fields) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(number_of(record, c.name), c.expected, 0.01 * std::fabs(c.expected) + 1e-3);
        EXPECT_EQ(value_of(record, c.unit_name), c.unit);
    }
}

// A given value as the user typed it.
inline core::InputDataType typed(const char* text, std::int16_t unit_id) {
    core::InputDataType v;
    v.sValue = text;
    v.iUnitID = unit_id;
    v.sUnit = settings::UnitTable(unit_id).sUnit;
    v.Given = true;
    return v;
}

// The fields of a ";"-joined line.
inline std::size_t field_count(const std::string& line) {
    return 1 + static_cast<std::size_t>(std::ranges::count(line, ';'));
}

}  // namespace hxq::test
