// Unit conversion: clsConvert converts values between the units of the units database
// (volume flows through a fluid's density), formats values for display and fills unit
// menus; the module functions format values in a unit for the library's own outputs
// through one shared converter.
#pragma once

#include "records/calc_records.h"
#include "records/fluid_object.h"
#include "platform/db.h"
#include "platform/prompter.h"
#include "platform/variant.h"
#include "settings/unit_tables.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace hxq::settings {

// One entry of a menu control array.
struct MenuElement {
    std::string Caption;
    std::string Tag;
    bool operator==(const MenuElement&) const = default;
};

// A menu control array: element 0 is the one the form was designed with; further
// elements are loaded by index as they are needed.
class MenuControlArray {
public:
    MenuControlArray() { items_[0]; }

    bool Holds(int index) const { return items_.count(index) != 0; }
    // Loads a new element; loading an element that is already held is error 360.
    void Load(int index);
    // Error 340 for an element that is not loaded.
    MenuElement& operator()(int index);
    const MenuElement& operator()(int index) const;
    int Count() const { return static_cast<int>(items_.size()); }
    int UBound() const { return items_.rbegin()->first; }

private:
    std::map<int, MenuElement> items_;
};

// Where a converter created without arguments finds its database, unit system and
// prompter: by default the `ConvertDB` setting, the user's `UnitsSystem` and the
// library's prompter (settings/library_state.h). Hosts and tests may point them elsewhere.
struct ConvertContext {
    std::function<std::string()> convert_db;
    std::function<int()> unit_system;
    std::function<platform::Prompter&()> prompter;
};
ConvertContext& convert_context();

class clsConvert {
public:
    // Opens the database named by convert_context().
    clsConvert();
    // Opens `convert_db` (blanks around it ignored, "\" separators read as "/"), its
    // Convert snapshot, and loads the library-wide unit tables for `unit_system`. A
    // failure is shown through `prompter` ("Error No: ", number, description, source and
    // path on lines of their own) and leaves the object without an open recordset and
    // the unit tables as they were.
    clsConvert(const std::string& convert_db, int unit_system, platform::Prompter& prompter);
    ~clsConvert();
    clsConvert(const clsConvert&) = delete;
    clsConvert& operator=(const clsConvert&) = delete;

    std::string ShowVal(const platform::Variant& SngValue, std::int16_t SignificantDigits, float offset = 0.0f);

    // A value in unit ToUnit from its SI value.
    platform::Variant ConvertFromSI(const platform::Variant& InValue, std::int16_t ToUnit,
                                    core::FluidObject* FluidObject = nullptr, const platform::Variant& Temp = {});
    // The SI value of a value in unit FromUnit.
    platform::Variant ConvertToSI(const platform::Variant& InValue, std::int16_t FromUnit,
                                  core::FluidObject* FluidObject = nullptr, const platform::Variant& Temp = {});
    // The general conversion. ToSI missing: FromUnit to ToUnit; false: from SI to ToUnit;
    // true: FromUnit to SI. A value that is not a number comes back unchanged; a unit
    // without a row leaves the value unconverted (as a single). Units with a density rule
    // need FluidObject (error 424 without one) and, for the density at the flow's
    // temperature, a numeric Temp in °C (error 13 otherwise). The fluid's pressure is
    // the same after the call as before.
    platform::Variant Convert_(const platform::Variant& InValue, std::int16_t FromUnit, std::int16_t ToUnit,
                               core::FluidObject* FluidObject = nullptr, const platform::Variant& Temp = {},
                               std::optional<bool> ToSI = std::nullopt);

    // Fills elements 1, 2, ... of `mnu` with the offered units of group `ugroup` (caption
    // the label, tag the UnitID), loading elements as needed; `onlymass` leaves out the
    // units that need a fluid. Elements after the last unit stay as they were.
    void LoadMenu(MenuControlArray& mnu, std::int16_t ugroup, bool onlymass = false);

    // The database and its Convert snapshot are open (creation succeeded).
    bool IsOpen() const { return rs_.IsOpen(); }
    const std::string& DatabasePath() const { return path_; }

private:
    struct UnitRow {
        double Mult = 1;
        double Add = 0;
        std::int64_t Density = 0;
    };
    void rewind();
    std::optional<UnitRow> find_unit(std::int16_t unit);
    static double density_factor(const UnitRow& row, core::FluidObject* fluid, const platform::Variant& temp);

    std::string path_;
    platform::Database db_;
    platform::Recordset rs_;
};

// The converter the library's own modules share, created on first use from
// convert_context() and kept for the life of the library.
clsConvert& SharedConverter();
// Drops the shared converter so that the next use opens the database again (after the
// units database path changed; tests).
void ResetSharedConverter();

// A value in unit `unit` for display: GUnit is the unit's label, GVal the value with the
// significant digits and offset of the unit's group. With `raw` set, `raw_value` is shown
// as it is; otherwise `si_value` is converted from SI (with the fluid and temperature
// when Temp is present).
core::OutVal FormatInUnit(bool raw, std::int16_t unit, const platform::Variant& si_value,
                          const platform::Variant& raw_value, const platform::Variant& Temp = {},
                          core::FluidObject* FluidObject = nullptr);
// FormatInUnit as "GVal;GUnit".
std::string FormatInUnitText(bool raw, std::int16_t unit, const platform::Variant& si_value,
                             const platform::Variant& raw_value, const platform::Variant& Temp = {},
                             core::FluidObject* FluidObject = nullptr);

}  // namespace hxq::settings
