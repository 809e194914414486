#include "output/rtf_document.h"

#include "platform/error.h"

#include "../support/libreoffice.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace hxq::output {
namespace {

TEST(RtfDocument, HeaderAndCodePageFollowTheLanguageName) {
    struct Case {
        const char* language;
        const char* font_table;
        int code_page;
    };
    const Case cases[] = {
        {"English", R"({\fonttbl{\f0\fnil\fprq2 Arial;}})", 1252},
        {"Swedish", R"({\fonttbl{\f0\fnil\fprq2 Arial;}})", 1252},
        {"Russian", R"({\fonttbl{\f0\fswiss\fprq2\fcharset204{\*\fname Arial;} Arial Cyr;}})", 1251},
        {"Polish", R"({\fonttbl{\f0\fswiss\fprq2\fcharset238{\*\fname Arial;} Arial CE;}})", 1250},
        {"Hungarian", R"(\fcharset238{\*\fname Arial;} Arial CE;)", 1250},
        {"Czech", R"(\fcharset238{\*\fname Arial;} Arial CE;)", 1250},
    };
    for (const Case& c : cases) {
        const std::string header = rtf_header(c.language);
        EXPECT_EQ(header.rfind(R"({\rtf1\ansi\deff0\deftab720)", 0), 0u) << c.language;
        EXPECT_NE(header.find(c.font_table), std::string::npos) << c.language;
        EXPECT_EQ(header.substr(header.size() - 30), R"({\colortbl\red0\green0\blue0;})") << c.language;
        EXPECT_EQ(rtf_code_page(c.language), c.code_page) << c.language;
    }
}

TEST(RtfDocument, EmptyArrayIsHeaderThenEmptyLinesThenClose) {
    PreviewArray empty(0);
    EXPECT_EQ(rtf_document("English", empty), rtf_header("English") + "\r\n\\par}\r\n");

    PreviewArray sheet(3);
    sheet[1] = "\\par first";
    sheet[3] = "\\par third";
    EXPECT_EQ(rtf_document("English", sheet),
              rtf_header("English") + "\r\n\\par first\r\n\r\n\\par third\r\n\\par}\r\n");
}

TEST(RtfDocument, TextIsWrittenInTheCodePageAndWhatItLacksEscaped) {
    // ä is 0xE4 in 1252, ł is 0xB3 in 1250, Ж is 0xC6 in 1251.
    EXPECT_EQ(to_code_page("Wärme 25 °C", 1252), "W\xE4rme 25 \xB0""C");
    EXPECT_EQ(to_code_page("Ciepło", 1250), "Ciep\xB3o");
    EXPECT_EQ(to_code_page("Жидкость", 1251), "\xC6\xE8\xE4\xEA\xEE\xF1\xF2\xFC");
    // Characters outside the code page keep their identity as rich-text escapes.
    EXPECT_EQ(to_code_page("Ж", 1252), "\\u1046?");
    EXPECT_EQ(to_code_page("€", 1251), "\x88");
    EXPECT_EQ(to_code_page("\xF0\x9F\x99\x82", 1252), "\\u-10179?\\u-8638?");
    // Broken UTF-8 never reaches the file as stray bytes.
    EXPECT_EQ(to_code_page("a\xC3", 1252), "a?");
    EXPECT_EQ(to_code_page("\x80z", 1252), "?z");
}

TEST(RtfDocument, LibreOfficeReadsCyrillicAndWesternTextBack) {
    test::ScratchFolder scratch(HXQ_TEST_TMP, "rtf-readback");
    struct Case {
        const char* language;
        const char* text;
    };
    const Case cases[] = {{"Russian", "Теплообменник ∆T"}, {"English", "Wärmeübertrager 5 °C"},
                          {"Polish", "Wymiennik ciepła"}};
    std::vector<std::filesystem::path> files;
    for (const Case& c : cases) {
        PreviewArray sheet(2);
        sheet[1] = "\\pard\\plain\\f0\\fs19 ";
        sheet[2] = std::string("\\par ") + c.text;
        files.push_back(scratch.path() / (std::string(c.language) + ".rtf"));
        write_rtf_document(files.back(), c.language, sheet);
    }
    std::string why;
    const auto texts = test::libreoffice_texts(files, scratch.path(), &why);
    ASSERT_TRUE(texts) << why;
    for (std::size_t i = 0; i < files.size(); ++i)
        EXPECT_NE((*texts)[i].find(cases[i].text), std::string::npos) << cases[i].language << ": " << (*texts)[i];
}

TEST(RtfDocument, UnwritableFileIsError75) {
    try {
        write_rtf_document("/nonexistent-folder/x.rtf", "English", PreviewArray());
        FAIL() << "no error";
    } catch (const platform::Error& e) {
        EXPECT_EQ(e.number(), 75);
    }
}

}  // namespace
}  // namespace hxq::output
