#include "settings/cls_option.h"
#include "settings/settings_fixture.h"
#include "settings/settings_store.h"

#include "platform/profile.h"

#include <gtest/gtest.h>

using namespace hxq::settings;
using hxq::platform::ProfileFile;
using hxq::test::read_file;
using hxq::test::write_file;

namespace {

class SettingsSave : public hxq::test::SettingsTest {
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
    void point_host_at(const std::filesystem::path& read) {
        library_state().host.IniFilePath = read.string();
        library_state().host.WorkingPath = work().string();
    }
};

}  // namespace

TEST_F(SettingsSave, ReadsFromIniFilePathAndWritesToTheWorkingFolder) {
    write_file(ini(), "[Action]\r\nNrOfResult=3\r\n");
    clsOption option;
    EXPECT_EQ(option.NoOfAlternatives(), 3);
    ASSERT_TRUE(option.OptionsDialogClosed(true, false));
    EXPECT_EQ(read_file(ini()), "[Action]\r\nNrOfResult=3\r\n") << "the read file is left alone";
    EXPECT_EQ(ProfileFile::load(written()).value("Action", "NrOfResult"), "3");
}

TEST_F(SettingsSave, KeysAreSpelledAndWrittenInTheirForms) {
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

TEST_F(SettingsSave, ASaveFollowedByALoadGivesTheSameRecords) {
    write_file(ini(), "[HXQ]\r\nToolbar=0\r\n[Action]\r\nDBSave=/s.db\r\nDBStock=/st.db\r\n");
    point_host_at(written());  // the host passes the same file for both
    std::filesystem::copy_file(ini(), written());
    UserSettingsType saved;
    SettingsType global;
    {
        clsOption option;
        option.UsrSettings(changed(option.UsrSettings()));
        saved = option.UsrSettings();
        global = option.Glob_Settings();
        ASSERT_TRUE(option.OptionsDialogClosed(true, false));
    }
    reset_library_state();
    point_host_at(written());
    clsOption reloaded;
    EXPECT_EQ(reloaded.UsrSettings(), saved);
    EXPECT_EQ(reloaded.Glob_Settings(), global);
    EXPECT_EQ(reloaded.StartCalcType(), 2);
    EXPECT_EQ(reloaded.SerieUnits(), 3);
    EXPECT_EQ(reloaded.OutputUnitSystem(), 1);
    EXPECT_EQ(OutputUnitsText(reloaded.OutputUnits()), kUSOutputUnits);
}

TEST_F(SettingsSave, BooleansOfBothFormsReadBack) {
    point_host_at(written());
    write_file(written(), "[Action]\r\nStockSPC=True\r\nOptimize=-1\r\nTableTitle=False\r\nFixed=0\r\n");
    {
        clsOption option;
        UserSettingsType u = option.UsrSettings();
        EXPECT_TRUE(u.UseStock);
        EXPECT_TRUE(u.OptimizeParallel);
        u.UseStock = false;
        u.OptimizeParallel = false;
        u.TableTitle = true;
        option.UsrSettings(u);
        save_settings(library_state());
    }
    reset_library_state();
    point_host_at(written());
    clsOption option;
    EXPECT_FALSE(option.UsrSettings().UseStock);
    EXPECT_FALSE(option.UsrSettings().OptimizeParallel);
    EXPECT_TRUE(option.UsrSettings().TableTitle);
}

TEST_F(SettingsSave, SavingKeepsWhatElseTheFileHolds) {
    write_file(written(), "; hand-written\r\n[HXQ]\r\nToolbar=0\r\n\r\n[Action]\r\nUnits=1;2\r\nSerie=5\r\n");
    clsOption option;
    ASSERT_TRUE(save_settings(library_state()));
    auto text = read_file(written());
    EXPECT_EQ(text.rfind("; hand-written\r\n[HXQ]\r\nToolbar=0\r\n\r\n[Action]\r\nUnits=1;2\r\nSerie=1\r\n", 0), 0u)
        << text;
}

TEST_F(SettingsSave, NoTableItemsAreWrittenAsTheDefaultList) {
    EXPECT_EQ(table_items_text({}), "16,35");
    EXPECT_EQ(table_items_text({7}), "7");
    EXPECT_EQ(parse_table_items("16,35"), (std::vector<std::int16_t>{16, 35}));
    EXPECT_EQ(parse_result_box(result_box_text({{true, 1}, {false, 2}})),
              (std::vector<ResultBoxType>{{true, 1}, {false, 2}}));
    EXPECT_EQ(parse_result_box("True*3,1*4"), (std::vector<ResultBoxType>{{true, 3}, {true, 4}}));
}

TEST_F(SettingsSave, ClosingTheDialogSavesThenRaisesOptionsDone) {
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

TEST_F(SettingsSave, EndingTheSettingsObjectWritesThePrintOutType) {
    {
        clsOption option;
        UserSettingsType u = option.UsrSettings();
        u.PrintOutType = 2;
        option.UsrSettings(u);
        EXPECT_FALSE(std::filesystem::exists(written()));
    }
    EXPECT_EQ(read_file(written()), "[Action]\r\nPrintOutType=2\r\n");
}

TEST_F(SettingsSave, AFolderThatCannotTakeTheFileIsReported) {
    write_file(dir_ / "plain", "x");
    library_state().host.WorkingPath = (dir_ / "plain").string();
    clsOption option;
    int raised = 0;
    option.OptionsDone.subscribe([&] { ++raised; });
    EXPECT_FALSE(option.OptionsDialogClosed(true, false));
    EXPECT_EQ(raised, 1) << "the host still learns that the dialog closed";
}

TEST_F(SettingsSave, WithoutAWorkingFolderTheCurrentFolderTakesTheFile) {
    library_state().host.WorkingPath.clear();
    EXPECT_EQ(settings_write_file(), std::filesystem::current_path() / "hxq.ini");
    library_state().host.WorkingPath = "C:\\work\\";
    EXPECT_EQ(settings_write_file(), "C:/work/hxq.ini");
}
