#include "records/engine_error_text.h"

#include "platform/error.h"

#include <fmt/format.h>

namespace hxq::core {

std::string EngineErrorMessage(int code, int calc_type) {
    switch (code) {
        case 1:
        case 4: return "Crossing or impossible temperatures.";
        case 2: return "Number of plates must be specified if Performance is selected.";
        case 3: return "Temperature(s) outside limit(s).";
        case 5: return "Incorrect number of parameters.";
        case 6:
            if (calc_type == 0)
                return "You have specified an incorrect number of plates.\r\n"
                       "If you have more than one pass, number of plates - 1 must be even dividable by "
                       "number of passes.\r\n"
                       "Otherwise number of plates must be an even number.";
            if (calc_type == 1) return "No condensation, use Single Phase instead.";
            return "";
        case 7: return "To few plates specified. Expected 4 or more.";
        case 8: return "To few plates specified. Expected 5 or more.";
        case 9: return "Temperature differance too small.";
        case 10: return "To few plates specified. Expected 6 or more.";
        case 11: return "To few plates specified. Expected 9 or more.";
        case 15: return "No solution found !";
        case 16: return "The secondary fluid would freeze: outlet or wall below its freezing point.";
        case 17: return "Pressure drop in fluid distribution outside the limits of the model.";
        case 39:
        case 42: return "Too many parameters, remove one or more.";
        case 40: return "Too few parameters, add one or more.";
        case 43: return "At least one flow or one pressure drop must be given.";
        case 44: return "Heat load must be greater than 0.";
        case 45: return "Incorrect number of passes.";
        case 46: return "Wrong channel arrangment.";
        default: return "";
    }
}

std::string EngineErrorText(std::int32_t number, int calc_type) {
    // Computed in 64 bits: numbers far from the base must not overflow the subtraction.
    const std::int64_t code = static_cast<std::int64_t>(number) - platform::kObjectError;
    std::string message;
    if (code >= 1 && code <= 46) message = EngineErrorMessage(static_cast<int>(code), calc_type);
    return fmt::format("Error number: {} : {}", code, message);
}

}  // namespace hxq::core
