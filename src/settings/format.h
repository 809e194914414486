// Number texts for display and input: the locale's decimal separator, values cut to a
// number of significant digits, and fixed-decimal layouts. Everything here follows the
// user's decimal separator (platform/locale), never the process's C locale.
#pragma once

#include "platform/variant.h"

#include <cstdint>
#include <optional>
#include <string>

namespace hxq::settings {

// Every "." becomes "," when the locale's separator is ","; otherwise every "," becomes the
// locale's separator. Number texts pass through here before parsing and after formatting.
std::string NormaliseDecimal(const std::string& text);

// A locale information item of the user's locale (14: decimal separator); empty when the
// item is unknown.
std::string LocaleInfoText(int item);

// The display text of `value` cut to `digits` significant digits, the digits counted from
// value + `offset` (temperatures count from the absolute temperature). Exponent ranges
// are written with the suffixes "e-6", "e6" and "e9".
std::string FormatSignificant(float value, std::int16_t digits, float offset);

// A numeric text with 3, 2, 1 or 0 decimals for magnitudes below 1, 100, 1000 and above;
// any other text unchanged.
std::string FormatByMagnitude(const std::string& text);

// A numeric text re-laid with as many decimals as it was written with; "0" for a
// non-numeric text.
std::string FormatToOwnDecimals(const std::string& text);

// --- Building blocks shared by the converter and the formatters ---

// The number of a text written with the locale's separator (after NormaliseDecimal):
// optional sign, digits, one separator, digits, optional exponent; surrounding blanks
// allowed. Nothing for any other text.
std::optional<double> parse_locale_number(const std::string& text);

// A variant as a number the way a loosely typed argument is read: numbers as they are,
// texts through NormaliseDecimal and parse_locale_number; nothing when not numeric.
std::optional<double> variant_number(const platform::Variant& value);

// The shortest text (at most 7 significant digits) that reads back as the single `value`,
// with the locale's decimal separator; exponent form ("1.5E-06") outside 1e-5..1e7.
std::string single_text(float value);

// `value` with exactly `decimals` decimals, leading zero, no digit grouping, the locale's
// separator. Rounds half away from zero on the value's 15-digit decimal form, so 2.675
// gives "2.68" as a user expects.
std::string fixed_text(double value, int decimals);

// The display text of a value or numeric text with significant digits: "" for anything
// that is not a number, otherwise FormatSignificant of its single value.
std::string show_value(const platform::Variant& value, std::int16_t significant_digits, float offset = 0.0f);

}  // namespace hxq::settings
