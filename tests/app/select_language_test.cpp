// hxq select --lang: the table titles and headers in the chosen language of the text
// table, an engine error in that language, and an unknown language refused.
#include "support/run_process.h"

#include "platform/error.h"
#include "settings/engine_error_local_text.h"
#include "settings/texts.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace hxq::test {
namespace {

class SelectLanguage : public ::testing::Test {
protected:
    ScratchFolder scratch_{HXQ_TEST_TMP, std::string("select-language-") +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name()};

    ProcessOutcome hxq(const std::vector<std::string>& args) const { return run_hxq(args, scratch_.path()); }
};

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
    const auto crossing = scratch_.write(
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
