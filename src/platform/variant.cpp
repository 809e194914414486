#include "platform/variant.h"

#include "platform/error.h"

#include <charconv>
#include <cmath>
#include <strings.h>

#include <fmt/format.h>

namespace hxq::platform {

namespace {

std::optional<double> parse_number(const std::string& text) {
    std::size_t b = text.find_first_not_of(" \t");
    std::size_t e = text.find_last_not_of(" \t");
    if (b == std::string::npos) return std::nullopt;
    const char* first = text.data() + b;
    const char* last = text.data() + e + 1;
    if (*first == '+') ++first;
    double value = 0;
    auto [ptr, ec] = std::from_chars(first, last, value);
    // from_chars also reads "inf" and "nan", which no user or database means as a number.
    if (ec != std::errc() || ptr != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

Error type_mismatch() { return Error(13, "Variant", "Type mismatch"); }

}  // namespace

std::optional<double> Variant::to_number() const {
    if (auto* d = std::get_if<double>(&v_)) return *d;
    if (auto* i = std::get_if<std::int64_t>(&v_)) return static_cast<double>(*i);
    if (auto* b = std::get_if<bool>(&v_)) return *b ? -1.0 : 0.0;
    if (auto* s = std::get_if<std::string>(&v_)) return parse_number(*s);
    return std::nullopt;
}

double Variant::as_double() const {
    if (is_empty() || is_null()) return 0.0;
    if (auto* s = std::get_if<std::string>(&v_)) {
        if (strcasecmp(s->c_str(), "true") == 0) return -1.0;
        if (strcasecmp(s->c_str(), "false") == 0) return 0.0;
    }
    auto n = to_number();
    if (!n) throw type_mismatch();
    return *n;
}

std::int64_t Variant::as_integer() const {
    if (auto* i = std::get_if<std::int64_t>(&v_)) return *i;
    // Converting a double beyond the 64-bit range is undefined, not merely wrong.
    const double r = std::nearbyint(as_double());
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) throw Error(6, "Variant", "Overflow");
    return static_cast<std::int64_t>(r);
}

bool Variant::as_bool() const { return as_double() != 0.0; }

std::string Variant::as_text() const {
    if (is_empty() || is_null()) return {};
    if (auto* s = std::get_if<std::string>(&v_)) return *s;
    if (auto* b = std::get_if<bool>(&v_)) return *b ? "True" : "False";
    if (auto* i = std::get_if<std::int64_t>(&v_)) return std::to_string(*i);
    return fmt::format("{}", std::get<double>(v_));
}

}  // namespace hxq::platform
