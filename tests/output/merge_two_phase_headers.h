// The field names the condenser, evaporator and cascade templates address, written out
// as the templates spell them: the contract the printouts' merge records must keep.
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

inline const Names kOpening = {"'TQSVersion'", "'Header0'",  "'Header1'", "'Header2'",  "'Header3'", "'Header4'",
                               "'TQSName'",    "'XerName'",  "'CalcM'",   "'Date'",     "'Customer'", "'OurRef'",
                               "'Reference'"};

inline const Names kTemperatures = {"'Tin1'", "'Tin1_u'", "'Tin2'", "'Tin2_u'",
                                    "'Tout1'", "'Tout1_u'", "'Tout2'", "'Tout2_u'"};
inline const Names kFlows = {"FlowRate1", "FlowRate1_u", "FlowRate2", "FlowRate2_u"};
inline const Names kLimits = {"'TmaxPD1'", "'TmaxPD1_u'", "'TMaxPD2'", "'TMaxPD2_u'"};
inline const Names kRefTemps = {"'RefTemp1'", "'RefTemp1_u'", "'RefTemp2'", "'RefTemp2_u'"};
inline const Names kProperties = {
    "'ViscRefLiq'", "'ViscRefLiq_u'", "'ViscRefGas'", "'ViscRefGas_u'", "'Visc2'",      "'Visc2_u'",
    "'DensLiq'",    "'DensLiq_u'",    "'DensGas'",    "'DensGas_u'",    "'Dens2'",      "'Dens2_u'",
    "'HeatCapLiq'", "'HeatCapLiq_u'", "'HeatCapGas'", "'HeatCapGas_u'", "'HeatCap2'",   "'HeatCap2_u'",
    "'ConductLiq'", "'ConductLiq_u'", "'ConductGas'", "'ConductGas_u'", "'Conduct2'",   "'Conduct2_u'"};
inline const Names kCascadeProperties = {
    "'ViscRefLiq'", "'ViscRefLiq_u'", "'ViscRefGas'", "'ViscRefGas_u'", "'ViscRefGas2'", "'ViscRefGas2_u'",
    "'Visc2'",      "'Visc2_u'",      "'DensLiq'",    "'DensLiq_u'",    "'DensGas'",     "'DensGas_u'",
    "'DensGas2'",   "'DensGas2_u'",   "'Dens2'",      "'Dens2_u'",      "'HeatCapLiq'",  "'HeatCapLiq_u'",
    "'HeatCapGas'", "'HeatCapGas_u'", "'HeatCapGas2'", "'HeatCapGas2_u'", "'HeatCap2'",  "'HeatCap2_u'",
    "'ConductLiq'", "'ConductLiq_u'", "'ConductGas'", "'ConductGas_u'", "'ConductGas2'", "'ConductGas2_u'",
    "'Conduct2'",   "'Conduct2_u'"};
inline const Names kLoad = {"'HeatLoad'", "HeatLoad_u"};
inline const Names kExchanger = {
    "'Area'",          "'Area_u'",          "'HeatFlux'",       "'HeatFlux_u'",       "'MTD'",
    "'MTD_u'",         "'OHTC'",            "'OHTC_u'",         "'OHTC_req'",         "'PressDropTot1'",
    "'PressDropTot1_u'", "'PressDropTot2'", "'PressDropTot2_u'", "'PressDropPort1'", "'PressDropPort1_u'",
    "'PressDropPort2'", "'PressDropPort2_u'", "'ConnDia1'",     "'ConnDia1_u'",       "'ConnDia2'",
    "'ConnDia2_u'",    "'NoofChan1'",       "'NoofChan2'",      "'Para'",             "'Serie'",
    "'NoOfPlates'",    "'OverSurf'",        "'FoulingF'",       "'FoulingF_u'",       "'Note'"};
inline const Names kHydraulics = {"'Rey1'",      "'Rey2'",       "'Film1'",      "'Film1_u'",     "'Film2'",
                                  "'Film2_u'",   "'Walltemp1'",  "'Walltemp1_u'", "'Walltemp2'",  "'Walltemp2_u'",
                                  "'PD1'",       "'TPD1_u'",     "'TPD2'",        "'TPD2_u'",     "'PortVel1'",
                                  "'PortVel1_u'", "'PortVel2'",  "'PortVel2_u'",  "'ChanVel1'",   "'ChanVel1_u'",
                                  "'ChanVel2'",  "'ChanVel2_u'"};
inline const Names kFourPorts = {"'Dia1'", "'Dia2'", "'Dia_u'", "'Dia3", "'Dia4'"};

// The quotation block of the two-phase printouts: the width's unit under the length's name.
inline const Names kQuotation = {
    "'Platemtrl'", "'ArtNo'",        "'NoConnRows'",  "'ConnPlace1'", "'ConnName1'",   "'ConnPlace2'",
    "'ConnName2'", "'ConnPlace3'",   "'ConnName3'",   "'ConnPlace4'", "'ConnName4'",   "'ConnPlace5'",
    "'ConnName5'", "'ConnPlace6'",   "'ConnName6'",   "'loc1'",       "'loc2'",        "'Vol1'",
    "'Vol1_u'",    "'Vol2'",         "'Vol2_u'",      "'MaxOPress'",  "'MaxOPress_u'", "'TestPress'",
    "'TestPress_u'", "'MaxWTemp'",   "'MaxWTemp_u'",  "'Length'",     "'Length_u'",    "'Width'",
    "'Length_u'",  "'Height'",       "'Height_u'",    "'Weight_full'", "'WeightF_u'",  "'Weight_empty'",
    "'WeightE_u'", "'Price'",        "'Price_u'",     "'DeliveryTime'", "'Packing'",   "'Comment1'",
    "'Comment2'",  "'Comment3'"};

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

}  // namespace hxq::test
