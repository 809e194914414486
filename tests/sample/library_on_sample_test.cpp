// The library's queries, walks and filter on the sample range, which is laid out to give
// the groups and user levels, channel variants and warehouse stock described in
// sample/README.md.
#include "sample_db.h"

#include "core/filter_check.h"
#include "core/model_tree.h"
#include "platform/db.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace hxq::sample_test {
namespace {

using core::Duty;
using core::MainQuery;
using platform::Recordset;

std::string db_path(const char* file) { return (sample_dir() / file).string(); }

// Rates every row it is offered and records the order.
class CountingRating : public core::CandidateRating<core::OutDataType> {
public:
    std::vector<int> rated;
    bool PassesFilter(std::int16_t) override { return true; }
    void Rate(Recordset&, core::OutDataType& alt) override { rated.push_back(alt.nodeid); }
    bool Better(const core::OutDataType&, const core::OutDataType&) override { return true; }
};

class SampleRange : public ::testing::Test {
protected:
    std::set<std::string> aliases(const std::string& sql) {
        std::set<std::string> out;
        for (Recordset rs = products.OpenRecordset(sql); !rs.Eof(); rs.MoveNext())
            out.insert(rs.Fields("Alias").as_text());
        return out;
    }
    // The rows a walk of `node` rates, in a run of its own.
    std::vector<int> walk(std::int16_t node, const std::string& level, Duty duty = Duty::SinglePhase) {
        core::CalculatedSet calculated;
        CountingRating rating;
        core::WalkOptions o;
        o.duty = duty;
        o.user_level = level;
        core::NodeCalc<core::OutDataType>(tree, node, o, calculated, rating);
        return rating.rated;
    }
    platform::Database products = platform::OpenDatabase(db_path("products.db"), true);
    platform::Database selector = platform::OpenDatabase(db_path("selector.db"), true);
    Recordset tree = products.OpenRecordset("SELECT * FROM ModelTree");
};

TEST_F(SampleRange, GroupQueriesHonourMembershipsUserLevelsAndRetirement) {
    EXPECT_EQ(aliases(MainQuery(Duty::SinglePhase, true, 12, "C")), (std::set<std::string>{"Q10", "Q14", "Q22", "Q32"}));
    // The two largest sizes are hidden from user level C.
    EXPECT_EQ(aliases(MainQuery(Duty::SinglePhase, true, 13, "C")),
              (std::set<std::string>{"Q32", "Q45", "Q60", "Q90", "Q140", "Q220"}));
    EXPECT_EQ(aliases(MainQuery(Duty::SinglePhase, true, 13, "A")).size(), 8u);
    // The whole range reaches its members through the two size groups, and Q32 directly.
    EXPECT_EQ(aliases(MainQuery(Duty::SinglePhase, true, 11, "B")),
              (std::set<std::string>{"Small single-phase units", "Large single-phase units", "Q32"}));
    EXPECT_TRUE(aliases(MainQuery(Duty::Evaporator, true, 34, "C")).empty());
    EXPECT_EQ(aliases("SELECT * FROM ModelTree WHERE ParentID=52 AND Instr(Group,'A/052') > 0 AND InUse").size(), 3u);
    // The retired size is a member of no group that a calculation can select.
    Recordset retired = products.OpenRecordset("SELECT * FROM ModelTree WHERE Alias='Q18' AND Not InUse");
    ASSERT_EQ(retired.RecordCount(), 1);
    EXPECT_EQ(retired.Fields("Group").as_text().find('/'), std::string::npos);
}

TEST_F(SampleRange, SubtreeWalksFindTheChannelVariantsOfTheDutyOnly) {
    // Q22's single-phase folder: H, M, L; with level A also HM, ML and the double wall.
    EXPECT_EQ(walk(108, "C"), (std::vector<int>{109, 110, 111}));
    EXPECT_EQ(walk(108, "A").size(), 6u);
    // Its condenser folder has no single-phase children and is no single-phase node.
    EXPECT_TRUE(walk(171, "A").empty());
    EXPECT_EQ(walk(171, "A", Duty::Condenser).size(), 3u);
    // A folder without children is its own candidate, for the levels that see it.
    EXPECT_EQ(walk(15, "A"), (std::vector<int>{15}));
    EXPECT_TRUE(walk(15, "C").empty());
    // The stage-1 candidates of a two-stage unit share its model.
    EXPECT_EQ(products.OpenRecordset("SELECT * FROM ModelTree WHERE ModelID=5 AND Table='HXQ' AND Instr(Group,'T')>0")
                  .RecordCount(),
              4);
}

TEST_F(SampleRange, FilterFindsBaseArticlesAndWarehouseStockWithConnections) {
    Recordset denomination = products.OpenRecordset("Denomination");
    const core::FilterSources sources{&denomination, &selector};
    core::FilterType filter;
    filter.Active = true;
    bool forced = false;
    core::Bounded<std::int16_t, 1, 20> plates{};
    std::int16_t count = 0;
    auto passes = [&](std::int16_t node) { return FilterCheck("SPC", node, sources, filter, forced, plates, count); };
    EXPECT_FALSE(passes(148));  // Q500 has no base article at all
    filter.Material = "titanium";
    EXPECT_FALSE(passes(101));
    filter.Material = "C";
    filter.Factory = "F2";
    EXPECT_TRUE(passes(101));
    EXPECT_FALSE(forced);
    filter = core::FilterType{};
    filter.Active = filter.cew = true;
    filter.whs = "100";
    filter.ConnXPCs = "CT16;CS16";
    ASSERT_TRUE(passes(101));
    EXPECT_TRUE(forced);
    EXPECT_EQ(count, 3);
}

}  // namespace
}  // namespace hxq::sample_test
