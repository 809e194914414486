#include "output/preview_frame.h"
#include "output/preview_rows.h"
#include "output/record_sections.h"

namespace hxq::output {

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
    add_fluid_rows(out, label(276, o), fluid_text(in.Fluid[1].get()), fluid_text(in.Fluid[2].get()), sheet.column1,
                   sheet.column2);
    per_side(454, [&](int s) { return result_value(r.RefTemp[s], u.temperature); });
    per_side(557, [&](int s) { return result_value(r.Viscosity[s], u.viscosity); });
    per_side(200, [&](int s) { return result_value(r.Density[s], u.density); });
    per_side(306, [&](int s) { return result_value(r.SpecificHeat[s], u.heat_capacity); });
    per_side(499, [&](int s) { return result_value(r.Conductivity[s], u.conductivity); });
    per_side(538, [&](int s) { return result_value(r.WallViscosity[s], u.viscosity); });

    add_exchanger_rows(out, g, r, r.DeltaTempEffective, sheet);
}

}  // namespace hxq::output
