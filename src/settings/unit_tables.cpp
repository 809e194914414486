#include "settings/unit_tables.h"

#include "platform/db.h"

#include <charconv>
#include <limits>

namespace hxq::settings {

constinit IdIndexedTable<UnitType> UnitTable;
constinit IdIndexedTable<UnitGroupsType> UnitGroupTable;

namespace {

std::int16_t int16_field(const platform::Recordset& rs, std::string_view name) {
    const auto value = rs.Fields(name).as_integer();
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        throw platform::Error(6, "LoadUnitTables", "Overflow");
    return static_cast<std::int16_t>(value);
}

// Sizes `table` from the first to the last id of the ordered recordset and fills it row
// by row; `fill` reads one row into its element.
template <class T, class Fill>
bool read_ordered(platform::Recordset& rs, std::string_view id_field, IdIndexedTable<T>& table, Fill fill) {
    if (rs.RecordCount() == 0) return false;
    rs.MoveLast();
    const int last = int16_field(rs, id_field);
    rs.MoveFirst();
    const int first = int16_field(rs, id_field);
    table.Redim(first, last);
    for (; !rs.Eof(); rs.MoveNext()) fill(table(int16_field(rs, id_field)));
    return true;
}

}  // namespace

void LoadUnitTables(platform::Database& units_db, int unit_system) {
    // Both tables are built aside and published together, so a failure half-way leaves
    // the library-wide tables as they were.
    IdIndexedTable<UnitType> units;
    IdIndexedTable<UnitGroupsType> groups;

    auto rs = units_db.OpenRecordset("SELECT * FROM Convert ORDER BY UnitID", platform::RecordsetType::Snapshot);
    const bool have_units = read_ordered(rs, "UnitID", units, [&](UnitType& u) {
        u.sUnit = rs.Fields("unit").as_text();
        u.UnitID = int16_field(rs, "UnitID");
        u.GroupID = int16_field(rs, "UnitGroup");
    });
    rs.Close();

    rs = units_db.OpenRecordset("SELECT * FROM UnitGroups ORDER BY GroupID", platform::RecordsetType::Snapshot);
    const bool have_groups = read_ordered(rs, "GroupID", groups, [&](UnitGroupsType& g) {
        g.iGroupID = int16_field(rs, "GroupID");
        g.sGroupName = rs.Fields("GroupName").as_text();
        g.bSignDigit = int16_field(rs, "SignDigits");
        g.iOffset = static_cast<float>(rs.Fields("offset").as_double());
        g.SIID = int16_field(rs, "SIID");
        g.USID = int16_field(rs, "USID");
        g.BaseID = unit_system == kUnitSystemSI ? g.SIID : unit_system == kUnitSystemUS ? g.USID : 0;
    });
    rs.Close();

    if (have_units) UnitTable = std::move(units);
    if (have_groups) UnitGroupTable = std::move(groups);
}

UnitType& OutputUnitField(OutputUnitsType& u, std::size_t index) {
    switch (index) {
        case 0: return u.OHTC;
        case 1: return u.Area;
        case 2: return u.MTD;
        case 3: return u.Viscosity;
        case 4: return u.Density;
        case 5: return u.length;
        case 6: return u.Volume;
        case 7: return u.Weight;
        case 8: return u.HeatCapacity;
        case 9: return u.ThermalConductivity;
        case 10: return u.LatentHeat;
        case 11: return u.FilmCoeff;
        case 12: return u.Velocity;
        case 13: return u.PdropPorts;
        case 14: return u.ShearStress;
        case 15: return u.Op_Max_Pressure;
        case 16: return u.MaxWorkTemp;
        default: throw platform::Error(9, "OutputUnitsType", "Subscript out of range");
    }
}

const UnitType& OutputUnitField(const OutputUnitsType& units, std::size_t index) {
    return OutputUnitField(const_cast<OutputUnitsType&>(units), index);
}

UnitType UnitFromTable(std::int16_t id) {
    const UnitType& row = UnitTable(id);
    return UnitType{row.sUnit, id, row.GroupID};
}

void FillOutputUnits(OutputUnitsType& units, std::string_view list) {
    if (list.find_first_not_of(' ') == std::string_view::npos) return;  // an empty list names no unit
    std::size_t index = 0;
    std::size_t start = 0;
    while (index < kOutputUnitCount && start <= list.size()) {
        std::size_t end = list.find(';', start);
        if (end == std::string_view::npos) end = list.size();
        std::string_view item = list.substr(start, end - start);
        while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
        std::int16_t id = 0;
        auto [ptr, ec] = std::from_chars(item.data(), item.data() + item.size(), id);
        if (item.empty() || ec != std::errc() || ptr != item.data() + item.size())
            throw platform::Error(13, "FillOutputUnits", "Type mismatch");
        OutputUnitField(units, index++) = UnitFromTable(id);
        start = end + 1;
    }
}

std::string OutputUnitsText(const OutputUnitsType& units) {
    std::string out;
    for (std::size_t i = 0; i < kOutputUnitCount; ++i) {
        if (i) out += ';';
        out += std::to_string(OutputUnitField(units, i).UnitID);
    }
    return out;
}

}  // namespace hxq::settings
