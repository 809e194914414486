#include "platform/registry.h"

#include "platform/error.h"
#include "platform/scratch.h"

#include <gtest/gtest.h>

using namespace hxq::platform;
using hxq::test::read_file;
using hxq::test::ScopedEnv;
using hxq::test::ScratchDir;
using hxq::test::write_file;

namespace {

const std::string kSettings = "SOFTWARE\\Qarn\\HXQ\\Settings";

}  // namespace

TEST(Registry, MissingFileKeyOrValueReadsAsError) {
    ScratchDir dir;
    ScopedEnv env(kRegistryEnv, dir.file("registry.ini"));
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, kSettings, "HXQnew"), "ERROR");
    write_file(dir / "registry.ini", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Qarn\\HXQ\\Settings]\r\nConvertDB=/data/units.db\r\n");
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, kSettings, "HXQnew"), "ERROR");
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, "SOFTWARE\\Qarn\\HXQ\\Other", "ConvertDB"), "ERROR");
    EXPECT_EQ(GetRegValue(kHKeyCurrentUser, kSettings, "ConvertDB"), "ERROR") << "another root is another tree";
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, "software\\QARN\\hxq\\settings\\", "convertdb"), "/data/units.db");
}

TEST(Registry, SetThenGetRoundTripsAnyText) {
    ScratchDir dir;
    ScopedEnv env(kRegistryEnv, (dir / "sub" / "registry.ini").string());
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
    ScopedEnv env(kRegistryEnv, dir.file("registry.ini"));
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
    ScopedEnv env(kRegistryEnv, dir.file("registry.ini"));
    const auto root = hxq::test::raised([] { SetRegValue(0x1234, "SOFTWARE\\X", "Name", "Value"); });
    ASSERT_TRUE(root) << "an unknown root cannot take a key";
    EXPECT_EQ(root->number(), 26001);
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
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, kSettings, "HXQnew"), "ERROR");
}

TEST(Registry, DefaultPathFollowsTheEnvironment) {
    ScopedEnv env(kRegistryEnv, "/somewhere/reg.ini");
    ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
    EXPECT_EQ(RegistryStore::default_path(), "/somewhere/reg.ini");
    env.set("");
    EXPECT_EQ(RegistryStore::default_path(), "/cfg/hxq/registry.ini");
    xdg.set("relative");  // not absolute: ignored, as XDG says
    ScopedEnv home("HOME", std::getenv("HOME") ? std::getenv("HOME") : "/root");
    EXPECT_EQ(RegistryStore::default_path(), std::filesystem::path(std::getenv("HOME")) / ".config/hxq/registry.ini");
}
