// The air dryer, fluid batch and older host-fed sheets: what each row shows, and the
// conditions the air dryer sizing reports.
#include "preview_samples.h"

#include "output/air_dryer_preview.h"
#include "output/fluid_batch_sheet.h"
#include "output/host_preview.h"
#include "output/sheet_layout.h"
#include "platform/error.h"

namespace hxq::output {
namespace {

using test::sample_records;

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
        {"design",
         &real,
         0,
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
        for (const std::string& s : c.present) EXPECT_NE(all.find(s), std::string::npos) << s << "\n" << all;
        for (const std::string& s : c.absent) EXPECT_EQ(all.find(s), std::string::npos) << s;
        EXPECT_NE(all.find(std::string(kAirDryerRow)), std::string::npos);
        EXPECT_NE(all.find(std::string(kAirDryerHeading)), std::string::npos);
    }
    EXPECT_THROW(air_dryer_preview_sheet(real, 0, 0, 0, std::nullopt), platform::Error);
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
    struct Case {
        std::vector<std::string> units;
        std::vector<std::string> present;
    };
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
        for (const std::string& s : c.present) EXPECT_NE(all.find(s), std::string::npos) << s << "\n" << all;
        EXPECT_NE(all.find("Fluid batch"), std::string::npos);
        EXPECT_NE(all.find("Tank 3"), std::string::npos);
        EXPECT_NE(all.find("Fluid name\\tab \\tab :\\tab Water\\tab MEG"), std::string::npos);
        EXPECT_NE(all.find("Fluid concentration\\tab %\\tab :\\tab 30.0\\tab .5"), std::string::npos);
        EXPECT_NE(all.find("Fluid pressure\\tab bar\\tab :\\tab 1.5\\tab .5"), std::string::npos);
        EXPECT_NE(all.find("Initial temperature\\tab °C\\tab :\\tab 10.0"), std::string::npos) << all;
    }
}

TEST_F(OtherSheets, OlderFormLaysOutTheHostsRows) {
    auto water = engines::fluid::create_fluid("Water");
    const std::vector<std::string> header{"Duty", "Flow rate", "Heat load", "", "Pressure drop"};
    const std::vector<std::string> data{"", "1.2;3.4", "150", "x", "20;30"};
    const std::vector<std::string> unit{"", "kg/s;l/min", "kW", "", "kPa"};
    struct Case {
        std::vector<platform::Variant> fluids;
        core::FluidObject* fluid2;
        const char* side_heading;
    };
    const Case cases[] = {
        {{platform::Variant("Water"), platform::Variant("MEG 30 %")}, nullptr, "\\tab Water\\tab MEG 30 %"},
        {{platform::Variant("Glycol")}, water.get(), "\\tab Glycol\\tab Water"},
        {{}, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        const std::string all =
            text_of(host_preview_sheet(data, unit, c.fluids, "Single Phase", header, 0, "Job 12", nullptr, c.fluid2,
                                       std::vector<std::string>{"Check fouling"}, false));
        EXPECT_NE(all.find("Single Phase: Job 12"), std::string::npos);
        if (c.side_heading)
            EXPECT_NE(all.find(std::string(kSideHeading) + c.side_heading), std::string::npos) << all;
        else
            EXPECT_EQ(all.find(std::string(kSideHeading) + "\\tab"), std::string::npos) << all;
        EXPECT_NE(all.find(std::string(kSideHeading) + "Duty"), std::string::npos);
        EXPECT_NE(all.find(table_row("Flow rate", "kg/s", "l/min", "1.2", "3.4")), std::string::npos);
        EXPECT_NE(all.find(table_row("Heat load", "kW", "kW", "150", "")), std::string::npos);
        EXPECT_NE(all.find(table_row("Pressure drop", "kPa", "kPa", "20", "30")), std::string::npos);
        EXPECT_NE(all.find("Note : \\tab Check fouling"), std::string::npos);
    }
}

}  // namespace
}  // namespace hxq::output
