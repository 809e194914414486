#include "settings/form_fonts.h"

#include "settings/library_state.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace hxq::settings {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kLanguageFonts{{
    {"Hungarian", "Arial CE"},
    {"Polish", "Arial CE"},
    {"Czech", "Arial CE"},
    {"Russian", "Arial Cyr"},
}};

bool same_without_case(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::optional<std::string> print_language_font(std::string_view print_language) {
    for (const auto& [language, font] : kLanguageFonts)
        if (same_without_case(print_language, language)) return std::string(font);
    return std::nullopt;
}

void substitute_form_fonts(platform::Form& form, std::string_view print_language) {
    const auto font = print_language_font(print_language);
    if (!font) return;
    for (auto& control : form.Controls)
        if (control.FontName) control.FontName = *font;
}

void substitute_form_fonts(platform::Form& form) { substitute_form_fonts(form, library_state().PrintLanguage); }

}  // namespace hxq::settings
