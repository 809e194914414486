// The ten languages of the text table: code, English name and text offset. Hosts pick
// the user's language through these (`hxq texts --lang`, the options dialog's list).
#pragma once

#include "settings/settings_types.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace hxq::settings {

struct Language {
    std::string_view code;  // "fi"
    std::string_view name;  // "Finnish", as stored in the setting "Language"
    std::int16_t offset;    // 1000

    // The user setting of this language (sName, iOffset).
    LanuageType setting() const { return LanuageType{std::string(name), offset}; }
};

// In the order the options dialog lists them.
inline constexpr std::array<Language, 10> kLanguages{{
    {"en", "English", 0},
    {"sv", "Swedish", 10000},
    {"da", "Danish", 12000},
    {"fi", "Finnish", 1000},
    {"fr", "French", 2000},
    {"de", "German", 3000},
    {"it", "Italian", 5000},
    {"nl", "Dutch", 13000},
    {"no", "Norwegian", 6000},
    {"es", "Spanish", 9000},
}};

// The language of a code ("fi") or an English name ("Finnish"), either without case and
// with blanks around ignored; nothing for any other text.
std::optional<Language> FindLanguage(std::string_view name_or_code);

// The language of a text offset; nothing for an offset of no language (4000, ...).
std::optional<Language> language_of_offset(std::int16_t offset);

// "English (en), Swedish (sv), ..." for messages that list the choices.
std::string language_choices();

}  // namespace hxq::settings
