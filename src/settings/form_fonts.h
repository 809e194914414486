// Font substitution for the print languages whose letters the plain fonts lack: the
// options dialog, the about box, the quotation form and the stock grid call it when they
// open, and the documents choose their font table by the same language name.
#pragma once

#include "platform/form.h"

#include <optional>
#include <string>
#include <string_view>

namespace hxq::settings {

// "Arial CE" for Hungarian, Polish and Czech, "Arial Cyr" for Russian (names compared
// without case); nothing for every other name, the empty one included.
std::optional<std::string> print_language_font(std::string_view print_language);

// Sets the FontName of every control of `form` to the font of `print_language`, when it
// has one; controls without a font are left as they are.
void substitute_form_fonts(platform::Form& form, std::string_view print_language);

// The same with the library's print language (LibraryState::PrintLanguage).
void substitute_form_fonts(platform::Form& form);

}  // namespace hxq::settings
