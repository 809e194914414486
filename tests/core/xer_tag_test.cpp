#include "core/product_fixture.h"
#include "core/xer_tag.h"
#include "platform/error.h"

#include <gtest/gtest.h>

namespace hxq::core {
namespace {

TEST(XerTag, BuiltFromAModelTreeRowAndReadBack) {
    test::CoreScratch scratch;
    const std::string path = scratch.file("p.db");
    test::exec_sql(path, std::string(test::kModelTreeSchema) + R"(
INSERT INTO ModelTree (NodeID, ParentID, Alias, "Group", UserLevel, InUse, "Table", PureType, ModelID, Dual,
                       Information2, StockID)
VALUES (12, 1, 'Small range', 'S C', 'ABC', -1, NULL, 'Small', NULL, NULL, NULL, NULL),
       (31, 12, 'QD30', 'C S/012 E/012', 'AB', -1, 'HXQ', 'QD30', 30, -1, 'crossflow', '7');
)");
    platform::Database db = platform::OpenDatabase(path);
    platform::Recordset tree = db.OpenRecordset("ModelTree");

    ASSERT_TRUE(tree.FindFirst("NodeID=12"));
    const std::string group = BuildXerTag(tree, path);
    XerTagInfo g = ParseXerTag(group);
    EXPECT_TRUE(g.IsGroup);
    EXPECT_EQ(g.GroupOrNode, 12);
    EXPECT_FALSE(g.Dual);
    EXPECT_EQ(g.Database, path);

    ASSERT_TRUE(tree.FindFirst("NodeID=31"));
    const std::string model = BuildXerTag(tree, path);
    XerTagInfo m = ParseXerTag(model);
    EXPECT_FALSE(m.IsGroup);
    EXPECT_EQ(m.GroupOrNode, 31);
    EXPECT_TRUE(m.Dual);
    EXPECT_EQ(XerTagItem(model, 0), "QD30");
    EXPECT_EQ(XerTagItem(model, 2), "12");
    EXPECT_EQ(XerTagItem(model, 16), "True");   // S through its membership
    EXPECT_EQ(XerTagItem(model, 19), "False");  // no T
    EXPECT_EQ(XerTagItem(model, 22), "True");   // cross-flow
    EXPECT_EQ(XerTagItem(model, 24), "True");   // has a stock id
    EXPECT_EQ(std::count(model.begin(), model.end(), '%'), kXerTagItems - 1);
}

TEST(XerTag, ItemsBeyondTheTagAreEmpty) {
    EXPECT_EQ(XerTagItem("a%b", 1), "b");
    EXPECT_EQ(XerTagItem("a%b", 5), "");
    EXPECT_EQ(ParseXerTag("").GroupOrNode, 0);
}

TEST(XerTag, PercentInsideAnItemIsRefused) {
    ModelTreeNode n;
    n.NodeID = 3;
    n.Alias = "QB 50%";
    EXPECT_THROW(BuildXerTag(n, "/data/p.db"), platform::Error);
    n.Alias = "QB";
    EXPECT_THROW(BuildXerTag(n, "/data/100%/p.db"), platform::Error);
    EXPECT_NO_THROW(BuildXerTag(n, "/data/p.db"));
}

}  // namespace
}  // namespace hxq::core
