#include "core/price_data.h"
#include "core/fixture.h"
#include "platform/error.h"

#include <gtest/gtest.h>

namespace hxq::core {
namespace {

using platform::Recordset;
using platform::Variant;

class PriceDataTest : public test::ScratchTest {
protected:
    void SetUp() override {
        std::string sql = "CREATE TABLE Stock (StockID TEXT";
        for (int i = 1; i <= 20; ++i) sql += ", Level" + std::to_string(i) + " TEXT";
        sql += R"();
INSERT INTO Stock (StockID, Level1, Level2, Level3, Level4) VALUES ('5', '10', '20', '', '40');
INSERT INTO Stock (StockID, Level1, Level2, Level3) VALUES ('6', '12', '24', '36');
CREATE TABLE Cost (PriceID SMALLINT, TQSP1 REAL, TQSP2 REAL, PricePass REAL);
INSERT INTO Cost VALUES (3, 850, 12.5, 300);
CREATE TABLE XPC (NodeID SMALLINT, XPc TEXT);
INSERT INTO XPC VALUES (12, 'QB*H*10*316*H*1P*S');
)";
        db = open("p.db", sql);
        stock = db.OpenRecordset("Stock");
        cost = db.OpenRecordset("Cost");
    }
    platform::Database db;
    Recordset stock, cost;
    Bounded<std::int16_t, 1, 20> levels{};
    std::int16_t count = -1;
    PriceType price;
};

TEST_F(PriceDataTest, ModelWithoutCostRowGetsTheDefaultPrices) {
    GetPriceData(Variant("6"), 99, levels, count, price, stock, cost, false);
    EXPECT_EQ(price.Startprice, 1000);
    EXPECT_EQ(price.Plateprice, 10);
    EXPECT_EQ(price.PassPrice, 1000);
    EXPECT_EQ(count, 3);  // the stock is read all the same
}

TEST_F(PriceDataTest, CostRow) {
    GetPriceData(Variant(6), 3, levels, count, price, stock, cost, false);
    EXPECT_EQ(price.Startprice, 850);
    EXPECT_EQ(price.Plateprice, 12.5f);
    EXPECT_EQ(price.PassPrice, 300);
}

TEST_F(PriceDataTest, StockLevelsStopAtTheFirstEmptyLevel) {
    GetPriceData(Variant("5"), 3, levels, count, price, stock, cost, false);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(levels[1], 10);
    EXPECT_EQ(levels[2], 20);
    EXPECT_EQ(levels[4], 0);  // the later level is not read
}

TEST_F(PriceDataTest, StockLeftAloneWhenSkippedMissingOrWithoutId) {
    levels[1] = 77;
    GetPriceData(Variant("6"), 3, levels, count, price, stock, cost, true);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(levels[1], 77);
    GetPriceData(Variant("404"), 3, levels, count, price, stock, cost, false);
    EXPECT_EQ(count, -1);
    GetPriceData(Variant::null(), 3, levels, count, price, stock, cost, false);
    EXPECT_EQ(count, -1);
    EXPECT_EQ(levels[1], 77);
    EXPECT_EQ(price.Startprice, 850);
}

TEST_F(PriceDataTest, ArticleCodeOfANodeAndErrorsCloseWhatWasOpened) {
    test::exec_sql(scratch.file("other.db"), "CREATE TABLE Dummy (x INTEGER);");
    const test::OpenHandles handles;
    EXPECT_EQ(GetXPC(12, scratch.file("p.db")), "QB*H*10*316*H*1P*S");
    EXPECT_EQ(GetXPC(13, scratch.file("p.db")), "");
    handles.expect_closed();
    EXPECT_THROW(GetXPC(12, scratch.file("other.db")), platform::Error);   // no XPC table
    EXPECT_THROW(GetXPC(12, scratch.file("missing.db")), platform::Error);  // no database
    handles.expect_closed();
}

TEST(FieldValueOrZeroTest, NullAndEmptyCountAsZero) {
    EXPECT_TRUE(FieldValueOrZero(Variant::null()).is_empty());
    EXPECT_EQ(FieldValueOrZero(Variant::null()).as_double(), 0);
    EXPECT_EQ(FieldValueOrZero(Variant("")), Variant(0));
    EXPECT_EQ(FieldValueOrZero(Variant(2.5)), Variant(2.5));
    EXPECT_EQ(FieldValueOrZero(Variant("30")).as_double(), 30);
}

}  // namespace
}  // namespace hxq::core
