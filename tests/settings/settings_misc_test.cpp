#include "settings/cls_misc.h"
#include "settings/engine_error_text_setting.h"
#include "settings/settings_fixture.h"

#include "records/engine_error_text.h"
#include "platform/error.h"
#include "platform/registry.h"

#include <gtest/gtest.h>

using namespace hxq::settings;
using hxq::platform::GetRegValue;
using hxq::platform::kHKeyLocalMachine;

namespace {

class SettingsMisc : public hxq::test::SettingsTest {};

// 21 rows; row 0 names the record, row 20 and row 3 hold the keys.
TextMatrix matrix(const std::vector<std::string>& row20, const std::vector<std::string>& row3) {
    TextMatrix m(21, std::vector<std::string>(row20.size()));
    for (std::size_t c = 0; c < row20.size(); ++c) {
        m[0][c] = std::string(1, static_cast<char>('a' + c));
        m[20][c] = row20[c];
        m[3][c] = row3[c];
    }
    return m;
}

std::string names(const TextMatrix& m) {
    std::string s;
    for (const auto& n : m[0]) s += n;
    return s;
}

}  // namespace

TEST_F(SettingsMisc, SortsOrderByRow20AndTheLowestFirstThenByTheChosenRow) {
    // Numbers compare as numbers ("10" after "9"), ties on row 20 by row 3.
    TextMatrix m = matrix({"10", "9", "2", "2", "2", " 1e1"}, {"5", "1", "7", "3", "4.5", "0"});
    clsMisc misc;
    misc.BubbleSortLowest(m, 3);
    EXPECT_EQ(m[20], (std::vector<std::string>{"2", "2", "2", "9", " 1e1", "10"}));
    EXPECT_EQ(m[3], (std::vector<std::string>{"3", "4.5", "7", "1", "0", "5"}));
    EXPECT_EQ(names(m), "decbfa");

    // The highest first sorts by row 20 only.
    m = matrix({"1", "3", "3", "2", "3"}, {"1", "2", "9", "0", "5"});
    BubbleSortHighest(m, 3);
    EXPECT_EQ(m[20], (std::vector<std::string>{"3", "3", "3", "2", "1"}));
    // Equal row-20 values are not put in order of row 3.
    EXPECT_EQ(m[3], (std::vector<std::string>{"5", "2", "9", "0", "1"}));
}

TEST_F(SettingsMisc, SortsLeaveEmptyTablesAndRefuseMissingRows) {
    TextMatrix empty;
    BubbleSortLowest(empty, 3);
    TextMatrix no_columns(21);
    BubbleSortHighest(no_columns, 3);
    TextMatrix short_one(5, std::vector<std::string>(2, "1"));
    EXPECT_THROW(BubbleSortLowest(short_one, 3), hxq::platform::Error);
    TextMatrix m = matrix({"1", "2"}, {"1", "2"});
    EXPECT_THROW(BubbleSortLowest(m, 21), hxq::platform::Error);
    m[4].pop_back();
    EXPECT_THROW(BubbleSortHighest(m, 3), hxq::platform::Error);
}

TEST_F(SettingsMisc, ValReadsTheLeadingNumber) {
    EXPECT_EQ(Val("12abc"), 12);
    EXPECT_EQ(Val(" 1 2 . 5"), 12.5);
    EXPECT_EQ(Val("-3.5e2x"), -350);
    EXPECT_EQ(Val("1e"), 1);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val(".5"), 0.5);
}

TEST_F(SettingsMisc, RegistrySettingsUseTheApplicationKey) {
    clsMisc misc;
    EXPECT_EQ(misc.GetSettingHXQ("HXQSelector", "Info", "DBPath", "/app/ps.dat"), "/app/ps.dat");
    EXPECT_EQ(misc.SaveSettingHXQ("HXQ", "Settings", "LangTemplate", "English;Swedish"), "");
    EXPECT_EQ(misc.GetSettingHXQ("HXQ", "Settings", "LangTemplate", "x"), "English;Swedish");
    EXPECT_EQ(GetRegValue(kHKeyLocalMachine, "SOFTWARE\\Qarn\\HXQ\\Settings", "LangTemplate"), "English;Swedish");

    // A store that cannot be written is reported as "ERROR".
    hxq::test::write_file(dir_ / "plain", "x");
    registry_.set((dir_ / "plain" / "registry.ini").string());
    EXPECT_EQ(misc.SaveSettingHXQ("HXQ", "Settings", "LangTemplate", "English"), "ERROR");
}

TEST_F(SettingsMisc, EngineErrorTextFollowsTheCalcTypeSetting) {
    const std::int32_t six = hxq::platform::kObjectError + 6;
    library_state().UserSettings.StartUpCalcType = 1;
    EXPECT_EQ(EngineErrorText(six), hxq::core::EngineErrorText(six, 1));
    library_state().UserSettings.StartUpCalcType = 0;
    EXPECT_NE(EngineErrorText(six).find("incorrect number of plates"), std::string::npos);
}
