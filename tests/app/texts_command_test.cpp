// The languages as the user meets them: hxq texts (one text by language code or name,
// the whole list, the settings' language when none is given, and the refusals that say
// what is possible) and hxq select --lang (the table titles and headers in the chosen
// language of the text table, an engine error in that language, an unknown language
// refused).
#include "program_fixture.h"

#include "platform/error.h"
#include "settings/engine_error_local_text.h"
#include "settings/texts.h"

#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace hxq::test {
namespace {

using TextsCommand = HxqProgram;
using SelectLanguage = HxqProgram;

TEST_F(TextsCommand, LooksUpOneTextByCodeOrName) {
    const std::string norwegian =
        write("user.ini", "[Action]\r\nLanguage=Norwegian\r\noffset=6000\r\n").string();
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"texts", "--lang", "en", "192"}, "Customer\n"},
        {{"texts", "--lang", "fi", "192"}, "Asiakas\n"},
        {{"texts", "--lang", "Finnish", "192"}, "Asiakas\n"},
        {{"texts", "--lang", "FRENCH", "192"}, "Client\n"},
        {{"texts", "--lang", "NL", "101"}, "AISI 316\n"},
        {{"texts", "192"}, "Customer\n"},  // the sample installation's settings: English
        {{"texts", "--lang", "en", "364"}, "A calculation with this name and customer already \n"},
        {{"texts", "--ini", norwegian, "192"}, "Kunde\n"},  // without --lang, the settings' language
    };
    for (const auto& [args, text] : cases) {
        SCOPED_TRACE(args[args.size() - 2] + " " + args.back());
        const ProcessOutcome r = hxq(args);
        EXPECT_EQ(r.exit_code, 0) << r.err;
        EXPECT_EQ(r.out, text);
    }
}

TEST_F(TextsCommand, ListsEveryTextOfTheLanguage) {
    const ProcessOutcome r = hxq({"texts", "--lang", "es"});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    std::istringstream lines(r.out);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);) all.push_back(line);
    ASSERT_EQ(all.size(), 452u);
    EXPECT_EQ(all.front().rfind("100\t", 0), 0u);
    EXPECT_EQ(all.back().rfind("611\t", 0), 0u);
    EXPECT_NE(r.out.find("\n192\tCliente\n"), std::string::npos);
}

TEST_F(TextsCommand, RefusesWhatItCannotAnswerSayingWhy) {
    struct Refusal {
        std::vector<std::string> args;
        std::vector<std::string> says;
    };
    const std::string klingon =
        write("klingon.ini", "[Action]\r\nLanguage=Klingon\r\noffset=4000\r\n").string();
    const std::vector<Refusal> cases = {
        {{"texts", "--lang", "xx", "192"},
         {"unknown language \"xx\"", "English (en)", "Swedish (sv)", "Danish (da)", "Finnish (fi)", "French (fr)",
          "German (de)", "Italian (it)", "Dutch (nl)", "Norwegian (no)", "Spanish (es)"}},
        {{"texts", "--lang", "Hungarian"}, {"unknown language \"Hungarian\""}},
        {{"texts", "--lang", "fi", "612"}, {"'1612'", "text 612 with offset 1000"}},
        {{"texts", "--lang", "fi", "40000"}, {"identifier 40000 does not fit 16 bits"}},
        {{"texts", "--lang", "nl", "32000"}, {"Overflow"}},
        {{"texts", "--ini", "/nonexistent/hxq.ini", "192"}, {"does not exist"}},
        {{"texts", "--ini", klingon}, {"\"Klingon\" has offset 4000"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        const ProcessOutcome r = hxq(c.args);
        EXPECT_EQ(r.exit_code, 1) << r.err;
        EXPECT_EQ(r.out, "");
        for (const auto& text : c.says) EXPECT_NE(r.err.find(text), std::string::npos) << text << "\n" << r.err;
    }
}

TEST_F(SelectLanguage, HeadersComeFromTheTextTable) {
    for (const auto& [lang, offset] : std::vector<std::pair<std::string, std::int16_t>>{{"de", 3000}, {"Swedish", 10000}}) {
        SCOPED_TRACE(lang);
        const ProcessOutcome r = hxq({"select", sample_duty("group_search.toml"), "--lang", lang});
        ASSERT_EQ(r.exit_code, 0) << r.err;
        EXPECT_EQ(r.out.rfind(std::string(settings::localised_text(484, offset)) + "\n", 0), 0u) << r.out;
        for (const std::int16_t id : std::initializer_list<std::int16_t>{359, 305, 397, 483, 431})
            EXPECT_NE(r.out.find(settings::localised_text(id, offset)), std::string::npos) << id << "\n" << r.out;
        EXPECT_NE(r.out.find("kW"), std::string::npos);  // units stay
        if (lang == "de") {
            EXPECT_NE(r.out.find("Wärmeleistung"), std::string::npos);
        }
    }
}

TEST_F(SelectLanguage, EngineErrorsAndUnknownLanguages) {
    const auto crossing = write(
        "crossing.toml",
        "model = \"Q22 H\"\nheat_load = \"30 kW\"\n[side1]\nfluid = \"water\"\ninlet_temp = \"70 °C\"\n"
        "outlet_temp = \"50 °C\"\n[side2]\nfluid = \"water\"\ninlet_temp = \"20 °C\"\noutlet_temp = \"80 °C\"\n");
    const ProcessOutcome failed = hxq({"select", crossing.string(), "--lang", "de"});
    EXPECT_EQ(failed.exit_code, 1);
    EXPECT_EQ(failed.err, "hxq: " + settings::LocalEngineErrorText(platform::kObjectError + 1, 0, 3000) + "\n");
    EXPECT_EQ(failed.err.rfind("hxq: Fehler-Nr.:", 0), 0u) << failed.err;

    const ProcessOutcome unknown = hxq({"select", sample_duty("group_search.toml"), "--lang", "xx"});
    EXPECT_EQ(unknown.exit_code, 2);
    EXPECT_NE(unknown.err.find("unknown language \"xx\"; the languages are English (en)"), std::string::npos)
        << unknown.err;
    EXPECT_EQ(unknown.out, "");
}

}  // namespace
}  // namespace hxq::test
