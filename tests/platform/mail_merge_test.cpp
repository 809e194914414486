// The mail merge: the data file's fields, MERGEFIELD instructions, rich-text and Office Open
// XML templates merged and read back by LibreOffice.
#include "platform/docx_merge.h"
#include "platform/error.h"
#include "platform/merge_data.h"
#include "platform/rtf_merge.h"
#include "platform/scratch.h"

#include "../support/libreoffice.h"

#include <gtest/gtest.h>

#include <zip.h>

namespace hxq::test {
namespace {

using platform::MergeData;
using platform::MergeReport;

const MergeData& sample_data() {
    static const MergeData data("'TQSVersion';'XerName';'Tin1';'Tin1_u';'RefTemp1';Shear1_u';'RefTemp1';'Note'",
                                "2.1;Q32x40H/1P;85.0;°C;60;Pa;61;Wärme {hot} \\ 5");
    return data;
}

TEST(MergeData, FieldsAreFoundByTheirNameWithOrWithoutQuotes) {
    const MergeData& data = sample_data();
    struct Case {
        const char* name;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"'Tin1'", "85.0"}, {"Tin1", "85.0"},       {"tin1_u", "°C"},
        {"Shear1_u", "Pa"}, {"'RefTemp1'", "60"},  // a repeated name: its first value
        {"'Tout1'", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(data.value(c.name), c.value) << c.name;
    const MergeData short_values("a;b;c", "1");
    EXPECT_EQ(short_values.value("c"), "");
}

TEST(MergeData, FileIsReadInItsCodePage) {
    ScratchDir dir;
    // 0xA8 is the diaeresis that stands for a double quote in a designation.
    write_file(dir.path() / "m.tmp", "'XerName';'Fluid1'\r\nQ32\xA8x;Vatten 30\xB0\r\n");
    const MergeData data = MergeData::read(dir.path() / "m.tmp");
    EXPECT_EQ(data.value("XerName"), "Q32\xC2\xA8x");
    EXPECT_EQ(data.value("Fluid1"), "Vatten 30\xC2\xB0");
    EXPECT_EQ(error_number([&] { MergeData::read(dir.path() / "none.tmp"); }), 53);
}

TEST(MergeData, MergeFieldInstructionsGiveTheirName) {
    struct Case {
        const char* instruction;
        std::optional<std::string> name;
    };
    const Case cases[] = {
        {" MERGEFIELD 'Tin1' \\* MERGEFORMAT ", "'Tin1'"}, {"MERGEFIELD Tin1", "Tin1"},
        {"mergefield  \"Flow rate\" \\b x", "Flow rate"}, {"MERGEFIELD Shear1_u'", "Shear1_u'"},
        {" IF 1 = 1 x", std::nullopt}, {"MERGEFIELDS x", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::merge_field_name(c.instruction), c.name) << c.instruction;
}

// A template as a word processor saves it: a field with run formatting in its shown
// result, a field in the simplest form, an unknown field and a non-merge field.
const char* kRtfTemplate =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
    "\\pard\\plain\\f0\\fs20 Model: {\\field{\\*\\fldinst {\\rtlch\\fcs1 \\af0 \\insrsid1  MERGEFIELD 'XerName' }}"
    "{\\fldrslt {\\b\\lang1024\\noproof\\insrsid1 \\'abXerName\\'bb}}}\\par\r\n"
    "Inlet: {\\field{\\*\\fldinst MERGEFIELD Tin1}{\\fldrslt <Tin1>}} {\\field{\\*\\fldinst MERGEFIELD Tin1_u}{\\fldrslt x}}\\par\r\n"
    "Note: {\\field{\\*\\fldinst MERGEFIELD 'Note'}{\\fldrslt x}}\\par\r\n"
    "Missing: {\\field{\\*\\fldinst MERGEFIELD 'Tout9'}{\\fldrslt x}}\\par\r\n"
    "Page {\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}\\par\r\n"
    "}";

TEST(RtfMerge, FieldsBecomeValuesInTheirFormatting) {
    MergeReport report;
    const std::string merged = platform::merge_rtf(kRtfTemplate, sample_data(), report);
    EXPECT_NE(merged.find("Model: {\\b\\lang1024\\noproof\\insrsid1 Q32x40H/1P}"), std::string::npos) << merged;
    EXPECT_NE(merged.find("Inlet: {85.0} {\\'b0C}"), std::string::npos) << merged;
    // Rich-text controls in a value stay text; non-ASCII goes out in the code page.
    EXPECT_NE(merged.find("W\\'e4rme \\{hot\\} \\\\ 5"), std::string::npos) << merged;
    EXPECT_NE(merged.find("{\\field{\\*\\fldinst PAGE}{\\fldrslt 1}}"), std::string::npos);
    EXPECT_NE(merged.find("Missing: {\\'ab'Tout9'\\'bb}"), std::string::npos);
    EXPECT_EQ(report.missing_fields, std::vector<std::string>{"'Tout9'"});
}

// A .docx holding word/document.xml `body` and a content-types part naming it a template.
void write_docx(const std::filesystem::path& file, const std::string& body) {
    const std::string types =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Types "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"><Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/><Default Extension=\"xml\" "
        "ContentType=\"application/xml\"/><Override PartName=\"/word/document.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml\"/></Types>";
    const std::string rels =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\"><Relationship Id=\"rId1\" "
        "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
        "Target=\"word/document.xml\"/></Relationships>";
    const std::string document =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><w:document "
        "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"><w:body>" +
        body + "</w:body></w:document>";
    int error = 0;
    zip_t* zip = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    for (const auto& [name, content] : {std::pair{"[Content_Types].xml", &types}, std::pair{"_rels/.rels", &rels},
                                        std::pair{"word/document.xml", &document}}) {
        zip_source_t* source = zip_source_buffer(zip, content->data(), content->size(), 0);
        ASSERT_GE(zip_file_add(zip, name, source, 0), 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

const char* kDocxBody =
    "<w:p><w:r><w:t xml:space=\"preserve\">Model: </w:t></w:r>"
    "<w:fldSimple w:instr=\" MERGEFIELD 'XerName' \"><w:r><w:rPr><w:b/></w:rPr><w:t>«XerName»</w:t></w:r></w:fldSimple></w:p>"
    "<w:p><w:r><w:t xml:space=\"preserve\">Inlet: </w:t></w:r>"
    "<w:r><w:fldChar w:fldCharType=\"begin\"/></w:r><w:r><w:instrText xml:space=\"preserve\"> MERGEFIELD </w:instrText></w:r>"
    "<w:r><w:instrText>Tin1</w:instrText></w:r><w:r><w:fldChar w:fldCharType=\"separate\"/></w:r>"
    "<w:r><w:rPr><w:i/></w:rPr><w:t>«Tin1»</w:t></w:r><w:r><w:fldChar w:fldCharType=\"end\"/></w:r>"
    "<w:r><w:t xml:space=\"preserve\"> </w:t></w:r><w:fldSimple w:instr=\"MERGEFIELD Tin1_u\"><w:r><w:t>x</w:t></w:r></w:fldSimple></w:p>"
    "<w:p><w:r><w:t xml:space=\"preserve\">Missing: </w:t></w:r><w:fldSimple w:instr=\"MERGEFIELD Tout9\"><w:r><w:t>x</w:t></w:r></w:fldSimple></w:p>";

TEST(DocxMerge, SimpleAndComplexFieldsBecomeValues) {
    MergeReport report;
    const std::string xml = platform::merge_docx_part(
        std::string("<w:document xmlns:w=\"w\"><w:body>") + kDocxBody + "</w:body></w:document>", sample_data(), report);
    EXPECT_NE(xml.find("<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">Q32x40H/1P</w:t></w:r>"), std::string::npos)
        << xml;
    EXPECT_NE(xml.find("<w:r><w:rPr><w:i/></w:rPr><w:t xml:space=\"preserve\">85.0</w:t></w:r>"), std::string::npos)
        << xml;
    EXPECT_EQ(xml.find("instrText"), std::string::npos);
    EXPECT_NE(xml.find("«Tout9»"), std::string::npos);
    EXPECT_EQ(report.missing_fields, std::vector<std::string>{"Tout9"});
}

TEST(MailMerge, LibreOfficeReadsMergedDocumentsBack) {
    ScratchDir dir;
    const auto rtf = dir.path() / "merged-rtf.rtf";
    MergeReport rtf_report;
    write_file(rtf, platform::merge_rtf(kRtfTemplate, sample_data(), rtf_report));
    const auto docx_template = dir.path() / "sheet.dotx";
    write_docx(docx_template, kDocxBody);
    const auto docx = dir.path() / "merged-docx.docx";
    MergeReport docx_report;
    platform::merge_docx(docx_template, sample_data(), docx, docx_report);
    // The rich-text template saved again as .docx by the word processor itself.
    std::string why;
    write_file(dir.path() / "saved.rtf", kRtfTemplate);
    const auto saved = libreoffice_convert(dir.path() / "saved.rtf", "docx", dir.path(), &why);
    ASSERT_TRUE(saved) << why;
    const auto resaved = dir.path() / "merged-saved.docx";
    MergeReport saved_report;
    platform::merge_docx(*saved, sample_data(), resaved, saved_report);
    EXPECT_EQ(saved_report.missing_fields, std::vector<std::string>{"'Tout9'"});
    const auto texts = libreoffice_texts({rtf, docx, resaved}, dir.path(), &why);
    ASSERT_TRUE(texts) << why;
    for (const std::string& text : *texts) {
        EXPECT_NE(text.find("Model: Q32x40H/1P"), std::string::npos) << text;
        EXPECT_NE(text.find("Inlet: 85.0 °C"), std::string::npos) << text;
        EXPECT_NE(text.find("Missing: «"), std::string::npos) << text;
    }
    EXPECT_NE((*texts)[0].find("Wärme {hot} \\ 5"), std::string::npos);
}

TEST(DocxMerge, BadTemplatesAreErrorsAndLeaveNoOutput) {
    ScratchDir dir;
    const auto output = dir.path() / "out.docx";
    MergeReport report;
    const auto merge = [&](const char* name) {
        return error_number([&] { platform::merge_docx(dir.path() / name, sample_data(), output, report); });
    };
    EXPECT_EQ(merge("none.docx"), 53);
    write_file(dir.path() / "text.docx", "not a zip");
    EXPECT_EQ(merge("text.docx"), 31036);
    EXPECT_FALSE(std::filesystem::exists(output));
}

}  // namespace
}  // namespace hxq::test
