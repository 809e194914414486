// The text table compiled into the library from texts/<code>.txt at build time (the
// build generates text_blocks(); see cmake/HxqTexts.cmake). Read it through texts.h.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace hxq::settings {

struct TextEntry {
    std::int16_t id;        // base identifier (100..611), without the offset
    std::string_view text;  // UTF-8
};

struct TextBlock {
    std::string_view code;  // "fi"
    std::int16_t offset;    // 1000
    std::span<const TextEntry> entries;  // sorted by id
};

// The blocks of the languages whose files the build found, sorted by offset. The texts
// live as long as the program.
std::span<const TextBlock> text_blocks();

}  // namespace hxq::settings
