// Runs the built hxq program (HXQ_PROGRAM) in a child process, as a user runs it, in a
// scratch folder of the calling test.
#pragma once

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace hxq::test {

struct ProgramOutcome {
    int exit_code = -1;
    std::string out;
    std::string err;
};

// A run the program must refuse: its exit code and a text of its error output.
struct Refusal {
    std::vector<std::string> args;
    int exit_code;
    std::string says;
    std::vector<std::string> env = {};
};

// A fresh folder of the running test under the scratch folder, removed when it ends.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::path(HXQ_TEST_TMP) /
               (std::string("app-") + info->test_suite_name() + "-" + info->name() + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    // Runs hxq with `args`; HXQ_REGISTRY is removed from the environment so that the
    // program has to find the sample installation of the build by itself, and the C
    // locale makes "." the decimal separator whatever the machine's language.
    // `extra_env` ("NAME=value") is added after that.
    ProgramOutcome hxq(std::vector<std::string> args, const std::vector<std::string>& extra_env = {}) const {
        std::vector<std::string> env_text;
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "HXQ_REGISTRY=", 13) != 0 && std::strncmp(*e, "LC_ALL=", 7) != 0)
                env_text.emplace_back(*e);
        env_text.emplace_back("LC_ALL=C");
        env_text.insert(env_text.end(), extra_env.begin(), extra_env.end());
        std::vector<char*> env;
        for (auto& e : env_text) env.push_back(e.data());
        env.push_back(nullptr);
        args.insert(args.begin(), HXQ_PROGRAM);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);

        const auto out = dir_ / "stdout.txt";
        const auto err = dir_ / "stderr.txt";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = 0;
        ProgramOutcome run;
        const int rc = posix_spawn(&pid, HXQ_PROGRAM, &actions, nullptr, argv.data(), env.data());
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) {
            ADD_FAILURE() << "cannot start " << HXQ_PROGRAM << ": " << std::strerror(rc);
            return run;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.out = slurp(out);
        run.err = slurp(err);
        return run;
    }

    // The run fails with the refusal's code and text and prints nothing on stdout.
    void expect_refused(const Refusal& refusal) const {
        std::string command = "hxq";
        for (const auto& a : refusal.args) command += " " + a;
        SCOPED_TRACE(command);
        const ProgramOutcome r = hxq(refusal.args, refusal.env);
        EXPECT_EQ(r.exit_code, refusal.exit_code) << r.err;
        EXPECT_NE(r.err.find(refusal.says), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }

    // The JSON of a run that must succeed.
    nlohmann::json json_of(std::vector<std::string> args) const {
        args.emplace_back("--json");
        const ProgramOutcome r = hxq(args);
        EXPECT_EQ(r.exit_code, 0) << r.err;
        return nlohmann::json::parse(r.out, nullptr, false);
    }

    static std::string sample_duty(const std::string& name) {
        return std::string(HXQ_SOURCE_DIR) + "/sample/duties/" + name;
    }

    std::filesystem::path write(const std::string& name, const std::string& text) const {
        const auto p = dir_ / name;
        std::ofstream(p, std::ios::binary) << text;
        return p;
    }

    static std::string slurp(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path dir_;
};

}  // namespace hxq::test
