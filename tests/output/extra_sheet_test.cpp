// The extra data sheets of real sample calculations: the per-side rows, the recommended
// connections of refrigerant duties and their warning, and the arguments they refuse; the
// air dryer, fluid batch and older host-fed sheets: what each row shows, and the
// conditions the air dryer sizing reports.
#include "output_fixture.h"

#include "output/air_dryer_preview.h"
#include "output/extra_sheet.h"
#include "output/fluid_batch_sheet.h"
#include "output/host_preview.h"
#include "output/sheet_layout.h"
#include "output/sheet_values.h"
#include "platform/scratch.h"
#include "settings/format.h"

#include <functional>

namespace hxq::output {
namespace {

using test::number;
using test::sample_records;

class ExtraSheet : public test::OutputTest {};

TEST_F(ExtraSheet, SinglePhaseRowsShowBothSidesInTheOutputUnits) {
    const core::SPCDataType& d = sample_records().water;
    ASSERT_TRUE(d.outdata[1].OutputData.Valid);
    const core::SinglePhaseResult& r = d.outdata[1].OutputData;
    const PreviewArray sheet = extra_sheet(&d, {"Project 7"}, 1, 0, "Normal", 0, 0);
    const std::string all = text_of(sheet);
    test::expect_contains(all, {"Heat exchanger: " + alternative_designation(d.outdata[1], false),
                                "Extra: Single Phase, Normal", "Project 7", "\\tab Side 1\\tab Side 2"});
    // No connection rows for a single-phase duty.
    EXPECT_EQ(all.find("Recommended"), std::string::npos);

    // The SI values are the output units' values; `relative` the formatter's significant digits.
    struct Row { const char* label; const char* unit; double side1, side2, relative; };
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
    test::expect_contains(all,
                          {"Extra: Single Phase, Dual, 2 Units connected in parallell", "\\tab Refrigerant\\tab Brine"});
}

TEST_F(ExtraSheet, CascadeShowsBothCircuitsConnections) {
    const core::CascadeDataType& d = sample_records().cascade;
    ASSERT_EQ(d.outdataVap[1].OutputData.Status, -1);
    std::string warning = "stale";
    const PreviewArray sheet = extra_cascade_sheet(d, {}, 1, 0, &warning);
    test::expect_contains(text_of(sheet), {"Cascade, Extra", "\\tab Evaporation\\tab Condensation"});
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

class OtherSheets : public test::OutputTest {};

TEST_F(OtherSheets, AirDryerShowsTheSizingAndWhatItReports) {
    const batch::ADDataType& real = sample_records().air_dryer;
    ASSERT_TRUE(real.ADOutData[1].Exist);
    const batch::ADOutputType& p = real.ADOutData[1];
    batch::ADDataType no_solution = real;
    no_solution.ADOutData[1].Exist = false;
    batch::ADDataType no_fluid = real;
    no_fluid.ADInData.RefIndata.RefFluid = nullptr;
    no_fluid.ADInData.ADFormIndata.RefFluid = "R999";
    batch::ADDataType brine = real;
    brine.ADInData.RefIndata.RefFluid = engines::fluid::create_fluid("MEG", 30);
    struct Case {
        const char* what;
        const batch::ADDataType* data;
        std::int16_t calc_type;
        std::vector<std::string> present;
        std::vector<std::string> absent;
    };
    const Case cases[] = {
        {"design", &real, 0,
         {"Air Dryer: " + p.XerType + ", Design", "\\tab Ref\\tab Air", "Fluid name\\tab \\tab :\\tab R134a\\tab \\tab Humid air",
          "Air Indata", "Result", "Max. pressure drop",
          "Number of plates\\tab \\tab :\\tab " + std::to_string(p.RefNumberOfPlates) + "\\tab \\tab " +
              std::to_string(p.TotalNumberOfPlates - p.RefNumberOfPlates),
          "Number of plates - total\\tab \\tab :\\tab \\tab \\tab " + std::to_string(p.TotalNumberOfPlates),
          "Dew temperature\\tab °C\\tab :\\tab \\tab \\tab 3.0"},
         {"No solution found"}},
        {"performance", &real, 1, {", Performance"}, {"Max. pressure drop", ", Design"}},
        {"no solution", &no_solution, 0, {"Result", "No solution found"}, {"Number of plates - total"}},
        {"refrigerant not found", &no_fluid, 0, {"Couldn't find fluid in Table: R999"}, {}},
        {"single-phase coolant", &brine, 0, {"Brine: Ethylene glycol"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string all = text_of(air_dryer_preview_sheet(*c.data, 1, c.calc_type, 0, std::nullopt));
        test::expect_contains(all, c.present);
        test::expect_contains(all, {std::string(kAirDryerRow), std::string(kAirDryerHeading)});
        for (const std::string& s : c.absent) EXPECT_EQ(all.find(s), std::string::npos) << s;
    }
    EXPECT_EQ(test::error_number([&] { air_dryer_preview_sheet(real, 0, 0, 0, std::nullopt); }), 9);
}

TEST_F(OtherSheets, FluidBatchRowsInTheirUnits) {
    FluidBatchData in;
    in.Concentration1 = 30;
    in.Concentration2 = 0.5f;
    in.Pressure1 = 150000;
    in.Pressure2 = 50000;
    in.BatchSize = 2000;
    in.InitialTemp = 10;
    in.FinalTemp = 60;
    FluidBatchData out = in;
    out.InletTemp1 = 80;
    out.InletTemp2 = 12;
    out.OutletTemp1 = 70;
    out.OutletTemp2 = 55;
    out.MassFlow1 = 1.5f;
    out.MassFlow2 = 0.9f;
    out.RequiredTime = 5400;
    struct Case { std::vector<std::string> units; std::vector<std::string> present; };
    const Case cases[] = {
        {{}, {"Batch size\\tab kg\\tab :\\tab 2000\\tab ", "Required time\\tab s\\tab :\\tab 5400\\tab ",
              "Flow rate\\tab kg/s\\tab :\\tab 1.50\\tab 0.900"}},
        // tonnes, °C, kg/h, hours; a unit that is no number keeps the default.
        {{"34", "0", "10", "89"}, {"Batch size\\tab t\\tab :\\tab 2.00", "Required time\\tab h\\tab :\\tab 1.50",
                                   "Flow rate\\tab kg/h\\tab :\\tab 5400\\tab 3240"}},
        {{"t", "x"}, {"Batch size\\tab kg\\tab :\\tab 2000"}},
    };
    for (const Case& c : cases) {
        const std::string all = text_of(fluid_batch_sheet(in, out, nullptr, nullptr, {"Tank 3"}, c.units, "Water", "MEG"));
        test::expect_contains(all, c.present);
        test::expect_contains(all, {"Fluid batch", "Tank 3", "Fluid name\\tab \\tab :\\tab Water\\tab MEG",
                                    "Fluid concentration\\tab %\\tab :\\tab 30.0\\tab .5",
                                    "Fluid pressure\\tab bar\\tab :\\tab 1.5\\tab .5",
                                    "Initial temperature\\tab °C\\tab :\\tab 10.0"});
    }
}

TEST_F(OtherSheets, OlderFormLaysOutTheHostsRows) {
    auto water = engines::fluid::create_fluid("Water");
    const std::vector<std::string> header{"Duty", "Flow rate", "Heat load", "", "Pressure drop"};
    const std::vector<std::string> data{"", "1.2;3.4", "150", "x", "20;30"};
    const std::vector<std::string> unit{"", "kg/s;l/min", "kW", "", "kPa"};
    struct Case { std::vector<platform::Variant> fluids; core::FluidObject* fluid2; const char* side_heading; };
    const Case cases[] = {
        {{platform::Variant("Water"), platform::Variant("MEG 30 %")}, nullptr, "\\tab Water\\tab MEG 30 %"},
        {{platform::Variant("Glycol")}, water.get(), "\\tab Glycol\\tab Water"},
        {{}, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const std::string all =
            text_of(host_preview_sheet(data, unit, c.fluids, "Single Phase", header, 0, "Job 12", nullptr, c.fluid2,
                                       std::vector<std::string>{"Check fouling"}, false));
        if (c.side_heading)
            EXPECT_NE(all.find(std::string(kSideHeading) + c.side_heading), std::string::npos) << all;
        else
            EXPECT_EQ(all.find(std::string(kSideHeading) + "\\tab"), std::string::npos) << all;
        test::expect_contains(all, {"Single Phase: Job 12", std::string(kSideHeading) + "Duty",
                                    table_row("Flow rate", "kg/s", "l/min", "1.2", "3.4"),
                                    table_row("Heat load", "kW", "kW", "150", ""),
                                    table_row("Pressure drop", "kPa", "kPa", "20", "30"),
                                    "Note : \\tab Check fouling"});
    }
}

}  // namespace
}  // namespace hxq::output
