#include "settings/engine_error_text_setting.h"

#include "records/engine_error_text.h"
#include "settings/library_state.h"

namespace hxq::settings {

std::string EngineErrorText(std::int32_t number) {
    return core::EngineErrorText(number, library_state().UserSettings.StartUpCalcType);
}

}  // namespace hxq::settings
