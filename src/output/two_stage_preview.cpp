#include "output/two_stage_preview.h"

#include "output/preview_frame.h"
#include "output/preview_rows.h"
#include "output/record_sections.h"
#include "output/sheet_values.h"

#include <cmath>
#include <string>

namespace hxq::output {
namespace {

// The log mean of two terminal differences; their mean when they are (nearly) equal.
double log_mean(double a, double b) {
    if (!(a > 0) || !(b > 0)) return std::nan("");
    if (std::abs(a - b) < 1e-9 * std::max(a, b)) return 0.5 * (a + b);
    return (a - b) / std::log(a / b);
}

void add_rows(SheetWriter& out, const core::TwoStageType& data, const core::TwoStageOutDataType& a,
              const SheetUnits& u, std::int16_t o) {
    const core::InputData& g = data.GivenValues;
    const core::SinglePhaseResult& r1 = a.Stage1.OutputData;
    const core::SinglePhaseResult& r2 = a.Stage2.OutputData;
    const TwoStagePack pack = two_stage_pack(a);
    const Cell none;
    const std::string side = label(483, o);
    const auto per_side = [&](std::int16_t id, auto cell) { out.add(value_row(label(id, o), cell(1), cell(2))); };

    // The primary enters stage 2 and leaves stage 1; the tap water the other way.
    add_section_gap(out);
    out.add(section_with_columns(label(209, o), side + " 1", side + " 2"));
    out.add(value_row(label(589, o), duty_value(g.InletTemp[1], r2.InletTemp[1], u.temperature),
                      duty_value(g.InletTemp[2], r1.InletTemp[2], u.temperature)));
    out.add(value_row(label(590, o), duty_value(g.OutletTemp[1], r1.OutletTemp[1], u.temperature),
                      duty_value(g.OutletTemp[2], r2.OutletTemp[2], u.temperature)));
    // In summer only the primary flow through stage 2 passes; in winter the radiator
    // return joins it before stage 1.
    out.add(value_row(label(272, o) + " - " + label(593, o), duty_value(g.MassFlux[1], r2.MassFlow[1], u.flow),
                      duty_value(g.MassFlux[2], r1.MassFlow[2], u.flow)));
    out.add(value_row(label(588, o),
                      data.Rad_Flow.bolSet ? result_value(data.Rad_Flow.SngValue, u.flow) : text_cell("-"), none));
    out.add(value_row(label(594, o), result_value(r1.MassFlow[1], u.flow), result_value(r1.MassFlow[2], u.flow)));
    per_side(351, [&](int s) { return given_limit(g.MaxPressureDrop[s], data.InData.MaxPressureDrop[s], u.pressure_drop[s]); });

    // Each stage's properties at its own reference temperatures, stage 1 first.
    add_section_gap(out);
    out.add(section_with_columns(label(417, o), side + " 1", side + " 2"));
    add_fluid_rows(out, label(276, o), fluid_text(data.InData.Fluid[1].get()), fluid_text(data.InData.Fluid[2].get()),
                   side + " 1", side + " 2");
    for (int stage = 1; stage <= 2; ++stage) {
        const core::SinglePhaseResult& r = stage == 1 ? r1 : r2;
        const std::string group = "(" + std::to_string(stage) + ")";
        const auto row = [&](bool first, std::int16_t id, const core::PerSide<double>& value, std::int16_t unit) {
            out.add(sub_value_row(first ? group : "", label(id, o), result_value(value[1], unit),
                                  result_value(value[2], unit)));
        };
        row(true, 454, r.RefTemp, u.temperature);
        row(false, 557, r.Viscosity, u.viscosity);
        row(false, 200, r.Density, u.density);
        row(false, 306, r.SpecificHeat, u.heat_capacity);
        row(false, 499, r.Conductivity, u.conductivity);
    }

    // The stages are in series on both sides: their drops add up.
    add_section_gap(out);
    out.add(section_heading(label(562, o)));
    out.add(value_row(label(591, o), duty_value(g.heatLoad, pack.heat_load, u.heat_load), none));
    out.add(value_row(label(505, o), result_value(pack.area, u.area), none));
    out.add(value_row(label(343, o), result_value(pack.lmtd, u.mean_difference), none));
    add_coefficient_row(out, o, pack.predicted, pack.required, u.ohtc);
    per_side(592, [&](int s) { return result_value(r1.PressureDrop[s] + r2.PressureDrop[s], u.pressure_drop[s]); });
    out.add(sub_value_row("", label(319, o), result_value(r1.PortPressureDrop[1] + r2.PortPressureDrop[1], u.port_pressure_drop),
                          result_value(r1.PortPressureDrop[2] + r2.PortPressureDrop[2], u.port_pressure_drop), true));
    per_side(426, [&](int s) { return port_cell(r1.PortDiameterUp[s], r1.PortDiameterDown[s], u.length); });
    per_side(152, [&](int s) { return text_cell(std::to_string(r1.NoOfChannels[s] + r2.NoOfChannels[s])); });
    out.add(value_row(label(375, o), text_cell(std::to_string(pack.plates)), none));
    out.add(value_row(label(397, o), percent_cell(pack.over_surface), none));
    out.add(value_row(label(266, o), duty_value(g.FoulingFactor, r1.FoulingFactor, u.fouling), none));

    // The remarks of both stages, each side under its note.
    std::array<SideNotes, 2> notes;
    for (int s = 1; s <= 2; ++s) {
        SideNotes& n = notes[static_cast<std::size_t>(s - 1)];
        for (const core::SinglePhaseResult* r : {&r1, &r2}) {
            const SideNotes stage = side_notes(r->NotePercentText[s], r->NotePercent[s], r->NotePressureText[s], r->NotePressure[s]);
            if (n.percent.empty()) n.percent = stage.percent;
            if (n.pressure.empty()) n.pressure = stage.pressure;
        }
    }
    add_notes(out, label(377, o) + " ", notes, {"1", "2"});
}

}  // namespace

TwoStagePack two_stage_pack(const core::TwoStageOutDataType& alternative) {
    const core::SinglePhaseResult& r1 = alternative.Stage1.OutputData;
    const core::SinglePhaseResult& r2 = alternative.Stage2.OutputData;
    TwoStagePack p;
    p.heat_load = r1.HeatLoad + r2.HeatLoad;
    p.area = r1.HeatTransferArea + r2.HeatTransferArea;
    p.lmtd = log_mean(r2.InletTemp[1] - r2.OutletTemp[2], r1.OutletTemp[1] - r1.InletTemp[2]);
    if (p.area > 0) {
        p.predicted = (r1.Kpredicted * r1.HeatTransferArea + r2.Kpredicted * r2.HeatTransferArea) / p.area;
        p.required = (r1.Krequired * r1.HeatTransferArea + r2.Krequired * r2.HeatTransferArea) / p.area;
    }
    // Each stage needs its area less its own margin.
    const double needed =
        r1.HeatTransferArea / (1 + r1.OverSurface / 100) + r2.HeatTransferArea / (1 + r2.OverSurface / 100);
    p.over_surface = needed > 0 ? 100 * (p.area / needed - 1) : 0;
    p.plates = static_cast<std::int16_t>(r1.NoOfPlates + r2.NoOfPlates + 1);
    return p;
}

PreviewArray two_stage_preview_sheet(const core::TwoStageType& OData, std::int16_t Index,
                                     const settings::OutputUnitsType& unit, const std::string& /*CalcType*/,
                                     std::int16_t /*CalcT*/, const PreviewWarnings& Warnings, bool /*HXQ*/,
                                     const std::string& CM, std::int16_t offset) {
    check_alternative_index(Index, "CreatePreview_2S");
    const core::TwoStageOutDataType& alternative = OData.outdata[Index];
    const SheetUnits units = sheet_units(unit, OData.GivenOutputUnits);
    return preview_sheet(sheet_heading(offset, {two_stage_designation(alternative), CM}),
                         [&](SheetWriter& out) { add_rows(out, OData, alternative, units, offset); }, Warnings,
                         offset);
}

}  // namespace hxq::output
