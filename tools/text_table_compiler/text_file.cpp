#include "text_file.h"

#include "utf8.h"

#include <charconv>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace hxq::tools {

std::string Diagnostic::to_string() const {
    std::ostringstream out;
    out << path;
    if (line > 0) out << ':' << line;
    out << ": error: " << message;
    return out.str();
}

namespace {

std::string hex_byte(unsigned char b) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string("0x") + kDigits[b >> 4] + kDigits[b & 0xF];
}

// The problem of one line that is not a comment, or "" when it is a good entry.
std::string parse_entry(std::string_view line, TextLine& entry) {
    const std::size_t tab = line.find('\t');
    const std::string_view digits = line.substr(0, tab);
    const bool all_digits = !digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos;
    if (tab == std::string_view::npos || !all_digits)
        return "malformed line: expected an identifier, one tab and the text";
    int id = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), id);
    if (ec != std::errc() || end != digits.data() + digits.size() || id >= kBlockSpan)
        return "identifier " + std::string(digits) + " is outside the base range 0-" + std::to_string(kBlockSpan - 1);
    const std::string_view text = line.substr(tab + 1);
    if (text.empty()) return "identifier " + std::to_string(id) + " has an empty text";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7F)
            return "control character " + hex_byte(c) + " in the text of identifier " + std::to_string(id) +
                   " (column " + std::to_string(tab + 2 + i) + ")";
    }
    entry.id = id;
    entry.text = std::string(text);
    return {};
}

}  // namespace

TextFile read_text_file(const std::filesystem::path& path, std::vector<Diagnostic>& problems) {
    TextFile file;
    file.path = path.string();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        problems.push_back({file.path, 0, "cannot be read"});
        return file;
    }
    std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (content.rfind("\xEF\xBB\xBF", 0) == 0) content.erase(0, 3);

    std::map<int, int> first_line;  // identifier -> line it was first given on
    int number = 0;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        const std::string_view line(content.data() + start, end - start);
        start = end + 1;
        ++number;
        auto report = [&](std::string message) { problems.push_back({file.path, number, std::move(message)}); };

        if (const auto bad = first_invalid_utf8(line)) {
            report("not valid UTF-8 (byte " + hex_byte(static_cast<unsigned char>(line[*bad])) + " at column " +
                   std::to_string(*bad + 1) + ")");
            continue;
        }
        if (!line.empty() && line.back() == '\r') {
            report("carriage return at the end of the line (the files use LF line ends)");
            continue;
        }
        if (line.empty() || line.front() == '#') continue;

        TextLine entry;
        if (std::string problem = parse_entry(line, entry); !problem.empty()) {
            report(std::move(problem));
            continue;
        }
        entry.line = number;
        const auto [seen, fresh] = first_line.emplace(entry.id, number);
        if (!fresh) {
            report("identifier " + std::to_string(entry.id) + " repeated (first given on line " +
                   std::to_string(seen->second) + ")");
            continue;
        }
        file.entries.push_back(std::move(entry));
    }
    return file;
}

std::vector<Diagnostic> compare_with_base(const TextFile& base, const TextFile& language) {
    std::map<int, const TextLine*> in_base;
    std::map<int, const TextLine*> in_language;
    for (const auto& e : base.entries) in_base.emplace(e.id, &e);
    for (const auto& e : language.entries) in_language.emplace(e.id, &e);
    const std::string base_name = std::filesystem::path(base.path).filename().string();

    std::vector<Diagnostic> problems;
    for (const auto& e : language.entries)
        if (!in_base.count(e.id))
            problems.push_back({language.path, e.line, "identifier " + std::to_string(e.id) + " is not in " + base_name});
    for (const auto& e : base.entries)
        if (!in_language.count(e.id))
            problems.push_back({language.path, 0,
                                "identifier " + std::to_string(e.id) + " of " + base_name + " (line " +
                                    std::to_string(e.line) + ") is missing"});
    return problems;
}

}  // namespace hxq::tools
