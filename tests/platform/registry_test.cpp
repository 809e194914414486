#include "platform/registry.h"

#include "platform/error.h"
#include "platform/paths_scratch.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include <unistd.h>

using namespace hxq::platform;
using hxq::test::read_file;
using hxq::test::ScratchDir;
using hxq::test::write_file;

namespace {

// Points HXQ_REGISTRY at a file for one test and puts the old value back.
class RegistryFile {
public:
    explicit RegistryFile(const std::filesystem::path& file) {
        if (const char* old = std::getenv(kRegistryEnv)) old_ = old;
        ::setenv(kRegistryEnv, file.c_str(), 1);
    }
    ~RegistryFile() {
        if (old_) ::setenv(kRegistryEnv, old_->c_str(), 1);
        else ::unsetenv(kRegistryEnv);
    }

private:
    std::optional<std::string> old_;
};

const std::string kSettings = "SOFTWARE\\Qarn\\HXQ\\Settings";

}  // namespace

TEST(Registry, MissingFileKeyOrValueReadsAsError) {
    ScratchDir dir;
    RegistryFile env(dir / "registry.ini");
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, kSettings, "HXQnew"), "ERROR");
    write_file(dir / "registry.ini", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Qarn\\HXQ\\Settings]\r\nConvertDB=/data/units.db\r\n");
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, kSettings, "HXQnew"), "ERROR");
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, "SOFTWARE\\Qarn\\HXQ\\Other", "ConvertDB"), "ERROR");
    EXPECT_EQ(GetRegValue(kHKeyCurrentUser, kSettings, "ConvertDB"), "ERROR") << "another root is another tree";
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, "software\\QARN\\hxq\\settings\\", "convertdb"), "/data/units.db");
}

TEST(Registry, SetThenGetRoundTripsAnyText) {
    ScratchDir dir;
    RegistryFile env(dir / "sub" / "registry.ini");
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

TEST(Registry, SettingOneValueKeepsTheOthers) {
    ScratchDir dir;
    RegistryFile env(dir / "registry.ini");
    write_file(dir / "registry.ini",
               "; installed by setup\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Qarn\\HXQ\\Settings]\r\nHXQnew=/p.db\r\n");
    SetRegValue(kHKeyLocalMachine, kSettings, "hxqNEW", "/q.db");
    SetRegValue(kHKeyLocalMachine, "SOFTWARE\\Qarn\\HXQPriceCalc\\Info", "DiscountsDBPath", "/d.db");
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, kSettings, "HXQnew"), "/q.db");
    EXPECT_EQ(read_file(dir / "registry.ini"),
              "; installed by setup\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Qarn\\HXQ\\Settings]\r\nHXQnew=/q.db\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Qarn\\HXQPriceCalc\\Info]\r\nDiscountsDBPath=/d.db\r\n");
}

TEST(Registry, KeysExistThroughTheirSubkeys) {
    ScratchDir dir;
    RegistryStore store(dir / "r.ini");
    EXPECT_FALSE(store.key_exists(kHKeyLocalMachine, "SOFTWARE\\Qarn"));
    ASSERT_TRUE(store.create_key(kHKeyLocalMachine, kSettings));
    EXPECT_TRUE(store.key_exists(kHKeyLocalMachine, "SOFTWARE\\Qarn"));
    EXPECT_TRUE(store.key_exists(kHKeyLocalMachine, kSettings));
    EXPECT_FALSE(store.key_exists(kHKeyLocalMachine, "SOFTWARE\\Qar"));
    EXPECT_FALSE(store.query_value(kHKeyLocalMachine, kSettings, "x"));
    EXPECT_TRUE(store.set_value(kHKeyLocalMachine, kSettings, "x", "1"));
    EXPECT_TRUE(store.delete_value(kHKeyLocalMachine, kSettings, "X"));
    EXPECT_FALSE(store.query_value(kHKeyLocalMachine, kSettings, "x"));
}

TEST(Registry, FailuresRaiseTheirNumbersAndText) {
    ScratchDir dir;
    RegistryFile env(dir / "registry.ini");
    try {
        SetRegValue(0x1234, "SOFTWARE\\X", "Name", "Value");
        FAIL() << "an unknown root cannot take a key";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 26001);
        EXPECT_EQ(e.source(), "HXQAction.cRegistry");
        EXPECT_EQ(e.description(),
                  "Failed to set registry value Key: '4660',Section: 'SOFTWARE\\X',Key: 'Name' to value: 'Value'");
    }
    try {
        SetRegValue(kHKeyLocalMachine, kSettings, "bad=name", "v");
        FAIL() << "a value name with '=' cannot be stored";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), -2147194455);
        EXPECT_EQ(e.description(), "Failed to set registry value Key: '-2147483646',Section: '" + kSettings +
                                       "',Key: 'bad=name' to value: 'v'");
    }
}

TEST(Registry, AStoreThatCannotBeWrittenFailsToCreateKeys) {
    ScratchDir dir;
    write_file(dir / "plain", "not a folder");
    RegistryFile env(dir / "plain" / "registry.ini");
    try {
        SetRegValue(kHKeyLocalMachine, kSettings, "HXQnew", "/p.db");
        ADD_FAILURE() << "expected error 26001";
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), kRegistryCreateKeyError);
    }
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, kSettings, "HXQnew"), "ERROR");
}

TEST(Registry, DefaultPathFollowsTheEnvironment) {
    RegistryFile env("/somewhere/reg.ini");
    EXPECT_EQ(RegistryStore::default_path(), "/somewhere/reg.ini");
    ::setenv(kRegistryEnv, "", 1);
    std::optional<std::string> xdg;
    if (const char* x = std::getenv("XDG_CONFIG_HOME")) xdg = x;
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(RegistryStore::default_path(), "/cfg/hxq/registry.ini");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored, as XDG says
    ::setenv("HOME", ::getenv("HOME") ? ::getenv("HOME") : "/root", 1);
    EXPECT_EQ(RegistryStore::default_path(), std::filesystem::path(::getenv("HOME")) / ".config/hxq/registry.ini");
    if (xdg) ::setenv("XDG_CONFIG_HOME", xdg->c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
}
