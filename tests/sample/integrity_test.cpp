// Referential integrity of the sample product range: every id a calculation, a printout
// or a quotation follows from one table to another resolves, except the one deliberate
// gap (a model without a Cost row, so that the default prices are exercised).
#include "sample_db.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <regex>
#include <set>
#include <string>

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
    const auto hxq = db.ids("SELECT HXQID FROM HXQ");
    std::map<long long, long long> model_dual;
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
            long long gid = std::stoll(m.substr(2));
            ASSERT_TRUE(by_id.count(gid)) << "membership " << m << " names no node";
            EXPECT_FALSE(is_model_node(by_id.at(gid))) << "membership " << m << " names a model";
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
        EXPECT_TRUE(hxq.count(model)) << "no HXQ row " << model;
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

}  // namespace
}  // namespace hxq::sample_test
