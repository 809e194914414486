// The one error type of the library: number, source and description, as the error
// object of the original platform carried them.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace hxq::platform {

// Base of user-defined object error numbers; engine and calculation errors are
// kObjectError + code.
inline constexpr std::int32_t kObjectError = static_cast<std::int32_t>(0x80040000u);  // -2147221504

class Error : public std::runtime_error {
public:
    Error(std::int32_t number, std::string source, std::string description)
        : std::runtime_error(description),
          number_(number),
          source_(std::move(source)),
          description_(std::move(description)) {}

    std::int32_t number() const noexcept { return number_; }
    const std::string& source() const noexcept { return source_; }
    const std::string& description() const noexcept { return description_; }

    // The same error raised again from another place (main loops rethrow with their name).
    Error with_source(std::string source) const { return Error(number_, std::move(source), description_); }

private:
    std::int32_t number_;
    std::string source_;
    std::string description_;
};

// An engine or calculation error: kObjectError + code.
inline Error object_error(std::int32_t code, std::string source, std::string description) {
    return Error(kObjectError + code, std::move(source), std::move(description));
}

}  // namespace hxq::platform
