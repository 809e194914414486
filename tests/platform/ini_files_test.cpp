// Initialisation files: the private-profile reads and writes, and the machine-wide store
// of registry-style keys kept in one such file.
#include "platform/profile.h"

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "platform/scratch.h"

#include <gtest/gtest.h>

using namespace hxq::platform;
using hxq::test::read_file;
using hxq::test::ScopedEnv;
using hxq::test::ScratchDir;
using hxq::test::write_file;

namespace {

const char* kSample =
    "; settings of one user\r\n[TQS INI]\r\nCalcType=2\r\n\r\n"
    "[Action]\r\n  Language = Swedish  \r\nOffset=1000\r\n"
    "; the last address line is quoted\r\nAddress5=\"  Box 12  \"\r\nEmpty=\r\n\r\n"
    "[Action]\r\nLanguage=German\r\n";

const std::string kSettings = "SOFTWARE\\Qarn\\HXQ\\Settings";

}  // namespace

TEST(Profile, ReadsGiveTrimmedValuesOrTheDefault) {
    ScratchDir dir;
    write_file(dir / "hxq.ini", kSample);
    write_file(dir / "lf.ini", "\xEF\xBB\xBF[Action]\nNrOfResult=5");
    struct Case {
        const char* file;
        const char* section;
        const char* key;
        const char* default_value;
        const char* value;
    };
    const Case cases[] = {
        // Missing file, section or key: the default without its trailing blanks.
        {"none.ini", "Action", "Language", "English  ", "English"},
        {"hxq.ini", "Action", "Nope", "  x", "  x"},
        {"hxq.ini", "Nope", "Language", "d", "d"},
        {"hxq.ini", "Action", "Empty", "d", ""},  // there but empty: empty, not the default
        // Names without case, the first of two sections, values trimmed and unquoted.
        {"hxq.ini", "action", "LANGUAGE", "", "Swedish"},
        {"hxq.ini", "Action", "Address5", "", "  Box 12  "},
        {"lf.ini", "Action", "NrOfResult", "7", "5"},  // LF line ends and a byte-order mark
    };
    for (const auto& c : cases)
        EXPECT_EQ(read_profile_string(c.section, c.key, c.default_value, dir / c.file), c.value)
            << c.file << " [" << c.section << "] " << c.key;
    EXPECT_FALSE(file_exists(dir / "none.ini")) << "reading must not create the file";
}

TEST(Profile, ValuesAndDefaultsAreCutToTheReadBuffer) {
    ScratchDir dir;
    auto file = dir / "long.ini";
    std::string long_value(200, 'a');
    long_value[126] = 'Z';
    long_value[127] = 'Q';
    ASSERT_TRUE(write_profile_string("Action", "Address1", long_value, file));
    EXPECT_EQ(read_profile_string("Action", "Address1", "", file), long_value.substr(0, 127));
    EXPECT_EQ(read_profile_string("Action", "Missing", long_value, file).size(), 127u);
    // The file keeps the whole value; only the read is cut.
    EXPECT_EQ(ProfileFile::load(file).value("Action", "Address1"), long_value);
    // Characters, not bytes: a cut never splits a UTF-8 sequence.
    std::string umlauts;
    for (int i = 0; i < 130; ++i) umlauts += "\xC3\xB6";  // ö
    ASSERT_TRUE(write_profile_string("Action", "Address2", umlauts, file));
    EXPECT_EQ(read_profile_string("Action", "Address2", "", file), umlauts.substr(0, 254));
    EXPECT_EQ(read_profile_string("Action", "Address2", "", file, 4), umlauts.substr(0, 6));
}

TEST(Profile, WritesChangeTheirLineOrAddTheKeyOrSection) {
    ScratchDir dir;
    auto file = dir / "new.ini";
    ASSERT_TRUE(write_profile_string("TQS INI", "CalcType", "1", file));
    ASSERT_TRUE(write_profile_string("Action", "Serie", "2", file));
    ASSERT_TRUE(write_profile_string("action", "Parallell", "3", file));
    EXPECT_EQ(read_file(file), "[TQS INI]\r\nCalcType=1\r\n\r\n[Action]\r\nSerie=2\r\nParallell=3\r\n");
    // Other keys, comments and the spelling of a changed key's name stay.
    file = dir / "hxq.ini";
    write_file(file, kSample);
    ASSERT_TRUE(write_profile_string("ACTION", "language", "Danish", file));
    ASSERT_TRUE(write_profile_string("TQS INI", "CalcMethod", "1", file));
    ASSERT_TRUE(write_profile_string("Action", "line", "a\r\nb", file));
    EXPECT_EQ(read_file(file),
              "; settings of one user\r\n[TQS INI]\r\nCalcType=2\r\nCalcMethod=1\r\n\r\n"
              "[Action]\r\nLanguage=Danish\r\nOffset=1000\r\n"
              "; the last address line is quoted\r\nAddress5=\"  Box 12  \"\r\nEmpty=\r\nline=a  b\r\n\r\n"
              "[Action]\r\nLanguage=German\r\n");
}

TEST(Profile, ListingErasingAndNamesThatCannotBeWritten) {
    auto p = ProfileFile::parse(kSample);
    EXPECT_EQ(p.sections(), (std::vector<std::string>{"TQS INI", "Action"}));
    EXPECT_EQ(p.keys("action"), (std::vector<std::string>{"Language", "Offset", "Address5", "Empty"}));
    EXPECT_TRUE(p.erase_key("Action", "offset"));
    EXPECT_TRUE(p.erase_section("TQS INI"));
    EXPECT_EQ(p.text().rfind("; settings of one user\r\n[Action]\r\n  Language = Swedish  \r\n; the last", 0), 0u);
    for (const auto& [section, key] : {std::pair{"A]B", "k"}, {"A", "k=1"}, {"A", ""}, {"A", "[k"}})
        EXPECT_THROW(p.set(section, key, "v"), Error) << section << " " << key;
}

TEST(Profile, WritesNeverLoseAFile) {
    ScratchDir dir;
    // A folder where the file should be: unreadable as a file, whoever runs the test.
    auto file = dir / "hxq.ini";
    std::filesystem::create_directories(file / "inside");
    EXPECT_EQ(read_profile_string("Action", "Language", "English", file), "English");
    EXPECT_THROW(ProfileFile::load(file), Error);
    EXPECT_FALSE(write_profile_string("Action", "Offset", "1", file));
    EXPECT_TRUE(std::filesystem::exists(file / "inside"));
    // A file where the folder should be: the write fails and leaves no temporary.
    write_file(dir / "plain", "not a folder");
    EXPECT_FALSE(write_profile_string("Action", "Serie", "2", dir / "plain" / "hxq.ini"));
    EXPECT_EQ(read_file(dir / "plain"), "not a folder");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
    // A symbolic link is written through, not replaced.
    write_file(dir / "real.ini", "[A]\r\nx=1\r\n");
    std::filesystem::create_symlink(dir / "real.ini", dir / "link.ini");
    ASSERT_TRUE(write_profile_string("A", "x", "2", dir / "link.ini"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
    EXPECT_EQ(read_file(dir / "real.ini"), "[A]\r\nx=2\r\n");
}

TEST(Profile, QuotedFormsReadBackWhole) {
    ScratchDir dir;
    auto file = dir / "q.ini";
    for (std::string v : {"  indented", "\"quoted\"", "'single'", "plain text"}) {
        ASSERT_TRUE(write_profile_string("A", "k", profile_text(v), file));
        EXPECT_EQ(read_profile_string("A", "k", "d", file), v);
    }
    EXPECT_EQ(profile_text("C:\\x"), "C:\\x");
}

// Each registry test has a store of its own.
class Registry : public ::testing::Test {
protected:
    ScratchDir dir;
    ScopedEnv env{kRegistryEnv, dir.file("registry.ini")};
};

TEST_F(Registry, MissingFileKeyOrValueReadsAsError) {
    write_file(dir / "registry.ini", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Qarn\\HXQ\\Settings]\r\nConvertDB=/data/units.db\r\n");
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, kSettings, "HXQnew"), "ERROR");
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, "SOFTWARE\\Qarn\\HXQ\\Other", "ConvertDB"), "ERROR");
    EXPECT_EQ(GetRegValue(kHKeyCurrentUser, kSettings, "ConvertDB"), "ERROR") << "another root is another tree";
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, "software\\QARN\\hxq\\settings\\", "convertdb"), "/data/units.db");
}

TEST_F(Registry, SetThenGetRoundTripsAnyText) {
    env.set((dir / "sub" / "registry.ini").string());  // the folder is made as needed
    const std::string tricky[] = {"", "C:\\Program Files\\hxq\\ps.dat", " padded ", "\"quoted\"", "'single'",
                                  "two\r\nlines\tand tab", "back\\slash\\", "a=b;c", "\xC3\xB6l"};
    int n = 0;
    for (const auto& value : tricky) {
        std::string name = "v" + std::to_string(n++);
        SetRegValue(kHKeyLocalMachine, kSettings, name, value);
        EXPECT_EQ(GetRegValue(kHKeyLocalMachine, kSettings, name), value) << name;
    }
    // The default (unnamed) value of a key, as other programs' associations use it.
    SetRegValue(kHKeyClassesRoot, "\\wrifile\\shell\\open\\command", "", "editor %1");
    EXPECT_EQ(GetRegValue(kHKeyClassesRoot, "wrifile\\shell\\open\\command", ""), "editor %1");
    // Plain values stay plain in the file, so people can edit it.
    EXPECT_NE(read_file(dir / "sub" / "registry.ini").find("\r\nv1=C:\\Program Files\\hxq\\ps.dat\r\n"),
              std::string::npos);
}

TEST_F(Registry, SettingOneValueKeepsTheOthers) {
    write_file(dir / "registry.ini",
               "; installed by setup\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Qarn\\HXQ\\Settings]\r\nHXQnew=/p.db\r\n");
    SetRegValue(kHKeyLocalMachine, kSettings, "hxqNEW", "/q.db");
    SetRegValue(kHKeyLocalMachine, "SOFTWARE\\Qarn\\HXQPriceCalc\\Info", "DiscountsDBPath", "/d.db");
    EXPECT_EQ(read_file(dir / "registry.ini"),
              "; installed by setup\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Qarn\\HXQ\\Settings]\r\nHXQnew=/q.db\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Qarn\\HXQPriceCalc\\Info]\r\nDiscountsDBPath=/d.db\r\n");
}

TEST_F(Registry, KeysExistThroughTheirSubkeys) {
    RegistryStore store(dir / "r.ini");
    EXPECT_FALSE(store.key_exists(kHKeyLocalMachine, "SOFTWARE\\Qarn"));
    ASSERT_TRUE(store.create_key(kHKeyLocalMachine, kSettings));
    EXPECT_TRUE(store.key_exists(kHKeyLocalMachine, "SOFTWARE\\Qarn"));
    EXPECT_FALSE(store.key_exists(kHKeyLocalMachine, "SOFTWARE\\Qar"));
    EXPECT_FALSE(store.query_value(kHKeyLocalMachine, kSettings, "x"));
    EXPECT_TRUE(store.set_value(kHKeyLocalMachine, kSettings, "x", "1"));
    EXPECT_TRUE(store.delete_value(kHKeyLocalMachine, kSettings, "X"));
    EXPECT_FALSE(store.query_value(kHKeyLocalMachine, kSettings, "x"));
}

TEST_F(Registry, FailuresRaiseTheirNumbersAndText) {
    const auto root = hxq::test::raised([] { SetRegValue(0x1234, "SOFTWARE\\X", "Name", "Value"); });
    ASSERT_TRUE(root) << "an unknown root cannot take a key";
    EXPECT_EQ(root->source(), "HXQAction.cRegistry");
    EXPECT_EQ(root->description(),
              "Failed to set registry value Key: '4660',Section: 'SOFTWARE\\X',Key: 'Name' to value: 'Value'");
    const auto name = hxq::test::raised([] { SetRegValue(kHKeyLocalMachine, kSettings, "bad=name", "v"); });
    ASSERT_TRUE(name) << "a value name with '=' cannot be stored";
    EXPECT_EQ(name->number(), -2147194455);
    EXPECT_EQ(name->description(), "Failed to set registry value Key: '-2147483646',Section: '" + kSettings +
                                       "',Key: 'bad=name' to value: 'v'");
    // A store whose folder cannot be made fails to create any key.
    write_file(dir / "plain", "not a folder");
    env.set((dir / "plain" / "registry.ini").string());
    EXPECT_EQ(hxq::test::error_number([] { SetRegValue(kHKeyLocalMachine, kSettings, "HXQnew", "/p.db"); }), 26001);
}

TEST_F(Registry, DefaultPathFollowsTheEnvironment) {
    env.set("/somewhere/reg.ini");
    ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(RegistryStore::default_path(), "/somewhere/reg.ini");
    env.set("");
    EXPECT_EQ(RegistryStore::default_path(), "/cfg/hxq/registry.ini");
    xdg.set("relative");  // not absolute: ignored, as XDG says
    ScopedEnv home("HOME", std::getenv("HOME") ? std::getenv("HOME") : "/root");
    EXPECT_EQ(RegistryStore::default_path(), std::filesystem::path(std::getenv("HOME")) / ".config/hxq/registry.ini");
}
