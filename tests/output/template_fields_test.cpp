// The bundled templates: every template name the save operations ask for is there in
// every language, and every field a template names is one its printout writes.
#include "output/document_paths.h"
#include "output/merge_record.h"

#include "merge_headers.h"
#include "platform/merge_data.h"
#include "platform/rtf_merge.h"
#include "settings/library_state.h"
#include "settings/settings_store.h"

#include "../support/run_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace hxq::test {
namespace {

using output::MergeKind;

// The names joined as a data file's header, with no values.
platform::MergeData data_of(const Names& names) {
    const std::string header =
        std::accumulate(std::next(names.begin()), names.end(), names.front(),
                        [](const std::string& a, const std::string& b) { return a + ";" + b; });
    return platform::MergeData(header, "");
}

TEST(BundledTemplates, EveryKindAndPrintTypeHasItsTemplateNamingOnlyItsFields) {
    ScratchFolder scratch(HXQ_TEST_TMP, "bundled-templates");
    settings::reset_library_state();
    // The template folder as the sample installation names it, so that a set-up that
    // points elsewhere fails here too.
    const std::string registry = slurp_file(std::string(HXQ_SAMPLE_DIR) + "/registry.ini");
    const std::size_t key = registry.find("\nTemplatePath=");
    ASSERT_NE(key, std::string::npos);
    const std::size_t from = key + 14;
    const std::string folder = registry.substr(from, registry.find_first_of("\r\n", from) - from);
    ASSERT_EQ(settings::SaveSettingHXQ("HXQ", "Settings", "TemplatePath", folder), "");
    struct Case {
        MergeKind kind;
        std::int16_t print_type;
        Names fields;
    };
    std::vector<Case> cases;
    for (const bool quote : {false, true}) {
        const std::vector<std::int16_t> types = quote ? std::vector<std::int16_t>{2} : std::vector<std::int16_t>{0, 1};
        for (const std::int16_t type : types) {
            cases.push_back({MergeKind::SPC, type, single_phase_names(false, quote)});
            cases.push_back({MergeKind::SPCDual, type, single_phase_names(true, quote)});
            cases.push_back({MergeKind::CON, type, condenser_names(false, quote)});
            cases.push_back({MergeKind::CONDual, type, condenser_names(true, quote)});
            cases.push_back({MergeKind::VAP, type, evaporator_names(false, quote)});
            cases.push_back({MergeKind::VAPDual, type, evaporator_names(true, quote)});
            cases.push_back({MergeKind::Cascade, type, cascade_names(quote)});
        }
        cases.push_back({MergeKind::TwoStage, static_cast<std::int16_t>(quote ? 2 : 0), two_stage_names(quote)});
        cases.push_back({MergeKind::AD, static_cast<std::int16_t>(quote ? 2 : 0), air_dryer_names()});
    }
    ASSERT_EQ(cases.size(), 25u);

    for (const char* language : {"English", "German", "Swedish"}) {
        settings::library_state().UserSettings.TempLang = language;
        for (const Case& c : cases) {
            const std::string name = output::merge_template(c.kind, c.print_type);
            SCOPED_TRACE(std::string(language) + "/" + name);
            const std::filesystem::path file = output::find_template(name);
            ASSERT_FALSE(file.empty());
            const std::string text = slurp_file(file);
            // Word processors take the names as written: each exactly as the data file has it.
            for (std::size_t at = text.find("MERGEFIELD "); at != std::string::npos;
                 at = text.find("MERGEFIELD ", at + 1)) {
                const std::size_t begin = at + 11;
                const std::string field = text.substr(begin, text.find_first_of(" }\\", begin) - begin);
                EXPECT_NE(std::find(c.fields.begin(), c.fields.end(), field), c.fields.end()) << field;
            }
            platform::MergeReport report;
            const std::string merged = platform::merge_rtf(text, data_of(c.fields), report);
            EXPECT_TRUE(report.missing_fields.empty()) << ::testing::PrintToString(report.missing_fields);
            // Every field was found and replaced: no field is left in the document.
            EXPECT_EQ(merged.find("MERGEFIELD"), std::string::npos);
            EXPECT_NE(merged.find("\\paperw11906\\paperh16838"), std::string::npos);
        }
    }
    settings::reset_library_state();
}

}  // namespace
}  // namespace hxq::test
