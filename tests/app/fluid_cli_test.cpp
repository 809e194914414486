// hxq fluids and hxq fluid as the user runs them: the catalogue of the sample installation,
// property values against published tables, the JSON keys, and what a bad request says.
#include "program_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>

namespace hxq::test {
namespace {

class FluidCommand : public ProgramTest {
protected:
    nlohmann::json json_of(std::vector<std::string> args) const {
        args.emplace_back("--json");
        const ProgramOutcome r = hxq(args);
        EXPECT_EQ(r.exit_code, 0) << r.err;
        return nlohmann::json::parse(r.out, nullptr, false);
    }
};

TEST_F(FluidCommand, CatalogueListsBuiltInFluidsAndRefrigerants) {
    const ProgramOutcome r = hxq({"fluids"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    for (const char* name : {"Water", "Ethylene glycol", "Propylene glycol", "Air", "Humid air", "R134a", "R32",
                             "R410A", "R407C", "R404A", "R507A", "R290", "R600a", "R717", "R1234yf",
                             "R1234ze(E)", "R744", "R22"})
        EXPECT_NE(r.out.find(std::string(" ") + name + " "), std::string::npos) << name;
    const nlohmann::json list = json_of({"fluids"});
    ASSERT_TRUE(list.is_array());
    for (const auto& e : list) {
        EXPECT_TRUE(e.contains("id") && e.contains("name") && e.contains("category")) << e.dump();
        EXPECT_LT(e["t_min"].get<double>(), e["t_max"].get<double>()) << e.dump();
    }
}

// Liquid water at 1 bar (physics.md table: 20 °C ρ 998.2, cp 4.184 kJ/kgK, μ 1.002 mPa s,
// λ 0.598 W/mK) and R134a at 0 °C (p 292.8 kPa, Δh_lv 198.6 kJ/kg).
TEST_F(FluidCommand, PropertiesInSIUnitsUnderTheirKeys) {
    const nlohmann::json w = json_of({"fluid", "Water", "--temp", "20"});
    EXPECT_NEAR(w["density"].get<double>(), 998.2, 0.1);
    EXPECT_NEAR(w["cp"].get<double>(), 4184, 2);
    EXPECT_NEAR(w["viscosity"].get<double>(), 1.002e-3, 0.002e-3);
    EXPECT_NEAR(w["conductivity"].get<double>(), 0.598, 0.001);

    const nlohmann::json r = json_of({"fluid", "R134a", "--temp", "0", "--sat"});
    EXPECT_NEAR(r["p_bubble"].get<double>(), 292.8e3, 0.2e3);
    EXPECT_NEAR(r["p_dew"].get<double>(), 292.8e3, 0.2e3);
    EXPECT_NEAR(r["h_lv"].get<double>(), 198.6e3, 0.2e3);
    for (const char* key : {"rho_liq", "rho_vap", "cp_liq", "cp_vap", "mu_liq", "mu_vap", "lambda_liq",
                            "lambda_vap", "sigma"})
        EXPECT_GT(r[key].get<double>(), 0) << key;
    EXPECT_GT(r["rho_liq"].get<double>(), 50 * r["rho_vap"].get<double>());
    // At the default 1 bar R134a is superheated vapour at 0 °C.
    EXPECT_LT(r["density"].get<double>(), r["rho_vap"].get<double>());
}

TEST_F(FluidCommand, ConcentrationInItsOwnUnit) {
    const ProgramOutcome glycol = hxq({"fluid", "MEG", "--conc", "40", "--temp", "0"});
    EXPECT_NE(glycol.out.find(", 40 %"), std::string::npos) << glycol.out;
    const ProgramOutcome air = hxq({"fluid", "Humid air", "--conc", "5", "--temp", "30", "--pressure", "700000"});
    ASSERT_EQ(air.exit_code, 0) << air.err;
    EXPECT_NE(air.out.find(", 5 g/kg"), std::string::npos) << air.out;
}

TEST_F(FluidCommand, BadRequestsFailWithTheReasonNotANumber) {
    const ProgramOutcome unknown = hxq({"fluid", "Watr", "--temp", "20"});
    EXPECT_NE(unknown.exit_code, 0);
    EXPECT_NE(unknown.err.find("Water"), std::string::npos) << unknown.err;
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"fluid", "Water", "--temp", "400"},
             {"fluid", "MEG", "--conc", "40", "--temp", "-30"},
             {"fluid", "MEG", "--conc", "70", "--temp", "20"},
             {"fluid", "R134a", "--temp", "120", "--sat"},
             {"fluid", "R134a", "--temp", "100", "--pressure", "100000"}}) {
        const ProgramOutcome r = hxq(args);
        EXPECT_NE(r.exit_code, 0) << args[1] << " " << args[3];
        EXPECT_NE(r.err.find("hxq: "), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find("nan"), std::string::npos) << r.out;
    }
}

}  // namespace
}  // namespace hxq::test
