// The machine-wide store of key paths and text values that installations use for
// database and template locations, kept in one initialisation-style file:
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Qarn\HXQ\Settings]
//   HXQnew=/opt/hxq/data/products.db
//   @=the key's default (unnamed) value
//
// Key paths and value names compare case-insensitively. Values with blanks at either
// end, enclosing quotes or control characters are written in double quotes with
// \\ \" \n \r \t escapes; everything else is written as it is, so the file stays easy
// to edit by hand. The file is read at every query and replaced whole (through a
// temporary file) at every change.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hxq::platform {

// Root keys with the handle values callers pass around as numbers.
inline constexpr std::int32_t kHKeyClassesRoot = static_cast<std::int32_t>(0x80000000u);
inline constexpr std::int32_t kHKeyCurrentUser = static_cast<std::int32_t>(0x80000001u);
inline constexpr std::int32_t kHKeyLocalMachine = static_cast<std::int32_t>(0x80000002u);
inline constexpr std::int32_t kHKeyUsers = static_cast<std::int32_t>(0x80000003u);
inline constexpr std::int32_t kHKeyCurrentConfig = static_cast<std::int32_t>(0x80000005u);

// Environment variable naming the store's file.
inline constexpr const char* kRegistryEnv = "HXQ_REGISTRY";

// Error numbers and source of SetRegValue.
inline constexpr std::int32_t kRegistryCreateKeyError = 26001;
inline constexpr std::int32_t kRegistrySetValueError = static_cast<std::int32_t>(0x80040000u) + 27049;
inline constexpr const char* kRegistryErrorSource = "HXQAction.cRegistry";

// The text GetRegValue gives for a key or value that is not there.
inline constexpr const char* kRegistryMissing = "ERROR";

class RegistryStore {
public:
    explicit RegistryStore(std::filesystem::path file);

    // $HXQ_REGISTRY when set and not empty; else $XDG_CONFIG_HOME/hxq/registry.ini
    // (XDG_CONFIG_HOME absolute); else $HOME/.config/hxq/registry.ini; else
    // ./hxq-registry.ini.
    static std::filesystem::path default_path();

    const std::filesystem::path& file() const { return file_; }

    // The name of a root key ("HKEY_LOCAL_MACHINE"), empty for an unknown handle.
    static std::string root_name(std::int32_t root);
    // "ROOT\key\path" with separators tidied (no leading, trailing or doubled "\");
    // empty when the root is unknown or the path cannot be a key name.
    static std::string full_key(std::int32_t root, std::string_view key_path);

    // The value, or nothing when the key or the value does not exist or the store
    // cannot be read. "" names the key's default value.
    std::optional<std::string> query_value(std::int32_t root, std::string_view key_path,
                                           std::string_view value_name) const;
    // A key exists when it was created or when a key below it exists.
    bool key_exists(std::int32_t root, std::string_view key_path) const;

    // Create the key (and the file with its folder) when needed; false when that fails.
    bool create_key(std::int32_t root, std::string_view key_path);
    // Create the key when needed and set the value; false when that fails.
    bool set_value(std::int32_t root, std::string_view key_path, std::string_view value_name,
                   std::string_view value);
    bool delete_value(std::int32_t root, std::string_view key_path, std::string_view value_name);

private:
    std::filesystem::path file_;
};

// The text of a registry value (the store of default_path()), or "ERROR" when the key
// or value does not exist.
std::string GetRegValue(std::int32_t hClassKey, const std::string& sSectionKey,
                        const std::string& sValueKey);

// Sets a registry value, creating the key. Throws Error 26001 when the key cannot be
// created and Error -2147194455 when the value cannot be written, both with source
// "HXQAction.cRegistry" and the text
//   Failed to set registry value Key: '<hClassKey>',Section: '<sSectionKey>',Key: '<sValueKey>' to value: '<sValue>'
// (the root as its signed number, e.g. -2147483646 for HKEY_LOCAL_MACHINE).
void SetRegValue(std::int32_t hClassKey, const std::string& sSectionKey, const std::string& sValueKey,
                 const std::string& sValue);

}  // namespace hxq::platform
