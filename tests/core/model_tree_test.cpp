// The model tree: its queries, the walk of a subtree, node tags and model designations.
#include "core/fixture.h"
#include "core/model_designation.h"
#include "core/model_tree.h"
#include "core/xer_tag.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <vector>

namespace hxq::core {
namespace {

using platform::Recordset;

// The ModelTree table with every column the library reads (booleans as Jet stores them):
// two folders under a range folder, a folder without children, a condenser model, two
// groups (10 and 11) that both list model 3, and two folders that contain each other.
const char* kTree = R"(
CREATE TABLE ModelTree (
  NodeID INTEGER PRIMARY KEY, ParentID SMALLINT, Alias TEXT, "Group" TEXT, UserLevel TEXT,
  InUse BOOLEAN, "Table" TEXT, ChannelCombination TEXT, PureType TEXT, ChannelType TEXT,
  Information2 TEXT, CalcMethod TEXT, ModelID SMALLINT, Dual BOOLEAN, StockID TEXT, PriceID SMALLINT,
  ChannelID1Left TEXT, ChannelID1Right TEXT, ChannelID2Left TEXT, ChannelID2Right TEXT);
INSERT INTO ModelTree (NodeID, ParentID, Alias, "Group", UserLevel, InUse, "Table", PureType, ChannelType,
                       ChannelCombination, ModelID, Information2, Dual, StockID) VALUES
 (1, 0, 'Range', 'S C', 'ABC', -1, NULL, 'Range', NULL, NULL, NULL, NULL, NULL, NULL),
 (2, 1, 'Small', 'S', 'ABC', -1, '', 'Small', NULL, NULL, NULL, NULL, NULL, NULL),
 (3, 2, 'QB10H', 'S S/010 S/011', 'ABC', -1, 'HXQ', 'QB10', 'H', 'H-H', 7, 'CrossFlow', -1, '7'),
 (4, 2, 'QB12M', 'S', 'AB', -1, 'HXQ', 'QB12', 'M', 'M-M', 8, NULL, 0, NULL),
 (5, 1, 'Empty', 'S', 'ABC', -1, NULL, 'Empty', NULL, NULL, NULL, NULL, NULL, NULL),
 (6, 1, 'QC20H', 'C', 'ABC', -1, 'HXQ', 'QC20', 'H', 'H-H', 9, NULL, NULL, NULL),
 (10, 0, 'Group 10', 'S', 'ABC', -1, NULL, 'G10', NULL, NULL, NULL, NULL, NULL, NULL),
 (11, 0, 'Group 11', 'S', 'ABC', -1, NULL, 'G11', NULL, NULL, NULL, NULL, NULL, NULL),
 (12, 0, 'Other', 'S S/011', 'ABC', -1, 'HXQ', 'QB14', 'L', 'L-L', 10, NULL, NULL, NULL),
 (20, 21, 'Loop A', 'S', 'ABC', -1, NULL, 'LA', NULL, NULL, NULL, NULL, NULL, NULL),
 (21, 20, 'Loop B', 'S', 'ABC', -1, NULL, 'LB', NULL, NULL, NULL, NULL, NULL, NULL);
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

class ModelTree : public test::ScratchTest {
protected:
    void SetUp() override {
        db = open("products.db", kTree);
        tree = db.OpenRecordset("SELECT * FROM ModelTree");
    }
    std::optional<OutDataType> walk(std::int16_t node) {
        WalkOptions o;
        o.user_level = "A";
        return NodeCalc<OutDataType>(tree, node, o, calculated, rating);
    }

    platform::Database db;
    Recordset tree;
    CalculatedSet calculated;
    PricedRating rating;
};

TEST_F(ModelTree, WalksRateTheModelsTheDutyAndLevelAllowAndKeepTheBest) {
    struct Case {
        const char* what;
        std::int16_t node;
        Duty duty;
        const char* level;
        bool without_terms, ignore_duty_letter, move_tree;
        std::vector<int> rated;
        int best;  // 0: nothing
    };
    // Models 3 and 4 cost the same: the later one replaces the earlier.
    const std::array<Case, 10> cases{{
        {"folders entered, an empty folder rated itself", 1, Duty::SinglePhase, "A", false, false, false, {3, 4, 5}, 4},
        {"user level C hides model 4", 1, Duty::SinglePhase, "C", false, false, false, {3, 5}, 3},
        {"performance mode: no duty or level terms", 1, Duty::SinglePhase, "C", true, false, false, {3, 4, 5, 6}, 6},
        {"a driver moving the tree", 1, Duty::SinglePhase, "A", false, false, true, {3, 4, 5}, 4},
        {"folders that contain each other", 20, Duty::SinglePhase, "A", false, false, false, {}, 0},
        {"the condenser child", 1, Duty::Condenser, "A", false, false, false, {6}, 6},
        {"no condenser child, no condenser itself", 2, Duty::Condenser, "A", false, false, false, {}, 0},
        {"a childless model is its own candidate", 12, Duty::SinglePhase, "A", false, false, false, {12}, 12},
        {"cascade: found without its duty letter", 3, Duty::Condenser, "A", false, true, false, {3}, 3},
        {"cascade: the level still applies", 4, Duty::Condenser, "Z", false, true, false, {}, 0},
    }};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        calculated.Clear();
        rating = PricedRating{};
        rating.price = {{3, 200}, {4, 200}, {5, 250}};
        rating.move_tree = c.move_tree;
        WalkOptions o;
        o.duty = c.duty;
        o.user_level = c.level;
        o.without_terms = c.without_terms;
        o.ignore_duty_letter = c.ignore_duty_letter;
        const auto best = NodeCalc<OutDataType>(tree, c.node, o, calculated, rating);
        EXPECT_EQ(rating.rated, c.rated);
        EXPECT_EQ(best ? best->nodeid : 0, c.best);
        EXPECT_EQ(calculated.size(), c.rated.size());
    }
}

TEST_F(ModelTree, DesignationAndFlagsComeFromTheRow) {
    rating.price = {{3, 1}};
    auto best = walk(2);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->HXQID, 7);
    EXPECT_EQ(best->XerAlias, "QB10");
    EXPECT_EQ(best->ChanComb, "H-H");
    EXPECT_TRUE(best->CrossFlow);  // "CrossFlow" in any case
    EXPECT_TRUE(best->Dual);
    // Two-stage alternatives get the designation in both stages.
    TwoStageOutDataType two;
    ASSERT_TRUE(tree.FindFirst("NodeID=3"));
    ReadDesignation(tree, two);
    EXPECT_EQ(two.Stage1.XerAlias, "QB10");
    EXPECT_EQ(two.Stage2.ChanComb, "H-H");
}

TEST_F(ModelTree, AFilteredModelCountsAsDone) {
    rating.rejected = {3};
    EXPECT_EQ(walk(2).value().nodeid, 4);
    EXPECT_EQ(rating.rated, (std::vector<int>{4}));
    // A later walk neither filters nor rates the refused row again.
    rating.filtered.clear();
    rating.rejected.clear();
    EXPECT_FALSE(walk(2));
    EXPECT_TRUE(rating.filtered.empty());
}

// The product databases' tools expect these texts letter for letter (the drivers' runs
// hold each duty's letter).
TEST(ModelTreeQueries, MainQueriesAreTheProductDatabaseTexts) {
    EXPECT_EQ(MainQuery(Duty::SinglePhase, true, 12, "B"),
              "SELECT * FROM ModelTree WHERE Instr(Group,'S/012') > 0  AND InUse AND Instr(UserLevel, 'B')>0");
    EXPECT_EQ(MainQuery(Duty::Condenser, true, 7, "A"),
              "SELECT * FROM ModelTree WHERE Instr(Group,'C/007') > 0 AND InUse AND Instr(UserLevel, 'A')>0");
    EXPECT_EQ(MainQuery(Duty::Condenser, false, 42, "A"), "SELECT * FROM ModelTree WHERE NodeID=42");
    EXPECT_EQ(DutyTerm(Duty::Evaporator, "O'B"), " AND Instr(Group,'E')>0 AND Instr(UserLevel, 'O''B')>0");
}

TEST(ModelTreeValues, NullAndEmptyAreZeroAndOverflowIsAnError) {
    EXPECT_EQ(ToInt16(platform::Variant::null()), 0);
    EXPECT_EQ(ToInt16(platform::Variant("")), 0);
    EXPECT_EQ(ToInt16(platform::Variant(-32768)), -32768);
    EXPECT_EQ(test::error_of([] { ToInt16(platform::Variant(32768)); }).number(), 6);
}

TEST_F(ModelTree, TagsAreBuiltFromARowReadBackAndRefuseAPercentInsideAnItem) {
    const std::string path = scratch.file("products.db");
    ASSERT_TRUE(tree.FindFirst("NodeID=10"));
    const XerTagInfo g = ParseXerTag(BuildXerTag(tree, path));
    EXPECT_TRUE(g.IsGroup);  // model 3 names it in a membership
    EXPECT_EQ(g.GroupOrNode, 10);
    EXPECT_EQ(g.Database, path);
    // A folder that no membership names is no group.
    ASSERT_TRUE(tree.FindFirst("NodeID=2"));
    EXPECT_FALSE(ParseXerTag(BuildXerTag(tree, path)).IsGroup);
    EXPECT_EQ(ToInt16(tree.Fields("NodeID")), 2);  // the group look-up leaves the row as it was

    ASSERT_TRUE(tree.FindFirst("NodeID=3"));
    const std::string model = BuildXerTag(tree, path);
    const XerTagInfo m = ParseXerTag(model);
    EXPECT_FALSE(m.IsGroup);
    EXPECT_EQ(m.GroupOrNode, 3);
    EXPECT_TRUE(m.Dual);
    EXPECT_EQ(std::count(model.begin(), model.end(), '%'), kXerTagItems - 1);
    const std::array<std::pair<int, const char*>, 7> items{
        {{0, "QB10H"}, {2, "2"}, {16, "True"}, {17, "False"}, {19, "False"}, {22, "True"}, {24, "True"}}};
    for (const auto& [index, text] : items) EXPECT_EQ(XerTagItem(model, index), text) << "item " << index;
    EXPECT_EQ(XerTagItem("a%b", 5), "");  // beyond the tag
    EXPECT_EQ(ParseXerTag("").GroupOrNode, 0);
    // A "%" inside an item would shift every later item.
    ModelTreeNode n;
    n.NodeID = 3;
    n.Alias = "QB 50%";
    EXPECT_THROW(BuildXerTag(n, "/data/p.db"), platform::Error);
    n.Alias = "QB";
    EXPECT_THROW(BuildXerTag(n, "/data/100%/p.db"), platform::Error);
    EXPECT_NO_THROW(BuildXerTag(n, "/data/p.db"));
}

TEST(ModelDesignation, ChannelTextsPassesHalvesAndProductRules) {
    DesignationRules rules;
    rules.DropTrailingLetter = {"QB50A"};
    rules.PlatesFromChannels = {"K"};
    struct Case {
        const char* designation;
        std::int16_t plates;
        const char *side1, *side2;
        bool halves;
        const char* expected;
    };
    const std::array<Case, 12> cases{{
        {"QB10", 40, "19H", "20H", false, "QB10x40H/1P"},
        {"QB10", 40, "19H", "20L", false, "QB10x40 (19H, 20L)/1P"},
        // Mixed sides take the letters of their family; without an H on side 1, M and L.
        {"QB10", 40, "12H+7M", "12H+8M", false, "QB10x40 (12H+7M, 12H+8M)/1P"},
        {"QB10", 40, "12M+7L", "20M", false, "QB10x40 (12M+7L, 20M)/1P"},
        // The passes come from the side-1 text.
        {"QB20", 41, "2*(6H+4M)", "2*(10H)", false, "QB20x41 (6H+4M, 10H)/2P"},
        {"QB20", 61, "3*(10H)", "3*(10H)", false, "QB20x61H/3P"},
        // Dual units show both halves.
        {"QD30", 60, "29H", "30H", true, "QD30x30x30H/1P"},
        {"QD30", 61, "30H", "30H", true, "QD30x30x31H/1P"},
        {"QB50A", 40, "19H", "20H", false, "QB50x40H/1P"},
        {"QB50B", 40, "19H", "20H", false, "QB50Bx40H/1P"},
        // 2 passes × 8 + 1 + 2 × (5 + 3)
        {"QK60", 99, "2*(8K)", "2*(5M+3L)", false, "QK60x33 (8K, 5M+3L)/2P"},
        {"QB10", 24, "", "", false, "QB10x24/1P"},
    }};
    for (const Case& c : cases) {
        std::string designation = c.designation;
        const std::string returned = FormatModelDesignation(designation, c.plates, c.side1, c.side2, c.halves, rules);
        EXPECT_EQ(returned, c.expected) << c.designation << " " << c.side1 << ", " << c.side2;
        EXPECT_EQ(designation, returned);  // the designation argument is replaced too
    }
}

}  // namespace
}  // namespace hxq::core
