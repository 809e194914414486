// clsMisc: where the host hands the library its paths, texts and flags, and reaches
// the registry and a small column sort. Its dialogs (calculation store, fluid editor,
// customers, batch) belong to the subsystems that own them.
#pragma once

#include "platform/event.h"
#include "settings/library_state.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace hxq::settings {

// Text table of the column sorts: Matrix[row][column], a row per field and a column per
// record; every row holds the same number of columns.
using TextMatrix = std::vector<std::vector<std::string>>;

// The row the column sorts order by first.
inline constexpr std::size_t kSortKeyRow = 20;

// Ascending by row 20, then ascending by row `ind`. Error 9 when a row the sort reads
// is missing or rows differ in length.
void BubbleSortLowest(TextMatrix& Matrix, std::int16_t ind);
// Descending by row 20; `ind` is checked but takes no part.
void BubbleSortHighest(TextMatrix& Matrix, std::int16_t ind);

// The numeric value of the leading number of a text, blanks ignored, "." as decimal
// point, 0 when it does not start with one ("12abc" gives 12).
double Val(const std::string& text);

class clsMisc {
public:
    void IniFilePath(const std::string& path);
    void SetWorkingPath(const std::string& path);
    void SetExePath(const std::string& path);
    void BubbleSortLowest(TextMatrix& Matrix, std::int16_t ind) { settings::BubbleSortLowest(Matrix, ind); }
    void BubbleSortHighest(TextMatrix& Matrix, std::int16_t ind) { settings::BubbleSortHighest(Matrix, ind); }
    // Nothing ever sets it.
    std::string GetSaveName() const { return {}; }
    void UsrLev(const std::string& level);
    void ErrMsg(const std::vector<std::string>& ErrArray);
    void ValidPS(bool valid);
    void TQSAppVersion(const std::string& version);
    void Set_HelpFile(const std::string& sNewValue);
    std::string GetSettingHXQ(const std::string& TheName, const std::string& ThePart, const std::string& TheKey,
                              const std::string& DefValue) const;
    std::string SaveSettingHXQ(const std::string& TheName, const std::string& ThePart, const std::string& TheKey,
                               const std::string& TheValue) const;
    void DatabasePaths(const SettingsType& paths);
    void SetupWarningTexts(const std::vector<std::string>& SPCWarn, const std::vector<std::string>& CONWarn,
                           const std::vector<std::string>& VAPWarn);
    std::string GetRegValue(std::int32_t hClassKey, const std::string& sSectionKey, const std::string& sValueKey) const;
    void SetRegValue(std::int32_t hClassKey, const std::string& sSectionKey, const std::string& sValueKey,
                     const std::string& sValue) const;
    void SetXerNodes(std::shared_ptr<const XerNodeCollection> xnodes);

    platform::Event<> DialogDone;
    platform::Event<> DialogCanceled;
    platform::Event<> UpdateFluids;
    platform::Event<> CustMainDone;
};

}  // namespace hxq::settings
