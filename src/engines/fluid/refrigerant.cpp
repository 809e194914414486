#include "engines/fluid/refrigerant.h"

#include "engines/fluid/fluid_error.h"
#include "engines/fluid/sqlite_reader.h"

#include <fmt/core.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <mutex>

namespace hxq::engines::fluid {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// A temperature this far on the wrong side of a saturation line still counts as on it
// (K): absorbs the round trip of the inverse saturation functions and pressures given
// to more digits than the tables hold.
constexpr double kPhaseTolerance = 1e-5;
// Pressures given to more digits than the tables hold land a hair outside a grid's last
// row: this much of a step beyond the edge still counts as on it.
constexpr double kGridEdge = 1e-5;


std::vector<std::string> split_aliases(const std::string& text) {
    std::vector<std::string> out;
    std::string cur;
    for (char c : text) {
        if (c == ';') {
            if (!cur.empty()) out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

// Uniform step of sorted distinct values, or throws.
double uniform_step(const std::vector<double>& xs, const std::string& what) {
    if (xs.size() < 2) throw FluidDatabaseError(what + ": fewer than two points");
    const double h = xs[1] - xs[0];
    for (std::size_t i = 1; i < xs.size(); ++i)
        if (std::fabs(xs[i] - xs[i - 1] - h) > 1e-9 * std::max(1.0, std::fabs(h)))
            throw FluidDatabaseError(what + ": points are not evenly spaced");
    return h;
}

std::mutex& cache_mutex() {
    static std::mutex m;
    return m;
}

// 0 at x <= 0, 1 at x >= 1, with zero slope at both ends.
double smoothstep(double x) {
    x = std::clamp(x, 0.0, 1.0);
    return x * x * (3 - 2 * x);
}

}  // namespace

bool sat_column_is_log(int c) {
    return c == kPBubble || c == kPDew || c == kRhoVap || c == kCpLiq || c == kCpVap ||
           c == kMuLiq || c == kMuVap;
}

bool grid_property_is_log(int p, bool vapour) {
    return p == kGridCp || p == kGridMu || (vapour && p == kGridRho);
}

// ---------------------------------------------------------------------------- PhaseGrid

PhaseGrid::PhaseGrid(double t0, double ht, int nt, double hd, int nd,
                     std::array<std::vector<double>, kGridProperties> values, bool vapour)
    : t0_(t0), ht_(ht), hd_(hd), nt_(nt), nd_(nd), vapour_(vapour), y_(std::move(values)) {
    for (int p = 0; p < kGridProperties; ++p)
        if (grid_property_is_log(p, vapour_))
            for (double& v : y_[static_cast<std::size_t>(p)]) v = v > 0 ? std::log(v) : kNaN;
    for (auto& m : m_) m.assign(static_cast<std::size_t>(nt * nd), 0.0);
    lo_.assign(static_cast<std::size_t>(nt), 0);
    hi_.assign(static_cast<std::size_t>(nt), -1);
    for (int r = 0; r < nt; ++r) {
        auto complete = [&](int c) {
            for (const auto& y : y_)
                if (std::isnan(y[static_cast<std::size_t>(r * nd + c)])) return false;
            return true;
        };
        int best_lo = 0, best_len = 0;
        for (int c = 0; c < nd;) {
            if (!complete(c)) {
                ++c;
                continue;
            }
            int e = c;
            while (e < nd && complete(e)) ++e;
            if (e - c > best_len) {
                best_len = e - c;
                best_lo = c;
            }
            c = e;
        }
        if (best_len < 2) continue;  // no interval in this row
        lo_[static_cast<std::size_t>(r)] = best_lo;
        hi_[static_cast<std::size_t>(r)] = best_lo + best_len - 1;
        for (int p = 0; p < kGridProperties; ++p) {
            const auto off = static_cast<std::size_t>(r * nd + best_lo);
            monotone_slopes(y_[static_cast<std::size_t>(p)].data() + off, best_len, hd_,
                            m_[static_cast<std::size_t>(p)].data() + off);
        }
    }
}

bool PhaseGrid::row_covers(int row, int col) const {
    const auto r = static_cast<std::size_t>(row);
    return lo_[r] <= col && col + 1 <= hi_[r];
}

double PhaseGrid::row_value(int p, int row, int col, double w) const {
    const auto& y = y_[static_cast<std::size_t>(p)];
    const auto& m = m_[static_cast<std::size_t>(p)];
    const auto k = static_cast<std::size_t>(row * nd_ + col);
    return hermite(y[k], y[k + 1], m[k], m[k + 1], hd_, w);
}

bool PhaseGrid::cells_covered(int r, int& lo, int& hi) const {
    const auto a = static_cast<std::size_t>(r), b = a + 1;
    lo = std::max(lo_[a], lo_[b]);
    hi = std::min(hi_[a], hi_[b]);
    return hi > lo;
}

int PhaseGrid::row_candidates(double tsat, int (&rows)[2]) const {
    if (empty()) return 0;
    const double s = (tsat - t0_) / ht_;
    if (!(s >= -kGridEdge && s <= nt_ - 1 + kGridEdge)) return 0;
    const int r = std::clamp(static_cast<int>(std::floor(s)), 0, nt_ - 2);
    int n = 0;
    rows[n++] = r;
    // On a row, the pair of rows below it serves as well as the pair above (where the
    // data end at different temperature differences in neighbouring rows).
    if (s - r < kGridEdge && r > 0) rows[n++] = r - 1;
    else if (s - r > 1 - kGridEdge && r + 1 <= nt_ - 2) rows[n++] = r + 1;
    return n;
}

bool PhaseGrid::dt_range(double tsat, double& lo, double& hi) const {
    int rows[2];
    const int n = row_candidates(tsat, rows);
    bool any = false;
    for (int k = 0; k < n; ++k) {
        int a, b;
        if (!cells_covered(rows[k], a, b)) continue;
        lo = any ? std::min(lo, a * hd_) : a * hd_;
        hi = any ? std::max(hi, b * hd_) : b * hd_;
        any = true;
    }
    return any;
}

bool PhaseGrid::locate(double tsat, double dt, Cell& cell) const {
    int rows[2];
    const int candidates = row_candidates(tsat, rows);
    const double d = dt / hd_;
    int r = -1, c = 0;
    for (int k = 0; k < candidates && r < 0; ++k) {
        int lo, hi;
        if (cells_covered(rows[k], lo, hi) && d >= lo - kGridEdge && d <= hi + kGridEdge) {
            r = rows[k];
            c = std::clamp(static_cast<int>(std::floor(d)), lo, hi - 1);
        }
    }
    if (r < 0) return false;
    cell.r = r;
    cell.c = c;
    cell.u = std::clamp((tsat - t0_) / ht_ - r, 0.0, 1.0);
    cell.w = std::clamp(d - c, 0.0, 1.0);
    // Rows r-2 .. r+3 where they hold data at this dT: enough for fourth-order slopes at
    // rows r and r+1, the same stencils from either side of a row (C1 across rows).
    cell.a = r;
    cell.b = r + 1;
    while (cell.a > r - 2 && cell.a - 1 >= 0 && row_covers(cell.a - 1, c)) --cell.a;
    while (cell.b < r + 3 && cell.b + 1 < nt_ && row_covers(cell.b + 1, c)) ++cell.b;
    return true;
}

double PhaseGrid::value(int p, const Cell& cell) const {
    double v[6];
    const int n = cell.b - cell.a + 1;
    for (int k = 0; k < n; ++k) v[k] = row_value(p, cell.a + k, cell.c, cell.w);
    const int i = cell.r - cell.a;
    const double out = hermite(v[i], v[i + 1], monotone_slope(v, n, ht_, i),
                               monotone_slope(v, n, ht_, i + 1), ht_, cell.u);
    return grid_property_is_log(p, vapour_) ? std::exp(out) : out;
}

bool PhaseGrid::eval(int p, double tsat, double dt, double& out) const {
    Cell cell;
    if (!locate(tsat, dt, cell)) return false;
    out = value(p, cell);
    return true;
}

// ---------------------------------------------------------------------------- PhaseData

double PhaseData::fine_weight(double tsat, double dt) const {
    double lo, hi;
    if (!fine_.dt_range(tsat, lo, hi)) return 0;
    return smoothstep((tsat - fine_.tsat_min()) / kTsatBlend) * smoothstep((hi - dt) / kDtBlend);
}

bool PhaseData::eval(double tsat, double dt, std::array<double, kGridProperties>& out) const {
    PhaseGrid::Cell f, c;
    if (!fine_.locate(tsat, dt, f)) {
        if (!coarse_.locate(tsat, dt, c)) return false;
        for (int p = 0; p < kGridProperties; ++p) out[static_cast<std::size_t>(p)] = coarse_.value(p, c);
        return true;
    }
    const double w = fine_weight(tsat, dt);
    // Where the 2 K grid ends inside the blend (at its last saturation temperature), the
    // fine grid answers alone.
    const bool blend = w < 1 && coarse_.locate(tsat, dt, c);
    for (int p = 0; p < kGridProperties; ++p) {
        const double v = fine_.value(p, f);
        out[static_cast<std::size_t>(p)] = blend ? w * v + (1 - w) * coarse_.value(p, c) : v;
    }
    return true;
}

bool PhaseData::eval(int p, double tsat, double dt, double& out) const {
    PhaseGrid::Cell f, c;
    if (!fine_.locate(tsat, dt, f)) {
        if (!coarse_.locate(tsat, dt, c)) return false;
        out = coarse_.value(p, c);
        return true;
    }
    const double w = fine_weight(tsat, dt);
    const double v = fine_.value(p, f);
    out = w < 1 && coarse_.locate(tsat, dt, c) ? w * v + (1 - w) * coarse_.value(p, c) : v;
    return true;
}

bool PhaseData::dt_range(double tsat, double& lo, double& hi) const {
    double cl, ch, fl, fh;
    const bool c = coarse_.dt_range(tsat, cl, ch), f = fine_.dt_range(tsat, fl, fh);
    if (!c && !f) return false;
    lo = c && f ? std::min(cl, fl) : c ? cl : fl;
    hi = c && f ? std::max(ch, fh) : c ? ch : fh;
    return true;
}

// ---------------------------------------------------------------------------- saturation

const UniformSpline& RefrigerantData::sat_at(int c, double t) const {
    const auto& fine = sat_fine[static_cast<std::size_t>(c)];
    return t >= sat_fine_from && fine.covers(t) ? fine : sat[static_cast<std::size_t>(c)];
}

bool RefrigerantData::sat_inverse(int c, double v, double& t) const {
    const auto& fine = sat_fine[static_cast<std::size_t>(c)];
    if (fine.covers(sat_fine_from) && v >= fine(sat_fine_from) && fine.inverse(v, t)) return true;
    return sat[static_cast<std::size_t>(c)].inverse(v, t);
}

// ---------------------------------------------------------------------------- loading

namespace {

std::vector<CatalogueEntry> load_entries(const std::string& db_path) {
    SqliteReader db(db_path);
    if (!db.has_table("Refrigerants") || !db.has_table("Saturation"))
        throw FluidDatabaseError("\"" + db_path + "\" is not a fluid database (no Refrigerants table)");
    SqliteReader::Query q(db,
                          "SELECT r.FluidID, r.Name, r.Aliases, MIN(s.T_C), MAX(s.T_C), r.EOS "
                          "FROM Refrigerants r JOIN Saturation s ON s.FluidID = r.FluidID "
                          "GROUP BY r.FluidID ORDER BY r.FluidID");
    std::vector<CatalogueEntry> out;
    while (q.step()) {
        CatalogueEntry e;
        e.id = static_cast<std::int32_t>(q.number(0));
        e.name = q.text(1);
        e.aliases = split_aliases(q.text(2));
        e.category = core::FluidCategory::Refrigerant;
        e.t_min = q.number(3);
        e.t_max = q.number(4);
        e.source = q.text(5);
        out.push_back(std::move(e));
    }
    return out;
}

// One row of a phase grid: saturation temperature, temperature difference, the
// saturation pressure where the table has one, and the properties.
struct GridRow {
    double tsat, dt, p;
    std::array<double, kGridProperties> v;
};

// The rows of one phase of a grid table, ordered by Tsat and dT. side: the Side of the
// near-critical table, or nullptr for the 2 K tables (which have no pressure column).
std::vector<GridRow> read_grid_rows(SqliteReader& db, const std::string& table, std::int32_t id,
                                    const char* side) {
    SqliteReader::Query q(db, std::string("SELECT Tsat_C, dT_K, ") + (side ? "p_Pa" : "NULL") +
                                  ", rho_kg_m3, h_J_kg, cp_J_kgK, mu_Pa_s, lambda_W_mK FROM " + table +
                                  " WHERE FluidID = ?1" + (side ? " AND Side = ?2" : "") +
                                  " ORDER BY Tsat_C, dT_K");
    q.bind(1, static_cast<double>(id));
    if (side) q.bind(2, std::string(side));
    std::vector<GridRow> rows;
    while (q.step()) {
        GridRow r{q.number(0), q.number(1), q.number(2), {}};
        for (int p = 0; p < kGridProperties; ++p) r.v[static_cast<std::size_t>(p)] = q.number(3 + p);
        rows.push_back(r);
    }
    return rows;
}

PhaseGrid make_grid(const std::vector<GridRow>& rows, bool vapour, const std::string& what) {
    if (rows.empty()) return {};
    std::vector<double> ts, ds;
    for (const auto& r : rows) {
        if (ts.empty() || r.tsat != ts.back()) ts.push_back(r.tsat);  // rows come ordered by Tsat
        ds.push_back(r.dt);
    }
    std::sort(ds.begin(), ds.end());
    ds.erase(std::unique(ds.begin(), ds.end()), ds.end());
    const double ht = uniform_step(ts, what + " saturation temperatures");
    const double hd = uniform_step(ds, what + " temperature differences");
    if (ds.front() != 0) throw FluidDatabaseError(what + ": no saturated row");
    const int nt = static_cast<int>(ts.size()), nd = static_cast<int>(ds.size());
    std::array<std::vector<double>, kGridProperties> values;
    for (auto& v : values) v.assign(static_cast<std::size_t>(nt * nd), kNaN);
    for (const auto& r : rows) {
        const int i = static_cast<int>(std::lround((r.tsat - ts.front()) / ht));
        const int j = static_cast<int>(std::lround(r.dt / hd));
        for (int p = 0; p < kGridProperties; ++p)
            values[static_cast<std::size_t>(p)][static_cast<std::size_t>(i * nd + j)] =
                r.v[static_cast<std::size_t>(p)];
    }
    return PhaseGrid(ts.front(), ht, nt, hd, nd, std::move(values), vapour);
}

// The saturated rows (dT = 0) of one side of the near-critical grid as saturation splines
// of that side's columns.
void add_fine_saturation(RefrigerantData& data, const std::vector<GridRow>& rows, bool vapour,
                         const std::string& what) {
    const std::array<SatColumn, 1 + kGridProperties> cols =
        vapour ? std::array<SatColumn, 6>{kPDew, kRhoVap, kHVap, kCpVap, kMuVap, kLambdaVap}
               : std::array<SatColumn, 6>{kPBubble, kRhoLiq, kHLiq, kCpLiq, kMuLiq, kLambdaLiq};
    std::vector<double> ts;
    std::array<std::vector<double>, 6> values;
    for (const auto& r : rows) {
        if (r.dt != 0) continue;
        ts.push_back(r.tsat);
        for (std::size_t k = 0; k < cols.size(); ++k) {
            double v = k == 0 ? r.p : r.v[k - 1];
            if (sat_column_is_log(cols[k])) v = v > 0 ? std::log(v) : kNaN;
            values[k].push_back(v);
        }
    }
    if (ts.empty()) return;
    const double h = uniform_step(ts, what + " saturated rows");
    for (std::size_t k = 0; k < cols.size(); ++k)
        data.sat_fine[static_cast<std::size_t>(cols[k])] = UniformSpline(ts.front(), h, values[k]);
}

// Where the near-critical saturated rows take over from the 1 K table: the first node of
// both tables at least kTsatBlend above the start of the fine rows, where the fine slopes
// are central differences already. Infinity when there is no such node.
double fine_saturation_from(const RefrigerantData& data) {
    const auto& coarse = data.sat[kPDew];
    double start = -std::numeric_limits<double>::infinity();
    for (const auto& f : data.sat_fine)
        if (!f.empty()) start = std::max(start, f.x_min());
    if (!std::isfinite(start) || coarse.empty()) return std::numeric_limits<double>::infinity();
    const double h = coarse.x_at(1) - coarse.x_at(0);
    const double k = std::ceil((start + PhaseData::kTsatBlend - coarse.x_at(0)) / h - 1e-9);
    const double t = coarse.x_at(0) + k * h;
    for (const auto& f : data.sat_fine) {
        if (f.empty()) continue;
        const double i = (t - f.x_at(0)) / (f.x_at(1) - f.x_at(0));
        if (!f.covers(t) || std::fabs(i - std::round(i)) > 1e-9)
            return std::numeric_limits<double>::infinity();
    }
    return coarse.covers(t) ? t : std::numeric_limits<double>::infinity();
}

}  // namespace

std::shared_ptr<const RefrigerantData> read_refrigerant_data(const std::string& db_path,
                                                             std::int32_t id) {
    SqliteReader db(db_path);
    auto data = std::make_shared<RefrigerantData>();
    {
        SqliteReader::Query q(db, "SELECT Name, Aliases, Kind, MolarMass_kg_mol, Tcrit_C, Pcrit_Pa, "
                                  "Ttriple_C, EOS, Transport FROM Refrigerants WHERE FluidID = ?1");
        q.bind(1, static_cast<double>(id));
        if (!q.step()) throw FluidDatabaseError(fmt::format("No refrigerant {} in \"{}\"", id, db_path));
        data->entry.id = id;
        data->entry.name = q.text(0);
        data->entry.aliases = split_aliases(q.text(1));
        data->entry.category = core::FluidCategory::Refrigerant;
        data->kind = q.text(2);
        data->molar_mass = q.number(3);
        data->t_crit = q.number(4);
        data->p_crit = q.number(5);
        data->t_triple = q.number(6);
        data->eos = q.text(7);
        data->transport = q.text(8);
        data->entry.source = data->eos + "; " + data->transport;
    }
    SqliteReader::Query q(db, "SELECT T_C, p_bubble_Pa, p_dew_Pa, rho_liq_kg_m3, rho_vap_kg_m3, "
                              "h_liq_J_kg, h_vap_J_kg, cp_liq_J_kgK, cp_vap_J_kgK, mu_liq_Pa_s, "
                              "mu_vap_Pa_s, lambda_liq_W_mK, lambda_vap_W_mK, sigma_N_m "
                              "FROM Saturation WHERE FluidID = ?1 ORDER BY T_C");
    q.bind(1, static_cast<double>(id));
    std::vector<double> ts;
    std::array<std::vector<double>, kSatColumns> cols;
    while (q.step()) {
        ts.push_back(q.number(0));
        for (int c = 0; c < kSatColumns; ++c) {
            double v = q.number(1 + c);
            if (sat_column_is_log(c)) v = v > 0 ? std::log(v) : kNaN;
            cols[static_cast<std::size_t>(c)].push_back(v);
        }
    }
    const std::string& name = data->entry.name;
    const double h = uniform_step(ts, name + " saturation table");
    for (int c = 0; c < kSatColumns; ++c)
        data->sat[static_cast<std::size_t>(c)] = UniformSpline(ts.front(), h, cols[static_cast<std::size_t>(c)]);
    data->entry.t_min = data->sat[kPBubble].x_min();
    data->entry.t_max = data->sat[kPBubble].x_max();

    PhaseGrid fine_vapor, fine_liquid;
    if (db.has_table("NearCriticalGrid")) {  // older fluid databases have none
        const auto v = read_grid_rows(db, "NearCriticalGrid", id, "vapor");
        const auto l = read_grid_rows(db, "NearCriticalGrid", id, "liquid");
        fine_vapor = make_grid(v, true, name + " NearCriticalGrid vapor");
        fine_liquid = make_grid(l, false, name + " NearCriticalGrid liquid");
        add_fine_saturation(*data, v, true, name + " NearCriticalGrid vapor");
        add_fine_saturation(*data, l, false, name + " NearCriticalGrid liquid");
        data->sat_fine_from = fine_saturation_from(*data);
    }
    data->vapor = PhaseData(make_grid(read_grid_rows(db, "VaporGrid", id, nullptr), true, name + " VaporGrid"),
                            std::move(fine_vapor));
    data->liquid = PhaseData(make_grid(read_grid_rows(db, "LiquidGrid", id, nullptr), false, name + " LiquidGrid"),
                             std::move(fine_liquid));
    return data;
}

std::vector<CatalogueEntry> refrigerant_entries(const std::string& db_path) {
    static std::map<std::string, std::vector<CatalogueEntry>> cache;
    std::lock_guard lock(cache_mutex());
    auto it = cache.find(db_path);
    if (it == cache.end()) it = cache.emplace(db_path, load_entries(db_path)).first;
    return it->second;
}

std::shared_ptr<const RefrigerantData> refrigerant_data(const std::string& db_path,
                                                        std::int32_t fluid_id) {
    static std::map<std::pair<std::string, std::int32_t>, std::shared_ptr<const RefrigerantData>> cache;
    std::lock_guard lock(cache_mutex());
    auto key = std::make_pair(db_path, fluid_id);
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(key, read_refrigerant_data(db_path, fluid_id)).first;
    return it->second;
}

core::FluidRef create_refrigerant(const std::string& db_path, const CatalogueEntry& entry) {
    return std::make_shared<RefrigerantFluid>(refrigerant_data(db_path, entry.id));
}

// ---------------------------------------------------------------------------- the fluid

RefrigerantFluid::RefrigerantFluid(std::shared_ptr<const RefrigerantData> data)
    : FluidBase(data->entry.id, data->entry.name, 0.0, false, true), data_(std::move(data)) {
    RefrigerantFluid::SetYPressure(pressure_);
}

void RefrigerantFluid::SetYPressure(double pascal) {
    FluidBase::SetYPressure(pascal);
    double tb, td;
    t_bubble_ = data_->sat_inverse(kPBubble, std::log(pascal), tb) ? tb : kNaN;
    t_dew_ = data_->sat_inverse(kPDew, std::log(pascal), td) ? td : kNaN;
}

double RefrigerantFluid::sat(SatColumn c, double t, const char* what) const {
    const auto& s = data_->sat_at(c, t);
    if (!s.covers(t)) {
        if (s.empty() || !std::isfinite(t))
            throw OutOfRange(fmt::format("{}: no {} data at {:g} °C", YFluidName(), what, t));
        throw OutOfRange(fmt::format("{}: {} at {:g} °C outside its data {:g} .. {:g} °C",
                                     YFluidName(), what, t, s.x_min(), s.x_max()));
    }
    const double v = s(t);
    return sat_column_is_log(c) ? std::exp(v) : v;
}

double RefrigerantFluid::sat_temperature(SatColumn c, double p) const {
    const auto& s = data_->sat[static_cast<std::size_t>(c)];
    double t;
    if (!(p > 0) || !data_->sat_inverse(c, std::log(p), t))
        throw OutOfRange(fmt::format("{}: saturation pressure {:g} Pa outside {:g} .. {:g} Pa",
                                     YFluidName(), p, std::exp(s.node(s.first())),
                                     std::exp(s.node(s.last()))));
    return t;
}

double RefrigerantFluid::SatPressureBubble(double t) const { return sat(kPBubble, t, "bubble pressure"); }
double RefrigerantFluid::SatPressureDew(double t) const { return sat(kPDew, t, "dew pressure"); }
double RefrigerantFluid::SatTemperatureBubble(double p) const { return sat_temperature(kPBubble, p); }
double RefrigerantFluid::SatTemperatureDew(double p) const { return sat_temperature(kPDew, p); }

core::PhaseState RefrigerantFluid::RefLiquid(double t) const {
    core::PhaseState s;
    s.Temperature = t;
    s.Pressure = sat(kPBubble, t, "bubble pressure");
    s.Density = sat(kRhoLiq, t, "saturated liquid density");
    s.Enthalpy = sat(kHLiq, t, "saturated liquid enthalpy");
    s.SpecificHeat = sat(kCpLiq, t, "saturated liquid heat capacity");
    s.Viscosity = sat(kMuLiq, t, "saturated liquid viscosity");
    s.Conductivity = sat(kLambdaLiq, t, "saturated liquid conductivity");
    return s;
}

core::PhaseState RefrigerantFluid::RefVapor(double t) const {
    core::PhaseState s;
    s.Temperature = t;
    s.Pressure = sat(kPDew, t, "dew pressure");
    s.Density = sat(kRhoVap, t, "saturated vapour density");
    s.Enthalpy = sat(kHVap, t, "saturated vapour enthalpy");
    s.SpecificHeat = sat(kCpVap, t, "saturated vapour heat capacity");
    s.Viscosity = sat(kMuVap, t, "saturated vapour viscosity");
    s.Conductivity = sat(kLambdaVap, t, "saturated vapour conductivity");
    return s;
}

double RefrigerantFluid::LatentHeat(double t) const {
    const double h_vap = sat(kHVap, t, "saturated vapour enthalpy");
    const double p = sat(kPDew, t, "dew pressure");
    // For a pure fluid the bubble point of the dew pressure is t itself.
    const double tb = data_->kind == "pure" ? t : sat_temperature(kPBubble, p);
    return h_vap - sat(kHLiq, tb, "saturated liquid enthalpy");
}

double RefrigerantFluid::SurfaceTension(double t) const { return sat(kSigma, t, "surface tension"); }

double RefrigerantFluid::grid(const PhaseData& g, bool vapour, int prop, double tsat, double dt,
                              double p, double t) const {
    double out;
    if (g.eval(prop, tsat, std::max(dt, 0.0), out)) return out;
    const char* point = vapour ? "dew point" : "bubble point";
    const char* diff = vapour ? "superheat" : "subcooling";
    std::string here;
    double lo, hi;
    if (g.dt_range(tsat, lo, hi))
        here = fmt::format("at this {} the data cover {} {:g} .. {:g} K", point, diff, lo, hi);
    else
        here = fmt::format("the data hold no {} states at this {}", vapour ? "vapour" : "liquid", point);
    std::string tables;
    for (const PhaseGrid* grid : {&g.coarse(), &g.fine()})
        if (!grid->empty())
            tables += fmt::format("{}{} {:g} .. {:g} °C with {} 0 .. {:g} K", tables.empty() ? "" : "; ",
                                  point, grid->tsat_min(), grid->tsat_max(), diff, grid->dt_max());
    throw OutOfRange(fmt::format("{}: no {} data at {:g} Pa and {:g} °C ({} {:g} °C, {} {:g} K); "
                                 "{} (tables: {})",
                                 YFluidName(), vapour ? "vapour" : "liquid", p, t, point, tsat, diff, dt,
                                 here, tables));
}

core::PhaseState RefrigerantFluid::state(const PhaseData& g, bool vapour, double tsat, double dt,
                                         double p, double t) const {
    std::array<double, kGridProperties> v;
    if (!g.eval(tsat, std::max(dt, 0.0), v)) grid(g, vapour, kGridRho, tsat, dt, p, t);  // throws
    core::PhaseState s;
    s.Temperature = t;
    s.Pressure = p;
    s.Density = v[kGridRho];
    s.Enthalpy = v[kGridH];
    s.SpecificHeat = v[kGridCp];
    s.Viscosity = v[kGridMu];
    s.Conductivity = v[kGridLambda];
    return s;
}

core::PhaseState RefrigerantFluid::VaporState(double p, double t) const {
    const double td = sat_temperature(kPDew, p);
    if (!(t >= td - kPhaseTolerance))
        throw OutOfRange(fmt::format("{}: {:g} °C is below the dew point {:g} °C of {:g} Pa (not vapour)",
                                     YFluidName(), t, td, p));
    return state(data_->vapor, true, td, t - td, p, t);
}

core::PhaseState RefrigerantFluid::LiquidState(double p, double t) const {
    const double tb = sat_temperature(kPBubble, p);
    if (!(t <= tb + kPhaseTolerance))
        throw OutOfRange(fmt::format("{}: {:g} °C is above the bubble point {:g} °C of {:g} Pa (not liquid)",
                                     YFluidName(), t, tb, p));
    return state(data_->liquid, false, tb, tb - t, p, t);
}

double RefrigerantFluid::single(int prop, double t) const {
    if (std::isnan(t_bubble_) || std::isnan(t_dew_))
        sat_temperature(std::isnan(t_bubble_) ? kPBubble : kPDew, pressure_);  // throws
    if (t <= t_bubble_ + kPhaseTolerance)
        return grid(data_->liquid, false, prop, t_bubble_, t_bubble_ - t, pressure_, t);
    if (t >= t_dew_ - kPhaseTolerance)
        return grid(data_->vapor, true, prop, t_dew_, t - t_dew_, pressure_, t);
    throw OutOfRange(fmt::format("{}: {:g} °C at {:g} Pa lies between the bubble ({:g} °C) and "
                                 "dew ({:g} °C) points (two-phase)",
                                 YFluidName(), t, pressure_, t_bubble_, t_dew_));
}

core::PhaseState RefrigerantFluid::YState(double t) const {
    if (std::isnan(t_bubble_) || std::isnan(t_dew_))
        sat_temperature(std::isnan(t_bubble_) ? kPBubble : kPDew, pressure_);
    if (t <= t_bubble_ + kPhaseTolerance)
        return state(data_->liquid, false, t_bubble_, t_bubble_ - t, pressure_, t);
    if (t >= t_dew_ - kPhaseTolerance)
        return state(data_->vapor, true, t_dew_, t - t_dew_, pressure_, t);
    single(kGridRho, t);  // throws the two-phase error
    return {};
}

void RefrigerantFluid::describe(core::FluidInfoType& info) const {
    info.Glide = data_->kind != "pure";
    info.Range.TMin = data_->entry.t_min;
    info.Range.TMax = data_->entry.t_max;
    info.Range.PMin = SatPressureBubble(data_->entry.t_min);
    info.Range.PMax = SatPressureDew(data_->entry.t_max);
    info.CriticalTemperature = data_->t_crit;
    info.CriticalPressure = data_->p_crit;
    info.MolarMass = data_->molar_mass;
    info.Source = data_->entry.source;
}

}  // namespace hxq::engines::fluid
