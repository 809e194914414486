// How every main loop of clsCalculate hands its errors to the host: with the loop's name
// as source, whatever went wrong inside.
#pragma once

#include <functional>

namespace hxq::core {

// Runs `body`; a platform error leaves with `source` as its source, running out of memory
// as error 7 and any other exception as error 51, both with `source`.
void RunMainLoop(const char* source, const std::function<void()>& body);

}  // namespace hxq::core
