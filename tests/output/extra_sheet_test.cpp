// The extra data sheets of real sample calculations: the per-side rows, the recommended
// connections of refrigerant duties and their warning, and the arguments they refuse.
#include "preview_samples.h"

#include "output/extra_sheet.h"
#include "output/sheet_values.h"
#include "platform/scratch.h"
#include "settings/format.h"

#include <functional>

namespace hxq::output {
namespace {

using test::sample_records;

double number(const std::string& cell) {
    const auto v = settings::parse_locale_number(cell);
    EXPECT_TRUE(v.has_value()) << cell;
    return v.value_or(0);
}

class ExtraSheet : public test::OutputTest {};

TEST_F(ExtraSheet, SinglePhaseRowsShowBothSidesInTheOutputUnits) {
    const core::SPCDataType& d = sample_records().water;
    ASSERT_TRUE(d.outdata[1].OutputData.Valid);
    const core::SinglePhaseResult& r = d.outdata[1].OutputData;
    const PreviewArray sheet = extra_sheet(&d, {"Project 7"}, 1, 0, "Normal", 0, 0);
    const std::string all = text_of(sheet);
    EXPECT_NE(all.find("Heat exchanger: " + alternative_designation(d.outdata[1], false)), std::string::npos);
    EXPECT_NE(all.find("Extra: Single Phase, Normal"), std::string::npos);
    EXPECT_NE(all.find("Project 7"), std::string::npos);
    EXPECT_NE(all.find("\\tab Side 1\\tab Side 2"), std::string::npos);
    // No connection rows for a single-phase duty.
    EXPECT_EQ(all.find("Recommended"), std::string::npos);

    // The SI values are the output units' values; `relative` the formatter's significant digits.
    struct Row {
        const char* label;
        const char* unit;
        double side1, side2, relative;
    };
    const Row rows[] = {
        {"Reynolds number", "", r.ReynoldsNumber[1], r.ReynoldsNumber[2], 1e-3},
        {"Reference temperature", "°C", r.RefTemp[1], r.RefTemp[2], 1e-2},
        {"Min. fluid temperature at wall", "°C", r.MinTemp[1], r.MinTemp[2], 1e-2},
        {"Average wall temperature", "°C", r.MeanWallTemp[1], r.MeanWallTemp[2], 1e-2},
        {"Film coefficient", "W/m²,°C", r.FilmCoefficient[1], r.FilmCoefficient[2], 1e-2},
        {"Port velocity", "m/s", r.PortVelocity[1], r.PortVelocity[2], 1e-2},
        {"Shear stress", "Pa", r.ShearStress[1], r.ShearStress[2], 1e-2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        const auto c = cells(sheet, row.label);
        ASSERT_EQ(c.size(), 5u);
        EXPECT_EQ(c[1], row.unit);
        EXPECT_NEAR(number(c[3]), row.side1, std::abs(row.side1) * row.relative + 0.5);
        EXPECT_NEAR(number(c[4]), row.side2, std::abs(row.side2) * row.relative + 0.5);
    }
}

TEST_F(ExtraSheet, RefrigerantConnectionsFollowThePhaseAtEachPort) {
    struct Case {
        const char* what;
        PreviewRecord record;
        std::int16_t kind;
        bool vapour_enters;  // condenser: gas in, liquid out; evaporator: mixture in, gas out
    };
    const Case cases[] = {
        {"condenser", &sample_records().condenser, 1, true},
        {"evaporator", &sample_records().evaporator, 2, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string warning = "stale";
        const PreviewArray sheet = extra_sheet(c.record, {}, 1, c.kind, "", 0, 0, &warning);
        EXPECT_NE(text_of(sheet).find("\\tab Refrigerant\\tab Brine"), std::string::npos);
        const auto in = cells(sheet, "Recommended inlet connection diameter");
        const auto out = cells(sheet, "Recommended outlet connection diameter");
        ASSERT_EQ(in.size(), 5u);
        ASSERT_EQ(out.size(), 5u);
        EXPECT_EQ(in[1], "mm");
        // The liquid side meets the same flow at both ports.
        EXPECT_EQ(in[4], out[4]);
        // Vapour needs the wider connection, whichever port it passes.
        if (c.vapour_enters)
            EXPECT_GT(number(in[3]), 2 * number(out[3]));
        else
            EXPECT_GT(number(out[3]), number(in[3]));
        EXPECT_GT(number(in[4]), 1.0);
        EXPECT_NE(warning, "stale");
        EXPECT_FALSE(cells(sheet, "Inlet Port velocity").empty());
        EXPECT_FALSE(cells(sheet, "Outlet Channel velocity").empty());
    }
}

TEST_F(ExtraSheet, AConnectionWiderThanItsPortIsWarned) {
    core::CONDataType d = sample_records().condenser;
    auto& r = d.outdata[1].OutputData;
    for (int s = 1; s <= 2; ++s) r.PortDiameterUp[s] = r.PortDiameterDown[s] = 0.5;  // m
    std::string warning;
    PreviewArray sheet = extra_sheet(&d, {}, 1, 1, "", 0, 0, &warning);
    EXPECT_EQ(warning, "");
    EXPECT_EQ(text_of(sheet).find("Note :"), std::string::npos);

    r.PortDiameterUp[1] = 0.001;
    sheet = extra_sheet(&d, {}, 1, 1, "", 0, 0, &warning);
    EXPECT_EQ(warning.rfind("Recommended inlet connection diameter ", 0), 0u) << warning;
    EXPECT_NE(warning.find("> Port Diameter 1.00 mm"), std::string::npos) << warning;
    EXPECT_NE(text_of(sheet).find("Note : \\tab " + warning), std::string::npos);
}

TEST_F(ExtraSheet, DualFlagAndUnitCountsReachTheHeading) {
    core::SPCDataType d = sample_records().water;
    d.outdata[1].OutputData.ParallelUnits = 2;
    const std::string all = text_of(extra_sheet(&d, {}, 1, 0, "", 0, 0, nullptr, true));
    EXPECT_NE(all.find("Extra: Single Phase, Dual, 2 Units connected in parallell"), std::string::npos);
    EXPECT_NE(all.find("\\tab Refrigerant\\tab Brine"), std::string::npos);
}

TEST_F(ExtraSheet, CascadeShowsBothCircuitsConnections) {
    const core::CascadeDataType& d = sample_records().cascade;
    ASSERT_EQ(d.outdataVap[1].OutputData.Status, -1);
    std::string warning = "stale";
    const PreviewArray sheet = extra_cascade_sheet(d, {}, 1, 0, &warning);
    EXPECT_NE(text_of(sheet).find("Cascade, Extra"), std::string::npos);
    EXPECT_NE(text_of(sheet).find("\\tab Evaporation\\tab Condensation"), std::string::npos);
    EXPECT_EQ(cells(sheet, "Fluid (Evaporation)").at(3), "R134a");
    EXPECT_EQ(cells(sheet, "Fluid (Condensation)").at(4), "R744");
    const auto evap_in = cells(sheet, "Recommended inlet connection diameter evap.");
    const auto evap_out = cells(sheet, "Recommended outlet connection diameter evap");
    const auto cond_in = cells(sheet, "Recommended inlet connection diameter cond");
    const auto cond_out = cells(sheet, "Recommended outlet connection diameter cond");
    ASSERT_EQ(evap_in.size(), 5u);
    ASSERT_EQ(cond_out.size(), 5u);
    EXPECT_GT(number(evap_out[3]), number(evap_in[3]));   // R134a leaves as gas
    EXPECT_GT(number(cond_in[4]), number(cond_out[4]));   // R744 leaves as liquid
    EXPECT_EQ(evap_in[4], "");
    EXPECT_EQ(cond_in[3], "");
    EXPECT_NE(warning, "stale");
}

TEST_F(ExtraSheet, RefusesAnAlternativeOutsideTheSevenOrAnotherKind) {
    const core::CONDataType& con = sample_records().condenser;
    struct Case { std::function<void()> build; std::int32_t number; };
    const Case cases[] = {
        {[&] { extra_sheet(&con, {}, 0, 1, "", 0, 0); }, 9},
        {[&] { extra_sheet(&con, {}, 8, 1, "", 0, 0); }, 9},
        {[&] { extra_sheet(&con, {}, 1, 0, "", 0, 0); }, 13},
        {[&] { extra_sheet(&con, {}, 1, 2, "", 0, 0); }, 13},
        {[&] { extra_cascade_sheet(sample_records().cascade, {}, 8, 0); }, 9},
    };
    for (const Case& c : cases) EXPECT_EQ(test::error_number(c.build), c.number);
}

}  // namespace
}  // namespace hxq::output
