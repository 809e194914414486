// clsOption: the host's view of the settings. The first one created loads them; each
// answers from the library-wide records; the options dialog reports its closing here,
// which saves the settings and raises OptionsDone.
#pragma once

#include "platform/event.h"
#include "settings/library_state.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hxq::settings {

class clsOption {
public:
    clsOption();
    // Writes "PrintOutType" once more.
    ~clsOption();
    clsOption(const clsOption&) = delete;
    clsOption& operator=(const clsOption&) = delete;

    UserSettingsType UsrSettings() const;
    void UsrSettings(const UserSettingsType& settings);  // nothing is written
    SettingsType Glob_Settings() const;
    std::uint8_t StartCalcMethod() const;
    std::uint8_t StartCalcType() const;
    bool SPCStock() const;
    std::uint8_t SerieUnits() const;
    std::uint8_t ParallellUnits() const;
    std::int16_t NoOfAlternatives() const;
    std::string ResMoreDetail() const;
    // Elements 0..4 receive the address lines as loaded; a shorter array grows to 5.
    void AddressHeader(std::vector<std::string>& AdrArr) const;
    bool UserDefPltThk() const { return false; }
    std::uint8_t FreezOrConc() const { return 0; }
    bool UseTQS9711Fluids() const;
    std::uint8_t OptimizeParallell() const;  // 255 when set
    bool VapFixOutTemp() const;              // true when the outlet temperature is free
    bool SettingsChanged() const { return settings_changed_; }
    bool FluidSortedByName() const { return true; }
    std::uint8_t OutputUnitSystem() const;
    // Labels come from the unit table as it is now, so units loaded after the settings
    // still carry their text.
    OutputUnitsType OutputUnits() const;
    bool ChangedUnitSystem() const { return changed_unit_system_; }
    void ChangedUnitSystem(bool changed) { changed_unit_system_ = changed; }
    std::int16_t NrLessBoxResults() const;
    std::string TableResults() const;  // read from the file at each call
    bool BackGround() const;
    std::int32_t BackGroundColor() const;
    bool Small_Icons() const;
    bool HXQStartUp() const { return true; }
    std::int16_t PHEMaxPasses() const { return 0; }
    bool UserDefMaxPass() const { return false; }
    bool PHETitan() const { return false; }
    void EnableWord(bool enable) { enable_word_ = enable; }
    void UseQDFF(bool use);
    bool UseQDFF() const;
    void QDFFExist(bool exists) { qdff_exist_ = exists; }
    void ProdSelPath(const std::string& path) { prod_sel_path_ = path; }
    std::string QDFFile() const;
    void GetAllUnits(IdIndexedTable<UnitType>& Arr) const;
    void GetUnitGroups(IdIndexedTable<UnitGroupsType>& Arr) const;

    // Raised after the options dialog closed and the settings were written.
    platform::Event<> OptionsDone;

    // The options dialog calls this when it closes, with OK or Cancel and whether the
    // unit system was changed: the settings are saved and OptionsDone is raised.
    // Returns false when the settings file could not be written.
    bool OptionsDialogClosed(bool ok, bool unit_system_changed);

private:
    bool settings_changed_ = false;
    bool changed_unit_system_ = false;
    bool enable_word_ = false;
    bool qdff_exist_ = false;
    std::string prod_sel_path_;
};

}  // namespace hxq::settings
