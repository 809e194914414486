#include "settings/engine_error_local_text.h"

#include "platform/error.h"
#include "settings/texts.h"

#include <fmt/format.h>

namespace hxq::settings {
namespace {

constexpr std::int16_t kErrorNumberLabel = 229;  // "Error No.:"

}  // namespace

std::optional<std::int16_t> engine_error_text_id(int code, int calc_type) {
    switch (code) {
        case 1:
        case 4: return 218;  // Crossing or impossible temperatures
        case 2: return 237;  // plates not given for a rating: "Too small or illegal number of plates"
        case 3: return 236;  // Temperature outside limits
        case 5: return 225;  // Incorrect number of input data
        case 6:
            if (calc_type == 0) return 237;  // Too small or illegal number of plates
            if (calc_type == 1) return 227;  // No condensation, use PHE-program
            return std::nullopt;
        case 7:
        case 8:
        case 10:
        case 11: return 237;  // too few plates
        case 9: return 238;   // Too small temperature difference
        case 15: return 228;  // No solution found
        case 16: return 236;  // freezing: a temperature outside the fluid's limits
        case 17: return 254;  // Unreasonable pressure drop (in the distribution)
        case 39:
        case 42: return 230;  // Over specified
        case 40: return 247;  // Under specified
        case 43: return 232;  // At least one mass flow or one pressure drop must be given
        case 44: return 243;  // Unreasonable heat load
        case 45: return 249;  // Unreasonable number of passes
        case 46: return 144;  // Error in channel arrangement
        default: return std::nullopt;
    }
}

std::string LocalEngineErrorMessage(int code, int calc_type, std::int16_t offset) {
    const auto id = engine_error_text_id(code, calc_type);
    return id ? std::string(localised_text(*id, offset)) : std::string();
}

std::string LocalEngineErrorText(std::int32_t number, int calc_type, std::int16_t offset) {
    // In 64 bits: numbers far from the base must not overflow the subtraction.
    const std::int64_t code = static_cast<std::int64_t>(number) - platform::kObjectError;
    std::string message;
    if (code >= 1 && code <= 46) message = LocalEngineErrorMessage(static_cast<int>(code), calc_type, offset);
    return fmt::format("{} {} : {}", localised_text(kErrorNumberLabel, offset), code, message);
}

}  // namespace hxq::settings
