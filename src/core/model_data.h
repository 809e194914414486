// Reads a model's data from the product database into an engine input: the HXQ row of
// the model, the channel rows of its sides, the channel-fluid correction factors and
// the V-ring distributor. Each routine reads the recordsets the driver opened.
#pragma once

#include "records/calc_records.h"
#include "platform/db.h"

#include <cstdint>

namespace hxq::core {

// Find "HXQID=" & model in `hxq` and copy the model's columns into the engine input. A
// missing row leaves the input as it was. For a dual calculation of a model that is
// not dual the maximum plates are halved (halves to even).
void GetModelDataSPC(platform::Recordset& hxq, SPCDataType& data, std::int16_t model);
void GetModelDataCON(platform::Recordset& hxq, CONDataType& data, std::int16_t model);
void GetModelDataVAP(platform::Recordset& hxq, VAPDataType& data, std::int16_t model);
void GetModelDataTwoStage(platform::Recordset& hxq, TwoStageType& data, std::int16_t model);

// Copies the correlation of the channel row `channel` stands on into the left
// (which = 1) or right (which = 2) channel of a single-phase side. A stored count of
// breakpoints outside 0..4 is error 3349 (numeric field overflow): the record holds five.
void GetChannelData(const platform::Recordset& channel, SinglePhaseSide& side, int which);
// The same for a two-phase side (no xFp0/xNu0 scalars, no extra channel).
void GetChannelDataCON(const platform::Recordset& channel, TwoPhaseSide& side);
void GetChannelDataVAP(const platform::Recordset& channel, TwoPhaseSide& side);

// The side data of the SetData operations: for side s the node's "ChannelID" & s &
// "Left" channel (port diameters, slit resistance, correlation); single-phase also the
// effective port diameter and the "Right" channel. `tree` stands on the node's row.
void ReadSideData(const platform::Recordset& tree, platform::Recordset& channel, PerSide<SinglePhaseSide>& sides);
void ReadSideDataCON(const platform::Recordset& tree, platform::Recordset& channel, PerSide<TwoPhaseSide>& sides);
void ReadSideDataVAP(const platform::Recordset& tree, platform::Recordset& channel, PerSide<TwoPhaseSide>& sides);

// ((up^-4 + down^-4) / 2)^(-1/4): the one diameter with the pressure loss of the two
// ports in series at the same flow; 0 when either diameter is not positive.
double EffectivePortDiameter(double up, double down);

// The five channel-fluid correction factors of the refrigerant side.
struct CorrFactors {
    double cNuCorr = 1;
    double xNuCorr = 1;
    double cNuNoPCorr = 0;
    double cNuNoPRef = 0;
    double cNuMaxNoP = 0;
};

// The row of `channel` and `fluid` (else of FluidID 0) with the V-model and counter-
// current variant; 1, 1, 0, 0, 0 when there is none. The condenser never uses a V-model
// row.
CorrFactors GetCorrFactorsVAP(std::int32_t channel, std::int32_t fluid, platform::Recordset& corr, bool v_model,
                              bool counter_current);
CorrFactors GetCorrFactorsCON(std::int32_t channel, std::int32_t fluid, platform::Recordset& corr,
                              bool counter_current);

// Dorifice, DiameterIN and NoOrifice of the input's V-ring; all 0 when it is not found.
void GetVRingData(EvaporatorInput& input, platform::Recordset& vring);

}  // namespace hxq::core
