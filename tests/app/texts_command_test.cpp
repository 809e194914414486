// hxq texts as the user runs it: one text by language code or name, the whole list, the
// settings' language when none is given, and the refusals that say what is possible.
#include "support/run_process.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace hxq::test {
namespace {

class TextsCommand : public ::testing::Test {
protected:
    ScratchFolder scratch_{HXQ_TEST_TMP,
                           std::string("texts-command-") + ::testing::UnitTest::GetInstance()->current_test_info()->name()};

    ProcessOutcome hxq(const std::vector<std::string>& args) const { return run_hxq(args, scratch_.path()); }
};

TEST_F(TextsCommand, LooksUpOneTextByCodeOrName) {
    const std::string norwegian =
        scratch_.write("user.ini", "[Action]\r\nLanguage=Norwegian\r\noffset=6000\r\n").string();
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
        scratch_.write("klingon.ini", "[Action]\r\nLanguage=Klingon\r\noffset=4000\r\n").string();
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

}  // namespace
}  // namespace hxq::test
