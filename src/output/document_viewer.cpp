#include "output/document_viewer.h"

#include "platform/desktop_entry.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "settings/library_state.h"

namespace hxq::output {
namespace {

// The editor setting's program; empty when none is set. Error 53 when it names a program
// that is not there.
std::filesystem::path editor_program() {
    const std::string& editor = settings::library_state().UserSettings.EditorPath;
    if (editor.empty()) return {};
    auto program = platform::find_program(platform::native_path(editor));
    if (program.empty()) throw platform::Error(53, "PreviewPrint", "File not found: " + editor);
    return program;
}

}  // namespace

std::vector<std::string> viewer_command(const std::filesystem::path& document) {
    const std::string extension = document.extension().string();
    const auto editor = [&]() -> std::vector<std::string> {
        const auto program = editor_program();
        if (program.empty()) return {};
        return {program.string(), document.string()};
    };
    if (extension == ".rtf")
        if (auto argv = editor(); !argv.empty()) return argv;
    if (const auto handler = platform::default_handler_for_extension(extension)) {
        auto argv = platform::expand_exec(*handler, {document.string()});
        if (!argv.empty()) {
            argv.front() = platform::handler_program(*handler).string();
            return argv;
        }
    }
    if (auto argv = editor(); !argv.empty()) return argv;
    throw platform::Error(53, "PreviewPrint", "File not found: no program opens *" + extension + " files");
}

void open_document(const std::filesystem::path& document) { platform::start_detached(viewer_command(document)); }

}  // namespace hxq::output
