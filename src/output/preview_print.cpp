// PreviewPrint: the sheet as a rich-text file in the document folder, opened in the
// user's editor or converted and printed.
#include "output/cls_output.h"
#include "output/rtf_document.h"

#include "platform/desktop_entry.h"
#include "platform/error.h"
#include "platform/office.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "platform/shell.h"
#include "settings/library_state.h"

#include <ctime>
#include <exception>
#include <filesystem>

#include <fmt/format.h>

namespace hxq::output {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSource = "PreviewPrint";

// Local date and time as yyyymmddhhmmss.
std::string time_stamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[16] = {};
    std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
    return text;
}

// The program folder the host reported, else the running program's.
fs::path application_folder() {
    const std::string& exe = settings::library_state().host.ExePath;
    return exe.empty() ? platform::application_path() : fs::path(platform::native_path(exe));
}

// The editor setting's program, else the desktop's handler of rich text; Error 53 when
// there is neither.
std::vector<std::string> editor_command(const fs::path& file) {
    const std::string& editor = settings::library_state().UserSettings.EditorPath;
    if (!editor.empty()) {
        const auto program = platform::find_program(platform::native_path(editor));
        if (program.empty()) throw platform::Error(53, kSource, "File not found: " + editor);
        return {program.string(), file.string()};
    }
    const auto handler = platform::default_handler_for_extension(".rtf");
    if (!handler) throw platform::Error(53, kSource, "File not found: no program opens *.rtf files");
    auto argv = platform::expand_exec(*handler, {file.string()});
    argv.front() = platform::handler_program(*handler).string();
    return argv;
}

void report(const platform::Error& e, bool opening) {
    if (opening && e.number() == 53) {
        settings::prompter().message_box(
            "You must specify a Preview application in Options->Print.\nMake sure the application handles *.rtf files.",
            platform::Buttons::Ok, platform::Icon::Exclamation, "");
        return;
    }
    settings::prompter().message_box(fmt::format("Error No: {}\n{}", e.number(), e.description()),
                                     platform::Buttons::Ok, platform::Icon::Critical, "Error in PreviewPrint");
}

}  // namespace

void clsOutput::PreviewPrint(std::uint8_t /*language*/, const PreviewArray& data, bool DirectPrint) {
    bool opening = false;
    try {
        const fs::path folder = platform::document_folder(application_folder());
        last_preview_ = platform::create_unique_file(folder, "view" + time_stamp(), ".rtf");
        write_rtf_document(last_preview_, settings::library_state().UserSettings.language.sName, data);
        if (DirectPrint) {
            // The PDF stays beside the preview, named like it.
            platform::print_file(platform::convert_document(last_preview_, "pdf", folder));
        } else {
            opening = true;
            platform::start_detached(editor_command(last_preview_));
        }
    } catch (const platform::Error& e) {
        report(e, opening);
    } catch (const fs::filesystem_error& e) {
        report(platform::Error(75, kSource, e.what()), false);
    } catch (const std::exception& e) {
        report(platform::Error(5, kSource, e.what()), false);
    }
}

}  // namespace hxq::output
