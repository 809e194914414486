// The mail merge of a rich-text template: every MERGEFIELD field (as word processors
// write them: {\field{\*\fldinst MERGEFIELD name}{\fldrslt ...}}) becomes the data
// file's value in the character formatting of the field's shown result; everything else
// of the template is copied unchanged.
#pragma once

#include "platform/merge_data.h"

#include <string>
#include <string_view>

namespace hxq::platform {

// The merged document. Fields the data lacks stay visible as «name» and are listed in
// `report`. Values are written in the template's code page (\ansicpgN, 1252 when it
// names none).
std::string merge_rtf(std::string_view rtf_template, const MergeData& data, MergeReport& report);

}  // namespace hxq::platform
