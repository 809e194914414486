#include "output/denomination.h"

#include "output/cls_output.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "settings/library_state.h"
#include "settings/settings_store.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

namespace hxq::output {
namespace {

constexpr const char* kSource = "Get_Denomination";
constexpr std::string_view kNotAvailable = "N/A";

// A value inside the quotes of a fixed query text.
std::string sql_text(std::string_view value) {
    std::string out;
    for (char c : value) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

// A connection article number goes into its query unquoted, so it must be a number.
std::string article_number(std::string_view text) {
    std::string trimmed(text);
    trimmed.erase(0, trimmed.find_first_not_of(' '));
    trimmed.erase(trimmed.find_last_not_of(' ') + 1);
    const bool digits = !trimmed.empty() && trimmed.size() <= 18 &&
                        std::all_of(trimmed.begin(), trimmed.end(), [](unsigned char c) { return std::isdigit(c); });
    if (!digits) throw platform::Error(13, kSource, fmt::format("Type mismatch: connection article number '{}'", text));
    return trimmed;
}

std::string field_text(const platform::Recordset& rs, std::string_view field) {
    const platform::Variant& v = rs.Fields(field);
    return v.is_null() || v.is_empty() ? std::string() : v.as_text();
}

// The "*"-separated fields of an article code.
std::vector<std::string> code_fields(const std::string& code) {
    std::vector<std::string> out;
    std::stringstream in(code);
    std::string part;
    while (std::getline(in, part, '*')) out.push_back(part);
    return out;
}

std::vector<std::string> port_entries(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ';')) {
        part.erase(0, part.find_first_not_of(' '));
        part.erase(part.find_last_not_of(' ') + 1);
        if (!part.empty() && part != "0") out.push_back(part);
    }
    return out;
}

// One plate's ports: equal codes counted ("2*CT16"), kinds joined by "+" in the order
// they first appear.
std::string plate_connections(platform::Database& db, const std::string& ports) {
    std::vector<std::pair<std::string, int>> kinds;
    for (const std::string& entry : port_entries(ports)) {
        platform::Recordset rs = db.OpenRecordset(
            "SELECT [Connection XPC],[Denomination],[Height] FROM [Connections] WHERE [ArtNo]=" +
            article_number(entry));
        const std::string code = rs.Eof() ? std::string(kNotAvailable) : field_text(rs, "Connection XPC");
        auto found = std::find_if(kinds.begin(), kinds.end(), [&](const auto& k) { return k.first == code; });
        if (found == kinds.end())
            kinds.emplace_back(code, 1);
        else
            ++found->second;
    }
    std::string text;
    for (const auto& [code, count] : kinds)
        text += (text.empty() ? "" : "+") + (count > 1 ? fmt::format("{}*{}", count, code) : code);
    return text;
}

}  // namespace

std::filesystem::path default_product_data_file() {
    const std::string& exe = settings::library_state().host.ExePath;
    const std::string folder = exe.empty() ? platform::application_path().string() : exe;
    return platform::native_path(platform::join_path(folder, "\\tqs.qdf"));
}

std::string configured_connections(platform::Database& db, const std::string& frame_ports,
                                   const std::string& pressure_ports) {
    const std::string frame = plate_connections(db, frame_ports);
    const std::string pressure = plate_connections(db, pressure_ports);
    if (frame.empty() || pressure.empty()) return frame + pressure;
    return frame + " / " + pressure;
}

std::string connection_short_description(platform::Database& db, const std::string& art_no) {
    platform::Recordset rs = db.OpenRecordset("SELECT ShortDesc FROM Connections WHERE ArtNo=" + article_number(art_no));
    if (rs.Eof()) return std::string(kNotAvailable);
    const std::string text = field_text(rs, "ShortDesc");
    return text.empty() ? std::string(kNotAvailable) : text;
}

ProductDenomination read_denomination(const std::filesystem::path& qdf_file, int exchanger,
                                      const std::string& database) {
    if (!platform::file_exists(qdf_file))
        throw platform::Error(53, kSource, "File not found: the product data file " + qdf_file.string());
    const platform::ProfileFile qdf = platform::ProfileFile::load(qdf_file);
    const std::string section = fmt::format("HXQ{}", exchanger);
    if (!qdf.has_section(section))
        throw platform::Error(5, kSource,
                              fmt::format("Invalid procedure call or argument: the product data file {} has no "
                                          "exchanger [{}]",
                                          qdf_file.string(), section));
    const auto required = [&](std::string_view key) {
        const std::string value = qdf.read(section, key, "");
        if (value.empty())
            throw platform::Error(5, kSource,
                                  fmt::format("Invalid procedure call or argument: [{}] of {} has no {}", section,
                                              qdf_file.string(), key));
        return value;
    };

    ProductDenomination out;
    out.Type = required("Type");
    out.ArtNo = required("ArtNo");
    const auto plates = qdf.read(section, fmt::format("{}Plates", exchanger), "0");
    try {
        out.Plates = static_cast<std::int16_t>(std::stoi(plates));
    } catch (const std::exception&) {
        out.Plates = 0;  // the count is informative only; a damaged entry does not stop the text
    }
    const bool configured = out.Type == kConfiguredType;
    // A configured unit has no base article: its article code stands in "ArtNo".
    const std::vector<std::string> fields = code_fields(configured ? out.ArtNo : out.Type);
    if (fields.size() < 3)
        throw platform::Error(5, kSource,
                              fmt::format("Invalid procedure call or argument: '{}' of [{}] is no article code",
                                          configured ? out.ArtNo : out.Type, section));
    out.ModelCode = fields[0] + "*" + fields[1] + "*" + fields[2];

    platform::Database db = platform::OpenDatabase(platform::native_path(database), true);
    std::string detail;
    if (configured) {
        detail = configured_connections(db, qdf.read(section, "F", ""), qdf.read(section, "P", ""));
    } else {
        platform::Recordset rs = db.OpenRecordset("SELECT [Denomination] FROM [BaseArticleNumbers] WHERE [BaseArtNo]='" +
                                                  sql_text(out.ArtNo) + "'");
        if (rs.Eof())
            throw platform::object_error(666, kSource, "No base article " + out.ArtNo + " in BaseArticleNumbers");
        detail = field_text(rs, "Denomination");
    }
    {
        platform::Recordset rs = db.OpenRecordset("SELECT [Description],[XPC] FROM [Models] WHERE [XPC]='" +
                                                  sql_text(out.ModelCode) + "'");
        if (rs.Eof()) throw platform::object_error(666, kSource, "No model " + out.ModelCode + " in Models");
        out.Text = field_text(rs, "Description") + " (" + detail + ")";
    }
    if (fields.size() >= 4) {
        platform::Recordset rs =
            db.OpenRecordset("SELECT [Plate] FROM [XPCmaterial] WHERE [Material]='" + sql_text(fields[3]) + "'");
        if (!rs.Eof()) out.PlateMaterial = field_text(rs, "Plate");
    }
    return out;
}

ProductDenomination product_denomination(const std::string& qdf_file) {
    const std::filesystem::path file =
        qdf_file.empty() ? default_product_data_file() : std::filesystem::path(platform::native_path(qdf_file));
    const std::string exe = settings::library_state().host.ExePath;
    const std::string folder = exe.empty() ? platform::application_path().string() : exe;
    const std::string database =
        settings::GetSettingHXQ("HXQSelector", "Info", "DBPath", platform::join_path(folder, "\\ps.dat"));
    return read_denomination(file, 1, database);
}

std::string clsOutput::Get_Denomination(const std::string& sQDFFile) { return product_denomination(sQDFFile).Text; }

}  // namespace hxq::output
