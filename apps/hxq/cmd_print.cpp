// hxq print DUTY.toml: rates a duty and merges one alternative into the template of its
// kind and print type (result sheet, extra data sheet or quotation), writing the merged
// document as rich text, Office Open XML or PDF.
#include "chosen_alternative.h"
#include "command_registry.h"
#include "document_output.h"
#include "duty_run.h"
#include "result_common.h"

#include "output/cls_output.h"
#include "output/sheet_values.h"
#include "platform/error.h"
#include "settings/languages.h"
#include "settings/library_state.h"
#include "settings/unit_tables.h"

#include <fmt/core.h>

#include <filesystem>
#include <memory>
#include <string>
#include <variant>

namespace hxq::app {
namespace {

namespace fs = std::filesystem;

struct PrintOptions {
    std::string duty;
    int alternative = 1;
    std::string type = "result";  // "extra", "quote"
    std::string lang;
    std::string units = "si";
    std::string output;      // "": <duty>-<alternative>-<type>.rtf in the current folder
    std::string merge_data;  // "": the data file is deleted after the merge
    std::string ini;
    std::string user_level = "A";
    bool progress = true;
};

std::int16_t print_type(const std::string& type) { return type == "extra" ? 1 : type == "quote" ? 2 : 0; }

// Hands alternative `n` of `data` to the save operation of its kind.
template <class Data>
void save(output::clsOutput& out, const Data& data, std::int16_t n, const DutyRun& run,
          const settings::OutputUnitsType& units, std::int16_t type) {
    const bool quote = type == 2;
    const std::int16_t offset = run.offset;
    if constexpr (std::is_same_v<Data, batch::ADDataType>) {
        out.SaveAD(data, n, !run.air_dryer_design, offset, quote, type, units);
    } else if constexpr (std::is_same_v<Data, core::TwoStageType>) {
        out.SaveTwoStage(data, n, units, 0, type, false, quote, "", offset);
    } else if constexpr (std::is_same_v<Data, core::CascadeDataType>) {
        out.SaveCascade(data, n, units, 3, type, false, quote, method_text(data, offset), offset);
    } else {
        const bool dual = output::is_dual(data.GivenValues, data.outdata[n].Dual);
        const std::string cm = method_text(data, offset);
        if constexpr (std::is_same_v<Data, core::SPCDataType>) {
            if (dual) out.SaveSPCDual(data, n, units, 0, type, false, quote, cm, offset);
            else out.SaveSPC(data, n, units, 0, type, false, quote, cm, offset);
        } else if constexpr (std::is_same_v<Data, core::CONDataType>) {
            if (dual) out.SaveCONDual(data, n, units, 1, type, false, quote, cm, offset);
            else out.SaveCON(data, n, units, 1, type, false, quote, cm, offset);
        } else {
            if (dual) out.SaveVAPDual(data, n, units, 2, type, false, quote, cm, offset);
            else out.SaveVAP(data, n, units, 2, type, false, quote, cm, offset);
        }
    }
}

// Moves the kept data file where the user asked for it.
bool place_merge_data(const fs::path& kept, const fs::path& wanted) {
    std::error_code ec;
    fs::rename(kept, wanted, ec);
    if (ec) {
        fs::copy_file(kept, wanted, fs::copy_options::overwrite_existing, ec);
        fs::remove(kept);
    }
    if (ec) fmt::print(stderr, "hxq print: --merge-data {}: {}\n", wanted.string(), ec.message());
    return !ec;
}

int run_print(const PrintOptions& o) {
    DutyRun run = RunDuty({"print", o.duty, o.ini, o.user_level, o.lang, o.progress});
    if (run.exit_code != 0) return run.exit_code;
    const fs::path file = document_path(o.output, o.duty, o.alternative, "-" + o.type);
    if (!supported_document(file, {".rtf", ".docx", ".pdf"})) {
        fmt::print(stderr, "hxq print: -o {}: write .rtf, .docx or .pdf\n", file.string());
        return 2;
    }
    // The templates of the document's language, as the language was chosen for the texts.
    auto& user = settings::library_state().UserSettings;
    const auto language = settings::language_of_offset(run.offset);
    if (language && (!o.lang.empty() || user.TempLang.empty())) user.TempLang = std::string(language->name);
    settings::OutputUnitsType units;
    settings::FillOutputUnits(units, o.units == "us" ? settings::kUSOutputUnits : settings::kSIOutputUnits);
    const std::int16_t type = print_type(o.type);

    return std::visit(
        [&](const auto& data) -> int {
            const std::size_t count = listed(data);
            if (o.alternative < 1 || static_cast<std::size_t>(o.alternative) > count)
                return RefuseDetail(o.alternative, count);
            using Data = std::decay_t<decltype(data)>;
            if (type == 1 && (std::is_same_v<Data, core::TwoStageType> || std::is_same_v<Data, batch::ADDataType>)) {
                fmt::print(stderr, "hxq print: this kind of calculation has no extra data sheet\n");
                return 2;
            }
            output::clsOutput out;
            out.MergeOutput(file);
            out.KeepMergeData(!o.merge_data.empty());
            try {
                save(out, data, static_cast<std::int16_t>(o.alternative), run, units, type);
            } catch (const platform::Error& e) {
                fmt::print(stderr, "hxq print: {}\n", e.description());
                return 1;
            }
            const bool data_placed = o.merge_data.empty() || out.LastMergeData().empty() ||
                                     place_merge_data(out.LastMergeData(), o.merge_data);
            if (!out.LastMergeProblem().empty()) {
                fmt::print(stderr, "hxq print: no document written: {}\n", out.LastMergeProblem());
                return 1;
            }
            for (const std::string& field : out.LastMissingFields())
                fmt::print(stderr,
                           "hxq print: warning: template {} names the field {}, which this {} has no value for\n",
                           out.LastTemplate().string(), field, o.type == "quote" ? "quotation" : "sheet");
            fmt::print("Alternative {} of {}: {}\nwrote {}\n", o.alternative, count, designation(data, o.alternative),
                       file.string());
            if (!o.merge_data.empty() && data_placed) fmt::print("merge data kept in {}\n", o.merge_data);
            return data_placed ? 0 : 1;
        },
        run.record);
}

const CommandRegistration registration([](CLI::App& app, int& exit_code) {
    auto* cmd = app.add_subcommand("print", "Merge one alternative of a duty into its template (RTF, DOCX or PDF)");
    auto o = std::make_shared<PrintOptions>();
    cmd->add_option("DUTY", o->duty, "Duty file (TOML, see docs/duty-files.md)")->required();
    cmd->add_option("--alt", o->alternative, "Alternative to print")->capture_default_str();
    cmd->add_option("--type", o->type, "Result sheet, extra data sheet or quotation")
        ->check(CLI::IsMember({"result", "extra", "quote"}))
        ->capture_default_str();
    cmd->add_option("--lang", o->lang,
                    "Language of the document and its template folder, by code or name: " +
                        settings::language_choices() + " (default: the settings' language)");
    cmd->add_option("--units", o->units, "Output units of the document")
        ->check(CLI::IsMember({"si", "us"}))
        ->capture_default_str();
    cmd->add_option("-o,--output", o->output,
                    "Document to write, FILE.rtf, FILE.docx or FILE.pdf (default: DUTY-ALT-TYPE.rtf in the current "
                    "folder)");
    cmd->add_option("--merge-data", o->merge_data, "Keep the merge data file as FILE for inspection");
    cmd->add_option("--ini", o->ini, "User settings file (default: the build's sample/hxq.ini)");
    cmd->add_option("--user-level", o->user_level, "User level letter that the model tree is filtered by")
        ->capture_default_str();
    cmd->add_flag("!--no-progress", o->progress, "Do not draw the progress bar on a terminal");
    cmd->callback([o, &exit_code] { exit_code = run_print(*o); });
});

}  // namespace
}  // namespace hxq::app
