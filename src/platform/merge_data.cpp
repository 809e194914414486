#include "platform/merge_data.h"

#include "platform/code_page.h"
#include "platform/error.h"

#include <cctype>
#include <fstream>
#include <iterator>

namespace hxq::platform {
namespace {

std::vector<std::string> split(std::string_view line) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = line.find(';', start);
        parts.emplace_back(line.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) break;
        start = at + 1;
    }
    return parts;
}

std::string without_quotes(std::string_view name) {
    std::string out;
    for (char c : name)
        if (c != '\'') out += c;
    return out;
}

bool iequal(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

MergeData::MergeData(std::string_view header_line, std::string_view value_line) {
    const auto names = split(header_line);
    const auto values = split(value_line);
    for (std::size_t i = 0; i < names.size(); ++i)
        fields_.emplace_back(names[i], i < values.size() ? values[i] : std::string());
}

MergeData MergeData::read(const std::filesystem::path& file, int code_page) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) throw Error(53, "MergeData", "File not found: " + file.string());
    std::ifstream in(file, std::ios::binary);
    if (!in) throw Error(75, "MergeData", "Path/File access error: " + file.string());
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // Characters the code page lacks were written as "\uN?" escapes.
    const std::string text = decode_unicode_escapes(from_code_page(bytes, code_page));
    const auto line_end = [&](std::size_t from) {
        const std::size_t at = text.find('\n', from);
        return at == std::string::npos ? text.size() : at;
    };
    const auto trimmed = [&](std::size_t from, std::size_t to) {
        if (to > from && text[to - 1] == '\r') --to;
        return std::string_view(text).substr(from, to - from);
    };
    const std::size_t first_end = line_end(0);
    const std::size_t second_start = std::min(first_end + 1, text.size());
    return MergeData(trimmed(0, first_end), trimmed(second_start, line_end(second_start)));
}

std::optional<std::string> MergeData::value(std::string_view name) const {
    for (const auto& [field, value] : fields_)
        if (field == name) return value;
    const std::string bare = without_quotes(name);
    for (const auto& [field, value] : fields_)
        if (iequal(without_quotes(field), bare)) return value;
    return std::nullopt;
}

std::optional<std::string> merge_field_name(std::string_view instruction) {
    std::size_t at = 0;
    const auto skip_blanks = [&] {
        while (at < instruction.size() && std::isspace(static_cast<unsigned char>(instruction[at]))) ++at;
    };
    skip_blanks();
    constexpr std::string_view kKeyword = "MERGEFIELD";
    if (!iequal(instruction.substr(at, kKeyword.size()), kKeyword)) return std::nullopt;
    at += kKeyword.size();
    if (at < instruction.size() && !std::isspace(static_cast<unsigned char>(instruction[at]))) return std::nullopt;
    skip_blanks();
    if (at >= instruction.size()) return std::nullopt;
    std::string name;
    if (instruction[at] == '"') {  // a quoted name may hold blanks
        const std::size_t end = instruction.find('"', at + 1);
        name = std::string(instruction.substr(at + 1, end == std::string_view::npos ? end : end - at - 1));
    } else {
        while (at < instruction.size() && !std::isspace(static_cast<unsigned char>(instruction[at])) &&
               instruction[at] != '\\')
            name += instruction[at++];
    }
    if (name.empty()) return std::nullopt;
    return name;
}

}  // namespace hxq::platform
