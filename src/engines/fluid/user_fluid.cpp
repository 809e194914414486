#include "engines/fluid/user_fluid.h"

#include "engines/fluid/fluid_error.h"
#include "engines/fluid/sqlite_reader.h"

#include <fmt/core.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <tuple>
#include <map>
#include <mutex>

namespace hxq::engines::fluid {
namespace {

using user_eq::kOffset;

constexpr double kBar = 1e5;
constexpr double kRUniversal = 8.314462618;  // J/(mol K), CODATA 2018

struct Row {
    std::map<std::string, double> values;  // lower-case column name -> number (NaN: NULL)
    double get(const std::string& name) const {
        auto it = values.find(name);
        return it == values.end() ? std::nan("") : it->second;
    }
    double get_or_zero(const std::string& name) const {
        const double v = get(name);
        return std::isnan(v) ? 0.0 : v;
    }
};

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool read_row(SqliteReader& db, const std::string& table, std::int32_t id, Row& row) {
    SqliteReader::Query q(db, "SELECT * FROM [" + table + "] WHERE FluidID = ?1");
    q.bind(1, static_cast<double>(id));
    if (!q.step()) return false;
    for (int i = 0; i < q.columns(); ++i) {
        const double v = q.number(i);
        // Every column of these tables is a number; text that is none is damage, not 0.
        if (std::isnan(v) && !q.is_null(i))
            throw FluidDatabaseError(fmt::format("user fluid {}: {} of table {} is not a number (\"{}\")",
                                                 id, q.column_name(i), table, q.text(i)));
        row.values[lower(q.column_name(i))] = v;
    }
    return true;
}

UserFit read_fit(const Row& row, const std::string& stem) {
    UserFit f;
    const double eq = row.get("eq" + lower(stem));
    f.eq = std::isnan(eq) ? user_eq::kNone : static_cast<int>(eq);
    if (f.eq < user_eq::kNone || f.eq > user_eq::kSaturation)
        throw FluidDatabaseError(fmt::format("user fluid: unknown equation type {} of {}", f.eq, stem));
    for (int k = 0; k < user_eq::kMaxCoefficients; ++k)
        f.c[static_cast<std::size_t>(k)] = row.get_or_zero("c" + lower(stem) + std::to_string(k));
    return f;
}

std::mutex& cache_mutex() {
    static std::mutex m;
    return m;
}

}  // namespace

double UserFit::operator()(double x) const {
    double sum = 0;
    for (int k = user_eq::kMaxCoefficients - 1; k >= 0; --k) sum = sum * x + c[static_cast<std::size_t>(k)];
    return eq == user_eq::kLogPolynomial ? std::exp(sum) : sum;
}

double UserFit::integral(double x0, double x1) const {
    if (eq == user_eq::kPolynomial) {
        auto antiderivative = [this](double x) {
            double sum = 0;
            for (int k = user_eq::kMaxCoefficients - 1; k >= 0; --k)
                sum = sum * x + c[static_cast<std::size_t>(k)] / (k + 1);
            return sum * x;
        };
        return antiderivative(x1) - antiderivative(x0);
    }
    // Simpson's rule on 16 panels: the integrands are smooth over a few tens of kelvin.
    constexpr int n = 16;
    const double h = (x1 - x0) / n;
    double s = (*this)(x0) + (*this)(x1);
    for (int i = 1; i < n; ++i) s += (i % 2 ? 4 : 2) * (*this)(x0 + i * h);
    return s * h / 3;
}

std::vector<CatalogueEntry> user_fluid_entries(const std::string& db_path) {
    SqliteReader db(db_path);
    if (!db.has_table("Info") || !db.has_table("Liquid"))
        throw FluidDatabaseError("\"" + db_path + "\" is not a user fluid database (no Info/Liquid tables)");
    SqliteReader::Query q(db, "SELECT i.FluidID, i.HelpName, i.Category, i.Reference, l.TKmin, l.TKmax "
                              "FROM Info i JOIN Liquid l ON l.FluidID = i.FluidID ORDER BY i.FluidID");
    std::vector<CatalogueEntry> out;
    while (q.step()) {
        CatalogueEntry e;
        e.id = kUserFluidIdBase + static_cast<std::int32_t>(q.number(0));
        e.name = q.text(1);
        e.user = true;
        e.category = lower(q.text(2)) == "liqvap" ? core::FluidCategory::Refrigerant : core::FluidCategory::Liquid;
        e.source = q.text(3);
        e.t_min = q.number(4) - kOffset;
        e.t_max = q.number(5) - kOffset;
        out.push_back(std::move(e));
    }
    return out;
}

std::shared_ptr<const UserFluidData> load_user_fluid(const std::string& db_path, std::int32_t id) {
    // Keyed by the file's modification time too: the editor appends fluids while the
    // library runs, and a replaced file may reuse identifiers.
    using Key = std::tuple<std::string, std::filesystem::file_time_type, std::int32_t>;
    static std::map<Key, std::shared_ptr<const UserFluidData>> cache;
    std::error_code ec;
    const Key key{db_path, std::filesystem::last_write_time(db_path, ec), id};
    {
        std::lock_guard lock(cache_mutex());
        auto it = cache.find(key);
        if (it != cache.end()) return it->second;
    }
    SqliteReader db(db_path);
    auto d = std::make_shared<UserFluidData>();
    {
        SqliteReader::Query q(db, "SELECT HelpName, Category, Reference FROM Info WHERE FluidID = ?1");
        q.bind(1, static_cast<double>(id));
        if (!q.step()) throw FluidDatabaseError(fmt::format("No user fluid {} in \"{}\"", id, db_path));
        d->entry.id = kUserFluidIdBase + id;
        d->entry.name = q.text(0);
        d->entry.user = true;
        d->two_phase = lower(q.text(1)) == "liqvap";
        d->entry.category = d->two_phase ? core::FluidCategory::Refrigerant : core::FluidCategory::Liquid;
        d->entry.source = q.text(2);
    }
    Row liq;
    if (!read_row(db, "Liquid", id, liq))
        throw FluidDatabaseError(fmt::format("User fluid {} has no Liquid row", d->entry.name));
    d->t_min = liq.get("tkmin") - kOffset;
    d->t_max = liq.get("tkmax") - kOffset;
    d->rho_l = read_fit(liq, "RHOl");
    d->cp_l = read_fit(liq, "CPl");
    d->lam_l = read_fit(liq, "LAMl");
    d->mu_l = read_fit(liq, "MUl");
    if (!(d->t_min <= d->t_max) || !d->rho_l.present() || !d->cp_l.present() ||
        !d->lam_l.present() || !d->mu_l.present())
        throw FluidDatabaseError(fmt::format("User fluid {}: incomplete liquid data", d->entry.name));
    d->entry.t_min = d->t_min;
    d->entry.t_max = d->t_max;
    if (d->two_phase) {
        Row vap;
        if (!read_row(db, "Vapor", id, vap))
            throw FluidDatabaseError(fmt::format("Two-phase user fluid {} has no Vapor row", d->entry.name));
        d->tvap_min = vap.get("tvapmin") - kOffset;
        d->tvap_max = vap.get("tvapmax") - kOffset;
        d->pvap_min = vap.get("pvapmin");
        d->pvap_max = vap.get("pvapmax");
        d->pdew_min = vap.get("pdewmin");
        d->pdew_max = vap.get("pdewmax");
        d->tbub_min = vap.get("tbubmin") - kOffset;
        d->tbub_max = vap.get("tbubmax") - kOffset;
        d->tc = vap.get("tc") - kOffset;
        d->pc = vap.get("pc");
        d->mw = vap.get("mw");
        d->z = {vap.get_or_zero("ccpv13"), vap.get_or_zero("ccpv14"), vap.get_or_zero("ccpv15")};
        d->cp_v = read_fit(vap, "CPv");
        d->lam_v = read_fit(vap, "LAMv");
        d->mu_v = read_fit(vap, "MUv");
        d->hfg = read_fit(vap, "Hfg");
        d->h_bub = read_fit(vap, "Entbub");
        d->h_dew = read_fit(vap, "Entdew");
        d->t_dew = read_fit(vap, "Tdew");
        d->t_bub = read_fit(vap, "Tbub");
        if (d->t_dew.eq != user_eq::kSaturation || !(d->pdew_min > 0 && d->pdew_min < d->pdew_max) ||
            !(d->mw > 0) || !d->cp_v.present() || !d->lam_v.present() || !d->mu_v.present())
            throw FluidDatabaseError(fmt::format("User fluid {}: incomplete vapour data", d->entry.name));
        if (!d->hfg.present() && !(d->h_bub.present() && d->h_dew.present()))
            throw FluidDatabaseError(fmt::format("User fluid {}: no latent heat", d->entry.name));
    }
    std::lock_guard lock(cache_mutex());
    return cache.emplace(key, d).first->second;
}

core::FluidRef create_user_fluid(const std::string& db_path, const CatalogueEntry& entry) {
    return std::make_shared<UserFluid>(load_user_fluid(db_path, entry.id - kUserFluidIdBase));
}

// ---------------------------------------------------------------------------- the fluid

UserFluid::UserFluid(std::shared_ptr<const UserFluidData> data)
    : FluidBase(data->entry.id, data->entry.name, 0.0, false, data->two_phase), data_(std::move(data)) {}

void UserFluid::need_two_phase() const {
    if (!data_->two_phase) no_saturation();
}

core::PhaseState UserFluid::liquid(double t, double p) const {
    check_temperature(t, data_->t_min, data_->t_max);
    const double x = t + kOffset;
    core::PhaseState s;
    s.Temperature = t;
    s.Pressure = p;
    s.Density = data_->rho_l(x);
    s.SpecificHeat = 1e3 * data_->cp_l(x);
    s.Conductivity = data_->lam_l(x);
    s.Viscosity = 1e-3 * data_->mu_l(x);
    return s;
}

double UserFluid::YDensity(double t) const { return YState(t).Density; }
double UserFluid::YHeatCapacity(double t) const { return YState(t).SpecificHeat; }
double UserFluid::YConductivity(double t) const { return YState(t).Conductivity; }
double UserFluid::YViscosity(double t) const { return YState(t).Viscosity; }

core::PhaseState UserFluid::YState(double t) const {
    if (!data_->two_phase) return liquid(t, pressure_);
    const double tb = SatTemperatureBubble(pressure_);
    if (t <= tb) return LiquidState(pressure_, t);
    const double td = SatTemperatureDew(pressure_);
    if (t >= td) return VaporState(pressure_, t);
    throw OutOfRange(fmt::format("{}: {:g} °C at {:g} Pa is two-phase", YFluidName(), t, pressure_));
}

double UserFluid::SatTemperatureDew(double p) const {
    need_two_phase();
    check_pressure(p, data_->pdew_min * kBar, data_->pdew_max * kBar);
    return data_->t_dew(std::log(p / kBar)) - kOffset;
}

double UserFluid::SatTemperatureBubble(double p) const {
    need_two_phase();
    if (!data_->t_bub.present()) return SatTemperatureDew(p);
    // The bubble fit shares the dew fit's pressure range unless its own is stored.
    const double lo = data_->pvap_min > 0 ? data_->pvap_min : data_->pdew_min;
    const double hi = data_->pvap_max > lo ? data_->pvap_max : data_->pdew_max;
    check_pressure(p, lo * kBar, hi * kBar);
    return data_->t_bub(std::log(p / kBar)) - kOffset;
}

namespace {
// Inverse of a saturation fit T(ln p) on [lnp_lo, lnp_hi] by bisection (the fits are
// monotone over their data).
double invert(const UserFit& fit, double t, double lnp_lo, double lnp_hi) {
    const double target = t + kOffset;
    const bool rising = fit(lnp_hi) > fit(lnp_lo);
    for (int i = 0; i < 100 && lnp_hi - lnp_lo > 1e-14; ++i) {
        const double mid = 0.5 * (lnp_lo + lnp_hi);
        ((fit(mid) < target) == rising ? lnp_lo : lnp_hi) = mid;
    }
    return std::exp(0.5 * (lnp_lo + lnp_hi)) * kBar;
}
}  // namespace

double UserFluid::SatPressureDew(double t) const {
    need_two_phase();
    const double t_lo = SatTemperatureDew(data_->pdew_min * kBar);
    const double t_hi = SatTemperatureDew(data_->pdew_max * kBar);
    check_temperature(t, std::min(t_lo, t_hi), std::max(t_lo, t_hi));
    return invert(data_->t_dew, t, std::log(data_->pdew_min), std::log(data_->pdew_max));
}

double UserFluid::SatPressureBubble(double t) const {
    need_two_phase();
    if (!data_->t_bub.present()) return SatPressureDew(t);
    const double lo = data_->pvap_min > 0 ? data_->pvap_min : data_->pdew_min;
    const double hi = data_->pvap_max > lo ? data_->pvap_max : data_->pdew_max;
    const double t_lo = SatTemperatureBubble(lo * kBar), t_hi = SatTemperatureBubble(hi * kBar);
    check_temperature(t, std::min(t_lo, t_hi), std::max(t_lo, t_hi));
    return invert(data_->t_bub, t, std::log(lo), std::log(hi));
}

double UserFluid::vapour_density(double t, double p) const {
    const double pr = p / (data_->pc * kBar);
    const double tr = (t + 273.15) / (data_->tc + 273.15);
    const double z = 1.0 + pr / tr * (data_->z[0] + data_->z[1] / tr + data_->z[2] / std::pow(tr, 6));
    if (!(z > 0.05))
        throw OutOfRange(fmt::format("{}: vapour at {:g} Pa and {:g} °C outside its virial model",
                                     YFluidName(), p, t));
    return p * data_->mw * 1e-3 / (z * kRUniversal * (t + 273.15));
}

core::PhaseState UserFluid::vapour(double t, double p, double t_dew) const {
    check_temperature(t, data_->tvap_min, data_->tvap_max);
    const double x = t + kOffset;
    core::PhaseState s;
    s.Temperature = t;
    s.Pressure = p;
    s.Density = vapour_density(t, p);
    s.SpecificHeat = 1e3 * data_->cp_v(x);
    s.Conductivity = data_->lam_v(x);
    s.Viscosity = 1e-3 * data_->mu_v(x);
    if (data_->h_dew.present())
        s.Enthalpy = 1e3 * (data_->h_dew(t_dew + kOffset) + data_->cp_v.integral(t_dew + kOffset, x));
    return s;
}

core::PhaseState UserFluid::RefLiquid(double t) const {
    const double p = SatPressureBubble(t);
    core::PhaseState s = liquid(t, p);
    if (data_->h_bub.present()) s.Enthalpy = 1e3 * data_->h_bub(t + kOffset);
    return s;
}

core::PhaseState UserFluid::RefVapor(double t) const { return vapour(t, SatPressureDew(t), t); }

double UserFluid::LatentHeat(double t) const {
    need_two_phase();
    const double p = SatPressureDew(t);
    if (data_->hfg.present()) return 1e3 * data_->hfg(t + kOffset);
    return 1e3 * (data_->h_dew(t + kOffset) - data_->h_bub(SatTemperatureBubble(p) + kOffset));
}

double UserFluid::SurfaceTension(double t) const {
    need_two_phase();
    // Corresponding states (Curl & Pitzer 1958) as given by Poling, Prausnitz & O'Connell,
    // The Properties of Gases and Liquids, 5th ed., eq. (12-3.7), sigma in dyn/cm with pc in
    // bar: sigma = pc^(2/3) Tc^(1/3) (1.86 + 1.18 w)/19.05 [(3.75 + 0.91 w)/(0.291 - 0.08 w)]^(2/3)
    // (1 - Tr)^(11/9). Within about 10 % for pure refrigerants, 20 % for blends.
    check_temperature(t, data_->t_min, std::min(data_->t_max, data_->tc));
    const double tc = data_->tc + 273.15;
    // Acentric factor from the dew line at the point nearest Tr = 0.7, through the
    // Lee-Kesler vapour-pressure equation (Lee & Kesler 1975; Poling et al. eq. 7-4.1):
    // ln pr = f0(Tr) + w f1(Tr); at Tr = 0.7 this is Pitzer's definition.
    const double t_lo = SatTemperatureDew(data_->pdew_min * kBar);
    const double t_hi = SatTemperatureDew(data_->pdew_max * kBar);
    const double t_ref = std::clamp(0.7 * tc - 273.15, std::min(t_lo, t_hi), std::max(t_lo, t_hi));
    const double tr_ref = (t_ref + 273.15) / tc;
    const double f0 = 5.92714 - 6.09648 / tr_ref - 1.28862 * std::log(tr_ref) + 0.169347 * std::pow(tr_ref, 6);
    const double f1 = 15.2518 - 15.6875 / tr_ref - 13.4721 * std::log(tr_ref) + 0.43577 * std::pow(tr_ref, 6);
    const double w = (std::log(SatPressureDew(t_ref) / (data_->pc * kBar)) - f0) / f1;
    const double tr = (t + 273.15) / tc;
    const double sigma = std::pow(data_->pc, 2.0 / 3.0) * std::cbrt(tc) * (1.86 + 1.18 * w) / 19.05 *
                         std::pow((3.75 + 0.91 * w) / (0.291 - 0.08 * w), 2.0 / 3.0) *
                         std::pow(1.0 - tr, 11.0 / 9.0);
    return 1e-3 * sigma;
}

core::PhaseState UserFluid::VaporState(double p, double t) const {
    const double td = SatTemperatureDew(p);
    if (t < td - 1e-7)
        throw OutOfRange(fmt::format("{}: {:g} °C is below the dew point {:g} °C (not vapour)", YFluidName(), t, td));
    return vapour(t, p, td);
}

core::PhaseState UserFluid::LiquidState(double p, double t) const {
    const double tb = SatTemperatureBubble(p);
    if (t > tb + 1e-7)
        throw OutOfRange(fmt::format("{}: {:g} °C is above the bubble point {:g} °C (not liquid)", YFluidName(), t, tb));
    core::PhaseState s = liquid(t, p);
    if (data_->h_bub.present())
        s.Enthalpy = 1e3 * (data_->h_bub(tb + kOffset) - data_->cp_l.integral(t + kOffset, tb + kOffset));
    return s;
}

void UserFluid::describe(core::FluidInfoType& info) const {
    info.Range.TMin = data_->t_min;
    info.Range.TMax = data_->t_max;
    if (data_->two_phase) {
        info.Glide = data_->t_bub.present();
        info.Range.PMin = data_->pdew_min * kBar;
        info.Range.PMax = data_->pdew_max * kBar;
        info.CriticalTemperature = data_->tc;
        info.CriticalPressure = data_->pc * kBar;
        info.MolarMass = data_->mw * 1e-3;
    }
    info.Source = data_->entry.source;
}

}  // namespace hxq::engines::fluid
