#include "output/output_units.h"

namespace hxq::output {
namespace {

bool unit_of_group(std::int16_t unit, std::int16_t group) {
    return settings::UnitTable.Contains(unit) && settings::UnitTable(unit).GroupID == group;
}

}  // namespace

std::int16_t base_unit(std::int16_t group) {
    if (!settings::UnitGroupTable.Contains(group)) return 0;
    const settings::UnitGroupsType& g = settings::UnitGroupTable(group);
    return unit_of_group(g.BaseID, group) ? g.BaseID : g.SIID;
}

std::int16_t unit_or_base(const settings::UnitType& chosen, std::int16_t group) {
    return unit_or_base(chosen.UnitID, group);
}

std::int16_t unit_or_base(std::int16_t unit_id, std::int16_t group) {
    return unit_of_group(unit_id, group) ? unit_id : base_unit(group);
}

}  // namespace hxq::output
