// hxq preview DUTY.toml: rates a duty and writes the result sheet or the extra data sheet
// of one alternative as a rich-text document (or a PDF through LibreOffice).
#include "chosen_alternative.h"
#include "command_registry.h"
#include "document_output.h"
#include "duty_run.h"
#include "result_common.h"

#include "output/cls_output.h"
#include "output/sheet_values.h"
#include "platform/error.h"
#include "settings/languages.h"
#include "settings/texts.h"
#include "settings/unit_tables.h"

#include <fmt/core.h>

#include <filesystem>
#include <memory>
#include <string>
#include <variant>

namespace hxq::app {
namespace {

struct PreviewOptions {
    std::string duty;
    int alternative = 1;
    std::string sheet = "result";  // or "extra"
    std::string lang;
    std::string units = "si";
    std::string output;  // "": <duty>-<alternative>[-extra].rtf in the current folder
    bool open = false;
    std::string ini;
    std::string user_level = "A";
    bool progress = true;
};

// Lays the chosen sheet out through clsOutput; false when the kind has no such sheet.
template <class Data>
bool lay_out(output::clsOutput& out, const Data& data, const PreviewOptions& o, const DutyRun& run,
             const settings::OutputUnitsType& units) {
    const auto n = static_cast<std::int16_t>(o.alternative);
    const std::int16_t offset = run.offset;
    const bool extra = o.sheet == "extra";
    if constexpr (std::is_same_v<Data, batch::ADDataType>) {
        if (extra) return false;
        out.ADCreatePreview(data, n, run.air_dryer_design ? 0 : 1, offset, false, std::nullopt);
    } else if constexpr (std::is_same_v<Data, core::TwoStageType>) {
        if (extra) return false;
        out.CreatePreview_2S(data, n, units, "", 0, false, std::nullopt, false, method_text(data, offset), offset);
    } else if constexpr (std::is_same_v<Data, core::CascadeDataType>) {
        if (extra) out.Create_Xtra_Cascade(data, {}, n, offset);
        else out.CreatePreview_Cascade(data, n, false, std::nullopt, false, method_text(data, offset), offset);
    } else {
        constexpr std::int16_t calc_t = std::is_same_v<Data, core::SPCDataType>   ? 0
                                        : std::is_same_v<Data, core::CONDataType> ? 1
                                                                                  : 2;
        const output::PreviewRecord record = &data;
        const bool dual = output::is_dual(data.GivenValues, data.outdata[n].Dual);
        const std::string cm = method_text(data, offset);
        if (extra) out.Create_Xtra(record, {}, n, calc_t, cm, 0, offset, nullptr, dual);
        else if (dual) out.CreatePreview_Dual(record, n, units, "", calc_t, false, std::nullopt, false, cm, offset);
        else out.CreatePreview_new(record, n, units, "", calc_t, false, std::nullopt, false, cm, offset);
    }
    return true;
}

int run_preview(const PreviewOptions& o) {
    DutyRun run = RunDuty({"preview", o.duty, o.ini, o.user_level, o.lang, o.progress});
    if (run.exit_code != 0) return run.exit_code;
    const std::filesystem::path file = document_path(o.output, o.duty, o.alternative, o.sheet == "extra" ? "-extra" : "");
    if (!supported_document(file, {".rtf", ".pdf"})) {
        fmt::print(stderr, "hxq preview: -o {}: write .rtf or .pdf\n", file.string());
        return 2;
    }
    settings::OutputUnitsType units;
    settings::FillOutputUnits(units, o.units == "us" ? settings::kUSOutputUnits : settings::kSIOutputUnits);
    return std::visit(
        [&](const auto& data) -> int {
            const std::size_t count = listed(data);
            if (o.alternative < 1 || static_cast<std::size_t>(o.alternative) > count)
                return RefuseDetail(o.alternative, count);
            output::clsOutput out;
            out.PreviewOutput(file);
            if (!lay_out(out, data, o, run, units)) {
                fmt::print(stderr, "hxq preview: this kind of calculation has no extra data sheet\n");
                return 2;
            }
            if (out.LastPreviewFile() != file || !std::filesystem::exists(file)) {
                fmt::print(stderr, "hxq preview: the sheet was not written{}\n",
                           out.LastPreviewProblem().empty() ? "" : ": " + out.LastPreviewProblem());
                return 1;
            }
            fmt::print("Alternative {} of {}: {}\nwrote {}\n", o.alternative, count, designation(data, o.alternative),
                       file.string());
            return o.open ? open_written(file, "preview") : 0;
        },
        run.record);
}

const CommandRegistration registration([](CLI::App& app, int& exit_code) {
    auto* cmd = app.add_subcommand("preview", "Write the result sheet of one alternative of a duty (RTF or PDF)");
    auto o = std::make_shared<PreviewOptions>();
    cmd->add_option("DUTY", o->duty, "Duty file (TOML, see docs/duty-files.md)")->required();
    cmd->add_option("--alt", o->alternative, "Alternative to lay out")->capture_default_str();
    cmd->add_option("--sheet", o->sheet, "Result sheet or extra data sheet")
        ->check(CLI::IsMember({"result", "extra"}))
        ->capture_default_str();
    cmd->add_option("--lang", o->lang,
                    "Language of the sheet, by code or name: " + settings::language_choices() +
                        " (default: the settings' language)");
    cmd->add_option("--units", o->units, "Output units of the sheet")
        ->check(CLI::IsMember({"si", "us"}))
        ->capture_default_str();
    cmd->add_option("-o,--output", o->output,
                    "Document to write, FILE.rtf or FILE.pdf (default: DUTY-ALT.rtf in the current folder)");
    cmd->add_flag("--open", o->open, "Open the document in the editor program afterwards");
    cmd->add_option("--ini", o->ini, "User settings file (default: the build's sample/hxq.ini)");
    cmd->add_option("--user-level", o->user_level, "User level letter that the model tree is filtered by")
        ->capture_default_str();
    cmd->add_flag("!--no-progress", o->progress, "Do not draw the progress bar on a terminal");
    cmd->callback([o, &exit_code] { exit_code = run_preview(*o); });
});

}  // namespace
}  // namespace hxq::app
