#include "output/merge_shared.h"

#include "output/sheet_layout.h"
#include "settings/convert.h"
#include "settings/format.h"
#include "settings/library_state.h"

#include <fmt/chrono.h>
#include <fmt/format.h>

#include <cmath>
#include <ctime>

namespace hxq::output {

std::string merge_comments(const QuotationTexts& quotation) {
    const auto& c = quotation.Comments;
    return c[0] + "\r\n" + c[1] + "\r\n" + c[2];
}

namespace {

void add_opening(MergeRecord& record, const std::string& designation, const std::string* CM) {
    const auto& state = settings::library_state();
    record.field("'TQSVersion'", state.host.TQSAppVersion);
    for (std::size_t i = 0; i < state.UserSettings.header.size(); ++i)
        record.field(fmt::format("'Header{}'", i), state.UserSettings.header[i]);
    record.field("'TQSName'", fmt::format("{} {}", kMakerName, kApplicationTitle));
    record.field("'XerName'", merge_designation(designation));
    if (CM) record.field("'CalcM'", *CM);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    record.field("'Date'", fmt::format("{:%Y-%m-%d}", local));
    record.field("'Customer'", state.host.Customer);
    record.field("'OurRef'", state.host.OurRef);
    record.field("'Reference'", state.host.Reference);
}

}  // namespace

void add_opening_fields(MergeRecord& record, const std::string& designation, const std::string& CM) {
    add_opening(record, designation, &CM);
}

void add_opening_fields(MergeRecord& record, const std::string& designation) {
    add_opening(record, designation, nullptr);
}

core::OutVal heat_load_value(const core::InputDataType& given, double si, std::int16_t unit, int multiplier) {
    if (multiplier == 1) return duty_value(given, si, unit);
    const auto typed = settings::parse_locale_number(settings::NormaliseDecimal(given.sValue));
    if (given.Given && typed && settings::UnitTable.Contains(given.iUnitID))
        return settings::FormatInUnit(true, given.iUnitID, {}, platform::Variant(*typed * multiplier));
    return result_value(si * multiplier, unit);
}

std::string over_surface_text(double over_surface, const core::InputData& given, bool Quote,
                              const QuotationTexts& quotation) {
    if (Quote && !quotation.ShowOverSurface) return "-";
    if (std::fabs(over_surface) < 2.0 && !given.OverSurface.Given && !given.FoulingFactor.Given) return "0";
    return settings::fixed_text(over_surface, 1);
}

std::string note_text(const std::array<SideNotes, 2>& notes) {
    std::string out;
    for (const SideNotes& side : notes)
        for (const std::string* text : {&side.percent, &side.pressure})
            if (!text->empty()) out += (out.empty() ? "" : " ") + *text;
    return out;
}

void add_quotation_fields(MergeRecord& record, const core::XerPhysicsType& physics,
                          const settings::OutputUnitsType& unit, const QuotationTexts& quotation,
                          std::string_view width_unit_name, const ConnectionPlaces& places) {
    record.field("'Platemtrl'", "AISI 316");
    record.field("'ArtNo'", "N/A");
    record.field("'NoConnRows'", "2");
    for (int i = 1; i <= 6; ++i) {
        record.field(fmt::format("'ConnPlace{}'", i), i <= 2 ? std::string(places[i - 1]) : std::string());
        record.field(fmt::format("'ConnName{}'", i), "");
    }
    record.field("'loc1'", "");
    record.field("'loc2'", "");
    record.quantity("'Vol1'", "'Vol1_u'", result_value(physics.Vol[1], unit.Volume.UnitID));
    record.quantity("'Vol2'", "'Vol2_u'", result_value(physics.Vol[2], unit.Volume.UnitID));
    record.quantity("'MaxOPress'", "'MaxOPress_u'", result_value(physics.MaxOPress[1], unit.Op_Max_Pressure.UnitID));
    record.quantity("'TestPress'", "'TestPress_u'", result_value(physics.TestPress[1], unit.Op_Max_Pressure.UnitID));
    record.quantity("'MaxWTemp'", "'MaxWTemp_u'", result_value(physics.MaxWTemp[1], unit.MaxWorkTemp.UnitID));
    record.quantity("'Length'", "'Length_u'", result_value(physics.length, unit.length.UnitID));
    record.quantity("'Width'", width_unit_name, result_value(physics.Width, unit.length.UnitID));
    record.quantity("'Height'", "'Height_u'", result_value(physics.Height, unit.length.UnitID));
    record.quantity("'Weight_full'", "'WeightF_u'", result_value(physics.Weight_full, unit.Weight.UnitID));
    record.quantity("'Weight_empty'", "'WeightE_u'", result_value(physics.Weight_empty, unit.Weight.UnitID));
    record.field("'Price'", quotation.Price);
    record.field("'Price_u'", quotation.Currency);
    record.field("'DeliveryTime'", quotation.DeliveryTime);
    record.field("'Packing'", quotation.Packing);
    for (std::size_t i = 0; i < quotation.Comments.size(); ++i)
        record.field(fmt::format("'Comment{}'", i + 1), quotation.Comments[i]);
}

}  // namespace hxq::output
