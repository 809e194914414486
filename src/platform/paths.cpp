#include "platform/paths.h"

#include "platform/error.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>

#include <fcntl.h>
#include <fmt/format.h>
#include <pwd.h>
#include <unistd.h>

namespace hxq::platform {

std::filesystem::path application_path() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || !exe.has_parent_path()) return default_working_folder();
    return exe.parent_path();
}

std::filesystem::path default_working_folder() {
    std::error_code ec;
    auto cwd = std::filesystem::current_path(ec);
    return ec ? std::filesystem::path(".") : cwd;
}

std::string native_path(std::string_view windows_style) {
    std::string out(windows_style);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::string join_path(std::string_view folder, std::string_view tail) {
    std::string head = native_path(folder);
    std::string rest = native_path(tail);
    if (head.empty()) return rest;
    // Keep a lone "/" (the root) while dropping the separators that would double up.
    while (head.size() > 1 && head.back() == '/') head.pop_back();
    std::size_t skip = rest.find_first_not_of('/');
    rest = skip == std::string::npos ? std::string() : rest.substr(skip);
    if (rest.empty()) return head;
    return head == "/" ? head + rest : head + "/" + rest;
}

std::filesystem::path temp_folder() {
    std::error_code ec;
    auto dir = std::filesystem::temp_directory_path(ec);
    return ec ? std::filesystem::path("/tmp") : dir;
}

std::string temp_name() {
    static thread_local std::mt19937 gen{std::random_device{}()};
    return fmt::format("hxq{:08x}.tmp", static_cast<unsigned>(gen()));
}

std::filesystem::path create_temp_file(const std::filesystem::path& folder, std::string_view extension) {
    std::string tmpl = (folder / "hxqXXXXXX").string() + std::string(extension);
    int fd = ::mkstemps(tmpl.data(), static_cast<int>(extension.size()));
    if (fd < 0)
        throw Error(75, "paths", "Path/File access error: " + folder.string() + ": " + std::strerror(errno));
    ::close(fd);
    return tmpl;
}

namespace {

std::filesystem::path home_folder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return temp_folder();
}

// True when `folder` exists or could be made, and new files can be created in it.
bool usable_folder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    return std::filesystem::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

std::filesystem::path data_folder() {
    // A relative value is invalid by the base-directory rules and is ignored.
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg && *xdg == '/') return std::filesystem::path(xdg) / "hxq";
    return home_folder() / ".local" / "share" / "hxq";
}

std::filesystem::path document_folder(const std::filesystem::path& application_folder) {
    // An installed program's folder is normally read-only; a build or a portable copy's
    // folder is not, and keeps the documents beside the program as users expect.
    const auto beside = application_folder / "tmp";
    if (usable_folder(beside)) return beside;
    const auto data = data_folder() / "tmp";
    if (usable_folder(data)) return data;
    throw Error(75, "paths",
                "Path/File access error: neither " + beside.string() + " nor " + data.string() + " can be written");
}

std::filesystem::path create_unique_file(const std::filesystem::path& folder, std::string_view stem,
                                         std::string_view extension) {
    constexpr int kMaxAttempts = 10000;
    for (int n = 1; n <= kMaxAttempts; ++n) {
        const std::string name = n == 1 ? fmt::format("{}{}", stem, extension) : fmt::format("{}_{}{}", stem, n, extension);
        const auto file = folder / name;
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            ::close(fd);
            return file;
        }
        if (errno != EEXIST)
            throw Error(75, "paths", "Path/File access error: " + file.string() + ": " + std::strerror(errno));
    }
    throw Error(75, "paths", fmt::format("Path/File access error: no free name for {}{} in {}", stem, extension,
                                         folder.string()));
}

bool file_exists(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::exists(file, ec) && !std::filesystem::is_directory(file, ec);
}

bool delete_file(const std::filesystem::path& file) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
    return !file_exists(file);
}

}  // namespace hxq::platform
