#include "settings/cls_misc.h"

#include "platform/error.h"
#include "platform/registry.h"
#include "settings/settings_store.h"

#include <cctype>
#include <cmath>

namespace hxq::settings {

namespace {

using Key = double (*)(const TextMatrix&, std::size_t row, std::size_t column);

void check_rows(const TextMatrix& m, std::int16_t ind) {
    if (m.empty()) return;
    std::size_t columns = m.front().size();
    bool ragged = false;
    for (const auto& row : m) ragged = ragged || row.size() != columns;
    if (columns > 0 && (ragged || m.size() <= kSortKeyRow || ind < 0 || static_cast<std::size_t>(ind) >= m.size()))
        throw platform::Error(9, "clsMisc", "Subscript out of range");
}

double value(const TextMatrix& m, std::size_t row, std::size_t column) { return Val(m[row][column]); }

void swap_columns(TextMatrix& m, std::size_t a, std::size_t b) {
    for (auto& row : m) std::swap(row[a], row[b]);
}

// The exchange pass both sorts share: for j from the last column down, every i up to
// j is compared with j.
template <class Exchange>
void sort_columns(TextMatrix& m, std::int16_t ind, Exchange exchange) {
    check_rows(m, ind);
    if (m.empty() || m.front().empty()) return;
    for (std::size_t j = m.front().size(); j-- > 0;)
        for (std::size_t i = 0; i <= j; ++i)
            if (exchange(i, j)) swap_columns(m, i, j);
}

}  // namespace

double Val(const std::string& text) {
    std::string s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') s += c;
    std::size_t i = 0;
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) number += s[i++];
    bool digits = false;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) number += s[i++], digits = true;
    if (i < s.size() && s[i] == '.') {
        number += s[i++];
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) number += s[i++], digits = true;
    }
    if (!digits) return 0.0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exponent += s[j++];
        std::size_t start = j;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) exponent += s[j++];
        if (j > start) number += exponent;
    }
    double v = std::strtod(number.c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
}

void BubbleSortLowest(TextMatrix& Matrix, std::int16_t ind) {
    auto row = static_cast<std::size_t>(ind);
    sort_columns(Matrix, ind, [&](std::size_t i, std::size_t j) {
        double ki = value(Matrix, kSortKeyRow, i), kj = value(Matrix, kSortKeyRow, j);
        return ki > kj || (value(Matrix, row, i) > value(Matrix, row, j) && ki >= kj);
    });
}

void BubbleSortHighest(TextMatrix& Matrix, std::int16_t ind) {
    sort_columns(Matrix, ind, [&](std::size_t i, std::size_t j) {
        return value(Matrix, kSortKeyRow, i) < value(Matrix, kSortKeyRow, j);
    });
}

void clsMisc::IniFilePath(const std::string& path) { library_state().host.IniFilePath = path; }
void clsMisc::SetWorkingPath(const std::string& path) { library_state().host.WorkingPath = path; }
void clsMisc::SetExePath(const std::string& path) { library_state().host.ExePath = path; }
void clsMisc::UsrLev(const std::string& level) { library_state().host.UsrLev = level; }
void clsMisc::ErrMsg(const std::vector<std::string>& ErrArray) { library_state().host.ErrorTexts = ErrArray; }
void clsMisc::ValidPS(bool valid) { library_state().host.ValidPS = valid; }
void clsMisc::TQSAppVersion(const std::string& version) { library_state().host.TQSAppVersion = version; }
void clsMisc::Set_HelpFile(const std::string& sNewValue) { library_state().host.HelpFile = sNewValue; }

std::string clsMisc::GetSettingHXQ(const std::string& TheName, const std::string& ThePart, const std::string& TheKey,
                                   const std::string& DefValue) const {
    return settings::GetSettingHXQ(TheName, ThePart, TheKey, DefValue);
}

std::string clsMisc::SaveSettingHXQ(const std::string& TheName, const std::string& ThePart,
                                    const std::string& TheKey, const std::string& TheValue) const {
    return settings::SaveSettingHXQ(TheName, ThePart, TheKey, TheValue);
}

void clsMisc::DatabasePaths(const SettingsType& paths) { library_state().Settings = paths; }

void clsMisc::SetupWarningTexts(const std::vector<std::string>& SPCWarn, const std::vector<std::string>& CONWarn,
                                const std::vector<std::string>& VAPWarn) {
    auto& host = library_state().host;
    host.SPCWarnings = SPCWarn;
    host.CONWarnings = CONWarn;
    host.VAPWarnings = VAPWarn;
}

std::string clsMisc::GetRegValue(std::int32_t hClassKey, const std::string& sSectionKey,
                                 const std::string& sValueKey) const {
    return platform::GetRegValue(hClassKey, sSectionKey, sValueKey);
}

void clsMisc::SetRegValue(std::int32_t hClassKey, const std::string& sSectionKey, const std::string& sValueKey,
                          const std::string& sValue) const {
    platform::SetRegValue(hClassKey, sSectionKey, sValueKey, sValue);
}

void clsMisc::SetXerNodes(std::shared_ptr<const XerNodeCollection> xnodes) {
    library_state().host.XerNodes = std::move(xnodes);
}

}  // namespace hxq::settings
