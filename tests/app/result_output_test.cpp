// What `hxq select` prints for a single-phase alternative: the channel texts of its
// designation, the remark rules on results built here (each remark when its condition
// holds and not otherwise), the velocity of the narrower port, and on the sample duties
// through the built program: the heat balance of the printed states, the remarks against
// the printed values, --detail and its refusal, and the US units.
#include "result_common.h"
#include "single_phase_remarks.h"

#include "core/model_data.h"
#include "settings/convert.h"
#include "settings/unit_tables.h"
#include "program_fixture.h"
#include "result_table.h"

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <numbers>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace hxq::app {
namespace {

const std::string kSample = HXQ_SAMPLE_DIR;

// ---------------------------------------------------------------------------------------
// Remarks of results built here

class RemarkRules : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        settings::convert_context().convert_db = [] { return kSample + "/units.db"; };
        settings::convert_context().unit_system = [] { return settings::kUnitSystemSI; };
        settings::ResetSharedConverter();
        ASSERT_TRUE(settings::SharedConverter().IsOpen());
    }

    // A water/water rating with nothing to remark: 1000 kg/(m² s) through equal 20 mm
    // ports, ports 10 % of 20 kPa, 10 % over-surface as asked.
    static core::SinglePhaseResult quiet() {
        core::SinglePhaseResult r;
        r.Valid = true;
        r.OverSurface = 10;
        for (int s = 1; s <= 2; ++s) {
            r.Density[s] = 1000;
            r.PortVelocity[s] = 1.0;
            r.PortDiameterUp[s] = 0.02;
            r.PortDiameterDown[s] = 0.02;
            r.PressureDrop[s] = 20000;
            r.PortPressureDrop[s] = 2000;
        }
        return r;
    }
    static SinglePhaseDuty asked(double over_surface) {
        SinglePhaseDuty d;
        d.asked_over_surface = over_surface;
        return d;
    }
};

struct RemarkCase {
    const char* name;
    std::function<void(core::SinglePhaseResult&, SinglePhaseDuty&)> change;
    std::vector<std::pair<std::string, int>> expected;  // code, side
};

TEST_F(RemarkRules, EachAppearsWhenItsConditionHoldsAndNotOtherwise) {
    using R = core::SinglePhaseResult;
    using D = SinglePhaseDuty;
    const std::vector<RemarkCase> cases = {
        {"nothing remarkable", [](R&, D&) {}, {}},
        {"port mass flux above the limit", [](R& r, D&) { r.PortVelocity[2] = 2.001; }, {{"port_velocity", 2}}},
        {"port mass flux at the limit", [](R& r, D&) { r.PortVelocity[2] = 2.0; }, {}},
        // 1.9 m/s at the effective diameter, 2.27 m/s through the 16 mm port.
        {"narrow port above the limit",
         [](R& r, D&) {
             r.PortDiameterDown[1] = 0.016;
             r.PortVelocity[1] = 1.9;
         },
         {{"port_velocity", 1}}},
        {"light fluid: same velocity, lower mass flux", [](R& r, D&) {
             r.PortVelocity[1] = 2.5;
             r.Density[1] = 790;
         }, {}},
        {"ports 31 % of the pressure drop", [](R& r, D&) { r.PortPressureDrop[1] = 6200; }, {{"port_share", 1}}},
        {"ports 30 % of the pressure drop", [](R& r, D&) { r.PortPressureDrop[1] = 6000; }, {}},
        {"pressure drop above the duty's limit", [](R& r, D& d) {
             d.max_pressure_drop[2] = 15000;
             r.PressureDrop[1] = 30000;  // side 1 has no limit
         }, {{"pressure_drop_limit", 2}}},
        {"pressure drop at the limit it was found from", [](R&, D& d) { d.max_pressure_drop[1] = 20000; }, {}},
        {"area 1.31 times the asked", [](R& r, D&) { r.OverSurface = 44.1; }, {{"over_surface", 0}}},
        {"area 1.29 times the asked", [](R& r, D&) { r.OverSurface = 41.9; }, {}},
        {"nothing asked, 31 % over", [](R& r, D& d) {
             d.asked_over_surface = 0;
             r.OverSurface = 31;
         }, {{"over_surface", 0}}},
        {"engine remark", [](R& r, D&) {
             r.ErrorCode = 3;
             r.WarningOnly = true;
         }, {{"engine_remark", 0}}},
        {"all at once, sides first", [](R& r, D& d) {
             r.PortVelocity[2] = 2.5;
             r.PortPressureDrop[2] = 10000;
             r.PortPressureDrop[1] = 7000;
             r.OverSurface = 60;
             r.ErrorCode = 3;
             d.max_pressure_drop[1] = 10000;
         }, {{"port_share", 1}, {"pressure_drop_limit", 1}, {"port_velocity", 2}, {"port_share", 2},
             {"over_surface", 0}, {"engine_remark", 0}}},
    };
    const QuantityUnits si = OutputUnits(OutputSystem::SI);
    for (const RemarkCase& c : cases) {
        SCOPED_TRACE(c.name);
        core::SinglePhaseResult r = quiet();
        SinglePhaseDuty duty = asked(10);
        c.change(r, duty);
        std::vector<std::pair<std::string, int>> got;
        for (const Remark& remark : SinglePhaseRemarks(r, duty, si)) got.emplace_back(remark.code, remark.side);
        EXPECT_EQ(got, c.expected);
    }
}

TEST_F(RemarkRules, TextsGiveTheNumbersInTheChosenUnitsAndJsonCarriesCodeAndText) {
    core::SinglePhaseResult r = quiet();
    r.PortDiameterDown[1] = 0.016;
    r.PortVelocity[1] = 3.0;
    r.ErrorCode = 3;
    const auto si = SinglePhaseRemarks(r, asked(10), OutputUnits(OutputSystem::SI));
    ASSERT_EQ(si.size(), 2u);
    const double narrow = 3.0 * std::pow(core::EffectivePortDiameter(0.02, 0.016) / 0.016, 2);
    EXPECT_NE(si[0].text.find(fmt::format("{:.2f} m/s in the 16.0 mm port", narrow)), std::string::npos) << si[0].text;
    EXPECT_NE(si[0].text.find("limit of 2.00 m/s"), std::string::npos) << si[0].text;
    EXPECT_EQ(si[1].text, "engine remark 3: Temperature(s) outside limit(s).");
    const auto us = SinglePhaseRemarks(r, asked(10), OutputUnits(OutputSystem::US));
    EXPECT_NE(us[0].text.find("ft/s in the 0.630 in port"), std::string::npos) << us[0].text;
    EXPECT_EQ(RemarkMarks(si), "V W");
    const nlohmann::json j = RemarkJson(si);
    EXPECT_EQ(j[0], (nlohmann::json{{"code", "port_velocity"}, {"side", 1}, {"text", si[0].text}}));
    EXPECT_EQ(j[1].count("side"), 0u);  // the unit's, not a side's
}

// The flow passes each port at its own velocity: volume flow / port area.
TEST_F(RemarkRules, NarrowestPortCarriesTheFastestFlow) {
    constexpr double kVolumeFlow = 0.8e-3;  // m³/s
    const auto velocity = [](double d) { return kVolumeFlow / (std::numbers::pi * d * d / 4); };
    struct Ports {
        double up, down, expected_diameter;
    };
    for (const Ports& p : {Ports{0.020, 0.016, 0.016}, Ports{0.016, 0.020, 0.016}, Ports{0.025, 0.025, 0.025},
                           Ports{0.040, 0.020, 0.020}}) {
        SCOPED_TRACE(fmt::format("{} / {}", p.up, p.down));
        core::SinglePhaseResult r = quiet();
        r.PortDiameterUp[1] = p.up;
        r.PortDiameterDown[1] = p.down;
        r.PortVelocity[1] = velocity(core::EffectivePortDiameter(p.up, p.down));  // what the engine reports
        const NarrowPort port = NarrowestPort(r, 1);
        EXPECT_DOUBLE_EQ(port.diameter, p.expected_diameter);
        EXPECT_NEAR(port.velocity, velocity(p.expected_diameter), 1e-12);
        EXPECT_NEAR(PortVelocityAt(r, 1, p.up), velocity(p.up), 1e-12);
        EXPECT_NEAR(PortVelocityAt(r, 1, p.down), velocity(p.down), 1e-12);
    }
    // Without the leaving port's diameter the engine's velocity is all there is.
    core::SinglePhaseResult r = quiet();
    r.PortDiameterDown[1] = 0;
    r.PortVelocity[1] = 1.7;
    EXPECT_DOUBLE_EQ(NarrowestPort(r, 1).velocity, 1.7);
    EXPECT_DOUBLE_EQ(NarrowestPort(r, 1).diameter, 0.02);
}

TEST(AlignedTableText, AlignsByDisplayWidthAndLeavesNoTrailingBlanks) {
    AlignedTable t("Sides");
    t.add_row({"1", "Water", "3.19"});
    t.add_header({"#", "Fluid", "Flow"});
    t.add_header({"", "", "m³/h"});
    t.add_row({"12", "Ethylene glycol", "0.5"});
    t.align_left(1);
    EXPECT_EQ(t.body_rows(), 2u);
    EXPECT_EQ(t.text(),
              "Sides\n"
              " #  Fluid            Flow\n"
              "                     m³/h\n"
              " 1  Water            3.19\n"
              "12  Ethylene glycol   0.5\n");
    EXPECT_EQ(AlignedTable().text(), "");
}

TEST(RemarkLegendText, OneLinePerRemarkWithRankMarkTextAndValue) {
    RemarkLegend legend;
    EXPECT_TRUE(legend.empty());
    EXPECT_EQ(legend.text(), "");
    legend.add(3, {{"S", "over_surface", 0, "too big", ""}});
    EXPECT_EQ(legend.text(), "Remarks:\n  3  S  too big\n");
    // Marks of several widths line up; a value follows its text in brackets.
    legend.add(4, {CodeMarked("EP2", 2, "ports", "31.0 %"), {"V", "port_velocity", 1, "fast", ""}});
    EXPECT_EQ(legend.text(), "Remarks:\n  3  S    too big\n  4  EP2  ports (31.0 %)\n  4  V    fast\n");
    // Each mark once in the column; JSON keeps every remark with side and value.
    const Remarks twice{CodeMarked("P1", 1, "a", "1 kPa"), CodeMarked("W", 0, "b"), CodeMarked("P1", 1, "c")};
    EXPECT_EQ(RemarkMarks(twice), "P1 W");
    const nlohmann::json j = RemarkJson(twice);
    ASSERT_EQ(j.size(), 3u);
    EXPECT_EQ(j[0], (nlohmann::json{{"code", "P1"}, {"side", 1}, {"text", "a"}, {"value", "1 kPa"}}));
    EXPECT_EQ(j[1], (nlohmann::json{{"code", "W"}, {"text", "b"}}));
}

TEST(DetailTextLines, AlignsTheValuesOfEveryHeading) {
    DetailText d;
    d.heading("Alternative 1");
    d.line("Plates", "40");
    d.heading("Side 1");
    d.line("Heat load", "50.0 kW");
    d.line("Empty", "");
    EXPECT_EQ(d.str(), "Alternative 1\n  Plates     40\n\nSide 1\n  Heat load  50.0 kW\n  Empty\n");
}

// ---------------------------------------------------------------------------------------
// The built program on the sample duties

using PrintedResult = test::HxqProgram;
using ProgramRun = test::ProcessOutcome;
using test::sample_duty;
using test::v;

// The cells of a table line: columns are at least two blanks apart.
std::vector<std::string> cells(const std::string& line) {
    static const std::regex gap(" {2,}");
    std::vector<std::string> out;
    for (std::sregex_token_iterator i(line.begin(), line.end(), gap, -1), end; i != end; ++i)
        if (!i->str().empty()) out.push_back(*i);
    return out;
}

// Half a unit of the last digit a printed number can carry: its decimals, and no more
// than the three significant digits of the units database's groups.
double half_digit(const std::string& text) {
    const double v = std::stod(text);
    const std::size_t dot = text.find('.');
    const int decimals = dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1);
    const double by_decimals = 0.5 * std::pow(10.0, -decimals);
    const double by_digits = v == 0 ? 0 : 0.5 * std::pow(10.0, std::floor(std::log10(std::abs(v))) - 2);
    return std::max(by_decimals, by_digits);
}

// The alternatives of one printed table: the heat load text of the performance block and
// the rows of the sides block, by rank.
struct PrintedAlternative {
    std::string heat_load;
    std::string remarks;
    std::vector<std::vector<std::string>> sides;
};

std::vector<PrintedAlternative> printed(const std::string& table) {
    std::vector<PrintedAlternative> out;
    std::istringstream in(table);
    int block = 0;
    int header = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) {
            ++block;
            header = 0;
            continue;
        }
        if (header++ < 3 || block > 1) continue;  // title and two header lines
        const auto c = cells(line);
        const std::size_t rank = std::stoul(c.at(0));
        if (block == 0) out.push_back({c.at(6), c.size() > 12 ? c.at(12) : "", {}});
        else out.at(rank - 1).sides.push_back(c);
    }
    return out;
}

const std::vector<std::string> kSingleCircuitDuties = {"water_heating.toml", "glycol_cooling.toml", "group_search.toml",
                                                       "single_model.toml", "forced_stock.toml"};

// Q = ṁ cp |ΔT| on both sides, from the printed load, flows and temperatures and the
// rated cp (the detail's), within what the printed digits can hide; and the remarks of
// every alternative follow from its values, in the JSON and as marks in the table.
TEST_F(PrintedResult, HeatBalanceAndRemarksFollowFromThePrintedValues) {
    for (const char* system : {"si", "us"}) {
        for (const std::string& name : kSingleCircuitDuties) {
            SCOPED_TRACE(name + " " + system);
            const bool si = std::string(system) == "si";
            const ProgramRun table = hxq({"select", sample_duty(name), "--units", system});
            ASSERT_EQ(table.exit_code, 0) << table.err;
            const auto alternatives = printed(table.out);
            ASSERT_FALSE(alternatives.empty()) << table.out;
            const nlohmann::json list = si ? json_of({"select", sample_duty(name)}) : nlohmann::json();
            for (std::size_t i = 0; i < alternatives.size(); ++i) {
                const PrintedAlternative& a = alternatives[i];
                ASSERT_EQ(a.sides.size(), 2u);
                const nlohmann::json detail =
                    json_of({"select", sample_duty(name), "--units", system, "--detail", std::to_string(i + 1)});
                const auto& alt = detail["alternative"];
                const double q = std::stod(a.heat_load);
                std::vector<std::pair<std::string, int>> expected;
                for (int s = 0; s < 2; ++s) {
                    const auto& row = a.sides[static_cast<std::size_t>(s)];  // # side fluid in out flow ...
                    const auto& full = alt["detail"]["sides"][s];
                    const double cp = v(full["specific_heat"]);
                    const double flow = std::stod(row.at(5));
                    const double dt = std::abs(std::stod(row.at(3)) - std::stod(row.at(4)));
                    const double hidden = half_digit(a.heat_load) + q * half_digit(row.at(5)) / flow +
                                          flow * cp * (half_digit(row.at(3)) + half_digit(row.at(4)));
                    EXPECT_NEAR(flow * cp * dt, q, hidden) << "alternative " << i + 1 << " side " << s + 1;
                    const auto& side = alt["sides"][s];
                    if (v(side["port_velocity"]) * v(full["density"]) > core::kPortMassFluxLimitPreset)
                        expected.emplace_back("port_velocity", s + 1);
                    if (v(side["port_pressure_drop"]) > 0.3 * v(side["pressure_drop"]))
                        expected.emplace_back("port_share", s + 1);
                }
                if (!si) continue;
                nlohmann::json listed = alt;
                listed.erase("detail");
                EXPECT_EQ(list["alternatives"][i], listed) << "alternative " << i + 1;
                // None of these duties asks a margin but water_heating's 10 %.
                const double asked = name == "water_heating.toml" ? 10 : 0;
                if ((1 + v(alt["over_surface"]) / 100) / (1 + asked / 100) > 1.3)
                    expected.emplace_back("over_surface", 0);
                std::vector<std::pair<std::string, int>> got;
                std::string letters;
                for (const auto& r : alt["remarks"]) {
                    got.emplace_back(r["code"], r.value("side", 0));
                    const std::string code = r["code"];
                    const std::string letter = code == "port_velocity" ? "V" : code == "port_share" ? "P" : "S";
                    if (letters.find(letter) == std::string::npos) letters += (letters.empty() ? "" : " ") + letter;
                }
                EXPECT_EQ(got, expected) << "alternative " << i + 1;
                EXPECT_EQ(a.remarks, letters) << "alternative " << i + 1;
            }
        }
    }
}

// The table of the sample group: its title, two header lines and seven ranked
// alternatives, then the sides block; the best is remarked for its fast ports, the
// largest for its area.
TEST_F(PrintedResult, SevenRankedAlternativesOfTheSampleGroupWithTheirRemarks) {
    const ProgramRun r = hxq({"select", sample_duty("group_search.toml")});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.err, "");  // no progress bar when stderr is not a terminal
    std::vector<std::string> l;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) l.push_back(line);
    ASSERT_GT(l.size(), 14u) << r.out;
    EXPECT_EQ(l[0], "Single-phase units");
    EXPECT_EQ(l[10], "");
    EXPECT_EQ(l[11], "Sides");
    EXPECT_NE(l[1].find("Over-surface"), std::string::npos);
    EXPECT_NE(l[2].find("m²"), std::string::npos);
    EXPECT_NE(l[2].find("kW"), std::string::npos);
    EXPECT_NE(l[13].find("kPa"), std::string::npos);
    for (std::size_t i = 1; i <= 7; ++i) EXPECT_EQ(l[i + 2].rfind(std::to_string(i) + "  Q", 0), 0u) << l[i + 2];
    const auto rows = printed(r.out);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[0].remarks, "V P");
    EXPECT_EQ(rows[3].remarks, "");
    EXPECT_EQ(rows[6].remarks, "S");
    EXPECT_NE(r.out.find("\nRemarks:\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  1  P  side 2: ports take 55 % of the pressure drop"), std::string::npos) << r.out;
}

// Q14 enters by a 20 mm port and leaves by a 16 mm one.
TEST_F(PrintedResult, TwoPortDiametersReportTheNarrowerPortsVelocity) {
    const nlohmann::json j = json_of({"select", sample_duty("glycol_cooling.toml")});
    bool seen = false;
    for (const auto& a : j["alternatives"]) {
        if (a["model"] != "Q14") continue;
        seen = true;
        const nlohmann::json d = json_of({"select", sample_duty("glycol_cooling.toml"), "--detail", std::to_string(a["rank"].get<int>())});
        for (int s = 0; s < 2; ++s) {
            const auto& side = a["sides"][s];
            const auto& full = d["alternative"]["detail"]["sides"][s];
            EXPECT_DOUBLE_EQ(v(side["port_diameter"]), 16);
            EXPECT_NEAR(v(full["port_diameter_in"]), 20, 1e-6);
            const double ratio = core::EffectivePortDiameter(0.020, 0.016) / 0.016;
            EXPECT_NEAR(v(side["port_velocity"]), v(side["port_velocity_effective"]) * ratio * ratio, 1e-5);
            // The same flow through both ports: v d² is the same.
            EXPECT_NEAR(v(full["port_velocity_in"]) * 20 * 20, v(full["port_velocity_out"]) * 16 * 16, 1e-3);
        }
    }
    EXPECT_TRUE(seen) << j.dump(2);
}

TEST_F(PrintedResult, DetailPrintsTheWholeResultOfOneAlternative) {
    const ProgramRun r = hxq({"select", sample_duty("group_search.toml"), "--detail", "2"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Alternative 2: Q60x38H/1P\n", 0), 0u) << r.out;
    for (const char* row : {"Heat load", "LMTD", "Heat flux", "Fouling factor", "OHTC clean", "Reynolds number",
                            "Film coefficient", "Wall temperature min.", "Wall temperature max.", "Wall temperature mean",
                            "Density", "Specific heat", "Viscosity", "Wall viscosity", "Conductivity", "Port velocity in",
                            "Port diameter out", "Channel velocity", "NTU"})
        EXPECT_NE(r.out.find("\n  " + std::string(row) + " "), std::string::npos) << row << "\n" << r.out;
    EXPECT_NE(r.out.find("\nSide 2 (Water)\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\nRemarks:\n"), std::string::npos) << r.out;
    // The rows of the alternative as the table printed them.
    const auto rows = printed(hxq({"select", sample_duty("group_search.toml")}).out);
    EXPECT_NE(r.out.find("  " + rows[1].heat_load + " kW\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("  2  V  side 1: port velocity"), std::string::npos) << r.out;
    // Past either end of the list, as text or as JSON, the program says what is listed.
    for (const auto& args : {std::vector<std::string>{"--detail", "8"}, {"--detail", "0", "--json"}}) {
        std::vector<std::string> all{"select", sample_duty("group_search.toml")};
        all.insert(all.end(), args.begin(), args.end());
        const ProgramRun refused = hxq(all);
        EXPECT_EQ(refused.exit_code, 2);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err, "hxq: --detail " + args[1] + ": no such alternative; alternatives 1 to 7 are listed\n");
    }
}

// The same alternatives in US units: the values of the SI run converted (NIST SP 811:
// 1 Btu/h = 0.29307107 W, 1 lb = 0.45359237 kg, 1 ft = 0.3048 m, °F = 1.8 °C + 32),
// ranked by units and then price.
TEST_F(PrintedResult, USUnitsAreTheSIValuesConverted) {
    const nlohmann::json si = json_of({"select", sample_duty("water_heating.toml")});
    const nlohmann::json us = json_of({"select", sample_duty("water_heating.toml"), "--units", "us"});
    ASSERT_EQ(si["alternatives"].size(), us["alternatives"].size());
    ASSERT_FALSE(us["alternatives"].empty());
    EXPECT_EQ(us["units"], "us");
    EXPECT_EQ(us["group"], "All single-phase units");
    std::pair<int, double> last{0, 0};  // units, price
    for (const auto& b : us["alternatives"]) {
        EXPECT_EQ(b["area"]["unit"], "ft²");
        // 50 kPa at most on side 1, written in psi.
        EXPECT_EQ(b["pressure_drop"][0]["unit"], "psi");
        EXPECT_LE(v(b["pressure_drop"][0]), 50.0 / 6.894757 + 1e-3);
        const std::pair<int, double> rank{b["parallel_units"].get<int>(), b["price"].get<double>()};
        EXPECT_GE(rank, last);
        last = rank;
    }
    struct Key {
        std::string key, si_unit, us_unit;
        std::function<double(double)> to_us;
    };
    const std::vector<Key> keys = {
        {"inlet_temp", "°C", "°F", [](double c) { return 1.8 * c + 32; }},
        {"outlet_temp", "°C", "°F", [](double c) { return 1.8 * c + 32; }},
        {"mass_flow", "kg/s", "lb/h", [](double v) { return v * 3600 / 0.45359237; }},
        {"channel_velocity", "m/s", "ft/s", [](double v) { return v / 0.3048; }},
        {"port_velocity", "m/s", "ft/s", [](double v) { return v / 0.3048; }},
        {"port_pressure_drop", "kPa", "psi", [](double v) { return v / 6.894757; }},
    };
    for (std::size_t i = 0; i < si["alternatives"].size(); ++i) {
        const auto& a = si["alternatives"][i];
        const auto& b = us["alternatives"][i];
        EXPECT_EQ(a["heat_load"]["unit"], "kW");
        EXPECT_EQ(b["heat_load"]["unit"], "Btu/h");
        EXPECT_NEAR(v(b["heat_load"]), v(a["heat_load"]) * 1000 / 0.29307107, 1e-5 * v(b["heat_load"]));
        for (int s = 0; s < 2; ++s)
            for (const Key& k : keys) {
                SCOPED_TRACE(k.key);
                EXPECT_EQ(a["sides"][s][k.key]["unit"], k.si_unit);
                EXPECT_EQ(b["sides"][s][k.key]["unit"], k.us_unit);
                const double expected = k.to_us(v(a["sides"][s][k.key]));
                EXPECT_NEAR(v(b["sides"][s][k.key]), expected, 1e-5 * std::abs(expected) + 1e-9);
            }
    }
    const ProgramRun table = hxq({"select", sample_duty("water_heating.toml"), "--units", "us"});
    for (const char* label : {"Btu/h", "°F", "lb/h", "ft/s", "psi"})
        EXPECT_NE(table.out.find(label), std::string::npos) << label << "\n" << table.out;
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
