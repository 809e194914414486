// Writes a rated layout into the members both two-phase results share.
#pragma once

#include "engines/two_phase/search.h"
#include "records/two_phase_records.h"

namespace hxq::engines::two_phase {

// The members of CondenserResult and EvaporatorResult of the same name. `ref` is the
// refrigerant, `in` the input the rating answered (for its limits and port diameters).
template <typename Result, typename Input>
void fill_common(const Model& m, const Rated& r, const Input& in, Result& out);

// "a/b/c - d/e" of the temperatures, one decimal each.
std::string temperature_program(double ref_in, double ref_sat, double ref_out, double sec_in, double sec_out);

}  // namespace hxq::engines::two_phase
