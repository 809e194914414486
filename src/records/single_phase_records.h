// Input and result records of the single-phase engine. Every member, its unit and its
// role is listed in docs/engine-records.md. The input is SI (W, Pa, kg/s, m, m²,
// m² K/W; temperatures °C as the fluids take them). The result is SI except the members
// marked "engine:", written in the trade's unit and rescaled to SI by the driver.
#pragma once

#include "records/bounded.h"
#include "records/fluid_object.h"

#include <cstdint>
#include <string>

namespace hxq::core {

// Port mass flux above which a side gets the port-velocity remark: the limit the
// single-phase driver presets for every model (PortMassFluxLimit), kg/(m² s).
inline constexpr double kPortMassFluxLimitPreset = 2000.0;
// Share of a side's pressure drop lost in its ports above which the side gets a remark, %.
inline constexpr double kPortShareRemarkPercent = 30.0;

// One duty value with the flag that says the user gave it.
struct DutyValue {
    double Value = 0;
    bool Given = false;
    bool operator==(const DutyValue&) const = default;
};

// An integer duty value (passes, channels, units, plates) with its given flag.
struct DutyCount {
    std::int16_t Value = 0;
    bool Given = false;
    bool operator==(const DutyCount&) const = default;
};

// Correlation of one channel type, as the Channel table stores it. Both laws are
// piecewise power laws in the channel Reynolds number, continuous at every breakpoint
// (definition in docs/engine-records.md, "Piecewise power law"):
//   friction (Darcy) xi = c_k * Re^xFp[k], heat transfer Nu / (Pr^(1/3) (eta/eta_w)^(1/6))
//   = c_k * Re^xNu[k], k = number of breakpoints at or below Re.
struct SinglePhaseChannel {
    bool Defined = false;  // false: no channel of this type on the side
    std::int32_t ChannelID = 0;
    std::string ChannelName;
    double cFp = 0;             // coefficient of the first range
    std::int16_t noFp = 0;      // number of breakpoints, 0..4
    Bounded<double, 0, 4> xFp;  // exponent of range 0..noFp
    Bounded<double, 0, 4> crFp; // crFp[i], i = 1..noFp: Reynolds number where range i starts
    double cnu = 0;
    std::int16_t noNu = 0;
    Bounded<double, 0, 4> xNu;
    Bounded<double, 0, 4> crNu;
    bool ExtraChannel = false;  // this side takes the odd channel of an even plate count
    bool operator==(const SinglePhaseChannel&) const = default;
};

// Port and channel data of one side of the plate pack.
struct SinglePhaseSide {
    SinglePhaseChannel Left;   // the side's main channel type (index 1 of the channel counts)
    SinglePhaseChannel Right;  // an optional second type mixed into the side (index 2)
    double PortDiaUp = 0;      // m
    double PortDiaDown = 0;    // m
    double PortDia = 0;        // m, effective: ((up^-4 + down^-4)/2)^(-1/4)
    double SlitResistance = 0; // velocity heads of the port velocity per pass (distribution slit)
    bool operator==(const SinglePhaseSide&) const = default;
};

struct SinglePhaseInput {
    // --- fluids and modes ---
    PerSide<FluidRef> Fluid;
    std::string CalcMode = "D";          // "D", "P", "X", "PM" (docs/engine-records.md)
    std::string CalcMethod = "Normal";   // "Normal" (or empty)
    bool CounterCurrent = true;          // false: co-current design / performance

    // --- model geometry and limits (GetModelDataSPC) ---
    double plateThickness = 0;     // m
    double Enlargement = 1;        // surface enlargement factor Phi (-)
    double Dh = 0;                 // hydraulic diameter, m
    double PlateArea = 0;          // effective heat-transfer area of one plate, m²
    double FlowLength = 0;         // port-to-port length, m
    double FlowWidth = 0;          // channel width, m
    double CoCurrHTCFactor = 1;    // film coefficient factor in co-current flow (-)
    std::int16_t MaxPasses = 1;
    std::int16_t MaxPlates = 0;
    bool Dual = false;             // the model is a two-circuit (dual) model
    std::int16_t Split = 0;        // carried for two-stage models, not used by the rating
    std::int16_t Depth = 0;        // carried for two-stage models, not used by the rating
    PerSide<double> PortMassFluxLimit{};  // kg/(m² s), preset 2000: port velocity remark
    double PassPriceRatio = 0;     // PassPrice / Plateprice, in plates

    // --- channels and ports per side ---
    PerSide<SinglePhaseSide> Side;
    double WallConductivity = 16.3;  // W/(m K)

    // --- stock ---
    Bounded<std::int16_t, 1, 20> StockPlates{};  // stocked plate counts, ascending
    std::int16_t StockCount = 0;                 // how many of StockPlates are used
    bool ForcedStock = false;                    // designs round up to a stocked count

    // --- the duty, SI, each with its given flag ---
    DutyValue HeatLoad;                  // W, total of all units in parallel
    PerSide<DutyValue> InletTemp;        // °C
    PerSide<DutyValue> OutletTemp;       // °C
    PerSide<DutyValue> MassFlow;         // kg/s, total of all units in parallel
    PerSide<DutyValue> MaxPressureDrop;  // Pa
    PerSide<DutyCount> NoOfPasses;
    PerSide<PerSide<DutyCount>> NoOfChannels;  // [side][1 left type / 2 right type], per unit
    DutyCount ParallelUnits;
    DutyValue OverSurface;               // %, required margin of area
    DutyValue FoulingFactor;             // m² K/W
    DutyCount NoOfPlates;                // per unit
};

struct SinglePhaseResult {
    bool Valid = false;           // the engine found a solution
    std::int16_t ErrorCode = 0;   // 0 = none; otherwise a code of EngineErrorText
    bool WarningOnly = false;     // ErrorCode is a remark, the result is usable
    std::int16_t NoOfPlates = 0;  // per unit
    std::int16_t NoOfPasses = 0;  // the larger of the two sides' passes
    PerSide<std::int16_t> NoOfChannels;  // per unit
    std::int16_t ParallelUnits = 0;
    PerSide<std::int16_t> Passes;                 // passes of each side
    PerSide<PerSide<std::int16_t>> Channelout;    // [side][1 left / 2 right type]
    bool Dual = false;            // copy of the input's model flag
    bool CounterCurrent = true;

    // --- duty as rated (totals of all units) ---
    double HeatLoad = 0;          // engine: kW; W after the driver (doubled for dual models)
    PerSide<double> InletTemp;    // °C
    PerSide<double> OutletTemp;   // °C
    PerSide<double> MassFlow;     // kg/s

    // --- exchanger ---
    double HeatTransferArea = 0;  // m², all units: units × (plates − 2) × plate area
    double HeatFlux = 0;          // W/m²
    double LMTD = 0;              // K, counter-current log mean of the terminal differences
    double DeltaTempEffective = 0;// K, F × LMTD (the arrangement's mean difference)
    double CorrectionFactor = 0;  // F (-)
    double OHTC = 0;              // W/(m² K), = Kpredicted
    double Kpredicted = 0;        // W/(m² K), with fouling (and co-current factor)
    double Krequired = 0;         // W/(m² K), Q / (A F LMTD)
    double U_clean = 0;           // W/(m² K), without fouling
    double OverSurface = 0;       // %, 100 (A / A_required − 1)
    double FoulingFactor = 0;     // engine: m² K/kW; m² K/W after the driver
    PerSide<double> NTU;          // U A / C of each side

    // --- per side (per unit where it is a flow quantity) ---
    PerSide<double> PressureDrop;        // Pa, channels + ports
    PerSide<double> ChannelPressureDrop; // Pa
    PerSide<double> PortPressureDrop;    // Pa, ports and distribution slits
    PerSide<double> PortDiameterUp;      // engine: mm; m after the driver
    PerSide<double> PortDiameterDown;    // engine: mm; m after the driver; the port the side leaves by
    PerSide<double> PortVelocity;        // m/s
    PerSide<double> ChannelVelocity;     // m/s, mean over the side's channels
    PerSide<double> ReynoldsNumber;      // -, mean over the side's channels (flow weighted)
    PerSide<double> FilmCoefficient;     // W/(m² K), area mean over the side's channels
    PerSide<double> ShearStress;         // Pa, wall shear in the channels
    PerSide<double> MinTemp;             // °C, lowest wall-surface temperature on the side
    PerSide<double> MaxTemp;             // °C, highest wall-surface temperature on the side
    PerSide<double> MeanWallTemp;        // °C, wall surface at the side's mean temperature

    // --- fluid properties at the reference (mean) temperature of each side ---
    PerSide<double> RefTemp;        // °C
    PerSide<double> Viscosity;      // engine: mPa s; Pa s after the driver
    PerSide<double> WallViscosity;  // engine: mPa s; Pa s after the driver; at MeanWallTemp
    PerSide<double> Density;        // kg/m³
    PerSide<double> SpecificHeat;   // J/(kg K)
    PerSide<double> Conductivity;   // W/(m K)
    PerSide<double> CondensateFlow; // kg/s, water condensed out of a humid gas side (all units)

    // --- remarks ("Note") per side ---
    PerSide<std::string> NotePercentText;   // empty: no remark
    PerSide<double> NotePercent;            // %
    PerSide<std::string> NotePressureText;  // empty: no remark
    PerSide<double> NotePressure;           // Pa
};

}  // namespace hxq::core
