// Errors of the fluid-property component. A state outside a fluid's data is an
// object error with the engine code 3, so an engine can pass it on as it is.
#pragma once

#include "records/fluid_object.h"
#include "platform/error.h"

#include <string>
#include <vector>

namespace hxq::engines::fluid {

inline constexpr const char* kSource = "HXQFluid";

// Temperature, pressure, concentration or phase outside the data of a fluid.
class OutOfRange : public platform::Error {
public:
    explicit OutOfRange(const std::string& description)
        : platform::Error(platform::kObjectError + core::kFluidRangeCode, kSource, description) {}
};

// Code of an unknown fluid name; outside the engines' codes 1-46.
inline constexpr std::int32_t kUnknownFluidCode = 101;
// Code of a fluid database that cannot be read.
inline constexpr std::int32_t kFluidDatabaseCode = 102;

class UnknownFluid : public platform::Error {
public:
    // note: added in brackets (why the name may be unknown, e.g. a missing database).
    UnknownFluid(const std::string& name, std::vector<std::string> nearest,
                 const std::string& note = "");
    const std::vector<std::string>& nearest() const noexcept { return nearest_; }

private:
    std::vector<std::string> nearest_;
};

class FluidDatabaseError : public platform::Error {
public:
    explicit FluidDatabaseError(const std::string& description)
        : platform::Error(platform::kObjectError + kFluidDatabaseCode, kSource, description) {}
};

// Throws OutOfRange unless lo <= value <= hi (and value is a number).
void check_range(const std::string& fluid, const char* quantity, double value, double lo,
                 double hi, const char* unit);

}  // namespace hxq::engines::fluid
