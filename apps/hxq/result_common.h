// Pieces every printout of `hxq select` shares, whatever the duty: the unit each quantity
// is shown in (the SI or US list of the units database), values in those units for a
// table or for JSON, aligned text tables under a title, the remarks with their legend and
// JSON form, and the labelled lines of one alternative's detail.
#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace hxq::app {

enum class OutputSystem { SI, US };

// The labels of the printouts in one language of the text table (`hxq select --lang`):
// a label that has a text identifier takes that text of the language at `offset`;
// English (offset 0) keeps the printouts' own, shorter wording, and labels without a
// fitting text stay English in every language (docs/localised-texts.md).
struct Labels {
    std::int16_t offset = 0;
    std::string operator()(std::int16_t id, const char* english) const;
};

// Unit ids of the units database, one per printed quantity.
struct QuantityUnits {
    OutputSystem system = OutputSystem::SI;
    std::int16_t area = 0;
    std::int16_t ohtc = 0;          // overall coefficient
    std::int16_t film = 0;          // film coefficient
    std::int16_t pressure = 0;      // pressure drop
    std::int16_t shear = 0;
    std::int16_t temperature = 0;
    std::int16_t temperature_difference = 0;
    std::int16_t heat_load = 0;
    std::int16_t mass_flow = 0;
    std::int16_t velocity = 0;
    std::int16_t length = 0;        // port diameters
    std::int16_t density = 0;
    std::int16_t heat_capacity = 0;
    std::int16_t viscosity = 0;
    std::int16_t conductivity = 0;
    std::int16_t heat_flux = 0;
    std::int16_t fouling = 0;
    std::int16_t latent_heat = 0;
};

// The output-unit list of the system (settings::kSIOutputUnits / kUSOutputUnits) and,
// for the quantities that list has no field for (heat load, flow, heat flux, fouling,
// latent heat), the SI or US unit of the quantity's group in the units database.
QuantityUnits OutputUnits(OutputSystem system);

// "si" or "us".
const char* SystemName(OutputSystem system);

std::string UnitLabel(std::int16_t unit);

// `si` in `unit` as a display text, with the significant digits of the unit's group;
// "-" for a value the result cannot give (not finite).
std::string Shown(double si, std::int16_t unit);
// The same followed by the unit's label: "45.0 °C".
std::string ShownWithUnit(double si, std::int16_t unit);
// A fixed number of decimals, for numbers without a unit (qualities, percentages,
// prices); "-" when not finite.
std::string Fixed(double value, int decimals);

// The shortest text that reads back as the same float, as a number: the records hold
// many results in single precision, and unit factors add no digits worth showing.
double FloatPrecision(double value);

// {"value": number in `unit`, "unit": label}; the value is null when not finite.
nlohmann::json Quantity(double si, std::int16_t unit);
// {"value": number, "unit": "%"}.
nlohmann::json PercentQuantity(double percent);

// `--detail N` naming no listed alternative: the message on stderr; exit status 2.
int RefuseDetail(int detail, std::size_t listed);

// Width of a text on a terminal, in characters rather than bytes (labels carry "²", "°").
std::size_t DisplayWidth(const std::string& text);

// A text table under its title line with its columns aligned: header rows first, then
// body rows. Numbers are right-aligned, columns marked with `align_left` left-aligned;
// columns are two blanks apart and lines carry no trailing blanks.
class AlignedTable {
public:
    explicit AlignedTable(std::string title = "") : title_(std::move(title)) {}
    void add_header(std::vector<std::string> cells);
    void add_row(std::vector<std::string> cells);
    void align_left(std::size_t column);
    std::size_t body_rows() const { return rows_.size() - headers_; }
    std::string text() const;

private:
    std::string title_;
    std::vector<std::vector<std::string>> rows_;
    std::size_t headers_ = 0;
    std::vector<std::size_t> left_;
};

// One remark on an alternative: the mark of the table's remark column ("V", "P1"), the
// code JSON gives it, the side or circuit it concerns (0: the unit), a line that says
// what, and the value it is about as a text with its unit ("" when none).
struct Remark {
    std::string mark;
    std::string code;
    int side = 0;
    std::string text;
    std::string value;
};
using Remarks = std::vector<Remark>;

// A remark whose mark in the table is its code ("P1", "AE").
Remark CodeMarked(std::string code, int side, std::string text, std::string value = {});

// The marks of `remarks` in order of appearance, each once, blank-separated ("" when none).
std::string RemarkMarks(const Remarks& remarks);

// [{"code", "text"}] with "side" where the remark concerns one side and "value" where it
// is about one.
nlohmann::json RemarkJson(const Remarks& remarks);

// The legend under a table or a detail: "Remarks:", then one line per remark of each
// alternative: the rank, the mark and the text with its value ("  2  V   side 1: ...").
class RemarkLegend {
public:
    void add(int rank, const Remarks& remarks);
    bool empty() const { return lines_.empty(); }
    std::string text() const;

private:
    std::vector<std::pair<int, Remark>> lines_;
};

// The detail of one alternative: headings, each followed by its labelled values in two
// columns aligned over the whole text.
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
