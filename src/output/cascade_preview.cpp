#include "output/cascade_preview.h"

#include "output/preview_frame.h"
#include "output/preview_rows.h"
#include "output/record_sections.h"
#include "output/sheet_values.h"
#include "settings/library_state.h"

namespace hxq::output {
namespace {

// The output units of the settings; the SI list before any settings were loaded.
settings::OutputUnitsType settings_units() {
    settings::OutputUnitsType units = settings::library_state().derived.OutputUnits;
    if (units == settings::OutputUnitsType{}) settings::FillOutputUnits(units, settings::kSIOutputUnits);
    return units;
}

// Column 1 the evaporating circuit, column 2 the condensing one: each is side 1 of its
// engine's result (side 2 is the liquid that stands in for the other circuit).
void add_rows(SheetWriter& out, const core::CascadeDataType& data, const core::VAPOutDataType& vap,
              const core::CONOutDataType& con, const SheetUnits& u, std::int16_t o) {
    const core::EvaporatorResult& e = vap.OutputData;
    const core::CondenserResult& c = con.OutputData;
    const Cell none;
    const std::string evaporation = label(604, o);
    const std::string condensation = label(605, o);
    const auto both = [&](std::int16_t id, double evaporating, double condensing, std::int16_t unit) {
        out.add(value_row(label(id, o), result_value(evaporating, unit), result_value(condensing, unit)));
    };

    add_section_gap(out);
    out.add(section_with_columns(label(209, o), evaporation, condensation));
    out.add(value_row(label(517, o), result_value(e.EvapTemp, u.temperature), none));
    out.add(value_row(label(495, o), none, result_value(c.CondensingTemp, u.temperature)));
    both(322, e.InletTemp[1], c.InletTemp[1], u.temperature);
    out.add(value_row(label(493, o), result_value(e.SuperHeat, u.temperature_difference), none));
    out.add(value_row(label(492, o), none, result_value(c.SubCooling, u.temperature_difference)));
    out.add(value_row(label(400, o), result_value(e.OutletTempGas, u.gas_outlet_temperature),
                      result_value(c.OutletTemp[1], u.temperature)));
    both(348, e.MassFlow[1], c.MassFlow[1], u.flow);
    out.add(sub_value_row("", label(323, o), result_value(e.InletVaporFlow, u.inlet_vapour), none, true));
    out.add(value_row(label(290, o), result_value(e.FluidVaporized, u.fluid_vaporized), none));
    out.add(value_row(label(279, o), none, result_value(c.FluidCondensed, u.fluid_condensed)));
    both(391, e.OperatingPressOut, c.OperatingPressOut, u.operating_pressure_out);
    out.add(value_row(label(351, o), given_limit({}, data.InDataVap.MaxPressureDrop[1], u.pressure_drop[1]),
                      given_limit({}, data.InDataCon.MaxPressureDrop[1], u.pressure_drop[1])));

    add_section_gap(out);
    out.add(section_with_columns(label(417, o), evaporation, condensation));
    const core::FluidObject* evaporating = e.FluidObject ? e.FluidObject.get() : data.InDataVap.Refrigerant.get();
    const core::FluidObject* condensing = c.FluidObject ? c.FluidObject.get() : data.InDataCon.Refrigerant.get();
    out.add(value_row(label(601, o), text_cell(fluid_text(evaporating)), none));
    out.add(value_row(label(602, o), none, text_cell(fluid_text(condensing))));
    both(454, e.RefTemp[1], c.RefTemp[1], u.temperature);
    for (const bool liquid : {true, false}) {
        const core::PhaseProperties& pe = liquid ? e.RefLiquid : e.RefVapor;
        const core::PhaseProperties& pc = liquid ? c.RefLiquid : c.RefVapor;
        const std::string group = label(liquid ? 341 : 545, o);
        const auto row = [&](bool first, std::int16_t id, double ev, double co, std::int16_t unit) {
            out.add(sub_value_row(first ? group : "", label(id, o), result_value(ev, unit), result_value(co, unit)));
        };
        row(true, 557, pe.Viscosity, pc.Viscosity, u.viscosity);
        row(false, 200, pe.Density, pc.Density, u.density);
        row(false, 306, pe.SpecificHeat, pc.SpecificHeat, u.heat_capacity);
        row(false, 499, pe.Conductivity, pc.Conductivity, u.conductivity);
    }
    both(328, e.LatentHeat, c.LatentHeat, u.latent_heat);
    both(177, e.EvapTemp, c.CondensingTemp, u.temperature);

    // One pack: its area and flux are the evaporating circuit's rating.
    add_section_gap(out);
    out.add(section_heading(label(562, o)));
    both(305, e.HeatLoad, c.HeatLoad, u.heat_load);
    out.add(value_row(label(505, o), result_value(e.HeatTransferArea, u.area), none));
    out.add(value_row(label(308, o), result_value(e.HeatFlux, u.heat_flux), none));
    both(365, e.LMTD, c.LMTD, u.mean_difference);
    const auto coefficients = [&](double predicted, double required) {
        const Cell p = result_value(predicted, u.ohtc);
        return Cell{p.GVal + " / " + result_value(required, u.ohtc).GVal, p.GUnit};
    };
    out.add(value_row(label(385, o), coefficients(e.Kpredicted, e.Krequired), coefficients(c.Kpredicted, c.Krequired)));
    both(429, e.PressureDrop[1], c.PressureDrop[1], u.pressure_drop[1]);
    out.add(sub_value_row("", label(319, o), result_value(e.PortPressureDrop[1], u.port_pressure_drop),
                          result_value(c.PortPressureDrop[1], u.port_pressure_drop), true));
    out.add(value_row(label(426, o), port_cell(e.PortDiameterUp[1], e.PortDiameterDown[1], u.length),
                      port_cell(c.PortDiameterUp[1], c.PortDiameterDown[1], u.length)));
    out.add(value_row(label(152, o), text_cell(std::to_string(e.NoOfChannels[1])),
                      text_cell(std::to_string(c.NoOfChannels[1]))));

    add_notes(out, label(377, o) + " ",
              {side_notes(e.NotePercentText[1], e.NotePercent[1], e.NotePressureText[1], e.NotePressure[1]),
               side_notes(c.NotePercentText[1], c.NotePercent[1], c.NotePressureText[1], c.NotePressure[1])},
              {evaporation, condensation});
}

}  // namespace

PreviewArray cascade_preview_sheet(const core::CascadeDataType& cascadeData, std::int16_t Index,
                                   const PreviewWarnings& Warnings, bool /*HXQ*/, const std::string& CM,
                                   std::int16_t offset) {
    check_alternative_index(Index, "CreatePreview_Cascade");
    const core::VAPOutDataType& vap = cascadeData.outdataVap[Index];
    const core::CONOutDataType& con = cascadeData.outdataCon[Index];
    const core::EvaporatorResult& r = vap.OutputData;
    const SheetUnits units = sheet_units(settings_units(), cascadeData.GivenOutputUnits);
    const std::string heading =
        sheet_heading(offset, {alternative_designation(vap, false), label(606, offset), CM,
                               unit_counts(r.ParallelUnits, r.SerialUnits, offset)});
    return preview_sheet(heading, [&](SheetWriter& out) { add_rows(out, cascadeData, vap, con, units, offset); },
                         Warnings, offset);
}

}  // namespace hxq::output
