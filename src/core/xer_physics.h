// Physical data of a computed alternative for the main product range: dimensions,
// fluid volume per side, weights, test and design pressures and temperatures, from the
// article's measures (selector database HXQMeas) and the channel volumes.
#pragma once

#include "records/calc_records.h"
#include "platform/db.h"

namespace hxq::core {

// Application error code of a look-up that must find a row (node, article, tree row).
inline constexpr int kLookupErrorCode = 666;

// Single-phase: false when the alternative has fewer plates than the article's
// "MinNoP" (it is not built). The article code is tried with the alternative's passes
// and, failing that, with fewer passes down to 1.
bool GetXerPhysicsSPC(platform::Recordset& denomination, platform::Recordset& measures, platform::Recordset& tree,
                      platform::Recordset& channel, OutDataType& result);
void GetXerPhysicsCON(platform::Recordset& denomination, platform::Recordset& measures, platform::Recordset& tree,
                      platform::Recordset& channel, CONOutDataType& result);
void GetXerPhysicsVAP(platform::Recordset& denomination, platform::Recordset& measures, platform::Recordset& tree,
                      platform::Recordset& channel, VAPOutDataType& result);
// The two stages in one plate pack: the node of Stage1, plates and channels of both.
void GetXerPhysicsTwoStage(platform::Recordset& denomination, platform::Recordset& measures,
                           platform::Recordset& tree, platform::Recordset& channel, TwoStageOutDataType& result);

}  // namespace hxq::core
