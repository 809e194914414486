// The engine error text as the library shows it: the code-6 text follows the user's
// calculation type setting.
#pragma once

#include <cstdint>
#include <string>

namespace hxq::settings {

// core::EngineErrorText with the CalcType setting of the current user settings.
std::string EngineErrorText(std::int32_t number);

}  // namespace hxq::settings
