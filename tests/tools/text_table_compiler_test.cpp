// The build check of the text table: text_table_compiler run as the build runs it, on
// broken language files (each must stop it with the file, line and identifier named and
// no table written) and on good ones (the build itself runs it on the real files).
#include "support/run_process.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace hxq::test {
namespace {

const std::string kBase = "# English base\n100\t&Apply\n101\tAISI 316\n102\t&About\n";

class TextTableCompiler : public ::testing::Test {
protected:
    ScratchFolder scratch_{HXQ_TEST_TMP, std::string("text-table-") +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name()};

    std::filesystem::path output() const { return scratch_.path() / "table.cpp"; }

    // Runs the compiler on en.txt = `base` and fi.txt = `finnish` (offset 1000).
    ProcessOutcome compile(const std::string& base, const std::string& finnish) const {
        const auto en = scratch_.write("en.txt", base);
        const auto fi = scratch_.write("fi.txt", finnish);
        return run_process(TEXT_TABLE_COMPILER, {output().string(), "en", "0", en.string(), "fi", "1000", fi.string()},
                           scratch_.path());
    }
};

struct BrokenFiles {
    std::string what;
    std::string base;
    std::string finnish;
    std::vector<std::string> says;  // every one of these in the error output
};

TEST_F(TextTableCompiler, RefusesBrokenFilesNamingFileLineAndIdentifier) {
    const std::vector<BrokenFiles> cases = {
        {"missing identifier", kBase, "100\tKäytä\n102\tTietoja\n",
         {"fi.txt: error: identifier 101 of en.txt (line 3) is missing"}},
        {"identifier English lacks", kBase, "100\tKäytä\n101\tAISI 316\n102\tTietoja\n103\tLisää\n",
         {"fi.txt:4: error: identifier 103 is not in en.txt"}},
        {"repeated identifier", kBase, "100\tKäytä\n101\tAISI 316\n101\tAISI 304\n102\tTietoja\n",
         {"fi.txt:3: error: identifier 101 repeated (first given on line 2)"}},
        {"Latin-1 instead of UTF-8", kBase, "100\tK\xE4yt\xE4\n101\tAISI 316\n102\tTietoja\n",
         {"fi.txt:1: error: not valid UTF-8 (byte 0xE4 at column 6)"}},
        {"overlong UTF-8 form", kBase, "100\tA\xC0\xAF\n101\tAISI 316\n102\tTietoja\n",
         {"fi.txt:1: error: not valid UTF-8 (byte 0xC0 at column 6)"}},
        {"UTF-8 of a surrogate", kBase, "100\tA\n101\tAISI 316\n102\t\xED\xA0\x80\n",
         {"fi.txt:3: error: not valid UTF-8 (byte 0xED at column 5)"}},
        {"sequence cut at the line end", kBase, "100\tA\xC3\n101\tAISI 316\n102\tB\n",
         {"fi.txt:1: error: not valid UTF-8 (byte 0xC3 at column 6)"}},
        {"blank instead of tab", kBase, "100 Käytä\n101\tAISI 316\n102\tTietoja\n",
         {"fi.txt:1: error: malformed line", "identifier 100 of en.txt (line 2) is missing"}},
        {"text without identifier", kBase, "\tKäytä\n101\tAISI 316\n102\tTietoja\n", {"fi.txt:1: error: malformed line"}},
        {"empty text", kBase, "100\t\n101\tAISI 316\n102\tTietoja\n",
         {"fi.txt:1: error: identifier 100 has an empty text"}},
        {"second tab in the text", kBase, "100\tKäytä\n101\tAISI\t316\n102\tTietoja\n",
         {"fi.txt:2: error: control character 0x09 in the text of identifier 101 (column 9)"}},
        {"CR LF line ends", kBase, "100\tKäytä\r\n101\tAISI 316\r\n102\tTietoja\r\n",
         {"fi.txt:1: error: carriage return", "fi.txt:3: error: carriage return"}},
        {"identifier past the block", kBase, "100\tKäytä\n101\tAISI 316\n102\tTietoja\n1102\tX\n",
         {"fi.txt:4: error: identifier 1102 is outside the base range 0-999"}},
        {"repeat in the English base", kBase + "101\tAISI 304\n", "100\tKäytä\n101\tAISI 316\n102\tTietoja\n",
         {"en.txt:5: error: identifier 101 repeated (first given on line 3)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ProcessOutcome r = compile(c.base, c.finnish);
        EXPECT_EQ(r.exit_code, 1) << r.err;
        for (const auto& text : c.says) EXPECT_NE(r.err.find(text), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("was not written"), std::string::npos) << r.err;
        EXPECT_FALSE(std::filesystem::exists(output()));
    }
}

TEST_F(TextTableCompiler, ReportsEveryProblemOfARun) {
    const ProcessOutcome r = compile(kBase, "100\tK\xE4yt\xE4\n100\tKäytä\n104\tX\n");
    EXPECT_EQ(r.exit_code, 1);
    // Line 1 is unusable, so 100 comes on line 2 first; 101 and 102 are missing, 104 extra.
    for (const char* text : {"fi.txt:1: error: not valid UTF-8", "identifier 101 of en.txt", "identifier 102 of en.txt",
                             "fi.txt:3: error: identifier 104 is not in en.txt", "4 error(s)"})
        EXPECT_NE(r.err.find(text), std::string::npos) << text << "\n" << r.err;
}

TEST_F(TextTableCompiler, WritesSortedBlocksKeepingEveryByteOfTheTexts) {
    // Out of order, a BOM, comments, a blank line, quotes, backslashes, trailing blanks.
    const std::string base = "\xEF\xBB\xBF# c\n102\tSay \"C:\\hxq\" \n\n100\t&Apply\n101\tAISI 316\n";
    const ProcessOutcome r = compile(base, "101\tAISI 316\n100\tKäytä\n102\tÄ\n");
    ASSERT_EQ(r.exit_code, 0) << r.err;
    const std::string table = slurp_file(output());
    const auto at = [&](const std::string& text) { return table.find(text); };
    ASSERT_NE(at("{102, \"Say \\\"C:\\\\hxq\\\" \"}"), std::string::npos) << table;
    ASSERT_NE(at("{100, \"K\\303\\244yt\\303\\244\"}"), std::string::npos) << table;  // ä = C3 A4
    EXPECT_LT(at("{100, \"&Apply\"}"), at("{101, \"AISI 316\"}"));
    EXPECT_LT(at("{101, \"AISI 316\"}"), at("{102, \"Say"));
    EXPECT_LT(at("{\"en\", 0, k_en}"), at("{\"fi\", 1000, k_fi}"));
}

TEST_F(TextTableCompiler, RefusesOffsetsThatWouldMixBlocks) {
    const auto en = scratch_.write("en.txt", kBase);
    const std::vector<std::vector<std::string>> runs = {
        {output().string(), "en", "0", en.string(), "fi", "0", en.string()},       // twice the same
        {output().string(), "en", "0", en.string(), "fi", "1500", en.string()},    // inside another block
        {output().string(), "en", "0", en.string(), "fi", "32000", en.string()},   // beyond 16 bits
        {output().string(), "fi", "1000", en.string()},                            // base not at 0
        {output().string(), "en", "0"},                                            // no file
    };
    for (const auto& args : runs) {
        const ProcessOutcome r = run_process(TEXT_TABLE_COMPILER, args, scratch_.path());
        EXPECT_EQ(r.exit_code, 2) << r.err;
        EXPECT_NE(r.err.find("usage:"), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace hxq::test
