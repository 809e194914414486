// The clsOutput operations that build one of the extra, batch, air dryer or older sheets
// and hand it to PreviewPrint.
#include "output/cls_output.h"

#include "output/air_dryer_preview.h"
#include "output/extra_sheet.h"
#include "output/fluid_batch_sheet.h"
#include "output/host_preview.h"

namespace hxq::output {

void clsOutput::CreatePreview(const std::vector<std::string>& data, const std::vector<std::string>& unit,
                              const std::vector<platform::Variant>& Fluid, const std::string& CalcType,
                              const std::vector<std::string>& header, std::uint8_t CMethod,
                              const std::string& CalcName, bool DirectPrint, core::FluidObject* FluObj1,
                              core::FluidObject* FluObj2, const PreviewWarnings& Warnings, bool HXQ) {
    const PreviewArray sheet =
        host_preview_sheet(data, unit, Fluid, CalcType, header, CMethod, CalcName, FluObj1, FluObj2, Warnings, HXQ);
    PreviewPrint(1, sheet, DirectPrint);
}

void clsOutput::ADCreatePreview(const batch::ADDataType& AD, std::int16_t ind, std::int16_t CalcType,
                                std::int16_t offset, bool DirectPrint, const PreviewWarnings& Warnings) {
    PreviewPrint(1, air_dryer_preview_sheet(AD, ind, CalcType, offset, Warnings), DirectPrint);
}

void clsOutput::Create_FluidBatch_Preview(const FluidBatchData& InData, const FluidBatchData& outdata,
                                          core::FluidObject* FluObj1, core::FluidObject* FluObj2,
                                          const std::vector<std::string>& header,
                                          const std::vector<std::string>& BatchUnits, const std::string& flu1,
                                          const std::string& flu2) {
    PreviewPrint(1, fluid_batch_sheet(InData, outdata, FluObj1, FluObj2, header, BatchUnits, flu1, flu2), false);
}

void clsOutput::Create_Xtra(const PreviewRecord& OData, const std::vector<std::string>& header, std::int16_t SelIndex,
                            std::int16_t CalcType, const std::string& CalcMethod, std::int16_t Plt, std::int16_t offset,
                            std::string* DiaWarning, std::optional<bool> Dual) {
    PreviewPrint(1, extra_sheet(OData, header, SelIndex, CalcType, CalcMethod, Plt, offset, DiaWarning, Dual), false);
}

void clsOutput::Create_Xtra_Cascade(const core::CascadeDataType& cascadeData, const std::vector<std::string>& header,
                                    std::int16_t SelIndex, std::int16_t offset, std::string* DiaWarning) {
    PreviewPrint(1, extra_cascade_sheet(cascadeData, header, SelIndex, offset, DiaWarning), false);
}

}  // namespace hxq::output
