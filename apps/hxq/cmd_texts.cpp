// hxq texts [--lang LANGUAGE] [ID]: the localised texts of a language, all of them
// ("<id><TAB><text>" lines by base identifier) or the text of one identifier. Without
// --lang the language is the one of the user settings.
#include "command_registry.h"
#include "installation.h"

#include "platform/error.h"
#include "settings/languages.h"
#include "settings/library_state.h"
#include "settings/texts.h"

#include <fmt/core.h>

#include <limits>
#include <memory>
#include <optional>
#include <string>

namespace hxq::app {
namespace {

struct TextsOptions {
    std::string lang;
    std::string ini;
    long long id = 0;
};

// The language asked for, or the user settings' one; a message on stderr and nothing
// when there is no such language.
std::optional<settings::Language> chosen_language(const CLI::App& cmd, const TextsOptions& o) {
    if (cmd.count("--lang")) {
        auto language = settings::FindLanguage(o.lang);
        if (!language)
            fmt::print(stderr, "hxq texts: unknown language \"{}\"; the languages are {}\n", o.lang,
                       settings::language_choices());
        return language;
    }
    PrepareInstallation(o.ini, "A");
    const auto& setting = settings::library_state().UserSettings.language;
    auto language = settings::language_of_offset(setting.iOffset);
    if (!language)
        fmt::print(stderr, "hxq texts: the settings' language \"{}\" has offset {}, which is no language's; give --lang ({})\n",
                   setting.sName, setting.iOffset, settings::language_choices());
    return language;
}

int run(const CLI::App& cmd, const TextsOptions& o) {
    const auto language = chosen_language(cmd, o);
    if (!language) return 1;
    if (!settings::has_text_block(language->offset)) {
        fmt::print(stderr, "hxq texts: this build holds no {} texts (offset {})\n", language->name, language->offset);
        return 1;
    }
    if (cmd.count("ID")) {
        if (o.id < std::numeric_limits<std::int16_t>::min() || o.id > std::numeric_limits<std::int16_t>::max()) {
            fmt::print(stderr, "hxq texts: identifier {} does not fit 16 bits\n", o.id);
            return 1;
        }
        fmt::print("{}\n", settings::localised_text(static_cast<std::int16_t>(o.id), language->offset));
        return 0;
    }
    for (const auto& [id, text] : settings::block_texts(language->offset)) fmt::print("{}\t{}\n", id, text);
    return 0;
}

const CommandRegistration registration([](CLI::App& app, int& exit_code) {
    auto* cmd = app.add_subcommand("texts", "Print the localised texts of a language, or the text of one identifier");
    auto o = std::make_shared<TextsOptions>();
    cmd->add_option("ID", o->id, "Text identifier of the English list (100-611)");
    cmd->add_option("--lang", o->lang,
                    "Language by code or name: " + settings::language_choices() +
                        " (default: the Language of the user settings)");
    cmd->add_option("--ini", o->ini, "User settings file whose language is used without --lang "
                                     "(default: the build's sample/hxq.ini)");
    cmd->callback([cmd, o, &exit_code] {
        try {
            exit_code = run(*cmd, *o);
        } catch (const platform::Error& e) {
            fmt::print(stderr, "hxq texts: {}\n", e.description());
            exit_code = 1;
        }
    });
});

}  // namespace
}  // namespace hxq::app
