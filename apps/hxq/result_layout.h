// The pieces the condenser, evaporator and air dryer printouts are made of: the output
// unit of each quantity group, numbers in it (text and JSON), aligned blocks keyed by
// the rank, remarks with their legend, and the labelled lines of one alternative's detail.
#pragma once

#include "result_table.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace hxq::app {

// The units a printout shows its quantities in: per quantity group the SI or US unit of
// the units database's group row (SIID, USID).
class GroupUnits {
public:
    explicit GroupUnits(OutputSystem system) : system_(system) {}
    OutputSystem system() const { return system_; }
    std::int16_t unit(std::int16_t group) const;
    std::string label(std::int16_t group) const;
    // The value's display text in the group's unit, with the group's significant digits.
    std::string text(double si, std::int16_t group) const;
    // {"value": number, "unit": label}; numbers carry no digits beyond single precision.
    nlohmann::json json(double si, std::int16_t group) const;
    // "45.0 °C": the text and the label.
    std::string with_unit(double si, std::int16_t group) const;
    // The same in a unit of the system's output-unit list (shear stress in Pa or psi) or
    // in a unit given by id.
    std::string with_unit_id(double si, std::int16_t unit) const;
    std::string text_id(double si, std::int16_t unit) const;
    nlohmann::json json_id(double si, std::int16_t unit) const;

private:
    OutputSystem system_;
};

// The shortest decimal that reads back as the same single-precision number: the records
// hold many results as floats and the unit factors add no digits worth showing.
double SinglePrecision(double v);
// "1.2345" → "1.23": a fixed number of decimals, for counts of a group without units.
std::string Fixed(double v, int decimals);

// Rows of text in aligned columns under a title line: the columns flagged in `left`
// aligned to the left (texts), the others to the right (numbers).
std::string AlignedBlock(const std::string& title, const std::vector<std::vector<std::string>>& rows,
                         const std::vector<bool>& left);

// A remark of the engine or the driver on one alternative: a short code for the table
// column, the text of its legend, and the value it is about (empty when none).
struct CodedRemark {
    std::string code;
    std::string text;
    std::string value;
};
using CodedRemarks = std::vector<CodedRemark>;

// The codes of `remarks` for the table column, e.g. "P1 W".
std::string RemarkCodes(const CodedRemarks& remarks);
// One legend line per code used by any alternative, in the order they first appear;
// "" when there is none.
std::string CodedRemarkLegend(const std::vector<CodedRemarks>& alternatives);
// [{"code": ..., "text": ..., "value": ...}].
nlohmann::json CodedRemarksJson(const CodedRemarks& remarks);

// The detail of one alternative: headings and labelled values in two aligned columns.
class DetailText {
public:
    void heading(const std::string& title);
    void line(const std::string& label, const std::string& value);
    std::string str() const;

private:
    struct Line {
        std::string label;
        std::string value;
        bool heading = false;
    };
    std::vector<Line> lines_;
};

}  // namespace hxq::app
