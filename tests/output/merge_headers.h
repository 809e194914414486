// The field names every printout's templates address, written out as the templates spell
// them: the contract the merge records must keep (and the templates under sample/ use).
#pragma once

#include <string>
#include <vector>

namespace hxq::test {

using Names = std::vector<std::string>;

inline Names joined(std::initializer_list<Names> parts) {
    Names out;
    for (const Names& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

inline const Names kOpening = {"'TQSVersion'", "'Header0'", "'Header1'", "'Header2'", "'Header3'", "'Header4'",
    "'TQSName'", "'XerName'", "'CalcM'", "'Date'", "'Customer'", "'OurRef'", "'Reference'"};

inline const Names kTemperatures = {"'Tin1'", "'Tin1_u'", "'Tin2'", "'Tin2_u'", "'Tout1'", "'Tout1_u'", "'Tout2'",
    "'Tout2_u'"};
inline const Names kFlows = {"FlowRate1", "FlowRate1_u", "FlowRate2", "FlowRate2_u"};
inline const Names kLimits = {"'TmaxPD1'", "'TmaxPD1_u'", "'TMaxPD2'", "'TMaxPD2_u'"};
inline const Names kRefTemps = {"'RefTemp1'", "'RefTemp1_u'", "'RefTemp2'", "'RefTemp2_u'"};
inline const Names kProperties = {"'ViscRefLiq'", "'ViscRefLiq_u'", "'ViscRefGas'", "'ViscRefGas_u'", "'Visc2'",
    "'Visc2_u'", "'DensLiq'", "'DensLiq_u'", "'DensGas'", "'DensGas_u'", "'Dens2'", "'Dens2_u'", "'HeatCapLiq'",
    "'HeatCapLiq_u'", "'HeatCapGas'", "'HeatCapGas_u'", "'HeatCap2'", "'HeatCap2_u'", "'ConductLiq'",
    "'ConductLiq_u'", "'ConductGas'", "'ConductGas_u'", "'Conduct2'", "'Conduct2_u'"};
inline const Names kCascadeProperties = {"'ViscRefLiq'", "'ViscRefLiq_u'", "'ViscRefGas'", "'ViscRefGas_u'",
    "'ViscRefGas2'", "'ViscRefGas2_u'", "'Visc2'", "'Visc2_u'", "'DensLiq'", "'DensLiq_u'", "'DensGas'",
    "'DensGas_u'", "'DensGas2'", "'DensGas2_u'", "'Dens2'", "'Dens2_u'", "'HeatCapLiq'", "'HeatCapLiq_u'",
    "'HeatCapGas'", "'HeatCapGas_u'", "'HeatCapGas2'", "'HeatCapGas2_u'", "'HeatCap2'", "'HeatCap2_u'",
    "'ConductLiq'", "'ConductLiq_u'", "'ConductGas'", "'ConductGas_u'", "'ConductGas2'", "'ConductGas2_u'",
    "'Conduct2'", "'Conduct2_u'"};
inline const Names kLoad = {"'HeatLoad'", "HeatLoad_u"};
// "'Area'" .. "'Para'", then "'Serie'" on the two-phase forms, then the tail.
inline const Names kExchangerHead = {"'Area'", "'Area_u'", "'HeatFlux'", "'HeatFlux_u'", "'MTD'", "'MTD_u'",
    "'OHTC'", "'OHTC_u'", "'OHTC_req'"};
inline const Names kPressureDrops = {"'PressDropTot1'", "'PressDropTot1_u'", "'PressDropTot2'", "'PressDropTot2_u'",
    "'PressDropPort1'", "'PressDropPort1_u'", "'PressDropPort2'", "'PressDropPort2_u'", "'ConnDia1'",
    "'ConnDia1_u'", "'ConnDia2'", "'ConnDia2_u'"};
inline const Names kExchangerTail = {"'NoOfPlates'", "'OverSurf'", "'FoulingF'", "'FoulingF_u'", "'Note'"};
inline const Names kExchanger = joined({kExchangerHead, kPressureDrops, {"'NoofChan1'", "'NoofChan2'", "'Para'",
                                        "'Serie'"}, kExchangerTail});
inline const Names kHydraulics = {"'Rey1'", "'Rey2'", "'Film1'", "'Film1_u'", "'Film2'", "'Film2_u'", "'Walltemp1'",
    "'Walltemp1_u'", "'Walltemp2'", "'Walltemp2_u'", "'PD1'", "'TPD1_u'", "'TPD2'", "'TPD2_u'", "'PortVel1'",
    "'PortVel1_u'", "'PortVel2'", "'PortVel2_u'", "'ChanVel1'", "'ChanVel1_u'", "'ChanVel2'", "'ChanVel2_u'"};
inline const Names kFourPorts = {"'Dia1'", "'Dia2'", "'Dia_u'", "'Dia3", "'Dia4'"};

// The quotation block: connection places, volumes, pressures, dimensions, price. The
// two-phase printouts head the width's unit with the length's name.
inline Names quotation_names(const char* width_unit) {
    return {"'Platemtrl'", "'ArtNo'",        "'NoConnRows'",  "'ConnPlace1'", "'ConnName1'",   "'ConnPlace2'",
            "'ConnName2'", "'ConnPlace3'",   "'ConnName3'",   "'ConnPlace4'", "'ConnName4'",   "'ConnPlace5'",
            "'ConnName5'", "'ConnPlace6'",   "'ConnName6'",   "'loc1'",       "'loc2'",        "'Vol1'",
            "'Vol1_u'",    "'Vol2'",         "'Vol2_u'",      "'MaxOPress'",  "'MaxOPress_u'", "'TestPress'",
            "'TestPress_u'", "'MaxWTemp'",   "'MaxWTemp_u'",  "'Length'",     "'Length_u'",    "'Width'",
            width_unit,    "'Height'",       "'Height_u'",    "'Weight_full'", "'WeightF_u'",  "'Weight_empty'",
            "'WeightE_u'", "'Price'",        "'Price_u'",     "'DeliveryTime'", "'Packing'",   "'Comment1'",
            "'Comment2'",  "'Comment3'"};
}
inline const Names kQuotation = quotation_names("'Length_u'");

inline Names fluids(bool dual) { return dual ? Names{"'Fluid1a'", "'Fluid1b'", "'Fluid2'"} : Names{"'Fluid1'", "'Fluid2'"}; }
inline Names load(bool dual) { return dual ? joined({kLoad, {"'HeatLoadTotal'"}}) : kLoad; }

inline Names condenser_names(bool dual, bool quote) {
    return joined({kOpening, kTemperatures, kFlows, {"FluidCond", "FluidCond_u", "OPout", "OPout_u"}, kLimits,
                   fluids(dual), kRefTemps, kProperties, {"'CondTemp'", "'CondTemp_u'"}, load(dual), kExchanger,
                   kRefTemps, kHydraulics, {"'SubC'", "'SubC_u'"}, kFourPorts, quote ? kQuotation : Names{}});
}

inline Names evaporator_names(bool dual, bool quote) {
    return joined({kOpening, kTemperatures, {"'ToutGas'", "'ToutGas_u'"}, kFlows,
                   {"FlowRateGas", "FlowRateGas_u", "FluidVap", "FluidVap_u", "OPout", "OPout_u"}, kLimits,
                   fluids(dual), kRefTemps, kProperties, {"'EvapTemp'", "'EvapTemp_u'"}, load(dual), kExchanger,
                   kRefTemps, kHydraulics, {"'PDropFlu'", "PDropFlu_u'"}, kFourPorts, quote ? kQuotation : Names{}});
}

inline Names cascade_names(bool quote) {
    return joined({kOpening, kTemperatures, {"'ToutGas'", "'ToutGas_u'"}, kFlows,
                   {"FlowRateGas", "FlowRateGas_u", "FluidVap", "FluidVap_u", "FluidCond", "FluidCond_u", "OPout",
                    "OPout_u", "'OPout2'", "'OPout2_u'"},
                   kLimits, fluids(false), kRefTemps, kCascadeProperties, {"'EvapTemp'", "'EvapTemp_u'"}, kLoad,
                   kExchanger, kRefTemps, kHydraulics, {"'PDropFlu'", "PDropFlu_u'"},
                   {"'Dia1'", "'Dia2'", "'Dia_u'", "'Dia3'", "'Dia4'", "'Dia5'", "'Dia6'", "'Dia7'", "'Dia8'"},
                   {"'CondTemp'", "'CondTemp_u'", "'SuperHeat'", "'SuperHeat_u'", "'SubC'", "'SubC_u'"},
                   quote ? kQuotation : Names{}});
}

inline const Names kSinglePhaseProperties = {"'Visc1'", "'Visc1_u'", "'Visc2'", "'Visc2_u'", "'ViscWall1'",
    "'ViscWall1_u'", "'ViscWall2'", "'ViscWall2_u'", "'Dens1'", "'Dens1_u'", "'Dens2'", "'Dens2_u'", "'HeatCap1'",
    "'HeatCap1_u'", "'HeatCap2'", "'HeatCap2_u'", "'Conduct1'", "'Conduct1_u'", "'Conduct2'", "'Conduct2_u'"};
inline const Names kTemperatureLimitsLow = {"'Tmin1'", "'Tmin1_u'", "'Tmin2'", "'Tmin2_u'"};
inline const Names kTemperatureLimitsHigh = {"'Tmax1'", "'Tmax1_u'", "'Tmax2'", "'Tmax2_u'"};
inline const Names kShear = {"'Shear1'", "Shear1_u'", "'Shear2'", "Shear2_u'"};

inline Names single_phase_names(bool dual, bool quote) {
    return joined({kOpening, kTemperatures, kFlows, kLimits, {"'NTU1'", "'NTU2'"}, fluids(dual), kRefTemps,
                   kSinglePhaseProperties, load(dual), kExchangerHead, kPressureDrops,
                   {"'NoofChan1'", "'NoofChan2'", "'Para'"}, kExchangerTail, kTemperatureLimitsLow, kRefTemps,
                   kTemperatureLimitsHigh, kHydraulics, kShear, quote ? quotation_names("'Width_u'") : Names{}});
}

// A name of the second stage: "_2" before the unit ending and the closing quote.
inline Names second_stage(const Names& names) {
    Names out;
    for (std::string n : names) {
        const std::size_t at = n.ends_with("_u'") ? n.size() - 3 : n.size() - 1;
        out.push_back(n.insert(at, "_2"));
    }
    return out;
}

inline Names two_stage_names(bool quote) {
    Names opening = kOpening;
    std::erase(opening, "'CalcM'");
    return joined({opening, kTemperatures, kFlows, {"FlowRateAdd", "FlowRateAdd_u", "FlowRateTot", "FlowRate1_u"},
                   kLimits, {"'NTU1'", "'NTU2'"}, fluids(false), kRefTemps, kSinglePhaseProperties,
                   second_stage(joined({kRefTemps, kSinglePhaseProperties})), kLoad,
                   {"'Area'", "'Area_u'", "'MTD'", "'MTD_u'", "'OHTC_1'", "'OHTC_2'", "'OHTC_u'"}, kPressureDrops,
                   {"'NoofChan1'", "'NoofChan2'", "'NoOfPlates'", "'OverSurf'", "'OverSurf_u'", "'FoulingF'",
                    "'FoulingF_u'", "'Note'"},
                   kRefTemps, {"'PD1'", "'TPD1_u'", "'TPD2'", "'TPD2_u'"}, quote ? quotation_names("'Width_u'") : Names{}});
}

// The air dryer's printout writes its whole list, the quotation fields too.
inline Names air_dryer_names() {
    Names connections;
    for (int i = 1; i <= 6; ++i) {
        connections.push_back("'ConnPlace" + std::to_string(i) + "'");
        connections.push_back("'ConnType" + std::to_string(i) + "'");
    }
    return joined({{kOpening.begin(), kOpening.begin() + 6},
                   {"'TQSName'", "'XerName'", "'CalcM'", "'Date'", "'Customer'", "'OurRef'", "'Reference'",
                    "'TinAir'", "'TinAir_u'", "'Tdew'", "'Tdew_u'", "'Tevap'", "'Tevap_u'", "'ToutRef'",
                    "'ToutRef_u'", "'ToutAir'", "'ToutAir_u'", "'FlowAir'", "'FlowAir_u'", "'OpPOutRef'",
                    "'OpPOutRef_u'", "'OpPOutAir'", "'OpPOutAir_u'", "'FluNameRef'", "FluNameAir'", "'TrefRef'",
                    "'TrefRef_u'", "TrefAir'", "'TrefAir_u'", "'Lvisc'", "'Lvisc_u'", "'Ldens'", "'Ldens_u'",
                    "'Lhcap'", "'Lhcap_u'", "'Lcond'", "'Lcond_u'", "'VviscRef'", "'VviscRef_u'", "'VviscAir'",
                    "'VviscAir_u'", "'VdensRef'", "'VdesnRef_u'", "'VdensAir'", "'VdensAir_u'", "'VhcapRef'",
                    "'VhcapRef_u'", "'VhcapAir'", "'VhcapAir_u'", "'VcondRef'", "'VcondRef_u'", "'VcondAir'",
                    "'VcondAir_u'", "'Vlath'", "'Vlath_u'", "'LoadRef'", "'LoadRef_u'", "'LoadTot'", "'LoadTot_u'",
                    "'LoadAir'", "'LoadAir_u'", "'AreaRef'", "'AreaRef_u'", "'AreaTot'", "'AreaTot_u'", "'AreaAir'",
                    "'AreaAir_u'", "'HFluxRef'", "'HFluxRef_u'", "'HFluxAir'", "'HFluxAir_u'", "'MTDRef'",
                    "'MTDRef_u'", "'MTDAir'", "'MTDAir_u'", "'OHTCRef'", "'OHTCRef_u'", "'OHTCAir'", "'OHTCAir_u'",
                    "'dPTot'", "'dPTot_u'", "'NoPRef'", "'NoPAir'"},
                   connections,
                   {"'PlMtrl'", "'ConnLocRef'", "'ConnLocAir'", "'LocToLoc'", "'FluVolRef'", "'FluVolAir'", "'Vol_u'",
                    "'MaxOpPress'", "'OpPress_u'", "'TestPress'", "'TestPress_u'", "'MaxWTemp'", "'WTemp_u'",
                    "'Length'", "'Width'", "'Height'", "'Meas_u'", "'WeightF'", "'WeightE'", "'Weight_u'", "'ArtNo'",
                    "'Price'", "'Price_u'", "'DeliveryTime'", "'Packing'", "'Comment1'", "'Comment2'",
                    "'Comment3'"}});
}

}  // namespace hxq::test
