#include "core/price_data.h"

#include "core/model_tree.h"

#include <fmt/format.h>

namespace hxq::core {

using platform::Recordset;
using platform::Variant;

void GetPriceData(const Variant& stock_id, std::int16_t price_id, Bounded<std::int16_t, 1, 20>& levels,
                  std::int16_t& level_count, PriceType& price, Recordset& stock, Recordset& cost, bool skip_stock) {
    // A model without a stock id has no stock row; searching "StockID=" alone would be
    // a malformed criterion.
    const std::string id = NullToText(stock_id);
    if (!skip_stock && !id.empty()) {
        const std::string criteria =
            Variant(id).to_number() ? "StockID=" + id : "StockID='" + JetText(id) + "'";
        if (stock.FindFirst(criteria)) {
            level_count = 0;
            for (int i = 1; i <= levels.upper; ++i) {
                const std::string level = NullToText(stock.Fields(fmt::format("Level{}", i)));
                if (level.empty()) break;
                ++level_count;
                levels[i] = ToInt16(Variant(level));
            }
        }
    }
    if (!cost.FindFirst(fmt::format("PriceID={}", price_id))) {
        price.Plateprice = kDefaultPlateprice;
        price.Startprice = kDefaultStartprice;
        price.PassPrice = kDefaultPassPrice;
        return;
    }
    price.Startprice = static_cast<float>(cost.Fields("TQSP1").as_double());
    price.Plateprice = static_cast<float>(cost.Fields("TQSP2").as_double());
    price.PassPrice = static_cast<float>(cost.Fields("PricePass").as_double());
}

std::string GetXPC(std::int16_t node, const std::string& main_database) {
    platform::Database db = platform::OpenDatabase(main_database);
    Recordset rs = db.OpenRecordset(fmt::format("SELECT XPC FROM XPC WHERE NodeID={}", node));
    std::string code;
    if (!(rs.BOF() && rs.Eof())) code = NullToText(rs.Fields("XPc"));
    rs.Close();
    db.Close();
    return code;
}

Variant FieldValueOrZero(const Variant& field) {
    if (field.is_null()) return Variant();
    if (field.is_text() && field.as_text().empty()) return Variant(0);
    return field;
}

}  // namespace hxq::core
