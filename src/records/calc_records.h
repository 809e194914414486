// The calculation records: plain values that carry one calculation from the given
// values through the drivers to the outputs and the store. Member order, types and
// bounds are part of the public interface. Copies are whole values; only the fluid
// references inside the engine records are shared.
#pragma once

#include "records/bounded.h"
#include "records/fluid_object.h"
#include "records/single_phase_records.h"
#include "records/two_phase_records.h"
#include "platform/variant.h"

#include <cstdint>
#include <string>

namespace hxq::core {

// One given value as the user entered it.
struct InputDataType {
    std::string sValue;          // the value in the user's unit, as text
    std::string sUnit;           // the unit label shown with it
    std::int16_t iUnitID = 0;    // unit identifier of the units database
    bool Given = false;          // the user supplied this value
    bool operator==(const InputDataType&) const = default;
};

struct PriceType {
    float Plateprice = 0;
    float Startprice = 0;
    float PassPrice = 0;
    bool operator==(const PriceType&) const = default;
};

// The user's restriction of the product range.
struct FilterType {
    bool Active = false;
    std::string Material;
    std::string Pressure;
    std::string Factory;
    std::string Cert;
    std::string ConnDenom;  // connection denomination
    std::string ConnXPCs;   // allowed connection article codes
    bool cew = false;       // only plate counts stocked with the allowed connections in `whs`
    std::string whs;        // warehouse number, compared with WHS_NBR
    bool operator==(const FilterType&) const = default;
};

// The given values of a calculation.
struct InputData {
    InputDataType heatLoad;
    PerSide<InputDataType> InletTemp;
    PerSide<InputDataType> OutletTemp;
    PerSide<InputDataType> MassFlux;         // flow rate per side
    PerSide<InputDataType> MaxPressureDrop;
    InputDataType ParallelUnits;
    PerSide<InputDataType> NoOfPasses;
    InputDataType SeriellUnits;
    InputDataType OverSurface;
    InputDataType FoulingFactor;
    Bounded<PerSide<InputDataType>, 1, 2> NoOfChannels;  // given channel counts [i][j]
    InputDataType EvapTemp;
    InputDataType SuperHeating;
    InputDataType CondTemp;
    InputDataType SubCooling;
    InputDataType HeatRecovery;
    InputDataType NoPlates;
    InputDataType Qin;
    InputDataType Qout;
    std::string Xer;          // exchanger model or group designation
    std::int16_t XerID = 0;
    std::string XerDB;        // database the model comes from
    std::string XerTag;       // "%"-separated properties of the model-tree node
    std::string ChannelType;
    bool IsXerGroup = false;
    bool IsDualCalc = false;
    std::string Parent;
    std::int16_t Material = 0;
    PriceType Price;
    FilterType Filter;
    InputDataType Qin2;
    InputDataType Qout2;
    bool operator==(const InputData&) const = default;
};

struct GivenOutputUnitsType {
    std::string sUnit;
    std::int16_t iUnit = 0;
    bool operator==(const GivenOutputUnitsType&) const = default;
};

struct GivenUnitsType {
    GivenOutputUnitsType Area;
    GivenOutputUnitsType LMTD;
    GivenOutputUnitsType OHTC;
    PerSide<GivenOutputUnitsType> CalculatedPressureDrop;
    GivenOutputUnitsType FluidCondensed;
    GivenOutputUnitsType OperatingPressOut;
    GivenOutputUnitsType OutletTempGas;
    GivenOutputUnitsType InletVaporFlow;
    GivenOutputUnitsType FluidVaporized;
    bool operator==(const GivenUnitsType&) const = default;
};

// Physical data of one model.
struct XerPhysicsType {
    PerSide<float> Vol;  // volume per side
    PerSide<float> MaxOPress;
    PerSide<float> MaxInnerOPressure;
    PerSide<float> MaxOuterOPressure;
    PerSide<float> TestPress;
    PerSide<float> MaxWTemp;
    PerSide<float> MaxWorkingTemperature;
    float length = 0;
    float Width = 0;
    float Height = 0;
    float Weight_full = 0;
    float Weight_empty = 0;
    bool operator==(const XerPhysicsType&) const = default;
};

// One single-phase alternative.
struct OutDataType {
    SinglePhaseResult OutputData;
    std::int16_t HXQID = 0;   // model row identifier
    std::int16_t nodeid = 0;  // model tree node
    std::string XerAlias;     // displayed designation
    std::string Chantype;
    std::string ChanComb;
    float Price = 0;
    bool CrossFlow = false;
    bool Dual = false;
    XerPhysicsType XerPhysics;
};

struct CONOutDataType {
    CondenserResult OutputData;
    std::int16_t HXQID = 0;
    std::int16_t nodeid = 0;
    std::string XerAlias;
    std::string Chantype;
    std::string ChanComb;
    float Price = 0;
    bool CrossFlow = false;
    bool Dual = false;
    XerPhysicsType XerPhysics;
};

struct VAPOutDataType {
    EvaporatorResult OutputData;
    std::int16_t HXQID = 0;
    std::int16_t nodeid = 0;
    std::string XerAlias;
    std::string Chantype;
    std::string ChanComb;
    float Price = 0;
    bool CrossFlow = false;
    bool Dual = false;
    bool VType = false;
    XerPhysicsType XerPhysics;
};

struct SPCDataType {
    InputData GivenValues;
    SinglePhaseInput InData;
    Alternatives<OutDataType> outdata;
    GivenUnitsType GivenOutputUnits;
};

struct CONDataType {
    InputData GivenValues;
    CondenserInput InData;
    Alternatives<CONOutDataType> outdata;
    GivenUnitsType GivenOutputUnits;
};

struct VAPDataType {
    InputData GivenValues;
    EvaporatorInput InData;
    Alternatives<VAPOutDataType> outdata;
    GivenUnitsType GivenOutputUnits;
};

struct TwoStageIndataType {
    float SngValue = 0;
    bool bolSet = false;  // the value is set
};

struct TwoStageOutDataType {
    XerPhysicsType XerPhysics;
    OutDataType Stage1;
    OutDataType Stage2;
    float heatLoad = 0;
};

struct TwoStageType {
    bool TwoStageCalc = false;
    TwoStageIndataType Primary_dP_Percentage;
    TwoStageIndataType Rad_Flow;
    TwoStageIndataType Rad_Temp;
    SinglePhaseInput InData;  // the whole duty
    SinglePhaseInput Stage1;
    SinglePhaseInput Stage2;
    InputData GivenValues;
    GivenUnitsType GivenOutputUnits;
    Alternatives<TwoStageOutDataType> outdata;
};

// A cascade: one unit that condenses one circuit and evaporates another.
struct CascadeDataType {
    InputData GivenValues;
    CondenserInput InDataCon;
    EvaporatorInput InDataVap;
    Alternatives<CONOutDataType> outdataCon;
    Alternatives<VAPOutDataType> outdataVap;
    GivenUnitsType GivenOutputUnits;
};

// One node of the model tree as the host holds it.
struct XerTreeType {
    std::string Alias;
    std::int16_t nodeid = 0;
    std::int16_t ModelID = 0;
    std::string ChannelType;
    std::string ChanComb;
    std::string TableName;
    std::int16_t MaxPasses = 0;
    std::int16_t MaxNrPlates = 0;
    std::string CalcMethod;
    std::string Group;
    std::string UserLevel;
    std::int16_t ParentID = 0;
    std::int16_t AncestorID = 0;
    bool HasParent = false;
    bool IsSinglePhase = false;
    bool IsCondensor = false;
    bool IsEvaporator = false;
    bool IsPdrop = false;
    bool IsAirDryer = false;
    bool IsTwoStage = false;
    bool IsGroup = false;
    bool UsesStock = false;
    bool ForcedStock = false;
    std::string DataBase;
    bool IsDual = false;
    bool IsCrossFlow = false;
    std::uint8_t HasOneExtraCh = 0;
};

struct IndataType {
    platform::Variant DataVal;
    bool Given = false;
};

// A result value formatted for display with its unit.
struct OutVal {
    std::string GVal;
    std::string GUnit;
};

struct StageData {
    PerSide<std::int16_t> NumberOfChannels;
    std::int16_t NumberOfPlates = 0;
};

}  // namespace hxq::core
