// The hxq commands as the user runs them: the built program in a child process, in a
// scratch folder of the test, finding the sample installation by itself. errors (code 6
// chosen by the CalcType of the settings unless overridden), fluids and fluid (the
// catalogue and property values), convert (with the built units database), models and
// select; and what each says when it cannot do what was asked.
#include "program_fixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace hxq::test {
namespace {

using ProgramOutcome = ProcessOutcome;

// The program fixture with the installation settings the command tests give it.
class Commands : public HxqProgram {
protected:
    // HXQ_REGISTRY set to a store of these installation settings ("Name=value" lines).
    std::string registry(const std::string& name, const std::string& settings) const {
        return "HXQ_REGISTRY=" +
               write(name, "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Qarn\\HXQ\\Settings]\r\n" + settings).string();
    }

    // Settings of a condensing installation (CalcType 1).
    std::string condensing() const { return write("condensing.ini", "[Action]\r\nCalcType=1\r\n").string(); }
};

const std::string kPlatesText =
    "Error number: 6 : You have specified an incorrect number of plates.\r\n"
    "If you have more than one pass, number of plates - 1 must be even dividable by number of passes.\r\n"
    "Otherwise number of plates must be an even number.\n";
const std::string kCondensationText = "Error number: 6 : No condensation, use Single Phase instead.\n";
const std::string kUnitsDb = std::string(HXQ_SAMPLE_DIR) + "/units.db";

using InfoCommands = Commands;

TEST_F(InfoCommands, PrintExactlyTheirTexts) {
    const std::string other = write("other.ini", "[Action]\r\nCalcType=2\r\n").string();
    const std::string units = registry("units.ini", "ConvertDB=" + kUnitsDb + "\r\n");
    const std::string moved = registry("moved.ini", "ConvertDB=" + (dir_ / "moved.db").string() + "\r\n");
    struct Printed {
        std::vector<std::string> args;
        std::string out;
        std::vector<std::string> env = {};
    };
    for (const Printed& c : std::vector<Printed>{
             {{"errors", "15"}, "Error number: 15 : No solution found !\n"},
             {{"errors", "666"}, "Error number: 666 : \n"},  // a code without a text
             // The sample installation sets no CalcType: the default 0, single phase.
             {{"errors", "6"}, kPlatesText},
             {{"errors", "6", "--ini", condensing()}, kCondensationText},
             {{"errors", "6", "--ini", other}, "Error number: 6 : \n"},
             // The option wins over the setting.
             {{"errors", "6", "--ini", condensing(), "--calc-type", "0"}, kPlatesText},
             {{"errors", "6", "--calc-type", "1"}, kCondensationText},
             // Units by label, without case, by UnitID (bar to kPa), and the spellings duty
             // files accept ("C" for "°C" between "," and "/"); either decimal separator.
             {{"convert", "1,5", "kW", "W"}, "1500 W\n"},
             {{"convert", "1.5", "KW", "w"}, "1500 W\n"},
             {{"convert", "2", "25", "23"}, "200 kPa\n"},
             {{"convert", "0.1", "m2,C/kW", "m2,C/W"}, "0.0001 m²,°C/W\n"},
             {{"convert", "1", "Btu/lb,F", "kJ/kg,C"}, "4.1868 kJ/kg,°C\n"},
             {{"convert", "3600", "m3/h", "m^3/s", "--fluid", "Water", "--temp", "20"}, "1 m³/s\n"},
             {{"convert", "0.005", "kW", "W", "--display"}, "5.00 W\n"},
             // The units database is the setting ConvertDB of the registry store, unless
             // --units-db is given.
             {{"convert", "2", "bar", "kPa"}, "200 kPa\n", {units}},
             {{"convert", "2", "bar", "kPa", "--units-db", kUnitsDb}, "200 kPa\n", {moved}},
         }) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + c.args.back());
        const ProgramOutcome r = hxq(c.args, c.env);
        EXPECT_EQ(r.exit_code, 0) << r.err;
        EXPECT_EQ(r.out, c.out);
    }
    const ProgramOutcome version = hxq({"--version"});
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_EQ(version.out.rfind("hxq ", 0), 0u) << version.out;
}

TEST_F(InfoCommands, ConvertNegativeValuesAndVolumeFlowsThroughAFluid) {
    const double normal_air = 100 * 100000.0 / (287.05 * 293.15);
    struct Value {
        std::vector<std::string> args;
        std::string unit;
        double value, tolerance;
    };
    for (const Value& c : std::vector<Value>{
             // Negative values are values, not options.
             {{"-40", "degF", "°C"}, "°C", -40.0, 1e-5},
             // Water at 20 °C: 998.21 kg/m³ (IAPWS-95).
             {{"1", "m3/h", "kg/s", "--fluid", "Water", "--temp", "20"}, "kg/s", 998.21 / 3600.0, 2e-6},
             // The sample's stored user fluid, a 30 % glycol solution: about 1040 kg/m³ at
             // 20 °C like the ethylene glycol it was fitted to.
             {{"3.6", "m3/h", "kg/s", "--fluid", "Glycol 30 % sample", "--temp", "20"}, "kg/s", 1.040, 0.015},
             // A normal volume takes the density at 20 °C and 100000 Pa whatever the pressure.
             {{"100", "Nm3/h", "kg/h", "--fluid", "Air"}, "kg/h", normal_air, 0.2},
             {{"100", "Nm3/h", "kg/h", "--fluid", "Air", "--pressure", "500000"}, "kg/h", normal_air, 0.2},
         }) {
        std::vector<std::string> args{"convert"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ProgramOutcome r = hxq(args);
        SCOPED_TRACE(r.out);
        EXPECT_EQ(r.exit_code, 0) << r.err;
        EXPECT_EQ(r.err, "");
        const std::string suffix = " " + c.unit + "\n";
        ASSERT_GT(r.out.size(), suffix.size());
        EXPECT_EQ(r.out.substr(r.out.size() - suffix.size()), suffix);
        EXPECT_NEAR(std::strtod(r.out.c_str(), nullptr), c.value, c.tolerance);
    }
}

TEST_F(InfoCommands, RefuseWhatTheyCannotDoWithTheReason) {
    const std::string no_fluids = registry("nofluids.ini", "ConvertDB=" + kUnitsDb + "\r\nDBFluid2000=" +
                                                               (dir_ / "nofluids.db").string() + "\r\n");
    const std::string moved = registry("moved.ini", "ConvertDB=" + (dir_ / "moved.db").string() + "\r\n");
    const std::vector<std::string> r134a_flow{"convert", "1", "m3/h", "kg/s", "--fluid", "R134a", "--temp", "20"};
    const auto missing = dir_ / "missing.db";
    for (const Refusal& c : std::vector<Refusal>{
             {{"errors", "6", "--ini", (dir_ / "none.ini").string()}, 1, "none.ini' does not exist"},
             {{"convert", "1", "furlong", "m"}, 1, "unknown unit 'furlong'; nearest: "},
             {{"convert", "1", "kW", "bar"}, 1, "kW (Heat load) and bar (Pressure) measure different quantities"},
             {{"convert", "one", "kW", "W"}, 1, "'one' is not a number"},
             {{"convert", "1", "kW"}, 2, "give VALUE FROM_UNIT TO_UNIT"},
             {{"convert", "1e38", "MW", "W"}, 1, "1e38 MW in W is beyond the range of the conversion"},
             {{"convert", "1", "m3/h", "kg/s"}, 1, "needs the density of a fluid: give --fluid NAME"},
             {{"convert", "1", "m3/h", "kg/s", "--fluid", "Water"}, 1, "needs the fluid's temperature: give --temp T"},
             // Refrigerants come from the fluid database of the setting DBFluid2000.
             {r134a_flow, 1, "nofluids.db", {no_fluids}},
             {{"convert", "2", "bar", "kPa"}, 1, "moved.db", {moved}},
             {{"convert", "1", "kW", "W", "--units-db", missing.string()}, 1,
              "cannot open the units database (give its path with --units-db):\n"},
             {{"convert", "1", "kW", "W", "--units-db", missing.string()}, 1, missing.string()},
             {{"fluid", "Watr", "--temp", "20"}, 1, "hxq: Unknown fluid \"Watr\"; nearest names: Water"},
             {{"fluid", "Water", "--temp", "400"}, 1, "hxq: Water: temperature 400 °C outside"},
             {{"fluid", "MEG", "--conc", "40", "--temp", "-30"}, 1, "Ethylene glycol: temperature -30 °C outside"},
             {{"fluid", "MEG", "--conc", "70", "--temp", "20"}, 1, "hxq: Ethylene glycol: concentration 70 % outside"},
             {{"fluid", "R134a", "--temp", "120", "--sat"}, 1, "hxq: R134a: bubble pressure at 120 °C outside"},
             {{"fluid", "R134a", "--temp", "100", "--pressure", "100000"}, 1, "hxq: R134a: no vapour data at 100000 Pa"},
         })
        expect_refused(c);
    EXPECT_EQ(hxq(r134a_flow).exit_code, 0);  // with the sample's database
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(InfoCommands, ListingsHoldTheirEntriesAndNoOthers) {
    struct Listing {
        std::vector<std::string> args;
        std::vector<std::string> holds, lacks;
    };
    for (const Listing& c : std::vector<Listing>{
             // Code 12 has no text and is left out; so is code 6 for other calculation types.
             {{"errors", "--ini", condensing()},
              {"Error number: 1 : Crossing or impossible temperatures.\n", "\n" + kCondensationText,
               "Error number: 46 : Wrong channel arrangment.\n"},
              {"Error number: 12 :"}},
             {{"errors", "--calc-type", "2"}, {"Error number: 15 : No solution found !\n"}, {"Error number: 6 :"}},
             {{"convert", "--list"}, {"Temperature: °C [0] °F [1] K [2]\n", "m²,°C/kW [79]", "US gpm [17]"}, {}},
             {{"fluids"},
              {" Water ", " Ethylene glycol ", " Propylene glycol ", " Air ", " Humid air ", " R134a ", " R410A ",
               " R1234ze(E) ", " R744 "},
              {}},
             {{"models"}, {"All single-phase units", "group (8 members)"}, {"Condensers"}},
             // Condenser models of user levels A and B only.
             {{"models", "--duty", "C", "--user-level", "C"}, {"Dual-circuit condensers"}, {"Q320"}},
             // Concentrations in their own unit.
             {{"fluid", "MEG", "--conc", "40", "--temp", "0"}, {", 40 %"}, {}},
             {{"fluid", "Humid air", "--conc", "5", "--temp", "30", "--pressure", "700000"}, {", 5 g/kg"}, {}},
         }) {
        const ProgramOutcome r = hxq(c.args);
        SCOPED_TRACE(r.out);
        ASSERT_EQ(r.exit_code, 0) << r.err;
        for (const auto& text : c.holds) EXPECT_NE(r.out.find(text), std::string::npos) << text;
        for (const auto& text : c.lacks) EXPECT_EQ(r.out.find(text), std::string::npos) << text;
    }
    const nlohmann::json fluids = json_of({"fluids"});
    ASSERT_TRUE(fluids.is_array());
    for (const auto& e : fluids) {
        EXPECT_TRUE(e.contains("id") && e.contains("name") && e.contains("category")) << e.dump();
        EXPECT_LT(e["t_min"].get<double>(), e["t_max"].get<double>()) << e.dump();
    }
}

// Liquid water at 1 bar (physics.md table: 20 °C ρ 998.2, cp 4.184 kJ/kgK, μ 1.002 mPa s,
// λ 0.598 W/mK) and R134a at 0 °C (p 292.8 kPa, Δh_lv 198.6 kJ/kg).
TEST_F(InfoCommands, FluidPropertiesInSIUnitsUnderTheirKeys) {
    const nlohmann::json w = json_of({"fluid", "Water", "--temp", "20"});
    EXPECT_NEAR(w["density"].get<double>(), 998.2, 0.1);
    EXPECT_NEAR(w["cp"].get<double>(), 4184, 2);
    EXPECT_NEAR(w["viscosity"].get<double>(), 1.002e-3, 0.002e-3);
    EXPECT_NEAR(w["conductivity"].get<double>(), 0.598, 0.001);

    const nlohmann::json r = json_of({"fluid", "R134a", "--temp", "0", "--sat"});
    EXPECT_NEAR(r["p_bubble"].get<double>(), 292.8e3, 0.2e3);
    EXPECT_NEAR(r["h_lv"].get<double>(), 198.6e3, 0.2e3);
    for (const char* key :
         {"p_dew", "rho_liq", "rho_vap", "cp_liq", "cp_vap", "mu_liq", "mu_vap", "lambda_liq", "lambda_vap", "sigma"})
        EXPECT_GT(r[key].get<double>(), 0) << key;
    // At the default 1 bar R134a is superheated vapour at 0 °C.
    EXPECT_LT(r["density"].get<double>(), r["rho_vap"].get<double>());
}

using SelectCommand = Commands;

TEST_F(SelectCommand, JsonNumbersCarryNoDigitsBeyondSinglePrecision) {
    const ProgramOutcome r = hxq({"select", sample_duty("glycol_cooling.toml"), "--json"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    // Nine significant digits always read back as the same float.
    int digits = 0;
    bool in_number = false, in_text = false;
    for (char c : r.out) {
        if (c == '"') in_text = !in_text;
        if (in_text) continue;
        if (std::isdigit(static_cast<unsigned char>(c))) {
            if (in_number || c != '0') ++digits;
            in_number = in_number || c != '0';
            EXPECT_LE(digits, 9) << r.out;
        } else if (c != '.') {
            digits = 0;
            in_number = false;
        }
    }
}

// Input errors (exit code 2) name the file, line and key; errors of the installation and
// of the engine (exit code 1) say what is missing or the engine's text.
TEST_F(SelectCommand, RefusalsNameTheirCause) {
    const std::string sides = "[side1]\nfluid = \"water\"\ninlet_temp = \"70 °C\"\n";
    const auto bad = write("bad.toml", "model = \"Q22 H\"\nheat_load = \"30 kw\"\n" + sides +
                                           "outtemp = \"50 °C\"\n[side2]\nfluid = \"water\"\n");
    const auto crossing = write("crossing.toml", "model = \"Q22 H\"\nheat_load = \"30 kW\"\n" + sides +
                                                     "outlet_temp = \"50 °C\"\n[side2]\nfluid = \"water\"\n"
                                                     "inlet_temp = \"20 °C\"\noutlet_temp = \"80 °C\"\n");
    const auto legacy = write("legacy.toml", "node = 4\ndatabase = \"" + std::string(HXQ_SAMPLE_DIR) +
                                                 "/legacy.db\"\nheat_load = \"60 kW\"\n[filter]\nmaterial = \"C\"\n"
                                                 "[side1]\nfluid = \"water\"\ninlet_temp = \"80 °C\"\n"
                                                 "outlet_temp = \"50 °C\"\n[side2]\nfluid = \"water\"\n"
                                                 "inlet_temp = \"25 °C\"\noutlet_temp = \"45 °C\"\n");
    // Bytes of no text: an error that names line 1.
    const auto junk = write("junk.toml", "\x1b[2J\x01\x02=\xff\xfe\n");
    const auto empty_ini = write("empty.ini", "[Action]\n");
    const std::string model = sample_duty("single_model.toml");
    const auto cold = write("cold.toml", "duty = \"condenser\"\nmodel = \"Q22 H\"\nheat_load = \"50 kW\"\n"
                                         "[refrigerant]\nfluid = \"R134a\"\ncondensing_temp = \"45 °C\"\n"
                                         "[secondary]\nfluid = \"water\"\ninlet_temp = \"50 °C\"\n"
                                         "outlet_temp = \"55 °C\"\n");
    const auto tight = write("tight.toml", "duty = \"air-dryer\"\nmodel = \"AD 200\"\n[air]\ninlet_temp = \"35 °C\"\n"
                                           "mass_flow = \"180 Nm3/h\"\noperating_pressure = \"8 bar\"\n"
                                           "pressure_dew_point = \"3 °C\"\nmax_pressure_drop = \"0.1 kPa\"\n"
                                           "[refrigerant]\nfluid = \"R134a\"\nevaporating_temp = \"0 °C\"\n"
                                           "superheat = \"5 K\"\ninlet_quality = 0.25\n");
    for (const Refusal& c : std::vector<Refusal>{
             {{"select", bad.string()}, 2, bad.string() + ":6: side1.outtemp: unknown key"},
             {{"select", (dir_ / "none.toml").string()}, 2, "none.toml: (file): cannot be read"},
             {{"select", dir_.string()}, 2, "is a folder"},
             {{"select", junk.string()}, 2, "junk.toml:1: "},
             {{"select", legacy.string()}, 2, "legacy.toml:4: filter: a filter needs the main product database"},
             {{"select", model, "--ini", (dir_ / "none.ini").string()}, 1, "none.ini\" (--ini) does not exist"},
             {{"select", model, "--ini", empty_ini.string()}, 1,
              "no stock database: set DBStock in the settings file (" + empty_ini.string() + ")"},
             {{"select", crossing.string()}, 1, "Error number: 1 : Crossing or impossible temperatures."},
             // The engine's text for the other kinds too.
             {{"select", cold.string()}, 1, "Error number: 1 : Crossing or impossible temperatures."},
             {{"select", tight.string()}, 1, "No solution found"},
         })
        expect_refused(c);
    EXPECT_EQ(hxq({"select", junk.string()}).err.find('\x1b'), std::string::npos);  // no control character echoed
}

// Every duty file of the sample runs and lists an alternative. For each kind, every
// alternative's JSON states what its duty asked under the keys its callers read, and the
// values the program adds up itself (stage sums, the total of plates) are those sums.
// The physics behind the numbers is the drivers' tests' concern; here a value under the
// wrong key or in the wrong unit fails.

// "left op right": right is the sum of the values at `terms` plus `offset`; op '=' within
// `tolerance`, '<' or '>'. A bool counts as 0 or 1, a plain number as itself.
struct Stated {
    std::string left;
    char op;
    std::vector<std::string> terms;
    double offset = 0, tolerance = 1e-3;
};

struct SampleDuty {
    std::string file, units;
    std::vector<std::pair<std::string, std::string>> tops;  // top-level texts
    std::vector<Stated> stated;                             // of every alternative
    std::vector<std::string> keys;                          // also present in the first
    std::string table_holds;                                // a text of the printed table
};

double number(const nlohmann::json& j) {
    if (j.is_boolean()) return j.get<bool>() ? 1 : 0;
    return j.is_object() ? v(j) : j.get<double>();
}

const std::vector<std::string> kSideKeys{"fluid", "inlet_temp/unit", "outlet_temp/value", "mass_flow/value",
                                         "pressure_drop/value", "port_pressure_drop/value",
                                         "channel_velocity/1/value", "port_velocity/0/value"};

std::vector<std::string> two_phase_keys(std::vector<std::string> own) {
    std::vector<std::string> p{"designation", "node", "plates", "channels/1", "parallel_units", "serial_units",
                               "area/unit", "ohtc_predicted/value", "ohtc_required/value", "over_surface/value",
                               "price", "refrigerant/outlet_quality", "refrigerant/outlet_pressure/value"};
    for (const auto& s : kSideKeys) p.insert(p.end(), {"refrigerant/" + s, "secondary/" + s});
    p.insert(p.end(), own.begin(), own.end());
    return p;
}

const std::vector<SampleDuty> kSampleDuties{
    // 50 kW into water 30 -> 35 °C (cp 4.178 kJ/(kg K) at 32.5 °C, IAPWS-95) from R134a
    // gas at 75 °C condensing at 45 °C, subcooled 2 K: all of it condenses.
    {"condenser_water.toml", "si", {{"duty", "condenser"}, {"group", "Condensers"}},
     {{"heat_load", '=', {}, 50}, {"secondary/inlet_temp", '=', {}, 30, 1e-4}, {"secondary/outlet_temp", '=', {}, 35, 1e-4},
      {"secondary/pressure_drop", '<', {}, 50 + 1e-3}, {"refrigerant/superheat", '=', {}, 30},
      {"refrigerant/outlet_temp", '=', {"refrigerant/bubble_temp_out"}, -2},
      {"secondary/mass_flow", '=', {}, 50 / (4.178 * 5), 0.5 / (4.178 * 5)},
      {"refrigerant/condensed_flow", '=', {"refrigerant/mass_flow"}, 0, 1e-6}},
     two_phase_keys({"refrigerant/condensing_temp/value", "refrigerant/subcooling/value"}),
     ""},
    // 40 kW from 30 % ethylene glycol to 7 °C (cp about 3.70 kJ/(kg K) at 9.5 °C, ASHRAE
    // Handbook, Fundamentals 2017, ch. 31); 40 °C liquid throttled to 2 °C enters with
    // roughly a third of it vapour.
    {"evaporator_brine.toml", "si", {{"duty", "evaporator"}},
     {{"heat_load", '=', {}, 40}, {"refrigerant/superheat", '=', {}, 5, 1e-4},
      {"refrigerant/gas_outlet_temp", '=', {"refrigerant/evaporating_temp"}, 5},
      {"secondary/outlet_temp", '=', {}, 7, 1e-4}, {"secondary/mass_flow", '=', {}, 40 / (3.70 * 5), 1 / (3.70 * 5)},
      {"refrigerant/inlet_quality", '=', {}, 0.3, 0.1}},
     two_phase_keys({"refrigerant/vaporised_flow/value", "refrigerant/inlet_vapour_flow/value"}), ""},
    // Two circuits of the 15 kW given.
    {"evaporator_dual.toml", "si", {}, {{"dual", '=', {}, 1, 0}, {"heat_load", '=', {}, 2 * 15}}, {}, ""},
    // 50 kW of tap water 10 -> 55 °C from district water at 70 °C, the radiator return
    // (0.15 kg/s) joining stage 1: the stages in the order the water passes them.
    {"two_stage_tap_water.toml", "si", {{"duty", "two-stage"}, {"group", "Two-stage units"}},
     {{"heat_load", '=', {}, 50}, {"heat_load", '=', {"stages/0/heat_load", "stages/1/heat_load"}},
      {"plates", '=', {"stages/0/plates", "stages/1/plates"}, 0, 0},
      {"price", '=', {"stages/0/price", "stages/1/price"}, 0, 0.01},
      {"primary_pressure_drop", '=', {"stages/0/primary/pressure_drop", "stages/1/primary/pressure_drop"}},
      {"stages/0/tap_water/inlet_temp", '=', {}, 10, 1e-4},
      {"stages/0/tap_water/outlet_temp", '=', {"stages/1/tap_water/inlet_temp"}, 0, 1e-4},
      {"stages/1/primary/inlet_temp", '=', {}, 70, 1e-4},
      {"stages/0/primary/mass_flow", '=', {"stages/1/primary/mass_flow"}, 0.15, 1e-5}},
     {"model", "node", "remarks", "stages/1/stage", "stages/0/designation", "stages/0/channels/1",
      "stages/0/heat_load/unit", "stages/0/primary/outlet_temp/value", "stages/1/tap_water/outlet_temp/value",
      "stages/0/tap_water/mass_flow/value", "stages/0/tap_water/pressure_drop/value"},
     "\nStages (primary Water, tap water Water)\n"},
    // A CO2 low stage condensing at -5 °C into an R134a high stage evaporating at -10 °C,
    // 40 kW, in US units (NIST SP 811: 1 Btu/h = 0.29307107 W): what one circuit gives the
    // other takes.
    {"cascade_r744_r134a.toml", "us", {{"duty", "cascade"}},
     {{"heat_load", '=', {}, 40e3 / 0.29307107, 1}, {"condensing/heat_load", '=', {"evaporating/heat_load"}},
      {"condensing/condensing_temp", '=', {}, 23}, {"evaporating/evaporating_temp", '=', {}, 14},
      {"condensing/subcooling", '=', {}, 3.6}, {"evaporating/superheat", '=', {}, 7.2},
      {"evaporating/inlet_quality", '=', {}, 0.2, 1e-6}},
     {"designation", "parallel_units", "area/value", "price", "condensing/fluid", "condensing/bubble_temp_out/value",
      "condensing/superheat/value", "condensing/pressure_drop/value", "evaporating/fluid",
      "evaporating/mass_flow/value", "evaporating/pressure_drop/value"},
     "\nCircuits\n"},
    // The low stage gives its load up as CO2 flow: about 40 kW / 290 kJ/kg of superheat,
    // latent heat and subcooling from 35 °C gas to -7 °C liquid.
    {"cascade_r744_r134a.toml", "si", {}, {{"condensing/mass_flow", '=', {}, 40.0 / 290, 0.03}}, {}, ""},
    // 180 Nm³/h of air saturated at 35 °C and 8 bar(a) holds about 4.45 g/kg, at 3 °C 0.59
    // g/kg: 0.0593 kg/s × 3.86 g/kg = 0.82 kg/h of condensate; 20 kPa at most (and the
    // driver's 5 % tolerance on it).
    {"air_dryer_design.toml", "si", {{"mode", "design"}},
     {{"pressure_dew_point", '<', {}, 3 + 1e-4}, {"pressure_drop", '<', {}, 1.05 * 20},
      {"plates/total", '=', {"plates/air_unit", "plates/evaporator"}, 0, 0},
      {"condensate_flow", '=', {}, 0.82, 0.04}, {"air/outlet_temp", '>', {"air/evaporator_outlet_temp"}},
      {"air/outlet_temp", '<', {"air/inlet_temp"}}},
     {"air/inlet_dew_point/value", "air/precooled_temp/value", "air/outlet_humidity/value", "air/mass_flow/value",
      "air_unit/channels/1", "air_unit/heat_load/value", "air_unit/area/value", "air_unit/ohtc/value",
      "air_unit/pressure_drop/warm/value", "air_unit/pressure_drop/dried/value", "evaporator/plates",
      "evaporator/heat_load/value", "evaporator/over_surface/value", "evaporator/pressure_drop/air/value",
      "evaporator/refrigerant/evaporating_temp/value", "evaporator/refrigerant/vaporised_flow/value"},
     ""},
    // A rating searches from 1 K above the evaporating temperature up to the air's inlet.
    {"air_dryer_rating.toml", "si", {{"mode", "rating"}},
     {{"pressure_dew_point", '>', {}, 1 - 0.01}, {"pressure_dew_point", '<', {}, 35}}, {}, ""},
};

TEST_F(SelectCommand, EverySampleDutyRunsAndStatesWhatItWasAskedUnderItsKeys) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(HXQ_SOURCE_DIR) + "/sample/duties")) {
        if (entry.path().extension() != ".toml") continue;
        ++files;
        SCOPED_TRACE(entry.path().filename().string());
        const nlohmann::json j = json_of({"select", entry.path().string()});
        ASSERT_TRUE(j.is_object());
        ASSERT_FALSE(j["alternatives"].empty());
        for (const char* top : {"/duty", "/node", "/units", "/alternatives/0/remarks"})
            EXPECT_TRUE(j.contains(nlohmann::json::json_pointer(top))) << top;
        // Every kind writes its remarks with RemarkJson, whose shape RemarkLegendText checks.
        EXPECT_TRUE(j["alternatives"][0]["remarks"].is_array());
    }
    EXPECT_GE(files, 14);

    for (const SampleDuty& d : kSampleDuties) {
        SCOPED_TRACE(d.file + " " + d.units);
        const nlohmann::json j = json_of({"select", sample_duty(d.file), "--units", d.units});
        for (const auto& [key, text] : d.tops) EXPECT_EQ(j[key], text) << key;
        ASSERT_FALSE(j["alternatives"].empty());
        const nlohmann::json& first = j["alternatives"][0];
        for (const auto& key : d.keys) EXPECT_TRUE(first.contains(nlohmann::json::json_pointer("/" + key))) << key;
        for (const auto& a : j["alternatives"]) {
            SCOPED_TRACE(a.value("designation", a.value("model", std::string())));
            const auto at = [&](const std::string& key) {
                const nlohmann::json::json_pointer p("/" + key);
                EXPECT_TRUE(a.contains(p)) << key;
                return a.contains(p) ? number(a[p]) : std::nan("");
            };
            for (const Stated& s : d.stated) {
                double right = s.offset;
                for (const auto& t : s.terms) right += at(t);
                const double left = at(s.left);
                switch (s.op) {
                case '=': EXPECT_NEAR(left, right, s.tolerance) << s.left; break;
                case '<': EXPECT_LT(left, right) << s.left; break;
                default: EXPECT_GT(left, right) << s.left;
                }
            }
        }
        if (d.table_holds.empty()) continue;
        const ProgramOutcome table = hxq({"select", sample_duty(d.file), "--units", d.units});
        ASSERT_EQ(table.exit_code, 0) << table.err;
        EXPECT_EQ(table.out.rfind(j["group"].get<std::string>() + "\n", 0), 0u) << table.out;
        EXPECT_NE(table.out.find(d.table_holds), std::string::npos) << table.out;
    }
}

TEST_F(SelectCommand, TablesMarkRemarksAndExplainThemBelow) {
    for (const char* file : {"condenser_water.toml", "air_dryer_design.toml"}) {
        SCOPED_TRACE(file);
        const ProgramOutcome table = hxq({"select", sample_duty(file), "--units", "us"});
        ASSERT_EQ(table.exit_code, 0) << table.err;
        EXPECT_NE(table.out.find("°F"), std::string::npos);
        EXPECT_NE(table.out.find("psi"), std::string::npos);
        std::set<std::string> codes;
        const nlohmann::json j = json_of({"select", sample_duty(file)});
        for (const auto& a : j["alternatives"])
            for (const auto& remark : a["remarks"]) codes.insert(remark["code"].get<std::string>());
        EXPECT_FALSE(codes.empty());
        const auto legend = table.out.find("\nRemarks:\n");
        ASSERT_NE(legend, std::string::npos) << table.out;
        // "  1  P1  refrigerant: ...": the rank, the mark, the text.
        for (const auto& code : codes) EXPECT_NE(table.out.find("  " + code + "  ", legend), std::string::npos) << code;
    }
}

TEST_F(SelectCommand, DetailPrintsTheFullResultOfOneAlternative) {
    const std::vector<std::string> sides{"Film coefficient", "Reynolds number", "Wall temperature min / mean / max",
                                         "Port velocity in / out", "Pressure drop total / ports"};
    struct Case {
        const char* file;
        std::vector<std::string> holds;
        bool sides = true;  // whether it lists the sides' heat transfer as above
    };
    for (const Case& c : std::vector<Case>{
             {"condenser_water.toml",
              {"Reynolds number (equivalent)", "Zone areas vapour / two-phase / liquid", "Liquid density",
               "Vapour viscosity", "Latent heat", "Fluid viscosity at the wall", "Bubble point at the outlet"}},
             {"evaporator_brine.toml", {"Evaporating temperature (dew, outlet)", "Two-phase inlet", "Vapour conductivity"}},
             {"evaporator_dual.toml", {"Distributor drop (window)", "Saturation entering"}},
             {"two_stage_tap_water.toml", {"Stage 1 (pre-heater)", "Stage 2 (after-heater)", "Tap water in / out",
                                           "Primary pressure drop total / ports"},
              false},
             {"cascade_r744_r134a.toml",
              {"Condensing circuit (low stage)", "Evaporating circuit (high stage)", "Latent heat"},
              false},
             {"air_dryer_design.toml",
              {"Air-to-air unit, warm air (side 2)", "Pressure dew point reached", "Condensate", "Outlet humidity",
               "Liquid heat capacity"}},
         }) {
        SCOPED_TRACE(c.file);
        const ProgramOutcome r = hxq({"select", sample_duty(c.file), "--detail", "1"});
        ASSERT_EQ(r.exit_code, 0) << r.err;
        for (const auto& text : c.sides ? sides : std::vector<std::string>{})
            EXPECT_NE(r.out.find(text), std::string::npos) << text;
        for (const auto& text : c.holds) EXPECT_NE(r.out.find(text), std::string::npos) << text;
        // With --json the detail is that alternative's object (one path for every kind
        // but single phase, whose detail the result output tests check).
        const nlohmann::json all = json_of({"select", sample_duty(c.file)});
        if (std::string(c.file) == "condenser_water.toml") {
            EXPECT_EQ(json_of({"select", sample_duty(c.file), "--detail", "2"}), all["alternatives"][1]);
        }
        const std::string past = std::to_string(all["alternatives"].size() + 1);
        expect_refused({{"select", sample_duty(c.file), "--detail", past}, 2, "--detail " + past + ": no such alternative"});
    }
}


}  // namespace
}  // namespace hxq::test
