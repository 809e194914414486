// The denomination of the product data file's exchangers, on a scratch copy of the sample
// selector database and product data file: base articles, configured units, connection
// descriptions, and the files, sections and rows that are not there.
#include "output/cls_output.h"
#include "output/denomination.h"

#include "platform/scratch.h"
#include "settings/library_state.h"
#include "settings/settings_store.h"

#include "../support/run_process.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace hxq::output {
namespace {

const std::filesystem::path kSample = HXQ_SAMPLE_DIR;

class Denomination : public ::testing::Test {
protected:
    void SetUp() override {
        settings::reset_library_state();
        std::filesystem::copy_file(kSample / "selector.db", database);
        std::filesystem::copy_file(kSample / "tqs.qdf", qdf);
        settings::SaveSettingHXQ("HXQSelector", "Info", "DBPath", database.string());
    }
    void TearDown() override {
        settings::SaveSettingHXQ("HXQSelector", "Info", "DBPath", "");
        settings::reset_library_state();
    }
    test::ScratchFolder scratch{HXQ_TEST_TMP, "denomination"};
    std::filesystem::path database = scratch.path() / "selector.db";
    std::filesystem::path qdf = scratch.path() / "tqs.qdf";
    clsOutput output;
};

TEST_F(Denomination, BaseArticleShowsItsModelAndDenominationFromTheGivenOrTheDataFoldersFile) {
    EXPECT_EQ(output.Get_Denomination(qdf.string()), "Q32 brazed plate heat exchanger (Q32-C30)");
    const ProductDenomination d = read_denomination(qdf, 1, database.string());
    EXPECT_EQ(d.ModelCode, "QB*Q32*27");
    EXPECT_EQ(d.Plates, 30);
    EXPECT_EQ(d.PlateMaterial, "AISI 316L");
    // An empty path reads the data folder's file.
    settings::library_state().host.ExePath = scratch.path().string();
    EXPECT_EQ(output.Get_Denomination(""), "Q32 brazed plate heat exchanger (Q32-C30)");
}

TEST_F(Denomination, ConfiguredUnitShowsItsConnectionsPerPlate) {
    // HXQ2: frame plate two G 1 threads and a 22 mm solder port, pressure plate one solder
    // port and a blind one ("0").
    const ProductDenomination d = read_denomination(qdf, 2, database.string());
    EXPECT_EQ(d.Text, "Q22 brazed plate heat exchanger (2*CT24+CS22 / CS22)");
    EXPECT_EQ(d.Plates, 40);
    platform::Database db = platform::OpenDatabase(database.string());
    struct Case { const char* frame; const char* pressure; const char* text; };
    const Case cases[] = {
        {"881028;881028", "", "2*CS28"},
        {"", "881028", "CS28"},
        {"880016; 881016 ;880016", "883050", "2*CT16+CS16 / CF50"},
        {"880016;999999", "0;0", "CT16+N/A"},
        {"", "", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(configured_connections(db, c.frame, c.pressure), c.text) << c.frame;
}

TEST_F(Denomination, ShortDescriptionIsNotAvailableWithoutARowOrText) {
    platform::Database db = platform::OpenDatabase(database.string());
    db.Execute("INSERT INTO Connections ([ArtNo], [Connection XPC], [Denomination]) VALUES (889999, 'CX', 'No text')");
    EXPECT_EQ(connection_short_description(db, "881028"), "Solder 28");
    EXPECT_EQ(connection_short_description(db, "123"), "N/A");
    EXPECT_EQ(connection_short_description(db, "889999"), "N/A");
    // An article number goes into the query unquoted; anything but digits is refused.
    EXPECT_EQ(test::error_number([&] { connection_short_description(db, "1 OR 1=1"); }), 13);
}

TEST_F(Denomination, WhatIsMissingIsNamed) {
    struct Case {
        const char* what;
        std::filesystem::path qdf;
        int exchanger;
        std::string database;
        std::int32_t number;
        const char* named;  // in the description
    };
    const Case cases[] = {
        {"no such exchanger", qdf, 3, database.string(), 5, "[HXQ3]"},
        {"no product data file", scratch.path() / "none.qdf", 1, database.string(), 53, "none.qdf"},
        {"no database", qdf, 1, (scratch.path() / "none.db").string(), 3024, "none.db"},
        {"no Type", scratch.write("a.qdf", "[HXQ1]\nArtNo=710040\n"), 1, database.string(), 5, "Type"},
        {"no article code", scratch.write("b.qdf", "[HXQ1]\nType=Q32\nArtNo=710040\n"), 1, database.string(), 5, "Q32"},
        {"unknown base article, quote kept in its text",
         scratch.write("c.qdf", "[HXQ1]\nType=QB*Q32*27*C\nArtNo=71'0040\n"), 1, database.string(),
         platform::kObjectError + 666, "71'0040"},
        {"unknown model", scratch.write("d.qdf", "[HXQ1]\nType=CONFIG\nArtNo=QB*Q99*10*C\n"), 1, database.string(),
         platform::kObjectError + 666, "QB*Q99*10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto e = test::raised([&] { read_denomination(c.qdf, c.exchanger, c.database); });
        ASSERT_TRUE(e);
        EXPECT_EQ(e->number(), c.number);
        EXPECT_NE(e->description().find(c.named), std::string::npos) << e->description();
    }
    EXPECT_EQ(platform::db_open_handles().databases, 0);
    EXPECT_EQ(platform::db_open_handles().recordsets, 0);
}

}  // namespace
}  // namespace hxq::output
