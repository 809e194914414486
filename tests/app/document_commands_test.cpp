// hxq preview and hxq print as their user runs them: the chosen alternative's document
// written as rich text or PDF that LibreOffice reads, and every refusal with its code.
#include "program_fixture.h"
#include "support/libreoffice.h"

namespace hxq::test {
namespace {

using DocumentCommands = HxqProgram;

TEST_F(DocumentCommands, PreviewWritesTheChosenSheetAsRichTextOrPdf) {
    const auto rtf = dir_ / "condenser.rtf";
    const auto pdf = dir_ / "extra.pdf";
    const auto result = hxq({"preview", sample_duty("condenser_water.toml"), "--alt", "2", "-o", rtf.string()});
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_NE(result.out.find("Alternative 2 of 7: "), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("wrote " + rtf.string()), std::string::npos);
    const auto extra =
        hxq({"preview", sample_duty("condenser_water.toml"), "--sheet", "extra", "--lang", "de", "-o", pdf.string()});
    ASSERT_EQ(extra.exit_code, 0) << extra.err;
    EXPECT_EQ(slurp_file(pdf).rfind("%PDF", 0), 0u);

    std::string why;
    const auto text = libreoffice_text(rtf, dir_, &why);
    ASSERT_TRUE(text) << why;
    // The designation the program announced is the one on the sheet, with the sample
    // company's address and the program's version.
    const std::string announced = result.out.substr(20, result.out.find('\n') - 20);
    EXPECT_NE(text->find("Heat exchanger: " + announced), std::string::npos) << *text;
    EXPECT_NE(text->find("Nordvik Heat Engineering AB"), std::string::npos);
    EXPECT_NE(text->find("Condensation temperature"), std::string::npos);
}

TEST_F(DocumentCommands, PreviewRefusesWhatItCannotWrite) {
    const std::string duty = sample_duty("condenser_water.toml");
    const Refusal refusals[] = {
        {{"preview", duty, "--no-progress", "--alt", "9"}, 2, "--detail 9: no such alternative"},
        {{"preview", duty, "--no-progress", "-o", (dir_ / "x.txt").string()}, 2, "write .rtf or .pdf"},
        {{"preview", duty, "--sheet", "summary"}, 105, "summary not in {result,extra}"},
        {{"preview", sample_duty("two_stage_tap_water.toml"), "--no-progress", "--sheet", "extra", "-o",
          (dir_ / "ts.rtf").string()},
         2,
         "no extra data sheet"},
    };
    for (const Refusal& r : refusals) expect_refused(r);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "ts.rtf"));
}

}  // namespace
}  // namespace hxq::test
