// hxq convert as the user runs it: values between units of the built units database,
// volume flows through a fluid's density, and the messages of what cannot be converted.
#include "program_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace hxq::test {
namespace {

class ConvertCommand : public ProgramTest {
protected:
    // The number of a "<number> <unit>" line, checking that the unit is `unit`.
    static double value_in(const ProgramOutcome& r, const std::string& unit) {
        EXPECT_EQ(r.exit_code, 0) << r.err;
        EXPECT_EQ(r.err, "");
        const std::string suffix = " " + unit + "\n";
        EXPECT_TRUE(r.out.size() > suffix.size() && r.out.compare(r.out.size() - suffix.size(), suffix.size(), suffix) == 0)
            << r.out;
        return std::strtod(r.out.c_str(), nullptr);
    }
};

TEST_F(ConvertCommand, ConvertsWithThePublishedFactors) {
    EXPECT_NEAR(value_in(hxq({"convert", "100", "degF", "degC"}), "°C"), 37.77778, 1e-5);
    EXPECT_NEAR(value_in(hxq({"convert", "1", "TR", "kW"}), "kW"), 3.516853, 1e-6);
    EXPECT_NEAR(value_in(hxq({"convert", "1", "psi", "kPa"}), "kPa"), 6.894757, 1e-6);
    EXPECT_NEAR(value_in(hxq({"convert", "0.1", "m²,°C/kW", "h,ft²,°F/Btu"}), "h,ft²,°F/Btu"), 5.678263e-4, 1e-9);
    // Negative values are values, not options.
    EXPECT_NEAR(value_in(hxq({"convert", "-40", "°F", "°C"}), "°C"), -40.0, 1e-5);
    EXPECT_NEAR(value_in(hxq({"convert", "0", "K", "°C"}), "°C"), -273.15, 1e-4);
}

TEST_F(ConvertCommand, UnitsByLabelKeyboardFormOrIdAndEitherSeparator) {
    EXPECT_EQ(hxq({"convert", "1,5", "kW", "W"}).out, "1500 W\n");
    EXPECT_EQ(hxq({"convert", "1.5", "KW", "w"}).out, "1500 W\n");  // one label equal without case
    EXPECT_EQ(hxq({"convert", "2", "25", "23"}).out, "200 kPa\n");  // bar to kPa by UnitID
    // The spellings duty files accept: "C" for "°C" between "," and "/".
    EXPECT_EQ(hxq({"convert", "0.1", "m2,C/kW", "m2,C/W"}).out, "0.0001 m²,°C/W\n");
    EXPECT_EQ(hxq({"convert", "1", "Btu/lb,F", "kJ/kg,C"}).out, "4.1868 kJ/kg,°C\n");
    EXPECT_EQ(hxq({"convert", "3600", "m3/h", "m^3/s", "--fluid", "Water", "--temp", "20"}).out, "1 m³/s\n");
    EXPECT_EQ(hxq({"convert", "0.005", "kW", "W", "--display"}).out, "5.00 W\n");
}

TEST_F(ConvertCommand, VolumeFlowsNeedAFluidAndItsTemperature) {
    // Water at 20 °C: 998.21 kg/m³ (IAPWS-95).
    EXPECT_NEAR(value_in(hxq({"convert", "1", "m3/h", "kg/s", "--fluid", "Water", "--temp", "20"}), "kg/s"),
                998.21 / 3600.0, 2e-6);
    // A normal volume takes the density at 20 °C and 100000 Pa whatever the pressure given.
    const double normal = value_in(hxq({"convert", "100", "Nm3/h", "kg/h", "--fluid", "Air"}), "kg/h");
    EXPECT_NEAR(normal, 100 * 100000.0 / (287.05 * 293.15), 0.2);
    EXPECT_DOUBLE_EQ(value_in(hxq({"convert", "100", "Nm3/h", "kg/h", "--fluid", "Air", "--pressure", "500000"}), "kg/h"),
                     normal);

    ProgramOutcome r = hxq({"convert", "1", "m3/h", "kg/s"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("needs the density of a fluid: give --fluid NAME"), std::string::npos) << r.err;
    r = hxq({"convert", "1", "m3/h", "kg/s", "--fluid", "Water"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.err.find("needs the fluid's temperature: give --temp T"), std::string::npos) << r.err;
}

TEST_F(ConvertCommand, AStoredUserFluidConvertsLikeABuiltInOne) {
    // The sample installation's user fluid database holds a 30 % glycol solution; about
    // 1040 kg/m³ at 20 °C like the ethylene glycol it was fitted to.
    const double kg_s = value_in(hxq({"convert", "3.6", "m3/h", "kg/s", "--fluid", "Glycol 30 % sample", "--temp", "20"}),
                                 "kg/s");
    EXPECT_NEAR(kg_s * 1000.0, 1040.0, 15.0);
}

TEST_F(ConvertCommand, WhatCannotBeConvertedIsSaidAndFails) {
    ProgramOutcome r = hxq({"convert", "1", "furlong", "m"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("unknown unit 'furlong'; nearest: "), std::string::npos) << r.err;

    r = hxq({"convert", "1", "kW", "bar"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.err.find("kW (Heat load) and bar (Pressure) measure different quantities"), std::string::npos) << r.err;

    r = hxq({"convert", "one", "kW", "W"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.err.find("'one' is not a number"), std::string::npos) << r.err;

    r = hxq({"convert", "1", "kW"});
    EXPECT_EQ(r.exit_code, 2);
    EXPECT_NE(r.err.find("give VALUE FROM_UNIT TO_UNIT"), std::string::npos) << r.err;

    r = hxq({"convert", "1e38", "MW", "W"});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("1e38 MW in W is beyond the range of the conversion"), std::string::npos) << r.err;

    r = hxq({"convert", "1", "kW", "W", "--units-db", (dir_ / "missing.db").string()});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.err.find("cannot open the units database"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("missing.db"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir_ / "missing.db"));
}

TEST_F(ConvertCommand, DatabasesAreTheSettingsOfTheRegistryStore) {
    const auto units = write("registry.ini", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Qarn\\HXQ\\Settings]\r\nConvertDB=" +
                                                 std::string(HXQ_SAMPLE_DIR) + "/units.db\r\nDBFluid2000=" +
                                                 (dir_ / "nofluids.db").string() + "\r\n");
    EXPECT_EQ(hxq({"convert", "2", "bar", "kPa"}, {"HXQ_REGISTRY=" + units.string()}).out, "200 kPa\n");
    // Refrigerants come from the fluid database of the setting DBFluid2000.
    const ProgramOutcome refrigerant =
        hxq({"convert", "1", "m3/h", "kg/s", "--fluid", "R134a", "--temp", "20"}, {"HXQ_REGISTRY=" + units.string()});
    EXPECT_EQ(refrigerant.exit_code, 1);
    EXPECT_NE(refrigerant.err.find("nofluids.db"), std::string::npos) << refrigerant.err;
    EXPECT_EQ(hxq({"convert", "1", "m3/h", "kg/s", "--fluid", "R134a", "--temp", "20"}).exit_code, 0);

    const auto elsewhere = write("elsewhere.ini", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Qarn\\HXQ\\Settings]\r\n"
                                                  "ConvertDB=" + (dir_ / "moved.db").string() + "\r\n");
    const ProgramOutcome r = hxq({"convert", "2", "bar", "kPa"}, {"HXQ_REGISTRY=" + elsewhere.string()});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.err.find("moved.db"), std::string::npos) << r.err;
    // --units-db wins over the setting.
    EXPECT_EQ(hxq({"convert", "2", "bar", "kPa", "--units-db", std::string(HXQ_SAMPLE_DIR) + "/units.db"},
                  {"HXQ_REGISTRY=" + elsewhere.string()})
                  .out,
              "200 kPa\n");
}

TEST_F(ConvertCommand, ListShowsEveryGroupWithItsUnitsAndIds) {
    const ProgramOutcome r = hxq({"convert", "--list"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_NE(r.out.find("Temperature: °C [0] °F [1] K [2]\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("m²,°C/kW [79]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("US gpm [17]"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace hxq::test
