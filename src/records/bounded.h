// A fixed-size array indexed lower..upper, as the records' arrays are declared
// (alternatives 1..7, sides 1..2). Out-of-range indices throw instead of corrupting.
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace hxq::core {

template <typename T, int Lower, int Upper>
class Bounded {
    static_assert(Upper >= Lower);

public:
    static constexpr int lower = Lower;
    static constexpr int upper = Upper;
    static constexpr std::size_t count = static_cast<std::size_t>(Upper - Lower + 1);

    T& operator[](int i) { return items_[offset(i)]; }
    const T& operator[](int i) const { return items_[offset(i)]; }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }
    constexpr std::size_t size() const { return count; }

    bool operator==(const Bounded&) const = default;

private:
    static std::size_t offset(int i) {
        if (i < Lower || i > Upper)
            throw std::out_of_range("index " + std::to_string(i) + " outside " + std::to_string(Lower) +
                                    ".." + std::to_string(Upper));
        return static_cast<std::size_t>(i - Lower);
    }
    std::array<T, count> items_{};
};

// Per-side arrays: index 1 is side 1, index 2 is side 2.
template <typename T>
using PerSide = Bounded<T, 1, 2>;

// The seven alternatives of a calculation, best first.
template <typename T>
using Alternatives = Bounded<T, 1, 7>;

}  // namespace hxq::core
