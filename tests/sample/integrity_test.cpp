// The built sample range: every id a calculation, printout or quotation follows resolves
// (but for one model without a Cost row, for the default prices), every column the library
// reads is spelled as it names it, the two-stage and cascade builds stay in their groups,
// and the installation's settings name this build's databases.
#include "sample_db.h"

#include "platform/profile.h"
#include "platform/registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace hxq::sample_test {
namespace {

bool is_model_node(const Row& r) { return !r.at("Table").blank(); }

std::vector<std::string> memberships(const std::string& group) {
    static const std::regex re("([A-Z])/([0-9]{3})");
    std::vector<std::string> out;
    for (auto it = std::sregex_iterator(group.begin(), group.end(), re); it != std::sregex_iterator(); ++it)
        out.push_back(it->str());
    return out;
}

class ProductDatabase : public ::testing::TestWithParam<const char*> {};

// The checks both product databases must pass.
TEST_P(ProductDatabase, TreeNodesModelsChannelsAndFactorsResolve) {
    const std::string file = GetParam();
    SampleDb db(file);
    std::map<long long, Row> by_id;
    for (const auto& r : db.query("SELECT * FROM ModelTree")) by_id[r.at("NodeID").integer()] = r;
    ASSERT_FALSE(by_id.empty());
    std::map<long long, long long> model_dual;  // by HXQID
    for (const auto& r : db.query("SELECT HXQID, Dual FROM HXQ"))
        model_dual[r.at("HXQID").integer()] = r.at("Dual").integer();
    std::map<long long, long long> channel_model;
    for (const auto& r : db.query("SELECT ChannelID, HXQID FROM Channel"))
        channel_model[r.at("ChannelID").integer()] = r.at("HXQID").integer();
    std::set<long long> ad;
    if (db.has_table("AD-Models")) ad = db.ids("SELECT ADID FROM \"AD-Models\"");
    for (const auto& [id, r] : by_id) {
        SCOPED_TRACE("node " + std::to_string(id) + " " + r.at("Alias").text());
        // Parents resolve and lead to the root without a cycle.
        long long p = r.at("ParentID").integer(), steps = 0;
        while (p != 0 && steps++ < 50) {
            ASSERT_TRUE(by_id.count(p)) << "parent " << p << " does not exist";
            p = by_id.at(p).at("ParentID").integer();
        }
        EXPECT_EQ(p, 0) << "the parent chain does not end at the root";
        // Instr compares without case, so a lower-case letter would be a duty letter too.
        const std::string group = r.at("Group").text();
        EXPECT_TRUE(std::all_of(group.begin(), group.end(), [](unsigned char c) {
            return std::isupper(c) || std::isdigit(c) || c == '/' || c == ' ';
        })) << "Group \"" << group << '"';
        for (const auto& m : memberships(group)) {
            const auto node = by_id.find(std::stoll(m.substr(2)));
            ASSERT_NE(node, by_id.end()) << "membership " << m << " names no node";
            EXPECT_FALSE(is_model_node(node->second)) << "membership " << m << " names a model";
        }
        const std::string level = r.at("UserLevel").text();
        EXPECT_FALSE(level.empty());
        EXPECT_EQ(level.find_first_not_of("ABC"), std::string::npos) << "UserLevel " << level;

        if (!is_model_node(r)) continue;
        const long long model = r.at("ModelID").integer();
        if (r.at("Table").text() == "AD-Models") {
            EXPECT_TRUE(ad.count(model)) << "no AD-Models row " << model;
            continue;
        }
        EXPECT_EQ(r.at("Table").text(), "HXQ");
        EXPECT_TRUE(model_dual.count(model)) << "no HXQ row " << model;
        // The engine rates a dual pack by the model's flag, the alternative shows the node's.
        EXPECT_EQ(r.at("Dual").integer(), model_dual[model]) << "Dual of the node and of HXQ " << model;
        EXPECT_NE(group.find_first_of("SCET"), std::string::npos) << "no duty letter";
        for (const char* side : {"1", "2"}) {
            EXPECT_FALSE(r.at(std::string("ChannelID") + side + "Left").blank()) << "side " << side << " has no left";
            for (const char* which : {"Left", "Right"}) {
                const Cell& c = r.at(std::string("ChannelID") + side + which);
                if (c.blank()) continue;
                // A node's channels exist and belong to its own model.
                ASSERT_TRUE(channel_model.count(c.integer())) << "channel " << c.integer() << " missing";
                EXPECT_EQ(channel_model.at(c.integer()), model) << "channel " << c.integer();
            }
        }
    }

    // Every V-ring model names a distributor, with a sensible pressure-drop window.
    const auto vrings = db.ids("SELECT VRingID FROM VRing");
    for (const auto& m : db.query("SELECT * FROM HXQ WHERE VRingID <> 0")) {
        EXPECT_TRUE(vrings.count(m.at("VRingID").integer())) << "HXQ " << m.at("HXQID").integer();
        EXPECT_LT(m.at("MinPressureDropVRing").number(), m.at("MaxPressureDropVRing").number());
    }
    // Correction factors name existing channels and hold numbers stored as texts.
    for (const auto& f : db.query("SELECT * FROM \"Channel-Fluid-Factors\"")) {
        EXPECT_TRUE(channel_model.count(f.at("ChannelID").integer()));
        for (const auto& [name, cell] : f) {
            if (name.find("Corr") == std::string::npos && name.find("NoP") == std::string::npos) continue;
            EXPECT_EQ(cell.kind, Cell::Text) << name << " is stored as text";
            EXPECT_NO_THROW((void)cell.number()) << name << " = " << cell.text();
        }
    }
    // Refrigerant rows use the identifiers the fluid objects report.
    const auto refrigerants = SampleDb("fluids.db").ids("SELECT FluidID FROM Refrigerants");
    for (long long fluid : db.ids("SELECT DISTINCT FluidID FROM \"Channel-Fluid-Factors\" WHERE FluidID <> 0"))
        EXPECT_TRUE(refrigerants.count(fluid)) << "FluidID " << fluid;
}

// Stock ids resolve; exactly one model of the main database runs on the default prices.
TEST_P(ProductDatabase, StockAndPriceIdsResolveExceptTheModelWithoutCost) {
    const std::string file = GetParam();
    SampleDb db(file);
    const auto stock_ids = SampleDb("stock.db").ids("SELECT StockID FROM Stock");
    const auto costs = db.ids("SELECT PriceID FROM Cost");
    std::set<std::string> unpriced;
    for (const auto& r : db.query("SELECT n.*, h.ModelName FROM ModelTree n JOIN HXQ h "
                                  "ON h.HXQID = n.ModelID WHERE n.\"Table\" = 'HXQ'")) {
        EXPECT_TRUE(stock_ids.count(r.at("StockID").integer()))
            << "node " << r.at("NodeID").integer() << " StockID " << r.at("StockID").text();
        if (!costs.count(r.at("PriceID").integer())) unpriced.insert(r.at("ModelName").text());
    }
    // A unit starts at a few times its plates, a pass costs a fraction of the start, and
    // over the main range plate prices grow more than tenfold.
    const auto prices = db.query("SELECT DISTINCT h.PlateArea, c.* FROM ModelTree n JOIN HXQ h ON h.HXQID = "
                                 "n.ModelID JOIN Cost c ON c.PriceID = n.PriceID ORDER BY h.PlateArea");
    ASSERT_GE(prices.size(), 2u);
    for (const auto& c : prices) {
        EXPECT_GT(c.at("TQSP1").number(), 20 * c.at("TQSP2").number()) << "PriceID " << c.at("PriceID").integer();
        EXPECT_LT(c.at("PricePass").number(), c.at("TQSP1").number()) << "PriceID " << c.at("PriceID").integer();
    }
    if (file == "products.db") {
        EXPECT_EQ(unpriced, std::set<std::string>{"Q14"});
        EXPECT_GT(prices.back().at("TQSP2").number(), 10 * prices.front().at("TQSP2").number());
        for (long long price : db.ids("SELECT PriceID FROM \"AD-Models\"")) EXPECT_TRUE(costs.count(price));
    } else {
        EXPECT_TRUE(unpriced.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Sample, ProductDatabase, ::testing::Values("products.db", "legacy.db"));

TEST(SampleIntegrity, EveryDenominationHasItsArticleCodesAndMostABaseArticle) {
    SampleDb db("products.db");
    SampleDb sel("selector.db");
    const auto codes = sel.texts("SELECT XPC FROM HXQMeas");
    const auto dens = db.query("SELECT d.*, h.MaxPasses, n.\"Group\" FROM Denomination d JOIN ModelTree n "
                               "ON n.NodeID = d.NodeID JOIN HXQ h ON h.HXQID = n.ModelID");
    ASSERT_EQ(dens.size(), db.query("SELECT * FROM Denomination").size()) << "a Denomination row names no model node";
    // Every model node of the main database can be given physical data.
    EXPECT_EQ(dens.size(), db.query("SELECT * FROM ModelTree WHERE \"Table\" = 'HXQ'").size());
    bool two_pass_fallback = false;
    for (const auto& d : dens) {
        const std::string group = d.at("Group").text(), stem = article_stem(d);
        SCOPED_TRACE(stem);
        if (!d.at("Execution").blank()) {
            EXPECT_TRUE(codes.count(stem + d.at("Execution").text() + "*S"));
            continue;
        }
        if (group.find('T') != std::string::npos) {
            EXPECT_TRUE(codes.count(stem + "2S*S"));
        }
        if (group.find_first_of("SCE") != std::string::npos) {
            EXPECT_TRUE(codes.count(stem + "1P*S"));
        }
        // A single-phase alternative counts the passes down to the first code found.
        if (group.find('S') != std::string::npos && d.at("MaxPasses").integer() >= 3 &&
            !codes.count(stem + "3P*S") && codes.count(stem + "2P*S"))
            two_pass_fallback = true;
    }
    EXPECT_TRUE(two_pass_fallback) << "no 3-pass model falls back to its 2-pass code";
    const auto nodes = db.ids("SELECT NodeID FROM ModelTree");
    for (const auto& x : db.query("SELECT * FROM XPC")) {
        EXPECT_TRUE(nodes.count(x.at("NodeID").integer()));
        EXPECT_TRUE(codes.count(x.at("XPc").text())) << x.at("XPc").text();
    }

    // Base articles name their factories and their warehouse stock names them. The filter
    // finds a base article for most models, and for some none.
    EXPECT_FALSE(sel.has("SELECT 1 FROM BaseArticleNumbers WHERE Factory IS NULL OR Factory = ''"));
    const auto articles = sel.texts("SELECT BaseArtNo FROM BaseArticleNumbers");
    for (const auto& a : sel.texts("SELECT ArtNo FROM ITEM_PLAN_NF")) EXPECT_TRUE(articles.count(a)) << a;
    const auto types = db.texts("SELECT DISTINCT Type FROM Denomination");
    const auto with_article = std::count_if(types.begin(), types.end(), [&](const std::string& t) {
        return sel.has("SELECT 1 FROM BaseArticleNumbers WHERE Type = '" + t + "'");
    });
    EXPECT_GT(with_article, static_cast<long>(types.size() / 2));
    EXPECT_LT(with_article, static_cast<long>(types.size()));
}

// Stock levels are plate counts, at least one per row; Q14's gap and Q320's twenty levels
// are read through the library in tests/core.
TEST(SampleIntegrity, StockLevelsArePlateCounts) {
    for (const auto& r : SampleDb("stock.db").query("SELECT * FROM Stock")) {
        SCOPED_TRACE("StockID " + r.at("StockID").text());
        EXPECT_FALSE(r.at("Level1").blank());
        for (int i = 1; i <= 20; ++i) {
            const Cell& c = r.at("Level" + std::to_string(i));
            if (c.blank()) continue;
            const long long n = std::stoll(c.text());
            EXPECT_TRUE(n >= 4 && n <= 32767) << "Level" << i << " = " << n;
        }
    }
}

TEST(SpecialBuilds, TwoStageAndCascadeBuildsOnlyInTheirGroups) {
    SampleDb db("products.db");
    struct Case {
        const char* model;
        const char* group;  // the Group text of every node of the model
        const char* parent_group;
    };
    for (const Case c : {Case{"Q32T", "T", "T T/042"}, Case{"Q60T", "T", "T T/042"},
                         Case{"Q32C", "C E E/035", nullptr}, Case{"Q60C", "C E E/035", nullptr}}) {
        SCOPED_TRACE(c.model);
        const auto rows = db.query(std::string("SELECT t.\"Group\", p.\"Group\" AS ParentGroup FROM ModelTree t "
                                               "JOIN ModelTree p ON p.NodeID = t.ParentID WHERE t.PureType = '") +
                                   c.model + "'");
        ASSERT_FALSE(rows.empty());
        for (const auto& r : rows) {
            EXPECT_EQ(r.at("Group").text(), c.group);
            if (c.parent_group) {
                EXPECT_EQ(r.at("ParentGroup").text(), c.parent_group);
            }
        }
    }
    // The cascade builds take the CO2 low stage's pressure: 46 bar (stored in hPa).
    SampleDb selector("selector.db");
    const auto meas =
        selector.query("SELECT CH1PressAlt1 FROM HXQMeas WHERE XPC LIKE 'QB*Q32C*%' OR XPC LIKE 'QB*Q60C*%'");
    ASSERT_FALSE(meas.empty());
    for (const auto& r : meas) EXPECT_DOUBLE_EQ(r.at("CH1PressAlt1").number(), 46000.0);
}

struct TableColumns {
    std::string table;
    std::string columns;  // separated by ", "
};

std::string numbered(const std::string& stem, int from, int to) {
    std::string out;
    for (int i = from; i <= to; ++i) out += ", " + stem + std::to_string(i);
    return out;
}

// The tables every calculation reads, in both product databases.
std::vector<TableColumns> calculation_tables() {
    std::string channel = "ChannelID, ChannelName, PortDiaUp, PortDiaDown, SlitResistance, cFp, noFp, cnu, noNu, "
                          "ExtraChannel, ChVol";
    for (const char* stem : {"xFp", "crFp", "xNu", "crNu"}) channel += numbered(stem, 0, 4);
    return {
        {"ModelTree",
         "NodeID, ParentID, Alias, Group, UserLevel, InUse, Table, ChannelCombination, PureType, ChannelType, "
         "Information2, CalcMethod, ModelID, Dual, StockID, PriceID, ChannelID1Left, ChannelID1Right, "
         "ChannelID2Left, ChannelID2Right"},
        {"HXQ",
         "HXQID, plateThickness, Enlargement, Dh, PlateArea, FlowLength, FlowWidth, Information2, CoCurrHTCFactor, "
         "MaxPlates, MaxPasses, Dual, Split, Depth, DTMin, VRingID, MaxPressureDropVRing, MinPressureDropVRing"},
        {"Channel", channel},
        {"Channel-Fluid-Factors",
         "ChannelID, FluidID, V-model, CounterCurrent, cNuCorrVAP, xNuCorrVAP, cNuNoPCorrVAP, cNuNoPRefVAP, "
         "cNuMaxNoPVAP, cNuCorrCON, xNuCorrCON, cNuNoPCorrCON, cNuNoPRefCON, cNuMaxNoPCON"},
        {"VRing", "VRingID, Dorifice, DiameterIN, NoOrifice"},
        {"Cost", "PriceID, TQSP1, TQSP2, PricePass"},
    };
}

void expect_columns(const std::string& file, const std::vector<TableColumns>& tables) {
    SampleDb db(file);
    for (const auto& t : tables) {
        ASSERT_TRUE(db.has_table(t.table)) << file << " lacks table " << t.table;
        const auto have = db.columns(t.table);
        for (std::size_t start = 0, end = 0; start < t.columns.size(); start = end + 2) {
            end = std::min(t.columns.find(", ", start), t.columns.size());
            const std::string c = t.columns.substr(start, end - start);
            EXPECT_TRUE(have.count(c)) << file << ": " << t.table << " lacks column \"" << c << '"';
        }
    }
}

TEST(SampleColumns, EveryDatabaseHasEveryColumnRead) {
    auto tables = calculation_tables();
    tables.push_back({"Denomination", "NodeID, Class, Type, Size, Material, Chantype, Execution"});
    tables.push_back({"XPC", "NodeID, XPc"});
    expect_columns("products.db", tables);
    expect_columns("legacy.db", calculation_tables());
    expect_columns("stock.db", {{"Stock", "StockID" + numbered("Level", 1, 20)}});
    expect_columns(
        "selector.db",
        {{"HXQMeas",
          "XPC, MinNoP, Height, Width, PP_Start, PP_Plate, PP_LessChpl, OffsetDepth, TestPressure1, CH1PressAlt1, "
          "CH1PressAlt2, CH2PressAlt1, CH2PressAlt2, CH1TempAlt1, CH1TempAlt2, Weight_Start, Weight_Plate"},
         {"BaseArticleNumbers", "Class, Type, Size, Material, Pressure, Factory, BaseArtNo"},
         {"ITEM_PLAN_NF", "ArtNo, NoPlates, WHS_NBR, conXPC"}});
}

namespace fs = std::filesystem;
using platform::kHKeyLocalMachine;

std::string machine_value(const std::string& key, const std::string& name) {
    platform::RegistryStore store(sample_dir() / "registry.ini");
    return store.query_value(kHKeyLocalMachine, key, name).value_or("<missing>");
}

// The path names a database of this build's sample folder that holds `table`.
void expect_database(const std::string& path, const std::string& table) {
    ASSERT_EQ(fs::path(path).parent_path(), sample_dir()) << path;
    SampleDb db(fs::path(path).filename().string());
    EXPECT_TRUE(db.has_table(table)) << path << " lacks " << table;
}

TEST(SampleInstall, MachineStoreNamesTheBuiltDatabases) {
    ASSERT_TRUE(fs::exists(sample_dir() / "registry.ini"));
    const std::string settings = "SOFTWARE\\Qarn\\HXQ\\Settings";
    expect_database(machine_value(settings, "HXQnew"), "ModelTree");
    expect_database(machine_value(settings, "ConvertDB"), "Convert");
    expect_database(machine_value("SOFTWARE\\Qarn\\HXQSelector\\Info", "DBPath"), "HXQMeas");
    // The fluid database is built by the fluid component's sample folder; only its place
    // is fixed here.
    EXPECT_EQ(fs::path(machine_value(settings, "DBFluid2000")).parent_path(), sample_dir());
    EXPECT_TRUE(fs::path(machine_value(settings, "TemplatePath")).is_absolute());
    EXPECT_EQ(machine_value(settings, "LangTemplate"), "English");
}

TEST(SampleInstall, UserSettingsNameTheStockDatabaseAndAWritableUserFolder) {
    const auto ini = platform::ProfileFile::load(sample_dir() / "hxq.ini");
    expect_database(ini.read("Action", "DBStock", ""), "Stock");
    for (const char* key : {"HXQSave", "DBSave", "DBUserfluid2000"}) {
        fs::path p = ini.read("Action", key, "");
        EXPECT_TRUE(p.is_absolute()) << key;
        EXPECT_TRUE(fs::is_directory(p.parent_path())) << key << " " << p;
    }
    // Paths must survive the 128-character read buffer of the settings code.
    for (const auto& key : ini.keys("Action"))
        EXPECT_EQ(ini.read("Action", key, ""), ini.value("Action", key).value_or("")) << key;
}

}  // namespace
}  // namespace hxq::sample_test
