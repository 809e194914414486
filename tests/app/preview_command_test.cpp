// hxq preview as its user runs it: the chosen alternative's sheet written as rich text or
// PDF that LibreOffice reads, and every refusal with its exit code.
#include "../support/libreoffice.h"
#include "../support/run_process.h"

#include <gtest/gtest.h>

namespace hxq::test {
namespace {

TEST(PreviewCommand, WritesTheChosenSheetAsRichTextOrPdf) {
    ScratchFolder scratch(HXQ_TEST_TMP, "preview-command");
    const auto rtf = scratch.path() / "condenser.rtf";
    const auto pdf = scratch.path() / "extra.pdf";
    const auto result = run_hxq({"preview", sample_duty("condenser_water.toml"), "--alt", "2", "-o", rtf.string()},
                                scratch.path());
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_NE(result.out.find("Alternative 2 of 7: "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("wrote " + rtf.string()), std::string::npos);
    const auto extra = run_hxq(
        {"preview", sample_duty("condenser_water.toml"), "--sheet", "extra", "--lang", "de", "-o", pdf.string()},
        scratch.path());
    ASSERT_EQ(extra.exit_code, 0) << extra.err;
    EXPECT_EQ(slurp_file(pdf).rfind("%PDF", 0), 0u);

    std::string why;
    const auto text = libreoffice_text(rtf, scratch.path(), &why);
    ASSERT_TRUE(text) << why;
    // The designation the program announced is the one on the sheet, with the sample
    // company's address and the program's version.
    const std::string announced = result.out.substr(20, result.out.find('\n') - 20);
    EXPECT_NE(text->find("Heat exchanger: " + announced), std::string::npos) << *text;
    EXPECT_NE(text->find("Nordvik Heat Engineering AB"), std::string::npos);
    EXPECT_NE(text->find("Condensation temperature"), std::string::npos);
}

TEST(PreviewCommand, RefusesWhatItCannotWrite) {
    ScratchFolder scratch(HXQ_TEST_TMP, "preview-refusals");
    struct Case {
        std::vector<std::string> args;
        int exit_code;
        const char* message;
    };
    const Case cases[] = {
        {{"--alt", "9"}, 2, "--detail 9: no such alternative"},
        {{"-o", (scratch.path() / "x.txt").string()}, 2, "write .rtf or .pdf"},
        {{"--sheet", "summary"}, 105, "summary not in {result,extra}"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"preview", sample_duty("condenser_water.toml"), "--no-progress"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto result = run_hxq(args, scratch.path());
        EXPECT_EQ(result.exit_code, c.exit_code) << c.message << result.err;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
    const auto two_stage = run_hxq({"preview", sample_duty("two_stage_tap_water.toml"), "--sheet", "extra", "-o",
                                    (scratch.path() / "ts.rtf").string()},
                                   scratch.path());
    EXPECT_EQ(two_stage.exit_code, 2);
    EXPECT_NE(two_stage.err.find("no extra data sheet"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(scratch.path() / "ts.rtf"));
}

}  // namespace
}  // namespace hxq::test
