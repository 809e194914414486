// The user's number format, taken from the locale environment (LC_ALL, LC_NUMERIC,
// LANG) without changing the process's own C locale, so library parsing stays
// independent of it. Tests and hosts can impose a separator.
#pragma once

#include <optional>
#include <string>

namespace hxq::platform {

// Locale information items callers ask for by number.
inline constexpr int kLocaleDecimalSeparator = 14;
inline constexpr int kLocaleThousandSeparator = 15;

// The decimal separator users type and read ("." or "," mostly).
std::string decimal_separator();
// The digit grouping separator; may be empty.
std::string thousand_separator();

// The text of a locale information item (14 and 15 above); empty for any other item.
std::string locale_info_text(int item);

// Imposes a decimal separator (nullopt returns to the user's locale).
void set_decimal_separator_override(std::optional<std::string> separator);

// Imposes a decimal separator for one scope, restoring the previous state after.
class ScopedDecimalSeparator {
public:
    explicit ScopedDecimalSeparator(std::string separator);
    ~ScopedDecimalSeparator();
    ScopedDecimalSeparator(const ScopedDecimalSeparator&) = delete;
    ScopedDecimalSeparator& operator=(const ScopedDecimalSeparator&) = delete;

private:
    std::optional<std::string> previous_;
};

}  // namespace hxq::platform
