// Merge data records: the two lines, the designation's quote, the file's bytes, mode and
// lifetime, the template of each printout kind, and the field names every form writes; the
// bundled templates: every template name the save operations ask for is there in every
// language, and every field a template names is one its printout writes.
#include "output/document_paths.h"
#include "output/merge_air_dryer.h"
#include "output/merge_cascade.h"
#include "output/merge_con.h"
#include "output/merge_record.h"
#include "output/merge_spc.h"
#include "output/merge_vap.h"

#include "output_fixture.h"
#include "merge_headers.h"
#include "platform/merge_data.h"
#include "platform/rtf_merge.h"
#include "platform/scratch.h"
#include "settings/library_state.h"
#include "settings/settings_store.h"

#include "../support/run_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <numeric>

#include <sys/stat.h>

namespace hxq::test {
namespace {

using output::MergeKind;

TEST(MergeRecordLines, HoldNamesAndValuesInStep) {
    MergeRecord record;
    record.field("'TQSVersion'", "2.1");
    record.quantity("'Tin1'", "'Tin1_u'", std::string("85.0;°C"));
    record.quantity("FlowRate1", "FlowRate1_u", core::OutVal{"1.5", "kg/s"});
    record.field("'Note'", "");
    EXPECT_EQ(record.header_line(), "'TQSVersion';'Tin1';'Tin1_u';FlowRate1;FlowRate1_u;'Note'");
    EXPECT_EQ(record.value_line(), "2.1;85.0;°C;1.5;kg/s;");
    EXPECT_EQ(output::merge_designation("Q45\"x64H/1P\""), "Q45\xC2\xA8x64H/1P\xC2\xA8");
}

TEST(MergeRecordLines, DataFileIsPrivateInTheCodePageAndGoneAfterwards) {
    ScratchFolder scratch(HXQ_TEST_TMP, "merge-data");
    MergeRecord record;
    record.field("'XerName'", output::merge_designation("Q\"32"));
    record.field("'Fluid1'", "Wasser 20 °C");
    record.field("'MTD_u'", "ΔK 😀");
    record.field("'Area_u'", "m²");
    const auto mode = [](const std::filesystem::path& p) {
        struct stat info {};
        EXPECT_EQ(::stat(p.c_str(), &info), 0) << p;
        return info.st_mode & 0777;
    };
    std::filesystem::path written;
    {
        output::MergeDataFile file(record, scratch.path());
        written = file.path();
        EXPECT_EQ(written.parent_path(), scratch.path());
        // What the code page lacks is written as rich-text escapes and read back whole.
        EXPECT_EQ(slurp_file(written), "'XerName';'Fluid1';'MTD_u';'Area_u'\r\nQ\xA8" "32;Wasser 20 \xB0"
                                       "C;\\u916?K \\u-10179?\\u-8704?;m\xB2\r\n");
        EXPECT_EQ(platform::MergeData::read(written).value("'MTD_u'"), "ΔK 😀");
        EXPECT_EQ(platform::MergeData::read(written).value("'Fluid1'"), "Wasser 20 °C");
        EXPECT_EQ(mode(written), 0600u);
    }
    EXPECT_FALSE(std::filesystem::exists(written));

    // A folder that cannot take the file (here: a file in its place) sends it to a private
    // folder of its own, which goes with it.
    const auto not_a_folder = scratch.write("plain-file", "x");
    std::filesystem::path private_folder;
    {
        output::MergeDataFile file(record, not_a_folder);
        private_folder = file.path().parent_path();
        EXPECT_NE(private_folder, not_a_folder);
        EXPECT_EQ(mode(private_folder), 0700u);
    }
    EXPECT_FALSE(std::filesystem::exists(private_folder));
}

// Every printout form: its kind, its record of the samples' first alternative and the
// names its templates address.
struct Form {
    const char* name;
    MergeKind kind;
    std::function<MergeRecord(bool quote)> build;
    std::function<Names(bool quote)> names;
};

std::vector<Form> forms() {
    const SampleRecords& d = sample_records();
    const settings::OutputUnitsType u = output_units();
    const QuotationTexts t;
    return {
        {"SPC", MergeKind::SPC, [&d, u, t](bool q) { return output::spc_merge_record(d.water, 1, u, q, "", t, false); },
         [](bool q) { return single_phase_names(false, q); }},
        {"SPCDual", MergeKind::SPCDual,
         [&d, u, t](bool q) { return output::spc_merge_record(d.water, 1, u, q, "", t, true); },
         [](bool q) { return single_phase_names(true, q); }},
        {"TwoStage", MergeKind::TwoStage,
         [&d, u, t](bool q) { return output::two_stage_merge_record(d.two_stage, 1, u, q, t); }, two_stage_names},
        {"AD", MergeKind::AD,
         [&d, u, t](bool q) { return output::air_dryer_merge_record(d.air_dryer, 1, false, 0, q, u, t); },
         [](bool) { return air_dryer_names(); }},
        {"CON", MergeKind::CON,
         [&d, u, t](bool q) { return output::con_merge_record(d.condenser, 1, u, q, "Design", t, false); },
         [](bool q) { return condenser_names(false, q); }},
        {"CONDual", MergeKind::CONDual,
         [&d, u, t](bool q) { return output::con_merge_record(d.condenser, 1, u, q, "Design", t, true); },
         [](bool q) { return condenser_names(true, q); }},
        {"VAP", MergeKind::VAP,
         [&d, u, t](bool q) { return output::vap_merge_record(d.evaporator, 1, u, q, "Design", t, false); },
         [](bool q) { return evaporator_names(false, q); }},
        {"VAPDual", MergeKind::VAPDual,
         [&d, u, t](bool q) { return output::vap_merge_record(d.dual, 1, u, q, "Design", t, true); },
         [](bool q) { return evaporator_names(true, q); }},
        {"Cascade", MergeKind::Cascade,
         [&d, u, t](bool q) { return output::cascade_merge_record(d.cascade, 1, u, q, "Design", t); }, cascade_names},
    };
}

class MergeForms : public OutputTest {};

TEST_F(MergeForms, EachKindHasItsTemplatePerPrintType) {
    settings::library_state().UserSettings.TempDotCON = "CON_quote_de";
    struct Case { MergeKind kind; const char* result; const char* extra; const char* quote; };
    const Case cases[] = {
        {MergeKind::SPC, "SPC_prev.dot", "SPC_Xtra.dot", "SPC\\SPC_quote"},
        {MergeKind::SPCDual, "SPCDual_prev.dot", "SPCDual_Xtra.dot", "SPC\\SPCDual_quote.dot"},
        {MergeKind::CON, "CON_prev.dot", "CON_Xtra.dot", "COND\\CON_quote_de"},
        {MergeKind::CONDual, "CONDual_prev.dot", "CONDual_Xtra.dot", "COND\\CONDual_quote.dot"},
        {MergeKind::VAP, "Vap_prev.dot", "VAP_Xtra.dot", "VAP\\VAP_quote"},
        {MergeKind::VAPDual, "VAPDual_prev.dot", "VAPDual_Xtra.dot", "VAP\\VAPDual_quote.dot"},
        {MergeKind::Cascade, "Cascade_prev.dot", "Cascade_Xtra.dot", "CASCADE\\CASCADE_quote.dot"},
        {MergeKind::TwoStage, "TS_prev.dot", "", "TwoStage\\TS_quote.dot"},
        {MergeKind::AD, "ADPrev.dot", "", "AD\\ADQuote.dot"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        EXPECT_EQ(output::merge_template(c.kind, 0), c.result);
        EXPECT_EQ(output::merge_template(c.kind, 1), c.extra);
        EXPECT_EQ(output::merge_template(c.kind, 2), c.quote);
        EXPECT_EQ(output::merge_template(c.kind, 3), "");
    }
}

TEST_F(MergeForms, EveryFormWritesTheFieldNamesItsTemplatesAddressWithOneValueEach) {
    for (const Form& f : forms())
        for (const bool quote : {false, true}) {
            SCOPED_TRACE(std::string(f.name) + (quote ? " with quotation" : ""));
            const MergeRecord record = f.build(quote);
            EXPECT_EQ(record.names(), f.names(quote));
            EXPECT_EQ(record.values().size(), record.names().size());
            EXPECT_EQ(field_count(record.value_line()), field_count(record.header_line()));
        }
}

TEST_F(MergeForms, AnAlternativeOutsideOneToSevenIsABoundsFailure) {
    const SampleRecords& d = sample_records();
    const settings::OutputUnitsType u = si();
    for (const std::int16_t i : {0, 8, -1}) {
        SCOPED_TRACE(i);
        EXPECT_EQ(error_number([&] { output::spc_merge_record(d.water, i, u, false, "", {}, false); }), 9);
        EXPECT_EQ(error_number([&] { output::two_stage_merge_record(d.two_stage, i, u, false, {}); }), 9);
        EXPECT_EQ(error_number([&] { output::air_dryer_merge_record(d.air_dryer, i, false, 0, false, u, {}); }), 9);
        EXPECT_EQ(error_number([&] { output::con_merge_record(d.condenser, i, u, false, "", {}, false); }), 9);
        EXPECT_EQ(error_number([&] { output::vap_merge_record(d.dual, i, u, false, "", {}, true); }), 9);
        EXPECT_EQ(error_number([&] { output::cascade_merge_record(d.cascade, i, u, false, "", {}); }), 9);
    }
}

// The names joined as a data file's header, with no values.
platform::MergeData data_of(const Names& names) {
    const std::string header =
        std::accumulate(std::next(names.begin()), names.end(), names.front(),
                        [](const std::string& a, const std::string& b) { return a + ";" + b; });
    return platform::MergeData(header, "");
}

TEST_F(MergeForms, BundledTemplatesOfEveryKindAndPrintTypeNameOnlyTheFormsFields) {
    // The template folder as the sample installation names it, so that a set-up that
    // points elsewhere fails here too.
    const std::string registry = slurp_file(std::string(HXQ_SAMPLE_DIR) + "/registry.ini");
    const std::size_t key = registry.find("\nTemplatePath=");
    ASSERT_NE(key, std::string::npos);
    const std::size_t from = key + 14;
    const std::string folder = registry.substr(from, registry.find_first_of("\r\n", from) - from);
    ASSERT_EQ(settings::SaveSettingHXQ("HXQ", "Settings", "TemplatePath", folder), "");
    const std::vector<Form> all = forms();
    for (const char* language : {"English", "German", "Swedish"}) {
        settings::library_state().UserSettings.TempLang = language;
        for (const Form& f : all)
            for (const std::int16_t type : {0, 1, 2}) {
                const std::string name = output::merge_template(f.kind, type);
                if (name.empty()) continue;  // the kinds without an extra data sheet
                SCOPED_TRACE(std::string(language) + "/" + name);
                const Names fields = f.names(type == 2);
                const std::filesystem::path file = output::find_template(name);
                ASSERT_FALSE(file.empty());
                const std::string text = slurp_file(file);
                // Word processors take the names as written: each exactly as the data file has it.
                for (std::size_t at = text.find("MERGEFIELD "); at != std::string::npos;
                     at = text.find("MERGEFIELD ", at + 1)) {
                    const std::size_t begin = at + 11;
                    const std::string field = text.substr(begin, text.find_first_of(" }\\", begin) - begin);
                    EXPECT_NE(std::find(fields.begin(), fields.end(), field), fields.end()) << field;
                }
                platform::MergeReport report;
                const std::string merged = platform::merge_rtf(text, data_of(fields), report);
                EXPECT_TRUE(report.missing_fields.empty()) << ::testing::PrintToString(report.missing_fields);
                // Every field was found and replaced: no field is left in the document.
                EXPECT_EQ(merged.find("MERGEFIELD"), std::string::npos);
                EXPECT_NE(merged.find("\\paperw11906\\paperh16838"), std::string::npos);
            }
    }
}

}  // namespace
}  // namespace hxq::test
