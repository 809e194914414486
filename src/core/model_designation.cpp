#include "core/model_designation.h"

#include <algorithm>
#include <cctype>
#include <numeric>

namespace hxq::core {

namespace {

// The leading number of a text, as a number reading of "12H" gives 12.
int leading_number(const std::string& text) {
    std::size_t i = text.find_first_not_of(' ');
    int value = 0;
    for (; i != std::string::npos && i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = value * 10 + (text[i] - '0');
    return value;
}

std::string trim(const std::string& s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string without_brackets(std::string s) {
    s.erase(std::remove_if(s.begin(), s.end(), [](char c) { return c == '(' || c == ')'; }), s.end());
    return s;
}

struct Side {
    std::string text;         // as written
    std::vector<int> counts;  // one per channel type
    bool mixed = false;
};

Side parse_side(const std::string& raw) {
    Side side;
    side.text = trim(raw);
    if (side.text.find('+') == std::string::npos) {
        if (!side.text.empty()) side.counts.push_back(leading_number(side.text));
        return side;
    }
    side.mixed = true;
    std::size_t start = 0;
    while (side.counts.size() < 2) {
        std::size_t end = side.text.find('+', start);
        side.counts.push_back(leading_number(side.text.substr(start, end - start)));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return side;
}

std::string write_side(const Side& side, const char* first, const char* second) {
    if (!side.mixed) return side.text;
    std::string out = std::to_string(side.counts[0]) + first;
    if (side.counts.size() > 1) out += "+" + std::to_string(side.counts[1]) + second;
    return out;
}

// The channel type letters of a single-type side ("19H" -> "H").
std::string type_letters(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == ' ')) ++i;
    return text.substr(i);
}

bool contains_any(const std::string& text, const std::vector<std::string>& codes) {
    return std::any_of(codes.begin(), codes.end(),
                       [&](const std::string& c) { return !c.empty() && text.find(c) != std::string::npos; });
}

}  // namespace

std::string FormatModelDesignation(std::string& designation, std::int16_t plates, const std::string& side1,
                                   const std::string& side2, bool halves, const DesignationRules& rules) {
    std::string text1 = side1;
    std::string text2 = side2;
    int passes = 1;
    if (std::size_t star = text1.find('*'); star != std::string::npos) {
        passes = std::max(leading_number(text1.substr(0, star)), 1);
        text1 = without_brackets(text1.substr(star + 1));
        if (std::size_t star2 = text2.find('*'); star2 != std::string::npos) text2 = text2.substr(star2 + 1);
        text2 = without_brackets(text2);
    }
    const Side s1 = parse_side(text1);
    const Side s2 = parse_side(text2);

    int plate_count = plates;
    if (contains_any(side1, rules.PlatesFromChannels)) {
        const int c1 = std::accumulate(s1.counts.begin(), s1.counts.end(), 0);
        const int c2 = std::accumulate(s2.counts.begin(), s2.counts.end(), 0);
        plate_count = passes * c1 + 1 + passes * c2;
    }
    std::string plate_text = std::to_string(plate_count);
    if (halves) {
        const int first = plate_count / 2;
        plate_text = std::to_string(first) + "x" + std::to_string(plate_count - first);
    }

    std::string model = designation;
    if (std::find(rules.DropTrailingLetter.begin(), rules.DropTrailingLetter.end(), model) !=
            rules.DropTrailingLetter.end() &&
        !model.empty() && std::isalpha(static_cast<unsigned char>(model.back())))
        model.pop_back();

    const bool h = side1.find('H') != std::string::npos;
    const char* first = h ? "H" : "M";
    const char* second = h ? "M" : "L";
    std::string channels;
    if (s1.text.empty() && s2.text.empty()) {
        channels.clear();
    } else if (!s1.mixed && !s2.mixed && type_letters(s1.text) == type_letters(s2.text)) {
        channels = type_letters(s1.text);
    } else {
        channels = " (" + write_side(s1, first, second) + ", " + write_side(s2, first, second) + ")";
    }
    designation = model + "x" + plate_text + channels + "/" + std::to_string(passes) + "P";
    return designation;
}

}  // namespace hxq::core
