// The library-wide unit and quantity-group tables, filled from the units database, and
// the output-unit records built on them. Every class of the library reads these tables;
// they change only when LoadUnitTables runs again (a new converter, a new unit system).
#pragma once

#include "platform/error.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hxq::platform {
class Database;
}

namespace hxq::settings {

// One unit as the tables know it.
struct UnitType {
    std::string sUnit;           // the label shown to the user
    std::int16_t UnitID = 0;
    std::int16_t GroupID = 0;    // quantity group (UnitGroupsType::iGroupID)
    bool operator==(const UnitType&) const = default;
};

// One quantity group.
struct UnitGroupsType {
    std::string sGroupName;
    std::int16_t iGroupID = 0;
    std::int16_t bSignDigit = 0;  // significant digits shown for values of the group
    float iOffset = 0;            // added before the magnitude is taken (273.15 for temperatures)
    std::int16_t BaseID = 0;      // the group's unit in the unit system in force at load
    std::int16_t SIID = 0;
    std::int16_t USID = 0;
    bool operator==(const UnitGroupsType&) const = default;
};

// An array indexed directly by identifier, from the lowest to the highest one loaded;
// indexes without a row hold an empty element. Indexing outside the bounds (or an
// unloaded table) is error 9, "Subscript out of range".
template <class T>
class IdIndexedTable {
public:
    constexpr IdIndexedTable() = default;

    T& operator()(int id) { return items_[slot(id)]; }
    const T& operator()(int id) const { return items_[slot(id)]; }

    bool Contains(int id) const { return !items_.empty() && id >= lower_ && id - lower_ < static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    int LBound() const { return lower_; }
    int UBound() const { return lower_ + static_cast<int>(items_.size()) - 1; }

    // Resizes to lower..upper with empty elements (ReDim).
    void Redim(int lower, int upper) {
        lower_ = lower;
        items_.assign(upper >= lower ? static_cast<std::size_t>(upper - lower + 1) : 0, T{});
    }
    void Clear() { Redim(0, -1); }

private:
    std::size_t slot(int id) const {
        if (!Contains(id)) throw platform::Error(9, "UnitTables", "Subscript out of range");
        return static_cast<std::size_t>(id - lower_);
    }
    int lower_ = 0;
    std::vector<T> items_;
};

// Library-wide tables, filled by LoadUnitTables.
extern IdIndexedTable<UnitType> UnitTable;
extern IdIndexedTable<UnitGroupsType> UnitGroupTable;

// Unit systems of the user settings.
inline constexpr int kUnitSystemSI = 0;
inline constexpr int kUnitSystemUS = 1;
inline constexpr int kUnitSystemUser = 2;

// Fills UnitTable from the units database's Convert table and UnitGroupTable from its
// UnitGroups table. BaseID takes SIID for unit system 0, USID for 1, and stays 0 for any
// other. Tables without rows leave the matching table as it was.
void LoadUnitTables(platform::Database& units_db, int unit_system);

// The unit in which each output quantity is shown, in the stored order.
struct OutputUnitsType {
    UnitType OHTC;
    UnitType Area;
    UnitType MTD;
    UnitType Viscosity;
    UnitType Density;
    UnitType length;
    UnitType Volume;
    UnitType Weight;
    UnitType HeatCapacity;
    UnitType ThermalConductivity;
    UnitType LatentHeat;
    UnitType FilmCoeff;
    UnitType Velocity;
    UnitType PdropPorts;
    UnitType ShearStress;
    UnitType Op_Max_Pressure;
    UnitType MaxWorkTemp;
    bool operator==(const OutputUnitsType&) const = default;
};

inline constexpr std::size_t kOutputUnitCount = 17;

// The built-in output-unit lists: UnitIDs in field order joined by ";".
inline constexpr std::string_view kSIOutputUnits = "48;39;70;41;42;52;54;32;44;46;59;48;50;23;24;25;0";
inline constexpr std::string_view kUSOutputUnits = "49;40;71;41;43;53;55;35;45;47;60;49;51;27;27;27;1";

// The field of an OutputUnitsType at position 0..16 of the stored order.
UnitType& OutputUnitField(OutputUnitsType& units, std::size_t index);
const UnitType& OutputUnitField(const OutputUnitsType& units, std::size_t index);

// A unit filled from the unit table: sUnit and GroupID of UnitTable(id), UnitID = id.
UnitType UnitFromTable(std::int16_t id);

// Fills the fields of `units` in order from a ";"-separated list of UnitIDs, at most 17;
// fields beyond the list keep their values. An entry that is not a whole number is
// error 13, "Type mismatch"; an id outside the unit table is error 9.
void FillOutputUnits(OutputUnitsType& units, std::string_view list);

// The 17 UnitIDs of `units` joined by ";".
std::string OutputUnitsText(const OutputUnitsType& units);

}  // namespace hxq::settings
