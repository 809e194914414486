#include "core/model_tree.h"
#include "core/product_fixture.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

namespace hxq::core {
namespace {

using platform::Recordset;

// A tree of two folders under a range folder, a folder without children, a condenser
// model, and two groups (10 and 11) that both list model 3.
const char* kTree = R"(
INSERT INTO ModelTree (NodeID, ParentID, Alias, "Group", UserLevel, InUse, "Table", PureType, ChannelType,
                       ChannelCombination, ModelID, Information2, Dual) VALUES
 (1, 0, 'Range', 'S C', 'ABC', -1, NULL, 'Range', NULL, NULL, NULL, NULL, NULL),
 (2, 1, 'Small', 'S', 'ABC', -1, '', 'Small', NULL, NULL, NULL, NULL, NULL),
 (3, 2, 'QB10H', 'S S/010 S/011', 'ABC', -1, 'HXQ', 'QB10', 'H', 'H-H', 7, 'CrossFlow', -1),
 (4, 2, 'QB12M', 'S', 'AB', -1, 'HXQ', 'QB12', 'M', 'M-M', 8, NULL, 0),
 (5, 1, 'Empty', 'S', 'ABC', -1, NULL, 'Empty', NULL, NULL, NULL, NULL, NULL),
 (6, 1, 'QC20H', 'C', 'ABC', -1, 'HXQ', 'QC20', 'H', 'H-H', 9, NULL, NULL),
 (10, 0, 'Group 10', 'S', 'ABC', -1, NULL, 'G10', NULL, NULL, NULL, NULL, NULL),
 (11, 0, 'Group 11', 'S', 'ABC', -1, NULL, 'G11', NULL, NULL, NULL, NULL, NULL),
 (12, 0, 'Other', 'S S/011', 'ABC', -1, 'HXQ', 'QB14', 'L', 'L-L', 10, NULL, NULL),
 (20, 21, 'Loop A', 'S', 'ABC', -1, NULL, 'LA', NULL, NULL, NULL, NULL, NULL),
 (21, 20, 'Loop B', 'S', 'ABC', -1, NULL, 'LB', NULL, NULL, NULL, NULL, NULL);
)";

// A driver stand-in: rates every row with a price from a table, records the order.
class PricedRating : public CandidateRating<OutDataType> {
public:
    std::map<int, float> price;  // by node id; default 100
    std::set<int> rejected;      // nodes the filter refuses
    std::vector<int> rated;
    std::vector<int> filtered;
    bool move_tree = false;  // a driver that moves the tree while rating

    bool PassesFilter(std::int16_t node) override {
        filtered.push_back(node);
        return rejected.count(node) == 0;
    }
    void Rate(Recordset& tree, OutDataType& alt) override {
        rated.push_back(alt.nodeid);
        auto it = price.find(alt.nodeid);
        alt.Price = it == price.end() ? 100.0f : it->second;
        if (move_tree) tree.MoveLast();
    }
    bool Better(const OutDataType& candidate, const OutDataType& best) override {
        return candidate.Price <= best.Price;
    }
};

class ModelTreeWalk : public ::testing::Test {
protected:
    void SetUp() override {
        path = scratch.file("products.db");
        test::exec_sql(path, std::string(test::kModelTreeSchema) + kTree);
        db = platform::OpenDatabase(path);
        tree = db.OpenRecordset("SELECT * FROM ModelTree");
    }
    std::optional<OutDataType> walk(std::int16_t node, Duty duty = Duty::SinglePhase, std::string level = "A") {
        WalkOptions o;
        o.duty = duty;
        o.user_level = std::move(level);
        return NodeCalc<OutDataType>(tree, node, o, calculated, rating);
    }

    test::CoreScratch scratch;
    std::string path;
    platform::Database db;
    Recordset tree;
    CalculatedSet calculated;
    PricedRating rating;
};

TEST_F(ModelTreeWalk, RatesEveryModelOfTheDutyAndAnEmptyFolderItself) {
    rating.price = {{3, 300}, {4, 200}, {5, 250}};
    auto best = walk(1);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->nodeid, 4);
    EXPECT_EQ(best->Price, 200);
    // Folder 2 is entered, its models rated, then folder 5 (no children) as a candidate;
    // the condenser model 6 carries no S.
    EXPECT_EQ(rating.rated, (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(calculated.size(), 3u);
}

TEST_F(ModelTreeWalk, DesignationAndFlagsComeFromTheRow) {
    rating.price = {{3, 1}};
    auto best = walk(2);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->nodeid, 3);
    EXPECT_EQ(best->HXQID, 7);
    EXPECT_EQ(best->XerAlias, "QB10");
    EXPECT_EQ(best->Chantype, "H");
    EXPECT_EQ(best->ChanComb, "H-H");
    EXPECT_TRUE(best->CrossFlow);  // "CrossFlow" in any case
    EXPECT_TRUE(best->Dual);
}

TEST_F(ModelTreeWalk, UserLevelHidesNodes) {
    walk(1, Duty::SinglePhase, "C");
    EXPECT_EQ(rating.rated, (std::vector<int>{3, 5}));
}

TEST_F(ModelTreeWalk, ModelReachedThroughTwoGroupsIsRatedOncePerRun) {
    // The driver walks each row of the group queries; model 3 is a member of both.
    for (int group : {10, 11}) {
        Recordset rows = db.OpenRecordset(MainQuery(Duty::SinglePhase, true, group, "A"));
        for (; !rows.Eof(); rows.MoveNext()) walk(ToInt16(rows.Fields("NodeID")));
    }
    EXPECT_EQ(rating.rated, (std::vector<int>{3, 12}));
    // A model already rated contributes nothing, so a walk of it alone yields nothing.
    EXPECT_FALSE(walk(3));
}

TEST_F(ModelTreeWalk, FilteredOrRatedModelsNeverDisplaceASibling) {
    rating.price = {{3, 1}, {4, 500}, {5, 600}};
    rating.rejected = {3};
    auto best = walk(2);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->nodeid, 4);
    EXPECT_EQ(rating.rated, (std::vector<int>{4}));
    // The refused row counts as done: a later walk neither filters nor rates it again.
    rating.filtered.clear();
    rating.rejected.clear();
    EXPECT_FALSE(walk(2));
    EXPECT_TRUE(rating.filtered.empty());
}

TEST_F(ModelTreeWalk, EqualLaterResultReplacesTheBest) {
    rating.price = {{3, 100}, {4, 100}};
    auto best = walk(2);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->nodeid, 4);
}

TEST_F(ModelTreeWalk, NodeWithoutChildrenOfTheDutyIsItsOwnCandidate) {
    // Condenser walk: folder 1 has the condenser child 6.
    auto con = walk(1, Duty::Condenser);
    ASSERT_TRUE(con);
    EXPECT_EQ(con->nodeid, 6);
    // Folder 2 has no condenser child and is no condenser itself: nothing.
    EXPECT_FALSE(walk(2, Duty::Condenser));
    // Model 12 has no children and carries S (through its membership too).
    auto own = walk(12);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->nodeid, 12);
}

TEST_F(ModelTreeWalk, PerformanceModeSkipsDutyAndLevelTerms) {
    WalkOptions o;
    o.duty = Duty::SinglePhase;
    o.user_level = "C";
    o.without_terms = true;
    NodeCalc<OutDataType>(tree, 1, o, calculated, rating);
    EXPECT_EQ(rating.rated, (std::vector<int>{3, 4, 5, 6}));
}

TEST_F(ModelTreeWalk, CascadeCondenserSideFindsTheNodeWithoutItsDutyLetter) {
    WalkOptions o;
    o.duty = Duty::Condenser;
    o.user_level = "A";
    o.ignore_duty_letter = true;
    auto r = NodeCalc<OutDataType>(tree, 3, o, calculated, rating);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->nodeid, 3);
    o.user_level = "Z";
    EXPECT_FALSE(NodeCalc<OutDataType>(tree, 4, o, calculated, rating));
}

TEST_F(ModelTreeWalk, DriverMovingTheTreeDoesNotDisturbTheWalk) {
    rating.move_tree = true;
    walk(1);
    EXPECT_EQ(rating.rated, (std::vector<int>{3, 4, 5}));
}

TEST_F(ModelTreeWalk, FoldersThatContainEachOtherEndTheWalk) {
    EXPECT_FALSE(walk(20));
    EXPECT_TRUE(rating.rated.empty());
}

TEST_F(ModelTreeWalk, TwoStageAlternativesGetTheDesignationInBothStages) {
    tree.FindFirst("NodeID=3");
    TwoStageOutDataType two;
    ReadDesignation(tree, two);
    EXPECT_EQ(two.Stage1.XerAlias, "QB10");
    EXPECT_EQ(two.Stage2.ChanComb, "H-H");
}

TEST(ModelTreeQueries, MainQueriesAreTheProductDatabaseTexts) {
    EXPECT_EQ(MainQuery(Duty::SinglePhase, true, 12, "B"),
              "SELECT * FROM ModelTree WHERE Instr(Group,'S/012') > 0  AND InUse AND Instr(UserLevel, 'B')>0");
    EXPECT_EQ(MainQuery(Duty::Condenser, true, 7, "A"),
              "SELECT * FROM ModelTree WHERE Instr(Group,'C/007') > 0 AND InUse AND Instr(UserLevel, 'A')>0");
    EXPECT_EQ(MainQuery(Duty::Evaporator, true, 123, "A"),
              "SELECT * FROM ModelTree WHERE Instr(Group,'E/123') > 0 AND InUse AND Instr(UserLevel, 'A')>0");
    EXPECT_EQ(MainQuery(Duty::TwoStage, true, 5, "A"),
              "SELECT * FROM ModelTree WHERE Instr(Group,'T/005') > 0 AND InUse AND Instr(UserLevel, 'A')>0");
    EXPECT_EQ(MainQuery(Duty::Condenser, false, 42, "A"), "SELECT * FROM ModelTree WHERE NodeID=42");
    EXPECT_EQ(DutyTerm(Duty::Evaporator, "O'B"), " AND Instr(Group,'E')>0 AND Instr(UserLevel, 'O''B')>0");
}

TEST_F(ModelTreeWalk, GroupQueryHonoursInUseAndLevel) {
    test::exec_sql(path, "UPDATE ModelTree SET InUse = 0 WHERE NodeID = 12;");
    Recordset rows = db.OpenRecordset(MainQuery(Duty::SinglePhase, true, 11, "A"));
    ASSERT_FALSE(rows.Eof());
    EXPECT_EQ(rows.RecordCount(), 1);
    EXPECT_EQ(ToInt16(rows.Fields("NodeID")), 3);
}

TEST(ModelTreeValues, NullToTextAndInt16) {
    EXPECT_EQ(NullToText(platform::Variant::null()), "");
    EXPECT_EQ(NullToText(platform::Variant(12)), "12");
    EXPECT_EQ(ToInt16(platform::Variant::null()), 0);
    EXPECT_EQ(ToInt16(platform::Variant("17")), 17);
    EXPECT_THROW(ToInt16(platform::Variant(40000)), platform::Error);
}

}  // namespace
}  // namespace hxq::core
