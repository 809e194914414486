// The localised texts of the library: identifier n of the English list is the text
// n + offset of the table, the offset being the language's (languages.h).
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace hxq::settings {

// Error numbers of the lookups: the identifier plus offset does not fit 16 bits, and the
// table has no text of that identifier.
inline constexpr std::int32_t kTextOverflowError = 6;
inline constexpr std::int32_t kTextNotFoundError = 326;

// The text of resource identifier `resource_id` (base identifier + offset);
// platform::Error kTextNotFoundError when the table holds none. Texts live as long as
// the program.
std::string_view resource_text(std::int32_t resource_id);

// The text of identifier `id` in the language of `offset`: id + offset summed in 16
// bits, platform::Error kTextOverflowError ("Overflow") when the sum leaves
// -32768..32767, kTextNotFoundError naming the identifier and the offset when there is no
// text. Untranslated texts are held in English in every block.
std::string_view localised_text(std::int16_t id, std::int16_t offset);

// The text of identifier `id` in the language of the current user settings
// (UserSettings.language.iOffset).
std::string_view localised_text(std::int16_t id);

// Whether the table holds the block of `offset` (a language whose file the build had).
bool has_text_block(std::int16_t offset);

// Every text of the block of `offset` by base identifier, sorted; empty when there is no
// such block.
std::vector<std::pair<std::int16_t, std::string_view>> block_texts(std::int16_t offset);

}  // namespace hxq::settings
