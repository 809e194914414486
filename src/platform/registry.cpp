#include "platform/registry.h"

#include "platform/error.h"
#include "platform/profile.h"

#include <cstdlib>
#include <system_error>

namespace hxq::platform {

namespace {

constexpr std::string_view kDefaultValueName = "@";

bool needs_quotes(std::string_view v) {
    if (v.empty()) return false;
    if (v.front() == ' ' || v.front() == '\t' || v.back() == ' ' || v.back() == '\t') return true;
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) return true;
    for (char c : v)
        if (static_cast<unsigned char>(c) < 0x20) return true;
    return false;
}

std::string encode(std::string_view v) {
    if (!needs_quotes(v)) return std::string(v);
    std::string out = "\"";
    for (char c : v) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '"': out += "\\\""; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    return out + "\"";
}

std::string decode(const std::string& raw) {
    if (raw.size() < 2 || raw.front() != '"' || raw.back() != '"') return raw;
    std::string out;
    for (std::size_t i = 1; i + 1 < raw.size(); ++i) {
        char c = raw[i];
        char n = i + 2 < raw.size() ? raw[i + 1] : '\0';
        if (c == '\\' && (n == '\\' || n == '"' || n == 'n' || n == 'r' || n == 't')) {
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n == 't' ? '\t' : n;
            ++i;
        } else {
            // Any other backslash is text, as in a hand-written Windows path.
            out += c;
        }
    }
    return out;
}

// The name a value has in the file, or empty when the name cannot be stored.
std::string stored_name(std::string_view value_name) {
    if (value_name.empty()) return std::string(kDefaultValueName);
    if (value_name.front() == ' ' || value_name.front() == '\t' || value_name.back() == ' ' ||
        value_name.back() == '\t' || value_name.front() == '[' || value_name.front() == ';' ||
        value_name == kDefaultValueName || value_name.find_first_of("=\r\n") != std::string_view::npos)
        return {};
    return std::string(value_name);
}

}  // namespace

RegistryStore::RegistryStore(std::filesystem::path file) : file_(std::move(file)) {}

std::filesystem::path RegistryStore::default_path() {
    if (const char* env = std::getenv(kRegistryEnv); env && *env) return env;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        return std::filesystem::path(xdg) / "hxq" / "registry.ini";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".config" / "hxq" / "registry.ini";
    return "hxq-registry.ini";
}

std::string RegistryStore::root_name(std::int32_t root) {
    switch (root) {
        case kHKeyClassesRoot: return "HKEY_CLASSES_ROOT";
        case kHKeyCurrentUser: return "HKEY_CURRENT_USER";
        case kHKeyLocalMachine: return "HKEY_LOCAL_MACHINE";
        case kHKeyUsers: return "HKEY_USERS";
        case kHKeyCurrentConfig: return "HKEY_CURRENT_CONFIG";
        default: return {};
    }
}

std::string RegistryStore::full_key(std::int32_t root, std::string_view key_path) {
    std::string out = root_name(root);
    if (out.empty() || key_path.find_first_of("]\r\n") != std::string_view::npos) return {};
    std::size_t pos = 0;
    while (pos <= key_path.size()) {
        std::size_t end = key_path.find('\\', pos);
        if (end == std::string_view::npos) end = key_path.size();
        std::string_view part = key_path.substr(pos, end - pos);
        if (!part.empty()) {
            // Blanks around a name part would not survive the file's trimming.
            if (part.front() == ' ' || part.back() == ' ') return {};
            out += '\\';
            out += part;
        }
        pos = end + 1;
    }
    return out;
}

std::optional<std::string> RegistryStore::query_value(std::int32_t root, std::string_view key_path,
                                                      std::string_view value_name) const {
    std::string key = full_key(root, key_path);
    std::string name = stored_name(value_name);
    if (key.empty() || name.empty()) return std::nullopt;
    try {
        auto raw = ProfileFile::load(file_).raw_value(key, name);
        if (!raw) return std::nullopt;
        return decode(*raw);
    } catch (const Error&) {
        return std::nullopt;
    }
}

bool RegistryStore::key_exists(std::int32_t root, std::string_view key_path) const {
    std::string key = full_key(root, key_path);
    if (key.empty()) return false;
    try {
        for (const auto& section : ProfileFile::load(file_).sections()) {
            if (iequals(section, key)) return true;
            if (section.size() > key.size() && section[key.size()] == '\\' &&
                iequals(std::string_view(section).substr(0, key.size()), key))
                return true;
        }
    } catch (const Error&) {
    }
    return false;
}

namespace {

// Loads the store, lets `change` edit it and writes it back when `change` says it
// changed something. False when the store cannot be read or written.
template <class Change>
bool rewrite(const std::filesystem::path& file, Change change) {
    try {
        ProfileFile store = ProfileFile::load(file);
        if (!change(store)) return true;
        if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
        store.save(file);
        return true;
    } catch (const Error&) {
        return false;
    } catch (const std::filesystem::filesystem_error&) {
        return false;
    }
}

}  // namespace

bool RegistryStore::create_key(std::int32_t root, std::string_view key_path) {
    std::string key = full_key(root, key_path);
    if (key.empty()) return false;
    return rewrite(file_, [&](ProfileFile& store) {
        if (store.has_section(key)) return false;
        store.add_section(key);
        return true;
    });
}

bool RegistryStore::set_value(std::int32_t root, std::string_view key_path, std::string_view value_name,
                              std::string_view value) {
    std::string key = full_key(root, key_path);
    std::string name = stored_name(value_name);
    if (key.empty() || name.empty()) return false;
    return rewrite(file_, [&](ProfileFile& store) {
        store.set(key, name, encode(value));
        return true;
    });
}

bool RegistryStore::delete_value(std::int32_t root, std::string_view key_path, std::string_view value_name) {
    std::string key = full_key(root, key_path);
    std::string name = stored_name(value_name);
    if (key.empty() || name.empty()) return false;
    bool found = false;
    bool written = rewrite(file_, [&](ProfileFile& store) { return found = store.erase_key(key, name); });
    return found && written;
}

std::string GetRegValue(std::int32_t hClassKey, const std::string& sSectionKey, const std::string& sValueKey) {
    RegistryStore store(RegistryStore::default_path());
    return store.query_value(hClassKey, sSectionKey, sValueKey).value_or(kRegistryMissing);
}

void SetRegValue(std::int32_t hClassKey, const std::string& sSectionKey, const std::string& sValueKey,
                 const std::string& sValue) {
    auto failure = [&](std::int32_t number) {
        return Error(number, kRegistryErrorSource,
                     "Failed to set registry value Key: '" + std::to_string(hClassKey) + "',Section: '" +
                         sSectionKey + "',Key: '" + sValueKey + "' to value: '" + sValue + "'");
    };
    RegistryStore store(RegistryStore::default_path());
    if (!store.create_key(hClassKey, sSectionKey)) throw failure(kRegistryCreateKeyError);
    if (!store.set_value(hClassKey, sSectionKey, sValueKey, sValue)) throw failure(kRegistrySetValueError);
}

}  // namespace hxq::platform
