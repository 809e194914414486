// The split search and the rating search of clsADOpt on scripted engines.
#include "ad_fixture.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>

namespace hxq::test {
namespace {

// The evaluations at the full plate count of the model: one per split point tried.
std::set<std::pair<int, int>> full_size_splits(const std::vector<RatedPair>& log, int max_plates) {
    std::set<std::pair<int, int>> out;
    for (const RatedPair& p : log)
        if (p.total() == max_plates) out.insert({p.ref_plates, p.air_plates()});
    return out;
}

TEST_F(ADSearch, Split3TriesTwentyFortySixtyAndEightyPercent) {
    script.meets = [](const RatedPair&) { return false; };
    batch::ADOutputType r = opt.D_ADCalc(input);
    EXPECT_FALSE(r.Exist);
    // 100 plates, H = 50: refrigerant 2 Int(50 p / 100 + 0.5), air the rest.
    const std::set<std::pair<int, int>> expected{{20, 80}, {40, 60}, {60, 40}, {80, 20}};
    EXPECT_EQ(full_size_splits(script.log, 100), expected);
    EXPECT_EQ(script.log.size(), 4u) << "a split that fails at full size is not shrunk";
}

TEST_F(ADSearch, Depth1DoesNotRefineAndDepth2Does) {
    script.meets = [](const RatedPair& p) { return p.ref_plates >= 12 && p.air_plates() >= 12; };
    for (const std::int16_t depth : {1, 2}) {
        SCOPED_TRACE(depth);
        script.log.clear();
        input.Optimisation.Depth = depth;
        const batch::ADOutputType r = opt.D_ADCalc(input);
        ASSERT_TRUE(r.Exist);
        const auto splits = full_size_splits(script.log, 100);
        const bool only_first_level = std::all_of(splits.begin(), splits.end(), [](const auto& s) {
            return s.first == 20 || s.first == 40 || s.first == 60 || s.first == 80;
        });
        EXPECT_EQ(only_first_level, depth == 1);
        if (depth > 1) continue;
        // At 40 % the smallest pair is 12 + 16 plates, at 60 % 16 + 12: equal plates go to
        // fewer refrigerant plates.
        EXPECT_EQ(r.TotalNumberOfPlates, 28);
        EXPECT_EQ(r.RefNumberOfPlates, 12);
    }
}

TEST_F(ADSearch, ShrinkFindsTheSmallestPairOfASplit) {
    input.Optimisation.Split = 0;  // one point: 50 %
    script.meets = [](const RatedPair& p) { return p.total() >= 37; };
    batch::ADOutputType r = opt.D_ADCalc(input);
    ASSERT_TRUE(r.Exist);
    // 50 % of mid plates each side, rounded to even: 18 + 18 fails, 20 + 20 works.
    EXPECT_EQ(r.RefNumberOfPlates, 20);
    EXPECT_EQ(r.TotalNumberOfPlates, 40);
    for (const RatedPair& p : script.log) {
        EXPECT_EQ(p.air_side2, p.air_side1 + 1) << "side 2 holds the odd channel";
        EXPECT_GE(p.air_side1, 2);
        EXPECT_GE(p.ref_plates, 6);
    }
}

TEST_F(ADSearch, RefinementThatFindsNothingKeepsTheFirstLevelsPair) {
    // Only the exact 40/60 split works, which the finer points (28, 36, 44, 52 %) miss.
    script.meets = [](const RatedPair& p) { return 3 * p.ref_plates == 2 * p.air_plates(); };
    input.Optimisation.Depth = 1;
    batch::ADOutputType first = opt.D_ADCalc(input);
    ASSERT_TRUE(first.Exist);
    input.Optimisation.Depth = 2;
    batch::ADOutputType refined = opt.D_ADCalc(input);
    ASSERT_TRUE(refined.Exist);
    EXPECT_EQ(refined.TotalNumberOfPlates, first.TotalNumberOfPlates);
    EXPECT_EQ(refined.RefNumberOfPlates, first.RefNumberOfPlates);
}

TEST_F(ADSearch, PairsThatCannotBeBuiltAreNotRated) {
    struct Case {
        std::int16_t max_plates;
        std::size_t ratings;
    };
    // H = 5: 50 % gives 6 + 6 plates (air side 1 of 2 channels) and is rated; H = 4
    // gives 4 + 4 and is not; no bisection runs below the smallest pair.
    input.Optimisation.Split = 0;
    for (const Case c : {Case{10, 1}, Case{8, 0}, Case{4, 0}}) {
        SCOPED_TRACE(c.max_plates);
        script.log.clear();
        input.MaxNoOfPlates = c.max_plates;
        batch::ADOutputType r = opt.D_ADCalc(input);
        EXPECT_EQ(script.log.size(), c.ratings);
        EXPECT_EQ(r.Exist, c.ratings > 0);
    }
    EXPECT_TRUE(prompter->shown().empty());
}

TEST_F(ADSearch, ExistNeedsTheLimitsAndTheMargin) {
    struct Case {
        const char* what;
        float max_drop;
        double dried_outlet;
        bool margin;
        bool no_solution;
        bool exist;
    };
    // Total drop: 1000 + 1000 in the air unit, 1000 in the evaporator.
    const Case cases[] = {
        {"within 5 % above the limit", 2900, 25, true, false, true},
        {"beyond 5 %", 2800, 25, true, false, false},
        {"dried air not above the minimum", 30000, 10, true, false, false},
        {"negative margin", 30000, 25, false, false, false},
        {"evaporator without solution", 30000, 25, true, true, false},
    };
    input.Optimisation.Split = 0;
    input.MaxNoOfPlates = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        input.ADFormIndata.AirMaxPressureDrop = c.max_drop;
        script.dried_air_outlet = c.dried_outlet;
        script.evaporator_no_solution = c.no_solution;
        const bool margin = c.margin;
        script.meets = [margin](const RatedPair&) { return margin; };
        batch::ADOutputType r = opt.D_ADCalc(input);
        EXPECT_EQ(r.Exist, c.exist);
        if (c.exist) {
            EXPECT_FLOAT_EQ(r.TotalPressureDrop, 3000);
            EXPECT_DOUBLE_EQ(r.AirHXQResults.HeatLoad, 5000) << "kW of the engine in W";
        }
    }
}

TEST_F(ADSearch, AnEngineErrorIsShownAndThePairDoesNotExist) {
    script.air_unit_throws = true;
    input.Optimisation.Split = 0;
    batch::ADOutputType r = opt.D_ADCalc(input);
    EXPECT_FALSE(r.Exist);
    ASSERT_EQ(prompter->shown().size(), 1u);
    EXPECT_EQ(prompter->shown()[0].text,
              "Error number -2147221495\r\nTemperature approach too small\r\nIncurred in ADCalc");
}

class ADRating : public ADSearch {
protected:
    void SetUp() override {
        ADSearch::SetUp();
        input.ADFormIndata.AirNoOfPlates = 30;
        input.ADFormIndata.RefNoOfPlates = 20;
        input.ADFormIndata.CalcMethod = 1;
    }
};

TEST_F(ADRating, APairThatWorksEverywhereEndsAtTheLowerBoundAndTheEnteredLimitsSurvive) {
    input.ADFormIndata.AirMaxPressureDrop = 100;  // a rating ignores both
    input.ADFormIndata.AirMinOutletTemp = 40;
    batch::ADOutputType r = opt.P_ADCalc(input);
    ASSERT_TRUE(r.Exist);
    const double bound = input.ADFormIndata.RefEvapTemp + 1;
    EXPECT_GE(r.DewTemp, bound);
    EXPECT_LT(r.DewTemp, bound + 0.01);
    EXPECT_EQ(r.RefNumberOfPlates, 20);
    EXPECT_EQ(r.TotalNumberOfPlates, 50);
    for (const RatedPair& p : script.log) {
        EXPECT_EQ(p.air_side1, 14);
        EXPECT_EQ(p.air_side2, 15);
    }
    EXPECT_FLOAT_EQ(input.ADFormIndata.AirMaxPressureDrop, 100);
    EXPECT_FLOAT_EQ(input.ADFormIndata.AirMinOutletTemp, 40);
}

// A pair that reaches none of the dew temperatures the search tries does not exist.
TEST_F(ADRating, TheDewTemperatureReportedIsOneThePairReaches) {
    for (const double reach : {4.2, 30.0, 99.0}) {
        SCOPED_TRACE(reach);
        script.meets = [reach](const RatedPair& p) { return p.dew >= reach; };
        batch::ADOutputType r = opt.P_ADCalc(input);
        ASSERT_EQ(r.Exist, reach < 99);
        if (!r.Exist) continue;
        EXPECT_GE(r.DewTemp, reach);
        EXPECT_LT(r.DewTemp, reach + 0.01);
        EXPECT_GE(r.RefHXQResults_new.OverSurface, 0) << "the result is the rating at the reported dew point";
    }
}

TEST_F(ADRating, PlateNumbersThatBuildNoPairAreNotRated) {
    struct Case {
        std::int16_t air;
        std::int16_t ref;
    };
    for (const Case c : {Case{4, 20}, Case{0, 0}, Case{30, 4}}) {
        script.log.clear();
        input.ADFormIndata.AirNoOfPlates = c.air;
        input.ADFormIndata.RefNoOfPlates = c.ref;
        EXPECT_FALSE(opt.P_ADCalc(input).Exist) << c.air << " + " << c.ref;
        EXPECT_TRUE(script.log.empty());
    }
    EXPECT_TRUE(prompter->shown().empty());
}

}  // namespace
}  // namespace hxq::test
