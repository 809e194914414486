// The fixture of the program tests: hxq run as its user runs it, in a scratch folder of
// the running test, finding the sample installation by itself.
#pragma once

#include "support/run_process.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace hxq::test {

// A run the program must refuse: its exit code and a text of its error output.
struct Refusal {
    std::vector<std::string> args;
    int exit_code;
    std::string says;
    std::vector<std::string> env = {};
};

// The value of a quantity of the JSON output ({"value": ..., "unit": ...}).
inline double v(const nlohmann::json& quantity) { return quantity.at("value").get<double>(); }

class HxqProgram : public ::testing::Test {
protected:
    ProcessOutcome hxq(const std::vector<std::string>& args, const std::vector<std::string>& extra_env = {}) const {
        return run_hxq(args, scratch_.path(), extra_env);
    }

    // The run fails with the refusal's code and text and prints nothing on stdout.
    void expect_refused(const Refusal& refusal) const {
        std::string command = "hxq";
        for (const auto& a : refusal.args) command += " " + a;
        SCOPED_TRACE(command);
        const ProcessOutcome r = hxq(refusal.args, refusal.env);
        EXPECT_EQ(r.exit_code, refusal.exit_code) << r.err;
        EXPECT_NE(r.err.find(refusal.says), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }

    // The JSON of a run that must succeed.
    nlohmann::json json_of(std::vector<std::string> args) const {
        args.emplace_back("--json");
        const ProcessOutcome r = hxq(args);
        EXPECT_EQ(r.exit_code, 0) << r.err;
        return nlohmann::json::parse(r.out, nullptr, false);
    }

    std::filesystem::path write(const std::string& name, const std::string& text) const {
        return scratch_.write(name, text);
    }

    ScratchFolder scratch_{HXQ_TEST_TMP, std::string("app-") +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name() +
                                             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name()};
    const std::filesystem::path& dir_ = scratch_.path();
};

}  // namespace hxq::test
