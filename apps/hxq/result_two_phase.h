// The alternatives of a condenser or an evaporator selection: blocks of aligned columns
// keyed by the rank, JSON, and the full result of one alternative, in the SI or US units
// of the units database. Side 1 is the refrigerant, side 2 the secondary fluid.
#pragma once

#include "result_common.h"

#include "records/calc_records.h"

#include <nlohmann/json.hpp>

#include <limits>
#include <string>

namespace hxq::app {

// The refrigerant's states as the printouts show them, whichever unit rated it.
struct RefrigerantStates {
    static constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    double sat_in = kNone;   // condenser: dew point at the inlet; evaporator: the mixture entering
    double sat_out = kNone;  // condenser: bubble point at the outlet; evaporator: dew point at the outlet
    double superheat = 0;
    double subcooling = 0;
    double gas_out = kNone;  // evaporator: gas leaving
    double x_in = 0;
    double x_out = 0;
    double changed = 0;     // condensed or vaporised, kg/s
    double vapour_in = 0;   // evaporator: vapour entering, kg/s
    double p_out = 0;
};
RefrigerantStates StatesOf(const core::CondenserResult& r);
RefrigerantStates StatesOf(const core::EvaporatorResult& r);
// A fluid's name with its concentration for a solution; "-" for none.
std::string FluidName(const core::FluidObject* fluid);
// The designation of an evaporator's (or a cascade's) alternative.
std::string TwoPhaseDesignation(const core::VAPOutDataType& alternative);

// The filled slots of a run (solutions), best first.
int ListedAlternatives(const core::CONDataType& data);
int ListedAlternatives(const core::VAPDataType& data);

std::string ResultTable(const core::CONDataType& data, OutputSystem system, const Labels& text = {});
std::string ResultTable(const core::VAPDataType& data, OutputSystem system, const Labels& text = {});
nlohmann::json ResultJson(const core::CONDataType& data, OutputSystem system);
nlohmann::json ResultJson(const core::VAPDataType& data, OutputSystem system);
// The full result of listed alternative `rank` (1 = best).
std::string ResultDetail(const core::CONDataType& data, int rank, OutputSystem system);
std::string ResultDetail(const core::VAPDataType& data, int rank, OutputSystem system);

// The engine's remarks on a result: port share (P1, P2) and pressure limit (L1, L2) per
// side, wet-wall desuperheating (W), a two-phase inlet too fast for its port (V), a
// distributor whose drop is part of the refrigerant's (D).
// `prefix` goes before each code and `unit` before each text (the air dryer's units);
// `secondary` names side 2.
Remarks TwoPhaseRemarks(const core::CondenserResult& r, const QuantityUnits& u, const std::string& prefix = "",
                        const std::string& unit = "", const std::string& secondary = "secondary");
Remarks TwoPhaseRemarks(const core::EvaporatorResult& r, const QuantityUnits& u, const std::string& prefix = "",
                        const std::string& unit = "", const std::string& secondary = "secondary");

// The unit, refrigerant and secondary lines of a condenser or an evaporator result's detail (without its
// remarks), shared with the air dryer's evaporator. `secondary` names side 2.
void CondenserDetail(DetailText& d, const core::CondenserResult& r, const QuantityUnits& u, const std::string& secondary);
void EvaporatorDetail(DetailText& d, const core::EvaporatorResult& r, const QuantityUnits& u, const std::string& secondary);

}  // namespace hxq::app
