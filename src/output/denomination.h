// The denomination of an exchanger as the product selector wrote it into the product
// data file (.qdf): its model description from the selector database with the base
// article's denomination, or for a configured unit the connections it was built with.
#pragma once

#include "platform/db.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace hxq::output {

// The section type of a unit configured port by port instead of a base article.
inline constexpr std::string_view kConfiguredType = "CONFIG";

// One exchanger of the product data file with what the selector database says of it.
struct ProductDenomination {
    std::string Text;           // Description + " (" + denomination or connections + ")"
    std::string Type;           // "Type": the unit's article code, or "CONFIG"
    std::string ArtNo;          // "ArtNo": base article number (CONFIG: the article code)
    std::string ModelCode;      // the Models key: the first three fields of the article code
    std::int16_t Plates = 0;    // "<n>Plates"
    std::string PlateMaterial;  // "Plate" of XPCmaterial for the code's material; empty if none
};

// The product data file used when the caller names none: "tqs.qdf" in the data folder
// (the host's program folder).
std::filesystem::path default_product_data_file();

// Reads section "HXQ" + `exchanger` of `qdf_file` and looks it up in the selector
// database `database`. Errors: 53 for a missing file, 5 for a missing section or key,
// 3024 for a missing database, kObjectError + 666 for a row that is not there.
ProductDenomination read_denomination(const std::filesystem::path& qdf_file, int exchanger,
                                      const std::string& database);

// The exchanger of the product data file `qdf_file` (empty: the default one) in the
// selector database the settings name (HXQSelector/Info/DBPath, default ps.dat in the
// program folder), as Get_Denomination reads it.
ProductDenomination product_denomination(const std::string& qdf_file);

// The connection text of a configured unit from its "F" (frame plate) and "P" (pressure
// plate) entries: see docs/extra-sheets.md.
std::string configured_connections(platform::Database& db, const std::string& frame_ports,
                                   const std::string& pressure_ports);

// The short description of connection article `art_no`; "N/A" when there is none.
std::string connection_short_description(platform::Database& db, const std::string& art_no);

}  // namespace hxq::output
