// The text table compiled into the library (lookups by identifier and offset in every
// language block, overflowing and missing texts), the languages, and engine error messages
// through the table and as the records give them; the declared bounds of the records' arrays.
#include "platform/error.h"
#include "platform/scratch.h"
#include "records/calc_records.h"
#include "records/engine_error_text.h"
#include "settings/engine_error_local_text.h"
#include "settings/languages.h"
#include "settings/library_state.h"
#include "settings/text_blocks.h"
#include "settings/texts.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace hxq::test {
namespace {

using settings::localised_text;

constexpr std::size_t kEnglishTexts = 452;

struct Lookup {
    std::int16_t id;
    std::int16_t offset;
    std::string text;
};

TEST(TextTable, GivesTheTextOfIdentifierPlusOffset) {
    const std::vector<Lookup> cases = {
        {192, 0, "Customer"},  {192, 1000, "Asiakas"}, {192, 13000, "Klant"},  // the first and the last block
        {100, 1000, "&Käytä"}, {611, 0, "Pressure drop in fluid distribution"},  // the first and the last text
        // the text runs to the end of its line, trailing blank included
        {364, 0, "A calculation with this name and customer already "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " + " + std::to_string(c.offset));
        EXPECT_EQ(localised_text(c.id, c.offset), c.text);
        EXPECT_EQ(settings::resource_text(c.id + c.offset), c.text);
    }
}

// Every language has a block, every block a language and the English identifiers;
// untranslated texts are held in English, so they come back from any block.
TEST(TextTable, EveryBlockHoldsTheEnglishIdentifiersOfItsLanguage) {
    for (const auto& language : settings::kLanguages)
        EXPECT_TRUE(settings::has_text_block(language.offset)) << language.name;
    const auto english = settings::block_texts(0);
    ASSERT_EQ(english.size(), kEnglishTexts);
    for (const auto& block : settings::text_blocks()) {
        SCOPED_TRACE(std::string(block.code));
        const auto language = settings::FindLanguage(block.code);
        ASSERT_TRUE(language) << "a block of no language";
        EXPECT_EQ(language->offset, block.offset);
        EXPECT_EQ(localised_text(101, block.offset), "AISI 316");
        const auto texts = settings::block_texts(block.offset);
        ASSERT_EQ(texts.size(), english.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i].first, english[i].first);
            EXPECT_FALSE(texts[i].second.empty());
        }
    }
}

// A sum beyond 16 bits is an overflow; a missing text names identifier and offset.
TEST(TextTable, OverflowingAndMissingTexts) {
    const std::vector<std::pair<std::int16_t, std::int16_t>> overflowing = {{32767, 1}, {-32768, -1}};
    for (const auto& [id, offset] : overflowing) {
        SCOPED_TRACE(std::to_string(id) + " + " + std::to_string(offset));
        const auto e = raised([&] { localised_text(id, offset); });
        ASSERT_TRUE(e);
        EXPECT_EQ(e->number(), settings::kTextOverflowError);
        EXPECT_NE(e->description().find("Overflow"), std::string::npos);
    }
    const std::vector<Lookup> missing = {
        {767, 32000, "32767"},  // the largest sum fits: missing, not an overflow
        {192, 4000, "4192"},    // an offset of no language
        {157, 0, "157"},        // a number of the range that carries no text
        {99, 1000, "1099"},     // below the range
        {612, 13000, "13612"},  // above it
    };
    for (const auto& c : missing) {
        SCOPED_TRACE(c.text);
        const auto e = raised([&] { localised_text(c.id, c.offset); });
        ASSERT_TRUE(e);
        EXPECT_EQ(e->number(), settings::kTextNotFoundError);
        const std::string& d = e->description();
        EXPECT_NE(d.find("identifier '" + c.text + "'"), std::string::npos) << d;
        EXPECT_NE(d.find("text " + std::to_string(c.id) + " with offset " + std::to_string(c.offset)),
                  std::string::npos)
            << d;
    }
    EXPECT_EQ(error_number([] { settings::resource_text(-5); }), settings::kTextNotFoundError);
}

TEST(TextTable, CurrentLanguageIsTheOffsetOfTheUserSettings) {
    settings::reset_library_state();
    EXPECT_EQ(localised_text(192), "Customer");
    settings::library_state().UserSettings.language = settings::FindLanguage("fr")->setting();
    EXPECT_EQ(localised_text(192), "Client");
    settings::library_state().UserSettings.language.iOffset = 4000;
    EXPECT_EQ(error_number([] { localised_text(192); }), settings::kTextNotFoundError);
    settings::reset_library_state();
}

TEST(Languages, FoundByCodeOrNameWithoutCase) {
    const std::vector<std::pair<std::string, std::int16_t>> found = {
        {"en", 0}, {"English", 0}, {"FINNISH", 1000}, {"Sv", 10000}, {"nl", 13000}, {" Dutch\t", 13000},
    };
    for (const auto& [text, offset] : found) {
        SCOPED_TRACE(text);
        const auto language = settings::FindLanguage(text);
        ASSERT_TRUE(language);
        EXPECT_EQ(language->offset, offset);
        EXPECT_EQ(settings::language_of_offset(offset)->name, language->name);
    }
    for (const char* text : {"", "xx", "Hungarian", "en-GB", "Englis", "dutchx"})
        EXPECT_FALSE(settings::FindLanguage(text)) << text;
    for (std::int16_t offset : {4000, 7000, 8000, 11000, 1, -1000})
        EXPECT_FALSE(settings::language_of_offset(offset)) << offset;
}

TEST(Languages, ChoicesNameEveryLanguageWithItsCode) {
    const std::string choices = settings::language_choices();
    std::set<std::string> codes;
    for (const auto& language : settings::kLanguages) {
        EXPECT_NE(choices.find(std::string(language.name) + " (" + std::string(language.code) + ")"), std::string::npos);
        codes.insert(std::string(language.code));
    }
    EXPECT_EQ(codes.size(), settings::kLanguages.size()) << "a code used twice";
}

// Every code the English messages know has a text, and no other.
TEST(EngineErrorTexts, EveryMessageOfTheEnglishListHasATextId) {
    for (int calc_type = 0; calc_type <= 2; ++calc_type)
        for (int code = -1; code <= 50; ++code) {
            SCOPED_TRACE(std::to_string(code) + " calc type " + std::to_string(calc_type));
            const bool has_message = !core::EngineErrorMessage(code, calc_type).empty();
            EXPECT_EQ(settings::engine_error_text_id(code, calc_type).has_value(), has_message);
        }
}

TEST(EngineErrorTexts, MessagesComeFromTheLanguagesBlock) {
    struct Case {
        int code;
        int calc_type;
        std::int16_t offset;
        std::string message;
    };
    const std::vector<Case> cases = {
        {15, 0, 0, "No solution found"},        {15, 0, 2000, "Aucune solution trouvée"},
        {6, 0, 0, "Too small or illegal number of plates"},
        {6, 1, 0, "No condensation, use PHE-program"}, {6, 2, 0, ""},
        {46, 0, 0, "Error in channel arrangement"},     {12, 0, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(settings::LocalEngineErrorMessage(c.code, c.calc_type, c.offset), c.message);
    }
    EXPECT_EQ(settings::LocalEngineErrorText(platform::kObjectError + 15, 0, 0), "Error No.: 15 : No solution found");
    EXPECT_EQ(settings::LocalEngineErrorText(platform::kObjectError + 15, 0, 1000),
              std::string(localised_text(229, 1000)) + " 15 : " + std::string(localised_text(228, 1000)));
    EXPECT_EQ(settings::LocalEngineErrorText(platform::kObjectError + 99, 0, 0), "Error No.: 99 : ");
    EXPECT_EQ(settings::LocalEngineErrorText(5, 0, 0), "Error No.: 2147221509 : ");
    EXPECT_EQ(error_number([] { settings::LocalEngineErrorMessage(15, 0, 4000); }), settings::kTextNotFoundError);
}

}  // namespace
}  // namespace hxq::test

namespace hxq::core {
namespace {

// Listed codes carry their message; unlisted and out-of-range codes none; code 6 follows
// the calculation type.
TEST(EngineErrorText, TextsByCodeAndCalculationType) {
    struct Case {
        std::int32_t number;
        std::int16_t calc_type;
        const char* text;
    };
    constexpr std::int32_t base = platform::kObjectError;
    for (const Case& c : {Case{base + 15, 0, "Error number: 15 : No solution found !"},
                          {-2147221504 + 4, 0, "Error number: 4 : Crossing or impossible temperatures."},
                          {base + 46, 0, "Error number: 46 : Wrong channel arrangment."},
                          {base + 12, 0, "Error number: 12 : "},
                          {base + 666, 0, "Error number: 666 : "},
                          {INT32_MAX, 0, "Error number: 4294705151 : "},  // far below the base: no overflow
                          {base + 6, 1, "Error number: 6 : No condensation, use Single Phase instead."},
                          {base + 6, 2, "Error number: 6 : "}})
        EXPECT_EQ(EngineErrorText(c.number, c.calc_type), c.text) << c.number << " type " << c.calc_type;
    const std::string spc = EngineErrorText(base + 6, 0);
    EXPECT_NE(spc.find("You have specified an incorrect number of plates.\r\nIf you have more than one pass"),
              std::string::npos);
    EXPECT_NE(spc.find("\r\nOtherwise number of plates must be an even number."), std::string::npos);
}

TEST(Records, ArraysKeepTheirDeclaredBounds) {
    SPCDataType d;
    EXPECT_NO_THROW(d.outdata[1]);
    EXPECT_NO_THROW(d.outdata[7]);
    EXPECT_THROW(d.outdata[0], std::out_of_range);
    EXPECT_THROW(d.outdata[8], std::out_of_range);
    EXPECT_THROW(d.GivenValues.MassFlux[3], std::out_of_range);
}

}  // namespace
}  // namespace hxq::core
