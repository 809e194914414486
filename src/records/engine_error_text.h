// Turns an engine error number (kObjectError + code) back into its message.
#pragma once

#include <cstdint>
#include <string>

namespace hxq::core {

// "Error number: <code> : <message>"; the message is empty for codes not listed and
// for codes outside 1..46. `calc_type` is the CalcType setting, which picks the text
// of code 6.
std::string EngineErrorText(std::int32_t number, int calc_type);

// The bare message of a code (no prefix), as listed.
std::string EngineErrorMessage(int code, int calc_type);

}  // namespace hxq::core
