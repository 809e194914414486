#include "installation.h"

#include "platform/paths.h"
#include "platform/registry.h"

#include <cstdlib>

namespace hxq::app {

std::filesystem::path sample_installation() {
    return (platform::application_path() / ".." / ".." / "sample").lexically_normal();
}

std::string use_installation_registry() {
    if (const char* env = std::getenv(platform::kRegistryEnv); env && *env) return env;
    const auto sample = sample_installation() / "registry.ini";
    if (!std::filesystem::exists(sample)) return {};
    ::setenv(platform::kRegistryEnv, sample.c_str(), 1);
    return sample.string();
}

std::string installation_ini(const std::string& given) {
    if (!given.empty()) return given;
    const auto sample = sample_installation() / "hxq.ini";
    return std::filesystem::exists(sample) ? sample.string() : std::string();
}

}  // namespace hxq::app
