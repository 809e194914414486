#include "output/merge_cascade.h"

#include "output/merge_con.h"
#include "output/merge_shared.h"
#include "output/merge_two_phase.h"
#include "output/preview_rows.h"
#include "output/sheet_layout.h"
#include "output/sheet_values.h"

namespace hxq::output {
namespace {

constexpr std::string_view kCondenserNote = "Condenser: ";
constexpr std::string_view kEvaporatorNote = "Evaporator: ";

template <class Result>
std::string circuit_note(std::string_view circuit, const Result& r) {
    const std::string note = note_text({merge_side(r, 1).notes, merge_side(r, 2).notes});
    return note.empty() ? note : std::string(circuit) + note;
}

const core::FluidObject* refrigerant_of(const core::FluidRef& rated, const core::FluidRef& given) {
    return rated ? rated.get() : given.get();
}

}  // namespace

std::string cascade_note(const core::CondenserResult& condensing, const core::EvaporatorResult& evaporating) {
    const std::string c = circuit_note(kCondenserNote, condensing);
    const std::string e = circuit_note(kEvaporatorNote, evaporating);
    return c.empty() || e.empty() ? c + e : c + " " + e;
}

MergeRecord cascade_merge_record(const core::CascadeDataType& data, std::int16_t Index,
                                 const settings::OutputUnitsType& unit, bool Quote, const std::string& CM,
                                 const QuotationTexts& quotation) {
    check_alternative_index(Index, "SaveCascade");
    const core::VAPOutDataType& pack = data.outdataVap[Index];
    const core::EvaporatorResult& v = pack.OutputData;
    const core::CondenserResult& c = data.outdataCon[Index].OutputData;
    const core::InputData& g = data.GivenValues;
    const MergeUnits u = merge_units(unit, data.GivenOutputUnits);
    // Side 1 is the evaporating refrigerant, side 2 the condensing one; each circuit's own
    // side 2 is only the stand-in for the other and is not printed.
    const MergeSides sides{merge_side(v, 1), merge_side(c, 1)};
    // The per-side given values do not say which circuit they belong to: the results serve.
    const SideGivens none;

    MergeRecord record;
    add_opening_fields(record, alternative_designation(pack, false), CM);
    add_side_temperatures(record, sides, none, u);
    record.quantity("'ToutGas'", "'ToutGas_u'", result_value(v.OutletTempGas, u.gas_outlet_temperature));
    add_side_flows(record, sides, none, u);
    record.quantity("FlowRateGas", "FlowRateGas_u", result_value(v.InletVaporFlow, u.inlet_vapour));
    record.quantity("FluidVap", "FluidVap_u", result_value(v.FluidVaporized, u.fluid_vaporized));
    record.quantity("FluidCond", "FluidCond_u", result_value(c.FluidCondensed, u.fluid_condensed));
    record.quantity("OPout", "OPout_u", result_value(v.OperatingPressOut, u.operating_pressure_out));
    record.quantity("'OPout2'", "'OPout2_u'", result_value(c.OperatingPressOut, u.operating_pressure_out));
    record.quantity("'TmaxPD1'", "'TmaxPD1_u'", result_value(data.InDataVap.MaxPressureDrop[1].Value, u.pressure_drop[1]));
    record.quantity("'TMaxPD2'", "'TMaxPD2_u'", result_value(data.InDataCon.MaxPressureDrop[1].Value, u.pressure_drop[2]));
    record.field("'Fluid1'", fluid_text(refrigerant_of(v.FluidObject, data.InDataVap.Refrigerant)));
    record.field("'Fluid2'", fluid_text(refrigerant_of(c.FluidObject, data.InDataCon.Refrigerant)));
    add_reference_temperatures(record, sides, u);
    // Side 2's own entries are the condensing refrigerant's liquid, its second gas entry
    // the condensing refrigerant's vapour.
    add_properties(record, v.RefLiquid, v.RefVapor, &c.RefVapor, c.RefLiquid, u);
    record.quantity("'EvapTemp'", "'EvapTemp_u'", duty_value(g.EvapTemp, v.EvapTemp, u.temperature));

    add_exchanger_fields(record, g, data.InDataVap.HeatLoad, v, v.LMTD, u, false);
    add_pressure_drops(record, sides, u);
    record.field("'NoofChan1'", std::to_string(v.NoOfChannels[1]));
    record.field("'NoofChan2'", std::to_string(c.NoOfChannels[1]));
    record.field("'Para'", std::to_string(v.ParallelUnits));
    record.field("'Serie'", std::to_string(v.SerialUnits));
    record.field("'NoOfPlates'", std::to_string(v.NoOfPlates));
    record.field("'OverSurf'", over_surface_text(v.OverSurface, g, Quote, quotation));
    record.quantity("'FoulingF'", "'FoulingF_u'", duty_value(g.FoulingFactor, v.FoulingFactor, u.fouling));
    record.field("'Note'", cascade_note(c, v));
    add_reference_temperatures(record, sides, u);
    add_hydraulics(record, sides, u);
    add_distributor_drop(record, v, u);
    // Both circuits' results in turn: the evaporating circuit's ports, then the condensing one's.
    const MergeSide ports[] = {merge_side(v, 1), merge_side(v, 2), merge_side(c, 1), merge_side(c, 2)};
    add_port_diameters(record, ports, kEightPortNames, u);
    record.quantity("'CondTemp'", "'CondTemp_u'", duty_value(g.CondTemp, c.CondensingTemp, u.temperature));
    record.quantity("'SuperHeat'", "'SuperHeat_u'", duty_value(g.SuperHeating, v.SuperHeat, u.temperature_difference));
    record.quantity("'SubC'", "'SubC_u'", duty_value(g.SubCooling, c.SubCooling, u.temperature_difference));
    if (Quote) add_quotation_fields(record, pack.XerPhysics, unit, quotation, "'Length_u'");
    return record;
}

void clsOutput::SaveCascade(const core::CascadeDataType& OData, std::int16_t Index,
                            const settings::OutputUnitsType& unit, std::int16_t /*CalcType*/, std::int16_t PrintType,
                            bool DirectPrint, bool Quote, const std::string& CM, std::int16_t /*offset*/) {
    print_record(cascade_merge_record(OData, Index, unit, Quote, CM, quotation_),
                 MergeKind::Cascade, PrintType, DirectPrint, Quote);
}

}  // namespace hxq::output
