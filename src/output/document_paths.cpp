#include "output/document_paths.h"

#include "platform/paths.h"
#include "settings/library_state.h"
#include "settings/settings_store.h"

#include <ctime>

namespace hxq::output {

std::filesystem::path application_folder() {
    const std::string& exe = settings::library_state().host.ExePath;
    return exe.empty() ? platform::application_path() : std::filesystem::path(platform::native_path(exe));
}

std::string time_stamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[16] = {};
    std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
    return text;
}

std::filesystem::path template_language_folder() {
    const std::string root = settings::GetSettingHXQ("HXQ", "Settings", "TemplatePath", application_folder().string());
    return std::filesystem::path(platform::native_path(root)) /
           platform::native_path(settings::library_state().UserSettings.TempLang);
}

std::filesystem::path find_template(std::string_view name) {
    if (name.empty()) return {};
    const std::filesystem::path exact = template_language_folder() / platform::native_path(name);
    if (platform::file_exists(exact)) return exact;
    for (const char* extension : {".rtf", ".docx", ".dotx"}) {
        std::filesystem::path other = exact;
        other.replace_extension(extension);
        if (platform::file_exists(other)) return other;
    }
    return {};
}

}  // namespace hxq::output
