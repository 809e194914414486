#include "duty/air_dryer_duty.h"

#include "duty/two_phase_duty.h"
#include "duty/unit_groups.h"
#include "engines/fluid/air.h"
#include "engines/fluid/catalogue.h"
#include "platform/error.h"

#include <fmt/format.h>

namespace hxq::duty {

namespace {

// No limit on the dried air leaving the air-to-air unit unless one is given.
constexpr double kNoMinimumOutletTemp = -273.15;

std::vector<KeySpec> air_keys(bool design) {
    std::vector<KeySpec> keys{Quantity("inlet_temp", groups::kTemperature), Quantity("mass_flow", groups::kFlow),
                              Quantity("operating_pressure", groups::kPressure),
                              Quantity("inlet_humidity", groups::kPercent),
                              Quantity("inlet_dew_point", groups::kTemperature)};
    if (design) {
        keys.push_back(Quantity("pressure_dew_point", groups::kTemperature));
        keys.push_back(Quantity("max_pressure_drop", groups::kPressure));
        keys.push_back(Quantity("min_outlet_temp", groups::kTemperature));
    }
    return keys;
}

std::vector<KeySpec> refrigerant_keys() {
    return {Text("fluid"), Quantity("evaporating_temp", groups::kTemperature),
            Quantity("superheat", groups::kTemperatureDifference), Fraction("inlet_quality"),
            Quantity("liquid_temp", groups::kTemperature)};
}

void check_common(const DutyDocument& d) {
    const Section& air = d.table("air");
    const Section& ref = d.table("refrigerant");
    if (!air.present) throw DutyFileError(d.path, 0, "air", "missing table [air] with the compressed air entering");
    Require(air, "inlet_temp", "the temperature of the air entering, e.g. inlet_temp = \"35 °C\"");
    Require(air, "mass_flow", "the air flow, e.g. mass_flow = \"0.06 kg/s\" or \"180 Nm3/h\"");
    Require(air, "operating_pressure", "the absolute pressure of the air, e.g. operating_pressure = \"8 bar\"");
    AtMostOne(air, {"inlet_humidity", "inlet_dew_point"});
    if (!ref.present)
        throw DutyFileError(d.path, 0, "refrigerant", "missing table [refrigerant] with the refrigerant, e.g. fluid = \"R134a\"");
    Require(ref, "fluid", "the refrigerant, e.g. fluid = \"R134a\"");
    Require(ref, "evaporating_temp", "the evaporating (dew) temperature, e.g. evaporating_temp = \"0 °C\"");
    Require(ref, "superheat", "the superheat of the gas leaving, e.g. superheat = \"5 K\"");
    ExactlyOne(ref, {"inlet_quality", "liquid_temp"},
               "the state entering: inlet_quality = 0.25, or liquid_temp = \"40 °C\" before the expansion valve");
}

void check_design(const DutyDocument& d) {
    check_common(d);
    const Section& air = d.table("air");
    Require(air, "pressure_dew_point", "the pressure dew point wanted, e.g. pressure_dew_point = \"3 °C\"");
    Require(air, "max_pressure_drop", "the air's pressure-drop limit through both units, e.g. \"20 kPa\"");
}

void check_rating(const DutyDocument& d) {
    check_common(d);
    const Entry* air = d.top.get("air_plates");
    const Entry* ref = d.top.get("evaporator_plates");
    if (!air != !ref) d.top.fail(air ? "evaporator_plates" : "air_plates", "give the plates of both units, or of neither");
    for (const Entry* e : {air, ref})
        if (e && e->count % 2 != 0) d.top.fail(e->place, "expected an even number of plates");
}

// Water content (g per kg of dry air) of the air entering: relative humidity or dew point
// at the operating pressure; saturated when neither is given, as compressed air leaves
// its aftercooler.
double inlet_water_content(const Section& air, double p, double t_in) {
    try {
        if (air.has("inlet_dew_point")) {
            const double t_dew = SiValue(air, "inlet_dew_point");
            if (t_dew > t_in) air.fail("inlet_dew_point", "the dew point of the air entering lies above its temperature");
            return 1000 * engines::fluid::humidity_ratio(p, t_dew, 1.0);
        }
        const double rh = air.has("inlet_humidity") ? SiValue(air, "inlet_humidity") / 100 : 1.0;
        if (!(rh > 0 && rh <= 1)) air.fail("inlet_humidity", "expected a relative humidity above 0 and up to 100 %");
        return 1000 * engines::fluid::humidity_ratio(p, t_in, rh);
    } catch (const platform::Error& e) {
        air.fail(air.has("inlet_dew_point") ? "inlet_dew_point" : "inlet_humidity", e.description());
    }
}

core::FluidRef humid_air(const Section& air, double water_content, double p) {
    try {
        core::FluidRef f = engines::fluid::create_fluid("Humid air", water_content);
        f->SetYPressure(p);
        return f;
    } catch (const platform::Error& e) {
        air.fail("operating_pressure", e.description());
    }
}

}  // namespace

const KindLayout& AirDryerDesignLayout() {
    static const KindLayout layout{DutyKind::AirDryerDesign,
                                   "air-dryer designs",
                                   {Text("mode", {"design", "rating"}), Table("air"), Table("refrigerant")},
                                   {{"air", air_keys(true)}, {"refrigerant", refrigerant_keys()}},
                                   &check_design};
    return layout;
}

const KindLayout& AirDryerRatingLayout() {
    static const KindLayout layout{DutyKind::AirDryerRating,
                                   "air-dryer ratings (mode = \"rating\")",
                                   {Text("mode", {"design", "rating"}), Count("air_plates", 6),
                                    Count("evaporator_plates", 6), Table("air"), Table("refrigerant")},
                                   {{"air", air_keys(false)}, {"refrigerant", refrigerant_keys()}},
                                   &check_rating};
    return layout;
}

batch::ADDataType BuildADData(const DutyDocument& duty, const ResolvedTarget& target) {
    batch::ADDataType data;
    batch::ADInputType& in = data.ADInData;
    in.XerIndex = target.node;
    in.Xer = target.alias;
    in.IsGroup = target.is_group;
    in.XerTag = target.tag;
    batch::ADFormIndataType& f = in.ADFormIndata;
    const bool design = duty.kind == DutyKind::AirDryerDesign;
    f.CalcMethod = design ? 0.0f : 1.0f;
    const Section& air = duty.table("air");
    const Section& ref = duty.table("refrigerant");

    const double p = SiValue(air, "operating_pressure");
    const double t_in = SiValue(air, "inlet_temp");
    const double t_evap = SiValue(ref, "evaporating_temp");
    f.AirOperatingPressure = static_cast<float>(p);
    f.AirInletTemp = static_cast<float>(t_in);
    f.RefEvapTemp = static_cast<float>(t_evap);
    f.RefSuperHeat = static_cast<float>(SiValue(ref, "superheat"));
    f.AirMinOutletTemp = static_cast<float>(kNoMinimumOutletTemp);

    in.RefIndata.RefFluid = CreateFluid(ref, "fluid", 0);
    f.RefFluid = ref.get("fluid")->text;
    if (!in.RefIndata.RefFluid->IsTwoPhase())
        ref.fail("fluid", fmt::format("\"{}\" has no saturation data: the refrigerant must be a two-phase fluid",
                                      f.RefFluid));
    if (const Entry* q = ref.get("inlet_quality")) {
        f.RefVaporQualityInlet = static_cast<float>(q->number);
    } else {
        const double t_liquid = SiValue(ref, "liquid_temp");
        double x = 0;
        try {
            x = QualityAfterExpansion(*in.RefIndata.RefFluid, t_liquid, t_evap);
        } catch (const platform::Error& e) {
            ref.fail("liquid_temp", e.description());
        }
        if (!(x > 0 && x < 1))
            ref.fail("liquid_temp", fmt::format("liquid at {} °C throttled to the evaporating pressure gives vapour "
                                                "quality {:.3f}; it must lie between 0 and 1",
                                                t_liquid, x));
        f.RefVaporQualityInlet = static_cast<float>(x);
    }

    const double w_in = inlet_water_content(air, p, t_in);
    core::FluidRef wet = humid_air(air, w_in, p);
    // The air flow: a volume flow is the air at its inlet temperature and pressure, a
    // normal volume (Nm³/h) at 20 °C and 1 bar, as compressor deliveries are quoted.
    f.AirMassFlow = static_cast<float>(SiValue(air, "mass_flow", wet.get(), t_in));

    double dried_at = t_evap;
    if (design) {
        const Entry& pdp = Require(air, "pressure_dew_point", "pressure_dew_point");
        const GivenQuantity wanted = ConvertQuantity(air, pdp);
        const double t_dew_in = engines::fluid::dew_point(p, w_in / 1000);
        if (wanted.value.Value >= t_dew_in)
            air.fail(pdp.place, fmt::format("the air enters with a pressure dew point of {:.1f} °C already", t_dew_in));
        if (wanted.value.Value <= t_evap)
            air.fail(pdp.place, "the pressure dew point must lie above refrigerant.evaporating_temp");
        f.DewTemp = static_cast<float>(wanted.value.Value);
        f.DewTempUnitID = wanted.given.iUnitID;
        f.AirMaxPressureDrop = static_cast<float>(SiValue(air, "max_pressure_drop"));
        if (air.has("min_outlet_temp")) f.AirMinOutletTemp = static_cast<float>(SiValue(air, "min_outlet_temp"));
        dried_at = wanted.value.Value;
    } else {
        if (const Entry* e = duty.top.get("air_plates")) f.AirNoOfPlates = e->count;
        if (const Entry* e = duty.top.get("evaporator_plates")) f.RefNoOfPlates = e->count;
    }
    // The dried air returning through the air-to-air unit holds the water of saturation
    // at its dew temperature; a rating finds that temperature, so it takes the coldest
    // the evaporator can reach (the unit rates the air sensibly, where the difference
    // moves its properties by well under 1 %).
    const double w_dried = 1000 * engines::fluid::humidity_ratio(p, dried_at, 1.0);
    core::FluidRef dried = humid_air(air, std::min(w_dried, w_in), p);
    in.AirIndata.InData.Fluid[1] = dried;
    in.AirIndata.InData.Fluid[2] = wet;
    in.RefIndata.AirFluid = wet;
    return data;
}

}  // namespace hxq::duty
