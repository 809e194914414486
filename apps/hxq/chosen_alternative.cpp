#include "chosen_alternative.h"

#include "result_air_dryer.h"
#include "result_cascade.h"
#include "result_table.h"
#include "result_two_phase.h"
#include "result_two_stage.h"

#include "output/sheet_values.h"

namespace hxq::app {
namespace {

template <class Data>
std::string record_designation(const Data& d, int n) {
    return output::alternative_designation(d.outdata[n], output::is_dual(d.GivenValues, d.outdata[n].Dual));
}

}  // namespace

std::size_t listed(const core::SPCDataType& data) { return ListedAlternatives(data).size(); }
std::size_t listed(const core::CONDataType& data) { return static_cast<std::size_t>(ListedAlternatives(data)); }
std::size_t listed(const core::VAPDataType& data) { return static_cast<std::size_t>(ListedAlternatives(data)); }
std::size_t listed(const core::TwoStageType& data) { return static_cast<std::size_t>(ListedAlternatives(data)); }
std::size_t listed(const core::CascadeDataType& data) { return static_cast<std::size_t>(ListedAlternatives(data)); }
std::size_t listed(const batch::ADDataType& data) { return static_cast<std::size_t>(ListedAlternatives(data)); }

std::string designation(const core::SPCDataType& d, int n) { return record_designation(d, n); }
std::string designation(const core::CONDataType& d, int n) { return record_designation(d, n); }
std::string designation(const core::VAPDataType& d, int n) { return record_designation(d, n); }
std::string designation(const core::TwoStageType& d, int n) { return output::two_stage_designation(d.outdata[n]); }
std::string designation(const core::CascadeDataType& d, int n) {
    return output::alternative_designation(d.outdataCon[n], false);
}
std::string designation(const batch::ADDataType& d, int n) { return d.ADOutData[n].XerType; }

}  // namespace hxq::app
