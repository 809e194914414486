#include "output/preview_frame.h"
#include "output/preview_rows.h"
#include "output/record_sections.h"

#include <algorithm>
#include <cmath>

namespace hxq::output {

Cell given_limit(const core::InputDataType& given, const core::DutyValue& si, std::int16_t unit) {
    if (!given.Given && !si.Given) return text_cell("-");
    return duty_value(given, si.Value, unit);
}

Cell port_cell(double up, double down, std::int16_t unit) {
    const Cell in = result_value(up, unit);
    const Cell out = result_value(down, unit);
    if (in.GVal == out.GVal) return in;
    return Cell{in.GVal + " / " + out.GVal, in.GUnit};
}

void add_coefficient_row(SheetWriter& out, std::int16_t offset, double predicted, double required, std::int16_t unit) {
    out.add(value_row(label(385, offset), result_value(predicted, unit), result_value(required, unit)));
}

void add_single_phase_rows(SheetWriter& out, const core::SPCDataType& data, const core::OutDataType& alternative,
                           const RecordSheet& sheet) {
    const core::InputData& g = data.GivenValues;
    const core::SinglePhaseInput& in = data.InData;
    const core::SinglePhaseResult& r = alternative.OutputData;
    const SheetUnits& u = sheet.units;
    const std::int16_t o = sheet.offset;
    // The engine rates one circuit of a dual unit: the unit's flows are both circuits'.
    const double circuits = is_dual(g, alternative.Dual) ? 2 : 1;
    const auto per_side = [&](std::int16_t id, auto cell) { out.add(value_row(label(id, o), cell(1), cell(2))); };

    add_section_gap(out);
    out.add(section_with_columns(label(209, o), sheet.column1, sheet.column2));
    per_side(322, [&](int s) { return duty_value(g.InletTemp[s], r.InletTemp[s], u.temperature); });
    per_side(400, [&](int s) { return duty_value(g.OutletTemp[s], r.OutletTemp[s], u.temperature); });
    per_side(348, [&](int s) { return duty_value(g.MassFlux[s], circuits * r.MassFlow[s], u.flow); });
    per_side(382, [&](int s) { return number_cell(r.NTU[s]); });
    per_side(351, [&](int s) { return given_limit(g.MaxPressureDrop[s], in.MaxPressureDrop[s], u.pressure_drop[s]); });

    add_section_gap(out);
    out.add(section_with_columns(label(417, o), sheet.column1, sheet.column2));
    per_side(276, [&](int s) { return text_cell(fluid_text(in.Fluid[s].get())); });
    per_side(454, [&](int s) { return result_value(r.RefTemp[s], u.temperature); });
    per_side(557, [&](int s) { return result_value(r.Viscosity[s], u.viscosity); });
    per_side(200, [&](int s) { return result_value(r.Density[s], u.density); });
    per_side(306, [&](int s) { return result_value(r.SpecificHeat[s], u.heat_capacity); });
    per_side(499, [&](int s) { return result_value(r.Conductivity[s], u.conductivity); });
    per_side(538, [&](int s) { return result_value(r.WallViscosity[s], u.viscosity); });

    add_exchanger_rows(out, g, r, r.DeltaTempEffective, sheet);
}

}  // namespace hxq::output
