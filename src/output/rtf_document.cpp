#include "output/rtf_document.h"

#include "platform/code_page.h"
#include "platform/error.h"

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

std::string rtf_document(std::string_view language, const PreviewArray& data) {
    const int code_page = rtf_code_page(language);
    std::string text = rtf_header(language) + "\r\n";
    for (const std::string& line : data.lines()) text += platform::to_code_page(line, code_page) + "\r\n";
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
