#include "output/rtf_document.h"

#include "platform/error.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace hxq::output {
namespace {

bool is_central_european(std::string_view language) {
    return language == "Hungarian" || language == "Polish" || language == "Czech";
}

// One iconv conversion from UTF-8, closed when it goes.
class Converter {
public:
    explicit Converter(int code_page) {
        const std::string name = "CP" + std::to_string(code_page);
        cd_ = iconv_open(name.c_str(), "UTF-8");
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("no conversion to code page " + std::to_string(code_page));
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // The code-page bytes of one UTF-8 character; empty when the code page lacks it.
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

// The length of the UTF-8 sequence starting with `lead` and its code point's first bits;
// 0 for a byte that cannot start one.
std::size_t sequence_length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 0;
}

std::uint32_t code_point(std::string_view seq) {
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(seq[i]); };
    switch (seq.size()) {
    case 2: return (b(0) & 0x1Fu) << 6 | (b(1) & 0x3Fu);
    case 3: return (b(0) & 0x0Fu) << 12 | (b(1) & 0x3Fu) << 6 | (b(2) & 0x3Fu);
    default: return (b(0) & 0x07u) << 18 | (b(1) & 0x3Fu) << 12 | (b(2) & 0x3Fu) << 6 | (b(3) & 0x3Fu);
    }
}

bool continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

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

}  // namespace

std::string rtf_header(std::string_view language) {
    if (is_central_european(language))
        return R"({\rtf1\ansi\deff0\deftab720{\fonttbl{\f0\fswiss\fprq2\fcharset238{\*\fname Arial;} Arial CE;}}{\colortbl\red0\green0\blue0;})";
    if (language == "Russian")
        return R"({\rtf1\ansi\deff0\deftab720{\fonttbl{\f0\fswiss\fprq2\fcharset204{\*\fname Arial;} Arial Cyr;}}{\colortbl\red0\green0\blue0;})";
    return R"({\rtf1\ansi\deff0\deftab720{\fonttbl{\f0\fnil\fprq2 Arial;}}{\colortbl\red0\green0\blue0;})";
}

int rtf_code_page(std::string_view language) {
    if (is_central_european(language)) return 1250;
    if (language == "Russian") return 1251;
    return 1252;
}

std::string to_code_page(std::string_view utf8, int code_page) {
    Converter converter(code_page);
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            out += static_cast<char>(lead);
            ++i;
            continue;
        }
        std::size_t length = sequence_length(lead);
        bool valid = length > 1 && i + length <= utf8.size();
        for (std::size_t k = 1; valid && k < length; ++k) valid = continuation(static_cast<unsigned char>(utf8[i + k]));
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        const std::string_view character = utf8.substr(i, length);
        const std::string bytes = converter.convert(character);
        out += bytes.empty() ? unicode_escape(code_point(character)) : bytes;
        i += length;
    }
    return out;
}

std::string rtf_document(std::string_view language, const PreviewArray& data) {
    const int code_page = rtf_code_page(language);
    std::string text = rtf_header(language) + "\r\n";
    for (const std::string& line : data.lines()) text += to_code_page(line, code_page) + "\r\n";
    text += "\\par}\r\n";
    return text;
}

void write_rtf_document(const std::filesystem::path& file, std::string_view language, const PreviewArray& data) {
    const std::string bytes = rtf_document(language, data);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out || !out.flush())
        throw platform::Error(75, "PreviewPrint", "Path/File access error: " + file.string());
}

}  // namespace hxq::output
