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

std::set<long long> ids(const SampleDb& db, const std::string& sql) {
    std::set<long long> out;
    for (const auto& r : db.query(sql)) out.insert(r.begin()->second.integer());
    return out;
}

std::vector<std::string> memberships(const std::string& group) {
    static const std::regex re("([A-Z])/([0-9]{3})");
    std::vector<std::string> out;
    for (auto it = std::sregex_iterator(group.begin(), group.end(), re); it != std::sregex_iterator(); ++it)
        out.push_back(it->str());
    return out;
}

// The checks both product databases must pass.
void check_tree(const SampleDb& db, const std::string& file) {
    auto nodes = db.query("SELECT * FROM ModelTree");
    ASSERT_FALSE(nodes.empty()) << file;
    std::map<long long, Row> by_id;
    for (const auto& r : nodes) by_id[r.at("NodeID").integer()] = r;
    auto hxq = ids(db, "SELECT HXQID FROM HXQ");
    auto channels = ids(db, "SELECT ChannelID FROM Channel");
    std::map<long long, long long> channel_model;
    for (const auto& r : db.query("SELECT ChannelID, HXQID FROM Channel"))
        channel_model[r.at("ChannelID").integer()] = r.at("HXQID").integer();
    std::set<long long> ad;
    if (db.has_table("AD-Models")) ad = ids(db, "SELECT ADID FROM \"AD-Models\"");

    for (const auto& [id, r] : by_id) {
        SCOPED_TRACE(file + " node " + std::to_string(id) + " " + r.at("Alias").text());
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

        if (!is_model_node(r)) {
            EXPECT_TRUE(r.at("ModelID").null());
            continue;
        }
        const long long model = r.at("ModelID").integer();
        if (r.at("Table").text() == "AD-Models") {
            EXPECT_TRUE(ad.count(model)) << "no AD-Models row " << model;
            continue;
        }
        EXPECT_EQ(r.at("Table").text(), "HXQ");
        EXPECT_TRUE(hxq.count(model)) << "no HXQ row " << model;
        EXPECT_NE(group.find_first_of("SCET"), std::string::npos) << "no duty letter";
        for (const char* side : {"1", "2"}) {
            for (const char* which : {"Left", "Right"}) {
                const Cell& c = r.at(std::string("ChannelID") + side + which);
                if (c.blank()) continue;
                ASSERT_TRUE(channels.count(c.integer())) << "channel " << c.integer() << " missing";
                // A node's channels belong to its own model.
                EXPECT_EQ(channel_model.at(c.integer()), model) << "channel " << c.integer();
            }
            EXPECT_FALSE(r.at(std::string("ChannelID") + side + "Left").blank())
                << "side " << side << " has no left channel";
        }
    }

    // Every V-ring model names a distributor, with a sensible pressure-drop window.
    auto vrings = ids(db, "SELECT VRingID FROM VRing");
    for (const auto& m : db.query("SELECT * FROM HXQ WHERE VRingID <> 0")) {
        EXPECT_TRUE(vrings.count(m.at("VRingID").integer())) << file << " HXQ " << m.at("HXQID").integer();
        EXPECT_LT(m.at("MinPressureDropVRing").number(), m.at("MaxPressureDropVRing").number());
    }
    // Correction factors name existing channels and hold numbers.
    for (const auto& f : db.query("SELECT * FROM \"Channel-Fluid-Factors\"")) {
        EXPECT_TRUE(channels.count(f.at("ChannelID").integer())) << file;
        for (const auto& [name, cell] : f) {
            if (name.find("Corr") != std::string::npos || name.find("NoP") != std::string::npos) {
                EXPECT_EQ(cell.kind, Cell::Text) << name << " is stored as text";
                EXPECT_NO_THROW((void)cell.number()) << name << " = " << cell.text();
            }
        }
    }
}

TEST(SampleIntegrity, MainTreeNodesResolve) {
    SampleDb db("products.db");
    check_tree(db, "products.db");
}

TEST(SampleIntegrity, LegacyTreeNodesResolve) {
    SampleDb db("legacy.db");
    check_tree(db, "legacy.db");
}

TEST(SampleIntegrity, StockAndPriceIdsResolveExceptTheModelWithoutCost) {
    SampleDb stock("stock.db");
    auto stock_ids = ids(stock, "SELECT StockID FROM Stock");
    for (const char* file : {"products.db", "legacy.db"}) {
        SampleDb db(file);
        auto costs = ids(db, "SELECT PriceID FROM Cost");
        std::set<std::string> unpriced;
        for (const auto& r : db.query("SELECT n.*, h.ModelName FROM ModelTree n JOIN HXQ h "
                                      "ON h.HXQID = n.ModelID WHERE n.\"Table\" = 'HXQ'")) {
            EXPECT_TRUE(stock_ids.count(r.at("StockID").integer()))
                << file << " node " << r.at("NodeID").integer() << " StockID " << r.at("StockID").text();
            if (!costs.count(r.at("PriceID").integer())) unpriced.insert(r.at("ModelName").text());
        }
        if (std::string(file) == "products.db") {
            // Exactly one model runs on the default prices.
            EXPECT_EQ(unpriced, std::set<std::string>{"Q14"});
            for (const auto& r : db.query("SELECT PriceID FROM \"AD-Models\""))
                EXPECT_TRUE(costs.count(r.at("PriceID").integer()));
        } else {
            EXPECT_TRUE(unpriced.empty());
        }
    }
}

TEST(SampleIntegrity, AirDryerPairsNameExistingModelsChannelsAndNodes) {
    SampleDb db("products.db");
    auto rows = db.query("SELECT * FROM \"AD-Models\"");
    EXPECT_GE(rows.size(), 3u);
    std::set<long long> with_null_plates;
    for (const auto& r : rows) {
        for (const char* unit : {"Air", "Ref"}) {
            const std::string u(unit);
            long long model = r.at(u + "HXQID").integer();
            // The air dryer finds each unit's node by model and side channels.
            auto node = db.query(
                "SELECT n.NodeID FROM ModelTree n JOIN Channel a ON a.ChannelID = n.ChannelID1Left "
                "JOIN Channel b ON b.ChannelID = n.ChannelID2Left "
                "WHERE n.ModelID = ?1 AND n.ChannelID1Left = ?2 AND n.ChannelID2Left = ?3 "
                "AND a.HXQID = ?1 AND b.HXQID = ?1",
                {SampleDb::int_cell(model), SampleDb::int_cell(r.at(u + "ChannelIDSide1").integer()),
                 SampleDb::int_cell(r.at(u + "ChannelIDSide2").integer())});
            EXPECT_FALSE(node.empty()) << "ADID " << r.at("ADID").integer() << ": no " << u << " node";
        }
        EXPECT_GT(r.at("MaxNoOfPlates").integer(), 0);
        if (r.at("AirNoOfPlates").null()) {
            with_null_plates.insert(r.at("ADID").integer());
        } else {
            EXPECT_LE(r.at("AirNoOfPlates").integer() + r.at("RefNoOfPlates").integer(),
                      r.at("MaxNoOfPlates").integer());
        }
    }
    // One size leaves the plate numbers open, which ends the read of the row early.
    EXPECT_EQ(with_null_plates.size(), 1u);
}

TEST(SampleIntegrity, EveryDenominationHasItsArticleCodes) {
    SampleDb db("products.db");
    SampleDb sel("selector.db");
    std::set<std::string> codes;
    for (const auto& r : sel.query("SELECT XPC FROM HXQMeas")) codes.insert(r.at("XPC").text());
    std::map<long long, Row> nodes;
    for (const auto& r : db.query("SELECT * FROM ModelTree")) nodes[r.at("NodeID").integer()] = r;

    auto dens = db.query("SELECT d.*, h.MaxPasses FROM Denomination d JOIN ModelTree n "
                         "ON n.NodeID = d.NodeID JOIN HXQ h ON h.HXQID = n.ModelID");
    ASSERT_EQ(dens.size(), db.query("SELECT * FROM Denomination").size())
        << "a Denomination row names no model node";
    // Every model node of the main database can be given physical data.
    EXPECT_EQ(dens.size(), db.query("SELECT * FROM ModelTree WHERE \"Table\" = 'HXQ'").size());
    bool two_pass_fallback = false;
    for (const auto& d : dens) {
        const auto& node = nodes.at(d.at("NodeID").integer());
        const std::string group = node.at("Group").text();
        std::string stem = d.at("Class").text() + "*" + d.at("Type").text() + "*" + d.at("Size").text() +
                           "*" + d.at("Material").text() + "*" + d.at("Chantype").text() + "*";
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
        if (group.find('S') != std::string::npos) {
            // A single-phase alternative counts the passes down to the first code found.
            long long passes = d.at("MaxPasses").integer();
            if (passes >= 3 && !codes.count(stem + "3P*S") && codes.count(stem + "2P*S"))
                two_pass_fallback = true;
        }
    }
    EXPECT_TRUE(two_pass_fallback) << "no 3-pass model falls back to its 2-pass code";

    for (const auto& x : db.query("SELECT * FROM XPC")) {
        EXPECT_TRUE(nodes.count(x.at("NodeID").integer()));
        EXPECT_TRUE(codes.count(x.at("XPc").text())) << x.at("XPc").text();
    }
}

TEST(SampleIntegrity, SelectorArticlesConnectionsAndMaterialsResolve) {
    SampleDb db("products.db");
    SampleDb sel("selector.db");
    std::set<std::string> models, connections, materials, articles;
    for (const auto& r : sel.query("SELECT XPC FROM Models")) models.insert(r.at("XPC").text());
    for (const auto& r : sel.query("SELECT \"Connection XPC\" AS c FROM Connections"))
        connections.insert(r.at("c").text());
    for (const auto& r : sel.query("SELECT Material FROM XPCmaterial")) materials.insert(r.at("Material").text());
    for (const auto& r : sel.query("SELECT * FROM BaseArticleNumbers")) {
        articles.insert(r.at("BaseArtNo").text());
        EXPECT_TRUE(models.count(r.at("XPC").text())) << r.at("XPC").text();
        EXPECT_TRUE(materials.count(r.at("Material").text()));
        EXPECT_FALSE(r.at("Factory").blank());
    }
    for (const auto& r : db.query("SELECT DISTINCT Material FROM Denomination"))
        EXPECT_TRUE(materials.count(r.at("Material").text()));
    for (const auto& r : sel.query("SELECT * FROM ITEM_PLAN_NF")) {
        EXPECT_TRUE(articles.count(r.at("ArtNo").text())) << r.at("ArtNo").text();
        EXPECT_TRUE(connections.count(r.at("conXPC").text())) << r.at("conXPC").text();
    }
    // The filter finds a base article for most models, and for some none.
    auto found = db.query("SELECT DISTINCT d.Type FROM Denomination d");
    std::size_t with_article = 0;
    for (const auto& t : found)
        with_article += !sel.query("SELECT 1 FROM BaseArticleNumbers WHERE Type = ?1",
                                   {SampleDb::text_cell(t.at("Type").text())})
                             .empty();
    EXPECT_GT(with_article, found.size() / 2);
    EXPECT_LT(with_article, found.size());
}

TEST(SampleIntegrity, StockLevelsArePlateCountsAndOneRowHasAGapAtLevel3) {
    SampleDb db("stock.db");
    int gaps = 0, full = 0;
    for (const auto& r : db.query("SELECT * FROM Stock")) {
        int counted = 0;
        bool ended = false;
        for (int i = 1; i <= 20; ++i) {
            const Cell& c = r.at("Level" + std::to_string(i));
            if (c.blank()) {
                ended = true;
                if (i == 3 && !r.at("Level4").blank()) ++gaps;
                continue;
            }
            long long n = std::stoll(c.text());
            EXPECT_TRUE(n >= 4 && n <= 32767) << "StockID " << r.at("StockID").integer();
            if (!ended) ++counted;
        }
        EXPECT_GE(counted, 1);
        full += counted == 20;
    }
    EXPECT_EQ(gaps, 1);
    EXPECT_GE(full, 1) << "no row uses all twenty levels";
}

// The range covers what the calculations and their tests need.
TEST(SampleIntegrity, RangeCoversSizesDutiesAndSpecialCases) {
    SampleDb db("products.db");
    auto in_use = db.query("SELECT DISTINCT h.* FROM HXQ h JOIN ModelTree n ON n.ModelID = h.HXQID "
                           "AND n.\"Table\" = 'HXQ' WHERE n.InUse = -1 AND h.Dual = 0");
    EXPECT_GE(in_use.size(), 10u);
    double smallest = 1, largest = 0;
    for (const auto& m : in_use) {
        smallest = std::min(smallest, m.at("PlateArea").number());
        largest = std::max(largest, m.at("PlateArea").number());
    }
    EXPECT_LE(smallest, 0.011);
    EXPECT_GE(largest, 0.45);
    EXPECT_FALSE(db.query("SELECT 1 FROM HXQ h JOIN Channel c ON c.HXQID = h.HXQID WHERE "
                          "h.PlateArea < 0.011 AND c.PortDiaUp <= 0.016 AND h.MaxPlates <= 60").empty());
    EXPECT_FALSE(db.query("SELECT 1 FROM HXQ h JOIN Channel c ON c.HXQID = h.HXQID WHERE "
                          "h.PlateArea > 0.45 AND c.PortDiaUp >= 0.1 AND h.MaxPlates >= 250").empty());

    // Group nodes exist for every duty, air dryers and cascades included.
    for (const char* g : {"S/", "C/", "E/", "T/", "A/"})
        EXPECT_FALSE(db.query(std::string("SELECT 1 FROM ModelTree WHERE instr(\"Group\", '") + g + "') > 0")
                         .empty()) << g;
    EXPECT_FALSE(db.query("SELECT 1 FROM ModelTree WHERE instr(\"Group\", 'C') > 0 AND "
                          "instr(\"Group\", 'E/') > 0 AND \"Table\" = 'HXQ'").empty()) << "no cascade unit";
    EXPECT_EQ(db.query("SELECT 1 FROM ModelTree WHERE InUse = 0 AND \"Table\" IS NULL").size(), 1u)
        << "one retired model folder";
    EXPECT_FALSE(db.query("SELECT 1 FROM ModelTree WHERE Dual = -1").empty());
    EXPECT_FALSE(db.query("SELECT 1 FROM ModelTree n JOIN HXQ h ON h.HXQID = n.ModelID WHERE "
                          "instr(n.\"Group\", 'E') > 0 AND h.VRingID <> 0").empty());
    EXPECT_FALSE(db.query("SELECT 1 FROM ModelTree WHERE lower(Information2) = 'crossflow'").empty());
    EXPECT_FALSE(db.query("SELECT 1 FROM ModelTree WHERE instr(UserLevel, 'C') = 0").empty());
    EXPECT_FALSE(db.query("SELECT 1 FROM ModelTree WHERE ChannelID1Right IS NOT NULL").empty());
    EXPECT_FALSE(db.query("SELECT 1 FROM Channel WHERE ExtraChannel = -1").empty());
    // A folder without children.
    EXPECT_FALSE(db.query("SELECT 1 FROM ModelTree f WHERE f.\"Table\" IS NULL AND NOT EXISTS "
                          "(SELECT 1 FROM ModelTree c WHERE c.ParentID = f.NodeID)").empty());
    // A model reachable through two groups of the same duty.
    bool two_groups = false;
    for (const auto& r : db.query("SELECT \"Group\" FROM ModelTree")) {
        auto m = memberships(r.at("Group").text());
        two_groups |= std::count_if(m.begin(), m.end(), [](const std::string& s) { return s[0] == 'S'; }) >= 2;
    }
    EXPECT_TRUE(two_groups);
    // Correction rows: the FluidID 0 fallback in every variant, and refrigerant rows.
    for (const char* v : {"-1", "0"})
        for (const char* cc : {"-1", "0"})
            EXPECT_FALSE(db.query(std::string("SELECT 1 FROM \"Channel-Fluid-Factors\" WHERE FluidID = 0 "
                                              "AND \"V-model\" = ") + v + " AND CounterCurrent = " + cc)
                             .empty());
    EXPECT_GE(db.query("SELECT DISTINCT FluidID FROM \"Channel-Fluid-Factors\" WHERE FluidID <> 0").size(), 3u);
}

// Refrigerant rows use the identifiers the fluid objects report.
TEST(SampleIntegrity, CorrectionFactorFluidsAreRefrigerantsOfTheFluidDatabase) {
    SampleDb fluids("fluids.db");
    auto refrigerants = ids(fluids, "SELECT FluidID FROM Refrigerants");
    for (const char* file : {"products.db", "legacy.db"}) {
        SampleDb db(file);
        for (const auto& r : db.query("SELECT DISTINCT FluidID FROM \"Channel-Fluid-Factors\" WHERE FluidID <> 0"))
            EXPECT_TRUE(refrigerants.count(r.at("FluidID").integer())) << file << " FluidID " << r.at("FluidID").integer();
    }
}

}  // namespace
}  // namespace hxq::sample_test
