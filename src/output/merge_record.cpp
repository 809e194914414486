#include "output/merge_record.h"

#include "platform/code_page.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "settings/library_state.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace hxq::output {
namespace {

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? ";" : "") + parts[i];
    return out;
}

std::filesystem::path write_into(const MergeRecord& record, const std::filesystem::path& folder) {
    const auto file = platform::create_temp_file(folder, ".tmp");  // mkstemp: new, mode 0600
    const std::string bytes =
        platform::to_code_page(record.header_line() + "\r\n" + record.value_line() + "\r\n", 1252);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        platform::delete_file(file);
        throw platform::Error(75, "MergeData", "Path/File access error: " + file.string());
    }
    return file;
}

}  // namespace

void MergeRecord::field(std::string_view name, std::string value) {
    names_.emplace_back(name);
    values_.push_back(std::move(value));
}

bool MergeRecord::replace(std::string_view name, std::string value) {
    for (std::size_t i = 0; i < names_.size(); ++i) {
        if (names_[i] != name) continue;
        values_[i] = std::move(value);
        return true;
    }
    return false;
}

void MergeRecord::quantity(std::string_view name, std::string_view unit_name, const std::string& value_and_unit) {
    const std::size_t at = value_and_unit.find(';');
    field(name, value_and_unit.substr(0, at));
    field(unit_name, at == std::string::npos ? std::string() : value_and_unit.substr(at + 1));
}

void MergeRecord::quantity(std::string_view name, std::string_view unit_name, const core::OutVal& value) {
    field(name, value.GVal);
    field(unit_name, value.GUnit);
}

std::string MergeRecord::header_line() const { return joined(names_); }
std::string MergeRecord::value_line() const { return joined(values_); }

std::string merge_designation(std::string_view designation) {
    std::string out;
    for (char c : designation) out += c == '"' ? std::string("\xC2\xA8") : std::string(1, c);  // ¨
    return out;
}

MergeDataFile::MergeDataFile(const MergeRecord& record, const std::filesystem::path& folder) {
    try {
        path_ = write_into(record, folder);
        return;
    } catch (const platform::Error&) {
        // the program's folder is read-only: a private folder instead
    }
    std::string tmpl = (platform::temp_folder() / "hxq-mergeXXXXXX").string();
    if (!::mkdtemp(tmpl.data()))
        throw platform::Error(75, "MergeData", "Path/File access error: " + tmpl + ": " + std::strerror(errno));
    private_folder_ = tmpl;
    try {
        path_ = write_into(record, private_folder_);
    } catch (...) {
        std::error_code ec;
        std::filesystem::remove_all(private_folder_, ec);
        throw;
    }
}

MergeDataFile::~MergeDataFile() {
    if (keep_) return;
    platform::delete_file(path_);
    if (!private_folder_.empty()) {
        std::error_code ec;
        std::filesystem::remove(private_folder_, ec);
    }
}

std::string merge_template(MergeKind kind, std::int16_t PrintType) {
    const auto& user = settings::library_state().UserSettings;
    struct Names {
        const char* result;
        const char* extra;  // nullptr: none
        std::string quote;
    };
    const Names names = [&]() -> Names {
        switch (kind) {
            case MergeKind::SPC: return {"SPC_prev.dot", "SPC_Xtra.dot", "SPC\\" + user.TempDotSPC};
            case MergeKind::SPCDual: return {"SPCDual_prev.dot", "SPCDual_Xtra.dot", "SPC\\SPCDual_quote.dot"};
            case MergeKind::CON: return {"CON_prev.dot", "CON_Xtra.dot", "COND\\" + user.TempDotCON};
            case MergeKind::CONDual: return {"CONDual_prev.dot", "CONDual_Xtra.dot", "COND\\CONDual_quote.dot"};
            case MergeKind::VAP: return {"Vap_prev.dot", "VAP_Xtra.dot", "VAP\\" + user.TempDotVAP};
            case MergeKind::VAPDual: return {"VAPDual_prev.dot", "VAPDual_Xtra.dot", "VAP\\VAPDual_quote.dot"};
            case MergeKind::Cascade: return {"Cascade_prev.dot", "Cascade_Xtra.dot", "CASCADE\\CASCADE_quote.dot"};
            case MergeKind::TwoStage: return {"TS_prev.dot", nullptr, "TwoStage\\TS_quote.dot"};
            case MergeKind::AD: return {"ADPrev.dot", nullptr, "AD\\ADQuote.dot"};
        }
        return {"", nullptr, ""};
    }();
    switch (PrintType) {
        case 0: return names.result;
        case 1: return names.extra ? names.extra : "";
        case 2: return names.quote;
        default: return "";
    }
}

}  // namespace hxq::output
