// The user's product-range filter applied to one model-tree node: material, pressure
// class and factory of the node's base article, and optionally only the plate counts
// stocked in a warehouse with the allowed connections.
#pragma once

#include "records/bounded.h"
#include "records/calc_records.h"
#include "platform/db.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace hxq::core {

// Where the filter looks: the product database's Denomination table and the selector
// database. Either may be missing (a calculation on another product database); an
// active filter then fails with error 91, as on an unopened object.
struct FilterSources {
    platform::Recordset* Denomination = nullptr;
    platform::Database* Selector = nullptr;
};

// True when node `node` passes `filter` (always when the filter is not active). With
// `cew` set the warehouse plate counts go to `plates` (padded to three entries by
// repeating the last, at most 20 kept), their number to `count`, and `forced_stock` is
// set. `duty` is "SPC", "CON" or "VAP".
bool FilterCheck(std::string_view duty, std::int16_t node, const FilterSources& sources, const FilterType& filter,
                 bool& forced_stock, Bounded<std::int16_t, 1, 20>& plates, std::int16_t& count);

// The article criterion of a node's denomination, and the warehouse query of `cew`;
// exposed for the tests and the stock tools.
std::string ArticleCriteria(std::string_view cls, std::string_view type, std::string_view size,
                            const FilterType& filter);
std::string WarehousePlatesQuery(const std::string& article_criteria, const FilterType& filter);

}  // namespace hxq::core
