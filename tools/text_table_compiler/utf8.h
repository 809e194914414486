// UTF-8 validation for the text files: the table holds the texts byte for byte, so a
// file in another encoding has to stop the build rather than show broken letters.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace hxq::tools {

// The index of the first byte that does not begin or continue a well-formed UTF-8
// sequence (overlong forms, surrogates and values beyond U+10FFFF are ill-formed), or
// nothing when the whole text is valid.
std::optional<std::size_t> first_invalid_utf8(std::string_view text);

}  // namespace hxq::tools
