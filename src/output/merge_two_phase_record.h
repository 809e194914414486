// The merge record of a condenser or evaporator alternative, plain or dual: the field
// list both kinds share, with the condenser's and the evaporator's own fields in place.
#pragma once

#include "output/cls_output.h"
#include "output/merge_record.h"
#include "output/merge_shared.h"
#include "output/merge_two_phase.h"
#include "output/preview_rows.h"
#include "output/sheet_values.h"

#include <string>
#include <type_traits>

namespace hxq::output {

template <class Data>
MergeRecord two_phase_merge_record(const Data& data, std::int16_t Index, const settings::OutputUnitsType& unit,
                                   bool Quote, const std::string& CM, const QuotationTexts& quotation, bool dual) {
    constexpr bool kCondenser = std::is_same_v<Data, core::CONDataType>;
    const auto& alternative = data.outdata[Index];
    const auto& r = alternative.OutputData;
    const core::InputData& g = data.GivenValues;
    const MergeUnits u = merge_units(unit, data.GivenOutputUnits);
    const MergeSides sides{merge_side(r, 1), merge_side(r, 2)};
    const SideGivens given = side_givens(g);

    MergeRecord record;
    add_opening_fields(record, alternative_designation(alternative, is_dual(g, alternative.Dual)), CM);
    add_side_temperatures(record, sides, given, u);
    if constexpr (!kCondenser)
        record.quantity("'ToutGas'", "'ToutGas_u'", result_value(r.OutletTempGas, u.gas_outlet_temperature));
    add_side_flows(record, sides, given, u);
    if constexpr (kCondenser) {
        record.quantity("FluidCond", "FluidCond_u", result_value(r.FluidCondensed, u.fluid_condensed));
    } else {
        record.quantity("FlowRateGas", "FlowRateGas_u", result_value(r.InletVaporFlow, u.inlet_vapour));
        record.quantity("FluidVap", "FluidVap_u", result_value(r.FluidVaporized, u.fluid_vaporized));
    }
    record.quantity("OPout", "OPout_u", result_value(r.OperatingPressOut, u.operating_pressure_out));
    add_pressure_drop_limits(record, g, data.InData, u);

    const std::string refrigerant =
        fluid_text(r.FluidObject ? r.FluidObject.get() : data.InData.Refrigerant.get());
    if (dual) {
        // Both circuits of side 1 carry the one refrigerant of the record.
        record.field("'Fluid1a'", refrigerant);
        record.field("'Fluid1b'", refrigerant);
    } else {
        record.field("'Fluid1'", refrigerant);
    }
    record.field("'Fluid2'", fluid_text(data.InData.Fluid.get()));
    add_reference_temperatures(record, sides, u);
    add_properties(record, r.RefLiquid, r.RefVapor, nullptr, r.Side2, u);
    if constexpr (kCondenser)
        record.quantity("'CondTemp'", "'CondTemp_u'", duty_value(g.CondTemp, r.CondensingTemp, u.temperature));
    else
        record.quantity("'EvapTemp'", "'EvapTemp_u'", duty_value(g.EvapTemp, r.EvapTemp, u.temperature));

    add_exchanger_fields(record, g, data.InData.HeatLoad, r, r.LMTD, u, dual);
    add_pressure_drops(record, sides, u);
    record.field("'NoofChan1'", std::to_string(r.NoOfChannels[1]));
    record.field("'NoofChan2'", std::to_string(r.NoOfChannels[2]));
    record.field("'Para'", std::to_string(r.ParallelUnits));
    record.field("'Serie'", std::to_string(r.SerialUnits));
    record.field("'NoOfPlates'", std::to_string(r.NoOfPlates));
    record.field("'OverSurf'", over_surface_text(r.OverSurface, g, Quote, quotation));
    record.quantity("'FoulingF'", "'FoulingF_u'", duty_value(g.FoulingFactor, r.FoulingFactor, u.fouling));
    record.field("'Note'", note_text({sides[0].notes, sides[1].notes}));
    add_reference_temperatures(record, sides, u);
    add_hydraulics(record, sides, u);
    if constexpr (kCondenser) {
        record.quantity("'SubC'", "'SubC_u'", duty_value(g.SubCooling, r.SubCooling, u.temperature_difference));
    } else {
        add_distributor_drop(record, r, u);
    }
    add_port_diameters(record, sides, kFourPortNames, u);
    if (Quote) add_quotation_fields(record, alternative.XerPhysics, unit, quotation, "'Length_u'");
    return record;
}

}  // namespace hxq::output
