#include "platform/font_metrics_printer.h"

#include "platform/error.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H

#include <fmt/format.h>

#include <type_traits>

namespace hxq::platform {
namespace {

constexpr std::int32_t kPrinterError = 482;  // "Printer error"
constexpr const char* kSource = "Printer";

struct FtLibraryFree {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FtFaceFree {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
struct FcConfigFree {
    void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct FcPatternFree {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using FtLibraryHandle = std::unique_ptr<std::remove_pointer_t<FT_Library>, FtLibraryFree>;
using FtFaceHandle = std::unique_ptr<std::remove_pointer_t<FT_Face>, FtFaceFree>;
using FcConfigHandle = std::unique_ptr<FcConfig, FcConfigFree>;
using FcPatternHandle = std::unique_ptr<FcPattern, FcPatternFree>;

struct FontFile {
    std::string path;
    int index = 0;
};

// The file fontconfig chooses for `family`, as any application asking for it would get.
FontFile match_font(const std::string& family) {
    const FcConfigHandle config(FcInitLoadConfigAndFonts());
    if (!config) throw Error(kPrinterError, kSource, "fontconfig cannot load its configuration");
    const FcPatternHandle pattern(FcPatternCreate());
    if (!pattern) throw Error(kPrinterError, kSource, "out of memory");
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    const FcPatternHandle match(FcFontMatch(config.get(), pattern.get(), &result));
    FcChar8* file = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file)
        throw Error(kPrinterError, kSource, fmt::format("no font file for \"{}\"", family));
    FontFile found{reinterpret_cast<const char*>(file), 0};
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &found.index);
    return found;
}

// Code points of UTF-8 `text`; a byte that does not start a well-formed sequence
// counts as U+FFFD.
template <typename Visit>
void for_each_code_point(std::string_view text, Visit visit) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        char32_t cp = length == 1 ? lead : length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
        bool ok = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; ok && k < length; ++k) {
            const auto c = static_cast<unsigned char>(text[i + k]);
            ok = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3F);
        }
        visit(ok ? cp : U'\uFFFD');
        i += ok ? length : 1;
    }
}

}  // namespace

struct FontMetricsPrinter::Font {
    FtLibraryHandle library;
    FtFaceHandle face;
};

FontMetricsPrinter::FontMetricsPrinter(std::int32_t width_twips) : width_(width_twips) {}
FontMetricsPrinter::~FontMetricsPrinter() = default;

void FontMetricsPrinter::set_font_name(std::string name) {
    if (name != font_name_) font_.reset();
    font_name_ = std::move(name);
}

const FontMetricsPrinter::Font& FontMetricsPrinter::font() const {
    if (font_) return *font_;
    auto loaded = std::make_unique<Font>();
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) throw Error(kPrinterError, kSource, "FreeType cannot start");
    loaded->library.reset(library);
    const FontFile file = match_font(font_name_);
    FT_Face face = nullptr;
    if (FT_New_Face(library, file.path.c_str(), file.index, &face) != 0)
        throw Error(kPrinterError, kSource, fmt::format("cannot read the font file {}", file.path));
    loaded->face.reset(face);
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0)
        throw Error(kPrinterError, kSource, fmt::format("the font file {} is not scalable", file.path));
    font_ = std::move(loaded);
    return *font_;
}

double FontMetricsPrinter::text_width(std::string_view text) const {
    const FT_Face face = font().face.get();
    double units = 0;
    for_each_code_point(text, [&](char32_t cp) {
        FT_Fixed advance = 0;
        if (FT_Get_Advance(face, FT_Get_Char_Index(face, cp), FT_LOAD_NO_SCALE, &advance) == 0)
            units += static_cast<double>(advance);
    });
    return units * font_size_ * kTwipsPerPoint / face->units_per_EM;
}

std::string FontMetricsPrinter::resolved_family() const {
    const FT_Face face = font().face.get();
    return face->family_name ? face->family_name : "";
}

}  // namespace hxq::platform
