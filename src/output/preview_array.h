// The lines of a sheet as the previews lay it out: elements 1..size(), each one
// rich-text fragment (normally a paragraph); elements left empty contribute nothing.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace hxq::output {

// The size of every sheet before its disclaimer.
inline constexpr std::size_t kPreviewLines = 100;

class PreviewArray {
public:
    explicit PreviewArray(std::size_t size = kPreviewLines) : lines_(size) {}

    std::size_t size() const { return lines_.size(); }

    // Element `index`, 1-based; std::out_of_range outside 1..size().
    std::string& operator[](std::size_t index) { return lines_.at(checked(index)); }
    const std::string& operator[](std::size_t index) const { return lines_.at(checked(index)); }

    // Adds `count` empty elements at the end (the disclaimer's five).
    void grow(std::size_t count) { lines_.resize(lines_.size() + count); }

    // The elements in index order.
    const std::vector<std::string>& lines() const { return lines_; }

private:
    static std::size_t checked(std::size_t index) { return index == 0 ? static_cast<std::size_t>(-1) : index - 1; }
    std::vector<std::string> lines_;
};

}  // namespace hxq::output
