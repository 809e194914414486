// What the document commands say about the alternative they lay out: how many a run
// listed, the designation the documents print, and the calculation method's name.
#pragma once

#include "batch/ad_records.h"
#include "records/calc_records.h"
#include "settings/texts.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace hxq::app {

std::size_t listed(const core::SPCDataType& data);
std::size_t listed(const core::CONDataType& data);
std::size_t listed(const core::VAPDataType& data);
std::size_t listed(const core::TwoStageType& data);
std::size_t listed(const core::CascadeDataType& data);
std::size_t listed(const batch::ADDataType& data);

std::string designation(const core::SPCDataType& d, int n);
std::string designation(const core::CONDataType& d, int n);
std::string designation(const core::VAPDataType& d, int n);
std::string designation(const core::TwoStageType& d, int n);
std::string designation(const core::CascadeDataType& d, int n);
std::string designation(const batch::ADDataType& d, int n);

// The calculation method as the documents name it: a model rated as given
// ("Performance"), or a design over a group ("Design").
template <class Data>
std::string method_text(const Data& data, std::int16_t offset) {
    return std::string(settings::localised_text(data.GivenValues.IsXerGroup ? 201 : 416, offset));
}

}  // namespace hxq::app
