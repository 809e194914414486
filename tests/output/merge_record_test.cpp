// Merge data records: the two lines, the designation's quote, the file's bytes, mode and
// lifetime, and the template of each printout kind.
#include "output/merge_record.h"

#include "platform/merge_data.h"
#include "settings/library_state.h"

#include "../support/run_process.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace hxq::output {
namespace {

TEST(MergeRecord, LinesHoldNamesAndValuesInStep) {
    MergeRecord record;
    record.field("'TQSVersion'", "2.1");
    record.quantity("'Tin1'", "'Tin1_u'", std::string("85.0;°C"));
    record.quantity("FlowRate1", "FlowRate1_u", core::OutVal{"1.5", "kg/s"});
    record.field("'Note'", "");
    EXPECT_EQ(record.header_line(), "'TQSVersion';'Tin1';'Tin1_u';FlowRate1;FlowRate1_u;'Note'");
    EXPECT_EQ(record.value_line(), "2.1;85.0;°C;1.5;kg/s;");
    EXPECT_EQ(merge_designation("Q45\"x64H/1P\""), "Q45\xC2\xA8x64H/1P\xC2\xA8");
}

TEST(MergeRecord, DataFileIsPrivateInTheCodePageAndGoneAfterwards) {
    test::ScratchFolder scratch(HXQ_TEST_TMP, "merge-data");
    MergeRecord record;
    record.field("'XerName'", merge_designation("Q\"32"));
    record.field("'Fluid1'", "Wasser 20 °C");
    record.field("'MTD_u'", "ΔK 😀");
    std::filesystem::path written;
    {
        MergeDataFile file(record, scratch.path());
        written = file.path();
        EXPECT_EQ(written.parent_path(), scratch.path());
        // What the code page lacks is written as rich-text escapes and read back whole.
        EXPECT_EQ(test::slurp_file(written), "'XerName';'Fluid1';'MTD_u'\r\nQ\xA8" "32;Wasser 20 \xB0"
                                             "C;\\u916?K \\u-10179?\\u-8704?\r\n");
        EXPECT_EQ(platform::MergeData::read(written).value("'MTD_u'"), "ΔK 😀");
        EXPECT_EQ(platform::MergeData::read(written).value("'Fluid1'"), "Wasser 20 °C");
        struct stat info {};
        ASSERT_EQ(::stat(written.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
    }
    EXPECT_FALSE(std::filesystem::exists(written));

    // A folder that cannot take the file (here: a file in its place) sends it to a private
    // folder of its own, which goes with it.
    const auto not_a_folder = scratch.write("plain-file", "x");
    std::filesystem::path private_folder;
    {
        MergeDataFile file(record, not_a_folder);
        private_folder = file.path().parent_path();
        EXPECT_NE(private_folder, not_a_folder);
        struct stat info {};
        ASSERT_EQ(::stat(private_folder.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
    EXPECT_FALSE(std::filesystem::exists(private_folder));
}

TEST(MergeRecord, EachKindHasItsTemplatePerPrintType) {
    settings::reset_library_state();
    settings::library_state().UserSettings.TempDotCON = "CON_quote_de";
    struct Case {
        MergeKind kind;
        const char* result;
        const char* extra;
        const char* quote;
    };
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
        EXPECT_EQ(merge_template(c.kind, 0), c.result);
        EXPECT_EQ(merge_template(c.kind, 1), c.extra);
        EXPECT_EQ(merge_template(c.kind, 2), c.quote);
        EXPECT_EQ(merge_template(c.kind, 3), "");
    }
    settings::reset_library_state();
}

}  // namespace
}  // namespace hxq::output
