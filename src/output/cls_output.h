// clsOutput: the documents of a calculation. The previews lay one alternative out as a
// one-page rich-text sheet and hand it to PreviewPrint, which writes the file and opens
// or prints it; the extra data sheets do the same with per-side detail results and the
// recommended connection sizes.
//
// Every sheet is also available as a plain builder (the *_sheet functions of the
// output/*_preview.h and output/extra_sheet.h headers) that returns the array without
// printing it, for hosts that place the document themselves.
#pragma once

#include "output/preview_array.h"
#include "records/calc_records.h"
#include "records/fluid_object.h"
#include "settings/unit_tables.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace hxq::batch {
struct ADDataType;
}

namespace hxq::output {

// The record of a single-phase, condenser or evaporator sheet.
using PreviewRecord = std::variant<const core::SPCDataType*, const core::CONDataType*, const core::VAPDataType*>;

// The warnings a caller hands to a sheet: an array of texts, or nothing at all (a value
// that is not an array adds nothing to the sheet).
using PreviewWarnings = std::optional<std::vector<std::string>>;

// One fluid batch (heating or cooling a batch through the exchanger) as the host worked
// it out: what the batch sheet prints. SI values, temperatures in °C.
struct FluidBatchData {
    float Concentration1 = 0, Concentration2 = 0;  // %
    float Pressure1 = 0, Pressure2 = 0;            // Pa
    float BatchSize = 0;                           // kg
    float InitialTemp = 0;
    float FinalTemp = 0;
    float InletTemp1 = 0, InletTemp2 = 0;
    float OutletTemp1 = 0, OutletTemp2 = 0;
    float MassFlow1 = 0, MassFlow2 = 0;  // kg/s
    float RequiredTime = 0;              // s
};

class clsOutput {
public:
    // --- Previews ---
    void CreatePreview_new(const PreviewRecord& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                           const std::string& CalcType, std::int16_t CalcT, bool DirectPrint,
                           const PreviewWarnings& Warnings, bool HXQ, const std::string& CM, std::int16_t offset);
    void CreatePreview_Dual(const PreviewRecord& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                            const std::string& CalcType, std::int16_t CalcT, bool DirectPrint,
                            const PreviewWarnings& Warnings, bool HXQ, const std::string& CM, std::int16_t offset);
    void CreatePreview_2S(const core::TwoStageType& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                          const std::string& CalcType, std::int16_t CalcT, bool DirectPrint,
                          const PreviewWarnings& Warnings, bool HXQ, const std::string& CM, std::int16_t offset);
    void CreatePreview_Cascade(const core::CascadeDataType& cascadeData, std::int16_t Index, bool DirectPrint,
                               const PreviewWarnings& Warnings, bool HXQ, const std::string& CM, std::int16_t offset);
    // The older form: the host passes values, units and row labels ready made.
    void CreatePreview(const std::vector<std::string>& data, const std::vector<std::string>& unit,
                       const std::vector<platform::Variant>& Fluid, const std::string& CalcType,
                       const std::vector<std::string>& header, std::uint8_t CMethod, const std::string& CalcName,
                       bool DirectPrint, core::FluidObject* FluObj1, core::FluidObject* FluObj2,
                       const PreviewWarnings& Warnings, bool HXQ);
    void ADCreatePreview(const batch::ADDataType& AD, std::int16_t ind, std::int16_t CalcType, std::int16_t offset,
                         bool DirectPrint, const PreviewWarnings& Warnings);

    // --- Extra data sheets and connection sizing ---
    void Create_Xtra(const PreviewRecord& OData, const std::vector<std::string>& header, std::int16_t SelIndex,
                     std::int16_t CalcType, const std::string& CalcMethod, std::int16_t Plt, std::int16_t offset,
                     std::string* DiaWarning = nullptr, std::optional<bool> Dual = std::nullopt);
    void Create_Xtra_Cascade(const core::CascadeDataType& cascadeData, const std::vector<std::string>& header,
                             std::int16_t SelIndex, std::int16_t offset, std::string* DiaWarning = nullptr);
    void Create_FluidBatch_Preview(const FluidBatchData& InData, const FluidBatchData& outdata,
                                   core::FluidObject* FluObj1, core::FluidObject* FluObj2,
                                   const std::vector<std::string>& header, const std::vector<std::string>& BatchUnits,
                                   const std::string& flu1, const std::string& flu2);
    // The model denomination from the product data file (`sQDFFile`, empty for the
    // default data folder's "tqs.qdf") and the product database.
    std::string Get_Denomination(const std::string& sQDFFile);
    // The connection diameter in millimetres for `MassFlow` kg/s through `ParaM` units:
    // InOut 1 vapour, 2 liquid, 0 a two-phase inlet of quality `Qin`.
    static float TheConnection(std::int16_t InOut, float Qin, float DensVap, float DensLiq, float MassFlow,
                               std::int16_t ParaM);

    // "Let WinCaption": the caption the previews read.
    void WinCaption(std::string caption) { win_caption_ = std::move(caption); }
    const std::string& WinCaption() const { return win_caption_; }

    // --- Document production ---
    // Writes `data` as a rich-text file (header by the current language) and opens it in
    // the editor program, or prints it with `DirectPrint`. `language` is not used.
    void PreviewPrint(std::uint8_t language, const PreviewArray& data, bool DirectPrint);
    // The file the last PreviewPrint wrote; empty before the first.
    const std::filesystem::path& LastPreviewFile() const { return last_preview_; }

private:
    std::string win_caption_;
    std::filesystem::path last_preview_;
};

}  // namespace hxq::output
