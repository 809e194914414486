// The rich-text file of a sheet: the header line chosen by the language's name, the
// sheet's lines in index order, then "\par}"; every line ends with CR LF and the text is
// written in the ANSI code page of the header's character set.
#pragma once

#include "output/preview_array.h"
#include "platform/code_page.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace hxq::output {

// The header line for the language named `language` ("Hungarian", "Polish" and "Czech"
// use the Central European font table, "Russian" the Cyrillic one, any other the plain
// one).
std::string rtf_header(std::string_view language);

// The Windows code page of the header of `language`: 1250, 1251 or 1252.
int rtf_code_page(std::string_view language);

using platform::to_code_page;

// The whole document as bytes, ready to be written.
std::string rtf_document(std::string_view language, const PreviewArray& data);

// Writes rtf_document to `file`, replacing it. platform::Error 75 (path/file access error)
// when it cannot be written.
void write_rtf_document(const std::filesystem::path& file, std::string_view language, const PreviewArray& data);

}  // namespace hxq::output
