#include "settings/library_state.h"

#include "platform/font_metrics_printer.h"
#include "platform/paths.h"
#include "platform/prompter.h"

namespace hxq::settings {

LibraryState& library_state() {
    static LibraryState state;
    return state;
}

void reset_library_state() { library_state() = LibraryState{}; }

platform::Prompter& prompter() {
    auto& slot = library_state().prompter;
    if (!slot) slot = std::make_shared<platform::ScriptedPrompter>();
    return *slot;
}

void set_prompter(std::shared_ptr<platform::Prompter> p) { library_state().prompter = std::move(p); }

platform::Printer& printer() {
    auto& slot = library_state().printer;
    if (!slot) slot = std::make_shared<platform::FontMetricsPrinter>();
    return *slot;
}

void set_printer(std::shared_ptr<platform::Printer> p) { library_state().printer = std::move(p); }

std::filesystem::path settings_read_file() { return platform::native_path(library_state().host.IniFilePath); }

std::filesystem::path settings_write_file() {
    const std::string& folder = library_state().host.WorkingPath;
    // Without a working folder the plain "\hxq.ini" would land in the file system's root.
    return platform::join_path(folder.empty() ? platform::default_working_folder().string() : folder, "\\hxq.ini");
}

}  // namespace hxq::settings
