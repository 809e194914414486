// Refrigerants from the fluid database: saturation table (1 K), superheated-vapour and
// subcooled-liquid grids (2 K x 2 K) and, within 35 K of the critical point, a finer grid
// of both phases (0.5 K x 0.5 K) whose saturated rows also refine the saturation table
// there. Interpolated with monotone C1 cubics in temperature and, across the grids' rows,
// in saturation temperature - that is, in pressure.
#pragma once

#include "engines/fluid/catalogue.h"
#include "engines/fluid/fluid_base.h"
#include "engines/fluid/interp.h"

#include <array>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace hxq::engines::fluid {

// Columns of the saturation table, in the order of the database table.
enum SatColumn {
    kPBubble, kPDew, kRhoLiq, kRhoVap, kHLiq, kHVap, kCpLiq, kCpVap, kMuLiq, kMuVap,
    kLambdaLiq, kLambdaVap, kSigma, kSatColumns
};

// Properties of the grids, in the order of the database tables.
enum GridProperty { kGridRho, kGridH, kGridCp, kGridMu, kGridLambda, kGridProperties };

// Quantities interpolated as logarithms: those that change by a factor (pressure, vapour
// density) or steepen towards the critical point (cp, viscosity). Measured on the tables
// with every other point left out, this cuts the largest cp error by about 40 % and the
// liquid viscosity error by half; the others are no better in logarithms.
bool sat_column_is_log(int column);
bool grid_property_is_log(int property, bool vapour);

// One phase's grid: rows of constant saturation temperature (constant pressure), columns
// of superheat (vapour) or subcooling (liquid).
class PhaseGrid {
public:
    PhaseGrid() = default;
    // values[p][row * nd + col]; NaN where there is no value.
    PhaseGrid(double t0, double ht, int nt, double hd, int nd,
              std::array<std::vector<double>, kGridProperties> values, bool vapour);

    // Property p at saturation temperature tsat and temperature difference dt; false
    // where the grid has no data there.
    bool eval(int p, double tsat, double dt, double& out) const;
    // The same in two steps, for several properties of one state: the cell of
    // (tsat, dt) (false where the grid has no data), then each property in it.
    struct Cell {
        int r = 0, c = 0;      // rows r, r + 1 and columns c, c + 1 around the state
        double u = 0, w = 0;   // position in the cell, 0..1
        int a = 0, b = 0;      // the rows of the cross-row stencil
    };
    bool locate(double tsat, double dt, Cell& cell) const;
    double value(int p, const Cell& cell) const;
    // The temperature differences eval covers at tsat (false: none).
    bool dt_range(double tsat, double& lo, double& hi) const;
    double tsat_min() const { return t0_; }
    double tsat_max() const { return t0_ + (nt_ - 1) * ht_; }
    double dt_max() const { return (nd_ - 1) * hd_; }
    bool empty() const { return nt_ < 2; }

private:
    // The first rows of the pairs of rows that may hold tsat (0 to 2 of them).
    int row_candidates(double tsat, int (&rows)[2]) const;
    // The columns lo .. hi that rows r and r + 1 both cover; false when fewer than two.
    bool cells_covered(int r, int& lo, int& hi) const;
    bool row_covers(int row, int col) const;
    double row_value(int p, int row, int col, double w) const;

    double t0_ = 0, ht_ = 1, hd_ = 1;
    int nt_ = 0, nd_ = 0;
    bool vapour_ = false;
    std::array<std::vector<double>, kGridProperties> y_, m_;  // values and slopes along dT
    std::vector<int> lo_, hi_;  // per row: the columns where every property has a value
};

// One phase of a refrigerant: the 2 K grid and the near-critical 0.5 K grid. The fine
// grid answers wherever it covers a state. Along its edges that lie inside the 2 K grid
// (its first kTsatBlend of saturation temperature and its last kDtBlend of superheat or
// subcooling) the two are blended with a smoothstep weight, so that values and slopes
// stay continuous where the answer passes from one grid to the other.
class PhaseData {
public:
    static constexpr double kTsatBlend = 1.0;  // K
    static constexpr double kDtBlend = 2.0;    // K

    PhaseData() = default;
    PhaseData(PhaseGrid coarse, PhaseGrid fine) : coarse_(std::move(coarse)), fine_(std::move(fine)) {}

    bool eval(int p, double tsat, double dt, double& out) const;
    // Every property at once (in the order of GridProperty).
    bool eval(double tsat, double dt, std::array<double, kGridProperties>& out) const;
    // The temperature differences covered at tsat (false: none).
    bool dt_range(double tsat, double& lo, double& hi) const;
    const PhaseGrid& coarse() const { return coarse_; }
    const PhaseGrid& fine() const { return fine_; }
    // Weight of the fine grid at (tsat, dt) where both grids cover the state.
    double fine_weight(double tsat, double dt) const;

private:
    PhaseGrid coarse_, fine_;
};

struct RefrigerantData {
    CatalogueEntry entry;
    std::string kind;  // "pure" or "pseudo-pure"
    double molar_mass = 0, t_crit = 0, p_crit = 0, t_triple = 0;
    std::string eos, transport;
    std::array<UniformSpline, kSatColumns> sat;  // 1 K table; see sat_column_is_log
    // The saturated rows of the near-critical grid (0.5 K; no surface tension), used from
    // sat_fine_from on: a node of both tables, so the two meet without a step.
    std::array<UniformSpline, kSatColumns> sat_fine;
    double sat_fine_from = std::numeric_limits<double>::infinity();
    PhaseData vapor, liquid;

    // The saturation spline of column c that answers at t.
    const UniformSpline& sat_at(int c, double t) const;
    // The temperature where column c (increasing) equals v; false outside its values.
    bool sat_inverse(int c, double v, double& t) const;
};

class RefrigerantFluid : public FluidBase {
public:
    explicit RefrigerantFluid(std::shared_ptr<const RefrigerantData> data);

    void SetYPressure(double pascal) override;
    double YDensity(double t) const override { return single(kGridRho, t); }
    double YHeatCapacity(double t) const override { return single(kGridCp, t); }
    double YConductivity(double t) const override { return single(kGridLambda, t); }
    double YViscosity(double t) const override { return single(kGridMu, t); }
    core::PhaseState YState(double t) const override;

    double SatPressureBubble(double t) const override;
    double SatPressureDew(double t) const override;
    double SatTemperatureBubble(double p) const override;
    double SatTemperatureDew(double p) const override;
    core::PhaseState RefLiquid(double t) const override;
    core::PhaseState RefVapor(double t) const override;
    double LatentHeat(double t) const override;
    double SurfaceTension(double t) const override;
    core::PhaseState VaporState(double p, double t) const override;
    core::PhaseState LiquidState(double p, double t) const override;

protected:
    void describe(core::FluidInfoType& info) const override;

private:
    double sat(SatColumn c, double t, const char* what) const;
    double sat_temperature(SatColumn c, double p) const;
    double grid(const PhaseData& g, bool vapour, int prop, double tsat, double dt, double p,
                double t) const;
    double single(int prop, double t) const;
    core::PhaseState state(const PhaseData& g, bool vapour, double tsat, double dt, double p,
                           double t) const;

    std::shared_ptr<const RefrigerantData> data_;
    // Bubble and dew temperatures of the held pressure (NaN when it is outside the data).
    double t_bubble_ = 0, t_dew_ = 0;
};

// The refrigerants of a fluid database (cached per path); throws FluidDatabaseError.
std::vector<CatalogueEntry> refrigerant_entries(const std::string& db_path);
// The data of one refrigerant, read from the database at every call (what
// refrigerant_data does once per path and fluid).
std::shared_ptr<const RefrigerantData> read_refrigerant_data(const std::string& db_path,
                                                             std::int32_t fluid_id);
// The data of one refrigerant (loaded once per path and fluid, then shared).
std::shared_ptr<const RefrigerantData> refrigerant_data(const std::string& db_path,
                                                        std::int32_t fluid_id);
core::FluidRef create_refrigerant(const std::string& db_path, const CatalogueEntry& entry);

}  // namespace hxq::engines::fluid
