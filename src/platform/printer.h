// The printer the previews lay their lines out for: a font (name and size) and the
// widths of the page and of texts printed in that font, in printer units (twips, 1/1440
// inch).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hxq::platform {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPoint = 20;

class Printer {
public:
    virtual ~Printer() = default;

    virtual std::string font_name() const = 0;
    virtual void set_font_name(std::string name) = 0;
    virtual double font_size() const = 0;  // points
    virtual void set_font_size(double points) = 0;

    // The width of the page, in twips.
    virtual std::int32_t width() const = 0;

    // The width of UTF-8 `text` printed in the current font, in twips. platform::Error
    // when the font cannot be used.
    virtual double text_width(std::string_view text) const = 0;
};

}  // namespace hxq::platform
