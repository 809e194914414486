// Engine error messages in the user's language, through the text table: each engine
// code has one text among 144 and 215-257. The English messages of
// records/engine_error_text.h stay the library's default wording.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace hxq::settings {

// The text identifier of engine error `code` (1..46); `calc_type` picks the text of code
// 6 as in core::EngineErrorMessage. Nothing for a code without a message.
std::optional<std::int16_t> engine_error_text_id(int code, int calc_type);

// The message of engine error `code` in the language of `offset`; "" for a code without
// a message. platform::Error from the table lookup when the language has no block.
std::string LocalEngineErrorMessage(int code, int calc_type, std::int16_t offset);

// "<text 229> <code> : <message>" ("Error No.: 15 : No solution found" in English) for an
// engine error number (kObjectError + code); the message is empty for codes outside 1..46
// and codes without one.
std::string LocalEngineErrorText(std::int32_t number, int calc_type, std::int16_t offset);

}  // namespace hxq::settings
