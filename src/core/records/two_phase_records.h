// Input and result records of the condenser and evaporator engines. Every member, its
// unit and its role is listed in docs/engine-records.md. Side 1 is the refrigerant,
// side 2 the secondary fluid. Values are SI base units (W, Pa, m, kg/s; temperatures in
// degrees Celsius) except the few result members marked "engine: ..." below, which the
// engines write in the trade's customary unit and the drivers bring to SI after rating.
#pragma once

#include "core/records/bounded.h"
#include "core/records/fluid_object.h"

#include <cstdint>
#include <string>

namespace hxq::core {

// A duty quantity of an engine input with the flag that the engine must honour it.
template <typename T>
struct GivenValue {
    T Value{};
    bool Given = false;
    bool operator==(const GivenValue&) const = default;
};

// The port data and the channel correlation of one side (the left channel of the
// node). Piecewise power laws in Reynolds number: range i starts at crFp[i] / crNu[i]
// (i = 1..noFp / noNu) and has the exponent xFp[i] / xNu[i]; range 0 has xFp[0] /
// xNu[0] and the coefficient cFp / cnu.
struct TwoPhaseSide {
    float PortDiaUp = 0;       // m, port the side enters by
    float PortDiaDown = 0;     // m, port the side leaves by
    float SlitResistance = 0;  // velocity heads of the distribution slit
    std::string ChannelName;
    std::int32_t ChannelID = 0;
    float cFp = 0;
    std::int16_t noFp = 0;  // breakpoints used, 0..4
    Bounded<float, 0, 4> xFp;
    Bounded<float, 0, 4> crFp;  // index 0 unused
    float cnu = 0;
    std::int16_t noNu = 0;
    Bounded<float, 0, 4> xNu;
    Bounded<float, 0, 4> crNu;  // index 0 unused
    bool operator==(const TwoPhaseSide&) const = default;
};

// Transport properties of one phase at a reference temperature.
struct PhaseProperties {
    float Viscosity = 0;      // engine: mPa s; Pa s after the driver
    float WallViscosity = 0;  // as Viscosity, at the mean wall temperature (secondary side only)
    float Density = 0;        // kg/m³
    float SpecificHeat = 0;   // J/(kg K)
    float Conductivity = 0;   // W/(m K)
    bool operator==(const PhaseProperties&) const = default;
};

// Remark of the engine on one side of a result.
enum class RemarkKind : std::int16_t { None = 0, Percentage = 1, Pressure = 2 };

struct CondenserInput {
    FluidRef Refrigerant;
    FluidRef Fluid;        // the secondary fluid
    std::string CalcMode;  // "D" design, "P" performance (rating of given plates)
    bool CounterCurrent = true;

    // Duty.
    GivenValue<float> HeatLoad;              // W
    PerSide<GivenValue<float>> InletTemp;    // °C; side 1 = refrigerant gas entering
    PerSide<GivenValue<float>> OutletTemp;   // °C; side 1 unused (set by SubCooling)
    PerSide<GivenValue<float>> MassFlow;     // kg/s
    PerSide<GivenValue<float>> MaxPressureDrop;  // Pa
    GivenValue<float> CondTemp;      // °C, dew point at the inlet pressure
    GivenValue<float> SubCooling;    // K below the bubble point at the outlet
    GivenValue<float> Qin;           // vapour quality entering, 0..1
    GivenValue<float> Qout;          // vapour quality leaving, 0..1
    GivenValue<float> HeatRecovery;  // W, the share of the load taken from the superheated gas
    GivenValue<std::int16_t> NoOfPlates;
    GivenValue<std::int16_t> ParallelUnits;
    GivenValue<std::int16_t> SerialUnits;
    GivenValue<float> OverSurface;    // %
    GivenValue<float> FoulingFactor;  // m² K/W

    // Model (GetModelDataCON).
    float plateThickness = 0;  // m
    float Enlargement = 0;     // surface enlargement factor
    float Dh = 0;              // m, hydraulic diameter
    float PlateArea = 0;       // m², heat-transfer area of one plate
    float FlowLength = 0;      // m, port to port
    float FlowWidth = 0;       // m
    std::string Information2;
    std::string CoCurrHTCFactor;  // number as text: co-current heat-transfer factor
    std::int16_t MaxPlates = 0;
    bool Dual = false;
    float DTMin = 0;  // K, smallest temperature difference the engine accepts

    // Stock.
    Bounded<std::int16_t, 1, 20> StockPlates;
    std::int16_t NoOfStockPlates = 0;
    bool ForcedStock = false;  // only the stock plate counts may be chosen

    PerSide<TwoPhaseSide> SideData;

    // Channel-fluid correction of the refrigerant heat transfer.
    float cNuCorr = 1;
    float xNuCorr = 1;
    float cNuNoPCorr = 0;
    float cNuNoPRef = 0;
    float cNuMaxNoP = 0;

    float WallConductivity = 16.3f;  // W/(m K), plate material
};

// Status: negative = solution, 0 = none, positive = an engine error code.
struct CondenserResult {
    std::int16_t Status = 0;
    std::int16_t NoOfPlates = 0;
    std::int16_t ParallelUnits = 0;
    std::int16_t SerialUnits = 0;
    PerSide<std::int16_t> NoOfChannels;

    FluidRef FluidObject;  // the refrigerant rated

    float HeatLoad = 0;          // W
    float HeatRecovery = 0;      // W, from the superheated gas zone
    float HeatTransferArea = 0;  // m²
    float HeatFlux = 0;          // W/m²
    float LMTD = 0;              // K
    float OHTC = 0;              // W/(m² K), clean
    float Kpredicted = 0;        // W/(m² K), with fouling
    float Krequired = 0;         // W/(m² K), needed for the load on this area
    float OverSurface = 0;       // %
    float FoulingFactor = 0;     // engine: m² K/kW; m² K/W after the driver

    float CondensingTemp = 0;     // °C, dew point at the inlet
    float OperatingPressOut = 0;  // Pa, refrigerant pressure at the outlet
    float FluidCondensed = 0;     // kg/s, refrigerant condensed
    float SubCooling = 0;         // K
    float Qin = 0;
    float Qout = 0;

    PerSide<float> InletTemp;   // °C
    PerSide<float> OutletTemp;  // °C
    PerSide<float> MassFlow;    // kg/s
    PerSide<float> RefTemp;     // °C, temperature the properties are taken at

    PhaseProperties RefLiquid;  // refrigerant, saturated liquid
    PhaseProperties RefVapor;   // refrigerant, saturated vapour
    PhaseProperties Side2;      // secondary fluid
    float LatentHeat = 0;       // engine: kJ/kg; J/kg after the driver

    PerSide<float> PressureDrop;      // Pa, total
    PerSide<float> PortPressureDrop;  // Pa, in the ports
    PerSide<float> PortDiameterUp;    // engine: mm; m after the driver
    PerSide<float> PortDiameterDown;  // engine: mm; m after the driver
    PerSide<float> ReynoldsNumber;
    PerSide<float> FilmCoefficient;  // W/(m² K)
    PerSide<float> MeanWallTemp;     // °C
    PerSide<float> MinTemp;          // °C, coldest fluid temperature at the wall
    PerSide<float> MaxTemp;          // °C, warmest fluid temperature at the wall
    PerSide<float> PortVelocity;     // m/s, inlet port
    PerSide<float> PortVelocityOut;  // m/s, outlet port
    PerSide<float> ChannelVelocity;     // m/s, at the inlet
    PerSide<float> ChannelVelocityOut;  // m/s, at the outlet
    PerSide<float> ShearStress;         // Pa, wall shear in the channels

    PerSide<RemarkKind> Remark;
    PerSide<float> RemarkValue;  // % or Pa, by Remark
    PerSide<std::string> RemarkText;
};

struct EvaporatorInput {
    FluidRef Refrigerant;
    FluidRef Fluid;
    std::string CalcMode;  // "D" design, "P" performance, "X" check of a given unit
    bool CounterCurrent = true;

    // Duty.
    GivenValue<float> HeatLoad;
    PerSide<GivenValue<float>> InletTemp;   // °C; side 1 unused (set by EvapTemp and Qin)
    PerSide<GivenValue<float>> OutletTemp;  // °C; side 1 unused (set by SuperHeating)
    PerSide<GivenValue<float>> MassFlow;
    PerSide<GivenValue<float>> MaxPressureDrop;
    GivenValue<float> EvapTemp;      // °C, dew point at the outlet pressure
    GivenValue<float> SuperHeating;  // K above the dew point at the outlet
    GivenValue<float> Qin;
    GivenValue<float> Qout;
    GivenValue<std::int16_t> NoOfPlates;
    GivenValue<std::int16_t> ParallelUnits;
    GivenValue<std::int16_t> SerialUnits;
    GivenValue<float> OverSurface;
    GivenValue<float> FoulingFactor;

    // Model (GetModelDataVAP).
    float plateThickness = 0;
    float Enlargement = 0;
    float Dh = 0;
    float PlateArea = 0;
    float FlowLength = 0;
    float FlowWidth = 0;
    std::string Information2;
    std::string CoCurrHTCFactor;
    std::int16_t MaxPlates = 0;
    bool Dual = false;
    float DTMin = 0;

    // V-ring distributor at the refrigerant inlet.
    bool VRing = false;
    std::int16_t VRingID = 0;
    float MaxPressureDropVRing = 0;  // Pa
    float MinPressureDropVRing = 0;  // Pa
    float Dorifice = 0;              // m, one orifice
    float DiameterIN = 0;            // m, ring inlet
    std::int16_t NoOrifice = 0;

    Bounded<std::int16_t, 1, 20> StockPlates;
    std::int16_t NoOfStockPlates = 0;
    bool ForcedStock = false;

    PerSide<TwoPhaseSide> SideData;

    float cNuCorr = 1;
    float xNuCorr = 1;
    float cNuNoPCorr = 0;
    float cNuNoPRef = 0;
    float cNuMaxNoP = 0;

    float WallConductivity = 16.3f;
};

struct EvaporatorResult {
    std::int16_t Status = 0;
    std::int16_t NoOfPlates = 0;
    std::int16_t ParallelUnits = 0;
    std::int16_t SerialUnits = 0;
    PerSide<std::int16_t> NoOfChannels;

    FluidRef FluidObject;

    float HeatLoad = 0;
    float HeatTransferArea = 0;  // m²; 1e30 when the engine found no solution
    float HeatFlux = 0;
    float LMTD = 0;
    float OHTC = 0;
    float Kpredicted = 0;
    float Krequired = 0;
    float OverSurface = 0;
    float FoulingFactor = 0;

    float EvapTemp = 0;           // °C, dew point at the outlet
    float OperatingPressOut = 0;  // Pa, refrigerant pressure at the outlet
    float SuperHeat = 0;          // K
    float OutletTempGas = 0;      // °C, refrigerant gas leaving
    float FluidVaporized = 0;     // kg/s, refrigerant evaporated
    float InletVaporFlow = 0;     // kg/s, vapour entering (Xin × refrigerant flow)
    float Xin = 0;                // vapour quality entering
    float Xout = 0;               // vapour quality at the end of evaporation (1 when superheated)

    bool VType = false;               // rated with the V-ring distributor
    float Dorifice = 0;               // engine: mm; m after the driver
    float DiameterIN = 0;             // engine: mm; m after the driver
    float VRingPressureDrop = 0;      // Pa, in the distributor
    float VRingPressureDropMin = 0;   // Pa, the model's limits it was checked against
    float VRingPressureDropMax = 0;   // Pa
    bool TwoPhaseInlet = false;       // the refrigerant enters as a two-phase mixture

    PerSide<float> InletTemp;
    PerSide<float> OutletTemp;
    PerSide<float> MassFlow;
    PerSide<float> RefTemp;

    PhaseProperties RefLiquid;
    PhaseProperties RefVapor;
    PhaseProperties Side2;
    float LatentHeat = 0;

    PerSide<float> PressureDrop;
    PerSide<float> PortPressureDrop;
    PerSide<float> PortDiameterUp;
    PerSide<float> PortDiameterDown;
    PerSide<float> ReynoldsNumber;
    PerSide<float> FilmCoefficient;
    PerSide<float> MeanWallTemp;
    PerSide<float> MinTemp;
    PerSide<float> MaxTemp;
    PerSide<float> PortVelocity;
    PerSide<float> PortVelocityOut;
    PerSide<float> ChannelVelocity;
    PerSide<float> ChannelVelocityOut;
    PerSide<float> ShearStress;

    PerSide<RemarkKind> Remark;
    PerSide<float> RemarkValue;
    PerSide<std::string> RemarkText;
};

}  // namespace hxq::core
