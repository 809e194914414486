#include "settings/settings_store.h"

#include "platform/error.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/variant.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace hxq::settings {

namespace {

constexpr const char* kAction = "Action";
constexpr const char* kHXQ = "HXQ";
constexpr const char* kTQSIni = "TQS INI";

std::vector<std::string> split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (true) {
        std::size_t end = text.find(sep, pos);
        parts.push_back(text.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
        if (end == std::string::npos) break;
        pos = end + 1;
    }
    return parts;
}

// A whole number of the given type from a stored text; nothing when the text is not a
// number or does not fit (the key then takes its default rather than failing the load).
template <class Int>
std::optional<Int> to_int(const std::string& text) {
    auto n = platform::Variant(text).to_number();
    if (!n || !std::isfinite(*n)) return std::nullopt;
    double r = std::nearbyint(*n);
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int>::max()))
        return std::nullopt;
    return static_cast<Int>(r);
}

// "-1", "0", any number, "True", "False".
std::optional<bool> to_flag(const std::string& text) {
    if (platform::iequals(text, "True")) return true;
    if (platform::iequals(text, "False")) return false;
    auto n = platform::Variant(text).to_number();
    if (!n) return std::nullopt;
    return *n != 0.0;
}

std::string flag_text(bool b) { return b ? "-1" : "0"; }
std::string word_text(bool b) { return b ? "True" : "False"; }

std::uint8_t to_byte(std::int16_t v) { return static_cast<std::uint8_t>(std::clamp<std::int16_t>(v, 0, 255)); }

// Reads keys with the private-profile rules from one loaded copy of the file.
class Reader {
public:
    explicit Reader(const std::filesystem::path& file) {
        try {
            profile_ = platform::ProfileFile::load(file);
        } catch (const platform::Error&) {
            // Unreadable: every key takes its default.
        }
    }
    std::string text(const char* key, const std::string& def, const char* section = kAction) const {
        return profile_.read(section, key, def);
    }
    bool flag(const char* key, bool def, const char* section = kAction) const {
        return to_flag(text(key, flag_text(def), section)).value_or(def);
    }
    template <class Int>
    Int number(const char* key, Int def, const char* section = kAction) const {
        return to_int<Int>(text(key, std::to_string(def), section)).value_or(def);
    }

private:
    platform::ProfileFile profile_;
};

// Fills the output units from a list of ids. Ids the unit table does not hold (it may not
// be loaded yet) keep their id with an empty label; entries that are not numbers leave
// their field as it was.
void fill_output_units(OutputUnitsType& units, const std::string& list) {
    auto ids = split(list, ';');
    for (std::size_t i = 0; i < ids.size() && i < kOutputUnitCount; ++i) {
        auto id = to_int<std::int16_t>(ids[i]);
        if (!id) continue;
        UnitType& field = OutputUnitField(units, i);
        field = UnitTable.Contains(*id) ? UnitFromTable(*id) : UnitType{"", *id, 0};
    }
}

}  // namespace

std::string setting_key_path(const std::string& TheName, const std::string& ThePart) {
    return "SOFTWARE\\Qarn\\" + TheName + "\\" + ThePart;
}

std::string GetSettingHXQ(const std::string& TheName, const std::string& ThePart, const std::string& TheKey,
                          const std::string& DefValue) {
    std::string value = platform::GetRegValue(platform::kHKeyLocalMachine, setting_key_path(TheName, ThePart), TheKey);
    return value == platform::kRegistryMissing ? DefValue : value;
}

std::string SaveSettingHXQ(const std::string& TheName, const std::string& ThePart, const std::string& TheKey,
                           const std::string& TheValue) {
    try {
        platform::SetRegValue(platform::kHKeyLocalMachine, setting_key_path(TheName, ThePart), TheKey, TheValue);
        return "";
    } catch (const platform::Error&) {
        return platform::kRegistryMissing;
    }
}

std::string read_setting(const std::string& section, const std::string& key, const std::string& default_value) {
    return platform::read_profile_string(section, key, default_value, settings_read_file());
}

std::optional<std::vector<ResultBoxType>> parse_result_box(const std::string& text) {
    std::vector<ResultBoxType> boxes;
    if (text.empty()) return boxes;
    for (const auto& entry : split(text, ',')) {
        auto parts = split(entry, '*');
        if (parts.size() != 2) return std::nullopt;
        auto show = to_flag(parts[0]);
        auto index = to_int<std::int16_t>(parts[1]);
        if (!show || !index) return std::nullopt;
        boxes.push_back({*show, *index});
    }
    return boxes;
}

std::string result_box_text(const std::vector<ResultBoxType>& boxes) {
    std::string out;
    for (const auto& b : boxes) {
        if (!out.empty()) out += ',';
        out += flag_text(b.ShowRes) + "*" + std::to_string(b.ResTextIndex);
    }
    return out;
}

std::optional<std::vector<std::int16_t>> parse_table_items(const std::string& text) {
    std::vector<std::int16_t> items;
    if (text.empty()) return items;
    for (const auto& part : split(text, ',')) {
        auto n = to_int<std::int16_t>(part);
        if (!n) return std::nullopt;
        items.push_back(*n);
    }
    return items;
}

std::string table_items_text(const std::vector<std::int16_t>& items) {
    if (items.empty()) return kDefaultTableResult;
    std::string out;
    for (auto n : items) out += std::to_string(n) + ",";
    out.pop_back();
    return out;
}

void load_settings(LibraryState& state) {
    const Reader ini(settings_read_file());

    state.word_processor_found = state.startup.word_processor && state.startup.word_processor();

    SettingsType& g = state.Settings;
    g.FluidsDB = GetSettingHXQ("HXQ", "Settings", "DBFluid2000", "");
    g.ConvertDB = GetSettingHXQ("HXQ", "Settings", "ConvertDB", "");
    g.HXQDB = GetSettingHXQ("HXQ", "Settings", "HXQnew", "");
    g.LanguageDB = ini.text("DBLang", "");
    g.OldFluidsDB = ini.text("DBFluid", "");

    UserSettingsType u;
    u.EditorPath = ini.text("EditorPath", "");
    if (u.EditorPath.empty() && state.startup.editor_path) u.EditorPath = state.startup.editor_path();
    u.ToolbarVisible = ini.flag("Toolbar", true, kHXQ);
    u.CompactMode = ini.flag("Compact", false, kHXQ);
    u.UseStock = ini.flag("StockSPC", true);
    u.SaveIndataDB = ini.text("DBSave", "");
    u.HXQSavesDB = ini.text("HXQSave", "");
    u.UserFluidsDB = ini.text("DBUserfluid2000", "");
    u.language.sName = ini.text("Language", "English");
    u.language.iOffset = ini.number<std::int16_t>("offset", 0);
    u.UseBackgroundPic = ini.flag("BackGround", true);
    u.UseSmallIcons = ini.flag("SmallIcon", false);
    u.BackGroundColor = ini.number<std::int32_t>("BGColor", 0);
    u.UseQDF = ini.flag("UseQDFF", true);
    u.QDFPath = ini.text("QDFFile", "");
    u.StartUpCalcType = ini.number<std::int16_t>("CalcType", 0);
    u.StartUpCalcMethod = ini.number<std::int16_t>("CalcMethod", 0);
    u.StockDB = ini.text("DBStock", "");
    u.TempLang = ini.text("TempLang", "English");
    u.TempDotSPC = ini.text("TempDotSPC", "SPC_quote");
    u.TempDotCON = ini.text("TempDotCON", "CON_quote");
    u.TempDotVAP = ini.text("TempDotVAP", "VAP_quote");
    u.OptimizeParallel = ini.flag("Optimize", true);
    u.NoParallelUnits = ini.number<std::int16_t>("Parallell", 1);
    u.NoUnitsSerie = ini.number<std::int16_t>("Serie", 1);
    u.EvapFixedOutTemp = ini.flag("Fixed", false);
    u.UseOldFluids = ini.flag("OldFluids", true);
    u.UseDisclaimer = ini.flag("UseDisclaimer", false);
    u.UseWord = ini.flag("UseMSWord", false) && state.word_processor_found;
    u.UnitsSystem = ini.number<std::uint8_t>("UnitSystem", 0);
    u.NrResults = ini.number<std::int16_t>("NrOfResult", 7);
    u.TableTitle = ini.flag("TableTitle", false);
    u.PrintOutType = ini.number<std::int16_t>("PrintOutType", 0);
    u.ShowInfo = ini.flag("ShowInfo", false);
    for (std::size_t i = 0; i < u.header.size(); ++i)
        u.header[i] = ini.text(("Address" + std::to_string(i + 1)).c_str(), "");
    u.ResultBox = parse_result_box(ini.text("ResultBox", kDefaultResultBox))
                      .value_or(*parse_result_box(kDefaultResultBox));
    std::string table_result = ini.text("TableResult", kDefaultTableResult);
    auto items = parse_table_items(table_result);
    if (!items) {
        table_result = kDefaultTableResult;
        items = parse_table_items(table_result);
    }
    u.SelectedTableItems = *items;
    u.TableBox.assign(u.SelectedTableItems.size(), Tabletype{});

    DerivedSettings& d = state.derived;
    d.StartCalcType = to_byte(u.StartUpCalcType);
    d.StartCalcMethod = to_byte(u.StartUpCalcMethod);
    d.SerieUnits = to_byte(u.NoUnitsSerie);
    d.ParallellUnits = to_byte(u.NoParallelUnits);
    d.OptimizeParallel = u.OptimizeParallel;
    d.EvapFixedOutTemp = u.EvapFixedOutTemp;
    d.UseStock = u.UseStock;
    d.UseBackgroundPic = u.UseBackgroundPic;
    d.UseSmallIcons = u.UseSmallIcons;
    d.UseOldFluids = u.UseOldFluids;
    d.NrResults = u.NrResults;
    d.UseDisclaimer = u.UseDisclaimer;
    d.UseWord = u.UseWord;
    d.BackGroundColor = u.BackGroundColor;
    d.AddressLines = u.header;
    d.TableResultItems = table_result.empty() ? std::vector<std::string>{} : split(table_result, ',');
    d.UseQDFF = u.UseQDF;
    d.QDFPath = u.QDFPath;

    // Indexes into a caption table that nothing fills; one beyond it names no caption.
    state.UnitCaptions = {};
    auto captions = split(ini.text("Units", ""), ';');
    for (std::size_t i = 0; i < captions.size() && i < kUnitCaptionEntries; ++i) {
        auto index = to_int<int>(captions[i]);
        if (index && *index >= 0 && *index < static_cast<int>(kUnitCaptionTableSize))
            state.UnitCaptions[i] = state.UnitCaptionTable[static_cast<std::size_t>(*index)];
    }

    std::uint8_t system = u.UnitsSystem;
    if (system == kUnitSystemSI) fill_output_units(d.OutputUnits, std::string(kSIOutputUnits));
    else if (system == kUnitSystemUS) fill_output_units(d.OutputUnits, std::string(kUSOutputUnits));
    else if (system == kUnitSystemUser) fill_output_units(d.OutputUnits, ini.text("OutputUnits", std::string(kSIOutputUnits)));
    d.OutputUnitSystem = system;

    state.UserSettings = std::move(u);
    state.settings_loaded = true;
}

bool save_settings(const LibraryState& state) {
    const UserSettingsType& u = state.UserSettings;
    const auto file = settings_write_file();
    try {
        platform::ProfileFile ini = platform::ProfileFile::load(file);
        // Texts go in their quoted form where needed, so an address line indented with
        // blanks comes back indented.
        auto put = [&](const char* key, const std::string& value, const char* section = kAction) {
            ini.set(section, key, platform::profile_text(value));
        };
        put("CalcType", std::to_string(u.StartUpCalcType), kTQSIni);
        put("CalcMethod", std::to_string(u.StartUpCalcMethod), kTQSIni);
        put("EditorPath", u.EditorPath);
        put("Language", u.language.sName);
        put("Offset", std::to_string(u.language.iOffset));
        put("NrOfResult", std::to_string(u.NrResults));
        put("Serie", std::to_string(u.NoUnitsSerie));
        put("Parallell", std::to_string(u.NoParallelUnits));
        put("Optimize", flag_text(u.OptimizeParallel));
        put("StockSPC", word_text(u.UseStock));
        put("Fixed", flag_text(u.EvapFixedOutTemp));
        put("UnitSystem", std::to_string(u.UnitsSystem));
        put("OutputUnits", OutputUnitsText(state.derived.OutputUnits));
        put("ResultBox", result_box_text(u.ResultBox));
        put("TableResult", table_items_text(u.SelectedTableItems));
        put("OldFluids", flag_text(u.UseOldFluids));
        put("BackGround", flag_text(u.UseBackgroundPic));
        put("BGColor", std::to_string(u.BackGroundColor));
        put("SmallIcon", flag_text(u.UseSmallIcons));
        put("TempLang", u.TempLang);
        put("TempDotSPC", u.TempDotSPC);
        put("TempDotCON", u.TempDotCON);
        put("TempDotVAP", u.TempDotVAP);
        put("TableTitle", word_text(u.TableTitle));
        put("PrintOutType", std::to_string(u.PrintOutType));
        put("ShowInfo", flag_text(u.ShowInfo));
        for (std::size_t i = 0; i < u.header.size(); ++i)
            put(("Address" + std::to_string(i + 1)).c_str(), u.header[i]);
        put("UseMSWord", flag_text(u.UseWord));
        put("UseDisclaimer", flag_text(u.UseDisclaimer));
        put("UseQDFF", flag_text(u.UseQDF));
        put("QDFFile", u.QDFPath);
        // The start type and method are read from "Action"; written only to "TQS INI"
        // (where the host reads them) they would never come back.
        put("CalcType", std::to_string(u.StartUpCalcType));
        put("CalcMethod", std::to_string(u.StartUpCalcMethod));
        ini.save(file);
        return true;
    } catch (const platform::Error&) {
        return false;
    }
}

bool save_print_out_type(const LibraryState& state) {
    return platform::write_profile_string(kAction, "PrintOutType", std::to_string(state.UserSettings.PrintOutType),
                                          settings_write_file());
}

}  // namespace hxq::settings
