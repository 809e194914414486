#include "platform/profile.h"

#include "platform/error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace hxq::platform {

namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kBom = "\xEF\xBB\xBF";

std::string_view trim(std::string_view s) {
    std::size_t b = s.find_first_not_of(kBlanks);
    if (b == std::string_view::npos) return {};
    std::size_t e = s.find_last_not_of(kBlanks);
    return s.substr(b, e - b + 1);
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

Error bad_name(std::string_view what, std::string_view name) {
    return Error(5, "profile", std::string("Invalid procedure call or argument: ") + std::string(what) +
                                   " '" + std::string(name) + "'");
}

void check_section_name(std::string_view section) {
    if (trim(section).empty() || section.find_first_of("]\r\n") != std::string_view::npos)
        throw bad_name("section name", section);
}

void check_key_name(std::string_view key) {
    std::string_view t = trim(key);
    if (t.empty() || t.front() == '[' || t.front() == ';' ||
        key.find_first_of("=\r\n") != std::string_view::npos)
        throw bad_name("key name", key);
}

std::string single_line(std::string_view value) {
    std::string out(value);
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

}  // namespace

bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

std::string cut_to_characters(std::string_view text, std::size_t max_chars) {
    std::size_t chars = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (chars == max_chars) return std::string(text.substr(0, i));
        auto lead = static_cast<unsigned char>(text[i]);
        std::size_t len = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
        // A malformed sequence counts byte by byte.
        for (std::size_t k = 1; k < len; ++k)
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) len = 1;
        i += len;
        ++chars;
    }
    return std::string(text);
}

std::string profile_text(std::string_view value) {
    if (value.empty()) return {};
    bool blanks = kBlanks.find(value.front()) != std::string_view::npos ||
                  kBlanks.find(value.back()) != std::string_view::npos;
    bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    if (!blanks && !quoted) return std::string(value);
    return "\"" + std::string(value) + "\"";
}

ProfileFile::Line ProfileFile::classify(std::string text) {
    Line line;
    std::string_view t = trim(text);
    if (!t.empty() && t.front() == '[') {
        std::size_t close = t.find(']');
        line.kind = Line::Header;
        line.section = std::string(trim(t.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
    } else if (!t.empty() && t.front() != ';') {
        std::size_t eq = t.find('=');
        if (eq != std::string_view::npos) {
            line.kind = Line::Entry;
            line.key = std::string(trim(t.substr(0, eq)));
        }
    }
    line.text = std::move(text);
    return line;
}

ProfileFile ProfileFile::parse(std::string_view text) {
    ProfileFile profile;
    if (text.substr(0, kBom.size()) == kBom) {
        profile.bom_ = true;
        text.remove_prefix(kBom.size());
    }
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) end = text.size();
        profile.lines_.push_back(classify(std::string(text.substr(pos, end - pos))));
        pos = end;
        if (pos < text.size() && text[pos] == '\r') ++pos;
        if (pos < text.size() && text[pos] == '\n') ++pos;
    }
    return profile;
}

ProfileFile ProfileFile::load(const std::filesystem::path& file) {
    std::error_code ec;
    auto status = std::filesystem::status(file, ec);
    if (status.type() == std::filesystem::file_type::not_found) return ProfileFile();
    std::ifstream in(file, std::ios::binary);
    std::ostringstream buffer;
    if (in && std::filesystem::is_regular_file(status)) buffer << in.rdbuf();
    if (!in || !std::filesystem::is_regular_file(status) || in.bad())
        throw Error(75, "profile", "Path/File access error: cannot read " + file.string());
    return parse(buffer.str());
}

std::size_t ProfileFile::find_section(std::string_view section) const {
    std::string_view name = trim(section);
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Line::Header && iequals(lines_[i].section, name)) return i;
    return std::string::npos;
}

std::size_t ProfileFile::section_end(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Line::Header) ++i;
    return i;
}

std::size_t ProfileFile::find_key(std::string_view section, std::string_view key) const {
    std::size_t header = find_section(section);
    if (header == std::string::npos) return std::string::npos;
    std::string_view name = trim(key);
    std::size_t end = section_end(header);
    for (std::size_t i = header + 1; i < end; ++i)
        if (lines_[i].kind == Line::Entry && iequals(lines_[i].key, name)) return i;
    return std::string::npos;
}

std::optional<std::string> ProfileFile::raw_value(std::string_view section, std::string_view key) const {
    std::size_t i = find_key(section, key);
    if (i == std::string::npos) return std::nullopt;
    const std::string& text = lines_[i].text;
    return std::string(trim(std::string_view(text).substr(text.find('=') + 1)));
}

std::optional<std::string> ProfileFile::value(std::string_view section, std::string_view key) const {
    auto raw = raw_value(section, key);
    if (!raw) return raw;
    std::string& v = *raw;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return raw;
}

bool ProfileFile::has_section(std::string_view section) const {
    return find_section(section) != std::string::npos;
}

std::vector<std::string> ProfileFile::sections() const {
    std::vector<std::string> out;
    for (const auto& line : lines_) {
        if (line.kind != Line::Header) continue;
        bool seen = false;
        for (const auto& s : out) seen = seen || iequals(s, line.section);
        if (!seen) out.push_back(line.section);
    }
    return out;
}

std::vector<std::string> ProfileFile::keys(std::string_view section) const {
    std::vector<std::string> out;
    std::size_t header = find_section(section);
    if (header == std::string::npos) return out;
    std::size_t end = section_end(header);
    for (std::size_t i = header + 1; i < end; ++i) {
        if (lines_[i].kind != Line::Entry) continue;
        bool seen = false;
        for (const auto& k : out) seen = seen || iequals(k, lines_[i].key);
        if (!seen) out.push_back(lines_[i].key);
    }
    return out;
}

void ProfileFile::add_section(std::string_view section) {
    check_section_name(section);
    if (has_section(section)) return;
    if (!lines_.empty() && !trim(lines_.back().text).empty()) lines_.push_back(classify(""));
    lines_.push_back(classify("[" + std::string(trim(section)) + "]"));
}

void ProfileFile::set(std::string_view section, std::string_view key, std::string_view value) {
    check_section_name(section);
    check_key_name(key);
    std::string v = single_line(value);
    std::size_t i = find_key(section, key);
    if (i != std::string::npos) {
        lines_[i] = classify(lines_[i].key + "=" + v);
        return;
    }
    add_section(section);
    std::size_t header = find_section(section);
    // After the last non-blank line of the section, so the blank line that separates it
    // from the next section stays where it is.
    std::size_t at = section_end(header);
    while (at > header + 1 && trim(lines_[at - 1].text).empty()) --at;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at),
                  classify(std::string(trim(key)) + "=" + v));
}

bool ProfileFile::erase_key(std::string_view section, std::string_view key) {
    std::size_t i = find_key(section, key);
    if (i == std::string::npos) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
}

bool ProfileFile::erase_section(std::string_view section) {
    std::size_t header = find_section(section);
    if (header == std::string::npos) return false;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(section_end(header)));
    return true;
}

std::string ProfileFile::text() const {
    std::string out;
    if (bom_) out += kBom;
    for (const auto& line : lines_) {
        out += line.text;
        out += "\r\n";
    }
    return out;
}

void ProfileFile::save(const std::filesystem::path& file) const {
    namespace fs = std::filesystem;
    auto fail = [&](const std::string& why) {
        return Error(75, "profile", "Path/File access error: " + file.string() + ": " + why);
    };
    // Rename over the link target, not the link, so a linked settings file stays linked.
    std::error_code ec;
    fs::path target = file;
    if (fs::symlink_status(file, ec).type() == fs::file_type::symlink) {
        target = fs::canonical(file, ec);
        if (ec) throw fail(ec.message());
    }
    fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string tmpl = (dir / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(tmpl.data());
    if (fd < 0) throw fail(std::strerror(errno));
    struct stat st {};
    ::fchmod(fd, ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    std::string data = text();
    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            int err = errno;
            ::close(fd);
            ::unlink(tmpl.c_str());
            throw fail(std::strerror(err));
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        int err = errno;
        ::unlink(tmpl.c_str());
        throw fail(std::strerror(err));
    }
    if (std::rename(tmpl.c_str(), target.c_str()) != 0) {
        int err = errno;
        ::unlink(tmpl.c_str());
        throw fail(std::strerror(err));
    }
}

std::string ProfileFile::read(std::string_view section, std::string_view key, std::string_view default_value,
                              std::size_t buffer_size) const {
    std::size_t max_chars = buffer_size == 0 ? 0 : buffer_size - 1;
    if (auto v = value(section, key)) return cut_to_characters(*v, max_chars);
    std::string_view d = default_value;
    std::size_t e = d.find_last_not_of(kBlanks);
    d = e == std::string_view::npos ? std::string_view() : d.substr(0, e + 1);
    return cut_to_characters(d, max_chars);
}

std::string read_profile_string(std::string_view section, std::string_view key,
                                std::string_view default_value, const std::filesystem::path& file,
                                std::size_t buffer_size) {
    ProfileFile profile;
    try {
        profile = ProfileFile::load(file);
    } catch (const Error&) {
        // An unreadable file reads like a missing one: every key takes its default.
    }
    return profile.read(section, key, default_value, buffer_size);
}

bool write_profile_string(std::string_view section, std::string_view key, std::string_view value,
                          const std::filesystem::path& file) {
    try {
        // Not writing over a file we could not read keeps what the user had in it.
        ProfileFile profile = ProfileFile::load(file);
        profile.set(section, key, value);
        profile.save(file);
    } catch (const Error& e) {
        if (e.number() != 75) throw;
        return false;
    }
    return true;
}

}  // namespace hxq::platform
