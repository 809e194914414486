// The sample installation's machine-wide store and user settings name the databases of
// this build, so that the program finds the sample range without a manual step.
#include "sample_db.h"

#include "platform/profile.h"
#include "platform/registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace hxq::sample_test {
namespace {

namespace fs = std::filesystem;
using platform::kHKeyLocalMachine;

std::string machine_value(const std::string& key, const std::string& name) {
    platform::RegistryStore store(sample_dir() / "registry.ini");
    return store.query_value(kHKeyLocalMachine, key, name).value_or("<missing>");
}

// The path names a database of this build's sample folder that holds `table`.
void expect_database(const std::string& path, const std::string& table) {
    ASSERT_EQ(fs::path(path).parent_path(), sample_dir()) << path;
    SampleDb db(fs::path(path).filename().string());
    EXPECT_TRUE(db.has_table(table)) << path << " lacks " << table;
}

TEST(SampleInstall, MachineStoreNamesTheBuiltDatabases) {
    ASSERT_TRUE(fs::exists(sample_dir() / "registry.ini"));
    const std::string settings = "SOFTWARE\\Qarn\\HXQ\\Settings";
    expect_database(machine_value(settings, "HXQnew"), "ModelTree");
    expect_database(machine_value(settings, "ConvertDB"), "Convert");
    expect_database(machine_value("SOFTWARE\\Qarn\\HXQSelector\\Info", "DBPath"), "HXQMeas");
    // The fluid database is built by the fluid component's sample folder; only its place
    // is fixed here.
    EXPECT_EQ(fs::path(machine_value(settings, "DBFluid2000")).parent_path(), sample_dir());
    EXPECT_TRUE(fs::path(machine_value(settings, "TemplatePath")).is_absolute());
    EXPECT_EQ(machine_value(settings, "LangTemplate"), "English");
}

TEST(SampleInstall, UserSettingsNameTheStockDatabaseAndAWritableUserFolder) {
    const auto ini = platform::ProfileFile::load(sample_dir() / "hxq.ini");
    expect_database(ini.read("Action", "DBStock", ""), "Stock");
    for (const char* key : {"HXQSave", "DBSave", "DBUserfluid2000"}) {
        fs::path p = ini.read("Action", key, "");
        EXPECT_TRUE(p.is_absolute()) << key;
        EXPECT_TRUE(fs::is_directory(p.parent_path())) << key << " " << p;
    }
    // Paths must survive the 128-character read buffer of the settings code.
    for (const auto& key : ini.keys("Action"))
        EXPECT_EQ(ini.read("Action", key, ""), ini.value("Action", key).value_or("")) << key;
}

}  // namespace
}  // namespace hxq::sample_test
