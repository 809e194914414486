// The printouts' merge: the template found in the template language's folder by name
// (content decides its kind), merged into the place the host asked for or the viewer
// opened on it, the data file gone afterwards unless kept, every failing step ending
// quietly with its reason; and each save operation merging its kind's record into its
// template of the print type.
#include "output/cls_output.h"

#include "batch/ad_records.h"
#include "output_fixture.h"
#include "merge_headers.h"
#include "platform/scratch.h"
#include "settings/library_state.h"
#include "settings/settings_store.h"

#include "../support/libreoffice.h"
#include "../support/stand_in_programs.h"

#include <filesystem>
#include <functional>

namespace hxq::test {
namespace {

namespace fs = std::filesystem;

const char* kTemplate =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
    "\\pard\\plain\\f0\\fs20 Typ: {\\field{\\*\\fldinst MERGEFIELD 'XerName'}{\\fldrslt x}}\\par\r\n"
    "Last: {\\field{\\*\\fldinst MERGEFIELD 'HeatLoad'}{\\fldrslt x}} "
    "{\\field{\\*\\fldinst MERGEFIELD HeatLoad_u}{\\fldrslt x}}\\par\r\n"
    "Extra: {\\field{\\*\\fldinst MERGEFIELD 'Unknown'}{\\fldrslt x}}\\par}";

// A template of one field; the odd names too, as the templates spell them.
std::string one_field_template(const std::string& field) {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
           "\\pard\\plain\\f0\\fs20 Value: {\\field{\\*\\fldinst MERGEFIELD " +
           field + "}{\\fldrslt x}}\\par}";
}

// A program folder, the German templates under the folder the settings name, and a record
// of a designation and a load.
class MergePrint : public OutputTest {
protected:
    void SetUp() override {
        OutputTest::SetUp();
        auto& state = settings::library_state();
        state.host.ExePath = (dir_ / "app").string();
        state.UserSettings.TempLang = "German";
        fs::create_directories(dir_ / "app");
        fs::create_directories(dir_ / "templates/German/COND");
        ASSERT_EQ(settings::SaveSettingHXQ("HXQ", "Settings", "TemplatePath", (dir_ / "templates").string()), "");
        write_file(dir_ / "templates/German/SPC_prev.dot", kTemplate);
        record_.field("'XerName'", output::merge_designation("Q32\"x40H/1P"));
        record_.quantity("'HeatLoad'", "HeatLoad_u", std::string("40.0;kW"));
    }

    ScratchDir dir_;
    ScopedEnv registry_{"HXQ_REGISTRY", (dir_ / "registry.ini").string()};
    MergeRecord record_;
    output::clsOutput output_;
};

TEST_F(MergePrint, RichTextTemplateMergedWhereTheHostWantsItAndDataDeleted) {
    output_.MergeOutput(dir_ / "sheet.rtf");
    output_.MergePrintout(record_, "SPC_prev.dot", false, "");
    EXPECT_EQ(output_.LastMergeProblem(), "");
    EXPECT_EQ(output_.LastMergedDocument(), dir_ / "sheet.rtf");
    EXPECT_EQ(output_.LastMissingFields(), std::vector<std::string>{"'Unknown'"});
    EXPECT_EQ(output_.LastTemplate(), dir_ / "templates/German/SPC_prev.dot");
    EXPECT_EQ(output_.LastMergeData().parent_path(), dir_ / "app");
    EXPECT_FALSE(fs::exists(output_.LastMergeData()));
    std::string why;
    const auto text = libreoffice_text(dir_ / "sheet.rtf", dir_.path(), &why);
    ASSERT_TRUE(text) << why;
    // The designation's quote travels as the diaeresis, as the data file wrote it.
    expect_contains(*text, {"Typ: Q32¨x40H/1P", "Last: 40.0 kW", "Extra: «'Unknown'»"});
}

TEST_F(MergePrint, OpenXmlTemplateUnderASubfolderIsFoundByItsBareNameAndConverted) {
    // The word processor saves the rich-text template as .docx: that is what users keep.
    write_file(dir_ / "conv.rtf", kTemplate);
    std::string why;
    const auto docx = libreoffice_convert(dir_ / "conv.rtf", "docx", dir_.path(), &why);
    ASSERT_TRUE(docx) << why;
    fs::copy_file(*docx, dir_ / "templates/German/COND/CON_quote.docx");
    output_.MergeOutput(dir_ / "quote.pdf");
    output_.MergePrintout(record_, "COND\\CON_quote", false, "");
    EXPECT_EQ(output_.LastMergeProblem(), "");
    EXPECT_EQ(read_file(dir_ / "quote.pdf").rfind("%PDF", 0), 0u);
    EXPECT_FALSE(fs::exists(output_.LastMergeData()));
}

TEST_F(MergePrint, FailingStepsEndQuietlyWithTheirReasonAndStillDeleteTheData) {
    write_file(dir_ / "templates/German/Vap_prev.dot", "plain text, no document");
    struct Case { const char* dot_file; const char* problem_part; };
    const Case cases[] = {
        {"CON_prev.dot", "CON_prev.dot not found"},
        {"Vap_prev.dot", "neither a rich-text nor an Office Open XML"},
        {"", "no template"},
    };
    for (const Case& c : cases) {
        output_.MergePrintout(record_, c.dot_file, false, "");
        EXPECT_NE(output_.LastMergeProblem().find(c.problem_part), std::string::npos) << output_.LastMergeProblem();
        EXPECT_TRUE(output_.LastMergedDocument().empty());
        EXPECT_TRUE(fs::is_empty(dir_ / "app")) << c.dot_file;
    }
}

TEST_F(MergePrint, WithoutAPlaceTheMergedDocumentOpensInTheViewer) {
    // A viewer that notes what it was given; no desktop handler anywhere.
    const fs::path viewer =
        write_script(dir_ / "bin/viewer", "for a in \"$@\"; do echo \"$a\"; done > \"$0.args\"\n");
    ScopedEnv path("PATH", (dir_ / "bin").string());
    ScopedEnv data_home("XDG_DATA_HOME", (dir_ / "none").string());
    ScopedEnv data_dirs("XDG_DATA_DIRS", (dir_ / "none").string());
    ScopedEnv config_home("XDG_CONFIG_HOME", (dir_ / "none").string());
    ScopedEnv config_dirs("XDG_CONFIG_DIRS", (dir_ / "none").string());
    settings::library_state().UserSettings.EditorPath = viewer.string();
    output_.MergePrintout(record_, "SPC_prev.dot", false, "");
    ASSERT_EQ(output_.LastMergeProblem(), "");
    const fs::path merged = output_.LastMergedDocument();
    EXPECT_EQ(merged.extension(), ".rtf");
    EXPECT_EQ(merged.filename().string().rfind("merge", 0), 0u);
    EXPECT_EQ(await_file(viewer.string() + ".args"), merged.string() + "\n");
}

TEST_F(MergePrint, EachSaveOperationMergesItsKindsTemplateOfThePrintType) {
    // Records of every kind whose second alternative has 24 plates.
    core::CONDataType con;
    core::VAPDataType vap;
    core::CascadeDataType cascade;
    core::SPCDataType spc;
    core::TwoStageType two_stage;
    batch::ADDataType air_dryer;
    con.outdata[2].OutputData.NoOfPlates = vap.outdata[2].OutputData.NoOfPlates = 24;
    cascade.outdataVap[2].OutputData.NoOfPlates = spc.outdata[2].OutputData.NoOfPlates = 24;
    two_stage.outdata[2].Stage1.OutputData.NoOfPlates = 11;
    two_stage.outdata[2].Stage2.OutputData.NoOfPlates = 12;
    air_dryer.ADOutData[2].RefNumberOfPlates = 24;
    using Save = std::function<void(std::int16_t print_type)>;
    const settings::OutputUnitsType u = si();
    struct Case {
        const char* result_sheet;
        const char* extra_sheet;  // nullptr: the kind has none
        Save save;
        std::size_t fields;
        const char* field = "'NoOfPlates'";
        const char* value = "24";
    };
    const Case cases[] = {
        {"CON_prev.dot", "CON_Xtra.dot", [&](auto p) { output_.SaveCON(con, 2, u, 1, p, false, false, "", 0); },
         condenser_names(false, false).size()},
        {"CONDual_prev.dot", "CONDual_Xtra.dot",
         [&](auto p) { output_.SaveCONDual(con, 2, u, 1, p, false, false, "", 0); },
         condenser_names(true, false).size(), "'Dia3", "0"},
        {"Vap_prev.dot", "VAP_Xtra.dot", [&](auto p) { output_.SaveVAP(vap, 2, u, 2, p, false, false, "", 0); },
         evaporator_names(false, false).size()},
        {"VAPDual_prev.dot", "VAPDual_Xtra.dot",
         [&](auto p) { output_.SaveVAPDual(vap, 2, u, 2, p, false, false, "", 0); },
         evaporator_names(true, false).size()},
        {"Cascade_prev.dot", "Cascade_Xtra.dot",
         [&](auto p) { output_.SaveCascade(cascade, 2, u, 3, p, false, false, "", 0); },
         cascade_names(false).size()},
        {"SPC_prev.dot", "SPC_Xtra.dot", [&](auto p) { output_.SaveSPC(spc, 2, u, 0, p, false, false, "", 0); },
         single_phase_names(false, false).size(), "Shear1_u'", "Pa"},
        {"SPCDual_prev.dot", "SPCDual_Xtra.dot",
         [&](auto p) { output_.SaveSPCDual(spc, 2, u, 0, p, false, false, "", 0); },
         single_phase_names(true, false).size()},
        {"TS_prev.dot", nullptr, [&](auto p) { output_.SaveTwoStage(two_stage, 2, u, 0, p, false, false, "", 0); },
         two_stage_names(false).size()},
        {"ADPrev.dot", nullptr, [&](auto p) { output_.SaveAD(air_dryer, 2, false, 0, false, p, u); },
         air_dryer_names().size(), "'NoPRef'"},
    };
    output_.KeepMergeData(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result_sheet);
        write_file(dir_ / "templates/German" / c.result_sheet, one_field_template(c.field));
        output_.MergeOutput(dir_ / "sheet.rtf");
        c.save(0);
        ASSERT_EQ(output_.LastMergeProblem(), "");
        EXPECT_TRUE(output_.LastMissingFields().empty());
        const std::string merged = read_file(dir_ / "sheet.rtf");
        EXPECT_NE(merged.find(std::string("Value: {") + c.value + "}"), std::string::npos) << merged;
        const std::string data = read_file(output_.LastMergeData());
        EXPECT_EQ(field_count(data.substr(0, data.find("\r\n"))), c.fields);
        fs::remove(output_.LastMergeData());

        // No extra data sheet template here: the operation names the one it looked for.
        output_.KeepMergeData(false);
        c.save(1);
        EXPECT_NE(output_.LastMergeProblem().find(c.extra_sheet ? c.extra_sheet : "has no template"), std::string::npos)
            << output_.LastMergeProblem();
        EXPECT_FALSE(fs::exists(output_.LastMergeData()));
        output_.KeepMergeData(true);
    }
}

TEST_F(MergePrint, AQuotationNamesTheModelByTheProductDataFileWhenItIsValid) {
    const core::CONDataType con;
    const fs::path sample = HXQ_SAMPLE_DIR;
    fs::copy_file(sample / "selector.db", dir_ / "selector.db");
    ASSERT_EQ(settings::SaveSettingHXQ("HXQSelector", "Info", "DBPath", (dir_ / "selector.db").string()), "");
    auto& state = settings::library_state();
    state.derived.QDFPath = (sample / "tqs.qdf").string();
    const std::string denomination = "Q32 brazed plate heat exchanger (Q32-C30)";
    struct Case { bool quote, valid, use_file, named; };
    output_.KeepMergeData(true);
    for (const Case c : {Case{true, true, true, true}, Case{false, true, true, false}, Case{true, false, true, false},
                         Case{true, true, false, false}}) {
        SCOPED_TRACE(testing::Message() << c.quote << c.valid << c.use_file);
        state.host.ValidPS = c.valid;
        state.derived.UseQDFF = c.use_file;
        output_.SaveCON(con, 2, si(), 1, 2, false, c.quote, "", 0);
        const std::string data = read_file(output_.LastMergeData());
        EXPECT_EQ(data.find(";" + denomination + ";") != std::string::npos, c.named);
        EXPECT_EQ(data.find(";AISI 316L;") != std::string::npos, c.named);
        fs::remove(output_.LastMergeData());
    }
}

}  // namespace
}  // namespace hxq::test
