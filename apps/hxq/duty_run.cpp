#include "duty_run.h"

#include "installation.h"
#include "result_air_dryer.h"
#include "result_cascade.h"

#include "batch/ad_opt.h"
#include "core/calculate.h"
#include "duty/air_dryer_duty.h"
#include "duty/cascade_duty.h"
#include "duty/single_phase_duty.h"
#include "duty/two_phase_duty.h"
#include "duty/two_stage_duty.h"
#include "platform/db.h"
#include "platform/error.h"
#include "platform/prompter.h"
#include "settings/engine_error_local_text.h"
#include "settings/engine_error_text_setting.h"
#include "settings/languages.h"
#include "settings/library_state.h"

#include <fmt/core.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <set>

#include <unistd.h>

namespace hxq::app {
namespace {

// A bar on stderr that follows CalcPercent; only drawn on a terminal.
class ProgressBar {
public:
    explicit ProgressBar(bool enabled) : enabled_(enabled) {}
    ~ProgressBar() { finish(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void show(int percent) {
        if (!enabled_ || percent == last_) return;
        last_ = percent;
        constexpr int kWidth = 40;
        const int done = percent * kWidth / 100;
        fmt::print(stderr, "\r[{}{}] {:3d}%", std::string(static_cast<std::size_t>(done), '#'),
                   std::string(static_cast<std::size_t>(kWidth - done), ' '), percent);
        std::fflush(stderr);
        drawn_ = true;
    }
    void finish() {
        if (drawn_) fmt::print(stderr, "\r{}\r", std::string(47, ' '));
        drawn_ = false;
    }

private:
    bool enabled_;
    bool drawn_ = false;
    int last_ = -1;
};

bool is_engine_error(std::int32_t number) {
    const std::int64_t code = static_cast<std::int64_t>(number) - platform::kObjectError;
    return code >= 1 && code <= 46;
}

using duty::DutyFileError;

// The text offset of `lang`, or of the settings' language (English when that is no
// language of the table); nothing, with the message on stderr, for an unknown `lang`.
std::optional<std::int16_t> chosen_offset(const std::string& command, const std::string& lang) {
    if (!lang.empty()) {
        const auto language = settings::FindLanguage(lang);
        if (!language)
            fmt::print(stderr, "hxq {}: unknown language \"{}\"; the languages are {}\n", command, lang,
                       settings::language_choices());
        return language ? std::optional<std::int16_t>(language->offset) : std::nullopt;
    }
    const auto language = settings::language_of_offset(settings::library_state().UserSettings.language.iOffset);
    return language ? language->offset : std::int16_t{0};
}

// An air dryer run shows its errors through the prompter and ends with what it found:
// they are collected here and reported on stderr.
void run_air_dryer(const duty::DutyDocument& duty, const duty::ResolvedTarget& target, DutyRun& run,
                   ProgressBar& bar) {
    batch::ADDataType data = duty::BuildADData(duty, target);
    auto prompter = std::make_shared<platform::ScriptedPrompter>();
    settings::set_prompter(prompter);
    batch::clsADOpt opt;
    opt.CalcPercent.subscribe([&bar](std::int16_t& percent) { bar.show(percent); });
    opt.AD_Main(data);
    bar.finish();
    std::set<std::string> said;
    for (const auto& shown : prompter->shown()) {
        std::string text = shown.text;
        for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n")) text.replace(at, 2, ": ");
        if (said.insert(text).second) fmt::print(stderr, "hxq: {}\n", text);
    }
    if (ListedAlternatives(data) == 0) {
        fmt::print(stderr, "hxq: {}\n", EngineErrorMessage(platform::kObjectError + core::kNoSolutionCode, run.offset));
        run.exit_code = 1;
    }
    run.air_dryer_design = duty.kind == duty::DutyKind::AirDryerDesign;
    run.record = std::move(data);
}

// A cascade run keeps its errors (an engine's, or no solution) instead of raising them:
// with no pack found the kept one is reported.
void run_cascade(const duty::DutyDocument& duty, const duty::ResolvedTarget& target, const std::string& database,
                 core::clsCalculate& calc, DutyRun& run, ProgressBar& bar) {
    core::CascadeDataType data = duty::BuildCascadeData(duty, target, database);
    calc.CascadeMainCalcLoop(data);
    bar.finish();
    if (ListedAlternatives(data) == 0) {
        const auto& kept = calc.CascadeError();
        const std::int32_t number = kept ? kept->number() : platform::kObjectError + core::kNoSolutionCode;
        if (!kept || is_engine_error(number)) fmt::print(stderr, "hxq: {}\n", EngineErrorMessage(number, run.offset));
        else fmt::print(stderr, "hxq: {} (error {}, {})\n", kept->description(), kept->number(), kept->source());
        run.exit_code = 1;
    }
    run.record = std::move(data);
}

template <class Data>
void run_loop(Data data, void (core::clsCalculate::*loop)(Data&), core::clsCalculate& calc, DutyRun& run,
              ProgressBar& bar) {
    (calc.*loop)(data);
    bar.finish();
    run.record = std::move(data);
}

}  // namespace

std::string EngineErrorMessage(std::int32_t number, std::int16_t offset) {
    if (offset == 0) return settings::EngineErrorText(number);
    return settings::LocalEngineErrorText(number, settings::library_state().UserSettings.StartUpCalcType, offset);
}

DutyRun RunDuty(const DutyRunRequest& request) {
    DutyRun run;
    duty::DutyDocument duty;
    try {
        duty = duty::ParseDutyFile(request.duty);
    } catch (const DutyFileError& e) {
        fmt::print(stderr, "hxq: {}\n", e.what());
        run.exit_code = 2;
        return run;
    }
    try {
        const Installation inst = PrepareInstallation(request.ini, request.user_level);
        const auto offset = chosen_offset(request.command, request.lang);
        if (!offset) {
            run.exit_code = 2;
            return run;
        }
        run.offset = *offset;
        settings::library_state().host.TQSAppVersion = HXQ_VERSION_TEXT;  // printed on the documents
        if (settings::library_state().UserSettings.StockDB.empty()) {
            fmt::print(stderr, "hxq: no stock database: set DBStock in the settings file ({})\n",
                       inst.ini.empty() ? std::string("none found; give --ini") : inst.ini);
            run.exit_code = 1;
            return run;
        }
        const std::string main_db = settings::library_state().Settings.HXQDB;
        const std::string database = duty.database.empty() ? main_db : duty.database;
        if (database.empty()) {
            fmt::print(stderr,
                       "hxq: no product database: set HXQnew in the registry store (HXQ_REGISTRY) or give database "
                       "in the duty file\n");
            run.exit_code = 1;
            return run;
        }
        // The filter reads the article tables that only the main product database has;
        // the calculation would fail on them with no word of why.
        if (duty.filter.Active && database != main_db)
            throw DutyFileError(duty.path, duty.filter_place.line, duty.filter_place.key,
                                fmt::format("a filter needs the main product database ({}); {} is another one",
                                            main_db.empty() ? std::string("HXQnew, not set") : main_db, database));
        duty::ResolvedTarget target;
        {
            platform::Database product = platform::OpenDatabase(database, true);
            target = duty::ResolveTarget(duty, product, database, request.user_level);
        }
        ProgressBar bar(request.progress && ::isatty(STDERR_FILENO) != 0);
        core::clsCalculate calc;
        calc.CalcPercent.subscribe([&bar](std::int16_t& percent) { bar.show(percent); });
        switch (duty.kind) {
            case duty::DutyKind::SinglePhase:
                run_loop(duty::BuildSPCData(duty, target, database), &core::clsCalculate::SPCMainCalcLoop, calc, run,
                         bar);
                break;
            case duty::DutyKind::Condenser:
                run_loop(duty::BuildCONData(duty, target, database), &core::clsCalculate::CONMainCalcLoop, calc, run,
                         bar);
                break;
            case duty::DutyKind::Evaporator:
                run_loop(duty::BuildVAPData(duty, target, database), &core::clsCalculate::VAPMainCalcLoop, calc, run,
                         bar);
                break;
            case duty::DutyKind::TwoStage:
                run_loop(duty::BuildTwoStageData(duty, target, database), &core::clsCalculate::TwoStageMainCalcLoop,
                         calc, run, bar);
                break;
            case duty::DutyKind::Cascade: run_cascade(duty, target, database, calc, run, bar); break;
            case duty::DutyKind::AirDryerDesign:
            case duty::DutyKind::AirDryerRating: run_air_dryer(duty, target, run, bar); break;
        }
        return run;
    } catch (const DutyFileError& e) {
        fmt::print(stderr, "hxq: {}\n", e.what());
        run.exit_code = 2;
    } catch (const platform::Error& e) {
        if (is_engine_error(e.number())) fmt::print(stderr, "hxq: {}\n", EngineErrorMessage(e.number(), run.offset));
        else fmt::print(stderr, "hxq: {} (error {}, {})\n", e.description(), e.number(), e.source());
        run.exit_code = 1;
    }
    return run;
}

}  // namespace hxq::app
