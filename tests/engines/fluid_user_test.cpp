#include "engines/fluid/catalogue.h"
#include "engines/fluid/fluid_error.h"
#include "engines/fluid/user_fluid.h"
#include "fluid_test_util.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

namespace hxq::engines::fluid {
namespace {

using testing::rel;

const std::string kUserDb = std::string(HXQ_SAMPLE_DIR) + "/userfluids.db";
const std::string kDb = std::string(HXQ_SAMPLE_DIR) + "/fluids.db";

class FluidUser : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kUserDb) || !std::filesystem::exists(kDb))
            GTEST_SKIP() << "build the sample databases first";
        set_fluids_database(kDb);
        set_user_fluids_database(kUserDb);
    }
    void TearDown() override {
        set_user_fluids_database("");
        set_fluids_database("");
    }
};

TEST_F(FluidUser, ListedWithOffsetIdentifiers) {
    int found = 0;
    for (const auto& e : catalogue())
        if (e.user) {
            ++found;
            EXPECT_GT(e.id, kUserFluidIdBase);
        }
    EXPECT_EQ(found, 3);
    auto f = create_fluid("Glycol 30 % sample");
    EXPECT_EQ(f->GetFluidID(), kUserFluidIdBase + 1);
    EXPECT_FALSE(f->IsTwoPhase());
    EXPECT_TRUE(create_fluid("R134a sample")->IsTwoPhase());
}

// The sample fluids were fitted through samples of built-in fluids: at the samples they
// reproduce them, between them they stay close.
TEST_F(FluidUser, LiquidFitReproducesItsSamples) {
    auto user = create_fluid("Glycol 30 % sample");
    auto meg = create_fluid("MEG", 30);
    for (double t : {0.0, 20.0, 40.0}) {
        EXPECT_NEAR(rel(user->YDensity(t), meg->YDensity(t)), 0, 1e-9) << t;
        EXPECT_NEAR(rel(user->YHeatCapacity(t), meg->YHeatCapacity(t)), 0, 1e-9) << t;
        EXPECT_NEAR(rel(user->YConductivity(t), meg->YConductivity(t)), 0, 1e-9) << t;
        EXPECT_NEAR(rel(user->YViscosity(t), meg->YViscosity(t)), 0, 1e-9) << t;
    }
    for (double t : {5.0, 13.0, 31.0})
        EXPECT_NEAR(rel(user->YViscosity(t), meg->YViscosity(t)), 0, 0.02) << t;
    EXPECT_THROW(user->YDensity(41), OutOfRange);
    try {  // a liquid has no saturation line
        user->SatPressureDew(20);
        FAIL();
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.number(), platform::kObjectError + 3);
    }
}

TEST_F(FluidUser, TwoPhaseFitAgainstTheTables) {
    auto user = create_fluid("R134a sample");
    auto ref = create_fluid("R134a");
    for (double t : {-20.0, 0.0, 20.0, 40.0, 60.0}) {
        EXPECT_NEAR(rel(user->SatPressureDew(t), ref->SatPressureDew(t)), 0, 1e-8) << t;
        EXPECT_NEAR(rel(user->LatentHeat(t), ref->LatentHeat(t)), 0, 1e-6) << t;
        EXPECT_NEAR(rel(user->RefLiquid(t).Density, ref->RefLiquid(t).Density), 0, 1e-6) << t;
        EXPECT_NEAR(rel(user->RefVapor(t).Viscosity, ref->RefVapor(t).Viscosity), 0, 1e-6) << t;
    }
    for (double t : {-10.0, 10.0, 30.0, 50.0}) {
        EXPECT_NEAR(rel(user->SatPressureDew(t), ref->SatPressureDew(t)), 0, 2e-3) << t;
        EXPECT_NEAR(rel(user->RefVapor(t).Density, ref->RefVapor(t).Density), 0, 0.005) << t;
        EXPECT_NEAR(rel(user->SurfaceTension(t), ref->SurfaceTension(t)), 0, 0.15) << t;
    }
    // Superheated vapour: enthalpy from the dew point along the fitted cp.
    const double p = ref->SatPressureDew(0);
    const auto v = user->VaporState(p, 20);
    EXPECT_NEAR(rel(v.Enthalpy, ref->VaporState(p, 20).Enthalpy), 0, 3e-3);
    EXPECT_THROW(user->VaporState(p, -5), OutOfRange);
    EXPECT_FALSE(user->FluidInfo().Glide);
}

TEST_F(FluidUser, GlideFluidHasTwoLines) {
    auto user = create_fluid("R407C sample");
    auto ref = create_fluid("R407C");
    EXPECT_TRUE(user->FluidInfo().Glide);
    const double p = ref->SatPressureDew(10);
    EXPECT_NEAR(user->SatTemperatureDew(p), 10, 0.05);
    EXPECT_NEAR(user->SatTemperatureBubble(p), ref->SatTemperatureBubble(p), 0.05);
    EXPECT_NEAR(rel(user->LatentHeat(10), ref->LatentHeat(10)), 0, 5e-3);
    // Its data start above Tr = 0.7; the acentric factor comes from the nearest point. A
    // corresponding-states estimate for a blend: within 20 % of the blend's own data.
    EXPECT_NEAR(rel(user->SurfaceTension(10), ref->SurfaceTension(10)), 0, 0.2);
}

class FluidUserBroken : public ::testing::Test {
protected:
    std::string dir = std::string(HXQ_TEST_TMP) + "/fluid-user-test";
    std::string path = dir + "/broken.db";
    void SetUp() override {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        const char* sql =
            "CREATE TABLE Info (FluidID INTEGER PRIMARY KEY, HelpName TEXT, Category TEXT, Reference TEXT);"
            "CREATE TABLE Liquid (FluidID INTEGER, TKmin REAL, TKmax REAL, eqRHOl INTEGER, cRHOl0 REAL,"
            " eqCPl INTEGER, cCPl0 REAL, eqLAMl INTEGER, cLAMl0 REAL, eqMUl INTEGER, cMUl0 REAL);"
            "INSERT INTO Info VALUES (1, 'Flat oil', 'LIQ', 'test');"
            "INSERT INTO Liquid VALUES (1, 263, 373, 1, 870, 1, 2.0, 1, 0.13, 2, 2.302585092994046);"
            "INSERT INTO Info VALUES (2, 'No viscosity', 'LIQ', 'test');"
            "INSERT INTO Liquid VALUES (2, 263, 373, 1, 870, 1, 2.0, 1, 0.13, 0, NULL);"
            "INSERT INTO Info VALUES (3, 'Two phase without vapour', 'LIQVAP', 'test');"
            "INSERT INTO Liquid VALUES (3, 263, 373, 1, 870, 1, 2.0, 1, 0.13, 1, 1.0);"
            "INSERT INTO Info VALUES (4, 'Damaged', 'LIQ', 'test');"
            "INSERT INTO Liquid VALUES (4, 263, 373, 1, 'x870', 1, 2.0, 1, 0.13, 1, 1.0);";
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        set_user_fluids_database(path);
    }
    void TearDown() override {
        set_user_fluids_database("");
        std::filesystem::remove_all(dir);
    }
};

TEST_F(FluidUserBroken, ConstantFitsAndIncompleteRows) {
    // Constant coefficients; missing coefficient columns count as 0. Units: kJ/kgK, mPa s.
    auto oil = create_fluid("Flat oil");
    EXPECT_DOUBLE_EQ(oil->YDensity(50), 870);
    EXPECT_DOUBLE_EQ(oil->YHeatCapacity(50), 2000);
    EXPECT_NEAR(oil->YViscosity(50), 10e-3, 1e-12);  // exp(ln 10) mPa s
    EXPECT_THROW(oil->YDensity(101), OutOfRange);    // TKmax 373 = 100 °C
    EXPECT_THROW(create_fluid("No viscosity"), FluidDatabaseError);
    EXPECT_THROW(create_fluid("Two phase without vapour"), FluidDatabaseError);
    EXPECT_THROW(create_fluid("Damaged"), FluidDatabaseError);
}

}  // namespace
}  // namespace hxq::engines::fluid
