// What the platform and settings tests share: a scratch folder per test, whole-file reads
// and writes, an environment variable changed for one scope, and the Error a call raises.
#pragma once

#include "platform/error.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include <unistd.h>

namespace hxq::test {

// A folder of this test (and this process) under the build's scratch area, removed afterwards.
class ScratchDir {
public:
    ScratchDir() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "scratch";
        for (char& c : name)
            if (c == '/') c = '_';
        path_ = std::filesystem::path(HXQ_TEST_TMP) / (name + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::string read_file(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

inline void write_file(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// Sets an environment variable (unsets it for nullopt) and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        set(value);
    }
    ~ScopedEnv() { set(old_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void set(const std::optional<std::string>& value) {
        if (value) ::setenv(name_, value->c_str(), 1);
        else ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The Error that f raises, nothing when it raises none.
template <class F>
std::optional<platform::Error> raised(F&& f) {
    try {
        f();
    } catch (const platform::Error& e) {
        return e;
    }
    return std::nullopt;
}

// The number of the Error that f raises; 0 when it raises none.
template <class F>
std::int32_t error_number(F&& f) {
    const auto e = raised(f);
    return e ? e->number() : 0;
}

}  // namespace hxq::test
