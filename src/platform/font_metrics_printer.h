// A Printer measuring with the real metrics of the installed fonts: fontconfig finds the
// font file of a family name (with its substitutions, so "Arial" is the metric-compatible
// Liberation Sans where that is installed) and FreeType reads its advance widths.
#pragma once

#include "platform/printer.h"

#include <memory>

namespace hxq::platform {

// A4 portrait, 210 mm: the width of the whole sheet, as a printer's width gives it.
inline constexpr std::int32_t kA4PortraitWidthTwips = 11906;

class FontMetricsPrinter final : public Printer {
public:
    explicit FontMetricsPrinter(std::int32_t width_twips = kA4PortraitWidthTwips);
    ~FontMetricsPrinter() override;
    FontMetricsPrinter(const FontMetricsPrinter&) = delete;
    FontMetricsPrinter& operator=(const FontMetricsPrinter&) = delete;

    std::string font_name() const override { return font_name_; }
    void set_font_name(std::string name) override;
    double font_size() const override { return font_size_; }
    void set_font_size(double points) override { font_size_ = points; }
    std::int32_t width() const override { return width_; }

    // The sum of the glyphs' advance widths at the font size, from the font's design units
    // (no kerning, no hinting: the widths a printer at any resolution approaches).
    // Characters the font lacks count with the width of its missing-glyph box.
    double text_width(std::string_view text) const override;

    // The family of the font file the current font name resolved to ("Liberation Sans"
    // for "Arial"); platform::Error as text_width.
    std::string resolved_family() const;

private:
    struct Font;  // the FreeType face of the current font, loaded at first use
    const Font& font() const;

    std::int32_t width_;
    std::string font_name_ = "Arial";
    double font_size_ = 10.0;
    mutable std::unique_ptr<Font> font_;
};

}  // namespace hxq::platform
