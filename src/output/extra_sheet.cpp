#include "output/extra_sheet.h"

#include "output/output_units.h"
#include "output/sheet_layout.h"
#include "output/sheet_values.h"
#include "platform/error.h"
#include "settings/convert.h"
#include "settings/format.h"
#include "settings/library_state.h"
#include "settings/texts.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>
#include <type_traits>
#include <variant>

namespace hxq::output {
namespace {

constexpr std::int16_t kFilmGroup = 14;
constexpr std::int16_t kVelocityGroup = 15;

// The units of the sheet.
struct SheetUnits {
    std::int16_t temperature[2] = {0, 0};  // per side, as the user gave the inlet temperatures
    std::int16_t film = 0, velocity = 0, shear = 0, drop = 0, length = 0;
};

SheetUnits sheet_units(const core::InputData& given) {
    const settings::OutputUnitsType& out = settings::library_state().derived.OutputUnits;
    SheetUnits u;
    for (int s = 1; s <= 2; ++s) u.temperature[s - 1] = unit_or_base(given.InletTemp[s].iUnitID, kTemperatureGroup);
    u.film = unit_or_base(out.FilmCoeff, kFilmGroup);
    u.velocity = unit_or_base(out.Velocity, kVelocityGroup);
    u.shear = unit_or_base(out.ShearStress, kPressureGroup);
    u.drop = unit_or_base(out.PdropPorts, kPressureGroup);
    u.length = unit_or_base(out.length, kLengthGroup);
    return u;
}

// What the sheet shows of one side, whichever engine rated it.
struct SideView {
    std::string fluid;
    double ref_temp = 0, reynolds = 0, min_temp = 0, max_temp = 0, film = 0, mean_wall = 0, shear = 0;
    double port_velocity = 0, port_velocity_out = 0, channel_velocity = 0, channel_velocity_out = 0;
    // Connection sizing: vapour quality entering and leaving (0 liquid, 1 vapour), the
    // phases' densities, the flow of all units and the ports it meets.
    double quality_in = 0, quality_out = 0, vapour_density = 0, liquid_density = 0, mass_flow = 0;
    double port_in = 0, port_out = 0;  // m
};

std::string fluid_text(const core::FluidObject* fluid) {
    if (!fluid) return "";
    std::string text = fluid->YFluidName();
    if (fluid->YConc() > 0) text += " " + hash_point_zero(fluid->YConc()) + " %";
    // A gas is known by its pressure as much as by its name.
    if (fluid->YGas()) text += " " + hash_point_zero(fluid->YPressure() / 1e5) + " bar";
    return text;
}

template <class Result>
void common_side(SideView& v, const Result& r, int s) {
    v.ref_temp = r.RefTemp[s];
    v.reynolds = r.ReynoldsNumber[s];
    v.min_temp = r.MinTemp[s];
    v.max_temp = r.MaxTemp[s];
    v.film = r.FilmCoefficient[s];
    v.mean_wall = r.MeanWallTemp[s];
    v.shear = r.ShearStress[s];
    v.port_velocity = r.PortVelocity[s];
    v.channel_velocity = r.ChannelVelocity[s];
    v.mass_flow = r.MassFlow[s];
    v.port_in = r.PortDiameterUp[s];
    v.port_out = r.PortDiameterDown[s];
}

SideView single_phase_side(const core::SinglePhaseInput& in, const core::SinglePhaseResult& r, int s) {
    SideView v;
    v.fluid = fluid_text(in.Fluid[s].get());
    common_side(v, r, s);
    return v;
}

// Side 1 the refrigerant, side 2 the secondary fluid (a liquid at both ports).
template <class Result>
SideView two_phase_side(const core::FluidObject* fluid, const Result& r, int s, double q_in, double q_out) {
    SideView v;
    v.fluid = fluid_text(fluid);
    common_side(v, r, s);
    v.port_velocity_out = r.PortVelocityOut[s];
    v.channel_velocity_out = r.ChannelVelocityOut[s];
    if (s == 1) {
        v.quality_in = q_in;
        v.quality_out = q_out;
        v.vapour_density = r.RefVapor.Density;
        v.liquid_density = r.RefLiquid.Density;
    } else {
        v.liquid_density = r.Side2.Density;
    }
    return v;
}

// The recommended connection (mm) for a port of vapour quality `quality`: a pure phase
// by its density, a two-phase port as the homogeneous mixture; nothing when the side's
// data give no diameter (an empty alternative).
std::optional<double> connection_mm(const SideView& v, double quality, std::int16_t parallel_units) {
    const std::int16_t in_out = quality >= 1 ? 1 : quality <= 0 ? 2 : 0;
    try {
        return clsOutput::TheConnection(in_out, static_cast<float>(quality), static_cast<float>(v.vapour_density),
                                        static_cast<float>(v.liquid_density), static_cast<float>(v.mass_flow),
                                        std::max<std::int16_t>(1, parallel_units));
    } catch (const platform::Error&) {
        return std::nullopt;
    }
}

class ExtraRows {
public:
    ExtraRows(SheetWriter& out, std::int16_t offset, const SheetUnits& units)
        : out_(out), offset_(offset), units_(units) {}

    std::string text(std::int16_t id) const { return std::string(settings::localised_text(id, offset_)); }

    void row(std::string_view label, const core::OutVal& v1, const core::OutVal& v2) {
        // A side without a value adds no unit to the unit column.
        const std::string& u1 = v1.GVal.empty() ? v2.GUnit : v1.GUnit;
        const std::string& u2 = v2.GVal.empty() ? v1.GUnit : v2.GUnit;
        out_.add(table_row(label, u1, u2, v1.GVal, v2.GVal));
    }
    void temperatures(std::string_view label, double t1, double t2) {
        row(label, result_value(t1, units_.temperature[0]), result_value(t2, units_.temperature[1]));
    }
    void quantity(std::string_view label, double v1, double v2, std::int16_t unit) {
        row(label, result_value(v1, unit), result_value(v2, unit));
    }
    static core::OutVal plain(double value) {
        return {std::isfinite(value) ? settings::fixed_text(value, 0) : "-", ""};
    }

    // The diameter in the output length unit.
    core::OutVal diameter(std::optional<double> mm) const {
        const std::string unit = settings::UnitTable(units_.length).sUnit;
        if (!mm) return {"-", unit};
        const platform::Variant value =
            settings::SharedConverter().Convert_(*mm, kMillimetreUnit, units_.length, nullptr, {}, std::nullopt);
        const settings::UnitGroupsType& group = settings::UnitGroupTable(kLengthGroup);
        return {settings::show_value(value, group.bSignDigit, group.iOffset), unit};
    }

    // A recommended connection wider than the port it meets is worth a warning.
    void check_fit(std::string_view label, std::optional<double> mm, double port_m, std::vector<std::string>& out) const {
        if (!mm || !(port_m > 0) || *mm <= port_m * 1000.0) return;
        const core::OutVal need = diameter(mm);
        const core::OutVal port = diameter(port_m * 1000.0);
        out.push_back(fmt::format("{} {} {} > {} {} {}", label, need.GVal, need.GUnit, text(426), port.GVal, port.GUnit));
    }

    const SheetUnits& units() const { return units_; }

private:
    SheetWriter& out_;
    std::int16_t offset_;
    SheetUnits units_;
};

void header_lines(SheetWriter& out, const std::vector<std::string>& header) {
    for (const std::string& line : header)
        if (!line.empty()) out.add(std::string(kBody) + rtf_escape(line));
}

void give_warning(std::string* DiaWarning, const std::vector<std::string>& warnings) {
    if (!DiaWarning) return;
    DiaWarning->clear();
    for (const std::string& w : warnings) *DiaWarning += (DiaWarning->empty() ? "" : "; ") + w;
}

void velocity_rows(ExtraRows& rows, const SideView& a, const SideView& b, bool two_phase) {
    const std::int16_t unit = rows.units().velocity;
    if (!two_phase) {
        rows.quantity(rows.text(181), a.port_velocity, b.port_velocity, unit);
        rows.quantity(rows.text(154), a.channel_velocity, b.channel_velocity, unit);
        return;
    }
    rows.quantity("Inlet " + rows.text(181), a.port_velocity, b.port_velocity, unit);
    rows.quantity("Outlet " + rows.text(181), a.port_velocity_out, b.port_velocity_out, unit);
    rows.quantity("Inlet " + rows.text(154), a.channel_velocity, b.channel_velocity, unit);
    rows.quantity("Outlet " + rows.text(154), a.channel_velocity_out, b.channel_velocity_out, unit);
}

// The distributor's pressure-drop window of a V-ring evaporator, in the refrigerant's column.
void distribution_row(ExtraRows& rows, const core::EvaporatorResult& r, bool second_column = false) {
    if (!r.VType) return;
    const core::OutVal lo = result_value(r.VRingPressureDropMin, rows.units().drop);
    const core::OutVal hi = result_value(r.VRingPressureDropMax, rows.units().drop);
    const core::OutVal range{lo.GVal + " - " + hi.GVal, lo.GUnit};
    if (second_column)
        rows.row(rows.text(611), {}, range);
    else
        rows.row(rows.text(611), range, {});
}

struct Alternative {
    std::string designation;
    std::int16_t parallel = 1, serial = 1;
    bool dual = false;
    bool two_phase = false;
    std::int16_t kind_text = 484;
    SideView side[2];
    const core::EvaporatorResult* evaporator = nullptr;
    const core::InputData* given = nullptr;
};

Alternative view_of(const PreviewRecord& record, std::int16_t index, std::optional<bool> Dual) {
    Alternative a;
    std::visit(
        [&](const auto* data) {
            using Data = std::remove_cv_t<std::remove_pointer_t<decltype(data)>>;
            const auto& alt = data->outdata[index];
            const auto& r = alt.OutputData;
            a.given = &data->GivenValues;
            a.dual = Dual.value_or(is_dual(data->GivenValues, alt.Dual));
            a.designation = alternative_designation(alt, a.dual);
            a.parallel = r.ParallelUnits;
            if constexpr (std::is_same_v<Data, core::SPCDataType>) {
                for (int s = 1; s <= 2; ++s) a.side[s - 1] = single_phase_side(data->InData, r, s);
            } else {
                a.two_phase = true;
                a.serial = r.SerialUnits;
                const core::FluidObject* refrigerant =
                    r.FluidObject ? r.FluidObject.get() : data->InData.Refrigerant.get();
                if constexpr (std::is_same_v<Data, core::CONDataType>) {
                    a.kind_text = 168;
                    a.side[0] = two_phase_side(refrigerant, r, 1, r.Qin, r.Qout);
                } else {
                    a.kind_text = 258;
                    a.side[0] = two_phase_side(refrigerant, r, 1, r.Xin, r.Xout);
                    a.evaporator = &r;
                }
                a.side[1] = two_phase_side(data->InData.Fluid.get(), r, 2, 0, 0);
            }
        },
        record);
    return a;
}

std::int16_t record_kind(const PreviewRecord& record) { return static_cast<std::int16_t>(record.index()); }

}  // namespace

PreviewArray extra_sheet(const PreviewRecord& OData, const std::vector<std::string>& header, std::int16_t SelIndex,
                         std::int16_t CalcType, const std::string& CalcMethod, std::int16_t /*Plt*/,
                         std::int16_t offset, std::string* DiaWarning, std::optional<bool> Dual) {
    check_alternative_index(SelIndex, "Create_Xtra");
    if (CalcType != record_kind(OData))
        throw platform::Error(13, "Create_Xtra",
                              fmt::format("Type mismatch: CalcType {} with a record of kind {}", CalcType,
                                          record_kind(OData)));
    const Alternative a = view_of(OData, SelIndex, Dual);
    const SideView& one = a.side[0];
    const SideView& two = a.side[1];

    PreviewArray sheet;
    SheetWriter out(sheet);
    ExtraRows rows(out, offset, sheet_units(*a.given));
    add_address_block(out);
    add_title(out);
    out.add(section_heading(rows.text(311) + ": " + a.designation));
    std::string kind = rows.text(565) + ": " + rows.text(a.kind_text);
    if (a.dual) kind += ", " + rows.text(598);
    if (!CalcMethod.empty()) kind += ", " + CalcMethod;
    const std::string counts = unit_counts(a.parallel, a.serial, offset);
    if (!counts.empty()) kind += ", " + counts;
    out.add(std::string(kBody) + rtf_escape(kind));
    header_lines(out, header);
    add_reference_rows(out, offset);
    out.add(std::string(kSpacer));

    if (a.two_phase || a.dual)
        out.add(std::string(kSideHeading) + std::string(kTab) + rtf_escape(rows.text(599)) + std::string(kTab) +
                rtf_escape(rows.text(600)));
    else
        out.add(side_heading(rows.text(483)));
    rows.row(rows.text(276), {one.fluid, ""}, {two.fluid, ""});
    rows.temperatures(rows.text(454), one.ref_temp, two.ref_temp);
    rows.row(rows.text(457), ExtraRows::plain(one.reynolds), ExtraRows::plain(two.reynolds));
    rows.temperatures(rows.text(357), one.min_temp, two.min_temp);
    rows.temperatures(rows.text(356), one.max_temp, two.max_temp);
    rows.temperatures(rows.text(116), one.mean_wall, two.mean_wall);
    rows.quantity(rows.text(268), one.film, two.film, rows.units().film);
    velocity_rows(rows, one, two, a.two_phase);
    rows.quantity(rows.text(481), one.shear, two.shear, rows.units().shear);
    if (a.evaporator) distribution_row(rows, *a.evaporator);

    std::vector<std::string> warnings;
    if (a.two_phase) {
        out.add(std::string(kSpacer));
        const auto in1 = connection_mm(one, one.quality_in, a.parallel);
        const auto in2 = connection_mm(two, 0, a.parallel);
        const auto out1 = connection_mm(one, one.quality_out, a.parallel);
        const auto out2 = connection_mm(two, 0, a.parallel);
        rows.row(rows.text(575), rows.diameter(in1), rows.diameter(in2));
        rows.row(rows.text(576), rows.diameter(out1), rows.diameter(out2));
        for (const auto& [label, mm, port] :
             {std::tuple{rows.text(575), in1, one.port_in}, std::tuple{rows.text(575), in2, two.port_in},
              std::tuple{rows.text(576), out1, one.port_out}, std::tuple{rows.text(576), out2, two.port_out}})
            rows.check_fit(label, mm, port, warnings);
    }
    give_warning(DiaWarning, warnings);
    if (!warnings.empty()) add_warnings(out, warnings, offset);
    add_disclaimer(sheet, offset);
    return sheet;
}

PreviewArray extra_cascade_sheet(const core::CascadeDataType& cascadeData, const std::vector<std::string>& header,
                                 std::int16_t SelIndex, std::int16_t offset, std::string* DiaWarning) {
    check_alternative_index(SelIndex, "Create_Xtra_Cascade");
    const core::VAPOutDataType& vap = cascadeData.outdataVap[SelIndex];
    const core::CONOutDataType& con = cascadeData.outdataCon[SelIndex];
    const core::EvaporatorResult& e = vap.OutputData;
    const core::CondenserResult& c = con.OutputData;
    const SideView evaporation = two_phase_side(
        e.FluidObject ? e.FluidObject.get() : cascadeData.InDataVap.Refrigerant.get(), e, 1, e.Xin, e.Xout);
    const SideView condensation = two_phase_side(
        c.FluidObject ? c.FluidObject.get() : cascadeData.InDataCon.Refrigerant.get(), c, 1, c.Qin, c.Qout);

    PreviewArray sheet;
    SheetWriter out(sheet);
    ExtraRows rows(out, offset, sheet_units(cascadeData.GivenValues));
    add_address_block(out);
    add_title(out);
    out.add(section_heading(rows.text(311) + ": " + alternative_designation(vap, false)));
    std::string kind = rows.text(606) + ", " + rows.text(565);
    const std::string counts = unit_counts(e.ParallelUnits, e.SerialUnits, offset);
    if (!counts.empty()) kind += ", " + counts;
    out.add(std::string(kBody) + rtf_escape(kind));
    header_lines(out, header);
    add_reference_rows(out, offset);
    out.add(std::string(kSpacer));

    out.add(std::string(kSideHeading) + std::string(kTab) + rtf_escape(rows.text(604)) + std::string(kTab) +
            rtf_escape(rows.text(605)));
    const core::OutVal none{};
    rows.row(rows.text(601), {evaporation.fluid, ""}, none);
    rows.row(rows.text(602), none, {condensation.fluid, ""});
    // Both circuits' temperatures in the unit the evaporation was given in.
    rows.row(rows.text(454), result_value(evaporation.ref_temp, rows.units().temperature[0]),
             result_value(condensation.ref_temp, rows.units().temperature[0]));
    velocity_rows(rows, evaporation, condensation, true);
    distribution_row(rows, e);

    out.add(std::string(kSpacer));
    const auto evap_in = connection_mm(evaporation, evaporation.quality_in, e.ParallelUnits);
    const auto evap_out = connection_mm(evaporation, evaporation.quality_out, e.ParallelUnits);
    const auto cond_in = connection_mm(condensation, condensation.quality_in, c.ParallelUnits);
    const auto cond_out = connection_mm(condensation, condensation.quality_out, c.ParallelUnits);
    rows.row(rows.text(607), rows.diameter(evap_in), none);
    rows.row(rows.text(608), rows.diameter(evap_out), none);
    rows.row(rows.text(609), none, rows.diameter(cond_in));
    rows.row(rows.text(610), none, rows.diameter(cond_out));
    std::vector<std::string> warnings;
    rows.check_fit(rows.text(607), evap_in, evaporation.port_in, warnings);
    rows.check_fit(rows.text(608), evap_out, evaporation.port_out, warnings);
    rows.check_fit(rows.text(609), cond_in, condensation.port_in, warnings);
    rows.check_fit(rows.text(610), cond_out, condensation.port_out, warnings);
    give_warning(DiaWarning, warnings);
    if (!warnings.empty()) add_warnings(out, warnings, offset);
    add_disclaimer(sheet, offset);
    return sheet;
}

}  // namespace hxq::output
