// PreviewPrint: the sheet as a rich-text file in the document folder, opened in the
// user's editor or converted and printed.
#include "output/cls_output.h"
#include "output/document_paths.h"
#include "output/document_viewer.h"
#include "output/rtf_document.h"

#include "platform/error.h"
#include "platform/office.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "settings/library_state.h"

#include <exception>
#include <filesystem>

#include <fmt/format.h>

namespace hxq::output {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSource = "PreviewPrint";

void report(const platform::Error& e, bool opening, std::string& problem) {
    problem = e.description();
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
    last_preview_problem_.clear();
    try {
        if (!preview_output_.empty()) {
            place_preview(data);
            return;
        }
        const fs::path folder = platform::document_folder(application_folder());
        last_preview_ = platform::create_unique_file(folder, "view" + time_stamp(), ".rtf");
        write_rtf_document(last_preview_, settings::library_state().UserSettings.language.sName, data);
        if (DirectPrint) {
            // The PDF stays beside the preview, named like it.
            platform::print_file(platform::convert_document(last_preview_, "pdf", folder));
        } else {
            opening = true;
            open_document(last_preview_);
        }
    } catch (const platform::Error& e) {
        report(e, opening, last_preview_problem_);
    } catch (const fs::filesystem_error& e) {
        report(platform::Error(75, kSource, e.what()), false, last_preview_problem_);
    } catch (const std::exception& e) {
        report(platform::Error(5, kSource, e.what()), false, last_preview_problem_);
    }
}

void clsOutput::place_preview(const PreviewArray& data) {
    const std::string language = settings::library_state().UserSettings.language.sName;
    if (preview_output_.extension() != ".pdf") {
        write_rtf_document(preview_output_, language, data);
        last_preview_ = preview_output_;
        return;
    }
    // The PDF is converted from a rich-text file of its own name in the document folder.
    const fs::path folder = platform::document_folder(application_folder());
    const fs::path rtf = platform::create_unique_file(folder, preview_output_.stem().string(), ".rtf");
    write_rtf_document(rtf, language, data);
    const fs::path pdf = platform::convert_document(rtf, "pdf", folder);
    platform::delete_file(rtf);
    std::error_code ec;
    fs::rename(pdf, preview_output_, ec);
    if (ec) {
        fs::copy_file(pdf, preview_output_, fs::copy_options::overwrite_existing);
        platform::delete_file(pdf);
    }
    last_preview_ = preview_output_;
}

}  // namespace hxq::output
