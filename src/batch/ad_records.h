// The records of an air dryer sizing: what the user entered, the two units' calculation
// records, the search settings of a model and the seven cheapest pairs found. Member
// order is part of the public interface.
#pragma once

#include "records/bounded.h"
#include "records/calc_records.h"
#include "records/fluid_object.h"

#include <cstdint>
#include <string>

namespace hxq::batch {

// How the plates of one air dryer model are split between its two units.
struct ADOptimisationType {
    std::int16_t Split = 0;        // split points tried per level (Split + 1 points)
    std::int16_t Depth = 0;        // levels of refinement around the best split
    float MinPercentRefHXQ = 0;    // lowest share of the plates for the evaporator, %
    float MaxPercentRefHXQ = 100;  // highest share, %; both carried, the search spans 0..100
};

// The refrigerant unit (evaporator) of the pair.
struct RefIndataType {
    std::string HXQModel;
    std::string HXQChannel;
    std::string HXQChannel2;
    std::int16_t NoOfPlates = 0;
    float AirOutletTemp = 0;  // °C
    core::VAPDataType VAP;
    core::FluidRef RefFluid;
    core::FluidRef AirFluid;
};

// What the user entered. SI values; temperatures °C.
struct ADFormIndataType {
    float AirInletTemp = 0;         // °C, compressed air entering the dryer
    float AirMassFlow = 0;          // kg/s
    float AirMinOutletTemp = 0;     // °C, lowest temperature of the dried air leaving
    float AirMaxPressureDrop = 0;   // Pa, through both units
    float RefEvapTemp = 0;          // °C
    float RefMassFlow = 0;          // kg/s
    float RefSuperHeat = 0;         // K
    float RefVaporQualityInlet = 0;
    float RefVaporQualityOutlet = 0;
    std::string RefFluid;           // refrigerant name of the fluid catalogue
    float DewTemp = 0;              // °C, pressure dew point wanted (design)
    std::int16_t DewTempUnitID = 0;
    float CalcMethod = 0;           // 0 design, 1 rating
    std::int16_t AirNoOfPlates = 0;
    std::int16_t RefNoOfPlates = 0;
    float AirOperatingPressure = 0;  // Pa, absolute
};

struct ADInputType {
    core::SPCDataType AirIndata;  // the air-to-air unit
    RefIndataType RefIndata;
    ADFormIndataType ADFormIndata;
    ADOptimisationType Optimisation;
    std::int16_t MaxNoOfPlates = 0;  // plates of both units together
    std::int16_t XerIndex = 0;       // model-tree node of the model or group
    std::string Xer;
    bool IsGroup = false;
    bool IsStandard = false;
    std::string XerTag;
};

// One air dryer alternative.
struct ADOutputType {
    std::string XerType;  // model alias
    std::int16_t XerNodeID = 0;
    std::int16_t XerModelID = 0;
    bool Exist = false;  // the pair meets the duty
    core::EvaporatorResult RefHXQResults_new;
    core::SinglePhaseResult AirHXQResults;
    std::int16_t TotalNumberOfPlates = 0;
    std::int16_t RefNumberOfPlates = 0;
    float TotalPressureDrop = 0;  // Pa, air through both units
    float DewTemp = 0;            // °C
    float AirMassFlow = 0;        // kg/s
    float Startprice = 0;
    float Plateprice = 0;
    float TotalPrice = 0;
    core::XerPhysicsType XerPhysics;
    std::string XPc;  // article code
};

struct ADDataType {
    ADInputType ADInData;
    core::Alternatives<ADOutputType> ADOutData;  // ascending TotalPrice
};

}  // namespace hxq::batch
