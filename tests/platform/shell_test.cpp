// Starting programs, the desktop's handler of a file type, the office conversion and
// printing, with real processes: scripts in a scratch folder stand in for the programs.
#include "platform/desktop_entry.h"
#include "platform/error.h"
#include "platform/office.h"
#include "platform/scratch.h"
#include "platform/shell.h"

#include "../support/stand_in_programs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <optional>
#include <thread>

#include <sys/stat.h>

namespace hxq::platform {
namespace {

namespace fs = std::filesystem;
using test::error_number;
using test::raised;
using test::read_file;
using test::ScopedEnv;
using test::ScratchDir;
using test::write_file;

using test::await_file;
using test::recorder;
using test::words_of;
using test::write_script;

class Programs : public ::testing::Test {
protected:
    ScratchDir dir_;
    fs::path bin_ = dir_ / "bin dir";
    ScopedEnv path_{"PATH", bin_.string() + ":/usr/bin:/bin"};
};

TEST_F(Programs, FindProgramLooksOnPathOnlyForBareNames) {
    write_script(bin_ / "tool", "exit 0\n");
    write_file(bin_ / "plain", "not executable");
    fs::create_directories(bin_ / "folder");
    ::chmod((bin_ / "folder").c_str(), 0755);
    struct Case {
        std::string name;
        fs::path expected;
    };
    const Case cases[] = {
        {"tool", bin_ / "tool"}, {(bin_ / "tool").string(), bin_ / "tool"},
        {"plain", {}},           {"folder", {}}, {"no-such-tool", {}}, {"", {}},
        {"bin dir/tool", {}},  // a relative path is taken as written, not searched
    };
    for (const auto& c : cases) EXPECT_EQ(find_program(c.name), c.expected) << c.name;
}

TEST_F(Programs, RunProgramPassesArgumentsUnchangedAndCollectsExitAndOutput) {
    write_script(bin_ / "echoer", "printf '%s\\0' \"$@\"; echo oops >&2; exit 3\n");
    const std::vector<std::string> args{"a b", "\"quoted\"", "$HOME", "*.rtf", "", "it's"};
    std::vector<std::string> argv{"echoer"};
    argv.insert(argv.end(), args.begin(), args.end());
    const auto r = run_program(argv);
    EXPECT_EQ(r.exit_code, 3);
    EXPECT_EQ(words_of(r.out), args);
    EXPECT_EQ(r.err, "oops\n");
}

TEST_F(Programs, RunProgramReadsBigOutputOnBothStreamsAndReportsSignals) {
    // More than a pipe holds on each stream: a reader of one stream only would stall.
    write_script(bin_ / "chatty", "head -c 300000 /dev/zero; head -c 200000 /dev/zero >&2\n");
    const auto big = run_program({"chatty"});
    EXPECT_EQ(big.out.size(), 300000u);
    EXPECT_EQ(big.err.size(), 200000u);
    write_script(bin_ / "killed", "kill -TERM $$\n");
    EXPECT_EQ(run_program({"killed"}).exit_code, 128 + SIGTERM);
}

TEST_F(Programs, MissingProgramsAreFileNotFound) {
    EXPECT_EQ(error_number([] { run_program({"no-such-tool"}); }), 53);
    EXPECT_EQ(error_number([] { start_detached({"/no/such/tool", "x"}); }), 53);
    EXPECT_EQ(error_number([] { run_program({}); }), 5);
}

// The state letter of a process in /proc ('Z' for a zombie); 0 once it is gone.
char process_state(const std::string& pid) {
    const std::string stat = read_file("/proc/" + pid + "/stat");
    const auto close = stat.rfind(')');
    return close == std::string::npos || close + 2 >= stat.size() ? 0 : stat[close + 2];
}

TEST_F(Programs, DetachedProgramsRunOnWithTheirArgumentsAndAreReaped) {
    const auto record = dir_ / "args";
    const auto pid_file = dir_ / "pid";
    write_script(bin_ / "viewer", "echo $$ > '" + pid_file.string() + "'\n" + recorder(record) + "sleep 1\n");
    const auto started = std::chrono::steady_clock::now();
    start_detached({"viewer", (dir_ / "a file.rtf").string()});
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(900)) << "it must not wait";
    const auto args = await_file(record);
    ASSERT_TRUE(args);
    EXPECT_EQ(words_of(*args), std::vector<std::string>{(dir_ / "a file.rtf").string()});
    std::string pid = read_file(pid_file);
    pid.erase(pid.find_last_not_of('\n') + 1);
    char state = 'R';
    for (int i = 0; i < 200 && state != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        state = process_state(pid);
    }
    EXPECT_EQ(state, 0) << "the ended viewer stays as a process in state " << state;
}

TEST(DesktopEntries, ExecLinesBecomeArgumentVectors) {
    DesktopEntry entry;
    entry.name = "Writer";
    entry.icon = "writer-icon";
    entry.file = "/apps/writer.desktop";
    const std::vector<std::string> one{"/d/a b.rtf"};
    const std::vector<std::string> two{"/d/a b.rtf", "/d/c.rtf"};
    struct Case {
        const char* exec;
        std::vector<std::string> files;
        std::vector<std::string> argv;
    };
    const Case cases[] = {
        {"writer %f", one, {"writer", "/d/a b.rtf"}},
        {"writer --view %U", two, {"writer", "--view", "/d/a b.rtf", "/d/c.rtf"}},
        {"writer %F", {}, {"writer"}},
        {"writer %u", two, {"writer", "/d/a b.rtf"}},
        {"writer", one, {"writer", "/d/a b.rtf"}},  // no file code: the files go last
        {"\"/opt/my apps/writer\" %f", one, {"/opt/my apps/writer", "/d/a b.rtf"}},
        {"sh -c \"echo \\\"\\$1\\\"\" %f", one, {"sh", "-c", "echo \"$1\"", "/d/a b.rtf"}},
        {"writer %i --name=%c %k %f", one,
         {"writer", "--icon", "writer-icon", "--name=Writer", "/apps/writer.desktop", "/d/a b.rtf"}},
        {"writer 100%% %d %D %n %N %v %m %f", one, {"writer", "100%", "/d/a b.rtf"}},
        {"writer --file=%f", one, {"writer", "--file=/d/a b.rtf"}},
        {"writer \"unclosed %f", one, {}},
        {"", one, {}},
    };
    for (const auto& c : cases) {
        entry.exec = c.exec;
        EXPECT_EQ(expand_exec(entry, c.files), c.argv) << c.exec;
    }
}

TEST(DesktopEntries, StringEscapesAreUndoneWhenTheFileIsRead) {
    ScratchDir dir;
    write_file(dir / "e.desktop",
               "# comment\n[Desktop Entry]\nName=My\\sWriter\nExec=\"/opt/a\\\\\"b\" %f\nMimeType=text/rtf;application/rtf;\n"
               "Hidden=true\n[Desktop Action New]\nExec=other\n");
    const auto entry = read_desktop_entry(dir / "e.desktop", "e.desktop");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->name, "My Writer");
    EXPECT_EQ(expand_exec(*entry, {"x"}), (std::vector<std::string>{"/opt/a\"b", "x"}));
    EXPECT_FALSE(read_desktop_entry(dir / "missing.desktop", "m"));
}

// A desktop of its own: XDG folders, HOME and PATH in a scratch folder, no desktop
// environment that xdg-mime would ask instead of the files.
class DesktopTree : public ::testing::Test {
public:
    void install(const std::string& relative, const std::string& program, const std::string& extra = "") {
        write_script(bin_ / program, "exit 0\n");
        fs::create_directories((dir_ / relative).parent_path());
        write_file(dir_ / relative, "[Desktop Entry]\nType=Application\nName=" + program + "\nExec=" + program +
                                        " %f\n" + extra);
    }
    void make_folders() {
        for (const char* f : {"config", "etc-xdg", "data/applications", "share/applications", "home"})
            fs::create_directories(dir_ / f);
    }

protected:
    ScratchDir dir_;
    fs::path bin_ = dir_ / "bin";
    ScopedEnv home_{"HOME", dir_.file("home")};
    ScopedEnv config_home_{"XDG_CONFIG_HOME", dir_.file("config")};
    ScopedEnv config_dirs_{"XDG_CONFIG_DIRS", dir_.file("etc-xdg")};
    ScopedEnv data_home_{"XDG_DATA_HOME", dir_.file("data")};
    ScopedEnv data_dirs_{"XDG_DATA_DIRS", dir_.file("share")};
    ScopedEnv desktop_{"XDG_CURRENT_DESKTOP", std::nullopt};
    ScopedEnv session_{"DESKTOP_SESSION", std::nullopt};
    ScopedEnv kde_{"KDE_FULL_SESSION", std::nullopt};
    ScopedEnv gnome_{"GNOME_DESKTOP_SESSION_ID", std::nullopt};
    ScopedEnv path_{"PATH", bin_.string()};
};

TEST_F(DesktopTree, DefaultHandlerFollowsTheMimeappsRules) {
    const std::string rtf = "application/rtf";
    const std::string defaults = "[Default Applications]\napplication/rtf=";
    struct Entry {
        const char* file;
        const char* program;
        std::string extra = "";
    };
    struct Case {
        const char* what;
        std::vector<Entry> entries;
        std::vector<std::pair<const char*, std::string>> lists;  // mimeapps.list files and their text
        const char* expected;                                    // the id, "" for none
    };
    const Case cases[] = {
        {"the user's default", {{"data/applications/writer.desktop", "writer"}},
         {{"config/mimeapps.list", defaults + "writer.desktop\n"}}, "writer.desktop"},
        {"an entry in a subfolder has the folder in its id", {{"share/applications/office/writer.desktop", "writer"}},
         {{"share/applications/mimeapps.list", defaults + "office-writer.desktop\n"}}, "office-writer.desktop"},
        {"defaults that are not installed or cannot run are passed over",
         {{"data/applications/hidden.desktop", "hiddenapp", "Hidden=true\n"},
          {"data/applications/tried.desktop", "tried", "TryExec=not-installed\n"},
          {"data/applications/editor.desktop", "editor"}},
         {{"config/mimeapps.list", defaults + "gone.desktop;hidden.desktop;tried.desktop;editor.desktop\n"}},
         "editor.desktop"},
        {"the user's list wins over the system's",
         {{"share/applications/a.desktop", "appa"}, {"share/applications/b.desktop", "appb"}},
         {{"etc-xdg/mimeapps.list", defaults + "a.desktop\n"}, {"config/mimeapps.list", defaults + "b.desktop\n"}},
         "b.desktop"},
        {"an entry in the user's folder hides the system's of the same id",
         {{"share/applications/w.desktop", "systemw"}, {"data/applications/w.desktop", "userw", "Hidden=true\n"}},
         {{"config/mimeapps.list", defaults + "w.desktop\n"}}, ""},
        {"without a default an added association", {{"share/applications/assoc.desktop", "assoc"}},
         {{"config/mimeapps.list", "[Added Associations]\napplication/rtf=assoc.desktop;\n"}}, "assoc.desktop"},
        {"without any list an entry that names the type",
         {{"share/applications/other.desktop", "other", "MimeType=text/plain;\n"},
          {"share/applications/named.desktop", "named", "MimeType=text/rtf;application/rtf;\n"}},
         {}, "named.desktop"},
        {"a removed association leaves nothing",
         {{"share/applications/named.desktop", "named", "MimeType=application/rtf;\n"}},
         {{"config/mimeapps.list", "[Removed Associations]\napplication/rtf=named.desktop\n"}}, ""},
        {"a default for another type is not one for this", {{"data/applications/writer.desktop", "writer"}},
         {{"config/mimeapps.list", "[Default Applications]\napplication/rtfx=writer.desktop\n"}}, ""},
    };
    // Read by ourselves (no xdg-utils on PATH, or no desktop session) and, where it is
    // installed, through xdg-mime in a session of the generic desktop.
    struct Way {
        std::string path;
        std::optional<std::string> desktop;
    };
    std::vector<Way> ways{{bin_.string(), "X-Generic"}, {bin_.string() + ":/usr/bin:/bin", std::nullopt}};
    if (fs::exists("/usr/bin/xdg-mime")) ways.push_back({bin_.string() + ":/usr/bin:/bin", "X-Generic"});
    for (const auto& way : ways) {
        for (const auto& c : cases) {
            fs::remove_all(dir_.path());
            make_folders();
            for (const auto& e : c.entries) install(e.file, e.program, e.extra);
            for (const auto& [file, text] : c.lists) write_file(dir_ / file, text);
            path_.set(way.path);
            desktop_.set(way.desktop);
            const auto handler = default_handler(rtf);
            EXPECT_EQ(handler ? handler->id : "", c.expected)
                << c.what << " (PATH " << way.path << ", desktop " << way.desktop.value_or("none") << ")";
        }
    }
}

TEST_F(DesktopTree, ExtensionsLookUpEachOfTheirTypesAndGiveTheProgram) {
    make_folders();
    install("share/applications/rtfeditor.desktop", "rtfeditor", "MimeType=text/rtf;\n");
    const auto handler = default_handler_for_extension(".RTF");
    ASSERT_TRUE(handler);
    EXPECT_EQ(handler->id, "rtfeditor.desktop");
    EXPECT_EQ(handler_program(*handler), bin_ / "rtfeditor");
    EXPECT_FALSE(default_handler_for_extension(".docx"));
    EXPECT_FALSE(default_handler_for_extension(".xyz"));
}

TEST_F(Programs, ConversionAndPrintingNameTheMissingPackage) {
    path_.set(bin_.string());
    fs::create_directories(bin_);
    write_file(dir_ / "a.rtf", "{\\rtf1 a\\par}");
    const auto office = raised([&] { convert_document(dir_ / "a.rtf", "pdf", dir_.path()); });
    ASSERT_TRUE(office);
    EXPECT_EQ(office->number(), 53);
    EXPECT_NE(office->description().find("libreoffice-writer-nogui"), std::string::npos) << office->description();
    const auto lp = raised([&] { print_file(dir_ / "a.rtf"); });
    ASSERT_TRUE(lp);
    EXPECT_EQ(lp->number(), 53);
    EXPECT_NE(lp->description().find("cups-client"), std::string::npos);
}

TEST_F(Programs, PrintingChecksLpsExitCodeAndNamesThePrinter) {
    const auto record = dir_ / "lp-args";
    write_script(bin_ / "lp", recorder(record) + "[ \"$1\" = -d ] && { echo 'no such printer' >&2; exit 1; }\nexit 0\n");
    write_file(dir_ / "doc file.pdf", "%PDF-1.4");
    print_file(dir_ / "doc file.pdf");
    EXPECT_EQ(words_of(read_file(record)), std::vector<std::string>{(dir_ / "doc file.pdf").string()});
    const auto refused = raised([&] { print_file(dir_ / "doc file.pdf", "office"); });
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->number(), 482);
    EXPECT_NE(refused->description().find("no such printer"), std::string::npos);
    EXPECT_EQ(words_of(read_file(record)), (std::vector<std::string>{"-d", "office", (dir_ / "doc file.pdf").string()}));
}

TEST_F(Programs, ConversionKeepsExistingFilesAndReportsFailures) {
    if (office_program().empty()) GTEST_SKIP() << "LibreOffice is not installed (scripts/setup.sh installs it)";
    const auto folder = dir_ / "out folder";
    fs::create_directories(folder);
    write_file(dir_ / "sheet.rtf", "{\\rtf1\\ansi Converted text\\par}\r\n");
    write_file(folder / "sheet.txt", "keep me");
    const auto text = convert_document(dir_ / "sheet.rtf", "txt:Text (encoded):UTF8", folder);
    EXPECT_EQ(text, folder / "sheet_2.txt");
    EXPECT_NE(read_file(text).find("Converted text"), std::string::npos);
    EXPECT_EQ(read_file(folder / "sheet.txt"), "keep me");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2)
        << "nothing of the conversion is left behind";
    EXPECT_EQ(error_number([&] { convert_document(dir_ / "missing.rtf", "pdf", folder); }), 75);
}

}  // namespace
}  // namespace hxq::platform
