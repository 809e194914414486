// The two settings records every class of the library reads: the machine-wide
// database paths (SettingsType) and one user's preferences (UserSettingsType), with
// their sub-records. Plain values, copied whole.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace hxq::settings {

struct SettingsType {
    std::string FluidsDB;     // registry "DBFluid2000"
    std::string ConvertDB;    // registry "ConvertDB": the units database
    std::string HXQDB;        // registry "HXQnew": the product database
    std::string LanguageDB;   // initialisation file "DBLang"
    std::string OldFluidsDB;  // initialisation file "DBFluid"

    bool operator==(const SettingsType&) const = default;
};

// The name keeps its historical spelling: hosts refer to it.
struct LanuageType {
    std::string sName = "English";
    std::int16_t iOffset = 0;  // text-id offset of the language

    bool operator==(const LanuageType&) const = default;
};

// One result value offered in the result list: shown or not, and which of the 21
// result names it is.
struct ResultBoxType {
    bool ShowRes = false;
    std::int16_t ResTextIndex = 0;

    bool operator==(const ResultBoxType&) const = default;
};

struct Tabletype {
    std::int16_t TabNo = 0;
    std::int16_t TabPos = 0;
    bool Selected = false;

    bool operator==(const Tabletype&) const = default;
};

// Arrays run from index 0; the defaults are those of a user without a settings file.
struct UserSettingsType {
    std::string EditorPath;
    bool ToolbarVisible = true;
    bool CompactMode = false;
    bool UseStock = true;
    std::string SaveIndataDB;
    std::string HXQSavesDB;
    std::string UserFluidsDB;
    LanuageType language;
    bool UseBackgroundPic = true;
    bool UseSmallIcons = false;
    std::int32_t BackGroundColor = 0;
    bool UseQDF = true;
    std::string QDFPath;
    std::int16_t StartUpCalcType = 0;
    std::int16_t StartUpCalcMethod = 0;
    std::string StockDB;
    std::string TempLang = "English";
    std::string TempDotSPC = "SPC_quote";
    std::string TempDotCON = "CON_quote";
    std::string TempDotVAP = "VAP_quote";
    bool OptimizeParallel = true;
    std::int16_t NoParallelUnits = 1;
    std::int16_t NoUnitsSerie = 1;
    bool EvapFixedOutTemp = false;
    bool UseOldFluids = true;
    bool UseDisclaimer = false;
    bool UseWord = false;
    std::uint8_t UnitsSystem = 0;  // 0 SI, 1 US, 2 user-defined
    std::array<std::string, 5> header;  // the address lines
    std::int16_t NrResults = 7;
    std::vector<bool> MoreBox;  // supplied by the host, never stored
    std::vector<bool> LessBox;  // supplied by the host, never stored
    std::vector<ResultBoxType> ResultBox;
    std::vector<Tabletype> TableBox;  // sized like SelectedTableItems, never stored
    std::vector<std::int16_t> SelectedTableItems;
    bool TableTitle = false;
    std::int16_t PrintOutType = 0;
    bool ShowInfo = false;

    bool operator==(const UserSettingsType&) const = default;
};

}  // namespace hxq::settings
