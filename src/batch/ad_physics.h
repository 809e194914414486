// Physical data of an air dryer alternative for quotations: dimensions of the frame
// holding both units, fluid volumes, weights, test and design pressures and temperatures.
#pragma once

#include "batch/ad_records.h"

#include <string>

namespace hxq::batch {

// Fills `out.XerPhysics` of the pair `out` describes (XerModelID, XerNodeID, the plate
// numbers and both engine results). Side 1 is the air (both sides of the air-to-air unit
// and the evaporator's air channels), side 2 the refrigerant. The article code is
// `out.XPc`, or the node's code of table XPC when that is empty (and is kept in XPc).
// A missing AD-Models row, unit node or measures row is error 666 above the object
// error base.
void GetADPhysics(ADOutputType& out, const std::string& product_db, const std::string& selector_db);

}  // namespace hxq::batch
