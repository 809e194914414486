#include "output/merge_air_dryer.h"

#include "batch/ad_records.h"
#include "output/merge_con.h"
#include "output/merge_shared.h"
#include "output/merge_two_phase.h"
#include "output/sheet_layout.h"
#include "output/sheet_values.h"
#include "settings/texts.h"

#include <fmt/format.h>

#include <cmath>

namespace hxq::output {
namespace {

constexpr std::int16_t kPerformanceText = 416;
constexpr std::int16_t kDesignText = 201;

// The pair's connections: refrigerant in and out, air in and out, and the passage from
// the evaporator's air outlet into the air-to-air unit.
constexpr std::string_view kPlaces[] = {"F3/F1", "P4/P3", "F4=>P1"};

std::string fluid_name(const core::FluidRef& fluid) { return fluid ? fluid->YFluidName() : std::string(); }

}  // namespace

MergeRecord air_dryer_merge_record(const batch::ADDataType& AD, std::int16_t ind, bool CalcM, std::int16_t offset,
                                   bool bQuote, const settings::OutputUnitsType& Units,
                                   const QuotationTexts& quotation) {
    check_alternative_index(ind, "SaveAD");
    const batch::ADInputType& in = AD.ADInData;
    const batch::ADFormIndataType& form = in.ADFormIndata;
    const batch::ADOutputType& pair = AD.ADOutData[ind];
    const core::EvaporatorResult& e = pair.RefHXQResults_new;
    const core::SinglePhaseResult& a = pair.AirHXQResults;
    const MergeUnits u = merge_units(Units, core::GivenUnitsType{});
    // A pair that does not meet the duty has no results to print.
    const auto rated = [&](double value) { return pair.Exist ? value : std::nan(""); };
    const auto q = [](double si, std::int16_t unit) { return result_value(si, unit); };

    MergeRecord record;
    add_opening_fields(record, pair.XerType,
                       std::string(settings::localised_text(CalcM ? kPerformanceText : kDesignText, offset)));
    record.quantity("'TinAir'", "'TinAir_u'", q(form.AirInletTemp, u.temperature));
    record.quantity("'Tdew'", "'Tdew_u'", q(rated(pair.DewTemp), u.temperature));
    record.quantity("'Tevap'", "'Tevap_u'", q(form.RefEvapTemp, u.temperature));
    record.quantity("'ToutRef'", "'ToutRef_u'", q(rated(e.OutletTempGas), u.temperature));
    record.quantity("'ToutAir'", "'ToutAir_u'", q(rated(a.OutletTemp[1]), u.temperature));
    record.quantity("'FlowAir'", "'FlowAir_u'", q(form.AirMassFlow, u.flow));
    record.quantity("'OpPOutRef'", "'OpPOutRef_u'", q(rated(e.OperatingPressOut), u.pressure));
    record.quantity("'OpPOutAir'", "'OpPOutAir_u'",
                    q(rated(form.AirOperatingPressure - pair.TotalPressureDrop), u.pressure));
    // Two names lack their opening quote, as the templates spell them.
    record.field("'FluNameRef'", fluid_name(in.RefIndata.RefFluid));
    record.field("FluNameAir'", fluid_name(in.RefIndata.AirFluid));
    record.quantity("'TrefRef'", "'TrefRef_u'", q(rated(e.RefTemp[1]), u.temperature));
    record.quantity("TrefAir'", "'TrefAir_u'", q(rated(a.RefTemp[1]), u.temperature));
    // The refrigerant's liquid, then its vapour and the air, property by property.
    record.quantity("'Lvisc'", "'Lvisc_u'", q(rated(e.RefLiquid.Viscosity), u.viscosity));
    record.quantity("'Ldens'", "'Ldens_u'", q(rated(e.RefLiquid.Density), u.density));
    record.quantity("'Lhcap'", "'Lhcap_u'", q(rated(e.RefLiquid.SpecificHeat), u.heat_capacity));
    record.quantity("'Lcond'", "'Lcond_u'", q(rated(e.RefLiquid.Conductivity), u.conductivity));
    record.quantity("'VviscRef'", "'VviscRef_u'", q(rated(e.RefVapor.Viscosity), u.viscosity));
    record.quantity("'VviscAir'", "'VviscAir_u'", q(rated(a.Viscosity[1]), u.viscosity));
    record.quantity("'VdensRef'", "'VdesnRef_u'", q(rated(e.RefVapor.Density), u.density));
    record.quantity("'VdensAir'", "'VdensAir_u'", q(rated(a.Density[1]), u.density));
    record.quantity("'VhcapRef'", "'VhcapRef_u'", q(rated(e.RefVapor.SpecificHeat), u.heat_capacity));
    record.quantity("'VhcapAir'", "'VhcapAir_u'", q(rated(a.SpecificHeat[1]), u.heat_capacity));
    record.quantity("'VcondRef'", "'VcondRef_u'", q(rated(e.RefVapor.Conductivity), u.conductivity));
    record.quantity("'VcondAir'", "'VcondAir_u'", q(rated(a.Conductivity[1]), u.conductivity));
    record.quantity("'Vlath'", "'Vlath_u'", q(rated(e.LatentHeat), u.latent_heat));

    record.quantity("'LoadRef'", "'LoadRef_u'", q(rated(e.HeatLoad), u.heat_load));
    record.quantity("'LoadTot'", "'LoadTot_u'", q(rated(e.HeatLoad + a.HeatLoad), u.heat_load));
    record.quantity("'LoadAir'", "'LoadAir_u'", q(rated(a.HeatLoad), u.heat_load));
    record.quantity("'AreaRef'", "'AreaRef_u'", q(rated(e.HeatTransferArea), u.area));
    record.quantity("'AreaTot'", "'AreaTot_u'", q(rated(e.HeatTransferArea + a.HeatTransferArea), u.area));
    record.quantity("'AreaAir'", "'AreaAir_u'", q(rated(a.HeatTransferArea), u.area));
    record.quantity("'HFluxRef'", "'HFluxRef_u'", q(rated(e.HeatFlux), u.heat_flux));
    record.quantity("'HFluxAir'", "'HFluxAir_u'", q(rated(a.HeatFlux), u.heat_flux));
    record.quantity("'MTDRef'", "'MTDRef_u'", q(rated(e.LMTD), u.mean_difference));
    record.quantity("'MTDAir'", "'MTDAir_u'", q(rated(a.DeltaTempEffective), u.mean_difference));
    record.quantity("'OHTCRef'", "'OHTCRef_u'", q(rated(e.Kpredicted), u.ohtc));
    record.quantity("'OHTCAir'", "'OHTCAir_u'", q(rated(a.Kpredicted), u.ohtc));
    record.quantity("'dPTot'", "'dPTot_u'", q(rated(pair.TotalPressureDrop), u.pressure_drop[1]));
    record.field("'NoPRef'", std::to_string(pair.RefNumberOfPlates));
    record.field("'NoPAir'", std::to_string(pair.TotalNumberOfPlates - pair.RefNumberOfPlates));

    // The connection and quotation block: always there, empty without a quotation.
    const auto put = [&](std::string_view name, std::string value) {
        record.field(name, bQuote ? std::move(value) : std::string());
    };
    const auto put_quantity = [&](std::string_view name, std::string_view unit_name, const core::OutVal& v) {
        put(name, v.GVal);
        put(unit_name, v.GUnit);
    };
    for (int i = 1; i <= 6; ++i) {
        put(fmt::format("'ConnPlace{}'", i), i <= 3 ? std::string(kPlaces[i - 1]) : std::string());
        put(fmt::format("'ConnType{}'", i), "");
    }
    const core::XerPhysicsType& physics = pair.XerPhysics;
    put("'PlMtrl'", "AISI 316");
    put("'ConnLocRef'", "");
    put("'ConnLocAir'", "");
    put("'LocToLoc'", "");
    // One unit field for each group of values.
    put("'FluVolRef'", q(physics.Vol[1], Units.Volume.UnitID).GVal);
    put_quantity("'FluVolAir'", "'Vol_u'", q(physics.Vol[2], Units.Volume.UnitID));
    put_quantity("'MaxOpPress'", "'OpPress_u'", q(physics.MaxOPress[1], Units.Op_Max_Pressure.UnitID));
    put_quantity("'TestPress'", "'TestPress_u'", q(physics.TestPress[1], Units.Op_Max_Pressure.UnitID));
    put_quantity("'MaxWTemp'", "'WTemp_u'", q(physics.MaxWTemp[1], Units.MaxWorkTemp.UnitID));
    put("'Length'", q(physics.length, Units.length.UnitID).GVal);
    put("'Width'", q(physics.Width, Units.length.UnitID).GVal);
    put_quantity("'Height'", "'Meas_u'", q(physics.Height, Units.length.UnitID));
    put("'WeightF'", q(physics.Weight_full, Units.Weight.UnitID).GVal);
    put_quantity("'WeightE'", "'Weight_u'", q(physics.Weight_empty, Units.Weight.UnitID));
    put("'ArtNo'", pair.XPc.empty() ? "N/A" : pair.XPc);
    put("'Price'", quotation.Price);
    put("'Price_u'", quotation.Currency);
    put("'DeliveryTime'", quotation.DeliveryTime);
    put("'Packing'", quotation.Packing);
    for (std::size_t i = 0; i < quotation.Comments.size(); ++i)
        put(fmt::format("'Comment{}'", i + 1), quotation.Comments[i]);
    return record;
}

void clsOutput::SaveAD(const batch::ADDataType& AD, std::int16_t ind, bool CalcM, std::int16_t offset, bool bQuote,
                       std::int16_t PrintType, const settings::OutputUnitsType& Units) {
    print_record(air_dryer_merge_record(AD, ind, CalcM, offset, bQuote, Units, quotation_),
                 MergeKind::AD, PrintType, false, bQuote);
}

}  // namespace hxq::output
