#include "settings/texts.h"

#include "platform/error.h"
#include "settings/library_state.h"
#include "settings/text_blocks.h"

#include <fmt/format.h>

#include <algorithm>
#include <limits>

namespace hxq::settings {
namespace {

constexpr const char* kSource = "hxq.Texts";

const TextBlock* find_block(std::int32_t offset) {
    const auto blocks = text_blocks();
    const auto it = std::find_if(blocks.begin(), blocks.end(), [&](const TextBlock& b) { return b.offset == offset; });
    return it == blocks.end() ? nullptr : &*it;
}

// The block whose identifiers include `resource_id`: the one with the greatest offset
// not above it (blocks are 1000 apart and base identifiers lie below 1000).
const TextBlock* block_holding(std::int32_t resource_id) {
    const TextBlock* found = nullptr;
    for (const auto& b : text_blocks())
        if (b.offset <= resource_id) found = &b;
    return found;
}

const std::string_view* find_text(std::int32_t resource_id) {
    const TextBlock* block = block_holding(resource_id);
    if (!block) return nullptr;
    const std::int32_t id = resource_id - block->offset;
    const auto entries = block->entries;
    const auto it = std::lower_bound(entries.begin(), entries.end(), id,
                                     [](const TextEntry& e, std::int32_t wanted) { return e.id < wanted; });
    return it != entries.end() && it->id == id ? &it->text : nullptr;
}

}  // namespace

std::string_view resource_text(std::int32_t resource_id) {
    if (const auto* text = find_text(resource_id)) return *text;
    throw platform::Error(kTextNotFoundError, kSource,
                          fmt::format("Resource with identifier '{}' not found", resource_id));
}

std::string_view localised_text(std::int16_t id, std::int16_t offset) {
    const std::int32_t sum = std::int32_t{id} + std::int32_t{offset};
    if (sum > std::numeric_limits<std::int16_t>::max() || sum < std::numeric_limits<std::int16_t>::min())
        throw platform::Error(kTextOverflowError, kSource,
                              fmt::format("Overflow: text {} + offset {} does not fit 16 bits", id, offset));
    if (const auto* text = find_text(sum)) return *text;
    throw platform::Error(kTextNotFoundError, kSource,
                          fmt::format("Resource with identifier '{}' not found: no text {} with offset {}{}", sum, id,
                                      offset, has_text_block(offset) ? "" : " (no texts for that offset)"));
}

std::string_view localised_text(std::int16_t id) {
    return localised_text(id, library_state().UserSettings.language.iOffset);
}

bool has_text_block(std::int16_t offset) { return find_block(offset) != nullptr; }

std::vector<std::pair<std::int16_t, std::string_view>> block_texts(std::int16_t offset) {
    std::vector<std::pair<std::int16_t, std::string_view>> out;
    if (const TextBlock* block = find_block(offset))
        for (const auto& e : block->entries) out.emplace_back(e.id, e.text);
    return out;
}

}  // namespace hxq::settings
