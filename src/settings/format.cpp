#include "settings/format.h"

#include "platform/error.h"
#include "platform/locale.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace hxq::settings {

namespace {

// Error 6 ("Overflow"): a number that does not fit the precision it is held in.
[[noreturn]] void overflow(const char* where) { throw platform::Error(6, where, "Overflow"); }

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::string trim_blanks(const std::string& text) {
    auto first = std::find_if_not(text.begin(), text.end(), is_blank);
    auto last = std::find_if_not(text.rbegin(), text.rend(), is_blank).base();
    return first < last ? std::string(first, last) : std::string();
}

void replace_all(std::string& text, const std::string& from, const std::string& to) {
    if (from.empty() || from == to) return;
    for (std::size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
}

bool contains_separator(const std::string& text) {
    return text.find(',') != std::string::npos || text.find('.') != std::string::npos;
}

}  // namespace

std::string NormaliseDecimal(const std::string& text) {
    const std::string sep = platform::decimal_separator();
    std::string out = text;
    if (sep == ",")
        replace_all(out, ".", ",");
    else
        replace_all(out, ",", sep);
    return out;
}

std::string LocaleInfoText(int item) { return platform::locale_info_text(item); }

std::optional<double> parse_locale_number(const std::string& text) {
    const std::string t = trim_blanks(text);
    const std::string sep = platform::decimal_separator();
    // Rebuild the number in the "." form from_chars reads, checking the shape on the way
    // so that hex, "inf", "nan" and stray characters are refused.
    std::string plain;
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') plain += '-';
        ++i;
    }
    std::size_t mantissa_digits = 0;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) {
        plain += t[i++];
        ++mantissa_digits;
    }
    if (!sep.empty() && t.compare(i, sep.size(), sep) == 0) {
        plain += '.';
        i += sep.size();
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) {
            plain += t[i++];
            ++mantissa_digits;
        }
    }
    if (mantissa_digits == 0) return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        plain += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) plain += t[i++];
        std::size_t exponent_digits = 0;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) {
            plain += t[i++];
            ++exponent_digits;
        }
        if (exponent_digits == 0) return std::nullopt;
    }
    if (i != t.size()) return std::nullopt;
    double value = 0;
    auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<double> variant_number(const platform::Variant& value) {
    // An empty variant is a value nobody set: it is not shown or converted as 0.
    if (value.is_integer() || value.is_double()) return value.as_double();
    if (value.is_text()) return parse_locale_number(NormaliseDecimal(value.as_text()));
    return std::nullopt;
}

std::string single_text(float value) {
    if (value == 0.0f) return "0";
    if (!std::isfinite(value)) overflow("single_text");
    // The fewest significant digits that read back as the same single.
    char buf[32];
    int precision = 1;
    for (; precision < 7; ++precision) {
        std::snprintf(buf, sizeof buf, "%.*e", precision - 1, static_cast<double>(value));
        if (std::strtof(buf, nullptr) == value) break;
    }
    std::snprintf(buf, sizeof buf, "%.*e", precision - 1, static_cast<double>(value));
    // buf: [-]d[.ddd]e±XX
    std::string s(buf);
    const bool negative = s[0] == '-';
    if (negative) s.erase(0, 1);
    const std::size_t epos = s.find('e');
    const int exponent = std::atoi(s.c_str() + epos + 1);
    std::string digits;
    for (std::size_t k = 0; k < epos; ++k)
        if (s[k] != '.') digits += s[k];
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    const std::string sep = platform::decimal_separator();
    std::string out = negative ? "-" : "";
    const double magnitude = std::fabs(static_cast<double>(value));
    if (magnitude >= 1e-5 && magnitude < 1e7 && exponent < 7) {
        if (exponent >= 0) {
            std::string int_part = digits.substr(0, std::min<std::size_t>(digits.size(), exponent + 1));
            int_part.append(static_cast<std::size_t>(exponent + 1) - int_part.size(), '0');
            out += int_part;
            if (digits.size() > static_cast<std::size_t>(exponent + 1))
                out += sep + digits.substr(static_cast<std::size_t>(exponent + 1));
        } else {
            out += "0" + sep + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
        }
        return out;
    }
    out += digits.substr(0, 1);
    if (digits.size() > 1) out += sep + digits.substr(1);
    out += fmt::format("E{}{:02d}", exponent < 0 ? '-' : '+', std::abs(exponent));
    return out;
}

std::string fixed_text(double value, int decimals) {
    if (!std::isfinite(value)) overflow("fixed_text");
    decimals = std::clamp(decimals, 0, 30);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    const std::string s(buf);
    const std::size_t epos = s.find('e');
    const int exponent = std::atoi(s.c_str() + epos + 1);
    std::string digits;
    for (std::size_t k = 0; k < epos; ++k)
        if (s[k] != '.') digits += s[k];

    // all[0] carries the weight 10^top; digit i the weight 10^(top - i).
    int top = std::max(exponent, 0);
    std::string all = std::string(static_cast<std::size_t>(exponent < 0 ? -exponent : 0), '0') + digits;
    const std::size_t count = static_cast<std::size_t>(top + decimals + 1);
    if (all.size() < count + 1) all.append(count + 1 - all.size(), '0');
    const bool round_up = all[count] >= '5';
    std::string kept = all.substr(0, count);
    if (round_up) {
        std::size_t k = kept.size();
        while (k > 0) {
            --k;
            if (kept[k] == '9') {
                kept[k] = '0';
            } else {
                ++kept[k];
                break;
            }
            if (k == 0) {
                kept.insert(kept.begin(), '1');
                ++top;
            }
        }
    }
    std::string int_part = kept.substr(0, static_cast<std::size_t>(top + 1));
    const std::string frac = kept.substr(static_cast<std::size_t>(top + 1));
    const std::size_t nz = int_part.find_first_not_of('0');
    int_part = nz == std::string::npos ? "0" : int_part.substr(nz);
    const bool nonzero = kept.find_first_not_of('0') != std::string::npos;
    std::string out = (value < 0 && nonzero) ? "-" : "";
    out += int_part;
    if (decimals > 0) out += platform::decimal_separator() + frac;
    return out;
}

std::string FormatSignificant(float value, std::int16_t digits, float offset) {
    const float x = value;
    if (x == 0.0f) return "0";
    if (!std::isfinite(x)) overflow("FormatSignificant");
    const int sd = digits;
    const float off = offset;
    const float y = x + off;
    // The magnitude comes from the absolute value (x + offset); at exactly the offset's
    // zero there is none, so the value's own magnitude serves.
    const double magnitude = y != 0.0f ? std::fabs(static_cast<double>(y)) : std::fabs(static_cast<double>(x));
    float L = static_cast<float>(std::log(magnitude) / 2.302585);
    // An exact power of ten sits on the boundary between two layouts; nudging it keeps
    // it in the upper one so that 100 keeps its sd digits ("100", "1.00").
    if (L == std::floor(L)) L = static_cast<float>(static_cast<double>(L) + 0.01);
    const double int_L = std::floor(static_cast<double>(L));
    const int e = static_cast<int>(std::floor(-static_cast<double>(L))) + sd;

    // The value rounded to e decimals. The digits are counted on x + offset, but the
    // rounding is done on x itself: rounding x + offset and then taking the offset off
    // again leaves a half unit whenever the offset has a digit at the rounding place
    // (273.15 at one decimal), and 25.1 °C would show as 25.2.
    const double scaled = std::floor(static_cast<double>(x) * std::pow(10.0, e) + 0.5);
    if (!(std::fabs(scaled) <= static_cast<double>(std::numeric_limits<std::int32_t>::max()))) overflow("FormatSignificant");
    const auto n = static_cast<std::int32_t>(scaled);

    std::string s = std::to_string(n);
    std::string z;
    bool dropped = false;
    while (!s.empty() && s.back() == '0') {
        s.pop_back();
        z += '0';
        dropped = true;
    }
    const float m = static_cast<float>(static_cast<double>(n) * std::pow(10.0, int_L + 1 - sd));

    std::string out;
    if (L >= -3.0f && L < 6.0f) {
        const std::string tm = single_text(m);
        const double rest = sd - static_cast<double>(L);
        if (!dropped) {
            out = tm;
        } else if (L >= 0.0f && rest < 1) {
            out = tm;
        } else if (contains_separator(tm)) {
            out = tm + z;
        } else {
            const auto take = static_cast<std::size_t>(std::max(0.0, std::floor(rest)));
            out = tm + "." + z.substr(0, std::min(take, z.size()));
        }
    } else {
        double scale = 1e6;
        const char* suffix = "e-6";
        if (L >= 9.0f) {
            scale = 1e-9;
            suffix = "e9";
        } else if (L >= 6.0f) {
            scale = 1e-6;
            suffix = "e6";
        }
        const std::string tm = single_text(static_cast<float>(static_cast<double>(m) * scale));
        if (!dropped)
            out = tm + suffix;
        else if (contains_separator(tm))
            out = tm + z + suffix;
        else
            out = tm + "." + z + suffix;
    }
    return NormaliseDecimal(out);
}

std::string show_value(const platform::Variant& value, std::int16_t significant_digits, float offset) {
    const auto number = variant_number(value);
    if (!number) return "";
    if (std::fabs(*number) > static_cast<double>(std::numeric_limits<float>::max())) overflow("ShowVal");
    return FormatSignificant(static_cast<float>(*number), significant_digits, offset);
}

std::string FormatByMagnitude(const std::string& text) {
    const auto number = parse_locale_number(NormaliseDecimal(text));
    if (!number) return text;
    const double a = std::fabs(*number);
    const int decimals = a < 1 ? 3 : a < 100 ? 2 : a < 1000 ? 1 : 0;
    return fixed_text(*number, decimals);
}

std::string FormatToOwnDecimals(const std::string& text) {
    std::string t = trim_blanks(NormaliseDecimal(text));
    auto number = parse_locale_number(t);
    if (!number) {
        t = "0";
        number = 0.0;
    }
    const std::string sep = platform::decimal_separator();
    const std::size_t pos = sep.empty() ? std::string::npos : t.find(sep);
    const int decimals = pos == std::string::npos ? 0 : static_cast<int>(t.size() - pos - sep.size());
    return fixed_text(*number, decimals);
}

}  // namespace hxq::settings
