// Scratch SQLite databases for the core tests: small hand-made tables for the model
// tree, prices, filter and physical data, and for the driver the sample's table
// definitions with a handful of rows and a scripted single-phase engine.
#pragma once

#include "core/calculate.h"
#include "core/sample_duties.h"
#include "platform/db.h"
#include "platform/error.h"
#include "platform/scratch.h"
#include "records/engine_contracts.h"

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace hxq::test {

// Runs SQL text on the SQLite file at `path`, creating it when needed.
inline void exec_sql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + path);
    }
    char* message = nullptr;
    // Scratch files need no durability; without syncing the fixtures build in a blink.
    const std::string text = "PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY; BEGIN; " + sql + "; COMMIT;";
    int rc = sqlite3_exec(db, text.c_str(), nullptr, nullptr, &message);
    std::string error = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error("SQL failed: " + error);
}

// A test on scratch databases made from SQL text (one scratch folder per test).
class ScratchTest : public ::testing::Test {
protected:
    platform::Database open(const std::string& file, const std::string& sql) {
        exec_sql(scratch.file(file), sql);
        return platform::OpenDatabase(scratch.file(file));
    }
    ScratchDir scratch;
};

// The error `f` throws; a failure of the test when it throws none.
template <class F>
platform::Error error_of(F&& f) {
    try {
        f();
    } catch (const platform::Error& e) {
        return e;
    }
    ADD_FAILURE() << "no error";
    return platform::Error(0, "", "");
}

// Expects every database and recordset opened since its construction to be closed.
class OpenHandles {
public:
    void expect_closed() const {
        const platform::DbHandleCounts now = platform::db_open_handles();
        EXPECT_EQ(now.databases, before_.databases);
        EXPECT_EQ(now.recordsets, before_.recordsets);
    }

private:
    platform::DbHandleCounts before_ = platform::db_open_handles();
};

// A driver on the sample range with the real engines.
class SampleRange : public ::testing::Test {
protected:
    SampleRange() { calc.SetSources(sample_sources()); }
    core::clsCalculate calc;
};

inline std::string sample_sql(const std::string& relative) {
    const std::string path = std::string(HXQ_SOURCE_DIR) + "/sample/" + relative;
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// What the scripted engine answers for one model.
struct Reply {
    bool valid = true;
    std::int16_t plates = 10;
    std::int16_t units = 1;
    std::int16_t passes = 1;
    std::int16_t error = 0;
    bool warning = false;
    double heat_kw = 10;  // engine unit
};

// Answers by model: the test databases give model m the plate area m / 100.
class ScriptedEngine final : public core::SinglePhaseEngine {
public:
    std::map<int, Reply> replies;
    Reply fallback;
    std::int16_t check_error = 0;
    std::vector<core::SinglePhaseInput> calls;
    std::function<void(const core::SinglePhaseInput&)> before;  // may throw

    static int model_of(const core::SinglePhaseInput& in) { return static_cast<int>(std::lround(in.PlateArea * 100)); }

    void Calculate(core::SinglePhaseInput& in, core::SinglePhaseResult& r) override {
        calls.push_back(in);
        if (before) before(in);
        auto it = replies.find(model_of(in));
        const Reply& a = it == replies.end() ? fallback : it->second;
        r = core::SinglePhaseResult{};
        r.Dual = in.Dual;
        r.ErrorCode = a.error;
        r.WarningOnly = a.warning;
        if (!a.valid) return;
        r.Valid = true;
        r.NoOfPlates = a.plates;
        r.NoOfPasses = a.passes;
        r.ParallelUnits = a.units;
        const std::int16_t channels = static_cast<std::int16_t>(a.plates - 1);
        r.NoOfChannels[1] = static_cast<std::int16_t>(channels / 2);
        r.NoOfChannels[2] = static_cast<std::int16_t>(channels - channels / 2);
        for (int s = 1; s <= 2; ++s) {
            r.Passes[s] = a.passes;
            r.Channelout[s][1] = r.NoOfChannels[s];
            r.MassFlow[s] = 0.5 * s;
            r.PortDiameterDown[s] = 16;  // mm
            r.WallViscosity[s] = 2;      // mPa s
        }
        r.FoulingFactor = 0.05;  // m² K/kW
        r.HeatLoad = a.heat_kw;
    }

    void CheckInput(core::SinglePhaseInput&, core::SinglePhaseResult& r) override {
        r = core::SinglePhaseResult{};
        r.ErrorCode = check_error;
    }

    std::vector<int> rated_models() const {
        std::vector<int> out;
        for (const auto& c : calls) out.push_back(model_of(c));
        return out;
    }
};

// A two-phase engine answering by model (the driver databases give model m the plate
// area m / 100): a solution from `units_needed` units in parallel on, of `plates` or the
// plates given, in the units given, at the given load or 30 kW; `after` may change the
// answer or throw.
template <class Base, class Input, class Result>
class TwoPhaseScript final : public Base {
public:
    std::function<int(int model)> units_needed = [](int) { return 1; };
    std::function<void(int model, Result&)> after;
    std::int16_t plates = 20;
    std::vector<Input> calls;

    void Calculate(Input& in, Result& r) override {
        calls.push_back(in);
        const int model = static_cast<int>(std::lround(in.PlateArea * 100));
        r = Result{};
        if (in.ParallelUnits.Value >= units_needed(model)) {
            r.Status = -1;
            r.NoOfPlates = in.NoOfPlates.Given ? in.NoOfPlates.Value : plates;
            r.ParallelUnits = in.ParallelUnits.Value;
            r.SerialUnits = in.SerialUnits.Given ? in.SerialUnits.Value : 1;
            r.HeatLoad = in.HeatLoad.Given ? in.HeatLoad.Value : 30e3;
        }
        if (after) after(model, r);
    }
    void CheckInput(Input&, std::int16_t& code) override { code = 0; }
};
using CondenserScript = TwoPhaseScript<core::CondenserEngine, core::CondenserInput, core::CondenserResult>;
using EvaporatorScript = TwoPhaseScript<core::EvaporatorEngine, core::EvaporatorInput, core::EvaporatorResult>;

// Scratch databases with the sample's tables. Models 1..6 (plate area m/100, price row
// m: plate 10 m, start 100 m, pass 50; model 5 has none) with channels 1 (left) and 2
// (right); nodes are added per test. It takes the test's scratch folder: a test holds
// one of these and no other ScratchDir.
class DriverDatabases {
public:
    DriverDatabases() {
        exec_sql(products, sample_sql("products/tables.sql") + sample_sql("products/main_tables.sql"));
        exec_sql(stock, sample_sql("stock/tables.sql"));
        exec_sql(selector, sample_sql("selector/tables.sql"));
        std::string sql;
        for (int m = 1; m <= 6; ++m) {
            sql += fmt::format(
                "INSERT INTO HXQ (HXQID, ModelName, plateThickness, Enlargement, Dh, PlateArea, FlowLength, "
                "FlowWidth, CoCurrHTCFactor, MaxPlates, MaxPasses, Dual) VALUES ({0}, 'M{0}', 0.0004, 1.2, 0.0033, "
                "{1}, 0.3, 0.1, '0.85', 100, 3, 0);\n",
                m, m / 100.0);
            if (m != 5)
                sql += fmt::format("INSERT INTO Cost VALUES ({0}, 'M{0}', {1}, {2}, {3});\n", m, 100 * m, 10 * m, 50);
        }
        sql += "INSERT INTO Channel (ChannelID, ChannelName, PortDiaUp, PortDiaDown, SlitResistance, cFp, noFp, xFp0, "
               "cnu, noNu, xNu0, ChVol) VALUES (1, 'H', 0.02, 0.02, 0.5, 4, 0, -0.3, 0.3, 0, 0.6, 0.0001), "
               "(2, 'M', 0.02, 0.02, 0.5, 3, 0, -0.25, 0.25, 0, 0.65, 0.0001);\n";
        exec_sql(products, sql);
    }

    // A model-tree row; `model` 0 makes a folder.
    void node(int id, int parent, const std::string& group, int model, const std::string& level = "ABC",
              bool right_channel = false) {
        const bool folder = model == 0;
        const std::string m = folder ? "NULL" : std::to_string(model);
        exec_sql(products,
                 fmt::format("INSERT INTO ModelTree (NodeID, ParentID, Alias, \"Group\", UserLevel, InUse, \"Table\", "
                             "ChannelCombination, PureType, ChannelType, ModelID, Dual, StockID, PriceID, "
                             "ChannelID1Left, ChannelID1Right, ChannelID2Left, ChannelID2Right) VALUES "
                             "({0}, {1}, 'N{0}', '{2}', '{3}', -1, {4}, 'H', 'M{5}', 'H', {6}, 0, {6}, {6}, {7}, {8}, "
                             "{7}, NULL);",
                             id, parent, group, level, folder ? "NULL" : "'HXQ'", model, m, folder ? "NULL" : "1",
                             right_channel ? "2" : "NULL"));
    }

    // Denomination and measures of node `id` (article QB*T<id>*16*C*H*<passes>P*S).
    void article(int id, int min_plates = 4, std::vector<int> passes = {1, 2}) {
        exec_sql(products, fmt::format("INSERT INTO Denomination VALUES ({0}, 'QB', 'T{0}', '16', 'C', 'H', '');", id));
        std::string sql;
        for (int p : passes)
            sql += fmt::format("INSERT INTO HXQMeas (XPC, MinNoP, Height, Width, PP_Start, PP_Plate, PP_LessChpl, "
                               "OffsetDepth, Weight_Start, Weight_Plate) VALUES ('QB*T{0}*16*C*H*{1}P*S', {2}, 0.5, 0.2, "
                               "0.01, 0.002, 0, 0, 2, 0.1);\n",
                               id, p, min_plates);
        sql += fmt::format("INSERT INTO BaseArticleNumbers (Class, Type, Size, Material, Pressure, Factory, BaseArtNo) "
                           "VALUES ('QB', 'T{0}', '16', 'C', '30', 'F1', 'A{0}');",
                           id);
        exec_sql(selector, sql);
    }

    void exec_products(const std::string& sql) const { exec_sql(products, sql); }

    // The main product database is another one unless `main`.
    core::CalculationSources sources(bool main = true) const {
        return {main ? products : scratch.file("other.db"), stock, selector, "A"};
    }

    ScratchDir scratch;
    std::string products = scratch.file("products.db");
    std::string stock = scratch.file("stock.db");
    std::string selector = scratch.file("selector.db");
};

}  // namespace hxq::test
