// The library-wide state, all in one place: the values the host hands over through
// clsMisc, the settings records loaded by the first clsOption with the values derived
// from them at that moment, and the prompter every dialog talks through. The unit and
// group tables live beside it in settings/unit_tables.h.
#pragma once

#include "settings/settings_types.h"
#include "settings/unit_tables.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace hxq::platform {
class Printer;
class Prompter;
}

namespace hxq::settings {

// One node of the host's model tree view, as far as the library looks at it.
struct XerNode {
    std::string Key;
    std::string Text;
    std::string Tag;
};
using XerNodeCollection = std::vector<XerNode>;

// Values the host sets through clsMisc and every class reads.
struct HostValues {
    std::string IniFilePath;    // every settings read comes from this file
    std::string WorkingPath;    // settings are written to its "hxq.ini"
    std::string ExePath;
    std::string UsrLev;         // user level letter(s) of the model filters
    bool ValidPS = false;       // the product data file is valid
    std::string TQSAppVersion;  // printed on documents
    // The reference entry's texts printed on every document, kept until entered again.
    std::string Customer;
    std::string OurRef;
    std::string Reference;
    std::string HelpFile;
    std::vector<std::string> ErrorTexts;  // ErrMsg
    std::vector<std::string> SPCWarnings;
    std::vector<std::string> CONWarnings;
    std::vector<std::string> VAPWarnings;
    std::shared_ptr<const XerNodeCollection> XerNodes;
};

// Values fixed when the settings are loaded; later changes of the user settings leave
// them alone (the host re-creates what depends on them).
struct DerivedSettings {
    std::uint8_t StartCalcType = 0;
    std::uint8_t StartCalcMethod = 0;
    std::uint8_t SerieUnits = 1;
    std::uint8_t ParallellUnits = 1;
    bool OptimizeParallel = true;
    bool EvapFixedOutTemp = false;
    bool UseStock = true;
    bool UseBackgroundPic = true;
    bool UseSmallIcons = false;
    bool UseOldFluids = true;
    std::int16_t NrResults = 7;
    bool UseDisclaimer = false;
    bool UseWord = false;
    std::int32_t BackGroundColor = 0;
    std::array<std::string, 5> AddressLines;
    std::vector<std::string> TableResultItems;  // the "TableResult" text split at ","
    bool UseQDFF = true;                        // the host may change it
    std::string QDFPath;
    std::uint8_t OutputUnitSystem = 0;
    OutputUnitsType OutputUnits;
};

// What the document layer finds on this machine at start-up: whether documents have a
// word processor, and the editor program for previews. It installs these; without it
// there is no word processor and no editor.
struct StartupDetection {
    std::function<bool()> word_processor;
    std::function<std::string()> editor_path;
};

// Entries of the "Units" key and the caption table its indexes point into.
inline constexpr std::size_t kUnitCaptionEntries = 22;
inline constexpr std::size_t kUnitCaptionTableSize = 24;

struct LibraryState {
    HostValues host;
    SettingsType Settings;
    UserSettingsType UserSettings;
    bool settings_loaded = false;
    DerivedSettings derived;
    bool word_processor_found = false;  // noted at load for the options dialog
    std::array<std::string, kUnitCaptionTableSize> UnitCaptionTable;  // filled by nobody
    std::array<std::string, kUnitCaptionEntries> UnitCaptions;
    StartupDetection startup;
    std::shared_ptr<platform::Prompter> prompter;
    std::shared_ptr<platform::Printer> printer;
    // The print language name the form fonts and the documents' font table follow; set by
    // the host (nothing of the library assigns it), "" substitutes nothing.
    std::string PrintLanguage;
};

LibraryState& library_state();

// Back to a freshly started library (tests; a host that re-initialises).
void reset_library_state();

// The prompter of the library's dialogs: the host's, or a scripted one that answers
// every question with its default and records it.
platform::Prompter& prompter();
void set_prompter(std::shared_ptr<platform::Prompter> prompter);

// The printer the previews measure on: the host's, or an A4 printer with the metrics of
// the installed fonts.
platform::Printer& printer();
void set_printer(std::shared_ptr<platform::Printer> printer);

// The file settings are read from (IniFilePath) and the one they are written to: "hxq.ini"
// in the working folder, the current folder while the host has set none.
std::filesystem::path settings_read_file();
std::filesystem::path settings_write_file();

}  // namespace hxq::settings
