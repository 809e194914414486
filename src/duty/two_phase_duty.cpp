#include "duty/two_phase_duty.h"

#include "duty/single_phase_duty.h"
#include "duty/unit_groups.h"
#include "platform/error.h"

#include <fmt/format.h>

#include <optional>

namespace hxq::duty {

namespace {

std::vector<KeySpec> common_top(bool condenser) {
    std::vector<KeySpec> keys{condenser ? Text("mode", {"design", "performance"})
                                        : Text("mode", {"design", "performance", "check"}),
                              Flag("counter_current"),
                              Quantity("heat_load", groups::kHeatLoad),
                              Quantity("over_surface", groups::kPercent),
                              Quantity("fouling_factor", groups::kFouling),
                              Count("parallel_units", 1),
                              Count("serial_units", 1),
                              Count("plates", 4),
                              Count("material", 0, 1, "expected 0 (AISI 316) or 1 (higher-alloyed plates)"),
                              Flag("dual"),
                              Flag("forced_stock"),
                              Table("refrigerant"),
                              Table("secondary"),
                              Table("filter")};
    if (condenser) keys.push_back(Quantity("heat_recovery", groups::kHeatLoad));
    return keys;
}

std::vector<KeySpec> secondary_keys() {
    return {Text("fluid"),
            Number("concentration"),
            Quantity("inlet_temp", groups::kTemperature),
            Quantity("outlet_temp", groups::kTemperature),
            Quantity("mass_flow", groups::kFlow),
            Quantity("max_pressure_drop", groups::kPressure)};
}

// What both kinds check: both tables with their fluids, the load or the refrigerant
// flow (the refrigerant's states tie one to the other), plates only where a unit is rated.
void check_common(const DutyDocument& d) {
    const Section& ref = d.table("refrigerant");
    const Section& sec = d.table("secondary");
    if (!ref.present)
        throw DutyFileError(d.path, 0, "refrigerant", "missing table [refrigerant] with the refrigerant, e.g. fluid = \"R134a\"");
    Require(ref, "fluid", "the refrigerant, e.g. fluid = \"R134a\"");
    if (!sec.present)
        throw DutyFileError(d.path, 0, "secondary",
                            "missing table [secondary] with the water or brine side, e.g. fluid = \"water\"");
    Require(sec, "fluid", "the secondary fluid, e.g. fluid = \"water\"");
    const Entry* load = d.top.get("heat_load");
    const Entry* flow = ref.get("mass_flow");
    if (load && flow) {
        const Entry* later = load->place.line > flow->place.line ? load : flow;
        d.top.fail(later->place,
                   "give one of heat_load and refrigerant.mass_flow: the refrigerant's states fix its flow by the load");
    }
    const bool design = EngineMode(d.top) == "D";
    if (design) Refuse(d.top, "plates", "a design finds the plates; give them with mode = \"performance\" or \"check\"");
    else Require(d.top, "plates", "the plates of the unit to rate, e.g. plates = 40");
}

void check_condenser(const DutyDocument& d) {
    check_common(d);
    const Section& ref = d.table("refrigerant");
    CheckCondensingRefrigerant(ref);
    if (d.top.has("heat_recovery")) {
        Refuse(ref, "outlet_quality", "a desuperheater (heat_recovery) leaves its gas at the recovered enthalpy");
        if (EngineMode(d.top) != "D") d.top.fail("heat_recovery", "heat_recovery sizes a desuperheater: a design");
    }
}

void check_evaporator(const DutyDocument& d) {
    check_common(d);
    CheckEvaporatingRefrigerant(d.table("refrigerant"));
}

// A fluid's error (a state outside its data) as a mistake of the key that asked for it.
template <class F>
double fluid_value(const Section& s, std::string_view key, F&& f) {
    try {
        return f();
    } catch (const platform::Error& e) {
        s.fail(key, e.description());
    }
}

template <class Data>
void build_common(const DutyDocument& duty, const ResolvedTarget& target, const std::string& database, Data& data) {
    core::InputData& g = data.GivenValues;
    auto& in = data.InData;
    const Section& top = duty.top;
    const Section& sec = duty.table("secondary");
    FillTarget(duty, target, database, g);
    in.CalcMode = EngineMode(top);
    if (const Entry* e = top.get("counter_current")) in.CounterCurrent = e->flag;
    if (const Entry* e = top.get("forced_stock")) in.ForcedStock = e->flag;

    const Entry* conc = sec.get("concentration");
    in.Fluid = CreateFluid(sec, "fluid", conc ? conc->number : 0);
    if (in.Fluid->IsTwoPhase())
        sec.fail("fluid", fmt::format("\"{}\" is a refrigerant; the secondary is a liquid or a gas", sec.get("fluid")->text));

    TakeQuantity(sec, "inlet_temp", g.InletTemp[2], in.InletTemp[2]);
    TakeQuantity(sec, "outlet_temp", g.OutletTemp[2], in.OutletTemp[2]);
    std::optional<double> flow_temp;
    if (in.InletTemp[2].Given) flow_temp = in.InletTemp[2].Value;
    else if (in.OutletTemp[2].Given) flow_temp = in.OutletTemp[2].Value;
    TakeQuantity(sec, "mass_flow", g.MassFlux[2], in.MassFlow[2], in.Fluid.get(), flow_temp);
    TakeQuantity(sec, "max_pressure_drop", g.MaxPressureDrop[2], in.MaxPressureDrop[2]);

    TakeQuantity(top, "heat_load", g.heatLoad, in.HeatLoad);
    TakeQuantity(top, "over_surface", g.OverSurface, in.OverSurface);
    TakeQuantity(top, "fouling_factor", g.FoulingFactor, in.FoulingFactor);
    TakeCount(top, "parallel_units", g.ParallelUnits, in.ParallelUnits);
    TakeCount(top, "serial_units", g.SeriellUnits, in.SerialUnits);
    TakeCount(top, "plates", g.NoPlates, in.NoOfPlates);
}

void take_quality(const Section& s, std::string_view key, core::InputDataType& given, core::DutyValue& value) {
    const Entry* e = s.get(key);
    if (!e) return;
    given = GivenNumber(e->number);
    value = core::DutyValue{e->number, true};
}

template <class Input>
void take_refrigerant(const Section& ref, core::InputData& g, Input& in) {
    in.Refrigerant = CreateFluid(ref, "fluid", 0);
    if (!in.Refrigerant->IsTwoPhase())
        ref.fail("fluid", fmt::format("\"{}\" has no saturation data: the refrigerant must be a two-phase fluid "
                                      "(hxq fluids lists them)",
                                      ref.get("fluid")->text));
    // The refrigerant's flow is a mass flow: its density depends on a phase not yet known.
    TakeQuantity(ref, "mass_flow", g.MassFlux[1], in.MassFlow[1]);
    TakeQuantity(ref, "max_pressure_drop", g.MaxPressureDrop[1], in.MaxPressureDrop[1]);
}

}  // namespace

std::vector<KeySpec> CondensingRefrigerantKeys() {
    return {Text("fluid"),
            Quantity("condensing_temp", groups::kTemperature),
            Quantity("inlet_temp", groups::kTemperature),
            Fraction("inlet_quality"),
            Quantity("subcooling", groups::kTemperatureDifference),
            Quantity("outlet_temp", groups::kTemperature),
            Fraction("outlet_quality"),
            Quantity("mass_flow", groups::kFlow),
            Quantity("max_pressure_drop", groups::kPressure)};
}

std::vector<KeySpec> EvaporatingRefrigerantKeys() {
    return {Text("fluid"),
            Quantity("evaporating_temp", groups::kTemperature),
            Fraction("inlet_quality"),
            Quantity("liquid_temp", groups::kTemperature),
            Quantity("superheat", groups::kTemperatureDifference),
            Quantity("outlet_temp", groups::kTemperature),
            Fraction("outlet_quality"),
            Quantity("mass_flow", groups::kFlow),
            Quantity("max_pressure_drop", groups::kPressure)};
}

void CheckCondensingRefrigerant(const Section& ref) {
    Require(ref, "fluid", "the refrigerant, e.g. fluid = \"R134a\"");
    Require(ref, "condensing_temp", "the condensing (dew) temperature, e.g. condensing_temp = \"45 °C\"");
    AtMostOne(ref, {"inlet_temp", "inlet_quality"});
    AtMostOne(ref, {"subcooling", "outlet_temp", "outlet_quality"});
}

void CheckEvaporatingRefrigerant(const Section& ref) {
    Require(ref, "fluid", "the refrigerant, e.g. fluid = \"R134a\"");
    Require(ref, "evaporating_temp", "the evaporating (dew) temperature, e.g. evaporating_temp = \"2 °C\"");
    ExactlyOne(ref, {"inlet_quality", "liquid_temp"},
               "the state entering: inlet_quality = 0.25, or liquid_temp = \"40 °C\" before the expansion valve");
    AtMostOne(ref, {"superheat", "outlet_temp", "outlet_quality"});
}

void ReadCondensingRefrigerant(const Section& ref, core::InputData& g, core::CondenserInput& in) {
    take_refrigerant(ref, g, in);
    TakeQuantity(ref, "condensing_temp", g.CondTemp, in.CondTemp);
    TakeQuantity(ref, "inlet_temp", g.InletTemp[1], in.InletTemp[1]);
    take_quality(ref, "inlet_quality", g.Qin, in.Qin);
    TakeQuantity(ref, "subcooling", g.SubCooling, in.SubCooling);
    take_quality(ref, "outlet_quality", g.Qout, in.Qout);
    if (ref.has("outlet_temp")) {
        core::DutyValue out;
        TakeQuantity(ref, "outlet_temp", g.OutletTemp[1], out);
        const double sc = fluid_value(ref, "outlet_temp", [&] { return SubcoolingAt(*in.Refrigerant, out.Value, in.CondTemp.Value); });
        if (sc < 0)
            ref.fail("outlet_temp", fmt::format("the liquid cannot leave above the bubble point of the condensing "
                                                "pressure, {:.2f} °C; give outlet_quality for a two-phase outlet",
                                                out.Value + sc));
        in.SubCooling = core::DutyValue{sc, true};
    }
}

void ReadEvaporatingRefrigerant(const Section& ref, core::InputData& g, core::EvaporatorInput& in) {
    take_refrigerant(ref, g, in);
    TakeQuantity(ref, "evaporating_temp", g.EvapTemp, in.EvapTemp);
    take_quality(ref, "inlet_quality", g.Qin, in.Qin);
    TakeQuantity(ref, "superheat", g.SuperHeating, in.SuperHeating);
    TakeQuantity(ref, "outlet_temp", g.OutletTemp[1], in.OutletTemp[1]);
    take_quality(ref, "outlet_quality", g.Qout, in.Qout);
    if (ref.has("liquid_temp")) {
        core::DutyValue liquid;
        TakeQuantity(ref, "liquid_temp", g.InletTemp[1], liquid);
        const double x = fluid_value(ref, "liquid_temp", [&] {
            return QualityAfterExpansion(*in.Refrigerant, liquid.Value, in.EvapTemp.Value);
        });
        if (!(x > 0 && x < 1))
            ref.fail("liquid_temp", fmt::format("liquid at {} °C throttled to the evaporating pressure gives vapour "
                                                "quality {:.3f}; it must lie between 0 and 1",
                                                liquid.Value, x));
        in.Qin = core::DutyValue{x, true};
    }
}

const KindLayout& CondenserLayout() {
    static const KindLayout layout{DutyKind::Condenser,
                                   "condenser duties",
                                   common_top(true),
                                   {{"refrigerant", CondensingRefrigerantKeys()},
                                    {"secondary", secondary_keys()}},
                                   &check_condenser};
    return layout;
}

const KindLayout& EvaporatorLayout() {
    static const KindLayout layout{DutyKind::Evaporator,
                                   "evaporator duties",
                                   common_top(false),
                                   {{"refrigerant", EvaporatingRefrigerantKeys()},
                                    {"secondary", secondary_keys()}},
                                   &check_evaporator};
    return layout;
}

// Throttling keeps the enthalpy (steady flow, no work, no heat: Çengel & Boles,
// Thermodynamics: An Engineering Approach, 8th ed., sec. 5-4). The liquid before the
// valve is taken at the enthalpy of saturated liquid of its temperature (compressed
// liquid as saturated liquid at the same temperature, ibid. sec. 3-5; v·Δp is under 1 %
// of the latent heat at these pressures).
double QualityAfterExpansion(const core::FluidObject& refrigerant, double liquid_temp, double evap_temp) {
    const double p = refrigerant.SatPressureDew(evap_temp);
    const double h = refrigerant.RefLiquid(liquid_temp).Enthalpy;
    const double h_bubble = refrigerant.RefLiquid(refrigerant.SatTemperatureBubble(p)).Enthalpy;
    const double h_dew = refrigerant.RefVapor(evap_temp).Enthalpy;
    return (h - h_bubble) / (h_dew - h_bubble);
}

double SubcoolingAt(const core::FluidObject& refrigerant, double outlet_temp, double cond_temp) {
    return refrigerant.SatTemperatureBubble(refrigerant.SatPressureDew(cond_temp)) - outlet_temp;
}

core::CONDataType BuildCONData(const DutyDocument& duty, const ResolvedTarget& target, const std::string& database) {
    core::CONDataType data;
    build_common(duty, target, database, data);
    ReadCondensingRefrigerant(duty.table("refrigerant"), data.GivenValues, data.InData);
    TakeQuantity(duty.top, "heat_recovery", data.GivenValues.HeatRecovery, data.InData.HeatRecovery);
    return data;
}

core::VAPDataType BuildVAPData(const DutyDocument& duty, const ResolvedTarget& target, const std::string& database) {
    core::VAPDataType data;
    build_common(duty, target, database, data);
    ReadEvaporatingRefrigerant(duty.table("refrigerant"), data.GivenValues, data.InData);
    return data;
}

}  // namespace hxq::duty
