// The fonts of what is shown and printed: the room of a preview line (the preview font of
// the settings file, its arithmetic on a printer whose widths the test chooses, and with the
// real font metrics) and the print language's font substitution on a form.
#include "platform/error.h"
#include "platform/font_metrics_printer.h"
#include "platform/scratch.h"
#include "settings/form_fonts.h"
#include "settings/library_state.h"
#include "settings/preview_font.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace hxq::test {
namespace {

// A printer whose text width is `per_byte` twips a byte; it can be told to fail.
class FixedPrinter final : public platform::Printer {
public:
    FixedPrinter(std::int32_t width, double per_byte) : width_(width), per_byte_(per_byte) {}
    std::string font_name() const override { return name_; }
    void set_font_name(std::string name) override { name_ = std::move(name); }
    double font_size() const override { return size_; }
    void set_font_size(double points) override { size_ = points; }
    std::int32_t width() const override { return width_; }
    double text_width(std::string_view text) const override {
        if (fail) throw platform::Error(482, "Printer", "Printer error");
        return per_byte_ * static_cast<double>(text.size());
    }
    bool fail = false;

private:
    std::int32_t width_;
    double per_byte_;
    std::string name_ = "Courier";
    double size_ = 12;
};

class PreviewFont : public ::testing::Test {
protected:
    std::filesystem::path ini_with(const std::string& text) const {
        write_file(dir_ / "hxq.ini", text);
        return dir_ / "hxq.ini";
    }
    ScratchDir dir_;
};

TEST_F(PreviewFont, SetsThePreviewFontOfTheSettingsAtNineAndAHalfPoints) {
    FixedPrinter printer(10000, 0);
    settings::preview_line_room(printer, dir_ / "none.ini", "x");
    EXPECT_EQ(printer.font_name(), "Arial");
    EXPECT_DOUBLE_EQ(printer.font_size(), 9.5);
    settings::preview_line_room(printer, ini_with("[action]\r\npreviewfont=Liberation Serif\r\n"), "x");
    EXPECT_EQ(printer.font_name(), "Liberation Serif");
    settings::preview_line_room(printer, ini_with("[TQS INI]\r\nPreviewFont=Courier\r\n"), "x");
    EXPECT_EQ(printer.font_name(), "Arial");  // only section Action counts
}

// The width less the column, the text and the gap, rounded half to even; 0 when the
// result does not fit 16 bits or the printer fails.
TEST_F(PreviewFont, WidthLessColumnTextAndGapRoundedHalfToEven) {
    struct Case {
        std::int32_t width;
        double per_byte;
        std::string text;
        std::int16_t room;
        bool fail = false;
    };
    const std::vector<Case> cases = {
        {10000, 100, "abc", 6080},      // 10000 - 3500 - 300 - 120
        {10000, 0.5, "a", 6380},        // 6379.5 -> 6380
        {10000, 1.5, "a", 6378},        // 6378.5 -> 6378
        {3000, 100, "ab", -820},        // a negative room is a number like any other
        {36387, 0, "", 32767},          // the largest 16-bit result
        {36388, 0, "", 0},
        {-29148, 0, "", -32768},
        {-29149, 0, "", 0},
        {std::numeric_limits<std::int32_t>::min(), 0, "", 0},
        {10000, 100, "abc", 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " " + c.text + (c.fail ? " failing" : ""));
        FixedPrinter printer(c.width, c.per_byte);
        printer.fail = c.fail;
        EXPECT_EQ(settings::preview_line_room(printer, dir_ / "none.ini", c.text), c.room);
    }
}

TEST_F(PreviewFont, MeasuresWithTheInstalledFontOnTheLibrarysPrinter) {
    settings::reset_library_state();
    settings::library_state().host.IniFilePath = ini_with("[Action]\r\nPreviewFont=Arial\r\n").string();
    const std::int16_t room = settings::preview_line_room("Customer");
    // A4: 11906 - 3500 - 120 = 8286 less the text, which takes some hundreds of twips.
    EXPECT_LT(room, 8286 - 400);
    EXPECT_GT(room, 8286 - 900);
    EXPECT_EQ(settings::printer().font_name(), "Arial");
    settings::reset_library_state();
}

using platform::Control;
using platform::Form;

Form options_form() {
    return Form{"frmOptions",
                {Control{"lblLanguage", "Arial"}, Control{"fraUnits", std::nullopt},
                 Control{"txtHeader", "Times New Roman"}, Control{"picFlag", std::nullopt}}};
}

std::vector<std::optional<std::string>> fonts_of(const Form& form) {
    std::vector<std::optional<std::string>> out;
    for (const auto& c : form.Controls) out.push_back(c.FontName);
    return out;
}

TEST(FormFonts, PrintLanguageSetsEveryFontOrNone) {
    const std::vector<std::optional<std::string>> untouched = fonts_of(options_form());
    const auto all = [](const char* font) {
        return std::vector<std::optional<std::string>>{font, std::nullopt, font, std::nullopt};
    };
    const std::vector<std::pair<std::string, std::vector<std::optional<std::string>>>> cases = {
        {"Russian", all("Arial Cyr")}, {"russian", all("Arial Cyr")}, {"Hungarian", all("Arial CE")},
        {"Polish", all("Arial CE")},   {"English", untouched},        {"Russian ", untouched},
    };
    for (const auto& [language, expected] : cases) {
        SCOPED_TRACE("\"" + language + "\"");
        Form form = options_form();
        settings::substitute_form_fonts(form, language);
        EXPECT_EQ(fonts_of(form), expected);
    }
}

TEST(FormFonts, FollowsTheLibrarysPrintLanguage) {
    settings::reset_library_state();
    Form form = options_form();
    settings::substitute_form_fonts(form);  // none set: nothing changes
    EXPECT_EQ(fonts_of(form), fonts_of(options_form()));
    settings::library_state().PrintLanguage = "Russian";
    settings::substitute_form_fonts(form);
    EXPECT_EQ(form.Controls[0].FontName, "Arial Cyr");
    EXPECT_EQ(form.Controls[1].FontName, std::nullopt);
    settings::reset_library_state();
}

}  // namespace
}  // namespace hxq::test
