#include "settings/convert.h"

#include "platform/error.h"
#include "platform/paths.h"
#include "settings/format.h"
#include "settings/library_state.h"

#include <cmath>
#include <limits>
#include <memory>

namespace hxq::settings {

namespace {

constexpr const char* kSource = "clsConvert";

std::string trim_whitespace(const std::string& text) {
    const char* blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// A number held in single precision, as the conversion rules hold their values;
// beyond the single range it is error 6 rather than an infinity.
float to_single(double value) {
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max()))
        throw platform::Error(6, kSource, "Overflow");
    return static_cast<float>(value);
}

// Normal volumes are referred to 20 °C and 100000 Pa.
constexpr double kNormalTemperature = 20.0;
constexpr double kNormalPressure = 100000.0;

// Restores a fluid's pressure when the density at normal conditions has been taken,
// also when the fluid threw.
class PressureRestorer {
public:
    explicit PressureRestorer(core::FluidObject& fluid) : fluid_(fluid), pressure_(fluid.YPressure()) {}
    ~PressureRestorer() { fluid_.SetYPressure(pressure_); }
    PressureRestorer(const PressureRestorer&) = delete;
    PressureRestorer& operator=(const PressureRestorer&) = delete;

private:
    core::FluidObject& fluid_;
    double pressure_;
};

}  // namespace

// --- MenuControlArray ---

void MenuControlArray::Load(int index) {
    if (Holds(index)) throw platform::Error(360, "LoadMenu", "Object already loaded");
    items_[index];
}

MenuElement& MenuControlArray::operator()(int index) {
    auto it = items_.find(index);
    if (it == items_.end())
        throw platform::Error(340, "LoadMenu", "Control array element '" + std::to_string(index) + "' doesn't exist");
    return it->second;
}

const MenuElement& MenuControlArray::operator()(int index) const {
    return const_cast<MenuControlArray&>(*this)(index);
}

// --- Context and shared converter ---

ConvertContext& convert_context() {
    static ConvertContext context{
        [] { return library_state().Settings.ConvertDB; },
        [] { return static_cast<int>(library_state().UserSettings.UnitsSystem); },
        []() -> platform::Prompter& { return prompter(); },
    };
    return context;
}

namespace {
std::unique_ptr<clsConvert>& shared_slot() {
    static std::unique_ptr<clsConvert> slot;
    return slot;
}
}  // namespace

clsConvert& SharedConverter() {
    auto& slot = shared_slot();
    if (!slot) slot = std::make_unique<clsConvert>();
    return *slot;
}

void ResetSharedConverter() { shared_slot().reset(); }

// --- clsConvert ---

clsConvert::clsConvert()
    : clsConvert(convert_context().convert_db(), convert_context().unit_system(), convert_context().prompter()) {}

clsConvert::clsConvert(const std::string& convert_db, int unit_system, platform::Prompter& prompter)
    : path_(platform::native_path(trim_whitespace(convert_db))) {
    try {
        db_ = platform::OpenDatabase(path_, true);
        rs_ = db_.OpenRecordset("SELECT * FROM Convert", platform::RecordsetType::Snapshot);
        LoadUnitTables(db_, unit_system);
    } catch (const platform::Error& e) {
        rs_.Close();
        db_.Close();
        prompter.show_message("Error No: " + std::to_string(e.number()) + "\n" + e.description() + "\n" +
                              e.source() + "\n" + path_);
    }
}

clsConvert::~clsConvert() {
    rs_.Close();
    db_.Close();
}

std::string clsConvert::ShowVal(const platform::Variant& SngValue, std::int16_t SignificantDigits, float offset) {
    return show_value(SngValue, SignificantDigits, offset);
}

void clsConvert::rewind() {
    if (!rs_.IsOpen())
        throw platform::Error(91, kSource, "Object variable or With block variable not set");
    if (rs_.RecordCount() > 0) rs_.MoveFirst();
}

std::optional<clsConvert::UnitRow> clsConvert::find_unit(std::int16_t unit) {
    if (!rs_.FindFirst("UnitID=" + std::to_string(unit))) return std::nullopt;
    return UnitRow{rs_.Fields("Mult").as_double(), rs_.Fields("Add").as_double(), rs_.Fields("Density").as_integer()};
}

double clsConvert::density_factor(const UnitRow& row, core::FluidObject* fluid, const platform::Variant& temp) {
    if (row.Density != 1 && row.Density != 2) return 1.0;
    if (!fluid) throw platform::Error(424, kSource, "Object required");
    if (row.Density == 1) {
        const auto t = variant_number(temp);
        if (!t) throw platform::Error(13, kSource, "Type mismatch");
        return fluid->YDensity(static_cast<double>(to_single(*t)));
    }
    PressureRestorer restore(*fluid);
    fluid->SetYPressure(kNormalPressure);
    return fluid->YDensity(kNormalTemperature);
}

platform::Variant clsConvert::ConvertFromSI(const platform::Variant& InValue, std::int16_t ToUnit,
                                            core::FluidObject* FluidObject, const platform::Variant& Temp) {
    return Convert_(InValue, 0, ToUnit, FluidObject, Temp, false);
}

platform::Variant clsConvert::ConvertToSI(const platform::Variant& InValue, std::int16_t FromUnit,
                                          core::FluidObject* FluidObject, const platform::Variant& Temp) {
    return Convert_(InValue, FromUnit, 0, FluidObject, Temp, true);
}

platform::Variant clsConvert::Convert_(const platform::Variant& InValue, std::int16_t FromUnit, std::int16_t ToUnit,
                                       core::FluidObject* FluidObject, const platform::Variant& Temp,
                                       std::optional<bool> ToSI) {
    rewind();
    const auto number = variant_number(InValue);
    if (!number) return InValue;
    const float v = to_single(*number);
    const double vd = v;
    const platform::Variant unconverted(v);

    if (!ToSI) {
        const auto from = find_unit(FromUnit);
        if (!from) return unconverted;
        const float s = to_single((vd + from->Add) * from->Mult * density_factor(*from, FluidObject, Temp));
        const auto to = find_unit(ToUnit);
        if (!to) return unconverted;
        return platform::Variant((static_cast<double>(s) / to->Mult - to->Add) / density_factor(*to, FluidObject, Temp));
    }
    if (!*ToSI) {
        const auto to = find_unit(ToUnit);
        if (!to) return unconverted;
        return platform::Variant((vd / to->Mult - to->Add) / density_factor(*to, FluidObject, Temp));
    }
    const auto from = find_unit(FromUnit);
    if (!from) return unconverted;
    return platform::Variant((vd + from->Add) * from->Mult * density_factor(*from, FluidObject, Temp));
}

void clsConvert::LoadMenu(MenuControlArray& mnu, std::int16_t ugroup, bool onlymass) {
    rewind();
    const std::string criteria =
        "UnitGroup=" + std::to_string(ugroup) + (onlymass ? " AND Use AND Density=0" : " AND Use");
    int i = 1;
    for (bool found = rs_.FindFirst(criteria); found; found = rs_.FindNext(criteria)) {
        if (!mnu.Holds(i)) mnu.Load(i);
        mnu(i).Caption = rs_.Fields("unit").as_text();
        mnu(i).Tag = std::to_string(rs_.Fields("UnitID").as_integer());
        ++i;
    }
}

// --- Module functions ---

core::OutVal FormatInUnit(bool raw, std::int16_t unit, const platform::Variant& si_value,
                          const platform::Variant& raw_value, const platform::Variant& Temp,
                          core::FluidObject* FluidObject) {
    // The shared converter is created first: creating it is what loads the unit tables.
    clsConvert& conv = SharedConverter();
    core::OutVal out;
    const UnitType& row = UnitTable(unit);
    out.GUnit = row.sUnit;
    platform::Variant number;
    if (raw)
        number = raw_value;
    else if (Temp.is_empty())
        number = conv.ConvertFromSI(si_value, unit);
    else
        number = conv.ConvertFromSI(si_value, unit, FluidObject, Temp);
    const UnitGroupsType& group = UnitGroupTable(row.GroupID);
    out.GVal = show_value(number, group.bSignDigit, group.iOffset);
    return out;
}

std::string FormatInUnitText(bool raw, std::int16_t unit, const platform::Variant& si_value,
                             const platform::Variant& raw_value, const platform::Variant& Temp,
                             core::FluidObject* FluidObject) {
    const platform::Variant passed = raw && !raw_value.is_empty() ? raw_value : platform::Variant();
    const core::OutVal out = FormatInUnit(raw, unit, si_value, passed, Temp, FluidObject);
    return out.GVal + ";" + out.GUnit;
}

}  // namespace hxq::settings
