// Every sheet of this group written as the rich-text file a user opens, in English and
// in German, read back through LibreOffice in one start: the designation, the localised
// labels and the formatted values are what the reader sees.
#include "sheet_fixture.h"

#include "output/air_dryer_preview.h"
#include "output/extra_sheet.h"
#include "output/fluid_batch_sheet.h"
#include "output/host_preview.h"
#include "output/rtf_document.h"
#include "output/sheet_values.h"
#include "settings/format.h"

#include "../support/libreoffice.h"

namespace hxq::output {
namespace {

using test::sample_runs;

class SheetReadBack : public test::SheetTest {};

TEST_F(SheetReadBack, EverySheetReadsInEnglishAndGerman) {
    const auto& runs = sample_runs();
    ASSERT_TRUE(runs.water.outdata[1].OutputData.Valid);
    ASSERT_EQ(runs.condenser.outdata[1].OutputData.Status, -1);
    ASSERT_EQ(runs.evaporator.outdata[1].OutputData.Status, -1);
    ASSERT_TRUE(runs.air_dryer.ADOutData[1].Exist);
    const std::string reynolds = settings::fixed_text(runs.water.outdata[1].OutputData.ReynoldsNumber[1], 0);
    FluidBatchData batch;
    batch.Concentration2 = 30;
    batch.Pressure1 = 250000;
    batch.BatchSize = 1500;
    batch.RequiredTime = 3600;
    struct Sheet {
        std::string name;
        std::function<PreviewArray(std::int16_t offset)> build;
        std::vector<std::string> english, german;  // besides what both must show
        std::vector<std::string> both;
    };
    const std::vector<Sheet> sheets = {
        {"extra_single",
         [&](std::int16_t o) { return extra_sheet(&runs.water, {}, 1, 0, "", 0, o); },
         {"Reynolds number", "Film coefficient", "Single Phase"},
         {"Reynolds-Zahl", "Wärmeübergangskoeffizient", "Einphasig"},
         {alternative_designation(runs.water.outdata[1], false), reynolds, "W/m²,°C"}},
        {"extra_condenser",
         [&](std::int16_t o) { return extra_sheet(&runs.condenser, {}, 1, 1, "", 0, o); },
         {"Recommended inlet connection diameter", "Condenser", "Refrigerant\tBrine"},
         {"Empfohlener Anschlussdurchmesser Eintritt", "Verflüssiger", "Kältemittel\tSole"},
         {alternative_designation(runs.condenser.outdata[1], false), "R134a", "mm"}},
        {"extra_evaporator",
         [&](std::int16_t o) { return extra_sheet(&runs.evaporator, {}, 1, 2, "", 0, o); },
         {"Recommended outlet connection diameter", "Evaporator"},
         {"Empfohlener Anschlussdurchmesser Austritt", "Verdampfer"},
         {"R410A"}},
        {"extra_cascade",
         [&](std::int16_t o) { return extra_cascade_sheet(runs.cascade, {}, 1, o); },
         {"Recommended inlet connection diameter evap.", "Cascade"},
         {"Empfohlener Anschlussdurchmesser Eintritt Verdampfer", "Kaskade"},
         {"R744", "R134a"}},
        {"fluid_batch",
         [&](std::int16_t o) {
             language(o);
             return fluid_batch_sheet(batch, batch, nullptr, nullptr, {}, {"32", "0", "9", "87"}, "Water", "MEG");
         },
         {"Fluid batch", "Batch size", "Required time"},
         {"Mediensatz", "Losgröße", "Benötigte Zeit"},
         {"30.0", "2.5", "1500", "60.0", "min"}},
        {"air_dryer",
         [&](std::int16_t o) { return air_dryer_preview_sheet(runs.air_dryer, 1, 0, o, std::nullopt); },
         {"Air Dryer: AD 200, Design", "Air Indata", "Result"},
         {"Lufttrockner: AD 200, Auslegung", "Eingabedaten Luft", "Ergebnis"},
         {"R134a", "Humid air", std::to_string(runs.air_dryer.ADOutData[1].TotalNumberOfPlates)}},
        {"older_form",
         [&](std::int16_t o) {
             language(o);
             return host_preview_sheet({"", "1.2;3.4"}, {"", "kg/s"}, {platform::Variant("Water")}, "Single Phase",
                                       {"Duty", "Flow rate"}, 0, "Job 12", nullptr, nullptr, std::nullopt, false);
         },
         {"Date"},
         {"Datum"},
         {"Single Phase: Job 12", "Flow rate\tkg/s\t:\t1.2\t3.4"}},
    };
    test::ScratchFolder scratch(HXQ_TEST_TMP, "sheet-readback");
    std::vector<std::filesystem::path> files;
    for (const Sheet& s : sheets)
        for (const auto& [language_name, offset] : {std::pair{"English", 0}, std::pair{"German", 3000}}) {
            files.push_back(scratch.path() / (s.name + "_" + language_name + ".rtf"));
            write_rtf_document(files.back(), language_name, s.build(static_cast<std::int16_t>(offset)));
        }
    std::string why;
    const auto texts = test::libreoffice_texts(files, scratch.path(), &why);
    ASSERT_TRUE(texts) << why;
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const Sheet& s = sheets[i];
        for (std::size_t l = 0; l < 2; ++l) {
            const std::string& text = (*texts)[2 * i + l];
            SCOPED_TRACE(files[2 * i + l].filename().string());
            for (const std::string& want : s.both) EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
            for (const std::string& want : l == 0 ? s.english : s.german)
                EXPECT_NE(text.find(want), std::string::npos) << want << "\n" << text;
            EXPECT_EQ(text.find("\\tab"), std::string::npos) << "a control word printed as text";
        }
    }
}

}  // namespace
}  // namespace hxq::output
