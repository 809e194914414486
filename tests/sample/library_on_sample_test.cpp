// The deliberate special cases of the sample range reach the library's own readers as
// intended: default prices, a stock list cut at its gap, article codes by node.
#include "sample_db.h"

#include "core/price_data.h"
#include "platform/db.h"

#include <gtest/gtest.h>

#include <string>

namespace hxq::sample_test {
namespace {

using platform::OpenDatabase;
using platform::Variant;

struct Priced {
    core::PriceType price;
    std::int16_t count = -1;
    core::Bounded<std::int16_t, 1, 20> levels;
};

Priced price_of(const std::string& model) {
    auto products = OpenDatabase((sample_dir() / "products.db").string(), true);
    auto stock_db = OpenDatabase((sample_dir() / "stock.db").string(), true);
    auto hxq = products.OpenRecordset("SELECT * FROM HXQ WHERE ModelName='" + model + "'");
    const auto id = static_cast<std::int16_t>(hxq.Fields("HXQID").as_integer());
    auto tree = products.OpenRecordset("SELECT * FROM ModelTree WHERE ModelID=" + std::to_string(id) +
                                       " AND Table='HXQ'");
    auto stock = stock_db.OpenRecordset("SELECT * FROM Stock");
    auto cost = products.OpenRecordset("SELECT * FROM Cost");
    Priced p;
    core::GetPriceData(tree.Fields("StockID"), static_cast<std::int16_t>(tree.Fields("PriceID").as_integer()),
                       p.levels, p.count, p.price, stock, cost, false);
    return p;
}

TEST(SampleWithLibrary, ModelWithoutCostRowGetsDefaultPricesAndItsStockStopsAtTheGap) {
    Priced q14 = price_of("Q14");
    EXPECT_FLOAT_EQ(q14.price.Startprice, core::kDefaultStartprice);
    EXPECT_FLOAT_EQ(q14.price.Plateprice, core::kDefaultPlateprice);
    EXPECT_FLOAT_EQ(q14.price.PassPrice, core::kDefaultPassPrice);
    EXPECT_EQ(q14.count, 2);
    EXPECT_EQ(q14.levels[1], 10);
    EXPECT_EQ(q14.levels[2], 20);
}

TEST(SampleWithLibrary, PricesGrowWithPlateSizeAndTheLargestStockUsesEveryLevel) {
    Priced small = price_of("Q10"), large = price_of("Q320");
    EXPECT_GT(large.price.Plateprice, 10 * small.price.Plateprice);
    // Start price of a unit a few times its plates, a pass a fraction of the start.
    for (const Priced* p : {&small, &large}) {
        EXPECT_GT(p->price.Startprice, 20 * p->price.Plateprice);
        EXPECT_LT(p->price.PassPrice, p->price.Startprice);
    }
    EXPECT_EQ(large.count, 20);
}

TEST(SampleWithLibrary, ArticleCodesOfNodes) {
    SampleDb db("products.db");
    const std::string main_db = (sample_dir() / "products.db").string();
    auto with = db.query("SELECT NodeID, XPc FROM XPC LIMIT 1");
    ASSERT_EQ(with.size(), 1u);
    EXPECT_EQ(core::GetXPC(static_cast<std::int16_t>(with[0].at("NodeID").integer()), main_db),
              with[0].at("XPc").text());
    auto without = db.query("SELECT NodeID FROM ModelTree WHERE \"Table\" = 'HXQ' AND "
                            "NodeID NOT IN (SELECT NodeID FROM XPC) LIMIT 1");
    ASSERT_EQ(without.size(), 1u);
    EXPECT_EQ(core::GetXPC(static_cast<std::int16_t>(without[0].at("NodeID").integer()), main_db), "");
}

}  // namespace
}  // namespace hxq::sample_test
