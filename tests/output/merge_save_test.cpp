// The save operations end to end: each kind's record merged into its own template of the
// print type, the data file deleted afterwards unless kept.
#include "output/cls_output.h"

#include "batch/ad_records.h"
#include "merge_fixture.h"
#include "merge_headers.h"
#include "platform/scratch.h"
#include "settings/settings_store.h"

#include <filesystem>
#include <functional>

namespace hxq::test {
namespace {

namespace fs = std::filesystem;

// A template of one field; the odd names too, as the templates spell them.
std::string one_field_template(const std::string& field) {
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
           "\\pard\\plain\\f0\\fs20 Value: {\\field{\\*\\fldinst MERGEFIELD " +
           field + "}{\\fldrslt x}}\\par}";
}

class MergeSave : public OutputTest {
protected:
    void SetUp() override {
        OutputTest::SetUp();
        auto& state = settings::library_state();
        state.host.ExePath = (dir_ / "app").string();
        state.UserSettings.TempLang = "English";
        fs::create_directories(dir_ / "app");
        fs::create_directories(dir_ / "templates/English");
        ASSERT_EQ(settings::SaveSettingHXQ("HXQ", "Settings", "TemplatePath", (dir_ / "templates").string()), "");
        con_.outdata[2].OutputData.NoOfPlates = 24;
        vap_.outdata[2].OutputData.NoOfPlates = 24;
        cascade_.outdataVap[2].OutputData.NoOfPlates = 24;
        spc_.outdata[2].OutputData.NoOfPlates = 24;
        two_stage_.outdata[2].Stage1.OutputData.NoOfPlates = 11;
        two_stage_.outdata[2].Stage2.OutputData.NoOfPlates = 12;
        air_dryer_.ADOutData[2].RefNumberOfPlates = 24;
    }

    ScratchDir dir_;
    ScopedEnv registry_{"HXQ_REGISTRY", (dir_ / "registry.ini").string()};
    core::CONDataType con_;
    core::VAPDataType vap_;
    core::CascadeDataType cascade_;
    core::SPCDataType spc_;
    core::TwoStageType two_stage_;
    batch::ADDataType air_dryer_;
    output::clsOutput output_;
};

TEST_F(MergeSave, EachOperationMergesItsKindsTemplateOfThePrintType) {
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
        {"CON_prev.dot", "CON_Xtra.dot",
         [&](std::int16_t p) { output_.SaveCON(con_, 2, u, 1, p, false, false, "", 0); },
         condenser_names(false, false).size()},
        {"CONDual_prev.dot", "CONDual_Xtra.dot",
         [&](std::int16_t p) { output_.SaveCONDual(con_, 2, u, 1, p, false, false, "", 0); },
         condenser_names(true, false).size(), "'Dia3", "0"},
        {"Vap_prev.dot", "VAP_Xtra.dot",
         [&](std::int16_t p) { output_.SaveVAP(vap_, 2, u, 2, p, false, false, "", 0); },
         evaporator_names(false, false).size()},
        {"VAPDual_prev.dot", "VAPDual_Xtra.dot",
         [&](std::int16_t p) { output_.SaveVAPDual(vap_, 2, u, 2, p, false, false, "", 0); },
         evaporator_names(true, false).size()},
        {"Cascade_prev.dot", "Cascade_Xtra.dot",
         [&](std::int16_t p) { output_.SaveCascade(cascade_, 2, u, 3, p, false, false, "", 0); },
         cascade_names(false).size()},
        {"SPC_prev.dot", "SPC_Xtra.dot",
         [&](std::int16_t p) { output_.SaveSPC(spc_, 2, u, 0, p, false, false, "", 0); },
         single_phase_names(false, false).size(), "Shear1_u'", "Pa"},
        {"SPCDual_prev.dot", "SPCDual_Xtra.dot",
         [&](std::int16_t p) { output_.SaveSPCDual(spc_, 2, u, 0, p, false, false, "", 0); },
         single_phase_names(true, false).size()},
        {"TS_prev.dot", nullptr, [&](std::int16_t p) { output_.SaveTwoStage(two_stage_, 2, u, 0, p, false, false, "", 0); },
         two_stage_names(false).size()},
        {"ADPrev.dot", nullptr, [&](std::int16_t p) { output_.SaveAD(air_dryer_, 2, false, 0, false, p, u); },
         air_dryer_names().size(), "'NoPRef'"},
    };
    output_.KeepMergeData(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result_sheet);
        write_file(dir_ / "templates/English" / c.result_sheet, one_field_template(c.field));
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

TEST_F(MergeSave, AQuotationNamesTheModelByTheProductDataFileWhenItIsValid) {
    const fs::path sample = HXQ_SAMPLE_DIR;
    fs::copy_file(sample / "selector.db", dir_ / "selector.db");
    ASSERT_EQ(settings::SaveSettingHXQ("HXQSelector", "Info", "DBPath", (dir_ / "selector.db").string()), "");
    auto& state = settings::library_state();
    state.derived.QDFPath = (sample / "tqs.qdf").string();
    const std::string denomination = "Q32 brazed plate heat exchanger (Q32-C30)";
    struct Case {
        bool quote;
        bool valid;
        bool use_file;
        bool named;
    };
    output_.KeepMergeData(true);
    for (const Case c : {Case{true, true, true, true}, Case{false, true, true, false}, Case{true, false, true, false},
                         Case{true, true, false, false}}) {
        SCOPED_TRACE(testing::Message() << c.quote << c.valid << c.use_file);
        state.host.ValidPS = c.valid;
        state.derived.UseQDFF = c.use_file;
        output_.SaveCON(con_, 2, si(), 1, 2, false, c.quote, "", 0);
        const std::string data = read_file(output_.LastMergeData());
        EXPECT_EQ(data.find(";" + denomination + ";") != std::string::npos, c.named);
        EXPECT_EQ(data.find(";AISI 316L;") != std::string::npos, c.named);
        fs::remove(output_.LastMergeData());
    }
}

}  // namespace
}  // namespace hxq::test
