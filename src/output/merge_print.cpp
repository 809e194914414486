// PreviewPrint_new and the common end of the save operations: the merge data file merged
// into a rich-text or Office Open XML template by our own mail merge, then opened, placed
// where the host asked, or printed.
#include "output/cls_output.h"
#include "output/document_paths.h"
#include "output/denomination.h"
#include "output/document_viewer.h"
#include "output/merge_shared.h"

#include "platform/docx_merge.h"
#include "platform/error.h"
#include "platform/merge_data.h"
#include "platform/office.h"
#include "platform/paths.h"
#include "platform/rtf_merge.h"
#include "settings/library_state.h"

#include <fstream>
#include <iterator>

namespace hxq::output {
namespace {

namespace fs = std::filesystem;

enum class TemplateKind { RichText, OpenXml, Unknown };

std::string read_all(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Templates are told apart by their content, whatever their extension (".dot" names
// either kind).
TemplateKind template_kind(const std::string& head) {
    if (head.rfind("{\\rtf", 0) == 0) return TemplateKind::RichText;
    if (head.rfind("PK\x03\x04", 0) == 0) return TemplateKind::OpenXml;
    return TemplateKind::Unknown;
}

// Moves `from` to `to`, across file systems too.
void move_file(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (!ec) return;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    fs::remove(from, ec);
}

}  // namespace

void clsOutput::PreviewPrint_new(const std::string& MergeFile, const std::string& DotFile, bool DirectPrint,
                                 const std::string& /*Comments*/) {
    last_merged_.clear();
    last_merge_problem_.clear();
    last_missing_fields_.clear();
    last_template_.clear();
    try {
        const fs::path template_file = find_template(DotFile);
        last_template_ = template_file;
        if (template_file.empty()) {
            last_merge_problem_ = "template " + (template_language_folder() / platform::native_path(DotFile)).string() +
                                  " not found";
            return;
        }
        const std::string text = read_all(template_file);
        const TemplateKind kind = template_kind(text);
        if (kind == TemplateKind::Unknown) {
            last_merge_problem_ = "template " + template_file.string() +
                                  " is neither a rich-text nor an Office Open XML document";
            return;
        }
        const fs::path data_file = fs::path(platform::native_path(MergeFile)).is_absolute()
                                       ? fs::path(platform::native_path(MergeFile))
                                       : application_folder() / platform::native_path(MergeFile);
        const platform::MergeData data = platform::MergeData::read(data_file);

        // The merged document in the template's own format, in the document folder.
        const fs::path folder = platform::document_folder(application_folder());
        const char* extension = kind == TemplateKind::RichText ? ".rtf" : ".docx";
        const fs::path merged = platform::create_unique_file(folder, "merge" + time_stamp(), extension);
        platform::MergeReport report;
        try {
            if (kind == TemplateKind::RichText) {
                const std::string document = platform::merge_rtf(text, data, report);
                std::ofstream out(merged, std::ios::binary | std::ios::trunc);
                out.write(document.data(), static_cast<std::streamsize>(document.size()));
                if (!out.flush()) throw platform::Error(75, "PreviewPrint_new", "cannot write " + merged.string());
            } else {
                platform::merge_docx(template_file, data, merged, report);
            }
        } catch (...) {
            platform::delete_file(merged);
            throw;
        }
        last_missing_fields_ = report.missing_fields;
        last_merged_ = merged;

        if (!merge_output_.empty()) {
            fs::path placed = merged;
            if (merge_output_.extension() != merged.extension())
                placed = platform::convert_document(merged, merge_output_.extension().string().substr(1), folder);
            move_file(placed, merge_output_);
            if (placed != merged) platform::delete_file(merged);
            last_merged_ = merge_output_;
            if (DirectPrint) platform::print_file(merge_output_.extension() == ".pdf"
                                                      ? merge_output_
                                                      : platform::convert_document(merge_output_, "pdf", folder));
            return;
        }
        if (DirectPrint) platform::print_file(platform::convert_document(merged, "pdf", folder));
        else open_document(merged);
    } catch (const platform::Error& e) {
        last_merge_problem_ = e.description();
    } catch (const std::exception& e) {
        last_merge_problem_ = e.what();
    }
}

void clsOutput::UseDenomination(MergeRecord& record, bool Quote) {
    const auto& state = settings::library_state();
    if (!Quote || !state.derived.UseQDFF || !state.host.ValidPS) return;
    const ProductDenomination product = product_denomination(state.derived.QDFPath);
    record.replace("'XerName'", merge_designation(product.Text));
    if (!product.ArtNo.empty()) record.replace("'ArtNo'", product.ArtNo);
    // The single-phase and two-phase forms name the plate material one way, the air dryer's
    // another.
    if (!product.PlateMaterial.empty())
        if (!record.replace("'Platemtrl'", product.PlateMaterial)) record.replace("'PlMtrl'", product.PlateMaterial);
}

void clsOutput::print_record(MergeRecord record, MergeKind kind, std::int16_t PrintType, bool DirectPrint,
                             bool Quote) {
    UseDenomination(record, Quote);
    MergePrintout(record, merge_template(kind, PrintType), DirectPrint, merge_comments(quotation_));
}

void clsOutput::MergePrintout(const MergeRecord& record, const std::string& DotFile, bool DirectPrint,
                              const std::string& Comments) {
    last_merge_data_.clear();
    if (DotFile.empty()) {
        last_merged_.clear();
        last_missing_fields_.clear();
        last_template_.clear();
        last_merge_problem_ = "this print type has no template";
        return;
    }
    MergeDataFile data(record, application_folder());
    last_merge_data_ = data.path();
    if (keep_merge_data_) data.keep();
    PreviewPrint_new(data.path().string(), DotFile, DirectPrint, Comments);
}

}  // namespace hxq::output
