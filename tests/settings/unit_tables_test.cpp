// The unit tables as loaded from the units database: the units the built-in output lists
// and the spreadsheet batch name, group consistency, BaseID by unit system, and the
// output-unit records.
#include "settings/unit_tables.h"

#include "platform/db.h"
#include "platform/error.h"
#include "settings/settings_fixture.h"

#include <gtest/gtest.h>

#include <set>

namespace hxq::settings {
namespace {

class UnitTablesTest : public test::SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        if (!test::units_db_built()) GTEST_SKIP();
        db_ = platform::OpenDatabase(test::units_db_path(), true);
        LoadUnitTables(db_, kUnitSystemSI);
    }
    const std::string& group_name(std::int16_t unit) { return UnitGroupTable(UnitTable(unit).GroupID).sGroupName; }
    std::int16_t unit_by_label(const std::string& label) {
        for (int id = UnitTable.LBound(); id <= UnitTable.UBound(); ++id)
            if (UnitTable(id).sUnit == label) return static_cast<std::int16_t>(id);
        ADD_FAILURE() << "no unit labelled " << label;
        return -1;
    }
    platform::Database db_;
};

// What each field of the output-unit record shows, in the SI and the US list (the labels
// are unique, so each also names its group).
TEST_F(UnitTablesTest, OutputListsNameTheUnitsTheirFieldsMean) {
    struct Field {
        const char* name;
        const char* si;
        const char* us;
    };
    const Field fields[kOutputUnitCount] = {
        {"OHTC", "W/m²,°C", "Btu/h,ft²,°F"},           {"Area", "m²", "ft²"},
        {"MTD", "ΔK", "Δ°F"},                           {"Viscosity", "cP", "cP"},
        {"Density", "kg/m³", "lb/ft³"},                 {"length", "mm", "in"},
        {"Volume", "l", "US gal"},                      {"Weight", "kg", "lb"},
        {"HeatCapacity", "kJ/kg,°C", "Btu/lb,°F"},      {"ThermalConductivity", "W/m,°C", "Btu/h,ft,°F"},
        {"LatentHeat", "kJ/kg", "Btu/lb"},              {"FilmCoeff", "W/m²,°C", "Btu/h,ft²,°F"},
        {"Velocity", "m/s", "ft/s"},                    {"PdropPorts", "kPa", "psi"},
        {"ShearStress", "Pa", "psi"},                   {"Op_Max_Pressure", "bar", "psi"},
        {"MaxWorkTemp", "°C", "°F"},
    };
    OutputUnitsType si, us;
    FillOutputUnits(si, kSIOutputUnits);
    FillOutputUnits(us, kUSOutputUnits);
    for (std::size_t i = 0; i < kOutputUnitCount; ++i) {
        SCOPED_TRACE(fields[i].name);
        EXPECT_EQ(OutputUnitField(si, i).sUnit, fields[i].si);
        EXPECT_EQ(OutputUnitField(us, i).sUnit, fields[i].us);
    }
}

TEST_F(UnitTablesTest, EveryUnitBelongsToAGroupWhoseSystemUnitsAreItsOwnAndBatchLabelsExist) {
    std::set<std::string> labels;
    int units = 0;
    for (int id = UnitTable.LBound(); id <= UnitTable.UBound(); ++id) {
        const auto& u = UnitTable(id);
        if (u.sUnit.empty()) continue;
        ++units;
        EXPECT_EQ(u.UnitID, id);
        EXPECT_TRUE(labels.insert(u.sUnit).second) << "label used twice: " << u.sUnit;
        ASSERT_TRUE(UnitGroupTable.Contains(u.GroupID)) << u.sUnit;
        EXPECT_EQ(UnitGroupTable(u.GroupID).iGroupID, u.GroupID) << u.sUnit;
    }
    EXPECT_GT(units, 70);
    for (int g = UnitGroupTable.LBound(); g <= UnitGroupTable.UBound(); ++g) {
        const auto& group = UnitGroupTable(g);
        EXPECT_EQ(UnitTable(group.SIID).GroupID, g) << group.sGroupName;
        EXPECT_EQ(UnitTable(group.USID).GroupID, g) << group.sGroupName;
        EXPECT_GT(group.bSignDigit, 0) << group.sGroupName;
    }
    EXPECT_FLOAT_EQ(UnitGroupTable(UnitTable(0).GroupID).iOffset, 273.15f);
    EXPECT_EQ(UnitGroupTable(UnitTable(0).GroupID).bSignDigit, 4);
    // The labels the spreadsheet batch names.
    for (const auto& [label, group] : {std::pair{"kW", "Heat load"}, {"°C", "Temperature"}, {"kPa", "Pressure"},
                                       {"kg/s", "Flow"}, {"%", "Percent"}, {"m²,°C/kW", "Fouling factor"}})
        EXPECT_EQ(group_name(unit_by_label(label)), group) << label;
}

TEST_F(UnitTablesTest, BaseUnitFollowsTheUnitSystemInForce) {
    const int temperature = UnitTable(0).GroupID;
    EXPECT_EQ(UnitGroupTable(temperature).BaseID, 0);
    LoadUnitTables(db_, kUnitSystemUS);
    EXPECT_EQ(UnitGroupTable(temperature).BaseID, 1);
    LoadUnitTables(db_, kUnitSystemUser);
    EXPECT_EQ(UnitGroupTable(temperature).BaseID, 0);
    EXPECT_EQ(UnitGroupTable(temperature).USID, 1);
}

TEST_F(UnitTablesTest, OutputListsFillInOrderAndRefuseBadEntries) {
    OutputUnitsType units;
    FillOutputUnits(units, "49; 40");
    EXPECT_EQ(units.OHTC.sUnit, "Btu/h,ft²,°F");
    EXPECT_EQ(units.Area.sUnit, "ft²");
    EXPECT_EQ(units.MTD, UnitType{});  // beyond the list: untouched
    FillOutputUnits(units, "");
    EXPECT_EQ(units.OHTC.UnitID, 49);
    // Eighteen entries: the eighteenth has no field.
    FillOutputUnits(units, std::string(kSIOutputUnits) + ";1");
    EXPECT_EQ(units.MaxWorkTemp.UnitID, 0);
    auto number_of = [&](std::string_view list) { return test::error_number([&] { FillOutputUnits(units, list); }); };
    EXPECT_EQ(number_of("48;;39"), 13);
    EXPECT_EQ(number_of("48;-5"), 9);
}

using UnitTablesLoad = test::SettingsTest;

TEST_F(UnitTablesLoad, ReadsSparseIdsAndKeepsTablesWhenTheDatabaseFails) {
    const char* convert_table =
        "CREATE TABLE Convert (UnitID INTEGER, unit TEXT, UnitGroup INTEGER, Mult REAL, \"Add\" REAL, Density INTEGER, "
        "Use BOOLEAN)";
    auto db = test::make_database(
        dir_ / "sparse.db",
        {"CREATE TABLE UnitGroups (GroupID INTEGER, GroupName TEXT, SignDigits INTEGER, \"offset\" REAL, SIID INTEGER, "
         "USID INTEGER)",
         convert_table, "INSERT INTO UnitGroups VALUES (7, 'Length', 3, 0, 105, 110), (9, 'Time', 2, 0.5, 120, 120)",
         "INSERT INTO Convert VALUES (120, 's', 9, 1, 0, 0, -1), (105, 'm', 7, 1, 0, 0, -1), "
         "(110, 'ft', 7, 0.3048, 0, 0, 0)"});
    LoadUnitTables(db, kUnitSystemUS);
    EXPECT_EQ(UnitTable.UBound(), 120);
    EXPECT_EQ(UnitTable(110), (UnitType{"ft", 110, 7}));
    EXPECT_EQ(UnitTable(111), UnitType{});
    EXPECT_EQ(UnitGroupTable.LBound(), 7);
    EXPECT_EQ(UnitGroupTable(9), (UnitGroupsType{"Time", 9, 2, 0.5f, 120, 120, 120}));
    EXPECT_EQ(UnitGroupTable(7).BaseID, 110);
    EXPECT_THROW(UnitTable(104), platform::Error);
    // A units database whose groups cannot be read leaves both tables as they were.
    auto bad =
        test::make_database(dir_ / "broken.db", {convert_table, "INSERT INTO Convert VALUES (1, 'x', 1, 1, 0, 0, -1)"});
    EXPECT_THROW(LoadUnitTables(bad, kUnitSystemSI), platform::Error);
    EXPECT_EQ(UnitTable.LBound(), 105);
    EXPECT_EQ(UnitTable(110).sUnit, "ft");
}

}  // namespace
}  // namespace hxq::settings
