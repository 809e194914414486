// What one main loop of clsCalculate holds open while it runs; shared by the loops of
// every duty, internal to core.
#pragma once

#include "core/calculate.h"
#include "core/filter_check.h"
#include "core/model_tree.h"
#include "platform/db.h"

namespace hxq::core {

// Everything one main loop opens. Members close in reverse order when the
// run ends, on success and on every error: recordsets first, then their databases.
struct clsCalculate::SPCRun {
    platform::Database product;
    platform::Database stock_db;
    platform::Database selector;
    platform::Recordset tree;
    platform::Recordset hxq;
    platform::Recordset channel;
    platform::Recordset cost;
    platform::Recordset stock;
    platform::Recordset denomination;
    platform::Recordset measures;
    bool main_database = false;
    FilterSources filter;
    WalkOptions walk;
};

}  // namespace hxq::core
