#include "output/air_dryer_preview.h"

#include "batch/ad_records.h"
#include "output/output_units.h"
#include "output/sheet_layout.h"
#include "settings/convert.h"
#include "settings/library_state.h"
#include "settings/texts.h"

namespace hxq::output {
namespace {

// The refrigerant's column and the air's, each with its own unit.
struct Cell {
    std::string value;
    std::string unit;
};

class AirDryerRows {
public:
    AirDryerRows(SheetWriter& out, std::int16_t offset) : out_(out), offset_(offset) {}

    std::string text(std::int16_t id) const { return std::string(settings::localised_text(id, offset_)); }

    static Cell quantity(double si, std::int16_t unit) {
        const core::OutVal v = settings::FormatInUnit(false, unit, si, {});
        return {v.GVal, v.GUnit};
    }

    // Label, unit column, ":", the refrigerant's value, the air's value on the row's last
    // tab stop.
    void row(std::string_view label, const Cell& ref, const Cell& air) {
        out_.add(std::string(kAirDryerRow) + rtf_escape(label) + std::string(kTab) +
                 rtf_escape(unit_text(ref, air)) +
                 std::string(kTab) + ":" + std::string(kTab) + rtf_escape(ref.value) + std::string(kTab) +
                 std::string(kTab) + rtf_escape(air.value));
    }
    // A column without a value has no unit; the others follow the unit-column rule.
    static std::string unit_text(const Cell& ref, const Cell& air) {
        if (ref.unit.empty()) return air.unit;
        if (air.unit.empty()) return ref.unit;
        return unit_column(ref.unit, air.unit);
    }
    void columns() {
        out_.add(std::string(kAirDryerHeading) + std::string(kTab) + rtf_escape(text(452)) + std::string(kTab) +
                 rtf_escape(text(110)));
    }
    void heading(std::int16_t id) {
        out_.add(std::string(kSpacer));
        out_.add(std::string(kAirDryerHeading) + rtf_escape(text(id)));
    }
    void line(std::int16_t id) { out_.add(std::string(kBody) + rtf_escape(text(id))); }

private:
    SheetWriter& out_;
    std::int16_t offset_;
};

std::string fluid_name(const core::FluidRef& fluid) { return fluid ? fluid->YFluidName() : std::string(); }

}  // namespace

PreviewArray air_dryer_preview_sheet(const batch::ADDataType& AD, std::int16_t ind, std::int16_t CalcType,
                                     std::int16_t offset, const PreviewWarnings& Warnings) {
    check_alternative_index(ind, "ADCreatePreview");
    const batch::ADInputType& in = AD.ADInData;
    const batch::ADFormIndataType& form = in.ADFormIndata;
    const batch::ADOutputType& pair = AD.ADOutData[ind];
    const settings::OutputUnitsType& units = settings::library_state().derived.OutputUnits;
    const std::int16_t temperature = unit_or_base(form.DewTempUnitID, kTemperatureGroup);
    const std::int16_t difference = base_unit(kTemperatureDifferenceGroup);
    const std::int16_t flow = base_unit(kFlowGroup);
    const std::int16_t load = base_unit(kHeatLoadGroup);
    const std::int16_t pressure = unit_or_base(units.Op_Max_Pressure, kPressureGroup);
    const std::int16_t drop = unit_or_base(units.PdropPorts, kPressureGroup);
    const std::int16_t length = unit_or_base(units.length, kLengthGroup);
    const auto q = AirDryerRows::quantity;
    const Cell none;

    PreviewArray sheet;
    SheetWriter out(sheet);
    AirDryerRows rows(out, offset);
    add_address_block(out);
    add_title(out);
    std::string heading = rows.text(104) + ": " + pair.XerType;
    heading += ", " + rows.text(CalcType == 0 ? 201 : 416);
    out.add(section_heading(heading));
    add_reference_rows(out, offset);
    out.add(std::string(kSpacer));

    rows.columns();
    // The refrigerant the sizing could not find in the fluid tables has no data at all;
    // a single-phase fluid in its place cools the air as a brine.
    Cell refrigerant{fluid_name(in.RefIndata.RefFluid), ""};
    if (!in.RefIndata.RefFluid)
        refrigerant.value = rows.text(140) + (form.RefFluid.empty() ? "" : ": " + form.RefFluid);
    else if (!in.RefIndata.RefFluid->IsTwoPhase())
        refrigerant.value = rows.text(600) + ": " + refrigerant.value;
    rows.row(rows.text(277), refrigerant, {fluid_name(in.RefIndata.AirFluid), ""});
    rows.row(rows.text(517), q(form.RefEvapTemp, temperature), none);
    rows.row(rows.text(493), q(form.RefSuperHeat, difference), none);
    rows.row(rows.text(202), none, q(form.DewTemp, temperature));

    rows.heading(108);
    rows.row(rows.text(322), none, q(form.AirInletTemp, temperature));
    rows.row(rows.text(348), none, q(form.AirMassFlow, flow));
    rows.row(rows.text(434), none, q(form.AirOperatingPressure, pressure));
    if (CalcType == 0) {
        rows.row(rows.text(351), none, q(form.AirMaxPressureDrop, drop));
    } else {
        rows.row(rows.text(375), {std::to_string(form.RefNoOfPlates), ""}, {std::to_string(form.AirNoOfPlates), ""});
    }

    rows.heading(460);
    if (!pair.Exist) {
        rows.line(228);
    } else {
        const core::EvaporatorResult& e = pair.RefHXQResults_new;
        const core::SinglePhaseResult& a = pair.AirHXQResults;
        rows.row(rows.text(375), {std::to_string(pair.RefNumberOfPlates), ""},
                 {std::to_string(pair.TotalNumberOfPlates - pair.RefNumberOfPlates), ""});
        rows.row(rows.text(375) + " - " + rows.text(512), none, {std::to_string(pair.TotalNumberOfPlates), ""});
        if (pair.XerPhysics.length > 0) rows.row(rows.text(332), none, q(pair.XerPhysics.length, length));
        rows.row(rows.text(202), none, q(pair.DewTemp, temperature));
        rows.row(rows.text(305), q(e.HeatLoad, load), q(a.HeatLoad, load));
        rows.row(rows.text(125), q(e.PressureDrop[1], drop), q(pair.TotalPressureDrop, drop));
        rows.row(rows.text(400), q(e.OutletTempGas, temperature), q(a.OutletTemp[1], temperature));
    }
    add_warnings(out, Warnings, offset);
    add_disclaimer(sheet, offset);
    return sheet;
}

}  // namespace hxq::output
