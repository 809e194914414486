// Physical sanity of the sample range: the stored channel laws, read as the engine reads
// them, reproduce the chevron correlation they were fitted to (Martin 1996, as in
// tests/engines) within the error their source records, and the plate geometry of each
// model hangs together.
#include "engines/single_phase/power_law.h"
#include "engines/single_phase_test_model.h"
#include "sample_db.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <utility>

namespace hxq::sample_test {
namespace {

using engines::single_phase::PowerLaw;
using test::martin_nu_group;
using test::martin_xi;

// A stored law: coefficient c, n breakpoints, exponents x0..x4 and range starts cr0..cr4.
PowerLaw read_law(const Row& r, const std::string& c, const std::string& n, const std::string& x,
                  const std::string& cr) {
    std::array<double, 5> xs{}, starts{};
    for (std::size_t i = 0; i < xs.size(); ++i) {
        xs[i] = r.at(x + std::to_string(i)).number();
        starts[i] = r.at(cr + std::to_string(i)).number();
    }
    return {r.at(c).number(), static_cast<int>(r.at(n).integer()), xs, starts};
}

// The fits recorded in a SQL source: (angle, breakpoints) -> span and largest errors.
struct Fit {
    double re_min = 0, re_max = 0, friction = 0, nusselt = 0;
};
std::map<std::pair<double, long long>, Fit> recorded_fits(const std::string& source) {
    std::ifstream in(std::filesystem::path(HXQ_SOURCE_DIR) / source);
    std::stringstream text;
    text << in.rdbuf();
    static const std::regex re(R"(-- fit: beta=([0-9.]+) Re=([0-9.e+]+)\.\.([0-9.e+]+) breakpoints=([0-9]) )"
                               R"(friction_max_error=([0-9.]+)% nusselt_max_error=([0-9.]+)%)");
    std::map<std::pair<double, long long>, Fit> fits;
    const std::string s = text.str();
    for (auto it = std::sregex_iterator(s.begin(), s.end(), re); it != std::sregex_iterator(); ++it) {
        const auto& m = *it;
        fits[{std::stod(m[1]), std::stoll(m[4])}] = {std::stod(m[2]), std::stod(m[3]), std::stod(m[5]) / 100.0,
                                                      std::stod(m[6]) / 100.0};
    }
    return fits;
}

// Both product databases with the SQL source that records their fits.
class ChannelLaws : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(ChannelLaws, FollowMartinWithinTheRecordedError) {
    const auto [db_file, source] = GetParam();
    const auto fits = recorded_fits(source);
    ASSERT_FALSE(fits.empty()) << source << " records no fit";
    const auto channels = SampleDb(db_file).query("SELECT * FROM Channel");
    ASSERT_FALSE(channels.empty());
    for (const auto& r : channels) {
        SCOPED_TRACE("channel " + r.at("ChannelName").text());
        const double beta = r.at("ChevronAngle").number();
        // Valid: a positive coefficient, at most four breakpoints, rising and positive.
        const PowerLaw fp = read_law(r, "cFp", "noFp", "xFp", "crFp"), nu = read_law(r, "cnu", "noNu", "xNu", "crNu");
        ASSERT_TRUE(fp.valid() && nu.valid());
        const auto it = fits.find({beta, r.at("noFp").integer()});
        ASSERT_NE(it, fits.end()) << "no recorded fit for beta " << beta << " with " << r.at("noFp").text()
                                  << " breakpoints";
        const Fit& fit = it->second;
        // A fit worth the name; the jump of the reference at Re 2000 alone costs ~3 %.
        EXPECT_LT(fit.friction, 0.06);
        EXPECT_LT(fit.nusselt, 0.03);
        double worst_fp = 0, worst_nu = 0;
        for (int k = 0, n = 3000; k <= n; ++k) {
            const double re = fit.re_min * std::pow(fit.re_max / fit.re_min, static_cast<double>(k) / n);
            worst_fp = std::max(worst_fp, std::abs(fp(re) / martin_xi(re, beta) - 1.0));
            // The stored law is Nu / (Pr^(1/3) (eta/eta_w)^(1/6)), as martin_nu_group.
            worst_nu = std::max(worst_nu, std::abs(nu(re) / martin_nu_group(re, beta) - 1.0));
        }
        EXPECT_LE(worst_fp, fit.friction);
        EXPECT_LE(worst_nu, fit.nusselt);
    }
}

INSTANTIATE_TEST_SUITE_P(Sample, ChannelLaws,
                         ::testing::Values(std::pair{"products.db", "sample/products/range.sql"},
                                           std::pair{"legacy.db", "sample/legacy/legacy.sql"}));

TEST(SampleChannelPhysics, ChannelAnglesFollowThePlates) {
    SampleDb db("products.db");
    std::map<long long, std::map<char, double>> angles;
    for (const auto& r : db.query("SELECT * FROM Channel")) {
        const std::string name = r.at("ChannelName").text();
        angles[r.at("HXQID").integer()][name.back()] = r.at("ChevronAngle").number();
    }
    for (const auto& [model, a] : angles) {
        ASSERT_EQ(a.size(), 3u) << "model " << model << " lacks one of H, L, M";
        EXPECT_GE(a.at('H'), 55.0);
        EXPECT_LE(a.at('L'), 35.0);
        // A mixed channel has one plate of each kind.
        EXPECT_DOUBLE_EQ(a.at('M'), (a.at('H') + a.at('L')) / 2.0);
    }
}

// Plate geometry (VDI Heat Atlas): dh = 2b/Phi, effective plate area = L W Phi, channel
// volume b W L, pitch of the pack b + plate thickness; outer dimensions enclose the plate.
TEST(SampleChannelPhysics, PlateGeometryIsConsistent) {
    SampleDb db("products.db");
    SampleDb sel("selector.db");
    std::map<std::string, Row> meas;
    for (const auto& r : sel.query("SELECT * FROM HXQMeas")) meas[r.at("XPC").text()] = r;
    auto rows = db.query("SELECT h.*, c.ChVol, c.PortDiaUp, c.PortDiaDown, c.ChannelName FROM HXQ h "
                         "JOIN Channel c ON c.HXQID = h.HXQID");
    ASSERT_FALSE(rows.empty());
    for (const auto& r : rows) {
        SCOPED_TRACE(r.at("ChannelName").text());
        const double phi = r.at("Enlargement").number(), dh = r.at("Dh").number();
        const double w = r.at("FlowWidth").number(), l = r.at("FlowLength").number();
        const double gap = r.at("ChVol").number() / (w * l);
        EXPECT_GT(phi, 1.1);
        EXPECT_LT(phi, 1.4);
        EXPECT_NEAR(dh, 2.0 * gap / phi, 1e-5 * dh);
        EXPECT_NEAR(r.at("PlateArea").number(), l * w * phi, 1e-5 * r.at("PlateArea").number());
        EXPECT_TRUE(gap > 0.0015 && gap < 0.003) << "plate gap " << gap;
        const double t = r.at("plateThickness").number();
        EXPECT_TRUE(t >= 0.0003 && t <= 0.0005) << "plate thickness " << t;
        EXPECT_GE(r.at("PortDiaUp").number(), r.at("PortDiaDown").number());
        EXPECT_LT(r.at("PortDiaUp").number(), 0.5 * (w + 0.02));
        EXPECT_GE(r.at("MaxPlates").integer(), 60);
    }
    auto codes = db.query("SELECT d.*, h.plateThickness, h.FlowLength, h.FlowWidth, h.MaxPlates, "
                          "c.ChVol FROM Denomination d JOIN ModelTree n ON n.NodeID = d.NodeID "
                          "JOIN HXQ h ON h.HXQID = n.ModelID JOIN Channel c ON c.ChannelID = n.ChannelID1Left");
    ASSERT_FALSE(codes.empty());
    for (const auto& d : codes) {
        const std::string code =
            article_stem(d) + (d.at("Execution").blank() ? "1P*S" : d.at("Execution").text() + "*S");
        if (!meas.count(code)) continue;  // two-stage nodes only have their 2S code
        SCOPED_TRACE(code);
        const Row& m = meas.at(code);
        const double gap = d.at("ChVol").number() / (d.at("FlowLength").number() * d.at("FlowWidth").number());
        EXPECT_NEAR(m.at("PP_Plate").number(), gap + d.at("plateThickness").number(), 1e-7);
        EXPECT_GT(m.at("Height").number(), d.at("FlowLength").number());
        EXPECT_GT(m.at("Width").number(), d.at("FlowWidth").number());
        EXPECT_LE(m.at("MinNoP").integer(), d.at("MaxPlates").integer());
        // A full pack is a few millimetres per plate deep and weighs what steel plates weigh.
        const double plates = static_cast<double>(d.at("MaxPlates").integer());
        const double depth = m.at("PP_Start").number() +
                             (plates - m.at("PP_LessChpl").number()) * m.at("PP_Plate").number() +
                             m.at("OffsetDepth").number();
        EXPECT_NEAR(depth / plates, gap + d.at("plateThickness").number(), 0.0005);
        const double steel_plate = m.at("Height").number() * m.at("Width").number() *
                                   d.at("plateThickness").number() * 8000.0;
        EXPECT_GT(m.at("Weight_Plate").number(), steel_plate);
        EXPECT_LT(m.at("Weight_Plate").number(), 1.6 * steel_plate);
        EXPECT_GT(m.at("TestPressure1").number(), m.at("CH1PressAlt1").number());
        // Stored pressures times 100 are the Pa the library works in: 10 to 50 bar.
        const double design_pa = m.at("CH1PressAlt1").number() * 100;
        EXPECT_TRUE(design_pa >= 1e6 && design_pa <= 5e6) << design_pa << " Pa";
        EXPECT_TRUE(m.at("CH1TempAlt1").number() > 100 && m.at("CH1TempAlt1").number() < 250);
    }
}

}  // namespace
}  // namespace hxq::sample_test
