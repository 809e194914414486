#include "settings/preview_font.h"

#include "platform/profile.h"
#include "settings/library_state.h"

#include <cmath>
#include <exception>
#include <limits>

namespace hxq::settings {

std::int16_t preview_line_room(platform::Printer& printer, const std::filesystem::path& ini, std::string_view text) {
    try {
        printer.set_font_name(platform::read_profile_string("Action", "PreviewFont", "Arial", ini));
        printer.set_font_size(kPreviewFontSize);
        const double room = std::nearbyint(static_cast<double>(printer.width()) - kPreviewLabelColumn -
                                           printer.text_width(text) - kPreviewGap);
        if (!(room >= std::numeric_limits<std::int16_t>::min() && room <= std::numeric_limits<std::int16_t>::max()))
            return 0;
        return static_cast<std::int16_t>(room);
    } catch (const std::exception&) {
        return 0;  // the preview then lays the line out from the left
    }
}

std::int16_t preview_line_room(std::string_view text) { return preview_line_room(printer(), settings_read_file(), text); }

}  // namespace hxq::settings
