#include "output/startup_detection.h"

#include "platform/desktop_entry.h"
#include "platform/office.h"
#include "settings/library_state.h"

namespace hxq::output {

bool word_processor_installed() {
    if (!platform::office_program().empty()) return true;
    return platform::default_handler_for_extension(".docx") || platform::default_handler_for_extension(".doc");
}

std::string rtf_editor_program() {
    if (const auto handler = platform::default_handler_for_extension(".rtf"))
        return platform::handler_program(*handler).string();
    return platform::office_program().string();
}

void install_startup_detection() {
    settings::library_state().startup = settings::StartupDetection{word_processor_installed, rtf_editor_program};
}

}  // namespace hxq::output
