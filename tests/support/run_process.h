// Runs a built program in a child process (no shell) and collects its exit code and
// output, for the suites that test programs as their users run them.
#pragma once

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

struct ProcessOutcome {
    int exit_code = -1;  // -1 when the program could not be started or did not exit
    std::string out;
    std::string err;
};

inline std::string slurp_file(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs `program` with `args`; stdout and stderr go through files in `scratch`. The
// environment is this process's without the variables named in `unset` ("NAME"), with
// `add` ("NAME=value") after it.
inline ProcessOutcome run_process(const std::string& program, const std::vector<std::string>& args,
                                  const std::filesystem::path& scratch, const std::vector<std::string>& unset = {},
                                  const std::vector<std::string>& add = {}) {
    std::vector<std::string> env_text;
    for (char** e = environ; *e; ++e) {
        bool keep = true;
        for (const auto& name : unset)
            if (std::strncmp(*e, name.c_str(), name.size()) == 0 && (*e)[name.size()] == '=') keep = false;
        if (keep) env_text.emplace_back(*e);
    }
    env_text.insert(env_text.end(), add.begin(), add.end());
    std::vector<char*> env;
    for (auto& e : env_text) env.push_back(e.data());
    env.push_back(nullptr);

    std::vector<std::string> argv_text{program};
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argv_text) argv.push_back(a.data());
    argv.push_back(nullptr);

    const auto out = scratch / "stdout.txt";
    const auto err = scratch / "stderr.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    ProcessOutcome outcome;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        outcome.err = "cannot start " + program + ": " + std::strerror(rc);
        return outcome;
    }
    int status = 0;
    waitpid(pid, &status, 0);
    outcome.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    outcome.out = slurp_file(out);
    outcome.err = slurp_file(err);
    return outcome;
}

// A fresh folder for one test under the build's scratch folder, removed at its end.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::filesystem::path& root, const std::string& name)
        : path_(root / (name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    std::filesystem::path write(const std::string& name, const std::string& content) const {
        const auto file = path_ / name;
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }

private:
    std::filesystem::path path_;
};

#if defined(HXQ_PROGRAM) && defined(HXQ_SOURCE_DIR)
// Runs the built hxq as its user does: without HXQ_REGISTRY (the program finds the build's
// sample installation by itself) and in the C locale ("." the decimal separator whatever
// the machine's language); `extra_env` ("NAME=value") is added after that.
inline ProcessOutcome run_hxq(const std::vector<std::string>& args, const std::filesystem::path& scratch,
                              const std::vector<std::string>& extra_env = {}) {
    std::vector<std::string> env{"LC_ALL=C"};
    env.insert(env.end(), extra_env.begin(), extra_env.end());
    return run_process(HXQ_PROGRAM, args, scratch, {"HXQ_REGISTRY", "LC_ALL"}, env);
}

// A duty file of the sample installation.
inline std::string sample_duty(const std::string& name) {
    return std::string(HXQ_SOURCE_DIR) + "/sample/duties/" + name;
}
#endif

}  // namespace hxq::test
