#include "document_output.h"

#include "output/document_viewer.h"
#include "platform/error.h"

#include <fmt/core.h>

#include <algorithm>
#include <cctype>

namespace hxq::app {

std::filesystem::path document_path(const std::string& given, const std::string& duty, int alternative,
                                    const std::string& suffix) {
    if (!given.empty()) return given;
    return std::filesystem::current_path() /
           fmt::format("{}-{}{}.rtf", std::filesystem::path(duty).stem().string(), alternative, suffix);
}

bool supported_document(const std::filesystem::path& file, std::initializer_list<const char*> extensions) {
    std::string extension = file.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return std::any_of(extensions.begin(), extensions.end(), [&](const char* e) { return extension == e; });
}

int open_written(const std::filesystem::path& file, const std::string& command) {
    try {
        output::open_document(file);
        return 0;
    } catch (const platform::Error& e) {
        fmt::print(stderr, "hxq {}: cannot open {}: {}\n", command, file.string(), e.description());
        return 1;
    }
}

}  // namespace hxq::app
