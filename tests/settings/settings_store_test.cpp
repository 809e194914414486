// The settings store: what a load reads from the initialisation file and the registry
// store, what a save writes, and the options object around them.
#include "settings/cls_option.h"
#include "settings/settings_fixture.h"
#include "settings/settings_store.h"

#include "platform/profile.h"
#include "platform/registry.h"

#include <gtest/gtest.h>

using namespace hxq::settings;
using hxq::platform::ProfileFile;
using hxq::test::read_file;
using hxq::test::write_file;

namespace {

class SettingsStore : public hxq::test::SettingsTest {
protected:
    // A user who changed everything the options dialog offers.
    static UserSettingsType changed(UserSettingsType u) {
        u.EditorPath = "/usr/bin/editor";
        u.UseStock = false;
        u.language = {"Danish", 2000};
        u.UseBackgroundPic = false;
        u.UseSmallIcons = true;
        u.BackGroundColor = 255;
        u.UseQDF = false;
        u.QDFPath = "/q.qdf";
        u.StartUpCalcType = 2;
        u.StartUpCalcMethod = 1;
        u.TempLang = "French";
        u.TempDotSPC = "s";
        u.TempDotCON = "c";
        u.TempDotVAP = "v";
        u.OptimizeParallel = false;
        u.NoParallelUnits = 2;
        u.NoUnitsSerie = 3;
        u.EvapFixedOutTemp = true;
        u.UseOldFluids = false;
        u.UseDisclaimer = true;
        u.UnitsSystem = 1;
        u.header = {"Qarn Ltd", "Street 1", "", "City", "  Country"};
        u.NrResults = 4;
        u.ResultBox = {{true, 20}, {false, 0}, {true, 5}};
        u.SelectedTableItems = {35, 16, 2};
        u.TableBox.assign(3, Tabletype{});
        u.TableTitle = true;
        u.PrintOutType = 1;
        u.ShowInfo = true;
        return u;
    }
};

std::string ids(const OutputUnitsType& units) { return OutputUnitsText(units); }

}  // namespace

TEST_F(SettingsStore, WithoutAnyFileEverySettingHasItsDefault) {
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

TEST_F(SettingsStore, DatabasePathsComeFromTheRegistryAndTheFile) {
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

TEST_F(SettingsStore, EveryKeyIsReadFromItsSection) {
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

TEST_F(SettingsStore, TheUnitSystemChoosesTheOutputUnits) {
    write_file(ini(), "[Action]\r\nUnitSystem=1\r\nOutputUnits=48;48;48\r\n");
    {
        clsOption option;
        EXPECT_EQ(ids(option.OutputUnits()), kUSOutputUnits) << "US units whatever OutputUnits holds";
        EXPECT_EQ(option.OutputUnitSystem(), 1);
    }
    start(ini());
    write_file(ini(), "[Action]\r\nUnitSystem=2\r\nOutputUnits=49;40\r\n");
    {
        clsOption option;
        // The listed fields; the others keep what they held.
        EXPECT_EQ(ids(option.OutputUnits()), "49;40;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0");
    }
    start(ini());
    write_file(ini(), "[Action]\r\nUnitSystem=2\r\n");
    // Labels come from the unit table where it has the unit.
    UnitTable.Redim(0, 60);
    UnitTable(48) = {"W/m²,K", 48, 9};
    clsOption option;
    EXPECT_EQ(ids(option.OutputUnits()), kSIOutputUnits);
    EXPECT_EQ(option.OutputUnits().OHTC, (UnitType{"W/m²,K", 48, 9}));
    EXPECT_EQ(option.OutputUnits().FilmCoeff.sUnit, "W/m²,K");
}

TEST_F(SettingsStore, UnreadableValuesTakeTheirDefaults) {
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

TEST_F(SettingsStore, TextsAreCutToTheReadBuffer) {
    write_file(ini(), "[Action]\r\nAddress1=" + std::string(150, 'x') + "\r\n");
    clsOption option;
    EXPECT_EQ(option.UsrSettings().header[0], std::string(127, 'x'));
}

TEST_F(SettingsStore, DerivedValuesStayAsLoadedAndLoadRunsOnce) {
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

TEST_F(SettingsStore, StartUpDetectionSuppliesEditorAndWordProcessor) {
    library_state().startup.editor_path = [] { return std::string("/usr/bin/ed"); };
    library_state().startup.word_processor = [] { return true; };
    write_file(ini(), "[Action]\r\nUseMSWord=-1\r\n");
    clsOption option;
    EXPECT_EQ(option.UsrSettings().EditorPath, "/usr/bin/ed");
    EXPECT_TRUE(option.UsrSettings().UseWord);
    EXPECT_TRUE(library_state().word_processor_found);
}

TEST_F(SettingsStore, AnUnknownUnitSystemKeepsTheUnitsOfThePreviousLoad) {
    write_file(ini(), "[Action]\r\nUnitSystem=2\r\nOutputUnits=49;40;71\r\n");
    load_settings(library_state());
    write_file(ini(), "[Action]\r\nUnitSystem=3\r\nOutputUnits=1;1;1\r\n");
    load_settings(library_state());
    EXPECT_EQ(library_state().derived.OutputUnitSystem, 3);
    EXPECT_EQ(ids(library_state().derived.OutputUnits), "49;40;71;0;0;0;0;0;0;0;0;0;0;0;0;0;0");
}

TEST_F(SettingsStore, ReadsFromIniFilePathAndWritesToTheWorkingFolder) {
    write_file(ini(), "[Action]\r\nNrOfResult=3\r\n");
    clsOption option;
    EXPECT_EQ(option.NoOfAlternatives(), 3);
    ASSERT_TRUE(option.OptionsDialogClosed(true, false));
    EXPECT_EQ(read_file(ini()), "[Action]\r\nNrOfResult=3\r\n") << "the read file is left alone";
    EXPECT_EQ(ProfileFile::load(written()).value("Action", "NrOfResult"), "3");
}

TEST_F(SettingsStore, KeysAreSpelledAndWrittenInTheirForms) {
    clsOption option;
    UserSettingsType u = changed(option.UsrSettings());
    option.UsrSettings(u);
    ASSERT_TRUE(save_settings(library_state()));
    auto f = ProfileFile::load(written());
    auto action = [&](const char* key) { return f.raw_value("Action", key).value_or("<missing>"); };
    EXPECT_EQ(f.raw_value("TQS INI", "CalcType"), "2");
    EXPECT_EQ(f.raw_value("TQS INI", "CalcMethod"), "1");
    EXPECT_EQ(action("StockSPC"), "False");
    EXPECT_EQ(action("TableTitle"), "True");
    EXPECT_EQ(action("Optimize"), "0");
    EXPECT_EQ(action("Fixed"), "-1");
    EXPECT_EQ(action("SmallIcon"), "-1");
    EXPECT_EQ(action("UseQDFF"), "0");
    EXPECT_EQ(action("Offset"), "2000");
    EXPECT_EQ(action("ResultBox"), "-1*20,0*0,-1*5");
    EXPECT_EQ(action("TableResult"), "35,16,2");
    EXPECT_EQ(action("OutputUnits"), kSIOutputUnits) << "the units in force, not those of the new system";
    EXPECT_EQ(action("Address2"), "Street 1");
    EXPECT_EQ(action("Address5"), "\"  Country\"");
    // Exactly these keys, in this order, and nothing that is read-only.
    EXPECT_EQ(f.keys("Action"),
              (std::vector<std::string>{"EditorPath", "Language", "Offset", "NrOfResult", "Serie", "Parallell",
                                        "Optimize", "StockSPC", "Fixed", "UnitSystem", "OutputUnits", "ResultBox",
                                        "TableResult", "OldFluids", "BackGround", "BGColor", "SmallIcon",
                                        "TempLang", "TempDotSPC", "TempDotCON", "TempDotVAP", "TableTitle",
                                        "PrintOutType", "ShowInfo", "Address1", "Address2", "Address3",
                                        "Address4", "Address5", "UseMSWord", "UseDisclaimer", "UseQDFF",
                                        "QDFFile", "CalcType", "CalcMethod"}));
    EXPECT_EQ(read_file(written()).find("\n\n"), std::string::npos) << "CR LF line ends";
}

TEST_F(SettingsStore, ASaveFollowedByALoadGivesTheSameRecords) {
    write_file(ini(), "[HXQ]\r\nToolbar=0\r\n[Action]\r\nDBSave=/s.db\r\nDBStock=/st.db\r\n");
    std::filesystem::copy_file(ini(), written());
    start(written());  // the host passes the same file for both
    UserSettingsType saved;
    SettingsType global;
    {
        clsOption option;
        option.UsrSettings(changed(option.UsrSettings()));
        saved = option.UsrSettings();
        global = option.Glob_Settings();
        ASSERT_TRUE(option.OptionsDialogClosed(true, false));
    }
    start(written());
    clsOption reloaded;
    EXPECT_EQ(reloaded.UsrSettings(), saved);
    EXPECT_EQ(reloaded.Glob_Settings(), global);
    EXPECT_EQ(reloaded.StartCalcType(), 2);
    EXPECT_EQ(reloaded.SerieUnits(), 3);
    EXPECT_EQ(reloaded.OutputUnitSystem(), 1);
    EXPECT_EQ(OutputUnitsText(reloaded.OutputUnits()), kUSOutputUnits);
}

TEST_F(SettingsStore, SavingKeepsWhatElseTheFileHolds) {
    write_file(written(), "; hand-written\r\n[HXQ]\r\nToolbar=0\r\n\r\n[Action]\r\nUnits=1;2\r\nSerie=5\r\n");
    clsOption option;
    ASSERT_TRUE(save_settings(library_state()));
    auto text = read_file(written());
    EXPECT_EQ(text.rfind("; hand-written\r\n[HXQ]\r\nToolbar=0\r\n\r\n[Action]\r\nUnits=1;2\r\nSerie=1\r\n", 0), 0u)
        << text;
}

TEST_F(SettingsStore, NoTableItemsAreWrittenAsTheDefaultList) {
    EXPECT_EQ(table_items_text({}), "16,35");
    EXPECT_EQ(table_items_text({7}), "7");
    EXPECT_EQ(parse_table_items("16,35"), (std::vector<std::int16_t>{16, 35}));
    EXPECT_EQ(parse_result_box(result_box_text({{true, 1}, {false, 2}})),
              (std::vector<ResultBoxType>{{true, 1}, {false, 2}}));
    EXPECT_EQ(parse_result_box("True*3,1*4"), (std::vector<ResultBoxType>{{true, 3}, {true, 4}}));
}

TEST_F(SettingsStore, ClosingTheDialogSavesThenRaisesOptionsDone) {
    clsOption option;
    bool saved_before_event = false;
    int raised = 0;
    option.OptionsDone.subscribe([&] {
        ++raised;
        saved_before_event = std::filesystem::exists(written());
    });
    EXPECT_TRUE(option.OptionsDialogClosed(false, true));
    EXPECT_EQ(raised, 1);
    EXPECT_TRUE(saved_before_event);
    EXPECT_FALSE(option.SettingsChanged()) << "closed with Cancel";
    EXPECT_TRUE(option.ChangedUnitSystem());
    option.ChangedUnitSystem(false);
    EXPECT_TRUE(option.OptionsDialogClosed(true, false));
    EXPECT_TRUE(option.SettingsChanged());
    EXPECT_FALSE(option.ChangedUnitSystem());
}

TEST_F(SettingsStore, EndingTheSettingsObjectWritesThePrintOutType) {
    {
        clsOption option;
        UserSettingsType u = option.UsrSettings();
        u.PrintOutType = 2;
        option.UsrSettings(u);
        EXPECT_FALSE(std::filesystem::exists(written()));
    }
    EXPECT_EQ(read_file(written()), "[Action]\r\nPrintOutType=2\r\n");
}

TEST_F(SettingsStore, AFolderThatCannotTakeTheFileIsReported) {
    write_file(dir_ / "plain", "x");
    library_state().host.WorkingPath = (dir_ / "plain").string();
    clsOption option;
    int raised = 0;
    option.OptionsDone.subscribe([&] { ++raised; });
    EXPECT_FALSE(option.OptionsDialogClosed(true, false));
    EXPECT_EQ(raised, 1) << "the host still learns that the dialog closed";
}

TEST_F(SettingsStore, WithoutAWorkingFolderTheCurrentFolderTakesTheFile) {
    library_state().host.WorkingPath.clear();
    EXPECT_EQ(settings_write_file(), std::filesystem::current_path() / "hxq.ini");
    library_state().host.WorkingPath = "C:\\work\\";
    EXPECT_EQ(settings_write_file(), "C:/work/hxq.ini");
}
