// The channel power laws and the pass arrangements against published and documented values.
#include "engines/single_phase/pntu.h"
#include "engines/single_phase/power_law.h"
#include "engines/single_phase/rating.h"
#include "single_phase_test_model.h"

#include <gtest/gtest.h>

#include <cmath>

namespace hxq::engines::single_phase {
namespace {

core::SinglePhaseChannel one_break() {
    core::SinglePhaseChannel ch;
    ch.Defined = true;
    ch.cFp = 4;
    ch.noFp = 1;
    ch.xFp[0] = -0.3;
    ch.xFp[1] = -0.1;
    ch.crFp[1] = 2000;
    ch.cnu = 0.3;
    ch.noNu = 0;
    ch.xNu[0] = 0.7;
    return ch;
}

TEST(SinglePhaseLaws, DocumentedExampleIsContinuousAtTheBreakpoint) {
    const PowerLaw xi = PowerLaw::friction(one_break());
    ASSERT_TRUE(xi.valid());
    // Values of the example in docs/engine-records.md.
    EXPECT_NEAR(xi(5000), 0.37321, 5e-5);
    EXPECT_NEAR(xi(2000), 0.40903, 5e-5);
    EXPECT_NEAR(xi(1999.999), xi(2000), 1e-6);
    EXPECT_DOUBLE_EQ(xi(100), 4 * std::pow(100.0, -0.3));
    EXPECT_DOUBLE_EQ(xi.exponent(1000), -0.3);
    EXPECT_DOUBLE_EQ(xi.exponent(2000), -0.1);
    const PowerLaw nu = PowerLaw::heat_transfer(one_break());
    EXPECT_DOUBLE_EQ(nu(1000), 0.3 * std::pow(1000.0, 0.7));
}

TEST(SinglePhaseLaws, InverseOfXiRe2FindsTheReynoldsNumberInEveryRange) {
    const PowerLaw xi = PowerLaw::friction(test::martin_channel(60, test::kWidePoints));
    for (double re : {50.0, 250.0, 1500.0, 2000.0, 7000.0, 25000.0, 80000.0})
        EXPECT_NEAR(xi.inverse_times_re2(xi(re) * re * re), re, 1e-9 * re) << re;
}

TEST(SinglePhaseLaws, FitThroughMartinMatchesThePublishedTable) {
    // physics.md: Nu at Pr = 5, η/η_w = 1 and ξ(60°, 2000) = 1.9813.
    EXPECT_NEAR(test::martin_xi(2000, 60), 1.9813, 5e-4);
    EXPECT_NEAR(test::martin_nu_group(2000, 60) * std::cbrt(5.0), 75.20, 0.01);
    EXPECT_NEAR(test::martin_nu_group(10000, 30) * std::cbrt(5.0), 138.25, 0.01);
    const PowerLaw nu = PowerLaw::heat_transfer(test::martin_channel(60, test::kWidePoints));
    EXPECT_NEAR(nu(5000), test::martin_nu_group(5000, 60), 1e-9);
    // Between the points the law stays within a few percent of the curve.
    EXPECT_NEAR(nu(8000) / test::martin_nu_group(8000, 60), 1.0, 0.03);
}

TEST(SinglePhaseLaws, DataThatDescribeNoLawAreRefused) {
    struct Broken {
        const char* what;
        void (*change)(core::SinglePhaseChannel&);
        bool friction;
    };
    for (const Broken& c : {
             Broken{"a negative breakpoint", [](auto& ch) { ch.crFp[1] = -5; }, true},
             {"a breakpoint below the one before", [](auto& ch) { ch.noFp = 2; ch.crFp[2] = 1000; }, true},
             {"seven breakpoints", [](auto& ch) { ch.noFp = 7; }, true},
             {"a pressure drop that falls as the flow rises", [](auto& ch) { ch.xFp[1] = -2.5; }, true},
             {"no coefficient", [](auto& ch) { ch.cnu = 0; }, false},
         }) {
        auto ch = one_break();
        c.change(ch);
        EXPECT_FALSE((c.friction ? PowerLaw::friction(ch) : PowerLaw::heat_transfer(ch)).valid()) << c.what;
    }
}

TEST(SinglePhasePassArrangements, ThreePassAgainstOnePassMatchesKandlikarShah) {
    // physics.md check: 3-pass/1-pass, R1 = 1/3, NTU1 = 1 → P1 = 0.57435 (0.57187 reversed).
    PassArrangement a;
    a.symmetric = false;
    a.passes_a = 3;
    a.counter = true;
    EXPECT_NEAR(effectiveness(a, 1, 1.0, 1.0 / 3.0), 0.57435, 5e-6);
    EXPECT_NEAR(effectiveness(a, 2, 1.0, 1.0 / 3.0), 0.57187, 5e-6);
}

TEST(SinglePhasePassArrangements, OnePassAgainstTwoMatchesTheClosedForm) {
    // Kandlikar & Shah 1/2: P1 = ½(A + B − ½ A B R1), A = Pp(NTU1, R1/2), B = Pc(NTU1, R1/2).
    PassArrangement a;
    a.symmetric = false;
    a.passes_a = 2;
    for (double ntu : {0.3, 1.0, 2.5}) {
        for (double r : {0.4, 1.0, 1.7}) {
            const double pa = p_parallel(ntu, r / 2);
            const double pb = p_counter(ntu, r / 2);
            EXPECT_NEAR(effectiveness(a, 2, ntu, r), 0.5 * (pa + pb - 0.5 * pa * pb * r), 1e-12);
        }
    }
}

TEST(SinglePhasePassArrangements, RequiredNtuInvertsEveryArrangement) {
    PassArrangement counter;
    PassArrangement parallel;
    parallel.counter = false;
    PassArrangement multi;
    multi.symmetric = false;
    multi.passes_a = 3;
    for (double r : {0.25, 1.0, 2.0}) {
        for (double ntu : {0.2, 1.0, 3.0}) {
            for (const PassArrangement* a : {&counter, &parallel, &multi}) {
                const double p = effectiveness(*a, 1, ntu, r);
                EXPECT_NEAR(required_ntu(*a, 1, p, r), ntu, 1e-8 * ntu);
            }
        }
    }
    // Co-current flow cannot cool the hot side below the mixed temperature.
    EXPECT_LT(ntu_parallel(0.6, 1.0), 0);
    EXPECT_LT(ntu_counter(1.0, 0.5), 0);
}

TEST(SinglePhasePlateRules, ChannelsAlternateAndFillEveryPass) {
    for (int plates = 3; plates <= 80; ++plates) {
        for (const auto& passes : {std::array<int, 2>{1, 1}, {2, 2}, {3, 3}, {4, 4}, {2, 1}, {1, 3}}) {
            for (int extra = 0; extra < 2; ++extra) {
                const auto ch = channels_for(plates, passes[0], passes[1], extra);
                if (!ch) continue;
                const auto& n = *ch;
                EXPECT_EQ(n[0] + n[1], plates - 1);
                EXPECT_LE(std::abs(n[0] - n[1]), 1) << plates;
                for (std::size_t s = 0; s < 2; ++s) {
                    EXPECT_EQ(n[s] % passes[s], 0) << plates << " side " << s;
                    EXPECT_GE(n[s], passes[s]);
                }
                if (passes[0] == 1 && passes[1] == 1 && n[0] != n[1]) {
                    EXPECT_GT(n[static_cast<std::size_t>(extra)], n[static_cast<std::size_t>(1 - extra)]);
                }
            }
        }
    }
    // The counts the plate rules name.
    EXPECT_TRUE(channels_for(4, 1, 1, 1));
    EXPECT_FALSE(channels_for(5, 1, 1, 1));
    EXPECT_TRUE(channels_for(5, 2, 2, 1));
    EXPECT_FALSE(channels_for(7, 2, 2, 1));  // 6 channels: 3 per pass cannot alternate
    EXPECT_TRUE(channels_for(9, 4, 4, 1));
}

}  // namespace
}  // namespace hxq::engines::single_phase
