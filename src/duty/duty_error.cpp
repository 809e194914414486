#include "duty/duty_error.h"

#include <fmt/format.h>

namespace hxq::duty {

DutyFileError::DutyFileError(std::string file, int line, std::string key, const std::string& message)
    : std::runtime_error(line > 0 ? fmt::format("{}:{}: {}: {}", file, line, key, message)
                                  : fmt::format("{}: {}: {}", file, key, message)),
      file_(std::move(file)),
      line_(line),
      key_(std::move(key)),
      message_(message) {}

}  // namespace hxq::duty
