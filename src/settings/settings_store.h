// Loading and saving the settings records: database paths from the registry store,
// user preferences from the initialisation file, and the text forms of the list-valued
// keys.
#pragma once

#include "settings/library_state.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace hxq::settings {

// Registry key of an application part: HKEY_LOCAL_MACHINE "SOFTWARE\Qarn\<name>\<part>".
std::string setting_key_path(const std::string& TheName, const std::string& ThePart);

// The registry value TheKey of that key, or DefValue when it is not there.
std::string GetSettingHXQ(const std::string& TheName, const std::string& ThePart, const std::string& TheKey,
                          const std::string& DefValue);
// Sets it; "" on success, "ERROR" when the value could not be written.
std::string SaveSettingHXQ(const std::string& TheName, const std::string& ThePart, const std::string& TheKey,
                           const std::string& TheValue);

// A key of the settings read file through the 128-character read buffer.
std::string read_setting(const std::string& section, const std::string& key, const std::string& default_value);

// Default texts of the list-valued keys.
inline constexpr const char* kDefaultResultBox =
    "1*12,-1*13,-1*14,-1*15,-1*16,-1*19,0*0,0*1,0*2,0*3,0*4,0*5,0*6,0*7,0*8,0*9,0*10,0*11,0*17,0*18,0*20";
inline constexpr const char* kDefaultTableResult = "16,35";

// Text forms: entries "ShowRes*ResTextIndex" joined by "," (ShowRes as -1/0), and the
// table items joined by ",". A text that does not parse gives nothing.
std::optional<std::vector<ResultBoxType>> parse_result_box(const std::string& text);
std::string result_box_text(const std::vector<ResultBoxType>& boxes);
std::optional<std::vector<std::int16_t>> parse_table_items(const std::string& text);
// "16,35" when there are no items.
std::string table_items_text(const std::vector<std::int16_t>& items);

// Reads SettingsType and UserSettingsType into the library state, fixes the derived
// values, the unit captions and the output units. Runs every time it is called; clsOption
// calls it once.
void load_settings(LibraryState& state);

// Writes the user settings (and the output units) to the settings write file, all keys
// in one replacement of the file. Returns false when the file could not be written; it
// is then as it was.
bool save_settings(const LibraryState& state);

// Writes "PrintOutType" alone, as the settings object does when it ends.
bool save_print_out_type(const LibraryState& state);

}  // namespace hxq::settings
