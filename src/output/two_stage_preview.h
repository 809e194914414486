// The result preview of a two-stage calculation (CreatePreview_2S): one pack of a
// pre-heating stage 1 and an after-heating stage 2; side 1 is the primary, side 2 the
// tap water.
#pragma once

#include "output/cls_output.h"
#include "output/preview_array.h"
#include "records/calc_records.h"
#include "settings/unit_tables.h"

#include <cstdint>
#include <string>

namespace hxq::output {

// An `Index` outside 1..7 is error 9; `CalcType`, `CalcT` and `HXQ` are accepted and not
// used.
PreviewArray two_stage_preview_sheet(const core::TwoStageType& OData, std::int16_t Index,
                                     const settings::OutputUnitsType& unit, const std::string& CalcType,
                                     std::int16_t CalcT, const PreviewWarnings& Warnings, bool HXQ,
                                     const std::string& CM, std::int16_t offset);

// The pack's figures that no stage holds alone.
struct TwoStagePack {
    double heat_load = 0;    // W, both stages
    double area = 0;         // m², both stages
    double lmtd = 0;         // K, counter-current between the pack's four terminals
    double predicted = 0;    // W/(m² K), area-weighted over the stages
    double required = 0;     // W/(m² K), area-weighted over the stages
    double over_surface = 0; // %, the area against the area both stages need
    std::int16_t plates = 0; // both stages and the plate between them
};
TwoStagePack two_stage_pack(const core::TwoStageOutDataType& alternative);

}  // namespace hxq::output
