// The refrigerant data over the range of condensers and evaporators: discharge gas up to
// 110 K above its dew point, liquid down to 46 K below its bubble point, and the 0.5 K grid
// within 35 K of the critical point with its seams to the 2 K grids and the 1 K
// saturation table.
#include "engines/fluid/catalogue.h"
#include "engines/fluid/fluid_error.h"
#include "engines/fluid/refrigerant.h"
#include "engines/fluid/sqlite_reader.h"
#include "engines/csv_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace hxq::engines::fluid {
namespace {

using testing::num;
using testing::read_csv;
using testing::rel;

const std::string kDb = std::string(HXQ_SAMPLE_DIR) + "/fluids.db";
const char* const kProps[kGridProperties] = {"rho_kg_m3", "h_J_kg", "cp_J_kgK", "mu_Pa_s",
                                             "lambda_W_mK"};

using FluidRefrigerantRange = testing::FluidDatabases;

double prop(const core::PhaseState& s, int p) {
    const double v[] = {s.Density, s.Enthalpy, s.SpecificHeat, s.Viscosity, s.Conductivity};
    return v[p];
}

std::shared_ptr<const RefrigerantData> data_of(const std::string& name) {
    for (const auto& e : refrigerant_entries(kDb))
        if (e.name == name) return refrigerant_data(kDb, e.id);
    throw std::runtime_error("no refrigerant " + name);
}

// The reference states of refrigerant_range_points.csv at their own pressure and
// temperature. "extension": superheat 90-110 K and subcooling 40-46 K, nodes of the 2 K
// grids. "nearcritical": saturation temperatures and temperature differences on half
// kelvins, between the nodes of the 2 K grids and of the 1 K saturation table, where only
// the near-critical grid holds them (the 2 K grids miss cp there by up to 5 %).
TEST_F(FluidRefrigerantRange, ReferenceStatesOfTheExtendedAndNearCriticalTables) {
    const auto t = read_csv("refrigerant_range_points.csv");
    std::map<std::string, int> checked;
    for (const auto& row : t) {
        const std::string group = row.at("group");
        if (group == "latent") continue;
        auto f = create_fluid(row.at("fluid"));
        const bool vapour = row.at("side") == "vapor";
        const double p = num(row, "p_Pa"), T = num(row, "T_C"), tsat = num(row, "Tsat_C");
        const std::string where = group + " " + row.at("fluid") + " " + row.at("side") + " " +
                                  row.at("Tsat_C") + "/" + row.at("dT_K");
        const auto s = vapour ? f->VaporState(p, T) : f->LiquidState(p, T);
        for (int k = 0; k < kGridProperties; ++k)
            EXPECT_NEAR(rel(prop(s, k), num(row, kProps[k])), 0, 1e-6) << where << " " << kProps[k];
        if (num(row, "dT_K") == 0) {  // the saturated state, from the saturation functions
            const auto sat = vapour ? f->RefVapor(tsat) : f->RefLiquid(tsat);
            EXPECT_NEAR(rel(vapour ? f->SatPressureDew(tsat) : f->SatPressureBubble(tsat), p), 0, 1e-7)
                << where;
            EXPECT_NEAR((vapour ? f->SatTemperatureDew(p) : f->SatTemperatureBubble(p)) - tsat, 0, 1e-6)
                << where;
            for (int k = 0; k < kGridProperties; ++k)
                EXPECT_NEAR(rel(prop(sat, k), num(row, kProps[k])), 0, 1e-6)
                    << where << " saturated " << kProps[k];
        }
        ++checked[group];
    }
    EXPECT_GE(checked["extension"], 40);
    EXPECT_GE(checked["nearcritical"], 100);
}

// Every point of the near-critical grid through VaporState and LiquidState: its own value
// where the fine grid answers alone, and within the 2 K grids' accuracy along the seams
// where the two are blended.
TEST_F(FluidRefrigerantRange, EveryNearCriticalPointThroughThePublicMembers) {
    SqliteReader db(kDb);
    SqliteReader::Query q(
        db,
        "SELECT r.Name, g.Side, g.Tsat_C, g.dT_K, g.p_Pa, g.rho_kg_m3, g.h_J_kg, "
        "g.cp_J_kgK, g.mu_Pa_s, g.lambda_W_mK FROM NearCriticalGrid g "
        "JOIN Refrigerants r USING (FluidID) ORDER BY r.Name, g.Side, g.Tsat_C, g.dT_K");
    std::string name;
    core::FluidRef f;
    std::shared_ptr<const RefrigerantData> data;
    int alone = 0, blended = 0;
    while (q.step()) {
        if (q.text(0) != name) {
            name = q.text(0);
            f = create_fluid(name);
            data = data_of(name);
        }
        const bool vapour = q.text(1) == "vapor";
        const double tsat = q.number(2), dt = q.number(3), p = q.number(4);
        const auto s = vapour ? f->VaporState(p, tsat + dt) : f->LiquidState(p, tsat - dt);
        const auto& phase = vapour ? data->vapor : data->liquid;
        double lo, hi;
        const bool both = phase.coarse().dt_range(tsat, lo, hi) && dt <= hi;
        const bool seam = both && phase.fine_weight(tsat, dt) < 1;
        (seam ? blended : alone)++;
        for (int k = 0; k < kGridProperties; ++k)
            EXPECT_NEAR(rel(prop(s, k), q.number(5 + k)), 0, seam ? 5e-4 : 1e-7)
                << name << " " << q.text(1) << " " << tsat << "/" << dt << " " << kProps[k];
    }
    EXPECT_GT(alone, 50000);
    EXPECT_GT(blended, 2000);
}

// Interpolation between the points of the near-critical grid, measured as for the 2 K
// grids: interpolants from every other point (1 K steps), checked at the points left out.
// The limits are the accuracy stated in sample/fluids/PROVENANCE.md for these doubled
// steps; the grid's own 0.5 K steps do three to ten times better.
TEST_F(FluidRefrigerantRange, NearCriticalGridInterpolatesLeftOutPoints) {
    struct Limit {
        const char* region;
        std::function<bool(double tsat_below_crit, double dt, int prop)> holds;
        double limit;
    };
    const Limit limits[] = {
        {"dT >= 2 K", [](double, double dt, int) { return dt >= 2; }, 1e-3},
        {"saturation and dT < 2 K, Tsat <= T_crit - 20 K", [](double b, double, int) { return b >= 20; },
         1e-3},
        {"cp, dT < 2 K, Tsat > T_crit - 20 K", [](double, double, int p) { return p == kGridCp; },
         2.5e-2},
        {"rho, h, mu, lambda, dT < 2 K, Tsat > T_crit - 20 K", [](double, double, int) { return true; },
         6e-3},
    };
    SqliteReader db(kDb);
    for (const auto& e : refrigerant_entries(kDb)) {
        const auto data = refrigerant_data(kDb, e.id);
        for (const char* side : {"vapor", "liquid"}) {
            const bool vapour = side == std::string("vapor");
            SqliteReader::Query q(
                db,
                "SELECT Tsat_C, dT_K, rho_kg_m3, h_J_kg, cp_J_kgK, mu_Pa_s, lambda_W_mK "
                "FROM NearCriticalGrid WHERE FluidID = ?1 AND Side = ?2 ORDER BY Tsat_C, dT_K");
            q.bind(1, static_cast<double>(e.id));
            q.bind(2, std::string(side));
            std::vector<std::array<double, 7>> rows;
            while (q.step()) {
                std::array<double, 7> r{};
                for (int i = 0; i < 7; ++i) r[static_cast<std::size_t>(i)] = q.number(i);
                rows.push_back(r);
            }
            ASSERT_FALSE(rows.empty()) << e.name << " " << side;
            int nd = 0;
            while (rows[static_cast<std::size_t>(nd)][0] == rows[0][0]) ++nd;
            const int nt = static_cast<int>(rows.size()) / nd, nt2 = (nt + 1) / 2, nd2 = (nd + 1) / 2;
            auto at = [&](int i, int j) -> const std::array<double, 7>& {
                return rows[static_cast<std::size_t>(i * nd + j)];
            };
            std::array<std::vector<double>, kGridProperties> values;
            for (int p = 0; p < kGridProperties; ++p)
                for (int i = 0; i < nt; i += 2)
                    for (int j = 0; j < nd; j += 2)
                        values[static_cast<std::size_t>(p)].push_back(at(i, j)[2 + p]);
            const PhaseGrid grid(rows[0][0], 1.0, nt2, 1.0, nd2, values, vapour);
            int checked = 0;
            for (int i = 0; i < nt; ++i)
                for (int j = 0; j < nd; ++j) {
                    if (i % 2 == 0 && j % 2 == 0) continue;
                    const auto& r = at(i, j);
                    const double below = data->t_crit - r[0];
                    for (int p = 0; p < kGridProperties; ++p) {
                        // R717's vapour conductivity model dips by up to 14 % at 131-133 °C
                        // (PROVENANCE.md): no grid step follows it.
                        if (e.name == "R717" && vapour && p == kGridLambda &&
                            std::fabs(r[0] + r[1] - 132) <= 4)
                            continue;
                        double out;
                        if (!grid.eval(p, r[0], r[1], out)) continue;  // past the last even row
                        const auto& l =
                            *std::find_if(std::begin(limits), std::end(limits),
                                          [&](const Limit& x) { return x.holds(below, r[1], p); });
                        EXPECT_NEAR(rel(out, r[2 + p]), 0, l.limit)
                            << e.name << " " << side << " " << r[0] << "/" << r[1] << " " << kProps[p]
                            << " (" << l.region << ")";
                        ++checked;
                    }
                }
            EXPECT_GT(checked, 5000) << e.name << " " << side;
            // The saturated rows as the saturation functions use them, from every other row.
            constexpr int kColumns[2][kGridProperties] = {{kRhoVap, kHVap, kCpVap, kMuVap, kLambdaVap},
                                                          {kRhoLiq, kHLiq, kCpLiq, kMuLiq, kLambdaLiq}};
            for (int p = 0; p < kGridProperties; ++p) {
                const bool lg = sat_column_is_log(kColumns[vapour ? 0 : 1][p]);
                std::vector<double> even;
                for (int i = 0; i < nt; i += 2)
                    even.push_back(lg ? std::log(at(i, 0)[2 + p]) : at(i, 0)[2 + p]);
                const UniformSpline s(rows[0][0], 1.0, even);
                for (int i = 1; i + 1 < nt; i += 2) {
                    const double y = lg ? std::exp(s(at(i, 0)[0])) : s(at(i, 0)[0]);
                    EXPECT_NEAR(rel(y, at(i, 0)[2 + p]), 0, 1e-3)
                        << e.name << " saturated " << side << " " << at(i, 0)[0] << " " << kProps[p];
                }
            }
        }
    }
}

// Where the answer passes from one table to another, values and slopes run on: nodes of
// the saturation table and rows of the 2 K grids, the fine grid's first kelvin of saturation temperature and last 2 K of superheat or subcooling,
// and the temperature where the saturation functions change tables.
TEST_F(FluidRefrigerantRange, SeamsBetweenTablesAreSmooth) {
    using Fn = std::function<double(const core::FluidObject&, double)>;
    struct Seam {
        const char* fluid;
        const char* what;
        Fn f;
        std::function<double(const RefrigerantData&)> at;
    };
    const auto vapour_at_dt = [](double dt, int p) {
        return [=](const core::FluidObject& f, double tsat) {
            return prop(f.VaporState(f.SatPressureDew(tsat), tsat + dt), p);
        };
    };
    const auto liquid_at_dt = [](double dt, int p) {
        return [=](const core::FluidObject& f, double tsat) {
            return prop(f.LiquidState(f.SatPressureBubble(tsat), tsat - dt), p);
        };
    };
    const auto vapour_at_tsat = [](double tsat, int p) {
        return [=](const core::FluidObject& f, double dt) {
            return prop(f.VaporState(f.SatPressureDew(tsat), tsat + dt), p);
        };
    };
    const auto fine_start = [](const RefrigerantData& d) { return d.vapor.fine().tsat_min(); };
    const auto blend_end = [](const RefrigerantData& d) {
        return d.vapor.fine().tsat_min() + PhaseData::kTsatBlend;
    };
    const auto sat_switch = [](const RefrigerantData& d) { return d.sat_fine_from; };
    const auto at_t = [](double t) { return [=](const RefrigerantData&) { return t; }; };
    const Seam seams[] = {
        {"R410A", "saturated vapour cp, saturation-table node at 10 °C",
         [](const core::FluidObject& f, double t) { return f.RefVapor(t).SpecificHeat; }, at_t(10)},
        {"R410A", "saturated vapour cp, saturation-table node at 31 °C",
         [](const core::FluidObject& f, double t) { return f.RefVapor(t).SpecificHeat; }, at_t(31)},
        {"R410A", "vapour density at 35 °C across the 2 K grid's row of 20 °C",
         [](const core::FluidObject& f, double t) { return f.VaporState(f.SatPressureDew(t), 35).Density; },
         at_t(20)},
        {"R410A", "vapour cp at 0.7 K superheat, start of the fine grid", vapour_at_dt(0.7, kGridCp),
         fine_start},
        {"R410A", "vapour cp at 0.7 K superheat, end of the Tsat blend", vapour_at_dt(0.7, kGridCp),
         blend_end},
        {"R32", "vapour density at 5.3 K superheat, start of the fine grid", vapour_at_dt(5.3, kGridRho),
         fine_start},
        {"R32", "liquid cp at 1.1 K subcooling, start of the fine grid", liquid_at_dt(1.1, kGridCp),
         [](const RefrigerantData& d) { return d.liquid.fine().tsat_min(); }},
        {"R410A", "vapour cp at a dew point of 55.3 °C, end of the fine grid's superheat",
         vapour_at_tsat(55.3, kGridCp),
         [](const RefrigerantData& d) { return d.vapor.fine().dt_max(); }},
        {"R410A", "vapour enthalpy at a dew point of 55.3 °C, start of the superheat blend",
         vapour_at_tsat(55.3, kGridH),
         [](const RefrigerantData& d) { return d.vapor.fine().dt_max() - PhaseData::kDtBlend; }},
        {"R134a", "saturated vapour cp, saturation table change",
         [](const core::FluidObject& f, double t) { return f.RefVapor(t).SpecificHeat; }, sat_switch},
        {"R134a", "dew pressure, saturation table change",
         [](const core::FluidObject& f, double t) { return f.SatPressureDew(t); }, sat_switch},
        {"R407C", "latent heat, saturation table change",
         [](const core::FluidObject& f, double t) { return f.LatentHeat(t); }, sat_switch},
        {"R407C", "bubble temperature, saturation table change",
         [](const core::FluidObject& f, double t) {
             return f.SatTemperatureBubble(f.SatPressureBubble(t));
         },
         sat_switch},
    };
    for (const auto& s : seams) {
        auto f = create_fluid(s.fluid);
        const double x = s.at(*data_of(s.fluid));
        ASSERT_TRUE(std::isfinite(x)) << s.fluid << " " << s.what;
        const double e = 1e-6, h = 1e-3;
        const double l = s.f(*f, x - e), r = s.f(*f, x + e);
        const double slope_l = (s.f(*f, x - e) - s.f(*f, x - h)) / (h - e);
        const double slope_r = (s.f(*f, x + h) - s.f(*f, x + e)) / (h - e);
        EXPECT_NEAR(rel(r, l), 0, 1e-7) << s.fluid << " " << s.what << " at " << x;
        EXPECT_NEAR(slope_r - slope_l, 0, 2e-3 * std::fabs(slope_l) + 1e-9 * std::fabs(l))
            << s.fluid << " " << s.what << " at " << x;
    }
}

// The latent heat of a zeotropic blend near its critical point: dew vapour to bubble
// liquid at one pressure, from the refined saturation data. The reference bubble point of
// the dew pressure comes from the saturated liquid rows around it (cubic in ln p).
TEST_F(FluidRefrigerantRange, LatentHeatOfABlendNearItsCriticalPoint) {
    const auto t = read_csv("refrigerant_range_points.csv");
    double t_dew = 0, p_dew = 0, h_dew = 0;
    std::vector<double> ln_p, tb, hb;
    for (const auto& row : t) {
        if (row.at("group") != "latent") continue;
        if (row.at("side") == "vapor") {
            t_dew = num(row, "Tsat_C");
            p_dew = num(row, "p_Pa");
            h_dew = num(row, "h_J_kg");
        } else {
            ln_p.push_back(std::log(num(row, "p_Pa")));
            tb.push_back(num(row, "Tsat_C"));
            hb.push_back(num(row, "h_J_kg"));
        }
    }
    ASSERT_EQ(ln_p.size(), 4u);
    auto lagrange = [](const std::vector<double>& xs, const std::vector<double>& ys, double x) {
        double sum = 0;
        for (std::size_t i = 0; i < xs.size(); ++i) {
            double w = 1;
            for (std::size_t j = 0; j < xs.size(); ++j)
                if (j != i) w *= (x - xs[j]) / (xs[i] - xs[j]);
            sum += w * ys[i];
        }
        return sum;
    };
    const double t_bubble = lagrange(ln_p, tb, std::log(p_dew));
    const double latent = h_dew - lagrange(tb, hb, t_bubble);
    auto f = create_fluid("R407C");
    EXPECT_NEAR(f->SatTemperatureBubble(p_dew), t_bubble, 1e-4);
    EXPECT_NEAR(rel(f->LatentHeat(t_dew), latent), 0, 1e-5);
    EXPECT_GT(t_dew - t_bubble, 2.5);  // the glide that makes it differ from h_v - h_l at t
    EXPECT_GT(f->LatentHeat(t_dew), f->RefVapor(t_dew).Enthalpy - f->RefLiquid(t_dew).Enthalpy + 5e3);
}

// Every refrigerant reaches 100 K of superheat and 40 K of subcooling at 0 °C saturation;
// states beyond the tables, or where the equations of state end, are range errors that
// say what the data cover.
TEST_F(FluidRefrigerantRange, StatesBeyondTheTablesAreRangeErrors) {
    for (const auto& e : refrigerant_entries(kDb)) {
        auto f = create_fluid(e.name);
        EXPECT_NO_THROW(f->VaporState(f->SatPressureDew(0), 100)) << e.name;
        EXPECT_NO_THROW(f->LiquidState(f->SatPressureBubble(0), -40)) << e.name;
    }
    struct Case {
        const char* fluid;
        bool vapour;
        double tsat, t;
        const char* says;
    };
    const Case cases[] = {
        {"R134a", true, 0, 110.5, "at this dew point the data cover superheat 0 .. 110 K"},
        {"R134a", false, 40, -6.5, "at this bubble point the data cover subcooling 0 .. 46 K"},
        // Where the equations of state end: 435 K (Tillner-Roth & Yokozeki 1997), 410 K
        // (Lemmon & Akasaka 2022), 420 K (Thol & Lemmon 2016); the melting line of CO2 (Span &
        // Wagner 1996), 200 K for the blends (Lemmon 2003), ammonia's triple point at
        // -77.655 °C (Gao et al. 2020).
        {"R32", true, 60, 161, "superheat 0 .. 100 K"},
        {"R1234yf", true, 40, 137, "superheat 0 .. 96 K"},
        {"R1234ze(E)", true, 50, 147.5, "superheat 0 .. 96 K"},
        {"R744", false, -20, -58, "subcooling 0 .. 36 K"},
        {"R410A", false, -40, -74, "subcooling 0 .. 32 K"},
        {"R717", false, -40, -78, "subcooling 0 .. 36 K"},
        // Above the 2 K grids only the near-critical grid answers, up to 16 K from
        // saturation; R717 and R600a have no grid between 70 °C and its start.
        {"R134a", true, 80, 96.5, "superheat 0 .. 16 K"},
        {"R134a", false, 90, 73.5, "subcooling 0 .. 16 K"},
        {"R717", true, 85, 90, "the data hold no vapour states at this dew point"},
        {"R600a", false, 90, 80, "the data hold no liquid states at this bubble point"},
    };
    for (const auto& c : cases) {
        auto f = create_fluid(c.fluid);
        const double p = c.vapour ? f->SatPressureDew(c.tsat) : f->SatPressureBubble(c.tsat);
        try {
            const auto s = c.vapour ? f->VaporState(p, c.t) : f->LiquidState(p, c.t);
            ADD_FAILURE() << c.fluid << " " << c.tsat << "/" << c.t << " gave a state, density "
                          << s.Density;
        } catch (const OutOfRange& e) {
            EXPECT_NE(e.description().find(c.says), std::string::npos) << e.description();
        }
    }
    auto r134a = create_fluid("R134a");
    EXPECT_THROW(r134a->SatPressureDew(96.5), OutOfRange);  // the tables end 5 K below T_crit
    EXPECT_THROW(r134a->RefVapor(96.5), OutOfRange);
    EXPECT_THROW(r134a->SatTemperatureBubble(r134a->FluidInfo().CriticalPressure), OutOfRange);
}

}  // namespace
}  // namespace hxq::engines::fluid
