// The field blocks the condenser, evaporator and cascade printouts share: per-side
// temperatures, flows, hydraulics and port diameters, and the refrigerant's properties.
#pragma once

#include "output/merge_record.h"
#include "output/merge_shared.h"
#include "output/sheet_values.h"
#include "records/calc_records.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace hxq::output {

// The units of a printout: the sheets' units and those the printouts show besides.
struct MergeUnits : SheetUnits {
    std::int16_t film = 0;
    std::int16_t velocity = 0;
    std::int16_t shear = 0;
};
MergeUnits merge_units(const settings::OutputUnitsType& unit, const core::GivenUnitsType& chosen);

// What one side of the pack reports, whichever circuit's result it comes from (the
// cascade takes its two sides from two results).
struct MergeSide {
    double inlet = 0, outlet = 0, flow = 0, ref_temp = 0;
    double pressure_drop = 0, port_pressure_drop = 0, port_up = 0, port_down = 0;
    double reynolds = 0, film = 0, wall_temp = 0, port_velocity = 0, channel_velocity = 0;
    SideNotes notes;
};

template <class Result>
MergeSide merge_side(const Result& r, int s) {
    return MergeSide{r.InletTemp[s],        r.OutletTemp[s],      r.MassFlow[s],       r.RefTemp[s],
                     r.PressureDrop[s],     r.PortPressureDrop[s], r.PortDiameterUp[s], r.PortDiameterDown[s],
                     r.ReynoldsNumber[s],   r.FilmCoefficient[s], r.MeanWallTemp[s],   r.PortVelocity[s],
                     r.ChannelVelocity[s],
                     side_notes(r.NotePercentText[s], r.NotePercent[s], r.NotePressureText[s], r.NotePressure[s])};
}

using MergeSides = std::array<MergeSide, 2>;

// The given values per side, or none (every side value converted from the result).
struct SideGivens {
    const core::PerSide<core::InputDataType>* inlet = nullptr;
    const core::PerSide<core::InputDataType>* outlet = nullptr;
    const core::PerSide<core::InputDataType>* flow = nullptr;
};
SideGivens side_givens(const core::InputData& given);

// "'Tin1'" .. "'Tout2_u'".
void add_side_temperatures(MergeRecord& record, const MergeSides& sides, const SideGivens& given,
                           const MergeUnits& u);
// "FlowRate1" .. "FlowRate2_u".
void add_side_flows(MergeRecord& record, const MergeSides& sides, const SideGivens& given, const MergeUnits& u);
// "'TmaxPD1'" .. "'TMaxPD2_u'": the limits as given, else the input's value; "-" for a
// side without a limit.
template <class Input>
void add_pressure_drop_limits(MergeRecord& record, const core::InputData& given, const Input& in,
                              const MergeUnits& u) {
    const auto limit = [&](int s) {
        const core::DutyValue& si = in.MaxPressureDrop[s];
        if (!given.MaxPressureDrop[s].Given && !si.Given)
            return core::OutVal{"-", settings::UnitTable(u.pressure_drop[s]).sUnit};
        return duty_value(given.MaxPressureDrop[s], si.Value, u.pressure_drop[s]);
    };
    record.quantity("'TmaxPD1'", "'TmaxPD1_u'", limit(1));
    record.quantity("'TMaxPD2'", "'TMaxPD2_u'", limit(2));
}
// "'RefTemp1'" .. "'RefTemp2_u'" (written twice in every printout).
void add_reference_temperatures(MergeRecord& record, const MergeSides& sides, const MergeUnits& u);

// The property block without its saturation temperature: viscosity, density, heat
// capacity and conductivity, each of the refrigerant's liquid, its gas, the cascade's
// second gas (`gas2`, when given) and side 2.
void add_properties(MergeRecord& record, const core::PhaseProperties& liquid, const core::PhaseProperties& gas,
                    const core::PhaseProperties* gas2, const core::PhaseProperties& side2, const MergeUnits& u);

// The distributor drop of an evaporator rated without a distributor.
inline constexpr std::string_view kNoDistributor = " - ";

// "'PDropFlu'", "PDropFlu_u'": the evaporator's distributor drop, " - " for a unit rated
// without a distributor.
void add_distributor_drop(MergeRecord& record, const core::EvaporatorResult& r, const MergeUnits& u);

// The text of a dual calculation's total: the two circuits' load as "2x(<one circuit>)".
std::string dual_total(const std::string& circuit);

// "'HeatLoad'" .. "'OHTC_req'": the given load (twice it for a dual calculation, whose
// duty is one circuit's), with "'HeatLoadTotal'" on the dual forms, area, the flux of that
// load, the mean temperature difference and the predicted and required coefficients. A
// duty sized by its flows has the rated load, which is both circuits' already.
template <class Result>
void add_exchanger_fields(MergeRecord& record, const core::InputData& given, const core::DutyValue& duty_load,
                          const Result& r, double mean_difference, const MergeUnits& u, bool dual) {
    const int multiplier = given.IsDualCalc ? 2 : 1;
    const double si_load = duty_load.Given ? duty_load.Value : r.HeatLoad / multiplier;
    const core::OutVal load = heat_load_value(given.heatLoad, si_load, u.heat_load, multiplier);
    record.quantity("'HeatLoad'", "HeatLoad_u", load);
    if (dual)
        record.field("'HeatLoadTotal'", dual_total(heat_load_value(given.heatLoad, si_load, u.heat_load, 1).GVal));
    record.quantity("'Area'", "'Area_u'", result_value(r.HeatTransferArea, u.area));
    const double flux = r.HeatTransferArea > 0 ? si_load * multiplier / r.HeatTransferArea : r.HeatFlux;
    record.quantity("'HeatFlux'", "'HeatFlux_u'", result_value(flux, u.heat_flux));
    record.quantity("'MTD'", "'MTD_u'", result_value(mean_difference, u.mean_difference));
    record.quantity("'OHTC'", "'OHTC_u'", result_value(r.Kpredicted, u.ohtc));
    record.field("'OHTC_req'", result_value(r.Krequired, u.ohtc).GVal);
}

// "'PressDropTot1'" .. "'ConnDia2_u'": total and port pressure drops, the inlet port of
// each side as its connection.
void add_pressure_drops(MergeRecord& record, const MergeSides& sides, const MergeUnits& u);
// "'Rey1'" .. "'ChanVel2_u'": Reynolds numbers, film coefficients, mean wall
// temperatures, the channel share of the pressure drops, port and channel velocities.
void add_hydraulics(MergeRecord& record, const MergeSides& sides, const MergeUnits& u);
// The port diameters: inlet and outlet port of each of `sides` in turn under `names`,
// with "'Dia_u'" after the second. The four-port printouts spell the third name as their
// templates do.
inline constexpr std::array<const char*, 4> kFourPortNames{"'Dia1'", "'Dia2'", "'Dia3", "'Dia4'"};
inline constexpr std::array<const char*, 8> kEightPortNames{"'Dia1'", "'Dia2'", "'Dia3'", "'Dia4'",
                                                            "'Dia5'", "'Dia6'", "'Dia7'", "'Dia8'"};
void add_port_diameters(MergeRecord& record, std::span<const MergeSide> sides, std::span<const char* const> names,
                        const MergeUnits& u);

}  // namespace hxq::output
