// hxq select run as the user runs it: the built program in a child process, finding the
// sample installation by itself.
#include "program_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

namespace hxq::test {
namespace {

using SelectCommand = ProgramTest;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

TEST_F(SelectCommand, PrintsSevenRankedAlternativesOfTheSampleGroup) {
    const ProgramOutcome r = hxq({"select", sample_duty("group_search.toml")});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const auto l = lines(r.out);
    ASSERT_EQ(l.size(), 9u) << r.out;  // two header lines, seven alternatives
    EXPECT_NE(l[0].find("Over-surface"), std::string::npos);
    EXPECT_NE(l[1].find("m²"), std::string::npos);
    EXPECT_NE(l[1].find("kPa"), std::string::npos);
    for (int i = 1; i <= 7; ++i) EXPECT_EQ(l[static_cast<std::size_t>(i + 1)].rfind(std::to_string(i) + "  Q", 0), 0u);
    // No progress bar when stderr is not a terminal.
    EXPECT_EQ(r.err, "");
}

TEST_F(SelectCommand, EveryDutyOfTheSampleRuns) {
    for (const char* name : {"water_heating.toml", "glycol_cooling.toml", "group_search.toml", "single_model.toml",
                             "dual_duty.toml", "forced_stock.toml"}) {
        SCOPED_TRACE(name);
        const ProgramOutcome r = hxq({"select", sample_duty(name)});
        EXPECT_EQ(r.exit_code, 0) << r.err;
        EXPECT_GE(lines(r.out).size(), 3u) << r.out;
    }
}

TEST_F(SelectCommand, JsonInUSUnitsRankedByUnitsAndPrice) {
    const nlohmann::json j = json_of({"select", sample_duty("water_heating.toml"), "--units", "us"});
    EXPECT_EQ(j["group"], "All single-phase units");
    ASSERT_FALSE(j["alternatives"].empty());
    double last_price = 0;
    int last_units = 0;
    for (const auto& a : j["alternatives"]) {
        EXPECT_EQ(a["area"]["unit"], "ft²");
        EXPECT_EQ(a["pressure_drop"][0]["unit"], "psi");
        // 50 kPa at most on side 1, written in psi.
        EXPECT_LE(a["pressure_drop"][0]["value"].get<double>(), 50.0 / 6.894757 + 1e-3);
        const int units = a["parallel_units"];
        const double price = a["price"];
        EXPECT_GE(units, last_units);
        if (units == last_units) {
            EXPECT_GE(price, last_price);
        }
        last_units = units;
        last_price = price;
    }
}

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
         })
        expect_refused(c);
    EXPECT_EQ(hxq({"select", junk.string()}).err.find('\x1b'), std::string::npos);  // no control character echoed
}

}  // namespace
}  // namespace hxq::test
