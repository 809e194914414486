// Condenser and evaporator duty files: the engine input they build (SI values, the
// refrigerant's states from the temperatures a user knows), the nodes of every kind, and
// the mistakes each kind refuses with the key and the line.
#include "duty_fixture.h"

#include "duty/duty_target.h"
#include "platform/db.h"

#include <fmt/format.h>

#include <string>

namespace hxq::duty {
namespace {

const std::string kCondenser = R"(duty = "condenser"
group = "Condensers"
heat_load = "50 kW"

[refrigerant]
fluid = "R134a"
condensing_temp = "45 °C"
inlet_temp = "75 °C"
subcooling = "2 K"

[secondary]
fluid = "water"
inlet_temp = "30 °C"
outlet_temp = "35 °C"
max_pressure_drop = "0.5 bar"
)";

const std::string kEvaporator = R"(duty = "evaporator"
group = "Evaporators"
heat_load = "40 kW"

[refrigerant]
fluid = "R410A"
evaporating_temp = "2 °C"
inlet_quality = 0.25
superheat = "9 Δ°F"

[secondary]
fluid = "MEG"
concentration = 30
inlet_temp = "12 °C"
mass_flow = "7.2 m3/h"
)";

TEST_F(DutyFiles, CondenserInputIsSIWithTheGivenTextsKept) {
    const core::CONDataType data = BuildCONData(parse(kCondenser), target(22, true), "products.db");
    const core::CondenserInput& in = data.InData;
    EXPECT_EQ(in.CalcMode, "D");
    EXPECT_EQ(in.Refrigerant->YFluidName(), "R134a");
    EXPECT_EQ(in.InletTemp[1], (core::DutyValue{75, true}));
    EXPECT_EQ(in.SubCooling, (core::DutyValue{2, true}));  // "K" of a difference is ΔK
    EXPECT_FALSE(in.MassFlow[1].Given || in.MassFlow[2].Given || in.Qin.Given || in.Qout.Given);
    EXPECT_EQ(data.GivenValues.SubCooling.sUnit, "ΔK");

    // The liquid's outlet temperature is the subcooling below the bubble point of the
    // condensing pressure: the dew point itself for R134a, 4-5 K lower for R407C (glide).
    struct Case {
        const char* fluid;
        double outlet, subcooling_min, subcooling_max;
    };
    for (const Case& c : {Case{"R134a", 42, 3 - 1e-3, 3 + 1e-3}, Case{"R407C", 38, 2, 3.5}}) {
        SCOPED_TRACE(c.fluid);
        std::string text = with(kCondenser, "fluid", fmt::format("fluid = \"{}\"", c.fluid));
        text = with(text, "subcooling", fmt::format("outlet_temp = \"{} °C\"", c.outlet));
        const core::CONDataType d = BuildCONData(parse(text), ResolvedTarget{}, "products.db");
        EXPECT_GT(d.InData.SubCooling.Value, c.subcooling_min);
        EXPECT_LT(d.InData.SubCooling.Value, c.subcooling_max);
        EXPECT_EQ(d.GivenValues.OutletTemp[1].sValue, fmt::format("{}", c.outlet));
    }
    // US units and a quality entering.
    std::string us = with(kCondenser, "condensing_temp", "condensing_temp = \"113 degF\"");
    us = with(us, "inlet_temp", "inlet_quality = 0.9");
    us = with(us, "subcooling", "subcooling = [3.6, \"degF\"]");
    const core::CONDataType u = BuildCONData(parse(us), ResolvedTarget{}, "products.db");
    EXPECT_NEAR(u.InData.CondTemp.Value, 45, 1e-4);
    EXPECT_NEAR(u.InData.SubCooling.Value, 2, 1e-5);
    EXPECT_EQ(u.InData.Qin, (core::DutyValue{0.9, true}));
}

TEST_F(DutyFiles, EvaporatorInputTakesTheLiquidBeforeTheValve) {
    const core::VAPDataType data = BuildVAPData(parse(kEvaporator), ResolvedTarget{}, "products.db");
    const core::EvaporatorInput& in = data.InData;
    EXPECT_EQ(in.Qin, (core::DutyValue{0.25, true}));
    EXPECT_NEAR(in.SuperHeating.Value, 5, 1e-5);
    // 7.2 m³/h of the glycol at its 12 °C inlet.
    EXPECT_NEAR(in.MassFlow[2].Value, 2e-3 * in.Fluid->YDensity(12), 1e-6);

    // R134a liquid at 40 °C throttled to 0 °C: x = (h'(40) - h'(0)) / r(0) = (256.4 - 200.0)
    // / 198.6 = 0.284 (NIST REFPROP 10 / ASHRAE Handbook Fundamentals 2017 ch. 30, IIR
    // reference state).
    std::string text = with(kEvaporator, "fluid", "fluid = \"R134a\"");
    text = with(text, "evaporating_temp", "evaporating_temp = \"0 °C\"");
    text = with(text, "inlet_quality", "liquid_temp = \"40 °C\"");
    text = with(text, "superheat", "outlet_temp = \"6 °C\"");
    text = with(text, "heat_load", "heat_load = \"40 kW\"\ndual = true");
    const core::VAPDataType d = BuildVAPData(parse(text), ResolvedTarget{}, "products.db");
    EXPECT_NEAR(d.InData.Qin.Value, 0.284, 0.003);
    EXPECT_EQ(d.GivenValues.InletTemp[1].sValue, "40");
    EXPECT_EQ(d.InData.OutletTemp[1], (core::DutyValue{6, true}));
    EXPECT_TRUE(d.GivenValues.IsDualCalc);
}

TEST_F(DutyFiles, EveryKindFindsItsOwnNodes) {
    platform::Database product = platform::OpenDatabase(kSample + "/products.db", true);
    // Only the keys the look-up reads: the kind's checks come first otherwise.
    const auto document = [](DutyKind kind, const std::string& target) {
        DutyDocument d;
        d.path = "duty.toml";
        d.kind = kind;
        const auto quote = target.find('"');
        d.target = target[0] == 'g' ? TargetKind::Group : target[0] == 'm' ? TargetKind::Model : TargetKind::Node;
        if (quote != std::string::npos) d.target_name = target.substr(quote + 1, target.size() - quote - 2);
        else d.target_node = static_cast<std::int16_t>(std::stoi(target.substr(target.find('=') + 1)));
        return d;
    };
    const auto resolve = [&](DutyKind kind, const std::string& target, const char* level) {
        return ResolveTarget(document(kind, target), product, "products.db", level);
    };
    struct Case {
        DutyKind kind;
        std::string target;
        int node;
        bool group, dual;
    };
    for (const Case& c : {
             Case{DutyKind::SinglePhase, "group = \"large single-phase units\"", 13, true, false},
             Case{DutyKind::SinglePhase, "model = \"Q22 H\"", 109, false, false},
             // A family folder is not a group: nothing lists it, so it is rated as one subtree.
             Case{DutyKind::SinglePhase, "model = \"Q32\"", 115, false, false},
             Case{DutyKind::SinglePhase, "node = 12", 12, true, false},
             Case{DutyKind::Condenser, "group = \"condensers\"", 22, true, false},
             Case{DutyKind::Evaporator, "model = \"Q45D H\"", 248, false, true},
             Case{DutyKind::AirDryerDesign, "model = \"AD 600\"", 281, false, false},
             Case{DutyKind::TwoStage, "group = \"Two-stage units\"", 42, true, false},
             Case{DutyKind::Cascade, "group = \"Cascade units\"", 35, true, false},
         }) {
        SCOPED_TRACE(c.target);
        const ResolvedTarget t = resolve(c.kind, c.target, "A");
        EXPECT_EQ(t.node, c.node);
        EXPECT_EQ(t.is_group, c.group);
        EXPECT_EQ(t.dual, c.dual);
    }
    const auto sp = DutyKind::SinglePhase;
    EXPECT_EQ(resolve(sp, "group = \"large single-phase units\"", "A").tag.substr(0, 29), "Large single-phase units%13%1");
    // A family folder named as a group; a model hidden from user level C.
    const std::string family = error_of("", [&] { resolve(sp, "group = \"Q22\"", "A"); }).message();
    EXPECT_NE(family.find("\"Q22\" is not a group"), std::string::npos) << family;
    const std::string hidden = error_of("", [&] { resolve(sp, "model = \"Q22 HM\"", "C"); }).message();
    EXPECT_NE(hidden.find("model \"Q22 HM\" in products.db for user level \"C\""), std::string::npos) << hidden;
    // A condenser duty does not see the single-phase range.
    const DutyFileError e = error_of("", [&] {
        ResolveTarget(parse(with(kCondenser, "group", "group = \"Large single-phase units\"")), product, "p.db", "A");
    });
    EXPECT_EQ(e.key(), "group");
    EXPECT_EQ(e.line(), 2);
    EXPECT_NE(e.message().find("no condenser group \"Large single-phase units\""), std::string::npos) << e.message();
    EXPECT_NE(e.message().find("hxq models --duty C"), std::string::npos) << e.message();
}

TEST_F(DutyFiles, CondenserAndEvaporatorMistakesNameTheKeyAndTheLine) {
    const std::string c = kCondenser, e = kEvaporator;
    expect_mistakes(
        {
            {with(c, "subcooling", "subcooling = \"2 K\"\noutlet_temp = \"43 °C\""), 10, "refrigerant.outlet_temp",
             "give one of subcooling, outlet_temp and outlet_quality"},
            {with(c, "subcooling", "superheat = \"2 K\""), 9, "refrigerant.superheat", "a key of evaporator duties"},
            {with(c, "subcooling", "subcooling = \"2 kPa\""), 9, "refrigerant.subcooling",
             "this value needs one of Temperature difference"},
            {with(c, "inlet_temp", "inlet_quality = 1.5"), 8, "refrigerant.inlet_quality", "from 0 to 1"},
            {with(c, "inlet_temp", "inlet_quality = \"90 %\""), 8, "refrigerant.inlet_quality", "plain number"},
            {with(with(c, "heat_load", ""), "subcooling", "mass_flow = \"1 m3/h\""), 8, "refrigerant.mass_flow",
             "mass unit"},
            {with(c, "fluid", "fluid = \"water\""), 6, "refrigerant.fluid", "no saturation data"},
            {with(c, "subcooling", "outlet_temp = \"47 °C\""), 9, "refrigerant.outlet_temp", "bubble point"},
            {with(c, "heat_load", "heat_load = \"50 kW\"\nplates = 40"), 4, "plates", "a design finds the plates"},
            {with(c, "heat_load", "heat_load = \"50 kW\"\nmode = \"check\""), 4, "mode", "use \"design\" or \"performance\""},
            {with(c, "heat_load", "mode = \"performance\""), 0, "plates", "missing: the plates"},
            {c.substr(0, c.find("[secondary]")), 0, "secondary", "missing table [secondary]"},
            // Evaporators: liquid at the bubble point of the evaporating pressure does not flash.
            {with(e, "inlet_quality", "liquid_temp = \"0 °C\""), 8, "refrigerant.liquid_temp", "between 0 and 1"},
            {with(with(e, "fluid = \"MEG\"", "fluid = \"R134a\""), "concentration", ""), 12, "secondary.fluid",
             "is a refrigerant"},
            {with(e, "heat_load", "heat_load = \"40 kW\"\ndual = \"yes\""), 4, "dual", "true or false"},
        });
}

}  // namespace
}  // namespace hxq::duty
