// The result previews of real sample calculations, read back through LibreOffice: every
// kind in English and German shows the alternative's designation, the localised labels
// and the record's values in their rows; the unit column, the disclaimer, the warnings
// and the alternative's index.
#include "output/cascade_preview.h"
#include "output/host_preview.h"
#include "output/fluid_batch_sheet.h"
#include "output/extra_sheet.h"
#include "output/air_dryer_preview.h"
#include "output/record_preview.h"
#include "output/rtf_document.h"
#include "output/sheet_layout.h"
#include "output/sheet_values.h"
#include "output/two_stage_preview.h"
#include "output_fixture.h"

#include "platform/scratch.h"
#include "settings/convert.h"
#include "settings/format.h"
#include "settings/library_state.h"
#include "settings/texts.h"
#include "support/libreoffice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace hxq::output {
namespace {

using test::sample_records;

constexpr std::int16_t kGerman = 3000;

// The folder the documents are written to; kept after the run to look at.
std::filesystem::path document_folder() {
    const auto folder = std::filesystem::path(HXQ_TEST_TMP) / "record-previews";
    std::filesystem::create_directories(folder);
    return folder;
}

// The cells of each line of a document read back as text, blanks around each trimmed.
using Row = std::vector<std::string>;
std::vector<Row> rows_of(const std::string& text) {
    std::vector<Row> rows;
    std::stringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        Row row;
        std::stringstream cells(line);
        std::string cell;
        while (std::getline(cells, cell, '\t')) {
            const auto first = cell.find_first_not_of(" \r\xEF\xBB\xBF");
            const auto last = cell.find_last_not_of(" \r");
            row.push_back(first == std::string::npos ? "" : cell.substr(first, last - first + 1));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

// The rows whose label (a group's name and "- " left aside) is `label`.
std::vector<Row> rows_labelled(const std::vector<Row>& rows, const std::string& label) {
    std::vector<Row> out;
    for (const Row& row : rows) {
        for (std::size_t i = 0; i < row.size() && i < 2; ++i) {
            std::string cell = row[i];
            if (cell.rfind("- ", 0) == 0) cell.erase(0, 2);
            if (cell == label) {
                out.emplace_back(row.begin() + static_cast<std::ptrdiff_t>(i), row.end());
                break;
            }
        }
    }
    return out;
}

class RecordPreviews : public test::OutputTest {
protected:
    void SetUp() override {
        OutputTest::SetUp();
        settings::library_state().UserSettings.header = {"Nordic Heat AB", "Industrivägen 12", "SE-123 45 Smalltown",
                                                         "Tel. +46 31 555 01 00", ""};
    }
};

// A value of the record as the sheet must show it: converted into the unit the sheet's
// column names.
std::string shown(double si, std::int16_t unit) {
    return settings::FormatInUnit(false, unit, platform::Variant(si), platform::Variant()).GVal;
}

std::string localised(std::int16_t id, std::int16_t offset) { return std::string(settings::localised_text(id, offset)); }

// One expected row: the label's text id (with the n-th row of that label), unit column
// and both values.
struct Expect {
    std::int16_t id;
    std::string unit, side1, side2;
    std::size_t nth = 0;
};

// One preview of a sample: how to build its alternative `index` in a language, what its
// heading names and which rows it must hold.
struct Kind {
    std::string name;
    std::function<PreviewArray(std::int16_t index, std::int16_t offset, const PreviewWarnings& warnings)> build;
    std::vector<std::string> heading;  // besides "Heat exchanger: "
    std::vector<Expect> rows;
    std::vector<std::int16_t> heading_ids = {};              // localised parts of the heading
    std::pair<std::int16_t, std::int16_t> columns = {0, 0};  // text ids of the duty columns (0: "Side")
    // Lines of the text in the language of an offset.
    std::function<std::vector<std::string>(std::int16_t offset)> lines = [](std::int16_t) {
        return std::vector<std::string>{};
    };
};

std::vector<Kind> kinds() {
    const auto& d = sample_records();
    const settings::OutputUnitsType si = test::output_units();
    const std::int16_t t = si.MaxWorkTemp.UnitID, dt = si.MTD.UnitID, dp = si.PdropPorts.UnitID;
    const std::int16_t flow = group_unit(kFlowGroup, si), load = group_unit(kHeatLoadGroup, si);
    const std::int16_t visc = si.Viscosity.UnitID, ohtc = si.OHTC.UnitID, area = si.Area.UnitID;
    const std::int16_t bar = si.Op_Max_Pressure.UnitID;
    std::vector<Kind> out;

    const core::SinglePhaseResult& w = d.water.outdata[1].OutputData;
    out.push_back({"single-phase",
                   [&d, si](std::int16_t i, std::int16_t o, const PreviewWarnings& w) {
                       return single_phase_preview_sheet(&d.water, i, si, "", 0, w, false, "Design", o);
                   },
                   {alternative_designation(d.water.outdata[1], false), "Design"},
                   {{322, "°C", "90.0", "10.0"},  // as the duty file gives them
                    {400, "°C", "60.0", "55.0"},
                    {348, "kg/s", shown(w.MassFlow[1], flow), "0.800"},
                    {382, "", settings::show_value(w.NTU[1], 3), settings::show_value(w.NTU[2], 3)},
                    {351, "kPa", "50.0", "50.0"},
                    {276, "", "Water", "Water"},
                    {454, "°C", shown(w.RefTemp[1], t), shown(w.RefTemp[2], t)},
                    {557, "cP", shown(w.Viscosity[1], visc), shown(w.Viscosity[2], visc)},
                    {538, "cP", shown(w.WallViscosity[1], visc), shown(w.WallViscosity[2], visc)},
                    {305, "kW", shown(w.HeatLoad, load), ""},
                    {505, "m²", shown(w.HeatTransferArea, area), ""},
                    {365, "ΔK", shown(w.DeltaTempEffective, dt), ""},
                    {385, "W/m²,°C", shown(w.Kpredicted, ohtc), shown(w.Krequired, ohtc)},
                    {429, "kPa", shown(w.PressureDrop[1], dp), shown(w.PressureDrop[2], dp)},
                    {319, "kPa", shown(w.PortPressureDrop[1], dp), shown(w.PortPressureDrop[2], dp)},
                    {152, "", std::to_string(w.NoOfChannels[1]), std::to_string(w.NoOfChannels[2])},
                    {397, "%", settings::fixed_text(w.OverSurface, 1), ""}}});
    // The engine's remarks on each side, after the note label.
    out.back().lines = [&w = d.water.outdata[1].OutputData](std::int16_t o) {
        std::vector<std::string> notes;
        for (int s = 1; s <= 2; ++s)
            if (!w.NotePressureText[s].empty())
                notes.push_back(localised(377, o) + " " + std::to_string(s) + "\t" + w.NotePressureText[s] +
                                pressure_remark(w.NotePressure[s]));
        return notes;
    };

    const core::CondenserResult& c = d.condenser.outdata[1].OutputData;
    out.push_back({"condenser",
                   [&d, si](std::int16_t i, std::int16_t o, const PreviewWarnings& w) {
                       return single_phase_preview_sheet(&d.condenser, i, si, "", 1, w, false, "Design", o);
                   },
                   {alternative_designation(d.condenser.outdata[1], false)},
                   {{322, "°C", "75.0", "30.0"},
                    {495, "°C", "45.0", ""},
                    {492, "ΔK", "2.00", ""},
                    {400, "°C", shown(c.OutletTemp[1], t), "35.0"},
                    {348, "kg/s", shown(c.MassFlow[1], flow), shown(c.MassFlow[2], flow)},
                    {279, "kg/s", shown(c.FluidCondensed, flow), ""},
                    {391, "bar", shown(c.OperatingPressOut, bar), ""},
                    {351, "kPa", "-", "50.0"},
                    {276, "", "R134a", "Water"},
                    {557, "cP", shown(c.RefLiquid.Viscosity, visc), shown(c.Side2.Viscosity, visc), 0},
                    {557, "cP", shown(c.RefVapor.Viscosity, visc), "", 1},
                    {200, "kg/m³", shown(c.RefVapor.Density, si.Density.UnitID), "", 1},
                    {328, "kJ/kg", shown(c.LatentHeat, si.LatentHeat.UnitID), ""},
                    {177, "°C", shown(c.CondensingTemp, t), ""},
                    {305, "kW", "50.0", ""},
                    {365, "ΔK", shown(c.LMTD, dt), ""}}});

    const core::EvaporatorResult& e = d.evaporator.outdata[1].OutputData;
    out.push_back({"evaporator",
                   [&d, si](std::int16_t i, std::int16_t o, const PreviewWarnings& w) {
                       return single_phase_preview_sheet(&d.evaporator, i, si, "", 2, w, false, "", o);
                   },
                   {alternative_designation(d.evaporator.outdata[1], false)},
                   {{517, "°C", "2.0", ""},
                    {400, "°C", shown(e.OutletTempGas, t), "7.0"},
                    {323, "kg/s", shown(e.InletVaporFlow, flow), ""},
                    {290, "kg/s", shown(e.FluidVaporized, flow), ""},
                    {391, "bar", shown(e.OperatingPressOut, bar), ""},
                    {429, "kPa", shown(e.PressureDrop[1], dp), shown(e.PressureDrop[2], dp)},
                    {305, "kW", "40.0", ""}}});
    // The glycol's name does not fit the side-2 column: each fluid on a row of its own.
    out.back().lines = [](std::int16_t o) {
        const std::string side = localised(483, o);
        return std::vector<std::string>{localised(276, o) + "\t" + side + " 1\t\t:\tR410A\t\n",
                                        "\n\t" + side + " 2\t\t:\tEthylene glycol 30.0 %\t\n"};
    };

    const core::EvaporatorResult& u = d.dual.outdata[1].OutputData;
    out.push_back({"dual",
                   [&d, si](std::int16_t i, std::int16_t o, const PreviewWarnings& w) {
                       return dual_preview_sheet(&d.dual, i, si, "", 2, w, false, "Design", o);
                   },
                   {alternative_designation(d.dual.outdata[1], true), "Design"},
                   {{517, "°C", "3.0", ""},
                    {305, "kW", "15.0", ""},  // one circuit, as given
                    {512, "kW", shown(u.HeatLoad, load), ""},
                    {348, "kg/s", shown(u.MassFlow[1], flow), shown(u.MassFlow[2], flow)},
                    {505, "m²", shown(u.HeatTransferArea, area), ""}},
                   {598},
                   {599, 600}});

    const core::SinglePhaseResult& s1 = d.two_stage.outdata[1].Stage1.OutputData;
    const core::SinglePhaseResult& s2 = d.two_stage.outdata[1].Stage2.OutputData;
    out.push_back({"two-stage",
                   [&d, si](std::int16_t i, std::int16_t o, const PreviewWarnings& w) {
                       return two_stage_preview_sheet(d.two_stage, i, si, "", 0, w, false, "Design", o);
                   },
                   {two_stage_designation(d.two_stage.outdata[1])},
                   {{589, "°C", "70.0", "10.0"},
                    {590, "°C", "25.0", "55.0"},
                    {588, "kg/s", "0.150", ""},
                    {594, "kg/s", shown(s1.MassFlow[1], flow), shown(s1.MassFlow[2], flow)},
                    {454, "°C", shown(s1.RefTemp[1], t), shown(s1.RefTemp[2], t), 0},
                    {454, "°C", shown(s2.RefTemp[1], t), shown(s2.RefTemp[2], t), 1},
                    {591, "kW", "50.0", ""},
                    {505, "m²", shown(s1.HeatTransferArea + s2.HeatTransferArea, area), ""},
                    {592, "kPa", shown(s1.PressureDrop[1] + s2.PressureDrop[1], dp),
                     shown(s1.PressureDrop[2] + s2.PressureDrop[2], dp)},
                    {375, "", std::to_string(s1.NoOfPlates + s2.NoOfPlates + 1), ""}}});

    const core::EvaporatorResult& ce = d.cascade.outdataVap[1].OutputData;
    const core::CondenserResult& cc = d.cascade.outdataCon[1].OutputData;
    out.push_back({"cascade",
                   [&d](std::int16_t i, std::int16_t o, const PreviewWarnings& w) {
                       return cascade_preview_sheet(d.cascade, i, w, false, "Design", o);
                   },
                   {alternative_designation(d.cascade.outdataVap[1], false), "Design"},
                   {{517, "°C", "-10.0", ""},
                    {495, "°C", "", "-5.0"},
                    {493, "ΔK", "4.00", ""},
                    {492, "ΔK", "", "2.00"},
                    {391, "bar", shown(ce.OperatingPressOut, bar), shown(cc.OperatingPressOut, bar)},
                    {601, "", "R134a", ""},
                    {602, "", "", "R744"},
                    {328, "kJ/kg", shown(ce.LatentHeat, si.LatentHeat.UnitID), shown(cc.LatentHeat, si.LatentHeat.UnitID)},
                    {305, "kW", "40.0", shown(cc.HeatLoad, load)},
                    {385, "W/m²,°C", shown(ce.Kpredicted, ohtc) + " / " + shown(ce.Krequired, ohtc),
                     shown(cc.Kpredicted, ohtc) + " / " + shown(cc.Krequired, ohtc)}},
                   {606},
                   {604, 605}});
    return out;
}

// The other sheets of the group, how to build each in a language and what the reader
// must see in English, in German and in both.
struct Sheet {
    std::string name;
    std::function<PreviewArray(std::int16_t offset)> build;
    std::vector<std::string> english, german;
    std::vector<std::string> both;
};

std::vector<Sheet> sheets() {
    const auto& d = sample_records();
    const std::string reynolds = settings::fixed_text(d.water.outdata[1].OutputData.ReynoldsNumber[1], 0);
    static FluidBatchData batch;
    batch.Concentration2 = 30;
    batch.Pressure1 = 250000;
    batch.BatchSize = 1500;
    batch.RequiredTime = 3600;
    return {
        {"extra_single",
         [&d](std::int16_t o) { return extra_sheet(&d.water, {}, 1, 0, "", 0, o); },
         {"Reynolds number", "Film coefficient", "Single Phase"},
         {"Reynolds-Zahl", "Wärmeübergangskoeffizient", "Einphasig"},
         {alternative_designation(d.water.outdata[1], false), reynolds, "W/m²,°C"}},
        {"extra_condenser",
         [&d](std::int16_t o) { return extra_sheet(&d.condenser, {}, 1, 1, "", 0, o); },
         {"Recommended inlet connection diameter", "Condenser", "Refrigerant\tBrine"},
         {"Empfohlener Anschlussdurchmesser Eintritt", "Verflüssiger", "Kältemittel\tSole"},
         {alternative_designation(d.condenser.outdata[1], false), "R134a", "mm"}},
        {"extra_evaporator",
         [&d](std::int16_t o) { return extra_sheet(&d.evaporator, {}, 1, 2, "", 0, o); },
         {"Recommended outlet connection diameter", "Evaporator"},
         {"Empfohlener Anschlussdurchmesser Austritt", "Verdampfer"},
         {"R410A"}},
        {"extra_cascade",
         [&d](std::int16_t o) { return extra_cascade_sheet(d.cascade, {}, 1, o); },
         {"Recommended inlet connection diameter evap.", "Cascade"},
         {"Empfohlener Anschlussdurchmesser Eintritt Verdampfer", "Kaskade"},
         {"R744", "R134a"}},
        {"fluid_batch",
         [&d](std::int16_t o) {
             settings::library_state().UserSettings.language.iOffset = o;
             return fluid_batch_sheet(batch, batch, nullptr, nullptr, {}, {"32", "0", "9", "87"}, "Water", "MEG");
         },
         {"Fluid batch", "Batch size", "Required time"},
         {"Mediensatz", "Losgröße", "Benötigte Zeit"},
         {"30.0", "2.5", "1500", "60.0", "min"}},
        {"air_dryer",
         [&d](std::int16_t o) { return air_dryer_preview_sheet(d.air_dryer, 1, 0, o, std::nullopt); },
         {"Air Dryer: AD 200, Design", "Air Indata", "Result"},
         {"Lufttrockner: AD 200, Auslegung", "Eingabedaten Luft", "Ergebnis"},
         {"R134a", "Humid air", std::to_string(d.air_dryer.ADOutData[1].TotalNumberOfPlates)}},
        {"older_form",
         [&d](std::int16_t o) {
             settings::library_state().UserSettings.language.iOffset = o;
             return host_preview_sheet({"", "1.2;3.4"}, {"", "kg/s"}, {platform::Variant("Water")}, "Single Phase",
                                       {"Duty", "Flow rate"}, 0, "Job 12", nullptr, nullptr, std::nullopt, false);
         },
         {"Date"},
         {"Datum"},
         {"Single Phase: Job 12", "Flow rate\tkg/s\t:\t1.2\t3.4"}},
    };
}

// Every kind of preview, the other sheets of the group, and texts in three code pages,
// written as the rich-text files a user opens and read back through LibreOffice in one
// start: what the reader sees is the designation, the localised labels and the values.
TEST_F(RecordPreviews, EveryPreviewAndSheetReadsBackInEnglishAndGerman) {
    const std::vector<Kind> all = kinds();
    const std::vector<Sheet> others = sheets();
    const std::int16_t languages[] = {0, kGerman};
    const std::string warning = "Check the connection sizes before ordering";
    struct Coded { const char* language; const char* text; };
    const Coded coded[] = {{"Russian", "Теплообменник ∆T"}, {"English", "Wärmeübertrager 5 °C"},
                           {"Polish", "Wymiennik ciepła"}};
    std::vector<std::filesystem::path> files;
    const auto write = [&](const std::string& name, const char* language, const PreviewArray& sheet) {
        files.push_back(document_folder() / (name + ".rtf"));
        write_rtf_document(files.back(), language, sheet);
    };
    const auto language = [](std::int16_t offset) { return offset == 0 ? "English" : "German"; };
    settings::library_state().UserSettings.UseDisclaimer = true;
    for (const Kind& kind : all)
        for (std::int16_t offset : languages)
            write(kind.name + (offset == 0 ? "-en" : "-de"), language(offset),
                  kind.build(1, offset, std::vector<std::string>{warning}));
    settings::library_state().UserSettings.UseDisclaimer = false;
    for (const Sheet& s : others)
        for (std::int16_t offset : languages)
            write(s.name + (offset == 0 ? "-en" : "-de"), language(offset), s.build(offset));
    for (const Coded& c : coded) {
        PreviewArray sheet(2);
        sheet[1] = "\\pard\\plain\\f0\\fs19 ";
        sheet[2] = std::string("\\par ") + c.text;
        write(std::string("code-page-") + c.language, c.language, sheet);
    }
    std::string why;
    const auto texts = test::libreoffice_texts(files, document_folder(), &why);
    ASSERT_TRUE(texts) << why;
    std::size_t document = 0;
    for (const Kind& kind : all)
        for (std::int16_t offset : languages) {
            SCOPED_TRACE(files[document].filename().string());
            const std::string& text = (*texts)[document++];
            const std::vector<Row> rows = rows_of(text);
            // The heading names the alternative and its calculation.
            std::string heading = localised(520, offset) + ": ";
            std::vector<std::string> parts = kind.heading;
            for (std::int16_t id : kind.heading_ids) parts.insert(parts.begin() + 1, localised(id, offset));
            for (std::size_t i = 0; i < parts.size(); ++i) heading += (i ? ", " : "") + parts[i];
            EXPECT_NE(text.find(heading), std::string::npos) << heading;
            EXPECT_NE(text.find("Industrivägen 12"), std::string::npos);
            EXPECT_NE(text.find(localised(377, offset) + " \t" + warning), std::string::npos);
            EXPECT_NE(text.find(localised(204, offset)), std::string::npos);
            // The duty section heads its value columns.
            const auto column = [&](std::int16_t id, const char* side) {
                return id == 0 ? localised(483, offset) + side : localised(id, offset);
            };
            const auto duty = rows_labelled(rows, localised(209, offset));
            ASSERT_EQ(duty.size(), 1u);
            EXPECT_EQ(duty[0], (Row{localised(209, offset), column(kind.columns.first, " 1"),
                                    column(kind.columns.second, " 2")}));
            for (const Expect& e : kind.rows) {
                const std::string name = localised(e.id, offset);
                const auto found = rows_labelled(rows, name);
                ASSERT_GT(found.size(), e.nth) << name;
                Row expected{name, e.unit, ":", e.side1, e.side2};
                Row actual = found[e.nth];
                if (actual.size() > expected.size()) actual.resize(expected.size());
                while (actual.size() < expected.size()) actual.push_back("");
                if (actual[0].rfind("- ", 0) == 0) actual[0].erase(0, 2);
                EXPECT_EQ(actual, expected) << name;
            }
            test::expect_contains(text, kind.lines(offset));
        }
    for (const Sheet& s : others)
        for (std::size_t l = 0; l < 2; ++l) {
            SCOPED_TRACE(files[document].filename().string());
            const std::string& text = (*texts)[document++];
            test::expect_contains(text, s.both);
            test::expect_contains(text, l == 0 ? s.english : s.german);
            EXPECT_EQ(text.find("\\tab"), std::string::npos) << "a control word printed as text";
        }
    for (const Coded& c : coded) {
        const std::string& text = (*texts)[document++];
        EXPECT_NE(text.find(c.text), std::string::npos) << c.language << ": " << text;
    }
}

std::size_t filled(const PreviewArray& sheet) {
    std::size_t n = 0;
    for (const auto& line : sheet.lines()) n += line.empty() ? 0 : 1;
    return n;
}

// The element holding the row of `label`; "" when there is none.
std::string row_element(const PreviewArray& sheet, const std::string& label) {
    for (const auto& line : sheet.lines())
        if (line.find(label + "\\tab ") != std::string::npos) return line;
    return "";
}

TEST_F(RecordPreviews, EveryKindRefusesAnIndexOutsideTheAlternativesAndKeepsItsWarningsAndDisclaimer) {
    for (const Kind& kind : kinds()) {
        SCOPED_TRACE(kind.name);
        const auto build = [&](std::int16_t index, const PreviewWarnings& w) { return kind.build(index, 0, w); };
        for (std::int16_t bad : {0, 8}) EXPECT_EQ(test::error_number([&] { build(bad, std::nullopt); }), 9) << bad;
        settings::library_state().UserSettings.UseDisclaimer = false;
        const PreviewArray plain = build(1, std::nullopt);
        EXPECT_EQ(plain.size(), kPreviewLines);
        // The spacer and the two warnings that are not empty.
        EXPECT_EQ(filled(build(1, std::vector<std::string>{"Check the fouling", "", "Low flow"})), filled(plain) + 3);
        settings::library_state().UserSettings.UseDisclaimer = true;
        const PreviewArray disclaimed = build(1, std::nullopt);
        ASSERT_EQ(disclaimed.size(), kPreviewLines + 5);
        for (std::size_t i = 1; i <= kPreviewLines; ++i) EXPECT_EQ(disclaimed[i], plain[i]) << i;
        EXPECT_EQ(disclaimed[kPreviewLines + 1], "\\par ");
        for (std::int16_t id = 204; id <= 207; ++id)
            EXPECT_EQ(disclaimed[kPreviewLines + 2 + static_cast<std::size_t>(id - 204)],
                      std::string(kDisclaimerLine) + localised(id, 0));
    }
}

TEST_F(RecordPreviews, TheRecordKindMustBeTheOneCalcTNames) {
    const auto& d = sample_records();
    const PreviewRecord records[] = {&d.water, &d.condenser, &d.evaporator};
    for (std::int16_t kind = 0; kind < 3; ++kind)
        for (std::int16_t calc_t = 0; calc_t < 3; ++calc_t) {
            const auto build = [&] {
                single_phase_preview_sheet(records[kind], 1, si(), "", calc_t, std::nullopt, false, "", 0);
            };
            EXPECT_EQ(test::error_number(build), kind == calc_t ? 0 : 13) << kind << " as " << calc_t;
        }
}

TEST_F(RecordPreviews, UnitColumnsNameTheRecordsUnitsOrTheSheetsAndGivenValuesKeepTheTypedOne) {
    const core::GivenOutputUnitsType kpa{settings::UnitTable(si().PdropPorts.UnitID).sUnit, si().PdropPorts.UnitID};
    const core::GivenOutputUnitsType bar{settings::UnitTable(si().Op_Max_Pressure.UnitID).sUnit,
                                         si().Op_Max_Pressure.UnitID};
    ASSERT_EQ(kpa.sUnit, "kPa");
    ASSERT_EQ(bar.sUnit, "bar");
    // One unit once, two units side one first.
    struct Case { core::GivenOutputUnitsType side1, side2; const char* unit; };
    const Case cases[] = {
        {{}, {}, "kPa"},  // the sheet's unit
        {kpa, kpa, "kPa"},
        {kpa, bar, "kPa / bar"},
        {bar, kpa, "bar / kPa"},
        {bar, bar, "bar"},
    };
    for (const Case& c : cases) {
        core::SPCDataType data = sample_records().water;
        data.GivenOutputUnits.CalculatedPressureDrop[1] = c.side1;
        data.GivenOutputUnits.CalculatedPressureDrop[2] = c.side2;
        const PreviewArray sheet = single_phase_preview_sheet(&data, 1, si(), "", 0, std::nullopt, false, "", 0);
        const std::string column = std::string("\\tab ") + c.unit + "\\tab :";
        EXPECT_NE(row_element(sheet, localised(429, 0)).find(column), std::string::npos) << c.unit;
    }

    // On a sheet in US units the inlet temperatures typed in °C stay so; the reference
    // temperatures are results.
    const std::string fahrenheit = settings::UnitTable(us().MaxWorkTemp.UnitID).sUnit;
    ASSERT_NE(fahrenheit, "°C");
    const core::SPCDataType& data = sample_records().water;
    const PreviewArray sheet = single_phase_preview_sheet(&data, 1, us(), "", 0, std::nullopt, false, "", 0);
    EXPECT_NE(row_element(sheet, localised(322, 0)).find("\\tab °C\\tab :\\tab 90.0\\tab 10.0"), std::string::npos);
    const std::string ref = shown(data.outdata[1].OutputData.RefTemp[1], us().MaxWorkTemp.UnitID);
    EXPECT_NE(row_element(sheet, localised(454, 0)).find("\\tab " + fahrenheit + "\\tab :\\tab " + ref),
              std::string::npos);
}

TEST_F(RecordPreviews, UnitCountsAndTheEnginesNotesAppearWhereTheRecordHasThem) {
    core::CONDataType data = sample_records().condenser;
    core::CondenserResult& r = data.outdata[1].OutputData;
    r.ParallelUnits = 2;
    r.SerialUnits = 3;
    r.NotePercentText = {};
    r.NotePressureText = {};
    r.NotePercentText[2] = "Oversurface above the limit";
    r.NotePercent[2] = 55.55;
    r.NotePressureText[2] = "Pressure drop above the limit";
    r.NotePressure[2] = 61000;
    for (std::int16_t offset : {std::int16_t{0}, kGerman}) {
        const std::string all =
            text_of(single_phase_preview_sheet(&data, 1, si(), "", 1, std::nullopt, false, "", offset));
        EXPECT_NE(all.find(", " + unit_counts(2, 3, offset)), std::string::npos);
        const std::string note = std::string(kWarningRow) + localised(377, offset) + " 2\\tab ";
        EXPECT_NE(all.find(note + "Oversurface above the limit (55.6 %)\n" + std::string(kWarningRow) +
                           "\\tab Pressure drop above the limit (.6 bar)"),
                  std::string::npos);
        EXPECT_EQ(all.find(localised(377, offset) + " 1"), std::string::npos) << "side 1 has no remark";
    }
}

}  // namespace
}  // namespace hxq::output
