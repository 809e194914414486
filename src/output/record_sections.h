// The duty, property and exchanger rows of the single-phase, condenser and evaporator
// previews, for the plain and the dual sheet.
#pragma once

#include "output/preview_frame.h"
#include "output/preview_rows.h"
#include "records/calc_records.h"

#include <cstdint>
#include <string>

namespace hxq::output {

// What a sheet of one record shows its rows with.
struct RecordSheet {
    std::int16_t offset = 0;
    SheetUnits units;
    bool dual = false;     // the dual sheet: the load per circuit and in total
    std::string column1;   // the heading of the side-1 column ("Side 1", "Refrigerant")
    std::string column2;
};

void add_single_phase_rows(SheetWriter& out, const core::SPCDataType& data, const core::OutDataType& alternative,
                           const RecordSheet& sheet);
void add_condenser_rows(SheetWriter& out, const core::CONDataType& data, const core::CONOutDataType& alternative,
                        const RecordSheet& sheet);
void add_evaporator_rows(SheetWriter& out, const core::VAPDataType& data, const core::VAPOutDataType& alternative,
                         const RecordSheet& sheet);

// The given value when the user gave it, otherwise nothing ("-"): limits the result does
// not repeat.
Cell given_limit(const core::InputDataType& given, const core::DutyValue& si, std::int16_t unit);

// The port diameter of a side: the one size, or inlet / outlet where they differ.
Cell port_cell(double up, double down, std::int16_t unit);

// "<predicted>" and "<required>" of the overall coefficient in the two value columns.
void add_coefficient_row(SheetWriter& out, std::int16_t offset, double predicted, double required, std::int16_t unit);

// The exchanger section: load (per circuit and in total on the dual sheet), area, flux,
// mean temperature difference, coefficients, pressure drops, ports, channels, margin and
// fouling, then the engine's notes per side. The results of the three kinds name these
// members alike.
template <class Result>
void add_exchanger_rows(SheetWriter& out, const core::InputData& g, const Result& r, double mean_difference,
                        const RecordSheet& sheet) {
    const SheetUnits& u = sheet.units;
    const std::int16_t o = sheet.offset;
    const auto per_side = [&](std::int16_t id, auto cell) { out.add(value_row(label(id, o), cell(1), cell(2))); };
    add_section_gap(out);
    out.add(section_heading(label(562, o)));
    if (sheet.dual) {
        // A dual calculation gives one circuit's load; the pack is rated for both.
        out.add(value_row(label(305, o), duty_value(g.heatLoad, r.HeatLoad / 2, u.heat_load), Cell{}));
        out.add(sub_value_row("", label(512, o), result_value(r.HeatLoad, u.heat_load), Cell{}, true));
    } else {
        out.add(value_row(label(305, o), duty_value(g.heatLoad, r.HeatLoad, u.heat_load), Cell{}));
    }
    out.add(value_row(label(505, o), result_value(r.HeatTransferArea, u.area), Cell{}));
    out.add(value_row(label(308, o), result_value(r.HeatFlux, u.heat_flux), Cell{}));
    out.add(value_row(label(365, o), result_value(mean_difference, u.mean_difference), Cell{}));
    add_coefficient_row(out, o, r.Kpredicted, r.Krequired, u.ohtc);
    per_side(429, [&](int s) { return result_value(r.PressureDrop[s], u.pressure_drop[s]); });
    out.add(sub_value_row("", label(319, o), result_value(r.PortPressureDrop[1], u.port_pressure_drop),
                          result_value(r.PortPressureDrop[2], u.port_pressure_drop), true));
    per_side(426, [&](int s) { return port_cell(r.PortDiameterUp[s], r.PortDiameterDown[s], u.length); });
    per_side(152, [&](int s) { return text_cell(std::to_string(r.NoOfChannels[s])); });
    out.add(value_row(label(397, o), percent_cell(r.OverSurface), Cell{}));
    out.add(value_row(label(266, o), duty_value(g.FoulingFactor, r.FoulingFactor, u.fouling), Cell{}));
    add_notes(out, label(377, o) + " ",
              {side_notes(r.NotePercentText[1], r.NotePercent[1], r.NotePressureText[1], r.NotePressure[1]),
               side_notes(r.NotePercentText[2], r.NotePercent[2], r.NotePressureText[2], r.NotePressure[2])},
              {"1", "2"});
}

}  // namespace hxq::output
