// Input and result records of the condenser and evaporator engines. Every
// member, its unit and its role is listed in docs/engine-records.md. Side 1 is
// the refrigerant, side 2 the secondary fluid. Values are SI base units (W, Pa,
// m, kg/s; temperatures in degrees Celsius) except the few result members
// marked "engine: ..." below, which the engines write in the trade's customary
// unit and the drivers bring to SI after rating.
#pragma once

#include <cstdint>
#include <string>

#include "records/bounded.h"
#include "records/fluid_object.h"
#include "records/single_phase_records.h"

namespace hxq::core {

// The port data and the channel correlation of one side (the left channel of
// the node). The correlation has the layout and the piecewise power-law meaning
// of the single-phase channels; the two-phase data carry no xFp0/xNu0 scalars
// and no extra channel, so `Channel.ExtraChannel` stays false.
struct TwoPhaseSide {
    double PortDiaUp = 0;       // m, port the side enters by
    double PortDiaDown = 0;     // m, port the side leaves by
    double SlitResistance = 0;  // velocity heads of the distribution slit
    double ChevronAngle = 0;    // degrees from the flow direction; 0: not known (60° taken)
    SinglePhaseChannel Channel;
    bool operator==(const TwoPhaseSide&) const = default;
};

// Transport properties of one phase at a reference temperature.
struct PhaseProperties {
    double Viscosity = 0;      // engine: mPa s; Pa s after the driver
    double WallViscosity = 0;  // as Viscosity, at the mean wall temperature (secondary side only)
    double Density = 0;        // kg/m³
    double SpecificHeat = 0;   // J/(kg K)
    double Conductivity = 0;   // W/(m K)
    bool operator==(const PhaseProperties&) const = default;
};

struct CondenserInput {
    FluidRef Refrigerant;
    FluidRef Fluid;        // the secondary fluid
    std::string CalcMode;  // "D" design, "P" performance (rating of given plates)
    bool CounterCurrent = true;

    // Duty.
    DutyValue HeatLoad;                  // W
    PerSide<DutyValue> InletTemp;        // °C; side 1 = refrigerant gas entering
    PerSide<DutyValue> OutletTemp;       // °C; side 1 unused (set by SubCooling)
    PerSide<DutyValue> MassFlow;         // kg/s
    PerSide<DutyValue> MaxPressureDrop;  // Pa
    DutyValue CondTemp;                  // °C, dew point at the inlet pressure
    DutyValue SubCooling;                // K below the bubble point at the outlet
    DutyValue Qin;                       // vapour quality entering, 0..1
    DutyValue Qout;                      // vapour quality leaving, 0..1
    DutyValue HeatRecovery;              // W, the share of the load taken from the superheated gas
    DutyCount NoOfPlates;
    DutyCount ParallelUnits;
    DutyCount SerialUnits;
    DutyValue OverSurface;    // %
    DutyValue FoulingFactor;  // m² K/W

    // Model (GetModelDataCON).
    double plateThickness = 0;  // m
    double Enlargement = 0;     // surface enlargement factor
    double Dh = 0;              // m, hydraulic diameter
    double PlateArea = 0;       // m², heat-transfer area of one plate
    double FlowLength = 0;      // m, port to port
    double FlowWidth = 0;       // m
    std::string Information2;
    double CoCurrHTCFactor = 1;  // co-current heat-transfer factor (stored as text)
    std::int16_t MaxPlates = 0;
    bool Dual = false;
    double DTMin = 0;  // K, smallest temperature difference the engine accepts

    // Stock.
    Bounded<std::int16_t, 1, 20> StockPlates;
    std::int16_t StockCount = 0;
    bool ForcedStock = false;  // only the stock plate counts may be chosen

    PerSide<TwoPhaseSide> SideData;

    // Channel-fluid correction of the refrigerant heat transfer.
    double cNuCorr = 1;
    double xNuCorr = 1;
    double cNuNoPCorr = 0;
    double cNuNoPRef = 0;
    double cNuMaxNoP = 0;

    double WallConductivity = 16.3;  // W/(m K), plate material
};

// Status: negative = solution, 0 = none, positive = an engine error code.
struct CondenserResult {
    std::int16_t Status = 0;
    std::int16_t NoOfPlates = 0;
    std::int16_t ParallelUnits = 0;
    std::int16_t SerialUnits = 0;
    PerSide<std::int16_t> NoOfChannels;

    FluidRef FluidObject;  // the refrigerant rated

    double HeatLoad = 0;          // W
    double HeatRecovery = 0;      // W, from the superheated gas zone
    double HeatTransferArea = 0;  // m²
    double HeatFlux = 0;          // W/m²
    double LMTD = 0;              // K
    // Moving-boundary zones of the whole set: 1 superheated vapour, 2 two-phase, 3 subcooled
    // liquid. The areas add up to the area needed (HeatTransferArea / (1 + OverSurface/100)).
    Bounded<double, 1, 3> ZoneArea;  // m²
    Bounded<double, 1, 3> ZoneLoad;  // W
    bool WetWall = false;            // vapour condensed on a wall below its dew point
    double OHTC = 0;              // W/(m² K), clean
    double Kpredicted = 0;        // W/(m² K), with fouling
    double Krequired = 0;         // W/(m² K), needed for the load on this area
    double OverSurface = 0;       // %
    double FoulingFactor = 0;     // engine: m² K/kW; m² K/W after the driver

    std::string CONTempProgram;    // "refrigerant in/dew/out - secondary in/out", °C
    double CondensingTemp = 0;     // °C, dew point at the inlet
    double OperatingPressOut = 0;  // Pa, refrigerant pressure at the outlet
    double FluidCondensed = 0;     // kg/s, refrigerant condensed
    double SubCooling = 0;         // K
    double Qin = 0;
    double Qout = 0;

    PerSide<double> InletTemp;   // °C
    PerSide<double> OutletTemp;  // °C
    PerSide<double> MassFlow;    // kg/s
    PerSide<double> RefTemp;     // °C, temperature the properties are taken at

    PhaseProperties RefLiquid;  // refrigerant, saturated liquid
    PhaseProperties RefVapor;   // refrigerant, saturated vapour
    PhaseProperties Side2;      // secondary fluid
    double LatentHeat = 0;      // engine: kJ/kg; J/kg after the driver

    PerSide<double> PressureDrop;      // Pa, total
    PerSide<double> PortPressureDrop;  // Pa, in the ports
    PerSide<double> PortDiameterUp;    // engine: mm; m after the driver
    PerSide<double> PortDiameterDown;  // engine: mm; m after the driver
    PerSide<double> ReynoldsNumber;
    PerSide<double> FilmCoefficient;     // W/(m² K)
    PerSide<double> MeanWallTemp;        // °C
    PerSide<double> MinTemp;             // °C, coldest fluid temperature at the wall
    PerSide<double> MaxTemp;             // °C, warmest fluid temperature at the wall
    PerSide<double> PortVelocity;        // m/s, inlet port
    PerSide<double> PortVelocityOut;     // m/s, outlet port
    PerSide<double> ChannelVelocity;     // m/s, at the inlet
    PerSide<double> ChannelVelocityOut;  // m/s, at the outlet
    PerSide<double> ShearStress;         // Pa, wall shear in the channels

    // Remarks ("Note") per side, as the single-phase result carries them.
    PerSide<std::string> NotePercentText;   // empty: no remark
    PerSide<double> NotePercent;            // %
    PerSide<std::string> NotePressureText;  // empty: no remark
    PerSide<double> NotePressure;           // Pa
};

struct EvaporatorInput {
    FluidRef Refrigerant;
    FluidRef Fluid;
    std::string CalcMode;  // "D" design, "P" performance, "X" check of a given unit
    bool CounterCurrent = true;

    // Duty.
    DutyValue HeatLoad;
    PerSide<DutyValue> InletTemp;   // °C; side 1 unused (set by EvapTemp and Qin)
    PerSide<DutyValue> OutletTemp;  // °C; side 1 unused (set by SuperHeating)
    PerSide<DutyValue> MassFlow;
    PerSide<DutyValue> MaxPressureDrop;
    DutyValue EvapTemp;      // °C, dew point at the outlet pressure
    DutyValue SuperHeating;  // K above the dew point at the outlet
    DutyValue Qin;
    DutyValue Qout;
    DutyCount NoOfPlates;
    DutyCount ParallelUnits;
    DutyCount SerialUnits;
    DutyValue OverSurface;
    DutyValue FoulingFactor;

    // Model (GetModelDataVAP).
    double plateThickness = 0;
    double Enlargement = 0;
    double Dh = 0;
    double PlateArea = 0;
    double FlowLength = 0;
    double FlowWidth = 0;
    std::string Information2;
    double CoCurrHTCFactor = 1;
    std::int16_t MaxPlates = 0;
    bool Dual = false;
    double DTMin = 0;

    // V-ring distributor at the refrigerant inlet.
    bool VRing = false;
    std::int16_t VRingID = 0;
    double MaxPressureDropVRing = 0;  // Pa
    double MinPressureDropVRing = 0;  // Pa
    double Dorifice = 0;              // m, one orifice
    double DiameterIN = 0;            // m, ring inlet
    std::int16_t NoOrifice = 0;

    Bounded<std::int16_t, 1, 20> StockPlates;
    std::int16_t StockCount = 0;
    bool ForcedStock = false;

    PerSide<TwoPhaseSide> SideData;

    double cNuCorr = 1;
    double xNuCorr = 1;
    double cNuNoPCorr = 0;
    double cNuNoPRef = 0;
    double cNuMaxNoP = 0;

    double WallConductivity = 16.3;
};

struct EvaporatorResult {
    std::int16_t Status = 0;
    std::int16_t NoOfPlates = 0;
    std::int16_t ParallelUnits = 0;
    std::int16_t SerialUnits = 0;
    PerSide<std::int16_t> NoOfChannels;

    FluidRef FluidObject;

    double HeatLoad = 0;
    double HeatTransferArea = 0;  // m²; 1e30 when the engine found no solution
    double HeatFlux = 0;
    double LMTD = 0;
    // Moving-boundary zones of the whole set: 1 superheated vapour, 2 two-phase, 3 subcooled
    // liquid. The areas add up to the area needed (HeatTransferArea / (1 + OverSurface/100)).
    Bounded<double, 1, 3> ZoneArea;  // m²
    Bounded<double, 1, 3> ZoneLoad;  // W
    bool WetWall = false;            // vapour condensed on a wall below its dew point
    double OHTC = 0;
    double Kpredicted = 0;
    double Krequired = 0;
    double OverSurface = 0;
    double FoulingFactor = 0;

    std::string VAPTempProgram;    // "refrigerant in/dew/out - secondary in/out", °C
    double EvapTemp = 0;           // °C, dew point at the outlet
    double OperatingPressOut = 0;  // Pa, refrigerant pressure at the outlet
    double SuperHeat = 0;          // K
    double OutletTempGas = 0;      // °C, refrigerant gas leaving
    double FluidVaporized = 0;     // kg/s, refrigerant evaporated
    double InletVaporFlow = 0;     // kg/s, vapour entering (Xin × refrigerant flow)
    double Xin = 0;                // vapour quality entering
    double Xout = 0;               // vapour quality at the end of evaporation (1 when superheated)

    bool VType = false;               // rated with the V-ring distributor
    double Dorifice = 0;              // engine: mm; m after the driver
    double DiameterIN = 0;            // engine: mm; m after the driver
    double VRingPressureDrop = 0;     // Pa, in the distributor
    double VRingPressureDropMin = 0;  // Pa, the model's limits it was checked against
    double VRingPressureDropMax = 0;  // Pa
    bool TwoPhaseInlet = false;       // the refrigerant enters as a two-phase mixture

    // A humid-air secondary cooled below its dew point (an air dryer): the water it gives
    // up, the humidity it leaves with and the dew point at its pressure it reaches.
    double CondensateFlow = 0;    // kg/s
    double OutletHumidity = 0;    // kg water per kg dry air
    double PressureDewPoint = 0;  // °C

    PerSide<double> InletTemp;
    PerSide<double> OutletTemp;
    PerSide<double> MassFlow;
    PerSide<double> RefTemp;

    PhaseProperties RefLiquid;
    PhaseProperties RefVapor;
    PhaseProperties Side2;
    double LatentHeat = 0;

    PerSide<double> PressureDrop;
    PerSide<double> PortPressureDrop;
    PerSide<double> PortDiameterUp;
    PerSide<double> PortDiameterDown;
    PerSide<double> ReynoldsNumber;
    PerSide<double> FilmCoefficient;
    PerSide<double> MeanWallTemp;
    PerSide<double> MinTemp;
    PerSide<double> MaxTemp;
    PerSide<double> PortVelocity;
    PerSide<double> PortVelocityOut;
    PerSide<double> ChannelVelocity;
    PerSide<double> ChannelVelocityOut;
    PerSide<double> ShearStress;

    PerSide<std::string> NotePercentText;
    PerSide<double> NotePercent;
    PerSide<std::string> NotePressureText;
    PerSide<double> NotePressure;
};

}  // namespace hxq::core
