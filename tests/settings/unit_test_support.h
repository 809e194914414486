// Helpers of the unit conversion tests: the built units database, scratch databases
// written with plain SQL, and a gas whose density follows its pressure.
#pragma once

#include "records/fluid_object.h"
#include "settings/unit_tables.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

#include <unistd.h>

namespace hxq::settings::test {

inline std::string units_db_path() { return std::string(HXQ_SAMPLE_DIR) + "/units.db"; }

// Fails the calling test (with a hint) when the units database has not been built.
inline bool units_db_built() {
    if (std::filesystem::exists(units_db_path())) return true;
    ADD_FAILURE() << units_db_path() << " is missing; build the hxq_sample_units target first";
    return false;
}

// The library-wide unit tables are shared by every test of the binary: a test that loads
// other tables puts the previous ones back when it ends.
class UnitTablesSnapshot {
public:
    UnitTablesSnapshot() : units_(UnitTable), groups_(UnitGroupTable) {}
    ~UnitTablesSnapshot() {
        UnitTable = units_;
        UnitGroupTable = groups_;
    }
    UnitTablesSnapshot(const UnitTablesSnapshot&) = delete;
    UnitTablesSnapshot& operator=(const UnitTablesSnapshot&) = delete;

private:
    IdIndexedTable<UnitType> units_;
    IdIndexedTable<UnitGroupsType> groups_;
};

// A fresh folder of this test (and this process) under the scratch folder.
inline std::filesystem::path scratch_dir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    auto dir = std::filesystem::path(HXQ_TEST_TMP) / "settings-units" /
               (std::string(info->test_suite_name()) + "." + info->name() + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// Writes a SQLite database from SQL text.
inline void write_database(const std::filesystem::path& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    const std::string text = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << text;
}

// Air as an ideal gas: rho = p / (R T), R = 287.05 J/(kg K) for dry air (ISO 2533).
// Its density depends on the held pressure, so a conversion that forgets to restore the
// pressure, or takes it at the wrong state, shows up in the numbers.
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

}  // namespace hxq::settings::test
