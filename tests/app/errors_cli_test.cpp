// hxq errors and hxq --version as the user runs them: the engine error texts, with the
// text of code 6 chosen by the CalcType of the user settings unless it is overridden.
#include "program_run.h"

#include <gtest/gtest.h>

#include <string>

namespace hxq::test {
namespace {

const std::string kPlatesText =
    "Error number: 6 : You have specified an incorrect number of plates.\r\n"
    "If you have more than one pass, number of plates - 1 must be even dividable by number of passes.\r\n"
    "Otherwise number of plates must be an even number.\n";
const std::string kCondensationText = "Error number: 6 : No condensation, use Single Phase instead.\n";

using ErrorsCommand = ProgramTest;

TEST_F(ErrorsCommand, OneCodeListedUnlistedOrOutOfRange) {
    EXPECT_EQ(hxq({"errors", "15"}).out, "Error number: 15 : No solution found !\n");
    EXPECT_EQ(hxq({"errors", "12"}).out, "Error number: 12 : \n");
    EXPECT_EQ(hxq({"errors", "666"}).out, "Error number: 666 : \n");
    const ProgramOutcome version = hxq({"--version"});
    EXPECT_EQ(version.exit_code, 0);
    EXPECT_EQ(version.out.rfind("hxq ", 0), 0u) << version.out;
}

TEST_F(ErrorsCommand, CodeSixFollowsTheCalcTypeOfTheSettings) {
    // The sample installation sets no CalcType: the default 0, single phase.
    EXPECT_EQ(hxq({"errors", "6"}).out, kPlatesText);
    const auto condensing = write("condensing.ini", "[Action]\r\nCalcType=1\r\n");
    EXPECT_EQ(hxq({"errors", "6", "--ini", condensing.string()}).out, kCondensationText);
    const auto other = write("other.ini", "[Action]\r\nCalcType=2\r\n");
    EXPECT_EQ(hxq({"errors", "6", "--ini", other.string()}).out, "Error number: 6 : \n");
    // The option wins over the setting.
    EXPECT_EQ(hxq({"errors", "6", "--ini", condensing.string(), "--calc-type", "0"}).out, kPlatesText);
    EXPECT_EQ(hxq({"errors", "6", "--calc-type", "1"}).out, kCondensationText);

    const ProgramOutcome missing = hxq({"errors", "6", "--ini", (dir_ / "none.ini").string()});
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_NE(missing.err.find("none.ini' does not exist"), std::string::npos) << missing.err;
}

TEST_F(ErrorsCommand, AllListedCodesInOrder) {
    const auto condensing = write("condensing.ini", "[Action]\r\nCalcType=1\r\n");
    const ProgramOutcome r = hxq({"errors", "--ini", condensing.string()});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.out.rfind("Error number: 1 : Crossing or impossible temperatures.\n", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\n" + kCondensationText), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Error number: 46 : Wrong channel arrangment.\n"), std::string::npos);
    EXPECT_EQ(r.out.find("Error number: 12 :"), std::string::npos);
    // Code 6 has no text for other calculation types and is left out.
    EXPECT_EQ(hxq({"errors", "--calc-type", "2"}).out.find("Error number: 6 :"), std::string::npos);
}

}  // namespace
}  // namespace hxq::test
