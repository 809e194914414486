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

// A dual calculation gives the duty of one circuit. A dual model's record rates its whole
// pack (two circuits), so in a dual calculation it is rated for both: the load and the
// given flows doubled, as the pair built of a model that is not dual carries them.
template <class Input>
Input BothCircuits(const Input& in) {
    Input both = in;
    both.HeatLoad.Value *= 2.0;
    for (int s = 1; s <= 2; ++s) both.MassFlow[s].Value *= 2.0;
    return both;
}

// The input a candidate is rated with: the duty as given, or for a dual model in a dual
// calculation both circuits' duty (kept in `both`).
template <class Input>
Input& RatedInput(bool dual_calculation, Input& in, Input& both) {
    if (!dual_calculation || !in.Dual) return in;
    both = BothCircuits(in);
    return both;
}

}  // namespace hxq::core
