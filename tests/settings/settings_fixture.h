// A freshly started library for each settings test: its own registry file, settings
// file and working folder under a scratch folder, and empty unit tables.
#pragma once

#include "platform/paths_scratch.h"
#include "platform/registry.h"
#include "settings/library_state.h"
#include "settings/unit_tables.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace hxq::test {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv(platform::kRegistryEnv)) old_registry_ = old;
        ::setenv(platform::kRegistryEnv, (dir_ / "registry.ini").c_str(), 1);
        std::filesystem::create_directories(work());
        settings::reset_library_state();
        settings::UnitTable.Clear();
        settings::UnitGroupTable.Clear();
        auto& host = settings::library_state().host;
        host.IniFilePath = ini().string();
        host.WorkingPath = work().string();
    }
    void TearDown() override {
        settings::reset_library_state();
        settings::UnitTable.Clear();
        settings::UnitGroupTable.Clear();
        if (old_registry_) ::setenv(platform::kRegistryEnv, old_registry_->c_str(), 1);
        else ::unsetenv(platform::kRegistryEnv);
    }

    // The file settings are read from, and the working folder they are written to.
    std::filesystem::path ini() const { return dir_ / "read.ini"; }
    std::filesystem::path work() const { return dir_ / "work"; }
    std::filesystem::path written() const { return work() / "hxq.ini"; }

    ScratchDir dir_;

private:
    std::optional<std::string> old_registry_;
};

}  // namespace hxq::test
