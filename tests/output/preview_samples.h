// The sample duty files rated by the real drivers on the sample range, once per test
// program: the records the previews are made from, with the given values as the files
// write them.
#pragma once

#include "core/calculate.h"
#include "core/sample_duties.h"
#include "duty/cascade_duty.h"
#include "duty/duty_target.h"
#include "duty/single_phase_duty.h"
#include "duty/two_phase_duty.h"
#include "duty/two_stage_duty.h"
#include "platform/db.h"
#include "settings/convert.h"
#include "settings/unit_tables.h"

#include <string>

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
};

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
        return r;
    }();
    return records;
}

}  // namespace hxq::test
