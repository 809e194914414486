// The model designation printed for an alternative, e.g. "QB30x40H/1P" or
// "QB30x41 (12H+8M, 12H+9M)/2P". The rules are written down in docs/model-designation.md.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hxq::core {

// Model codes that need the product data's own rules.
struct DesignationRules {
    // Designations printed without their trailing letter.
    std::vector<std::string> DropTrailingLetter;
    // Codes that, found in the side-1 text, mark a family whose plate count is composed
    // from the channel counts (passes × side-1 channels + 1 + passes × side-2 channels).
    std::vector<std::string> PlatesFromChannels;
};

// `designation` is the alternative's displayed designation (replaced by the result);
// `side1`/`side2` the channel texts per side: counts each followed by its channel type
// letter, joined by "+", several passes as "<n>*(<counts>)". With `halves` (a dual unit)
// the plate text is the two halves of the plate count joined by "x".
std::string FormatModelDesignation(std::string& designation, std::int16_t plates, const std::string& side1,
                                   const std::string& side2, bool halves = false,
                                   const DesignationRules& rules = {});

}  // namespace hxq::core
