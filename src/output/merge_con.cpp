#include "output/merge_con.h"

#include "output/merge_two_phase_record.h"
#include "output/sheet_layout.h"

namespace hxq::output {

MergeRecord con_merge_record(const core::CONDataType& data, std::int16_t Index, const settings::OutputUnitsType& unit,
                             bool Quote, const std::string& CM, const QuotationTexts& quotation, bool dual) {
    check_alternative_index(Index, dual ? "SaveCONDual" : "SaveCON");
    return two_phase_merge_record(data, Index, unit, Quote, CM, quotation, dual);
}

void clsOutput::SaveCON(const core::CONDataType& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                        std::int16_t /*CalcType*/, std::int16_t PrintType, bool DirectPrint, bool Quote,
                        const std::string& CM, std::int16_t /*offset*/) {
    print_record(con_merge_record(OData, Index, unit, Quote, CM, quotation_, false),
                 MergeKind::CON, PrintType, DirectPrint, Quote);
}

void clsOutput::SaveCONDual(const core::CONDataType& OData, std::int16_t Index, const settings::OutputUnitsType& unit,
                            std::int16_t /*CalcType*/, std::int16_t PrintType, bool DirectPrint, bool Quote,
                            const std::string& CM, std::int16_t /*offset*/) {
    print_record(con_merge_record(OData, Index, unit, Quote, CM, quotation_, true),
                 MergeKind::CONDual, PrintType, DirectPrint, Quote);
}

}  // namespace hxq::output
