// Pieces every printout of `hxq select` shares, whatever the duty: the unit each quantity
// is shown in (the SI or US list of the units database), values in those units for a
// table or for JSON, an aligned text table, and the remark marks with their legend.
#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace hxq::app {

enum class OutputSystem { SI, US };

// Unit ids of the units database, one per printed quantity.
struct QuantityUnits {
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
};

// The output-unit list of the system (settings::kSIOutputUnits / kUSOutputUnits) and,
// for the quantities that list has no field for (heat load, flow, heat flux, fouling),
// the SI or US unit of the quantity's group in the units database.
QuantityUnits OutputUnits(OutputSystem system);

// "si" or "us".
const char* SystemName(OutputSystem system);

std::string UnitLabel(std::int16_t unit);

// `si` in `unit` as a display text, with the significant digits of the unit's group.
std::string Shown(double si, std::int16_t unit);

// The shortest text that reads back as the same float, as a number: the records hold
// many results in single precision, and unit factors add no digits worth showing.
double FloatPrecision(double value);

// {"value": number in `unit`, "unit": label}.
nlohmann::json Quantity(double si, std::int16_t unit);
// {"value": number, "unit": "%"}.
nlohmann::json PercentQuantity(double percent);

// `--detail N` naming no listed alternative: the message on stderr; exit status 2.
int RefuseDetail(int detail, std::size_t listed);

// Width of a text on a terminal, in characters rather than bytes (labels carry "²", "°").
std::size_t DisplayWidth(const std::string& text);

// A text table with its columns aligned: header rows first, then body rows. Numbers are
// right-aligned, columns marked with `align_left` left-aligned; columns are two blanks
// apart and lines carry no trailing blanks.
class AlignedTable {
public:
    void add_header(std::vector<std::string> cells);
    void add_row(std::vector<std::string> cells);
    void align_left(std::size_t column);
    std::size_t body_rows() const { return rows_.size() - headers_; }
    std::string text() const;

private:
    std::vector<std::vector<std::string>> rows_;
    std::size_t headers_ = 0;
    std::vector<std::size_t> left_;
};

// One remark on an alternative: the letter that marks it in a table's remark column, the
// code JSON gives it, the side it concerns (0: the unit) and a line that says what and by
// how much.
struct Remark {
    char letter = '?';
    std::string code;
    int side = 0;
    std::string text;
};

// The letters of `remarks` in order of appearance, each once ("" when none).
std::string RemarkMarks(const std::vector<Remark>& remarks);

// [{"code": ..., "text": ...}] (with "side" where the remark concerns one side).
nlohmann::json RemarkJson(const std::vector<Remark>& remarks);

// The legend under a table: the letters used with their meaning, then one line per
// remark of each alternative ("  2  V  side 1: ...").
class RemarkLegend {
public:
    // What the letter stands for, in the order the legend lists them.
    void define(char letter, std::string meaning);
    void add(int rank, const std::vector<Remark>& remarks);
    bool empty() const { return lines_.empty(); }
    std::string text() const;

private:
    std::vector<std::pair<char, std::string>> meanings_;
    std::vector<std::pair<int, Remark>> lines_;
};

}  // namespace hxq::app
