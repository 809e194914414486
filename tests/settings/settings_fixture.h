// What the settings tests share: a freshly started library per test (its own registry,
// settings file and working folder, empty unit tables), the built units database, scratch
// databases, and a gas whose density follows its pressure.
#pragma once

#include "platform/db.h"
#include "platform/registry.h"
#include "platform/scratch.h"
#include "records/fluid_object.h"
#include "settings/library_state.h"
#include "settings/unit_tables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

namespace hxq::test {

inline std::string units_db_path() { return std::string(HXQ_SAMPLE_DIR) + "/units.db"; }

// Fails the calling test (with a hint) when the units database has not been built.
inline bool units_db_built() {
    if (std::filesystem::exists(units_db_path())) return true;
    ADD_FAILURE() << units_db_path() << " is missing; build the hxq_sample_units target first";
    return false;
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(work());
        start(ini());
    }
    void TearDown() override { reset(); }
    // A library started again, reading its settings from `read`, writing to the working folder.
    void start(const std::filesystem::path& read) {
        reset();
        auto& host = settings::library_state().host;
        host.IniFilePath = read.string();
        host.WorkingPath = work().string();
    }
    static void reset() {
        settings::reset_library_state();
        settings::UnitTable.Clear();
        settings::UnitGroupTable.Clear();
    }

    // The file settings are read from, and the working folder they are written to.
    std::filesystem::path ini() const { return dir_ / "read.ini"; }
    std::filesystem::path work() const { return dir_ / "work"; }
    std::filesystem::path written() const { return work() / "hxq.ini"; }

    ScratchDir dir_;
    ScopedEnv registry_{platform::kRegistryEnv, dir_.file("registry.ini")};
};

// A new database made of SQL statements.
inline platform::Database make_database(const std::filesystem::path& path,
                                        std::initializer_list<const char*> statements) {
    platform::Database db = platform::CreateDatabase(path.string());
    for (const char* sql : statements) db.Execute(sql);
    return db;
}

// Air as an ideal gas, rho = p / (R T) with R = 287.05 J/(kg K) (ISO 2533): a conversion
// that forgets to restore the held pressure, or takes it at the wrong state, shows.
class IdealGasAir : public core::FluidObject {
public:
    explicit IdealGasAir(double pressure) : pressure_(pressure) {}

    std::int32_t GetFluidID() const override { return 1; }
    std::string YFluidName() const override { return "Test air"; }
    double YConc() const override { return 0; }
    bool YGas() const override { return true; }
    bool IsTwoPhase() const override { return false; }
    double YPressure() const override { return pressure_; }
    void SetYPressure(double pascal) override {
        pressure_ = pascal;
        ++pressure_writes;
    }
    double YDensity(double t) const override {
        last_temperature = t;
        return pressure_ / (287.05 * (t + 273.15));
    }
    double YHeatCapacity(double) const override { return 1006; }
    double YConductivity(double) const override { return 0.026; }
    double YViscosity(double) const override { return 1.8e-5; }

    mutable double last_temperature = -999;
    int pressure_writes = 0;

private:
    double pressure_;
};

}  // namespace hxq::test
