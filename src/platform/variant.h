// A value that may be empty, Null, a boolean, an integer, a double or a text: what a
// database field or a loosely typed argument holds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace hxq::platform {

struct Empty {
    bool operator==(const Empty&) const = default;
};
struct Null {
    bool operator==(const Null&) const = default;
};

class Variant {
public:
    using Storage = std::variant<Empty, Null, bool, std::int64_t, double, std::string>;

    Variant() = default;
    Variant(Null) : v_(Null{}) {}
    Variant(bool b) : v_(b) {}
    Variant(int i) : v_(static_cast<std::int64_t>(i)) {}
    Variant(long i) : v_(static_cast<std::int64_t>(i)) {}
    Variant(long long i) : v_(static_cast<std::int64_t>(i)) {}
    Variant(double d) : v_(d) {}
    Variant(float f) : v_(static_cast<double>(f)) {}
    Variant(std::string s) : v_(std::move(s)) {}
    Variant(const char* s) : v_(std::string(s)) {}

    static Variant null() { return Variant(Null{}); }

    bool is_empty() const { return std::holds_alternative<Empty>(v_); }
    bool is_null() const { return std::holds_alternative<Null>(v_); }
    bool is_bool() const { return std::holds_alternative<bool>(v_); }
    bool is_integer() const { return std::holds_alternative<std::int64_t>(v_); }
    bool is_double() const { return std::holds_alternative<double>(v_); }
    bool is_number() const { return is_integer() || is_double() || is_bool(); }
    bool is_text() const { return std::holds_alternative<std::string>(v_); }

    // Conversions in the manner of the original's implicit coercion: Null and empty
    // give 0 / "" / false, numbers convert, texts parse as numbers ("." decimal point)
    // and throw Error 13 ("Type mismatch") when they are not numbers.
    double as_double() const;
    std::int64_t as_integer() const;  // rounds half to even, like CInt/CLng
    bool as_bool() const;             // non-zero numbers, "True", "-1" are true
    std::string as_text() const;      // numbers in their shortest round-trip form

    // The number, when the value is or parses as one.
    std::optional<double> to_number() const;

    const Storage& storage() const { return v_; }
    bool operator==(const Variant& other) const = default;

private:
    Storage v_;
};

}  // namespace hxq::platform
