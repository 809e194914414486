// hxq select and hxq models run as the user runs them: the built program in a child
// process, finding the sample installation by itself.
#include "program_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cctype>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

using Outcome = hxq::test::ProgramOutcome;

class Program : public hxq::test::ProgramTest {
protected:
    std::string duty(const std::string& name) const { return std::string(HXQ_SOURCE_DIR) + "/sample/duties/" + name; }
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

TEST_F(Program, SelectPrintsSevenRankedAlternativesOfTheSampleGroup) {
    const Outcome r = hxq({"select", duty("group_search.toml")});
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

TEST_F(Program, SelectAsJsonInUSUnits) {
    const Outcome r = hxq({"select", duty("water_heating.toml"), "--json", "--units", "us"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const auto j = nlohmann::json::parse(r.out);
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
        if (units == last_units) {
            EXPECT_GE(price, last_price);
        }
        EXPECT_GE(units, last_units);
        last_units = units;
        last_price = price;
    }
}

TEST_F(Program, EveryDutyOfTheSampleRuns) {
    for (const char* name : {"water_heating.toml", "glycol_cooling.toml", "group_search.toml", "single_model.toml",
                             "dual_duty.toml", "forced_stock.toml"}) {
        SCOPED_TRACE(name);
        const Outcome r = hxq({"select", duty(name)});
        EXPECT_EQ(r.exit_code, 0) << r.err;
        EXPECT_GE(lines(r.out).size(), 3u) << r.out;
    }
}

TEST_F(Program, AMalformedDutyFileNamesItsLineAndKey) {
    const fs::path p = write("bad.toml", "model = \"Q22 H\"\nheat_load = \"30 kw\"\n[side1]\nfluid = \"water\"\n"
                                         "inlet_temp = \"70 °C\"\nouttemp = \"50 °C\"\n[side2]\nfluid = \"water\"\n");
    const Outcome r = hxq({"select", p.string()});
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_NE(r.err.find(p.string() + ":6: side1.outtemp: unknown key"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(Program, ADutyFileThatCannotBeReadIsAnInputError) {
    const Outcome missing = hxq({"select", (dir_ / "none.toml").string()});
    EXPECT_EQ(missing.exit_code, 2);
    EXPECT_NE(missing.err.find("none.toml: (file): cannot be read"), std::string::npos) << missing.err;
    const Outcome folder = hxq({"select", dir_.string()});
    EXPECT_EQ(folder.exit_code, 2);
    EXPECT_NE(folder.err.find("is a folder"), std::string::npos) << folder.err;
    // Bytes of no text: an error that names line 1, with no control character echoed.
    std::string junk = "\x1b[2J\x01\x02=\xff\xfe\n";
    const Outcome binary = hxq({"select", write("junk.toml", junk).string()});
    EXPECT_EQ(binary.exit_code, 2);
    EXPECT_NE(binary.err.find("junk.toml:1: "), std::string::npos) << binary.err;
    EXPECT_EQ(binary.err.find('\x1b'), std::string::npos);
    EXPECT_EQ(binary.out, "");
}

TEST_F(Program, AFilterOnAnotherProductDatabaseIsRefusedWithItsLine) {
    const fs::path p = write("legacy.toml", "node = 4\ndatabase = \"" + std::string(HXQ_SAMPLE_DIR) +
                                                "/legacy.db\"\nheat_load = \"60 kW\"\n[filter]\nmaterial = \"C\"\n"
                                                "[side1]\nfluid = \"water\"\ninlet_temp = \"80 °C\"\n"
                                                "outlet_temp = \"50 °C\"\n[side2]\nfluid = \"water\"\n"
                                                "inlet_temp = \"25 °C\"\noutlet_temp = \"45 °C\"\n");
    const Outcome r = hxq({"select", p.string()});
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_NE(r.err.find("legacy.toml:4: filter: a filter needs the main product database"), std::string::npos)
        << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(Program, SettingsWithoutAStockDatabaseAreNamed) {
    const Outcome missing = hxq({"select", duty("single_model.toml"), "--ini", (dir_ / "none.ini").string()});
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_NE(missing.err.find("none.ini\" (--ini) does not exist"), std::string::npos) << missing.err;
    const fs::path empty = write("empty.ini", "[Action]\n");
    const Outcome no_stock = hxq({"select", duty("single_model.toml"), "--ini", empty.string()});
    EXPECT_EQ(no_stock.exit_code, 1);
    EXPECT_NE(no_stock.err.find("no stock database: set DBStock in the settings file (" + empty.string() + ")"),
              std::string::npos)
        << no_stock.err;
    EXPECT_EQ(no_stock.out, "");
}

TEST_F(Program, JsonNumbersCarryNoDigitsBeyondSinglePrecision) {
    const Outcome r = hxq({"select", duty("glycol_cooling.toml"), "--json"});
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

TEST_F(Program, AnEngineErrorPrintsTheEngineText) {
    const fs::path p = write("crossing.toml", "model = \"Q22 H\"\nheat_load = \"30 kW\"\n"
                                              "[side1]\nfluid = \"water\"\ninlet_temp = \"70 °C\"\noutlet_temp = \"50 °C\"\n"
                                              "[side2]\nfluid = \"water\"\ninlet_temp = \"20 °C\"\noutlet_temp = \"80 °C\"\n");
    const Outcome r = hxq({"select", p.string()});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.err.find("Error number: 1 : Crossing or impossible temperatures."), std::string::npos) << r.err;
}

TEST_F(Program, ModelsListsTheTreeOfADuty) {
    const Outcome s = hxq({"models"});
    ASSERT_EQ(s.exit_code, 0) << s.err;
    EXPECT_NE(s.out.find("All single-phase units"), std::string::npos);
    EXPECT_NE(s.out.find("group (8 members)"), std::string::npos);
    EXPECT_EQ(s.out.find("Condensers"), std::string::npos);
    const Outcome c = hxq({"models", "--duty", "C", "--user-level", "C"});
    ASSERT_EQ(c.exit_code, 0) << c.err;
    EXPECT_NE(c.out.find("Dual-circuit condensers"), std::string::npos);
    EXPECT_EQ(c.out.find("Q320"), std::string::npos);  // user levels A and B only
}

}  // namespace
