// Conversions through the built units database: factors, round trips within every
// group, units missing from the table, density-dependent units and unit menus.
#include "settings/convert.h"

#include "platform/db.h"
#include "platform/error.h"
#include "platform/locale.h"
#include "platform/prompter.h"
#include "settings/settings_fixture.h"
#include "settings/unit_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace hxq::settings {
namespace {

using platform::Variant;
using test::error_number;
using test::IdealGasAir;

// Unit ids of the units database used below.
constexpr std::int16_t kDegF = 1, kKelvin = 2, kW = 3, kKW = 4, kKgS = 9, kM3H = 14, kGpm = 17, kNm3H = 19;
constexpr std::int16_t kKPa = 23, kBar = 25, kFoulingKW = 79, kOhtcUS = 49, kMissing = 9999;

class ConvertTest : public test::SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        if (!test::units_db_built()) GTEST_SKIP();
        conv_ = std::make_unique<clsConvert>(test::units_db_path(), kUnitSystemSI, prompter_);
        ASSERT_TRUE(conv_->IsOpen()) << ::testing::PrintToString(prompter_.shown_texts());
    }
    double to_si(Variant v, std::int16_t unit, core::FluidObject* fluid = nullptr, Variant temp = {}) {
        return conv_->ConvertToSI(v, unit, fluid, temp).as_double();
    }
    double from_si(Variant v, std::int16_t unit, core::FluidObject* fluid = nullptr, Variant temp = {}) {
        return conv_->ConvertFromSI(v, unit, fluid, temp).as_double();
    }

    platform::ScriptedPrompter prompter_;
    std::unique_ptr<clsConvert> conv_;
};

TEST_F(ConvertTest, EngineeringUnitsConvertWithPublishedFactors) {
    struct Case {
        double value;
        std::int16_t from, to;
        double expected, tolerance;
    };
    constexpr std::int16_t kSI = -1;  // to the unit's SI unit
    // Offset units, a plain factor, a US compound unit, a factor below one, unit to unit.
    const Case cases[] = {
        {100, kDegF, kSI, 37.77778, 1e-4},   {300, kKelvin, kSI, 26.85, 1e-4},
        {12.5, kKW, kSI, 12500.0, 1e-9},     {1, kOhtcUS, kSI, 5.678263, 1e-6},
        {0.1, kFoulingKW, kSI, 1e-4, 1e-10}, {2, kBar, kKPa, 200.0, 1e-4},
    };
    for (const auto& c : cases) {
        const double got = c.to == kSI ? to_si(c.value, c.from) : conv_->Convert_(c.value, c.from, c.to).as_double();
        EXPECT_NEAR(got, c.expected, c.tolerance) << c.value << " " << UnitTable(c.from).sUnit;
    }
    EXPECT_NEAR(from_si(0, kKelvin), 273.15, 1e-4);
    // Texts are read with either decimal separator, whichever the user's is.
    for (const char* sep : {".", ","}) {
        platform::ScopedDecimalSeparator scoped(sep);
        EXPECT_NEAR(to_si(sep[0] == '.' ? "1,5" : "1.5", kKW), 1500.0, 1e-3) << sep;
    }
}

TEST_F(ConvertTest, NonNumbersAndUnitsMissingFromTheTableComeBackUnconverted) {
    EXPECT_EQ(conv_->Convert_(Variant("abc"), kKW, kW), Variant("abc"));
    EXPECT_EQ(conv_->ConvertToSI(Variant(""), kKW), Variant(""));
    EXPECT_TRUE(conv_->ConvertFromSI(Variant::null(), kKW).is_null());
    // Only the source known: the input, not its SI value.
    EXPECT_DOUBLE_EQ(conv_->Convert_(Variant(5.5), kKW, kMissing).as_double(), 5.5);
    EXPECT_DOUBLE_EQ(conv_->Convert_(Variant(5.5), kMissing, kKW).as_double(), 5.5);
    // ... held in single precision, as every converted input is.
    EXPECT_DOUBLE_EQ(conv_->ConvertToSI(Variant(0.1), kMissing).as_double(), static_cast<double>(0.1f));
    // A unit known again afterwards still converts: the failed search left nothing behind.
    EXPECT_DOUBLE_EQ(to_si(1, kKW), 1000.0);
}

// Every pair of units of every group, through the fluid where a unit needs one.
TEST_F(ConvertTest, RoundTripsBetweenEveryPairOfAGroupAgree) {
    IdealGasAir air(250000.0);
    const Variant temp(40.0);
    std::map<int, std::vector<std::int16_t>> groups;
    for (int id = UnitTable.LBound(); id <= UnitTable.UBound(); ++id)
        if (!UnitTable(id).sUnit.empty()) groups[UnitTable(id).GroupID].push_back(static_cast<std::int16_t>(id));
    ASSERT_GE(groups.size(), 18u);
    int pairs = 0;
    for (const auto& [group, units] : groups) {
        for (auto a : units) {
            for (auto b : units) {
                const double x = 37.25;
                const double y = conv_->Convert_(Variant(x), a, b, &air, temp).as_double();
                const double back = conv_->Convert_(Variant(y), b, a, &air, temp).as_double();
                EXPECT_NEAR(back, x, 1e-6 * x) << UnitTable(a).sUnit << " -> " << UnitTable(b).sUnit;
                // Unit to unit agrees with going through SI explicitly.
                const double via_si = from_si(to_si(Variant(x), a, &air, temp), b, &air, temp);
                EXPECT_NEAR(y, via_si, 1e-6 * std::fabs(via_si) + 1e-9) << UnitTable(a).sUnit << " -> " << UnitTable(b).sUnit;
                ++pairs;
            }
        }
    }
    EXPECT_GT(pairs, 200);
    EXPECT_DOUBLE_EQ(air.YPressure(), 250000.0);
}

TEST_F(ConvertTest, VolumeFlowsUseTheDensityAtTheFlowTemperature) {
    IdealGasAir air(500000.0);
    const double rho50 = 500000.0 / (287.05 * (50 + 273.15));
    // Temperatures given as text are read like any number.
    EXPECT_NEAR(to_si(3600, kM3H, &air, "50"), rho50, 1e-6 * rho50);
    const double gpm_si = to_si(1, kGpm, &air, 50.0);
    EXPECT_NEAR(gpm_si, 3.785411784e-3 / 60 * rho50, 1e-6 * gpm_si);
    EXPECT_EQ(air.pressure_writes, 0);
    // Without a fluid or a temperature they are errors.
    EXPECT_EQ(error_number([&] { to_si(10, kM3H); }), 424);
    EXPECT_EQ(error_number([&] { to_si(10, kM3H, &air); }), 13);
}

TEST_F(ConvertTest, NormalVolumesUseNormalConditionsAndPutThePressureBack) {
    IdealGasAir air(500000.0);
    const double rho_n = 100000.0 / (287.05 * (20 + 273.15));
    EXPECT_NEAR(to_si(3600, kNm3H, &air, 80.0), rho_n, 1e-6 * rho_n);
    EXPECT_DOUBLE_EQ(air.last_temperature, 20.0);
    EXPECT_DOUBLE_EQ(air.YPressure(), 500000.0);
    // Normal to actual volume flow: the ratio of the two densities.
    const double actual = conv_->Convert_(Variant(1000), kNm3H, kM3H, &air, 80.0).as_double();
    const double rho80 = 500000.0 / (287.05 * (80 + 273.15));
    EXPECT_NEAR(actual, 1000 * rho_n / rho80, 1e-3);
    // A fluid whose density call fails (a state outside its data) must not keep the
    // normal pressure the conversion set for it.
    class OutOfRange : public IdealGasAir {
    public:
        using IdealGasAir::IdealGasAir;
        double YDensity(double) const override { throw platform::object_error(3, "fluid", "outside limits"); }
    } fluid(300000.0);
    EXPECT_THROW(to_si(10, kNm3H, &fluid, 20.0), platform::Error);
    EXPECT_DOUBLE_EQ(fluid.YPressure(), 300000.0);
}

TEST_F(ConvertTest, MenusListTheOfferedUnitsOfAGroupAndGrow) {
    MenuControlArray menu;
    const std::int16_t flow = UnitTable(kKgS).GroupID;
    conv_->LoadMenu(menu, flow);
    std::vector<std::string> captions;
    for (int i = 1; i <= menu.UBound(); ++i) captions.push_back(menu(i).Caption);
    EXPECT_NE(std::find(captions.begin(), captions.end(), "m³/h"), captions.end());
    EXPECT_NE(std::find(captions.begin(), captions.end(), "Nm³/h"), captions.end());
    EXPECT_EQ(std::find(captions.begin(), captions.end(), "m³/s"), captions.end()) << "not offered";
    for (int i = 1; i <= menu.UBound(); ++i)
        EXPECT_EQ(UnitTable(std::stoi(menu(i).Tag)).sUnit, menu(i).Caption);
    // Only units that need no fluid; the elements after them keep what they held.
    const int loaded = menu.UBound();
    conv_->LoadMenu(menu, flow, true);
    const int mass_units = 5;  // kg/s, kg/h, lb/h, lb/min, t/h
    for (int i = 1; i <= mass_units; ++i) {
        const auto id = static_cast<std::int16_t>(std::stoi(menu(i).Tag));
        EXPECT_EQ(UnitTable(id).GroupID, flow);
        EXPECT_NO_THROW(to_si(1, id)) << menu(i).Caption << " needs a fluid";
    }
    for (int i = mass_units + 1; i <= loaded; ++i) EXPECT_EQ(menu(i).Caption, captions[static_cast<std::size_t>(i - 1)]);
    EXPECT_EQ(menu.UBound(), loaded);
}

TEST_F(ConvertTest, AFailedCreationIsShownAndLeavesTheTablesAsTheyWere) {
    const auto handles_before = platform::db_open_handles();
    {
        const auto units_before = UnitTable.UBound();
        const auto label = UnitTable(kKPa).sUnit;
        const std::string missing = dir_.file("nowhere.db");
        clsConvert bad("  " + missing + " ", kUnitSystemSI, prompter_);
        EXPECT_FALSE(bad.IsOpen());
        ASSERT_EQ(prompter_.shown().size(), 1u);
        const std::string& text = prompter_.shown()[0].text;
        EXPECT_EQ(text.rfind("Error No: 3024\n", 0), 0u) << text;
        EXPECT_EQ(text.substr(text.size() - missing.size() - 1), "\n" + missing) << text;
        EXPECT_EQ(UnitTable.UBound(), units_before);
        EXPECT_EQ(error_number([&] { bad.ConvertToSI(Variant(1), kKW); }), 91);
        // A database without the Convert table fails the same way.
        const auto empty = dir_ / "empty.db";
        test::make_database(empty, {"CREATE TABLE Other (x INTEGER)"});
        clsConvert no_table(empty.string(), kUnitSystemSI, prompter_);
        EXPECT_FALSE(no_table.IsOpen());
        EXPECT_EQ(prompter_.shown().size(), 2u);
        EXPECT_EQ(UnitTable(kKPa).sUnit, label);
    }
    // Failed or not, every converter closed what it opened.
    EXPECT_EQ(platform::db_open_handles().databases, handles_before.databases);
    EXPECT_EQ(platform::db_open_handles().recordsets, handles_before.recordsets);
}

// The library's own outputs go through the converter of the ConvertDB setting.
TEST_F(ConvertTest, SharedConverterFormatsInTheUnitWithItsGroupDigits) {
    library_state().Settings.ConvertDB = test::units_db_path();
    ResetSharedConverter();
    // The digits follow the user's separator (the display tests run both); one is enough here.
    platform::ScopedDecimalSeparator comma(",");
    const auto t = FormatInUnit(false, kDegF, Variant(25.0), Variant());
    EXPECT_EQ(t.GVal, "77,0");
    EXPECT_EQ(t.GUnit, "°F");
    EXPECT_EQ(FormatInUnitText(false, kKW, Variant(12500.0), Variant()), "12,5;kW");
    // The raw value as entered, in the unit's digits.
    EXPECT_EQ(FormatInUnitText(true, kKPa, Variant(), Variant("1.5")), "1,50;kPa");
    EXPECT_EQ(FormatInUnitText(true, kKPa, Variant(99.0), Variant()), ";kPa");
    // Volume flows through the fluid at its temperature.
    IdealGasAir air(100000.0);
    const double kg_s = 100000.0 / (287.05 * (20 + 273.15));  // 1 m³/s at 20 °C
    EXPECT_EQ(FormatInUnitText(false, kM3H, Variant(kg_s), Variant(), Variant(20.0), &air), "3600;m³/h");
    EXPECT_THROW(FormatInUnit(false, kMissing, Variant(1.0), Variant()), platform::Error);
    ResetSharedConverter();
}

}  // namespace
}  // namespace hxq::settings
