// Price parameters and stock levels of a model, and the article code of a model-tree
// node.
#pragma once

#include "records/bounded.h"
#include "records/calc_records.h"
#include "platform/db.h"
#include "platform/variant.h"

#include <cstdint>
#include <string>

namespace hxq::core {

// Prices of a model that has no Cost row.
inline constexpr float kDefaultStartprice = 1000;
inline constexpr float kDefaultPlateprice = 10;
inline constexpr float kDefaultPassPrice = 1000;

// Unless `skip_stock`: the stock levels "Level1".."Level20" of the Stock row of
// `stock_id` up to the first empty one (levels untouched when there is no row). Then
// the Cost row of `price_id` ("TQSP1" start, "TQSP2" per plate, "PricePass" per pass),
// or the default prices.
void GetPriceData(const platform::Variant& stock_id, std::int16_t price_id, Bounded<std::int16_t, 1, 20>& levels,
                  std::int16_t& level_count, PriceType& price, platform::Recordset& stock, platform::Recordset& cost,
                  bool skip_stock);

// The article code ("XPc" of table XPC) of node `node` in the main product database at
// `main_database`; "" when the node has none.
std::string GetXPC(std::int16_t node, const std::string& main_database);

// The field's value for arithmetic: Null becomes the empty value and "" the integer 0,
// so that both count as 0.
platform::Variant FieldValueOrZero(const platform::Variant& field);

}  // namespace hxq::core
