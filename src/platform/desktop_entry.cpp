#include "platform/desktop_entry.h"

#include "platform/shell.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

namespace hxq::platform {
namespace {

namespace fs = std::filesystem;

// group -> key -> value; the first of duplicate keys wins.
using IniGroups = std::map<std::string, std::map<std::string, std::string>>;

std::string trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return std::string(s.substr(first, last - first + 1));
}

std::vector<std::string> split(std::string_view s, char sep) {
    std::vector<std::string> parts;
    while (!s.empty()) {
        const auto pos = s.find(sep);
        if (std::string part = trim(s.substr(0, pos)); !part.empty()) parts.push_back(std::move(part));
        if (pos == std::string_view::npos) break;
        s.remove_prefix(pos + 1);
    }
    return parts;
}

IniGroups read_groups(const fs::path& file) {
    IniGroups groups;
    std::ifstream in(file);
    std::string line, group;
    while (std::getline(in, line)) {
        const std::string text = trim(line);
        if (text.empty() || text.front() == '#') continue;
        if (text.front() == '[' && text.back() == ']') {
            group = text.substr(1, text.size() - 2);
            continue;
        }
        const auto eq = text.find('=');
        if (eq == std::string::npos || group.empty()) continue;
        groups[group].emplace(trim(std::string_view(text).substr(0, eq)), trim(std::string_view(text).substr(eq + 1)));
    }
    return groups;
}

// The escapes of a desktop entry's string values; others ("\"" in an Exec line) are left
// for the quoting rules.
std::string unescape_value(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (const char c = value[++i]) {
        case 's': out += ' '; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '\\': out += '\\'; break;
        default: out += '\\'; out += c; break;
        }
    }
    return out;
}

// The words of an Exec line with its double-quote rules undone; nothing on an unclosed quote.
std::optional<std::vector<std::string>> exec_words(std::string_view exec) {
    std::vector<std::string> words;
    std::string word;
    bool in_word = false, quoted = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < exec.size() && std::string_view("\"`$\\").find(exec[i + 1]) != std::string_view::npos) {
                word += exec[++i];
            } else {
                word += c;
            }
        } else if (c == '"') {
            quoted = in_word = true;
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (in_word) words.push_back(std::move(word));
            word.clear();
            in_word = false;
        } else {
            word += c;
            in_word = true;
        }
    }
    if (quoted) return std::nullopt;
    if (in_word) words.push_back(std::move(word));
    return words;
}

bool is_file_code(char c) { return c == 'f' || c == 'F' || c == 'u' || c == 'U'; }

std::vector<fs::path> env_folders(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    std::vector<fs::path> folders;
    for (const auto& part : split(value && *value ? value : fallback, ':'))
        if (part.front() == '/') folders.emplace_back(part);  // relative entries are invalid
    return folders;
}

fs::path home() {
    const char* h = std::getenv("HOME");
    return h && *h ? fs::path(h) : fs::path("/");
}

fs::path env_home_folder(const char* name, const fs::path& fallback) {
    const char* value = std::getenv(name);
    return value && *value == '/' ? fs::path(value) : fallback;
}

std::vector<fs::path> application_folders() {
    std::vector<fs::path> folders{env_home_folder("XDG_DATA_HOME", home() / ".local/share") / "applications"};
    for (const auto& f : env_folders("XDG_DATA_DIRS", "/usr/local/share:/usr/share")) folders.push_back(f / "applications");
    return folders;
}

// The mimeapps.list files in the order they take precedence, each desktop-specific one
// before the general one of its folder.
std::vector<fs::path> mimeapps_files() {
    std::vector<fs::path> folders{env_home_folder("XDG_CONFIG_HOME", home() / ".config")};
    for (const auto& f : env_folders("XDG_CONFIG_DIRS", "/etc/xdg")) folders.push_back(f);
    for (const auto& f : application_folders()) folders.push_back(f);
    std::vector<std::string> desktops;
    if (const char* d = std::getenv("XDG_CURRENT_DESKTOP"))
        for (auto name : split(d, ':')) {
            std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
            desktops.push_back(name);
        }
    std::vector<fs::path> files;
    for (const auto& folder : folders) {
        for (const auto& desktop : desktops) files.push_back(folder / (desktop + "-mimeapps.list"));
        files.push_back(folder / "mimeapps.list");
    }
    return files;
}

// The installed desktop entries by id, the first of an id in folder order winning, and
// in that order.
class EntryIndex {
public:
    EntryIndex() {
        std::set<std::string> seen;
        for (const auto& folder : application_folders()) {
            std::error_code ec;
            std::vector<fs::path> files;
            for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
                if (it->path().extension() == ".desktop") files.push_back(it->path());
            std::sort(files.begin(), files.end());  // a stable order for the MimeType fallback
            for (const auto& file : files) {
                std::string id = file.lexically_relative(folder).string();
                std::replace(id.begin(), id.end(), '/', '-');
                if (!seen.insert(id).second) continue;
                if (auto entry = read_desktop_entry(file, id)) entries_.push_back(std::move(*entry));
            }
        }
    }

    // The entry of `id` when it is installed and can run.
    const DesktopEntry* usable(const std::string& id) const {
        for (const auto& e : entries_)
            if (e.id == id) return runnable(e) ? &e : nullptr;
        return nullptr;
    }
    const std::vector<DesktopEntry>& entries() const { return entries_; }

    static bool runnable(const DesktopEntry& e) {
        if (e.hidden) return false;
        if (!e.try_exec.empty() && find_program(e.try_exec).empty()) return false;
        return !handler_program(e).empty();
    }

private:
    std::vector<DesktopEntry> entries_;
};

const DesktopEntry* first_usable(const EntryIndex& index, const std::string& ids,
                                 const std::set<std::string>& removed = {}) {
    for (const auto& id : split(ids, ';'))
        if (!removed.count(id))
            if (const auto* e = index.usable(id)) return e;
    return nullptr;
}

// True when the session names a desktop environment, whose own store of defaults
// xdg-mime knows. Without one xdg-mime reads the same files we do, only slower.
bool desktop_session() {
    for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                             "MATE_DESKTOP_SESSION_ID"})
        if (const char* value = std::getenv(name); value && *value) return true;
    return false;
}

std::optional<DesktopEntry> ask_xdg_mime(const EntryIndex& index, std::string_view mime_type) {
    if (!desktop_session() || find_program("xdg-mime").empty()) return std::nullopt;
    try {
        const auto result = run_program({"xdg-mime", "query", "default", std::string(mime_type)});
        if (result.exit_code != 0) return std::nullopt;
        if (const auto* e = first_usable(index, trim(result.out))) return *e;
    } catch (const std::exception&) {
        // A broken xdg-utils leaves our own reading of the same files.
    }
    return std::nullopt;
}

std::string find_value(const IniGroups& groups, const std::string& group, std::string_view key) {
    const auto g = groups.find(group);
    if (g == groups.end()) return {};
    const auto v = g->second.find(std::string(key));
    return v == g->second.end() ? std::string() : v->second;
}

}  // namespace

std::optional<DesktopEntry> read_desktop_entry(const fs::path& file, std::string id) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return std::nullopt;
    const IniGroups groups = read_groups(file);
    const auto g = groups.find("Desktop Entry");
    if (g == groups.end()) return std::nullopt;
    const auto value = [&](const char* key) {
        const auto v = g->second.find(key);
        return v == g->second.end() ? std::string() : unescape_value(v->second);
    };
    DesktopEntry entry;
    entry.id = std::move(id);
    entry.file = file;
    entry.name = value("Name");
    entry.icon = value("Icon");
    entry.exec = value("Exec");
    entry.try_exec = value("TryExec");
    entry.mime_types = split(value("MimeType"), ';');
    entry.hidden = value("Hidden") == "true";
    return entry;
}

std::vector<std::string> expand_exec(const DesktopEntry& entry, const std::vector<std::string>& files) {
    const auto words = exec_words(entry.exec);
    if (!words || words->empty()) return {};
    std::vector<std::string> argv;
    bool had_file_code = false;
    for (const auto& word : *words) {
        if (word == "%F" || word == "%U") {
            argv.insert(argv.end(), files.begin(), files.end());
            had_file_code = true;
            continue;
        }
        if (word == "%i") {
            if (!entry.icon.empty()) argv.insert(argv.end(), {"--icon", entry.icon});
            continue;
        }
        std::string out;
        bool only_codes = true;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (word[i] != '%' || i + 1 == word.size()) {
                out += word[i];
                only_codes = false;
                continue;
            }
            const char code = word[++i];
            if (is_file_code(code)) {
                had_file_code = true;
                if (!files.empty()) out += files.front();
            } else if (code == '%') {
                out += '%';
                only_codes = false;
            } else if (code == 'c') {
                out += entry.name;
            } else if (code == 'k') {
                out += entry.file.string();
            }
        }
        // A word that was nothing but codes that expanded to nothing goes away entirely.
        if (!out.empty() || !only_codes) argv.push_back(std::move(out));
    }
    if (!had_file_code) argv.insert(argv.end(), files.begin(), files.end());
    return argv;
}

fs::path handler_program(const DesktopEntry& entry) {
    const auto words = exec_words(entry.exec);
    if (!words || words->empty()) return {};
    return find_program(words->front());
}

std::optional<DesktopEntry> default_handler(std::string_view mime_type) {
    const EntryIndex index;
    if (auto e = ask_xdg_mime(index, mime_type)) return e;

    const std::string mime(mime_type);
    const auto lists = mimeapps_files();
    std::vector<IniGroups> parsed;
    for (const auto& file : lists) parsed.push_back(read_groups(file));
    for (const auto& groups : parsed)
        if (const auto* e = first_usable(index, find_value(groups, "Default Applications", mime))) return *e;
    for (const auto& folder : application_folders())
        if (const auto* e = first_usable(index, find_value(read_groups(folder / "defaults.list"), "Default Applications", mime)))
            return *e;

    // No default: the associations, less those removed by a file of higher precedence.
    std::set<std::string> removed;
    for (const auto& groups : parsed) {
        if (const auto* e = first_usable(index, find_value(groups, "Added Associations", mime), removed)) return *e;
        for (const auto& id : split(find_value(groups, "Removed Associations", mime), ';')) removed.insert(id);
    }
    for (const auto& e : index.entries())
        if (!removed.count(e.id) && std::find(e.mime_types.begin(), e.mime_types.end(), mime) != e.mime_types.end() &&
            EntryIndex::runnable(e))
            return e;
    return std::nullopt;
}

std::vector<std::string> extension_mime_types(std::string_view extension) {
    std::string ext(extension);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".rtf") return {"application/rtf", "text/rtf"};
    if (ext == ".doc") return {"application/msword"};
    if (ext == ".docx") return {"application/vnd.openxmlformats-officedocument.wordprocessingml.document"};
    if (ext == ".pdf") return {"application/pdf"};
    if (ext == ".txt") return {"text/plain"};
    return {};
}

std::optional<DesktopEntry> default_handler_for_extension(std::string_view extension) {
    for (const auto& mime : extension_mime_types(extension))
        if (auto e = default_handler(mime)) return e;
    return std::nullopt;
}

}  // namespace hxq::platform
