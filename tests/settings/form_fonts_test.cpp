// Print-language font substitution on a form: which names change the fonts, to what,
// and that controls without a font stay without one.
#include "settings/form_fonts.h"
#include "settings/library_state.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace hxq::test {
namespace {

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
        {"Russian", all("Arial Cyr")},   {"russian", all("Arial Cyr")},  {"Hungarian", all("Arial CE")},
        {"Polish", all("Arial CE")},     {"Czech", all("Arial CE")},     {"English", untouched},
        {"Swedish", untouched},          {"", untouched},                {"Russian ", untouched},
    };
    for (const auto& [language, expected] : cases) {
        SCOPED_TRACE("\"" + language + "\"");
        Form form = options_form();
        settings::substitute_form_fonts(form, language);
        EXPECT_EQ(fonts_of(form), expected);
        EXPECT_EQ(form.Controls.size(), 4u);
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
    EXPECT_EQ(settings::library_state().PrintLanguage, "");
}

}  // namespace
}  // namespace hxq::test
