#include "platform/rtf_merge.h"

#include "platform/code_page.h"

#include <algorithm>
#include <cctype>

namespace hxq::platform {
namespace {

bool is_alpha(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool is_digit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// The index just past the group opened at `open` (text[open] == '{'); text.size() when
// the group is never closed.
std::size_t group_end(std::string_view text, std::size_t open) {
    int depth = 0;
    for (std::size_t i = open; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\') {
            ++i;  // an escaped brace or backslash, or the first letter of a control word
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            return i + 1;
        }
    }
    return text.size();
}

// Whether a control word `word` starts at `at` (at the backslash) and ends there.
bool control_word_at(std::string_view text, std::size_t at, std::string_view word) {
    if (text.substr(at, word.size() + 1) != std::string("\\") + std::string(word)) return false;
    const std::size_t after = at + word.size() + 1;
    return after >= text.size() || !is_alpha(text[after]);
}

// The group in [from, to) that holds control word `word`: its '{' and its end.
struct Span {
    std::size_t begin = std::string_view::npos;
    std::size_t end = std::string_view::npos;
    bool found() const { return begin != std::string_view::npos; }
};

Span group_holding(std::string_view text, std::size_t from, std::size_t to, std::string_view word) {
    const std::string needle = "\\" + std::string(word);
    for (std::size_t at = text.find(needle, from); at != std::string_view::npos && at < to;
         at = text.find(needle, at + 1)) {
        if (!control_word_at(text, at, word)) continue;
        const std::size_t open = text.rfind('{', at);
        if (open == std::string_view::npos || open < from) return {};
        return {open, std::min(group_end(text, open), to)};
    }
    return {};
}

// Reads a control word or symbol at text[at] == '\\'; returns the index past it (and
// the blank that ends a word).
std::size_t skip_control(std::string_view text, std::size_t at) {
    std::size_t i = at + 1;
    if (i >= text.size()) return i;
    if (!is_alpha(text[i])) {
        if (text[i] == '\'') return std::min(text.size(), i + 3);
        return i + 1;
    }
    while (i < text.size() && is_alpha(text[i])) ++i;
    if (i < text.size() && text[i] == '-') ++i;
    while (i < text.size() && is_digit(text[i])) ++i;
    if (i < text.size() && text[i] == ' ') ++i;
    return i;
}

int hex_value(char c) {
    if (is_digit(c)) return c - '0';
    const char l = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return l >= 'a' && l <= 'f' ? l - 'a' + 10 : 0;
}

// The plain text of a group: control words dropped, escapes resolved (bytes of the
// template's code page), braces dropped.
std::string plain_text(std::string_view text, int code_page) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next == '\\' || next == '{' || next == '}') {
                bytes += next;
                i += 2;
            } else if (next == '\'' && i + 3 < text.size()) {
                bytes += static_cast<char>(hex_value(text[i + 2]) * 16 + hex_value(text[i + 3]));
                i += 4;
            } else {
                i = skip_control(text, i);
            }
        } else {
            if (c != '{' && c != '}' && c != '\r' && c != '\n') bytes += c;
            ++i;
        }
    }
    return from_code_page(bytes, code_page);
}

// The character formatting of a field's shown result: its control words, without the
// ones that are text ("\'hh", "\uN") or that open destinations.
std::string result_formatting(std::string_view result) {
    std::string controls;
    for (std::size_t i = 0; i < result.size();) {
        if (result[i] != '\\') {
            ++i;
            continue;
        }
        const std::size_t end = skip_control(result, i);
        std::string_view word = result.substr(i, end - i);
        bool text_like = word.size() < 2 || !is_alpha(word[1]);
        for (const char* breaking : {"u", "fldrslt", "par", "line", "tab", "sect", "page", "cell", "row"})
            text_like = text_like || control_word_at(result, i, breaking);
        if (!text_like) {
            std::string w(word);
            while (!w.empty() && w.back() == ' ') w.pop_back();
            controls += w;
        }
        i = end;
    }
    return controls;
}

int template_code_page(std::string_view rtf) {
    const std::size_t at = rtf.find("\\ansicpg");
    if (at == std::string_view::npos) return 1252;
    int cp = 0;
    for (std::size_t i = at + 8; i < rtf.size() && is_digit(rtf[i]); ++i) cp = cp * 10 + (rtf[i] - '0');
    return cp == 1250 || cp == 1251 || cp == 1252 ? cp : 1252;
}

}  // namespace

std::string merge_rtf(std::string_view text, const MergeData& data, MergeReport& report) {
    const int code_page = template_code_page(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\\') {  // keep escapes whole so "\{" never opens a group here
            const std::size_t end = std::min(text.size(), i + 2);
            out.append(text.substr(i, end - i));
            i = end;
            continue;
        }
        if (c != '{' || !control_word_at(text, i + 1, "field")) {
            out += c;
            ++i;
            continue;
        }
        const std::size_t end = group_end(text, i);
        const Span instruction = group_holding(text, i + 1, end, "fldinst");
        const auto name = instruction.found()
                              ? merge_field_name(plain_text(text.substr(instruction.begin, instruction.end - instruction.begin), code_page))
                              : std::nullopt;
        if (!name) {  // another kind of field: copied, fields nested in it are still merged
            out += c;
            ++i;
            continue;
        }
        const Span result = group_holding(text, instruction.end, end, "fldrslt");
        const std::string formatting =
            result.found() ? result_formatting(text.substr(result.begin, result.end - result.begin)) : std::string();
        std::string value;
        if (const auto found = data.value(*name)) {
            value = *found;
        } else {
            value = "\xC2\xAB" + *name + "\xC2\xBB";  // «name»
            if (std::find(report.missing_fields.begin(), report.missing_fields.end(), *name) ==
                report.missing_fields.end())
                report.missing_fields.push_back(*name);
        }
        // The blank ends the last control word; without one it would be text.
        out += "{" + formatting + (formatting.empty() ? "" : " ") + rtf_text(value, code_page) + "}";
        i = end;
    }
    return out;
}

}  // namespace hxq::platform
