// The room a preview line leaves beside a text, measured on the printer in the preview
// font (key "PreviewFont" of section "Action" of the settings file, "Arial" by default,
// at 9.5 points).
#pragma once

#include "platform/printer.h"

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace hxq::settings {

inline constexpr double kPreviewFontSize = 9.5;
inline constexpr std::int32_t kPreviewLabelColumn = 3500;  // twips
inline constexpr std::int32_t kPreviewGap = 120;           // twips

// Sets `printer`'s font to the preview font read from `ini` and returns, in twips,
// width - 3500 - (width of `text`) - 120, rounded to the nearest (halves to even); 0 when
// anything fails (no font, a result beyond 16 bits).
std::int16_t preview_line_room(platform::Printer& printer, const std::filesystem::path& ini, std::string_view text);

// The same on the library's printer with the settings file (settings_read_file()).
std::int16_t preview_line_room(std::string_view text);

}  // namespace hxq::settings
