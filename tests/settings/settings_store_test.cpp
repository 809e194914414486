// The settings store: what a load reads from the initialisation file and the registry
// store, what a save writes, the options object around them, and the registry settings
// and engine texts that follow the settings.
#include "settings/cls_misc.h"
#include "settings/cls_option.h"
#include "settings/engine_error_text_setting.h"
#include "settings/settings_fixture.h"
#include "settings/settings_store.h"

#include "platform/error.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "records/engine_error_text.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace hxq::settings;
using hxq::platform::GetRegValue;
using hxq::platform::kHKeyLocalMachine;
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
        u.NoParallelUnits = 4;
        u.NoUnitsSerie = 3;
        u.EvapFixedOutTemp = true;
        u.UseOldFluids = false;
        u.UseDisclaimer = true;
        u.UnitsSystem = 1;
        u.header = {"Qarn Ltd", "Street 1", "", "City", "  Country"};
        u.NrResults = 5;
        u.ResultBox = {{true, 20}, {false, 0}, {true, 5}};
        u.SelectedTableItems = {35, 16, 2};
        u.TableBox.assign(3, Tabletype{});
        u.TableTitle = true;
        u.PrintOutType = 3;
        u.ShowInfo = true;
        return u;
    }
};

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
    EXPECT_EQ(std::tie(u.EditorPath, u.language.sName, u.TempLang, u.TempDotSPC, u.TempDotCON, u.TempDotVAP),
              std::make_tuple("", "English", "English", "SPC_quote", "CON_quote", "VAP_quote"));
    EXPECT_EQ(std::tie(u.ToolbarVisible, u.CompactMode, u.UseStock, u.UseBackgroundPic, u.UseSmallIcons, u.UseQDF,
                       u.OptimizeParallel, u.EvapFixedOutTemp, u.UseOldFluids, u.UseDisclaimer, u.UseWord,
                       u.TableTitle, u.ShowInfo),
              std::make_tuple(true, false, true, true, false, true, true, false, true, false, false, false, false));
    EXPECT_EQ(std::make_tuple(u.language.iOffset, u.BackGroundColor, u.StartUpCalcType, u.StartUpCalcMethod,
                              u.NoParallelUnits, u.NoUnitsSerie, int{u.UnitsSystem}, u.NrResults, u.PrintOutType),
              std::make_tuple(0, 0, 0, 0, 1, 1, 0, 7, 0));
    EXPECT_EQ(result_box_text(u.ResultBox),
              "-1*12,-1*13,-1*14,-1*15,-1*16,-1*19,0*0,0*1,0*2,0*3,0*4,0*5,0*6,0*7,0*8,0*9,0*10,0*11,0*17,0*18,0*20");
    EXPECT_EQ(option.OptimizeParallell(), 255);
    EXPECT_TRUE(option.VapFixOutTemp());
    EXPECT_EQ(OutputUnitsText(option.OutputUnits()), kSIOutputUnits);
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

// The keys a save does not write (SavedKeysReadBackIntoTheSameRecords has the others), and
// the start type, which hosts find in "TQS INI" but the settings read from "Action".
TEST_F(SettingsStore, KeysThatAreOnlyReadComeFromTheirSections) {
    write_file(ini(),
               "[HXQ]\r\nToolbar=0\r\nCompact=-1\r\n"
               "[TQS INI]\r\nCalcType=2\r\n"
               "[action]\r\n"
               "DBSave=/s.db\r\nHXQSave=/h.db\r\nDBUserfluid2000=/u.db\r\nDBStock=/st.db\r\nCalcType=1\r\n"
               "offset=1000\r\nUseMSWord=-1\r\nTableResult=3,7,9\r\nTableResults=X;Y\r\n");
    clsOption option;
    const UserSettingsType u = option.UsrSettings();
    EXPECT_FALSE(u.ToolbarVisible);
    EXPECT_TRUE(u.CompactMode);
    EXPECT_EQ(std::tie(u.SaveIndataDB, u.HXQSavesDB, u.UserFluidsDB, u.StockDB),
              std::make_tuple("/s.db", "/h.db", "/u.db", "/st.db"));
    EXPECT_EQ(u.StartUpCalcType, 1);
    EXPECT_EQ(option.StartCalcType(), 1);
    EXPECT_EQ(u.language.iOffset, 1000);
    EXPECT_FALSE(u.UseWord) << "no word processor on this machine";
    EXPECT_EQ(u.TableBox.size(), 3u);
    EXPECT_EQ(option.ResMoreDetail(), "3,7,9");
    EXPECT_EQ(option.TableResults(), "X;Y");
}

TEST_F(SettingsStore, TheUnitSystemChoosesTheOutputUnits) {
    write_file(ini(), "[Action]\r\nUnitSystem=1\r\nOutputUnits=48;48;48\r\n");
    {
        clsOption option;
        EXPECT_EQ(OutputUnitsText(option.OutputUnits()), kUSOutputUnits) << "US units whatever OutputUnits holds";
    }
    start(ini());
    write_file(ini(), "[Action]\r\nUnitSystem=2\r\nOutputUnits=49;40\r\n");
    {
        clsOption option;
        // The listed fields; the others keep what they held.
        EXPECT_EQ(OutputUnitsText(option.OutputUnits()), "49;40;0;0;0;0;0;0;0;0;0;0;0;0;0;0;0");
    }
    start(ini());
    write_file(ini(), "[Action]\r\nUnitSystem=2\r\n");
    // Labels come from the unit table where it has the unit.
    UnitTable.Redim(0, 60);
    UnitTable(48) = {"W/m²,K", 48, 9};
    clsOption option;
    EXPECT_EQ(OutputUnitsText(option.OutputUnits()), kSIOutputUnits);
    EXPECT_EQ(option.OutputUnits().OHTC, (UnitType{"W/m²,K", 48, 9}));
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
    EXPECT_EQ(option.OutputUnitSystem(), 0);
    // No table items are written as the default list; result flags take any boolean form.
    EXPECT_EQ(table_items_text({}), "16,35");
    EXPECT_EQ(parse_result_box("True*3,1*4"), (std::vector<ResultBoxType>{{true, 3}, {true, 4}}));
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
    EXPECT_EQ(OutputUnitsText(library_state().derived.OutputUnits), "49;40;71;0;0;0;0;0;0;0;0;0;0;0;0;0;0");
}

TEST_F(SettingsStore, SavedKeysReadBackIntoTheSameRecords) {
    write_file(written(),
               "; hand-written\r\n[HXQ]\r\nToolbar=0\r\n\r\n[Action]\r\nDBSave=/s.db\r\nUnits=1;2\r\nSerie=5\r\n");
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
    // What the file held stays, a key it had is changed in place, the others follow in this
    // order and in their forms; nothing that is only read is written. The output units are
    // those in force, not those of the new unit system.
    EXPECT_EQ(read_file(written()),
              "; hand-written\r\n[HXQ]\r\nToolbar=0\r\n\r\n"
              "[Action]\r\nDBSave=/s.db\r\nUnits=1;2\r\nSerie=3\r\n"
              "EditorPath=/usr/bin/editor\r\nLanguage=Danish\r\nOffset=2000\r\nNrOfResult=5\r\n"
              "Parallell=4\r\nOptimize=0\r\nStockSPC=False\r\nFixed=-1\r\nUnitSystem=1\r\n"
              "OutputUnits=48;39;70;41;42;52;54;32;44;46;59;48;50;23;24;25;0\r\n"
              "ResultBox=-1*20,0*0,-1*5\r\nTableResult=35,16,2\r\nOldFluids=0\r\n"
              "BackGround=0\r\nBGColor=255\r\nSmallIcon=-1\r\n"
              "TempLang=French\r\nTempDotSPC=s\r\nTempDotCON=c\r\nTempDotVAP=v\r\n"
              "TableTitle=True\r\nPrintOutType=3\r\nShowInfo=-1\r\n"
              "Address1=Qarn Ltd\r\nAddress2=Street 1\r\nAddress3=\r\nAddress4=City\r\nAddress5=\"  Country\"\r\n"
              "UseMSWord=0\r\nUseDisclaimer=-1\r\nUseQDFF=0\r\nQDFFile=/q.qdf\r\nCalcType=2\r\nCalcMethod=1\r\n"
              "\r\n[TQS INI]\r\nCalcType=2\r\nCalcMethod=1\r\n");
    start(written());
    clsOption reloaded;
    EXPECT_EQ(reloaded.UsrSettings(), saved);
    EXPECT_EQ(reloaded.Glob_Settings(), global);
    EXPECT_EQ(reloaded.StartCalcType(), 2);
    EXPECT_EQ(reloaded.OptimizeParallell(), 0);
    EXPECT_FALSE(reloaded.VapFixOutTemp());
    std::vector<std::string> address(2);
    reloaded.AddressHeader(address);
    EXPECT_EQ(address, (std::vector<std::string>{"Qarn Ltd", "Street 1", "", "City", "  Country"}));
}

TEST_F(SettingsStore, ClosingTheDialogSavesThenRaisesOptionsDone) {
    write_file(ini(), "[Action]\r\nNrOfResult=3\r\n");
    clsOption option;
    bool saved_before_event = false;
    int raised = 0;
    option.OptionsDone.subscribe([&] {
        ++raised;
        saved_before_event = std::filesystem::exists(written());
    });
    EXPECT_TRUE(option.OptionsDialogClosed(false, true));
    EXPECT_TRUE(saved_before_event);
    EXPECT_FALSE(option.SettingsChanged()) << "closed with Cancel";
    EXPECT_TRUE(option.ChangedUnitSystem());
    option.ChangedUnitSystem(false);
    EXPECT_TRUE(option.OptionsDialogClosed(true, false));
    EXPECT_TRUE(option.SettingsChanged());
    // Into the working folder; the file the settings were read from is left alone.
    EXPECT_EQ(ProfileFile::load(written()).value("Action", "NrOfResult"), "3");
    EXPECT_EQ(read_file(ini()), "[Action]\r\nNrOfResult=3\r\n");
    // A folder that cannot take the file: the save reports false, the host still learns
    // that the dialog closed.
    write_file(dir_ / "plain", "x");
    library_state().host.WorkingPath = (dir_ / "plain").string();
    EXPECT_FALSE(option.OptionsDialogClosed(true, false));
    EXPECT_EQ(raised, 3);
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

TEST_F(SettingsStore, WithoutAWorkingFolderTheCurrentFolderTakesTheFile) {
    library_state().host.WorkingPath.clear();
    EXPECT_EQ(settings_write_file(), std::filesystem::current_path() / "hxq.ini");
}

TEST_F(SettingsStore, RegistrySettingsUseTheApplicationKey) {
    clsMisc misc;
    EXPECT_EQ(misc.GetSettingHXQ("HXQSelector", "Info", "DBPath", "/app/ps.dat"), "/app/ps.dat");
    EXPECT_EQ(misc.SaveSettingHXQ("HXQ", "Settings", "LangTemplate", "English;Swedish"), "");
    EXPECT_EQ(misc.GetSettingHXQ("HXQ", "Settings", "LangTemplate", "x"), "English;Swedish");
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, "SOFTWARE\\Qarn\\HXQ\\Settings", "LangTemplate"), "English;Swedish");
    // A store that cannot be written is reported as "ERROR".
    write_file(dir_ / "plain", "x");
    registry_.set((dir_ / "plain" / "registry.ini").string());
    EXPECT_EQ(misc.SaveSettingHXQ("HXQ", "Settings", "LangTemplate", "English"), "ERROR");
}

TEST_F(SettingsStore, EngineErrorTextFollowsTheCalcTypeSetting) {
    const std::int32_t six = hxq::platform::kObjectError + 6;
    library_state().UserSettings.StartUpCalcType = 1;
    EXPECT_EQ(EngineErrorText(six), hxq::core::EngineErrorText(six, 1));
    library_state().UserSettings.StartUpCalcType = 0;
    EXPECT_NE(EngineErrorText(six).find("incorrect number of plates"), std::string::npos);
}
