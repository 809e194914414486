// The error of a malformed duty file: the file, the line and the key it concerns, so
// that every host can point the user at the place to mend.
#pragma once

#include <stdexcept>
#include <string>

namespace hxq::duty {

// Where a key was written, for the messages about it.
struct KeyPlace {
    std::string key;  // dotted, e.g. "side1.inlet_temp"
    int line = 0;     // 1-based; 0 when the key is not in the file
};

// what() is "<file>:<line>: <key>: <message>" (without ":<line>" when the line is 0).
class DutyFileError : public std::runtime_error {
public:
    DutyFileError(std::string file, int line, std::string key, const std::string& message);
    DutyFileError(const std::string& file, const KeyPlace& place, const std::string& message)
        : DutyFileError(file, place.line, place.key, message) {}
    const std::string& file() const noexcept { return file_; }
    int line() const noexcept { return line_; }
    const std::string& key() const noexcept { return key_; }
    const std::string& message() const noexcept { return message_; }

private:
    std::string file_;
    int line_;
    std::string key_;
    std::string message_;
};

}  // namespace hxq::duty
