#include "settings/cls_option.h"

#include "settings/settings_store.h"

#include <algorithm>

namespace hxq::settings {

namespace {
LibraryState& state() { return library_state(); }
const DerivedSettings& derived() { return library_state().derived; }
}  // namespace

clsOption::clsOption() {
    if (!state().settings_loaded) load_settings(state());
}

clsOption::~clsOption() {
    try {
        save_print_out_type(state());
    } catch (...) {
        // Nothing may leave a destructor; a lost print-out type is not worth a crash.
    }
}

UserSettingsType clsOption::UsrSettings() const { return state().UserSettings; }
void clsOption::UsrSettings(const UserSettingsType& settings) { state().UserSettings = settings; }
SettingsType clsOption::Glob_Settings() const { return state().Settings; }
std::uint8_t clsOption::StartCalcMethod() const { return derived().StartCalcMethod; }
std::uint8_t clsOption::StartCalcType() const { return derived().StartCalcType; }
bool clsOption::SPCStock() const { return derived().UseStock; }
std::uint8_t clsOption::SerieUnits() const { return derived().SerieUnits; }
std::uint8_t clsOption::ParallellUnits() const { return derived().ParallellUnits; }
std::int16_t clsOption::NoOfAlternatives() const { return derived().NrResults; }

std::string clsOption::ResMoreDetail() const {
    std::string out;
    for (const auto& item : derived().TableResultItems) out += (out.empty() ? "" : ",") + item;
    return out;
}

void clsOption::AddressHeader(std::vector<std::string>& AdrArr) const {
    const auto& lines = derived().AddressLines;
    if (AdrArr.size() < lines.size()) AdrArr.resize(lines.size());
    std::copy(lines.begin(), lines.end(), AdrArr.begin());
}

bool clsOption::UseTQS9711Fluids() const { return derived().UseOldFluids; }
std::uint8_t clsOption::OptimizeParallell() const { return derived().OptimizeParallel ? 255 : 0; }
bool clsOption::VapFixOutTemp() const { return !derived().EvapFixedOutTemp; }
std::uint8_t clsOption::OutputUnitSystem() const { return derived().OutputUnitSystem; }

OutputUnitsType clsOption::OutputUnits() const {
    OutputUnitsType units = derived().OutputUnits;
    for (std::size_t i = 0; i < kOutputUnitCount; ++i) {
        UnitType& field = OutputUnitField(units, i);
        if (UnitTable.Contains(field.UnitID) && UnitTable(field.UnitID).UnitID == field.UnitID)
            field = UnitFromTable(field.UnitID);
    }
    return units;
}

std::int16_t clsOption::NrLessBoxResults() const {
    const auto& less = state().UserSettings.LessBox;
    return static_cast<std::int16_t>(std::count(less.begin(), less.end(), true));
}

std::string clsOption::TableResults() const { return read_setting("Action", "TableResults", ""); }
bool clsOption::BackGround() const { return derived().UseBackgroundPic; }
std::int32_t clsOption::BackGroundColor() const { return derived().BackGroundColor; }
bool clsOption::Small_Icons() const { return derived().UseSmallIcons; }
void clsOption::UseQDFF(bool use) { state().derived.UseQDFF = use; }
bool clsOption::UseQDFF() const { return derived().UseQDFF; }
std::string clsOption::QDFFile() const { return derived().QDFPath; }
void clsOption::GetAllUnits(IdIndexedTable<UnitType>& Arr) const { Arr = UnitTable; }
void clsOption::GetUnitGroups(IdIndexedTable<UnitGroupsType>& Arr) const { Arr = UnitGroupTable; }

bool clsOption::OptionsDialogClosed(bool ok, bool unit_system_changed) {
    settings_changed_ = ok;
    if (unit_system_changed) changed_unit_system_ = true;
    bool saved = save_settings(state());
    OptionsDone.raise();
    return saved;
}

}  // namespace hxq::settings
