// hxq preview and hxq print as their user runs them: the chosen alternative's document
// written as rich text or PDF that LibreOffice reads, and every refusal with its code.
#include "program_fixture.h"
#include "support/libreoffice.h"

namespace hxq::test {
namespace {

using DocumentCommands = HxqProgram;

// One LibreOffice run reads the preview and both printouts back.
TEST_F(DocumentCommands, PreviewAndPrintWriteTheChosenAlternativesDocuments) {
    const std::string duty = sample_duty("condenser_water.toml");
    const auto preview = dir_ / "condenser.rtf";
    const auto pdf = dir_ / "extra.pdf";
    const auto rtf = dir_ / "result.rtf";
    const auto docx = dir_ / "quote.docx";
    const auto data = dir_ / "data.csv";
    const auto shown = hxq({"preview", duty, "--alt", "2", "-o", preview.string()});
    ASSERT_EQ(shown.exit_code, 0) << shown.err;
    EXPECT_NE(shown.out.find("Alternative 2 of 7: "), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("wrote " + preview.string()), std::string::npos);
    const auto extra = hxq({"preview", duty, "--sheet", "extra", "--lang", "de", "-o", pdf.string()});
    ASSERT_EQ(extra.exit_code, 0) << extra.err;
    EXPECT_EQ(slurp_file(pdf).rfind("%PDF", 0), 0u);

    const auto result = hxq({"print", duty, "--alt", "2", "-o", rtf.string(), "--merge-data", data.string()});
    ASSERT_EQ(result.exit_code, 0) << result.err;
    EXPECT_NE(result.out.find("wrote " + rtf.string()), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("merge data kept in " + data.string()), std::string::npos);
    EXPECT_EQ(result.err, "");
    const std::string kept = slurp_file(data);
    EXPECT_EQ(kept.rfind("'TQSVersion';'Header0';", 0), 0u) << kept.substr(0, 80);
    EXPECT_NE(kept.find("Nordvik Heat Engineering AB"), std::string::npos);
    const auto quote = hxq({"print", duty, "--no-progress", "--type", "quote", "--lang", "de", "-o", docx.string()});
    ASSERT_EQ(quote.exit_code, 0) << quote.err;

    std::string why;
    const auto texts = libreoffice_texts({preview, rtf, docx}, dir_, &why);
    ASSERT_TRUE(texts) << why;
    // The designation the program announced is the one on the sheets, with the sample
    // company's address.
    const std::string announced = shown.out.substr(20, shown.out.find('\n') - 20);
    EXPECT_EQ(result.out.substr(20, result.out.find('\n') - 20), announced);
    for (const std::string& want : std::vector<std::string>{"Heat exchanger: " + announced,
                                                            "Nordvik Heat Engineering AB", "Condensation temperature"})
        for (std::size_t i = 0; i < 2; ++i) EXPECT_NE((*texts)[i].find(want), std::string::npos) << want << "\n" << (*texts)[i];
    const std::string& sheet = (*texts)[1];
    for (const char* want : {"Result sheet", "R134a"}) EXPECT_NE(sheet.find(want), std::string::npos) << want << "\n" << sheet;
    EXPECT_EQ(sheet.find("MERGEFIELD"), std::string::npos);
    const std::string& offer = (*texts)[2];
    for (const char* want : {"Angebot", "Plattenwerkstoff", "AISI 316", "Lieferzeit"})
        EXPECT_NE(offer.find(want), std::string::npos) << want << "\n" << offer;
}

TEST_F(DocumentCommands, PrintWarnsOfAFieldTheTemplateNamesAndTheDataLack) {
    // The sample installation with a template folder of our own.
    std::string registry = slurp_file(std::string(HXQ_SAMPLE_DIR) + "/registry.ini");
    const std::size_t at = registry.find("TemplatePath=");
    ASSERT_NE(at, std::string::npos);
    registry.replace(at, registry.find('\n', at) - at, "TemplatePath=" + (dir_ / "templates").string());
    const auto store = write("registry.ini", registry);
    std::filesystem::create_directories(dir_ / "templates/English");
    write("templates/English/CON_prev.rtf",
          "{\\rtf1\\ansi {\\field{\\*\\fldinst MERGEFIELD 'Nope'}{\\fldrslt x}} "
          "{\\field{\\*\\fldinst MERGEFIELD 'NoOfPlates'}{\\fldrslt x}}\\par}");
    const auto r = hxq({"print", sample_duty("condenser_water.toml"), "--no-progress", "-o", (dir_ / "x.rtf").string()},
                       {"HXQ_REGISTRY=" + store.string()});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    EXPECT_NE(r.err.find("warning: template " + (dir_ / "templates/English/CON_prev.rtf").string() +
                         " names the field 'Nope'"),
              std::string::npos)
        << r.err;
    // The field stays visible, marked; the known one took its value.
    const std::string merged = slurp_file(dir_ / "x.rtf");
    EXPECT_NE(merged.find("\\'ab'Nope'\\'bb"), std::string::npos) << merged;
    EXPECT_EQ(merged.find("MERGEFIELD 'NoOfPlates'"), std::string::npos) << merged;
}

TEST_F(DocumentCommands, RefuseWhatTheyCannotWriteAndSayWhyAMergeFailed) {
    const std::string duty = sample_duty("condenser_water.toml");
    const Refusal refusals[] = {
        {{"preview", duty, "--no-progress", "--alt", "9"}, 2, "--detail 9: no such alternative"},
        {{"preview", duty, "--no-progress", "-o", (dir_ / "x.txt").string()}, 2, "write .rtf or .pdf"},
        {{"preview", duty, "--sheet", "summary"}, 105, "summary not in {result,extra}"},
        {{"preview", sample_duty("two_stage_tap_water.toml"), "--no-progress", "--sheet", "extra", "-o",
          (dir_ / "ts.rtf").string()},
         2,
         "no extra data sheet"},
        {{"print", duty, "--no-progress", "-o", (dir_ / "x.odt").string()}, 2, "write .rtf, .docx or .pdf"},
        {{"print", duty, "--type", "summary"}, 105, "summary not in {result,extra,quote}"},
        {{"print", sample_duty("two_stage_tap_water.toml"), "--no-progress", "--type", "extra"},
         2,
         "no extra data sheet"},
        // No Finnish templates are bundled.
        {{"print", duty, "--no-progress", "--lang", "fi", "-o", (dir_ / "fi.rtf").string()},
         1,
         "no document written: template "},
    };
    for (const Refusal& r : refusals) expect_refused(r);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "ts.rtf"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "fi.rtf"));
}

}  // namespace
}  // namespace hxq::test
