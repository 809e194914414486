#include "output/merge_vap.h"

#include "output/merge_con.h"
#include "output/merge_two_phase_record.h"
#include "output/sheet_layout.h"

namespace hxq::output {

MergeRecord vap_merge_record(const core::VAPDataType& data, std::int16_t Index, const settings::OutputUnitsType& unit,
                             bool Quote, const std::string& CM, const QuotationTexts& quotation, bool dual) {
    check_alternative_index(Index, dual ? "SaveVAPDual" : "SaveVAP");
    return two_phase_merge_record(data, Index, unit, Quote, CM, quotation, dual);
}

void clsOutput::SaveVAP(const core::VAPDataType& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                        std::int16_t /*CalcType*/, std::int16_t PrintType, bool DirectPrint, bool Quote,
                        const std::string& CM, std::int16_t /*offset*/) {
    print_record(vap_merge_record(OData, Index, unit, Quote, CM, quotation_, false),
                 MergeKind::VAP, PrintType, DirectPrint, Quote);
}

void clsOutput::SaveVAPDual(const core::VAPDataType& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                            std::int16_t /*CalcType*/, std::int16_t PrintType, bool DirectPrint, bool Quote,
                            const std::string& CM, std::int16_t /*offset*/) {
    print_record(vap_merge_record(OData, Index, unit, Quote, CM, quotation_, true),
                 MergeKind::VAPDual, PrintType, DirectPrint, Quote);
}

}  // namespace hxq::output
