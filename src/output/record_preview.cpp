#include "output/record_preview.h"

#include "output/preview_frame.h"
#include "output/preview_rows.h"
#include "output/record_sections.h"
#include "output/sheet_values.h"
#include "platform/error.h"

#include <type_traits>
#include <variant>

namespace hxq::output {
namespace {

// The kind CalcT names for each record.
constexpr std::int16_t calc_kind(const core::SPCDataType*) { return 0; }
constexpr std::int16_t calc_kind(const core::CONDataType*) { return 1; }
constexpr std::int16_t calc_kind(const core::VAPDataType*) { return 2; }

void add_rows(SheetWriter& out, const core::SPCDataType& d, const core::OutDataType& a, const RecordSheet& s) {
    add_single_phase_rows(out, d, a, s);
}
void add_rows(SheetWriter& out, const core::CONDataType& d, const core::CONOutDataType& a, const RecordSheet& s) {
    add_condenser_rows(out, d, a, s);
}
void add_rows(SheetWriter& out, const core::VAPDataType& d, const core::VAPOutDataType& a, const RecordSheet& s) {
    add_evaporator_rows(out, d, a, s);
}

// Units in parallel and in series of each kind's result.
std::int16_t serial_units(const core::SinglePhaseResult&) { return 1; }
template <class Result>
std::int16_t serial_units(const Result& r) {
    return r.SerialUnits;
}

PreviewArray record_sheet(const PreviewRecord& record, std::int16_t index, const settings::OutputUnitsType& unit,
                          std::int16_t calc_t, const PreviewWarnings& warnings, const std::string& cm,
                          std::int16_t offset, bool dual, const char* source) {
    check_alternative_index(index, source);
    return std::visit(
        [&](const auto* data) {
            if (data == nullptr || calc_kind(data) != calc_t) throw platform::Error(13, source, "Type mismatch");
            const auto& alternative = data->outdata[index];
            const auto& r = alternative.OutputData;
            RecordSheet sheet;
            sheet.offset = offset;
            sheet.units = sheet_units(unit, data->GivenOutputUnits);
            sheet.dual = dual;
            sheet.column1 = dual ? label(599, offset) : label(483, offset) + " 1";
            sheet.column2 = dual ? label(600, offset) : label(483, offset) + " 2";
            const std::string designation =
                alternative_designation(alternative, is_dual(data->GivenValues, alternative.Dual));
            const std::string heading =
                sheet_heading(offset, {designation, dual ? label(598, offset) : std::string(), cm,
                                       unit_counts(r.ParallelUnits, serial_units(r), offset)});
            return preview_sheet(heading, [&](SheetWriter& out) { add_rows(out, *data, alternative, sheet); },
                                 warnings, offset);
        },
        record);
}

}  // namespace

PreviewArray single_phase_preview_sheet(const PreviewRecord& OData, std::int16_t Index,
                                        const settings::OutputUnitsType& unit, const std::string& /*CalcType*/,
                                        std::int16_t CalcT, const PreviewWarnings& Warnings, bool /*HXQ*/,
                                        const std::string& CM, std::int16_t offset) {
    return record_sheet(OData, Index, unit, CalcT, Warnings, CM, offset, false, "CreatePreview_new");
}

PreviewArray dual_preview_sheet(const PreviewRecord& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                                const std::string& /*CalcType*/, std::int16_t CalcT, const PreviewWarnings& Warnings,
                                bool /*HXQ*/, const std::string& CM, std::int16_t offset) {
    return record_sheet(OData, Index, unit, CalcT, Warnings, CM, offset, true, "CreatePreview_Dual");
}

}  // namespace hxq::output
