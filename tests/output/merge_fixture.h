// The printouts' merge tests: the look-up of a field of a merge record by name, results
// compared in their output units, and given values as the user typed them.
#pragma once

#include "output/cls_output.h"
#include "output/merge_record.h"
#include "preview_samples.h"
#include "settings/format.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string_view>

namespace hxq::test {

using output::MergeRecord;
using output::QuotationTexts;

// Units of the sample units database the typed values use.
constexpr std::int16_t kFahrenheit = 1;
constexpr std::int16_t kKilowatt = 4;
constexpr std::int16_t kKcalPerHour = 6;

// The value of the first field named `name` (the repeated names carry the same values).
inline std::string value_of(const MergeRecord& record, std::string_view name) {
    for (std::size_t i = 0; i < record.size(); ++i)
        if (record.names()[i] == name) return record.values()[i];
    ADD_FAILURE() << "no field " << name;
    return {};
}

inline double number_of(const MergeRecord& record, std::string_view name) {
    const auto n = settings::parse_locale_number(value_of(record, name));
    EXPECT_TRUE(n.has_value()) << name << " = " << value_of(record, name);
    return n.value_or(0);
}

// A result written in an output unit: the field's number within 1 % of `expected`, its
// unit field's text.
struct Converted { const char* name; const char* unit_name; double expected; const char* unit; };
inline void expect_converted(const MergeRecord& record, std::initializer_list<Converted> fields) {
    for (const Converted& c : fields) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(number_of(record, c.name), c.expected, 0.01 * std::fabs(c.expected) + 1e-3);
        EXPECT_EQ(value_of(record, c.unit_name), c.unit);
    }
}

// A given value as the user typed it.
inline core::InputDataType typed(const char* text, std::int16_t unit_id) {
    core::InputDataType v;
    v.sValue = text;
    v.iUnitID = unit_id;
    v.sUnit = settings::UnitTable(unit_id).sUnit;
    v.Given = true;
    return v;
}

// The fields of a ";"-joined line.
inline std::size_t field_count(const std::string& line) {
    return 1 + static_cast<std::size_t>(std::ranges::count(line, ';'));
}

}  // namespace hxq::test
