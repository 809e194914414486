// The preview methods of clsOutput: each builds its sheet and hands it to PreviewPrint.
#include "output/cascade_preview.h"
#include "output/cls_output.h"
#include "output/record_preview.h"
#include "output/sheet_layout.h"
#include "output/two_stage_preview.h"

namespace hxq::output {

void clsOutput::CreatePreview_new(const PreviewRecord& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                                  const std::string& CalcType, std::int16_t CalcT, bool DirectPrint,
                                  const PreviewWarnings& Warnings, bool HXQ, const std::string& CM,
                                  std::int16_t offset) {
    check_alternative_index(Index, "CreatePreview_new");
    PreviewPrint(1, single_phase_preview_sheet(OData, Index, unit, CalcType, CalcT, Warnings, HXQ, CM, offset),
                 DirectPrint);
}

void clsOutput::CreatePreview_Dual(const PreviewRecord& OData, std::int16_t Index,
                                   const settings::OutputUnitsType& unit, const std::string& CalcType,
                                   std::int16_t CalcT, bool DirectPrint, const PreviewWarnings& Warnings, bool HXQ,
                                   const std::string& CM, std::int16_t offset) {
    check_alternative_index(Index, "CreatePreview_Dual");
    PreviewPrint(1, dual_preview_sheet(OData, Index, unit, CalcType, CalcT, Warnings, HXQ, CM, offset), DirectPrint);
}

void clsOutput::CreatePreview_2S(const core::TwoStageType& OData, std::int16_t Index,
                                 const settings::OutputUnitsType& unit, const std::string& CalcType,
                                 std::int16_t CalcT, bool DirectPrint, const PreviewWarnings& Warnings, bool HXQ,
                                 const std::string& CM, std::int16_t offset) {
    check_alternative_index(Index, "CreatePreview_2S");
    PreviewPrint(1, two_stage_preview_sheet(OData, Index, unit, CalcType, CalcT, Warnings, HXQ, CM, offset),
                 DirectPrint);
}

void clsOutput::CreatePreview_Cascade(const core::CascadeDataType& cascadeData, std::int16_t Index, bool DirectPrint,
                                      const PreviewWarnings& Warnings, bool HXQ, const std::string& CM,
                                      std::int16_t offset) {
    check_alternative_index(Index, "CreatePreview_Cascade");
    PreviewPrint(1, cascade_preview_sheet(cascadeData, Index, Warnings, HXQ, CM, offset), DirectPrint);
}

}  // namespace hxq::output
