// The two-stage and cascade builds of the sample range stay in their own groups: a build
// that leaked into the single-phase, condenser or evaporator trees would be offered for
// duties it is not made for.
#include "sample_db.h"

#include <gtest/gtest.h>

#include <string>

namespace hxq::sample_test {
namespace {

TEST(SpecialBuilds, TwoStageAndCascadeBuildsOnlyInTheirGroups) {
    SampleDb db("products.db");
    struct Case {
        const char* model;
        const char* group;  // the Group text of every node of the model
        const char* parent_group;
    };
    for (const Case c : {Case{"Q32T", "T", "T T/042"}, Case{"Q60T", "T", "T T/042"},
                         Case{"Q32C", "C E E/035", nullptr}, Case{"Q60C", "C E E/035", nullptr}}) {
        SCOPED_TRACE(c.model);
        const auto rows = db.query(std::string("SELECT t.\"Group\", p.\"Group\" AS ParentGroup FROM ModelTree t "
                                               "JOIN ModelTree p ON p.NodeID = t.ParentID WHERE t.PureType = '") +
                                   c.model + "'");
        ASSERT_FALSE(rows.empty());
        for (const auto& r : rows) {
            EXPECT_EQ(r.at("Group").text(), c.group);
            if (c.parent_group) {
                EXPECT_EQ(r.at("ParentGroup").text(), c.parent_group);
            }
        }
    }
    // The cascade builds take the CO2 low stage's pressure: 46 bar (stored in hPa).
    SampleDb selector("selector.db");
    const auto meas =
        selector.query("SELECT CH1PressAlt1 FROM HXQMeas WHERE XPC LIKE 'QB*Q32C*%' OR XPC LIKE 'QB*Q60C*%'");
    ASSERT_FALSE(meas.empty());
    for (const auto& r : meas) EXPECT_DOUBLE_EQ(r.at("CH1PressAlt1").number(), 46000.0);
}

}  // namespace
}  // namespace hxq::sample_test
