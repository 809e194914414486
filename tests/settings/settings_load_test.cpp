#include "settings/cls_option.h"
#include "settings/settings_fixture.h"
#include "settings/settings_store.h"

#include "platform/registry.h"

#include <gtest/gtest.h>

using namespace hxq::settings;
using hxq::test::write_file;

namespace {

class SettingsLoad : public hxq::test::SettingsTest {};

std::string ids(const OutputUnitsType& units) { return OutputUnitsText(units); }

}  // namespace

TEST_F(SettingsLoad, WithoutAnyFileEverySettingHasItsDefault) {
    clsOption option;
    const UserSettingsType u = option.UsrSettings();

    UserSettingsType expected;
    expected.ResultBox = *parse_result_box(kDefaultResultBox);
    expected.SelectedTableItems = {16, 35};
    expected.TableBox.resize(2);
    EXPECT_EQ(u, expected);
    EXPECT_EQ(option.Glob_Settings(), SettingsType{});

    // The defaults of the settings table, written out rather than taken from the record.
    EXPECT_EQ(u.EditorPath, "");
    EXPECT_TRUE(u.ToolbarVisible);
    EXPECT_FALSE(u.CompactMode);
    EXPECT_TRUE(u.UseStock);
    EXPECT_EQ(u.language.sName, "English");
    EXPECT_EQ(u.language.iOffset, 0);
    EXPECT_TRUE(u.UseBackgroundPic);
    EXPECT_FALSE(u.UseSmallIcons);
    EXPECT_EQ(u.BackGroundColor, 0);
    EXPECT_TRUE(u.UseQDF);
    EXPECT_EQ(u.StartUpCalcType, 0);
    EXPECT_EQ(u.StartUpCalcMethod, 0);
    EXPECT_EQ(u.TempLang, "English");
    EXPECT_EQ(u.TempDotSPC, "SPC_quote");
    EXPECT_EQ(u.TempDotCON, "CON_quote");
    EXPECT_EQ(u.TempDotVAP, "VAP_quote");
    EXPECT_TRUE(u.OptimizeParallel);
    EXPECT_EQ(u.NoParallelUnits, 1);
    EXPECT_EQ(u.NoUnitsSerie, 1);
    EXPECT_FALSE(u.EvapFixedOutTemp);
    EXPECT_TRUE(u.UseOldFluids);
    EXPECT_FALSE(u.UseDisclaimer);
    EXPECT_FALSE(u.UseWord);
    EXPECT_EQ(u.UnitsSystem, 0);
    EXPECT_EQ(u.NrResults, 7);
    EXPECT_FALSE(u.TableTitle);
    EXPECT_EQ(u.PrintOutType, 0);
    EXPECT_FALSE(u.ShowInfo);
    EXPECT_EQ(result_box_text(u.ResultBox),
              "-1*12,-1*13,-1*14,-1*15,-1*16,-1*19,0*0,0*1,0*2,0*3,0*4,0*5,0*6,0*7,0*8,0*9,0*10,0*11,0*17,0*18,0*20");
    ASSERT_EQ(u.ResultBox.size(), 21u);
    for (std::size_t i = 0; i < u.ResultBox.size(); ++i) EXPECT_EQ(u.ResultBox[i].ShowRes, i <= 5) << i;
    EXPECT_EQ(u.ResultBox[0].ResTextIndex, 12);
    EXPECT_EQ(u.ResultBox[20].ResTextIndex, 20);

    EXPECT_EQ(option.NoOfAlternatives(), 7);
    EXPECT_EQ(option.SerieUnits(), 1);
    EXPECT_EQ(option.ParallellUnits(), 1);
    EXPECT_EQ(option.OptimizeParallell(), 255);
    EXPECT_TRUE(option.VapFixOutTemp());
    EXPECT_TRUE(option.SPCStock());
    EXPECT_TRUE(option.UseQDFF());
    EXPECT_EQ(option.ResMoreDetail(), "16,35");
    EXPECT_EQ(option.OutputUnitSystem(), 0);
    EXPECT_EQ(ids(option.OutputUnits()), kSIOutputUnits);
    EXPECT_EQ(option.TableResults(), "");
    EXPECT_FALSE(option.SettingsChanged());
}

TEST_F(SettingsLoad, DatabasePathsComeFromTheRegistryAndTheFile) {
    using namespace hxq::platform;
    const std::string key = "SOFTWARE\\Qarn\\HXQ\\Settings";
    SetRegValue(kHKeyLocalMachine, key, "HXQnew", "/data/products.db");
    SetRegValue(kHKeyLocalMachine, key, "ConvertDB", "/data/units.db");
    SetRegValue(kHKeyLocalMachine, key, "DBFluid2000", "/data/fluids.db");
    write_file(ini(), "[Action]\r\nDBLang=/data/lang.db\r\nDBFluid=/data/old.db\r\n");
    clsOption option;
    EXPECT_EQ(option.Glob_Settings(),
              (SettingsType{"/data/fluids.db", "/data/units.db", "/data/products.db", "/data/lang.db", "/data/old.db"}));
}

TEST_F(SettingsLoad, EveryKeyIsReadFromItsSection) {
    write_file(ini(),
               "[HXQ]\r\nToolbar=0\r\nCompact=-1\r\n"
               "[TQS INI]\r\nCalcType=2\r\n"  // not where the settings read it
               "[action]\r\n"
               "EditorPath=/usr/bin/editor\r\nStockSPC=False\r\nDBSave=/s.db\r\nHXQSave=/h.db\r\n"
               "DBUserfluid2000=/u.db\r\nLanguage=Swedish\r\noffset=1000\r\nBackGround=0\r\nSmallIcon=-1\r\n"
               "BGColor=16777215\r\nUseQDFF=0\r\nQDFFile=/q/tqs.qdf\r\nCalcType=1\r\nCalcMethod=1\r\n"
               "DBStock=/st.db\r\nTempLang=German\r\nTempDotSPC=a\r\nTempDotCON=b\r\nTempDotVAP=c\r\n"
               "Optimize=0\r\nParallell=3\r\nSerie=2\r\nFixed=-1\r\nOldFluids=0\r\nUseDisclaimer=-1\r\n"
               "UseMSWord=-1\r\nNrOfResult=5\r\nAddress1=Qarn Ltd\r\nAddress5=Box 1\r\n"
               "ResultBox=-1*3,0*4\r\nTableResult=3,7,9\r\nTableTitle=True\r\nPrintOutType=2\r\nShowInfo=-1\r\n"
               "TableResults=X;Y\r\n");
    clsOption option;
    const UserSettingsType u = option.UsrSettings();
    EXPECT_FALSE(u.ToolbarVisible);
    EXPECT_TRUE(u.CompactMode);
    EXPECT_EQ(u.EditorPath, "/usr/bin/editor");
    EXPECT_FALSE(u.UseStock);
    EXPECT_EQ(u.SaveIndataDB, "/s.db");
    EXPECT_EQ(u.HXQSavesDB, "/h.db");
    EXPECT_EQ(u.UserFluidsDB, "/u.db");
    EXPECT_EQ(u.language, (LanuageType{"Swedish", 1000}));
    EXPECT_FALSE(u.UseBackgroundPic);
    EXPECT_TRUE(u.UseSmallIcons);
    EXPECT_EQ(u.BackGroundColor, 16777215);
    EXPECT_FALSE(u.UseQDF);
    EXPECT_EQ(u.QDFPath, "/q/tqs.qdf");
    EXPECT_EQ(u.StartUpCalcType, 1);
    EXPECT_EQ(u.StartUpCalcMethod, 1);
    EXPECT_EQ(u.StockDB, "/st.db");
    EXPECT_EQ(u.TempLang, "German");
    EXPECT_EQ(u.TempDotSPC + u.TempDotCON + u.TempDotVAP, "abc");
    EXPECT_FALSE(u.OptimizeParallel);
    EXPECT_EQ(u.NoParallelUnits, 3);
    EXPECT_EQ(u.NoUnitsSerie, 2);
    EXPECT_TRUE(u.EvapFixedOutTemp);
    EXPECT_FALSE(u.UseOldFluids);
    EXPECT_TRUE(u.UseDisclaimer);
    EXPECT_FALSE(u.UseWord) << "no word processor on this machine";
    EXPECT_EQ(u.NrResults, 5);
    EXPECT_EQ(u.header, (std::array<std::string, 5>{"Qarn Ltd", "", "", "", "Box 1"}));
    EXPECT_EQ(u.ResultBox, (std::vector<ResultBoxType>{{true, 3}, {false, 4}}));
    EXPECT_EQ(u.SelectedTableItems, (std::vector<std::int16_t>{3, 7, 9}));
    EXPECT_EQ(u.TableBox.size(), 3u);
    EXPECT_TRUE(u.TableTitle);
    EXPECT_EQ(u.PrintOutType, 2);
    EXPECT_TRUE(u.ShowInfo);

    EXPECT_EQ(option.StartCalcType(), 1);
    EXPECT_EQ(option.OptimizeParallell(), 0);
    EXPECT_FALSE(option.VapFixOutTemp());
    EXPECT_EQ(option.ResMoreDetail(), "3,7,9");
    EXPECT_EQ(option.TableResults(), "X;Y");
    std::vector<std::string> address(2);
    option.AddressHeader(address);
    EXPECT_EQ(address, (std::vector<std::string>{"Qarn Ltd", "", "", "", "Box 1"}));
}

TEST_F(SettingsLoad, TheUnitSystemChoosesTheOutputUnits) {
    // Labels come from the unit table where it has the unit.
    UnitTable.Redim(0, 60);
    UnitTable(48) = {"W/m²,K", 48, 9};
    write_file(ini(), "[Action]\r\nUnitSystem=1\r\nOutputUnits=48;48;48\r\n");
    {
        clsOption option;
        EXPECT_EQ(ids(option.OutputUnits()), kUSOutputUnits) << "US units whatever OutputUnits holds";
        EXPECT_EQ(option.OutputUnitSystem(), 1);
    }
    reset_library_state();
    library_state().host.IniFilePath = ini().string();
    library_state().host.WorkingPath = work().string();
    write_file(ini(), "[Action]\r\nUnitSystem=2\r\nOutputUnits=49;40\r\n");
    {
        clsOption option;
        // The listed fields; the others keep what they held.
        EXPECT_EQ(ids(option.OutputUnits()), "49;40;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0");
    }
    reset_library_state();
    library_state().host.IniFilePath = ini().string();
    library_state().host.WorkingPath = work().string();
    write_file(ini(), "[Action]\r\nUnitSystem=2\r\n");
    clsOption option;
    EXPECT_EQ(ids(option.OutputUnits()), kSIOutputUnits);
    EXPECT_EQ(option.OutputUnits().OHTC, (UnitType{"W/m²,K", 48, 9}));
    EXPECT_EQ(option.OutputUnits().FilmCoeff.sUnit, "W/m²,K");
}

TEST_F(SettingsLoad, UnreadableValuesTakeTheirDefaults) {
    write_file(ini(),
               "[Action]\r\nOptimize=yes\r\nNrOfResult=many\r\nSerie=99999\r\nResultBox=1*2,broken\r\n"
               "TableResult=16,x\r\nUnitSystem=-4\r\nUnits=1;99;x\r\n");
    clsOption option;
    const UserSettingsType u = option.UsrSettings();
    EXPECT_TRUE(u.OptimizeParallel);
    EXPECT_EQ(u.NrResults, 7);
    EXPECT_EQ(u.NoUnitsSerie, 1);
    EXPECT_EQ(u.ResultBox, *parse_result_box(kDefaultResultBox));
    EXPECT_EQ(u.SelectedTableItems, (std::vector<std::int16_t>{16, 35}));
    EXPECT_EQ(option.ResMoreDetail(), "16,35");
    EXPECT_EQ(option.OutputUnitSystem(), 0);
}

TEST_F(SettingsLoad, TextsAreCutToTheReadBuffer) {
    write_file(ini(), "[Action]\r\nAddress1=" + std::string(150, 'x') + "\r\n");
    clsOption option;
    EXPECT_EQ(option.UsrSettings().header[0], std::string(127, 'x'));
}

TEST_F(SettingsLoad, DerivedValuesStayAsLoadedAndLoadRunsOnce) {
    write_file(ini(), "[Action]\r\nSerie=2\r\nAddress1=A\r\n");
    clsOption first;
    UserSettingsType changed = first.UsrSettings();
    changed.NoUnitsSerie = 4;
    changed.header[0] = "B";
    changed.LessBox = {true, false, true};
    first.UsrSettings(changed);
    write_file(ini(), "[Action]\r\nSerie=3\r\n");

    clsOption second;  // no second load
    EXPECT_EQ(second.UsrSettings().NoUnitsSerie, 4);
    EXPECT_EQ(second.SerieUnits(), 2);
    std::vector<std::string> address(5);
    second.AddressHeader(address);
    EXPECT_EQ(address[0], "A");
    EXPECT_EQ(second.NrLessBoxResults(), 2);
    second.UseQDFF(false);
    EXPECT_FALSE(first.UseQDFF());
    EXPECT_TRUE(first.UsrSettings().UseQDF);
}

TEST_F(SettingsLoad, StartUpDetectionSuppliesEditorAndWordProcessor) {
    library_state().startup.editor_path = [] { return std::string("/usr/bin/ed"); };
    library_state().startup.word_processor = [] { return true; };
    write_file(ini(), "[Action]\r\nUseMSWord=-1\r\n");
    clsOption option;
    EXPECT_EQ(option.UsrSettings().EditorPath, "/usr/bin/ed");
    EXPECT_TRUE(option.UsrSettings().UseWord);
    EXPECT_TRUE(library_state().word_processor_found);
}

TEST_F(SettingsLoad, AnUnknownUnitSystemKeepsTheUnitsOfThePreviousLoad) {
    write_file(ini(), "[Action]\r\nUnitSystem=2\r\nOutputUnits=49;40;71\r\n");
    load_settings(library_state());
    write_file(ini(), "[Action]\r\nUnitSystem=3\r\nOutputUnits=1;1;1\r\n");
    load_settings(library_state());
    EXPECT_EQ(library_state().derived.OutputUnitSystem, 3);
    EXPECT_EQ(ids(library_state().derived.OutputUnits), "49;40;71;0;0;0;0;0;0;0;0;0;0;0;0;0;0");
}
