#include "settings/languages.h"

#include <algorithm>
#include <cctype>

namespace hxq::settings {
namespace {

bool same_without_case(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::optional<Language> FindLanguage(std::string_view name_or_code) {
    const std::string_view wanted = trimmed(name_or_code);
    for (const auto& language : kLanguages)
        if (same_without_case(wanted, language.code) || same_without_case(wanted, language.name)) return language;
    return std::nullopt;
}

std::optional<Language> language_of_offset(std::int16_t offset) {
    for (const auto& language : kLanguages)
        if (language.offset == offset) return language;
    return std::nullopt;
}

std::string language_choices() {
    std::string out;
    for (const auto& language : kLanguages) {
        if (!out.empty()) out += ", ";
        out.append(language.name).append(" (").append(language.code).append(")");
    }
    return out;
}

}  // namespace hxq::settings
