// PreviewPrint and the start-up detection on a desktop of their own: the program folder,
// the data folder, the XDG folders and PATH all in a scratch folder, and small shell
// scripts standing in for the editor, LibreOffice and lp.
#include "output/cls_output.h"
#include "output/rtf_document.h"
#include "output/startup_detection.h"

#include "platform/office.h"
#include "platform/prompter.h"
#include "platform/scratch.h"
#include "settings/library_state.h"
#include "settings/settings_store.h"

#include "../support/stand_in_programs.h"

#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <regex>
#include <set>

namespace hxq::output {
namespace {

namespace fs = std::filesystem;
using test::read_file;
using test::recorded_words;
using test::recorder;
using test::ScopedEnv;
using test::ScratchDir;
using test::write_file;
using test::write_script;

constexpr const char* kNoEditor =
    "You must specify a Preview application in Options->Print.\nMake sure the application handles *.rtf files.";

// The local time `t` as a preview's name stamps it.
std::string stamp(std::time_t t) {
    std::tm local{};
    ::localtime_r(&t, &local);
    char text[16] = {};
    std::strftime(text, sizeof text, "%Y%m%d%H%M%S", &local);
    return text;
}

PreviewArray sheet(std::initializer_list<const char*> lines) {
    PreviewArray data(lines.size());
    std::size_t i = 1;
    for (const char* line : lines) data[i++] = line;
    return data;
}

class Desktop : public ::testing::Test {
public:
    void SetUp() override {
        settings::reset_library_state();
        settings::set_prompter(prompter_);
        settings::library_state().host.ExePath = app_.string();
        for (const auto& f : {app_, bin_, dir_ / "home", dir_ / "config", dir_ / "share"}) fs::create_directories(f);
    }
    void TearDown() override { settings::reset_library_state(); }

    // The editor setting: a script that records what it was started with.
    fs::path fake_editor() {
        return write_script(dir_ / "tools folder" / "fake editor", recorder(dir_ / "editor-args"));
    }
    std::vector<std::string> editor_args() { return recorded_words(dir_ / "editor-args"); }
    std::vector<std::string> shown() const { return prompter_->shown_texts(); }

    ScratchDir dir_;
    fs::path app_ = dir_ / "app folder";
    fs::path data_ = dir_ / "data home";
    fs::path bin_ = dir_ / "bin";
    std::shared_ptr<platform::ScriptedPrompter> prompter_ = std::make_shared<platform::ScriptedPrompter>();
    ScopedEnv path_{"PATH", bin_.string() + ":/usr/bin:/bin"};
    ScopedEnv home_{"HOME", dir_.file("home")};
    ScopedEnv data_home_{"XDG_DATA_HOME", data_.string()};
    ScopedEnv data_dirs_{"XDG_DATA_DIRS", dir_.file("share")};
    ScopedEnv config_home_{"XDG_CONFIG_HOME", dir_.file("config")};
    ScopedEnv config_dirs_{"XDG_CONFIG_DIRS", dir_.file("config")};
    ScopedEnv desktop_{"XDG_CURRENT_DESKTOP", std::nullopt};
    ScopedEnv registry_{"HXQ_REGISTRY", dir_.file("registry.ini")};
    clsOutput output_;
};

TEST_F(Desktop, PreviewIsWrittenInTheDocumentFolderAndOpenedWithTheEditorOrTheDesktopsHandler) {
    struct Case { const char* what; bool app_folder_usable; fs::path folder; };
    const Case cases[] = {
        {"beside the program", true, app_ / "tmp"},
        {"in the data folder when the program's cannot take it", false, data_ / "hxq" / "tmp"},
    };
    for (const auto& c : cases) {
        fs::remove_all(app_);
        if (c.app_folder_usable) fs::create_directories(app_);
        else write_file(app_, "a file where the folder would be");
        settings::library_state().UserSettings.EditorPath = fake_editor().string();
        fs::remove(dir_ / "editor-args");
        output_.PreviewPrint(0, sheet({"\\par one"}), false);
        const fs::path file = output_.LastPreviewFile();
        EXPECT_EQ(file.parent_path(), c.folder) << c.what;
        EXPECT_TRUE(std::regex_match(file.filename().string(), std::regex("view[0-9]{14}\\.rtf"))) << file;
        EXPECT_TRUE(fs::is_regular_file(file)) << "the preview stays for the editor";
        EXPECT_EQ(editor_args(), std::vector<std::string>{file.string()}) << c.what;
        EXPECT_TRUE(shown().empty()) << c.what;
    }

    // Without an editor setting the desktop's rich-text handler opens it.
    settings::library_state().UserSettings.EditorPath = "";
    fs::create_directories(dir_ / "share/applications");
    write_file(dir_ / "share/applications/viewer.desktop", "[Desktop Entry]\nType=Application\nName=Viewer\nExec=\"" +
                                                              fake_editor().string() + "\" --view %U\n");
    write_file(dir_ / "config/mimeapps.list", "[Default Applications]\napplication/rtf=viewer.desktop\n");
    fs::remove(dir_ / "editor-args");
    output_.PreviewPrint(0, sheet({"\\par one"}), false);
    EXPECT_EQ(editor_args(), (std::vector<std::string>{"--view", output_.LastPreviewFile().string()}));
    EXPECT_TRUE(shown().empty());
}

TEST_F(Desktop, TheFileHoldsTheSheetInTheCurrentLanguagesHeaderAndCodePage) {
    settings::library_state().UserSettings.EditorPath = fake_editor().string();
    // The language setting's name decides, not the byte the caller passes.
    settings::library_state().UserSettings.language.sName = "Russian";
    output_.PreviewPrint(8, sheet({"\\par Жидкость", "", "\\par last"}), false);
    EXPECT_EQ(read_file(output_.LastPreviewFile()),
              rtf_header("Russian") + "\r\n\\par \xC6\xE8\xE4\xEA\xEE\xF1\xF2\xFC\r\n\r\n\\par last\r\n\\par}\r\n");
}

TEST_F(Desktop, PreviewsNeverReplaceAFileAndAreStampedWithTheLocalTime) {
    settings::library_state().UserSettings.EditorPath = fake_editor().string();
    const fs::path folder = app_ / "tmp";
    fs::create_directories(folder);
    // Files of this and the next seconds exist already: each preview must pick another name.
    const std::string before = stamp(std::time(nullptr));
    std::set<fs::path> taken;
    for (int s = 0; s < 5; ++s) {
        const fs::path file = folder / ("view" + stamp(std::time(nullptr) + s) + ".rtf");
        write_file(file, "someone else's");
        taken.insert(file);
    }
    output_.PreviewPrint(0, sheet({"\\par first"}), false);
    const fs::path first = output_.LastPreviewFile();
    output_.PreviewPrint(0, sheet({"\\par second"}), false);
    const fs::path second = output_.LastPreviewFile();
    const std::string after = stamp(std::time(nullptr));
    EXPECT_NE(first, second);
    for (const auto& f : {first, second}) {
        EXPECT_FALSE(taken.count(f)) << f;
        const std::string at = f.filename().string().substr(4, 14);
        EXPECT_TRUE(std::regex_match(f.filename().string(), std::regex("view[0-9]{14}_[0-9]+\\.rtf"))) << f;
        EXPECT_LE(before, at);
        EXPECT_LE(at, after);
    }
    EXPECT_NE(read_file(first).find("\\par first"), std::string::npos);
    EXPECT_NE(read_file(second).find("\\par second"), std::string::npos);
    for (const auto& f : taken) EXPECT_EQ(read_file(f), "someone else's") << f;
}

TEST_F(Desktop, FailuresAreShownWithTheirReasonNotThrown) {
    // No editor program: nothing on PATH and no desktop entries, whatever the setting names.
    path_.set(bin_.string());
    const char* editors[] = {"", "/no/such/editor", "not-installed-editor", "C:\\Program Files\\Editor\\editor.exe"};
    for (const char* editor : editors) {
        prompter_->clear_shown();
        settings::library_state().UserSettings.EditorPath = editor;
        EXPECT_NO_THROW(output_.PreviewPrint(0, sheet({"\\par one"}), false)) << editor;
        EXPECT_EQ(shown(), std::vector<std::string>{kNoEditor}) << editor;
        EXPECT_TRUE(fs::is_regular_file(output_.LastPreviewFile())) << "written before the editor is looked for";
    }

    // Other failures show the error number and description.
    settings::library_state().UserSettings.EditorPath = fake_editor().string();
    struct Case {
        const char* what;
        std::function<void(Desktop&)> setup;
        bool direct_print;
        const char* number_line;
        const char* in_description;
    };
    const Case cases[] = {
        {"no folder can be written",
         [](Desktop& t) {
             settings::library_state().host.ExePath = t.dir_.file("app file");
             write_file(t.dir_ / "app file", "x");
             write_file(t.dir_ / "data file", "x");
             t.data_home_.set(t.dir_.file("data file"));
         },
         false, "Error No: 75\n", "Path/File access error"},
        {"printing without LibreOffice names its package",
         [](Desktop& t) { t.path_.set(t.bin_.string()); }, true, "Error No: 53\n", "libreoffice-writer-nogui"},
    };
    for (const auto& c : cases) {
        prompter_->clear_shown();
        settings::library_state().host.ExePath = app_.string();
        data_home_.set(data_.string());
        path_.set(bin_.string() + ":/usr/bin:/bin");
        c.setup(*this);
        EXPECT_NO_THROW(output_.PreviewPrint(0, sheet({"\\par one"}), c.direct_print)) << c.what;
        const auto& records = prompter_->shown();
        ASSERT_EQ(records.size(), 1u) << c.what;
        EXPECT_EQ(records[0].title, "Error in PreviewPrint") << c.what;
        EXPECT_EQ(records[0].text.rfind(c.number_line, 0), 0u) << records[0].text;
        EXPECT_NE(records[0].text.find(c.in_description), std::string::npos) << records[0].text;
    }
}

TEST_F(Desktop, DirectPrintHandsLpAPdfOfThePreview) {
    if (platform::office_program().empty())
        GTEST_SKIP() << "LibreOffice is not installed (scripts/setup.sh installs it)";
    const auto record = dir_ / "lp-args";
    write_script(bin_ / "lp", recorder(record) + "[ -n \"$LP_FAILS\" ] && { echo 'lp: no default destination' >&2; exit 1; }\nexit 0\n");
    output_.PreviewPrint(0, sheet({"\\par Printed text"}), true);
    EXPECT_TRUE(shown().empty()) << (shown().empty() ? "" : shown().front());
    const auto args = recorded_words(record);
    ASSERT_EQ(args.size(), 1u);
    const fs::path pdf = args.front();
    EXPECT_EQ(pdf.parent_path(), output_.LastPreviewFile().parent_path());
    EXPECT_EQ(pdf.stem(), output_.LastPreviewFile().stem());
    EXPECT_EQ(read_file(pdf).substr(0, 4), "%PDF");

    // lp refusing the job is reported, not ignored.
    ScopedEnv fails("LP_FAILS", "1");
    output_.PreviewPrint(0, sheet({"\\par Printed text"}), true);
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_EQ(shown().front().rfind("Error No: 482\n", 0), 0u) << shown().front();
    EXPECT_NE(shown().front().find("no default destination"), std::string::npos);
}

// --- Start-up detection ---

TEST_F(Desktop, StartupDetectionAnswersFromWhatIsInstalled) {
    struct Case {
        const char* what;
        std::vector<const char*> programs;                         // on PATH
        std::vector<std::pair<const char*, const char*>> handlers;  // program, MIME type
        bool word_processor;
        const char* editor;  // the program's name on PATH, "" for none
    };
    const Case cases[] = {
        {"nothing installed", {}, {}, false, ""},
        {"LibreOffice only", {"soffice"}, {}, true, "soffice"},
        {"LibreOffice under its other name", {"libreoffice"}, {}, true, "libreoffice"},
        {"a .docx handler is a word processor", {"wordapp"},
         {{"wordapp", "application/vnd.openxmlformats-officedocument.wordprocessingml.document"}}, true, ""},
        {"a .doc handler is a word processor", {"wordapp"}, {{"wordapp", "application/msword"}}, true, ""},
        {"the rtf handler wins over LibreOffice", {"soffice", "rtfapp"}, {{"rtfapp", "text/rtf"}}, true, "rtfapp"},
    };
    for (const auto& c : cases) {
        fs::remove_all(bin_);
        fs::remove_all(dir_ / "share");
        fs::create_directories(bin_);
        fs::create_directories(dir_ / "share/applications");
        path_.set(bin_.string());
        for (const char* p : c.programs) write_script(bin_ / p, "exit 0\n");
        for (const auto& [program, mime] : c.handlers)
            write_file(dir_ / "share/applications" / (std::string(program) + ".desktop"),
                       "[Desktop Entry]\nType=Application\nName=x\nExec=" + std::string(program) +
                           " %f\nMimeType=" + mime + ";\n");
        EXPECT_EQ(word_processor_installed(), c.word_processor) << c.what;
        EXPECT_EQ(rtf_editor_program(), *c.editor ? (bin_ / c.editor).string() : "") << c.what;
    }
}

TEST_F(Desktop, InstalledDetectionGivesAnUnsetEditorSettingItsDefault) {
    path_.set(bin_.string());
    const auto soffice = write_script(bin_ / "soffice", "exit 0\n");
    install_startup_detection();
    auto& state = settings::library_state();
    state.host.IniFilePath = dir_.file("none.ini");
    settings::load_settings(state);
    EXPECT_TRUE(state.word_processor_found);
    EXPECT_EQ(state.UserSettings.EditorPath, soffice.string());
    write_file(dir_ / "set.ini", "[Action]\r\nEditorPath=/opt/editor\r\n");
    state.host.IniFilePath = dir_.file("set.ini");
    settings::load_settings(state);
    EXPECT_EQ(state.UserSettings.EditorPath, "/opt/editor") << "a stored setting is kept";
}

}  // namespace
}  // namespace hxq::output
