#include "platform/paths.h"

#include "platform/error.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <random>

#include <fmt/format.h>
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
