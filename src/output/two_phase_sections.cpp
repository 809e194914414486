#include "output/preview_frame.h"
#include "output/preview_rows.h"
#include "output/record_sections.h"

#include <type_traits>

namespace hxq::output {
namespace {

template <class Data>
constexpr bool kCondenser = std::is_same_v<Data, core::CONDataType>;

// Side 1 is the refrigerant, side 2 the secondary fluid.
template <class Data, class Alternative>
void add_duty_rows(SheetWriter& out, const Data& data, const Alternative& alternative, const RecordSheet& sheet) {
    const core::InputData& g = data.GivenValues;
    const auto& r = alternative.OutputData;
    const SheetUnits& u = sheet.units;
    const std::int16_t o = sheet.offset;
    const Cell none;
    add_section_gap(out);
    out.add(section_with_columns(label(209, o), sheet.column1, sheet.column2));
    out.add(value_row(label(322, o), duty_value(g.InletTemp[1], r.InletTemp[1], u.temperature),
                      duty_value(g.InletTemp[2], r.InletTemp[2], u.temperature)));
    if constexpr (kCondenser<Data>) {
        out.add(value_row(label(495, o), duty_value(g.CondTemp, r.CondensingTemp, u.temperature), none));
        out.add(value_row(label(492, o), duty_value(g.SubCooling, r.SubCooling, u.temperature_difference), none));
        out.add(value_row(label(400, o), duty_value(g.OutletTemp[1], r.OutletTemp[1], u.temperature),
                          duty_value(g.OutletTemp[2], r.OutletTemp[2], u.temperature)));
    } else {
        out.add(value_row(label(517, o), duty_value(g.EvapTemp, r.EvapTemp, u.temperature), none));
        // The refrigerant leaves as superheated gas.
        out.add(value_row(label(400, o), duty_value(g.OutletTemp[1], r.OutletTempGas, u.gas_outlet_temperature),
                          duty_value(g.OutletTemp[2], r.OutletTemp[2], u.temperature)));
    }
    out.add(value_row(label(348, o), duty_value(g.MassFlux[1], r.MassFlow[1], u.flow),
                      duty_value(g.MassFlux[2], r.MassFlow[2], u.flow)));
    if constexpr (kCondenser<Data>) {
        out.add(value_row(label(279, o), result_value(r.FluidCondensed, u.fluid_condensed), none));
    } else {
        out.add(sub_value_row("", label(323, o), result_value(r.InletVaporFlow, u.inlet_vapour), none, true));
        out.add(value_row(label(290, o), result_value(r.FluidVaporized, u.fluid_vaporized), none));
    }
    out.add(value_row(label(391, o), result_value(r.OperatingPressOut, u.operating_pressure_out), none));
    out.add(value_row(label(351, o),
                      given_limit(g.MaxPressureDrop[1], data.InData.MaxPressureDrop[1], u.pressure_drop[1]),
                      given_limit(g.MaxPressureDrop[2], data.InData.MaxPressureDrop[2], u.pressure_drop[2])));
}

// One phase of the refrigerant against the secondary fluid's (liquid) or nothing (vapour).
void add_phase_rows(SheetWriter& out, const std::string& group, const core::PhaseProperties& refrigerant,
                    const core::PhaseProperties* secondary, const RecordSheet& sheet) {
    const SheetUnits& u = sheet.units;
    const std::int16_t o = sheet.offset;
    const auto row = [&](bool first, std::int16_t id, double own, double other, std::int16_t unit) {
        out.add(sub_value_row(first ? group : "", label(id, o), result_value(own, unit),
                              secondary ? result_value(other, unit) : Cell{}));
    };
    row(true, 557, refrigerant.Viscosity, secondary ? secondary->Viscosity : 0, u.viscosity);
    row(false, 200, refrigerant.Density, secondary ? secondary->Density : 0, u.density);
    row(false, 306, refrigerant.SpecificHeat, secondary ? secondary->SpecificHeat : 0, u.heat_capacity);
    row(false, 499, refrigerant.Conductivity, secondary ? secondary->Conductivity : 0, u.conductivity);
}

template <class Data, class Alternative>
void add_property_rows(SheetWriter& out, const Data& data, const Alternative& alternative, const RecordSheet& sheet) {
    const auto& r = alternative.OutputData;
    const SheetUnits& u = sheet.units;
    const std::int16_t o = sheet.offset;
    add_section_gap(out);
    out.add(section_with_columns(label(417, o), sheet.column1, sheet.column2));
    const core::FluidObject* refrigerant = r.FluidObject ? r.FluidObject.get() : data.InData.Refrigerant.get();
    out.add(value_row(label(276, o), text_cell(fluid_text(refrigerant)), text_cell(fluid_text(data.InData.Fluid.get()))));
    out.add(value_row(label(454, o), result_value(r.RefTemp[1], u.temperature), result_value(r.RefTemp[2], u.temperature)));
    add_phase_rows(out, label(341, o), r.RefLiquid, &r.Side2, sheet);
    add_phase_rows(out, label(545, o), r.RefVapor, nullptr, sheet);
    out.add(value_row(label(328, o), result_value(r.LatentHeat, u.latent_heat), Cell{}));
    double dew = 0;
    if constexpr (kCondenser<Data>) dew = r.CondensingTemp;
    else dew = r.EvapTemp;
    out.add(value_row(label(177, o), result_value(dew, u.temperature), Cell{}));
}

template <class Data, class Alternative>
void add_rows(SheetWriter& out, const Data& data, const Alternative& alternative, const RecordSheet& sheet) {
    add_duty_rows(out, data, alternative, sheet);
    add_property_rows(out, data, alternative, sheet);
    add_exchanger_rows(out, data.GivenValues, alternative.OutputData, alternative.OutputData.LMTD, sheet);
}

}  // namespace

void add_condenser_rows(SheetWriter& out, const core::CONDataType& data, const core::CONOutDataType& alternative,
                        const RecordSheet& sheet) {
    add_rows(out, data, alternative, sheet);
}

void add_evaporator_rows(SheetWriter& out, const core::VAPDataType& data, const core::VAPOutDataType& alternative,
                         const RecordSheet& sheet) {
    add_rows(out, data, alternative, sheet);
}

}  // namespace hxq::output
