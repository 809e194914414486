// A form as the library's operations on a whole dialog see it: its controls, each with a
// font name when the control shows text. Dialog logic classes hand theirs to operations
// such as the print-language font substitution (settings/form_fonts.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace hxq::platform {

struct Control {
    std::string Name;
    std::optional<std::string> FontName;  // nothing for a control without a font (a frame, a picture)
};

struct Form {
    std::string Name;
    std::vector<Control> Controls;
};

}  // namespace hxq::platform
