#include "platform/code_page.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <stdexcept>
#include <string>

namespace hxq::platform {
namespace {

// One iconv conversion, closed when it goes.
class Converter {
public:
    Converter(const std::string& to, const std::string& from) {
        cd_ = iconv_open(to.c_str(), from.c_str());
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no conversion from " + from + " to " + to);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // The converted bytes of one character; empty when the target lacks it.
    std::string convert(std::string_view character) {
        std::array<char, 8> out{};
        char* in_ptr = const_cast<char*>(character.data());
        std::size_t in_left = character.size();
        char* out_ptr = out.data();
        std::size_t out_left = out.size();
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // a fresh shift state per character
        if (iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1)) return {};
        return std::string(out.data(), out.size() - out_left);
    }

private:
    iconv_t cd_;
};

std::string code_page_name(int code_page) { return "CP" + std::to_string(code_page); }

// The length of the UTF-8 sequence starting with `lead`; 0 for a byte that cannot start one.
std::size_t sequence_length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

bool continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

std::uint32_t code_point(std::string_view seq) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(seq[i]); };
    switch (seq.size()) {
    case 2: return (b(0) & 0x1Fu) << 6 | (b(1) & 0x3Fu);
    case 3: return (b(0) & 0x0Fu) << 12 | (b(1) & 0x3Fu) << 6 | (b(2) & 0x3Fu);
    default: return (b(0) & 0x07u) << 18 | (b(1) & 0x3Fu) << 12 | (b(2) & 0x3Fu) << 6 | (b(3) & 0x3Fu);
    }
}

// "\uN?" with N the signed 16-bit value rich text wants; beyond the basic plane a
// surrogate pair.
std::string unicode_escape(std::uint32_t cp) {
    const auto one = [](std::uint32_t unit) {
        return "\\u" + std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(unit))) + "?";
    };
    if (cp < 0x10000) return one(cp);
    cp -= 0x10000;
    return one(0xD800 + (cp >> 10)) + one(0xDC00 + (cp & 0x3FF));
}

// Walks `utf8` character by character: ASCII bytes go to `ascii`, other characters to
// `wide` with their code-page bytes (empty when the code page lacks them) and code
// point; a broken sequence gives "?".
template <class Ascii, class Wide>
void for_each_character(std::string_view utf8, int code_page, Ascii ascii, Wide wide, std::string& out) {
    Converter converter(code_page_name(code_page), "UTF-8");
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            ascii(static_cast<char>(lead));
            ++i;
            continue;
        }
        const std::size_t length = sequence_length(lead);
        bool valid = length > 1 && i + length <= utf8.size();
        for (std::size_t k = 1; valid && k < length; ++k) valid = continuation(static_cast<unsigned char>(utf8[i + k]));
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        const std::string_view character = utf8.substr(i, length);
        wide(converter.convert(character), code_point(character));
        i += length;
    }
}

}  // namespace

std::string to_code_page(std::string_view utf8, int code_page) {
    std::string out;
    out.reserve(utf8.size());
    for_each_character(
        utf8, code_page, [&](char c) { out += c; },
        [&](const std::string& bytes, std::uint32_t cp) { out += bytes.empty() ? unicode_escape(cp) : bytes; }, out);
    return out;
}

std::string from_code_page(std::string_view bytes, int code_page) {
    Converter converter("UTF-8", code_page_name(code_page));
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) < 0x80) {
            out += c;
            continue;
        }
        const std::string utf8 = converter.convert(std::string_view(&c, 1));
        out += utf8.empty() ? "\xEF\xBF\xBD" : utf8;
    }
    return out;
}

namespace {

void append_utf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// The 16-bit unit of an escape "\uN?" at `at`, and the index past it; nothing when no
// escape starts there.
std::optional<std::pair<std::uint16_t, std::size_t>> escape_at(std::string_view text, std::size_t at) {
    if (text.substr(at, 2) != "\\u") return std::nullopt;
    std::size_t i = at + 2;
    const bool negative = i < text.size() && text[i] == '-';
    if (negative) ++i;
    const std::size_t digits = i;
    long value = 0;
    while (i < text.size() && i - digits < 6 && text[i] >= '0' && text[i] <= '9')
        value = value * 10 + (text[i++] - '0');
    if (i == digits || i >= text.size() || text[i] != '?') return std::nullopt;
    if (negative) value = -value;
    if (value < -32768 || value > 65535) return std::nullopt;
    return std::pair{static_cast<std::uint16_t>(value), i + 1};
}

}  // namespace

std::string decode_unicode_escapes(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto unit = escape_at(utf8, i);
        if (!unit) {
            out += utf8[i++];
            continue;
        }
        std::uint32_t cp = unit->first;
        std::size_t next = unit->second;
        if (cp >= 0xD800 && cp < 0xDC00) {
            const auto low = escape_at(utf8, next);
            if (low && low->first >= 0xDC00 && low->first < 0xE000) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low->first - 0xDC00);
                next = low->second;
            } else {
                cp = 0xFFFD;
            }
        } else if (cp >= 0xDC00 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        append_utf8(out, cp);
        i = next;
    }
    return out;
}

std::string rtf_text(std::string_view utf8, int code_page) {
    std::string out;
    out.reserve(utf8.size());
    static constexpr char kHex[] = "0123456789abcdef";
    for_each_character(
        utf8, code_page,
        [&](char c) {
            if (c == '\\' || c == '{' || c == '}') out += '\\';
            if (c == '\n') out += "\\line ";
            else if (c != '\r') out += c;
        },
        [&](const std::string& bytes, std::uint32_t cp) {
            if (bytes.size() != 1) {
                out += unicode_escape(cp);
                return;
            }
            const auto b = static_cast<unsigned char>(bytes[0]);
            out += "\\'";
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        },
        out);
    return out;
}

}  // namespace hxq::platform
