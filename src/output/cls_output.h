// clsOutput: the documents of a calculation. The previews lay one alternative out as a
// one-page rich-text sheet and hand it to PreviewPrint, which writes the file and opens
// or prints it; the extra data sheets do the same with per-side detail results and the
// recommended connection sizes.
//
// Every sheet is also available as a plain builder (the *_sheet functions of the
// output/*_preview.h and output/extra_sheet.h headers) that returns the array without
// printing it, for hosts that place the document themselves.
#pragma once

#include "output/merge_record.h"
#include "output/preview_array.h"
#include "records/calc_records.h"
#include "records/fluid_object.h"
#include "settings/unit_tables.h"

#include <array>
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

// What the quotation form hands to a quotation printout: its price, currency, delivery
// time, packing and comment boxes, and whether its over-surface box is ticked.
struct QuotationTexts {
    std::string Price;
    std::string Currency;
    std::string DeliveryTime;
    std::string Packing;
    std::array<std::string, 3> Comments;
    bool ShowOverSurface = true;  // ChkOsurf
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

    // --- Printouts: a merge data file merged into the template of the print type
    // (0 result sheet, 1 extra data sheet, 2 quotation) ---
    void SaveAD(const batch::ADDataType& AD, std::int16_t ind, bool CalcM, std::int16_t offset, bool bQuote,
                std::int16_t PrintType, const settings::OutputUnitsType& Units);
    void SaveSPC(const core::SPCDataType& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                 std::int16_t CalcType, std::int16_t PrintType, bool DirectPrint, bool Quote, const std::string& CM,
                 std::int16_t offset);
    void SaveSPCDual(const core::SPCDataType& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                     std::int16_t CalcType, std::int16_t PrintType, bool DirectPrint, bool Quote,
                     const std::string& CM, std::int16_t offset);
    void SaveCON(const core::CONDataType& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                 std::int16_t CalcType, std::int16_t PrintType, bool DirectPrint, bool Quote, const std::string& CM,
                 std::int16_t offset);
    void SaveCONDual(const core::CONDataType& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                     std::int16_t CalcType, std::int16_t PrintType, bool DirectPrint, bool Quote,
                     const std::string& CM, std::int16_t offset);
    void SaveVAP(const core::VAPDataType& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                 std::int16_t CalcType, std::int16_t PrintType, bool DirectPrint, bool Quote, const std::string& CM,
                 std::int16_t offset);
    void SaveCascade(const core::CascadeDataType& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                     std::int16_t CalcType, std::int16_t PrintType, bool DirectPrint, bool Quote,
                     const std::string& CM, std::int16_t offset);
    void SaveVAPDual(const core::VAPDataType& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                     std::int16_t CalcType, std::int16_t PrintType, bool DirectPrint, bool Quote,
                     const std::string& CM, std::int16_t offset);
    void SaveTwoStage(const core::TwoStageType& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                      std::int16_t CalcType, std::int16_t PrintType, bool DirectPrint, bool Quote,
                      const std::string& CM, std::int16_t offset);
    // The common end of the save operations: writes `record` as the merge data file (in
    // the application folder, else a private one), merges it into `DotFile` through
    // PreviewPrint_new and deletes it again, also when the merge failed (KeepMergeData
    // keeps it). An empty `DotFile` merges nothing.
    void MergePrintout(const MergeRecord& record, const std::string& DotFile, bool DirectPrint,
                       const std::string& Comments);
    // A quotation names the model, its article number and plate material as the product
    // data file has them when the settings use that file and the host declared it valid.
    void UseDenomination(MergeRecord& record, bool Quote);
    // The quotation form's texts the quotation printouts write.
    void QuotationForm(QuotationTexts texts) { quotation_ = std::move(texts); }
    const QuotationTexts& QuotationForm() const { return quotation_; }

    // Merges the data file `MergeFile` (a name in the application folder, or a full path)
    // into a new document from the template `DotFile` (relative to the template folder of
    // the template language) and opens it, or prints it with `DirectPrint`. A failing step
    // ends it without a message; LastMergeProblem() then says why. `Comments` is not used.
    void PreviewPrint_new(const std::string& MergeFile, const std::string& DotFile, bool DirectPrint,
                          const std::string& Comments);
    // Where hosts that place the merged document themselves want it (.rtf, .docx or .pdf);
    // empty: the document folder. With a file set the document is written, not opened.
    void MergeOutput(std::filesystem::path file) { merge_output_ = std::move(file); }
    // Keeps the merge data files of the save operations instead of deleting them.
    void KeepMergeData(bool keep) { keep_merge_data_ = keep; }
    bool KeepMergeData() const { return keep_merge_data_; }
    // The document the last merge wrote, the data file it read, and why it ended without
    // a document (empty when it did not), with the fields its template named that the
    // data lacked.
    const std::filesystem::path& LastMergedDocument() const { return last_merged_; }
    const std::filesystem::path& LastMergeData() const { return last_merge_data_; }
    const std::string& LastMergeProblem() const { return last_merge_problem_; }
    const std::vector<std::string>& LastMissingFields() const { return last_missing_fields_; }
    // The template the last merge read; empty when none was found.
    const std::filesystem::path& LastTemplate() const { return last_template_; }

    // --- Document production ---
    // Writes `data` as a rich-text file (header by the current language) and opens it in
    // the editor program, or prints it with `DirectPrint`. `language` is not used.
    void PreviewPrint(std::uint8_t language, const PreviewArray& data, bool DirectPrint);
    // Where hosts that place the sheets themselves want them (.rtf, or .pdf converted by
    // LibreOffice); empty: the document folder. With a file set the sheet is written, not
    // opened or printed.
    void PreviewOutput(std::filesystem::path file) { preview_output_ = std::move(file); }
    // The file the last PreviewPrint wrote; empty before the first. Why the last one
    // failed (empty when it did not); the user was told through the prompter.
    const std::filesystem::path& LastPreviewFile() const { return last_preview_; }
    const std::string& LastPreviewProblem() const { return last_preview_problem_; }

private:
    void place_preview(const PreviewArray& data);
    // The end of every save operation: the denomination on a quotation, then the merge
    // into the template of `kind` and `PrintType`.
    void print_record(MergeRecord record, MergeKind kind, std::int16_t PrintType, bool DirectPrint, bool Quote);

    std::string win_caption_;
    std::string last_preview_problem_;
    std::filesystem::path last_preview_;
    std::filesystem::path preview_output_;
    QuotationTexts quotation_;
    std::filesystem::path merge_output_;
    bool keep_merge_data_ = false;
    std::filesystem::path last_merged_;
    std::filesystem::path last_merge_data_;
    std::string last_merge_problem_;
    std::vector<std::string> last_missing_fields_;
    std::filesystem::path last_template_;
};

}  // namespace hxq::output
