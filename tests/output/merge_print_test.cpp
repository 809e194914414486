// The printouts' merge: the template found in the template language's folder by name
// (content decides its kind), merged into the place the host asked for or the viewer
// opened on it, the data file gone afterwards unless kept, and every failing step ending
// quietly with its reason.
#include "output/cls_output.h"

#include "platform/scratch.h"
#include "settings/library_state.h"
#include "settings/settings_store.h"

#include "../support/libreoffice.h"
#include "../support/stand_in_programs.h"

#include <gtest/gtest.h>

namespace hxq::output {
namespace {

namespace fs = std::filesystem;

const char* kTemplate =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
    "\\pard\\plain\\f0\\fs20 Typ: {\\field{\\*\\fldinst MERGEFIELD 'XerName'}{\\fldrslt x}}\\par\r\n"
    "Last: {\\field{\\*\\fldinst MERGEFIELD 'HeatLoad'}{\\fldrslt x}} "
    "{\\field{\\*\\fldinst MERGEFIELD HeatLoad_u}{\\fldrslt x}}\\par\r\n"
    "Extra: {\\field{\\*\\fldinst MERGEFIELD 'Unknown'}{\\fldrslt x}}\\par}";

class MergePrint : public ::testing::Test {
protected:
    void SetUp() override {
        settings::reset_library_state();
        auto& state = settings::library_state();
        state.host.ExePath = (dir_ / "app").string();
        state.UserSettings.TempLang = "German";
        fs::create_directories(dir_ / "app");
        fs::create_directories(dir_ / "templates/German/COND");
        ASSERT_EQ(settings::SaveSettingHXQ("HXQ", "Settings", "TemplatePath", (dir_ / "templates").string()), "");
        test::write_file(dir_ / "templates/German/SPC_prev.dot", kTemplate);
        record_.field("'XerName'", merge_designation("Q32\"x40H/1P"));
        record_.quantity("'HeatLoad'", "HeatLoad_u", std::string("40.0;kW"));
    }
    void TearDown() override { settings::reset_library_state(); }

    std::vector<fs::path> files_in(const fs::path& folder) const {
        std::vector<fs::path> out;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(folder, ec)) out.push_back(e.path());
        return out;
    }

    test::ScratchDir dir_;
    test::ScopedEnv registry_{"HXQ_REGISTRY", (dir_ / "registry.ini").string()};
    MergeRecord record_;
    clsOutput output_;
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
    const auto text = test::libreoffice_text(dir_ / "sheet.rtf", dir_.path(), &why);
    ASSERT_TRUE(text) << why;
    // The designation's quote travels as the diaeresis, as the data file wrote it.
    EXPECT_NE(text->find("Typ: Q32¨x40H/1P"), std::string::npos) << *text;
    EXPECT_NE(text->find("Last: 40.0 kW"), std::string::npos) << *text;
    EXPECT_NE(text->find("Extra: «'Unknown'»"), std::string::npos) << *text;
}

TEST_F(MergePrint, OpenXmlTemplateUnderASubfolderIsFoundByItsBareNameAndConverted) {
    // The word processor saves the rich-text template as .docx: that is what users keep.
    test::write_file(dir_ / "conv.rtf", kTemplate);
    std::string why;
    const auto docx = test::libreoffice_convert(dir_ / "conv.rtf", "docx", dir_.path(), &why);
    ASSERT_TRUE(docx) << why;
    fs::copy_file(*docx, dir_ / "templates/German/COND/CON_quote.docx");

    output_.MergeOutput(dir_ / "quote.pdf");
    output_.MergePrintout(record_, "COND\\CON_quote", false, "");
    EXPECT_EQ(output_.LastMergeProblem(), "");
    EXPECT_EQ(test::read_file(dir_ / "quote.pdf").rfind("%PDF", 0), 0u);
    EXPECT_FALSE(fs::exists(output_.LastMergeData()));
}

TEST_F(MergePrint, FailingStepsEndQuietlyWithTheirReasonAndStillDeleteTheData) {
    test::write_file(dir_ / "templates/German/Vap_prev.dot", "plain text, no document");
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
        EXPECT_TRUE(files_in(dir_ / "app").empty()) << c.dot_file;
    }
}

TEST_F(MergePrint, WithoutAPlaceTheMergedDocumentOpensInTheViewer) {
    // A viewer that notes what it was given; no desktop handler anywhere.
    const fs::path viewer =
        test::write_script(dir_ / "bin/viewer", "for a in \"$@\"; do echo \"$a\"; done > \"$0.args\"\n");
    test::ScopedEnv path("PATH", (dir_ / "bin").string());
    test::ScopedEnv data_home("XDG_DATA_HOME", (dir_ / "none").string());
    test::ScopedEnv data_dirs("XDG_DATA_DIRS", (dir_ / "none").string());
    test::ScopedEnv config_home("XDG_CONFIG_HOME", (dir_ / "none").string());
    test::ScopedEnv config_dirs("XDG_CONFIG_DIRS", (dir_ / "none").string());
    settings::library_state().UserSettings.EditorPath = viewer.string();

    output_.MergePrintout(record_, "SPC_prev.dot", false, "");
    ASSERT_EQ(output_.LastMergeProblem(), "");
    const fs::path merged = output_.LastMergedDocument();
    EXPECT_EQ(merged.extension(), ".rtf");
    EXPECT_EQ(merged.filename().string().rfind("merge", 0), 0u);
    EXPECT_EQ(test::await_file(viewer.string() + ".args"), merged.string() + "\n");
}

}  // namespace
}  // namespace hxq::output
