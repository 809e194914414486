// Quantity groups of the units database (table UnitGroups), by the GroupID that every
// unit row names: what a duty value must be measured in, and what a result is shown in.
#pragma once

#include <cstdint>

namespace hxq::duty::groups {

inline constexpr std::int16_t kTemperature = 1;
inline constexpr std::int16_t kTemperatureDifference = 2;
inline constexpr std::int16_t kHeatLoad = 3;
inline constexpr std::int16_t kFlow = 4;
inline constexpr std::int16_t kPressure = 5;
inline constexpr std::int16_t kArea = 8;
inline constexpr std::int16_t kViscosity = 9;
inline constexpr std::int16_t kDensity = 10;
inline constexpr std::int16_t kHeatCapacity = 11;
inline constexpr std::int16_t kConductivity = 12;
inline constexpr std::int16_t kLatentHeat = 13;
inline constexpr std::int16_t kHeatTransferCoefficient = 14;
inline constexpr std::int16_t kVelocity = 15;
inline constexpr std::int16_t kLength = 16;
inline constexpr std::int16_t kFouling = 17;
inline constexpr std::int16_t kPercent = 18;
inline constexpr std::int16_t kHeatFlux = 19;

}  // namespace hxq::duty::groups
