#include "output/merge_spc.h"

#include "output/merge_con.h"
#include "output/merge_shared.h"
#include "output/merge_two_phase.h"
#include "output/preview_rows.h"
#include "output/sheet_layout.h"
#include "output/sheet_values.h"
#include "output/two_stage_preview.h"
#include "settings/format.h"

#include <fmt/format.h>

#include <cmath>

namespace hxq::output {
namespace {

using Result = core::SinglePhaseResult;

std::string number_text(double value) {
    return std::isfinite(value) ? settings::show_value(platform::Variant(value), 3) : "-";
}

// A per-side result under "'<name>1'" and "'<name>2'", each with its "_u" field;
// `suffix` goes before the unit ending ("_2" for the second stage).
void add_pair(MergeRecord& record, std::string_view name, const core::PerSide<double>& value, std::int16_t unit,
              std::string_view suffix = {}) {
    for (int s = 1; s <= 2; ++s) {
        const std::string field = fmt::format("'{}{}{}", name, s, suffix);
        record.quantity(field + "'", field + "_u'", result_value(value[s], unit));
    }
}

// "'RefTemp1'" .. "'Conduct2_u'": the fluid properties of both sides at their reference
// temperatures.
void add_properties(MergeRecord& record, const Result& r, const MergeUnits& u, std::string_view suffix = {}) {
    add_pair(record, "RefTemp", r.RefTemp, u.temperature, suffix);
    add_pair(record, "Visc", r.Viscosity, u.viscosity, suffix);
    add_pair(record, "ViscWall", r.WallViscosity, u.viscosity, suffix);
    add_pair(record, "Dens", r.Density, u.density, suffix);
    add_pair(record, "HeatCap", r.SpecificHeat, u.heat_capacity, suffix);
    add_pair(record, "Conduct", r.Conductivity, u.conductivity, suffix);
}

void add_ntu(MergeRecord& record, const core::PerSide<double>& ntu) {
    record.field("'NTU1'", number_text(ntu[1]));
    record.field("'NTU2'", number_text(ntu[2]));
}

void add_fluids(MergeRecord& record, const core::SinglePhaseInput& in, bool dual) {
    const std::string side1 = fluid_text(in.Fluid[1].get());
    if (dual) {
        // Both circuits of side 1 carry the one side-1 fluid of the record.
        record.field("'Fluid1a'", side1);
        record.field("'Fluid1b'", side1);
    } else {
        record.field("'Fluid1'", side1);
    }
    record.field("'Fluid2'", fluid_text(in.Fluid[2].get()));
}

}  // namespace

MergeRecord spc_merge_record(const core::SPCDataType& data, std::int16_t Index, const settings::OutputUnitsType& unit,
                             bool Quote, const std::string& CM, const QuotationTexts& quotation, bool dual) {
    check_alternative_index(Index, dual ? "SaveSPCDual" : "SaveSPC");
    const core::OutDataType& alternative = data.outdata[Index];
    const Result& r = alternative.OutputData;
    const core::InputData& g = data.GivenValues;
    const core::SinglePhaseInput& in = data.InData;
    const MergeUnits u = merge_units(unit, data.GivenOutputUnits);
    MergeSides sides{merge_side(r, 1), merge_side(r, 2)};
    // The engine rates one circuit of a dual unit: the unit's flows are both circuits'.
    const double circuits = is_dual(g, alternative.Dual) ? 2 : 1;
    for (MergeSide& side : sides) side.flow *= circuits;
    const SideGivens given = side_givens(g);

    MergeRecord record;
    add_opening_fields(record, alternative_designation(alternative, is_dual(g, alternative.Dual)), CM);
    add_side_temperatures(record, sides, given, u);
    add_side_flows(record, sides, given, u);
    add_pressure_drop_limits(record, g, in, u);
    add_ntu(record, r.NTU);
    add_fluids(record, in, dual);
    add_properties(record, r, u);

    add_exchanger_fields(record, g, in.HeatLoad, r, r.DeltaTempEffective, u, dual);
    add_pressure_drops(record, sides, u);
    record.field("'NoofChan1'", std::to_string(r.NoOfChannels[1]));
    record.field("'NoofChan2'", std::to_string(r.NoOfChannels[2]));
    record.field("'Para'", std::to_string(r.ParallelUnits));
    record.field("'NoOfPlates'", std::to_string(r.NoOfPlates));
    record.field("'OverSurf'", over_surface_text(r.OverSurface, g, Quote, quotation));
    record.quantity("'FoulingF'", "'FoulingF_u'", duty_value(g.FoulingFactor, r.FoulingFactor, u.fouling));
    record.field("'Note'", note_text({sides[0].notes, sides[1].notes}));
    add_pair(record, "Tmin", r.MinTemp, u.temperature);
    add_reference_temperatures(record, sides, u);
    add_pair(record, "Tmax", r.MaxTemp, u.temperature);
    add_hydraulics(record, sides, u);
    // The shear's unit fields lack their opening quote, as the templates name them.
    for (int s = 1; s <= 2; ++s)
        record.quantity(fmt::format("'Shear{}'", s), fmt::format("Shear{}_u'", s),
                        result_value(r.ShearStress[s], u.shear));
    if (Quote) add_quotation_fields(record, alternative.XerPhysics, unit, quotation, "'Width_u'");
    return record;
}

MergeRecord two_stage_merge_record(const core::TwoStageType& data, std::int16_t Index,
                                   const settings::OutputUnitsType& unit, bool Quote,
                                   const QuotationTexts& quotation) {
    check_alternative_index(Index, "SaveTwoStage");
    const core::TwoStageOutDataType& alternative = data.outdata[Index];
    const Result& r1 = alternative.Stage1.OutputData;
    const Result& r2 = alternative.Stage2.OutputData;
    const core::InputData& g = data.GivenValues;
    const MergeUnits u = merge_units(unit, data.GivenOutputUnits);
    const TwoStagePack pack = two_stage_pack(alternative);

    // The primary enters stage 2 and leaves stage 1; the tap water the other way. The
    // stages are in series on both sides: their drops add up, and the first stage's ports
    // are the pack's connections.
    MergeSides sides{merge_side(r1, 1), merge_side(r1, 2)};
    sides[0].inlet = r2.InletTemp[1];
    sides[1].outlet = r2.OutletTemp[2];
    sides[0].flow = r2.MassFlow[1];
    for (int s = 1; s <= 2; ++s) {
        MergeSide& side = sides[static_cast<std::size_t>(s - 1)];
        side.pressure_drop = r1.PressureDrop[s] + r2.PressureDrop[s];
        side.port_pressure_drop = r1.PortPressureDrop[s] + r2.PortPressureDrop[s];
        side.ref_temp = r1.RefTemp[s];
        // Each side keeps the first remark of either stage.
        if (side.notes.percent.empty()) side.notes.percent = merge_side(r2, s).notes.percent;
        if (side.notes.pressure.empty()) side.notes.pressure = merge_side(r2, s).notes.pressure;
    }
    const SideGivens given = side_givens(g);

    MergeRecord record;
    add_opening_fields(record, two_stage_designation(alternative));
    add_side_temperatures(record, sides, given, u);
    add_side_flows(record, sides, given, u);
    // In winter the radiator return joins the primary before stage 1: the added flow, and
    // the total through stage 1 under the side-1 flow's unit name again.
    record.quantity("FlowRateAdd", "FlowRateAdd_u",
                    data.Rad_Flow.bolSet ? result_value(data.Rad_Flow.SngValue, u.flow)
                                         : core::OutVal{"-", settings::UnitTable(u.flow).sUnit});
    record.quantity("FlowRateTot", "FlowRate1_u", result_value(r1.MassFlow[1], u.flow));
    add_pressure_drop_limits(record, g, data.InData, u);
    // The stages in series: the pack's transfer units are both stages'.
    core::PerSide<double> ntu;
    for (int s = 1; s <= 2; ++s) ntu[s] = r1.NTU[s] + r2.NTU[s];
    add_ntu(record, ntu);
    add_fluids(record, data.InData, false);
    add_properties(record, r1, u);
    add_properties(record, r2, u, "_2");

    record.quantity("'HeatLoad'", "HeatLoad_u", heat_load_value(g.heatLoad, pack.heat_load, u.heat_load, 1));
    record.quantity("'Area'", "'Area_u'", result_value(pack.area, u.area));
    record.quantity("'MTD'", "'MTD_u'", result_value(pack.lmtd, u.mean_difference));
    record.field("'OHTC_1'", result_value(r1.Kpredicted, u.ohtc).GVal);
    record.quantity("'OHTC_2'", "'OHTC_u'", result_value(r2.Kpredicted, u.ohtc));
    add_pressure_drops(record, sides, u);
    record.field("'NoofChan1'", std::to_string(r1.NoOfChannels[1] + r2.NoOfChannels[1]));
    record.field("'NoofChan2'", std::to_string(r1.NoOfChannels[2] + r2.NoOfChannels[2]));
    record.field("'NoOfPlates'", std::to_string(pack.plates));
    record.field("'OverSurf'", over_surface_text(pack.over_surface, g, Quote, quotation));
    record.field("'OverSurf_u'", "%");
    record.quantity("'FoulingF'", "'FoulingF_u'", duty_value(g.FoulingFactor, r1.FoulingFactor, u.fouling));
    record.field("'Note'", note_text({sides[0].notes, sides[1].notes}));
    add_reference_temperatures(record, sides, u);
    for (int s = 1; s <= 2; ++s) {
        const double channels = r1.ChannelPressureDrop[s] + r2.ChannelPressureDrop[s];
        record.quantity(s == 1 ? "'PD1'" : "'TPD2'", s == 1 ? "'TPD1_u'" : "'TPD2_u'",
                        result_value(channels, u.pressure_drop[s]));
    }
    if (Quote)
        add_quotation_fields(record, alternative.XerPhysics, unit, quotation, "'Width_u'", {"F3,F1/P3", "P4,F2/F4"});
    return record;
}

void clsOutput::SaveSPC(const core::SPCDataType& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                        std::int16_t /*CalcType*/, std::int16_t PrintType, bool DirectPrint, bool Quote,
                        const std::string& CM, std::int16_t /*offset*/) {
    print_record(spc_merge_record(OData, Index, unit, Quote, CM, quotation_, false),
                 MergeKind::SPC, PrintType, DirectPrint, Quote);
}

void clsOutput::SaveSPCDual(const core::SPCDataType& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                            std::int16_t /*CalcType*/, std::int16_t PrintType, bool DirectPrint, bool Quote,
                            const std::string& CM, std::int16_t /*offset*/) {
    print_record(spc_merge_record(OData, Index, unit, Quote, CM, quotation_, true),
                 MergeKind::SPCDual, PrintType, DirectPrint, Quote);
}

void clsOutput::SaveTwoStage(const core::TwoStageType& OData, std::int16_t Index,
                             const settings::OutputUnitsType& unit, std::int16_t /*CalcType*/, std::int16_t PrintType,
                             bool DirectPrint, bool Quote, const std::string& /*CM*/, std::int16_t /*offset*/) {
    print_record(two_stage_merge_record(OData, Index, unit, Quote, quotation_),
                 MergeKind::TwoStage, PrintType, DirectPrint, Quote);
}

}  // namespace hxq::output
