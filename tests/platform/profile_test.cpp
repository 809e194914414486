#include "platform/profile.h"

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/paths_scratch.h"

#include <gtest/gtest.h>


using namespace hxq::platform;
using hxq::test::read_file;
using hxq::test::ScratchDir;
using hxq::test::write_file;

namespace {

const char* kSample =
    "; settings of one user\r\n"
    "[TQS INI]\r\n"
    "CalcType=2\r\n"
    "\r\n"
    "[Action]\r\n"
    "  Language = Swedish  \r\n"
    "Offset=1000\r\n"
    "; the last address line is quoted\r\n"
    "Address5=\"  Box 12  \"\r\n"
    "Empty=\r\n"
    "\r\n"
    "[Action]\r\n"
    "Language=German\r\n";

}  // namespace

TEST(Profile, MissingFileOrKeyGivesTheDefaultWithoutTrailingBlanks) {
    ScratchDir dir;
    auto missing = dir / "none.ini";
    EXPECT_EQ(read_profile_string("Action", "Language", "English  ", missing), "English");
    EXPECT_FALSE(file_exists(missing)) << "reading must not create the file";

    write_file(dir / "hxq.ini", kSample);
    EXPECT_EQ(read_profile_string("Action", "Nope", "  x", dir / "hxq.ini"), "  x");
    EXPECT_EQ(read_profile_string("Nope", "Language", "d", dir / "hxq.ini"), "d");
    // A key that is there but empty is empty, not the default.
    EXPECT_EQ(read_profile_string("Action", "Empty", "d", dir / "hxq.ini"), "");
}

TEST(Profile, NamesAreCaseInsensitiveAndValuesTrimmedAndUnquoted) {
    ScratchDir dir;
    write_file(dir / "hxq.ini", kSample);
    auto file = dir / "hxq.ini";
    EXPECT_EQ(read_profile_string("action", "LANGUAGE", "", file), "Swedish");
    EXPECT_EQ(read_profile_string("tqs ini", "calctype", "", file), "2");
    EXPECT_EQ(read_profile_string("ACTION", "offset", "", file), "1000");
    EXPECT_EQ(read_profile_string("Action", "Address5", "", file), "  Box 12  ");
}

TEST(Profile, ReadsLfOnlyFilesAndSkipsByteOrderMark) {
    ScratchDir dir;
    write_file(dir / "lf.ini", "\xEF\xBB\xBF[Action]\nNrOfResult=5\n[HXQ]\nToolbar=0");
    EXPECT_EQ(read_profile_string("Action", "NrOfResult", "7", dir / "lf.ini"), "5");
    EXPECT_EQ(read_profile_string("HXQ", "Toolbar", "-1", dir / "lf.ini"), "0");
}

TEST(Profile, ValuesAndDefaultsAreCutToTheReadBuffer) {
    ScratchDir dir;
    auto file = dir / "long.ini";
    std::string long_value(200, 'a');
    long_value[126] = 'Z';
    long_value[127] = 'Q';
    ASSERT_TRUE(write_profile_string("Action", "Address1", long_value, file));
    std::string read = read_profile_string("Action", "Address1", "", file);
    EXPECT_EQ(read.size(), 127u);
    EXPECT_EQ(read.back(), 'Z');
    EXPECT_EQ(read_profile_string("Action", "Missing", long_value, file).size(), 127u);
    // The file keeps the whole value; only the read is cut.
    EXPECT_EQ(ProfileFile::load(file).value("Action", "Address1"), long_value);

    // Characters, not bytes: a cut never splits a UTF-8 sequence.
    std::string umlauts;
    for (int i = 0; i < 130; ++i) umlauts += "\xC3\xB6";  // ö
    ASSERT_TRUE(write_profile_string("Action", "Address2", umlauts, file));
    EXPECT_EQ(read_profile_string("Action", "Address2", "", file), umlauts.substr(0, 254));
    EXPECT_EQ(read_profile_string("Action", "Address2", "", file, 4), umlauts.substr(0, 6));
}

TEST(Profile, WriteCreatesFileAndSectionWithCrLf) {
    ScratchDir dir;
    auto file = dir / "new.ini";
    ASSERT_TRUE(write_profile_string("TQS INI", "CalcType", "1", file));
    ASSERT_TRUE(write_profile_string("Action", "Serie", "2", file));
    ASSERT_TRUE(write_profile_string("action", "Parallell", "3", file));
    EXPECT_EQ(read_file(file), "[TQS INI]\r\nCalcType=1\r\n\r\n[Action]\r\nSerie=2\r\nParallell=3\r\n");
}

TEST(Profile, WriteKeepsOtherKeysCommentsAndSpellings) {
    ScratchDir dir;
    auto file = dir / "hxq.ini";
    write_file(file, kSample);
    ASSERT_TRUE(write_profile_string("ACTION", "language", "Danish", file));
    ASSERT_TRUE(write_profile_string("TQS INI", "CalcMethod", "1", file));
    ASSERT_TRUE(write_profile_string("Action", "line", "a\r\nb", file));
    EXPECT_EQ(read_file(file),
              "; settings of one user\r\n"
              "[TQS INI]\r\n"
              "CalcType=2\r\n"
              "CalcMethod=1\r\n"
              "\r\n"
              "[Action]\r\n"
              "Language=Danish\r\n"
              "Offset=1000\r\n"
              "; the last address line is quoted\r\n"
              "Address5=\"  Box 12  \"\r\n"
              "Empty=\r\n"
              "line=a  b\r\n"
              "\r\n"
              "[Action]\r\n"
              "Language=German\r\n");
    EXPECT_EQ(read_profile_string("Action", "Language", "", file), "Danish");
}

TEST(Profile, EraseAndListing) {
    auto p = ProfileFile::parse(kSample);
    EXPECT_EQ(p.sections(), (std::vector<std::string>{"TQS INI", "Action"}));
    EXPECT_EQ(p.keys("action"), (std::vector<std::string>{"Language", "Offset", "Address5", "Empty"}));
    EXPECT_TRUE(p.erase_key("Action", "offset"));
    EXPECT_FALSE(p.value("Action", "Offset"));
    EXPECT_TRUE(p.erase_section("TQS INI"));
    EXPECT_FALSE(p.has_section("tqs ini"));
    EXPECT_EQ(p.text().rfind("; settings of one user\r\n[Action]\r\n", 0), 0u);
}

TEST(Profile, NamesThatCannotBeWrittenAreRefused) {
    ProfileFile p;
    EXPECT_THROW(p.set("A]B", "k", "v"), Error);
    EXPECT_THROW(p.set("A", "k=1", "v"), Error);
    EXPECT_THROW(p.set("A", "", "v"), Error);
    EXPECT_THROW(p.set("A", "[k", "v"), Error);
}

TEST(Profile, AFileThatCannotBeReadIsNeitherReadNorReplaced) {
    ScratchDir dir;
    // A folder where the file should be: unreadable as a file, whoever runs the test.
    auto file = dir / "hxq.ini";
    std::filesystem::create_directories(file / "inside");
    EXPECT_EQ(read_profile_string("Action", "Language", "English", file), "English");
    EXPECT_THROW(ProfileFile::load(file), Error);
    EXPECT_FALSE(write_profile_string("Action", "Offset", "1", file));
    EXPECT_TRUE(std::filesystem::exists(file / "inside"));
}

TEST(Profile, AFailedWriteReportsFalseAndLeavesNoTemporary) {
    ScratchDir dir;
    write_file(dir / "plain", "not a folder");
    EXPECT_FALSE(write_profile_string("Action", "Serie", "2", dir / "plain" / "hxq.ini"));
    EXPECT_EQ(read_file(dir / "plain"), "not a folder");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(Profile, SavingThroughALinkKeepsTheLink) {
    ScratchDir dir;
    write_file(dir / "real.ini", "[A]\r\nx=1\r\n");
    std::filesystem::create_symlink(dir / "real.ini", dir / "link.ini");
    ASSERT_TRUE(write_profile_string("A", "x", "2", dir / "link.ini"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
    EXPECT_EQ(read_file(dir / "real.ini"), "[A]\r\nx=2\r\n");
}

TEST(Profile, QuotedFormsReadBackWhole) {
    ScratchDir dir;
    auto file = dir / "q.ini";
    for (std::string v : {"  indented", "trailing ", "\"quoted\"", "'single'", "plain text", ""}) {
        ASSERT_TRUE(write_profile_string("A", "k", profile_text(v), file));
        EXPECT_EQ(read_profile_string("A", "k", "d", file), v);
    }
    EXPECT_EQ(profile_text("C:\\x"), "C:\\x");
}
