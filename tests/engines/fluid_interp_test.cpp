#include "engines/fluid/interp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace hxq::engines::fluid {
namespace {

TEST(FluidInterp, SmoothDataToFourthOrder) {
    // exp on a 1-wide grid: fourth-order slopes make the midpoints good to ~1e-4.
    std::vector<double> y;
    for (int i = 0; i <= 10; ++i) y.push_back(std::exp(0.3 * i));
    const UniformSpline s(0, 1, y);
    for (int i = 0; i <= 10; ++i) EXPECT_DOUBLE_EQ(s(i), y[static_cast<std::size_t>(i)]);
    for (double x = 2.5; x < 8; x += 1) EXPECT_NEAR(s(x) / std::exp(0.3 * x), 1, 1e-4) << x;
    double x = 0;
    ASSERT_TRUE(s.inverse(std::exp(0.3 * 4.321), x));
    EXPECT_NEAR(x, 4.321, 1e-4);
    EXPECT_FALSE(s.inverse(0.5, x));  // below the data
}

TEST(FluidInterp, MonotoneDataStayMonotoneWithoutOvershoot) {
    // A step (the shape of cp next to the critical point) on a coarse grid.
    const std::vector<double> y{0, 0, 0.01, 0.02, 5, 5.1, 5.1, 5.1};
    const UniformSpline s(0, 1, y);
    double prev = -1;
    for (double x = 0; x <= 7; x += 0.01) {
        const double v = s(x);
        EXPECT_GE(v, prev - 1e-12) << x;
        EXPECT_GE(v, 0 - 1e-12) << x;
        EXPECT_LE(v, 5.1 + 1e-12) << x;
        prev = v;
    }
    // A local maximum in the data is not overshot.
    const UniformSpline peak(0, 1, {1, 2, 3, 2, 1});
    for (double x = 0; x <= 4; x += 0.01) EXPECT_LE(peak(x), 3 + 1e-12);
}

TEST(FluidInterp, ContinuousSlopeAtNodes) {
    const UniformSpline s(0, 2, {1, 1.5, 3, 3.2, 7, 7.5, 9});
    for (double node : {2.0, 4.0, 6.0, 8.0, 10.0}) {
        const double e = 1e-7;
        EXPECT_NEAR(s.derivative(node - e), s.derivative(node + e), 1e-5) << node;
        EXPECT_NEAR(s(node - e), s(node + e), 1e-6) << node;
    }
}

TEST(FluidInterp, GapsLimitTheCoveredRange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const UniformSpline s(-10, 1, {nan, 1, 2, 3, 4, nan, 6});
    EXPECT_DOUBLE_EQ(s.x_min(), -9);
    EXPECT_DOUBLE_EQ(s.x_max(), -6);
    EXPECT_FALSE(s.covers(-9.5));
    EXPECT_FALSE(s.covers(-5.5));
    EXPECT_TRUE(s.covers(-7.5));
    EXPECT_TRUE(UniformSpline(0, 1, {nan, 1, nan}).empty());
}

}  // namespace
}  // namespace hxq::engines::fluid
