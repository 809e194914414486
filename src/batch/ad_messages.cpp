#include "batch/ad_messages.h"

#include "platform/error.h"
#include "platform/prompter.h"
#include "settings/library_state.h"

#include <fmt/format.h>

#include <cstdint>
#include <exception>
#include <string>

namespace hxq::batch {

namespace {

constexpr std::int32_t kInternalError = 51;
constexpr const char* kLineBreak = "\r\n";

void show(std::int32_t number, const std::string& description, const char* place) {
    settings::prompter().show_message(
        fmt::format("Error number {}{}{}{}{}", number, kLineBreak, description, kLineBreak, place));
}

}  // namespace

void ShowADError(const char* place) {
    try {
        throw;
    } catch (const platform::Error& e) {
        show(e.number(), e.description(), place);
    } catch (const std::exception& e) {
        show(kInternalError, e.what(), place);
    }
}

}  // namespace hxq::batch
