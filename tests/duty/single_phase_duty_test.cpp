// Duty files: the two value forms, SI conversion with the units database, the model or
// group look-up, and messages that name the line and the key of a mistake; and the
// channel texts of the designation printed for an alternative.
#include "duty_file.h"
#include "result_table.h"

#include "platform/db.h"
#include "settings/convert.h"
#include "settings/unit_tables.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>

namespace hxq::app {
namespace {

const std::string kSample = HXQ_SAMPLE_DIR;

class DutyFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        settings::convert_context().convert_db = [] { return kSample + "/units.db"; };
        settings::convert_context().unit_system = [] { return settings::kUnitSystemSI; };
        settings::ResetSharedConverter();
        ASSERT_TRUE(settings::SharedConverter().IsOpen());
    }

    // The error that `read` throws; by default parsing `text` and building the record.
    static DutyFileError error_of(const std::string& text, const std::function<void()>& read = {}) {
        try {
            if (read) read();
            else BuildSPCData(ParseDutyText(text, "duty.toml"), ResolvedTarget{}, "products.db");
        } catch (const DutyFileError& e) {
            return e;
        }
        ADD_FAILURE() << "no error for:\n" << text;
        return DutyFileError("", 0, "", "");
    }
};

const char* kSides = R"(
[side1]
fluid = "water"
inlet_temp = "90 °C"
outlet_temp = ["60", "°C"]
max_pressure_drop = "0.5 bar"

[side2]
fluid = "ethylene glycol"
concentration = 30
inlet_temp = [10, "degC"]
mass_flow = "3.6 m3/h"
)";

TEST_F(DutyFiles, BothValueFormsAreConvertedToSIWithTheirTextsKept) {
    const DutyFile d = ParseDutyText(std::string("group = \"Large\"\nheat_load = \"50 kW\"\nover_surface = \"10 %\"\n"
                                                 "fouling_factor = \"0.02 m2,C/kW\"\nmaterial = 1\ndual = true\n") +
                                         kSides,
                                     "duty.toml");
    EXPECT_EQ(d.target, TargetKind::Group);
    ResolvedTarget t;
    t.node = 13;
    t.is_group = true;
    const core::SPCDataType data = BuildSPCData(d, t, "products.db");
    const core::SinglePhaseInput& in = data.InData;
    EXPECT_EQ(in.HeatLoad, (core::DutyValue{50e3, true}));
    EXPECT_EQ(in.InletTemp[1], (core::DutyValue{90, true}));
    EXPECT_EQ(in.OutletTemp[1], (core::DutyValue{60, true}));
    // The converter works in single precision.
    EXPECT_DOUBLE_EQ(in.MaxPressureDrop[1].Value, 50e3);
    EXPECT_NEAR(in.FoulingFactor.Value, 2e-5, 2e-5 * 1e-6);
    EXPECT_DOUBLE_EQ(in.OverSurface.Value, 10);
    EXPECT_FALSE(in.OutletTemp[2].Given);
    // 3.6 m³/h of the glycol at its 10 °C inlet: 1e-3 m³/s times its density.
    const double rho = in.Fluid[2]->YDensity(10);
    EXPECT_NEAR(in.MassFlow[2].Value, 1e-3 * rho, 1e-3 * rho * 1e-6);
    EXPECT_GT(rho, 1000);
    EXPECT_EQ(in.Fluid[2]->YConc(), 30);

    const core::InputData& g = data.GivenValues;
    EXPECT_EQ(g.InletTemp[2].sValue, "10");
    EXPECT_EQ(g.InletTemp[2].sUnit, "°C");
    EXPECT_EQ(g.MassFlux[2].sUnit, "m³/h");
    EXPECT_EQ(g.FoulingFactor.sUnit, "m²,°C/kW");
    EXPECT_TRUE(g.IsXerGroup);
    EXPECT_EQ(g.XerID, 13);
    EXPECT_TRUE(g.IsDualCalc);
    EXPECT_EQ(g.Material, 1);
}

TEST_F(DutyFiles, MistakesNameTheLineAndTheKey) {
    struct Case {
        std::string text;
        int line;
        std::string key;
        std::string says;
    };
    const std::string model = "model = \"Q22 H\"\n";
    const Case cases[] = {
        {model + "heat_lod = \"5 kW\"\n" + kSides, 2, "heat_lod", "unknown key"},
        {model + "heat_load = 5\n" + kSides, 2, "heat_load", "needs its unit"},
        {model + "heat_load = \"5\"\n" + kSides, 2, "heat_load", "has no unit"},
        {model + "heat_load = \"five kW\"\n" + kSides, 2, "heat_load", "not a number"},
        {model + "heat_load = \"5 kPa\"\n" + kSides, 2, "heat_load", "Heat load"},
        {model + "heat_load = \"5 kWh\"\n" + kSides, 2, "heat_load", "unknown unit"},
        {model + "plates = 2.5\n" + kSides, 2, "plates", "whole number"},
        {model + "duty = \"condenser\"\n" + kSides, 2, "duty", "not supported yet"},
        {model + "mode = \"fast\"\n" + kSides, 2, "mode", "unknown mode"},
        {model + "group = \"G\"\n" + kSides, 2, "group", "one of group, model and node"},
        {model + "[side1]\nfluid = \"water\"\ninlet = \"5 °C\"\n", 4, "side1.inlet", "unknown key"},
        {model + "heat_load = \"5 kW\n" + kSides, 2, "heat_load", ""},
        {model + std::string(kSides) + "[filter]\nconnections = [\"C1\"]\n", 15, "filter.connections", "warehouse"},
        {model + "[side1]\nfluid = \"watr\"\n[side2]\nfluid = \"water\"\n", 3, "side1.fluid", "unknown fluid"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const DutyFileError e = error_of(c.text);
        EXPECT_EQ(e.line(), c.line);
        EXPECT_EQ(e.key(), c.key);
        EXPECT_NE(e.message().find(c.says), std::string::npos) << e.message();
        EXPECT_EQ(std::string(e.what()).rfind("duty.toml:" + std::to_string(c.line) + ": " + c.key + ": ", 0), 0u)
            << e.what();
    }
    const DutyFileError missing = error_of("model = \"Q22 H\"\n[side1]\nfluid = \"water\"\n");
    EXPECT_EQ(missing.key(), "side2");
}

TEST_F(DutyFiles, GroupsModelsAndNodesAreFoundInTheModelTree) {
    platform::Database product = platform::OpenDatabase(kSample + "/products.db", true);
    auto resolve = [&](const std::string& target, const std::string& level = "A") {
        return ResolveTarget(ParseDutyText(target + "\n" + kSides, "duty.toml"), product, "products.db", level);
    };
    const ResolvedTarget group = resolve("group = \"large single-phase units\"");
    EXPECT_EQ(group.node, 13);
    EXPECT_TRUE(group.is_group);
    EXPECT_EQ(group.tag.substr(0, 29), "Large single-phase units%13%1");
    const ResolvedTarget model = resolve("model = \"Q22 H\"");
    EXPECT_EQ(model.node, 109);
    EXPECT_FALSE(model.is_group);
    // A family folder is not a group: nothing lists it, so it is rated as one subtree.
    EXPECT_FALSE(resolve("model = \"Q32\"").is_group);
    EXPECT_TRUE(resolve("node = 12").is_group);
    EXPECT_FALSE(resolve("node = 115").is_group);  // a member of three groups, itself none
    const DutyFileError family = error_of("group = Q22", [&] { resolve("group = \"Q22\""); });
    EXPECT_EQ(family.key(), "group");
    EXPECT_NE(family.message().find("not a group"), std::string::npos);
    const DutyFileError hidden = error_of("model = Q22 HM", [&] { resolve("model = \"Q22 HM\"", "C"); });
    EXPECT_EQ(hidden.line(), 1);  // hidden from user level C
    EXPECT_EQ(hidden.key(), "model");
}

// The channel texts of the printed designation: counts of one pass per channel type.
TEST(ChannelText, CountsOfOnePassAddUpToThePassesChannels) {
    struct Case {
        const char* chantype;
        int passes;
        std::array<int, 4> channels;  // left and right type of side 1, then of side 2
        int side;
        const char* text;
        const char* designation;
    };
    for (const Case& c : {
             // 53 plates in two passes: 26 channels a side, 13 of each type, 13 per pass.
             Case{"HM", 2, {13, 13, 13, 13}, 1, "2*(7H+6M)", "Q22x53 (7H+6M, 7H+6M)/2P"},
             Case{"HM", 2, {10, 10, 10, 10}, 2, "2*(5H+5M)", "Q22x41 (5H+5M, 5H+5M)/2P"},
             // One pass: the unit's counts as they are, the odd channel on side 2.
             Case{"H", 1, {14, 0, 15, 0}, 1, "14H", "Q22x30H/1P"},
             Case{"H", 1, {14, 0, 15, 0}, 2, "15H", "Q22x30H/1P"},
             Case{"L", 3, {18, 0, 18, 0}, 1, "3*(6L)", "Q22x37L/3P"},
         }) {
        core::OutDataType a;
        a.XerAlias = "Q22";
        a.Chantype = c.chantype;
        core::SinglePhaseResult& r = a.OutputData;
        r.NoOfPasses = static_cast<std::int16_t>(c.passes);
        for (int s = 1; s <= 2; ++s) {
            const auto left = static_cast<std::size_t>(2 * (s - 1));
            r.Passes[s] = static_cast<std::int16_t>(c.passes);
            r.Channelout[s][1] = static_cast<std::int16_t>(c.channels[left]);
            r.Channelout[s][2] = static_cast<std::int16_t>(c.channels[left + 1]);
            r.NoOfChannels[s] = static_cast<std::int16_t>(c.channels[left] + c.channels[left + 1]);
        }
        r.NoOfPlates = static_cast<std::int16_t>(r.NoOfChannels[1] + r.NoOfChannels[2] + 1);
        EXPECT_EQ(ChannelText(a, c.side), c.text) << c.designation;
        EXPECT_EQ(Designation(a, false), c.designation);
    }
}

}  // namespace
}  // namespace hxq::app
