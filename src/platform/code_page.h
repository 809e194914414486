// Text in the Windows ANSI code pages the documents and merge data files are written in
// (1250 Central European, 1251 Cyrillic, 1252 Western), from and to the UTF-8 the
// library works in.
#pragma once

#include <string>
#include <string_view>

namespace hxq::platform {

// `utf8` in code page `code_page`. Characters the code page lacks become the rich-text
// escape "\uN?" so that nothing is lost; invalid UTF-8 bytes become "?". std::runtime_error
// for a code page the system cannot convert to.
std::string to_code_page(std::string_view utf8, int code_page);

// `bytes` of code page `code_page` as UTF-8; a byte the code page leaves undefined becomes
// U+FFFD.
std::string from_code_page(std::string_view bytes, int code_page);

// `utf8` with the escapes "\uN?" that to_code_page writes for characters a code page
// lacks turned back into those characters (surrogate pairs joined), so that a file written
// in a code page reads back without loss.
std::string decode_unicode_escapes(std::string_view utf8);

// `utf8` as rich-text body text for a document in code page `code_page`: "\", "{" and "}"
// escaped, characters above 127 written "\'hh" when the code page has them and "\uN?"
// when it has not, line breaks as "\line ".
std::string rtf_text(std::string_view utf8, int code_page);

}  // namespace hxq::platform
