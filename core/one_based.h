#pragma once

#include <array>
#include <cstddef>

namespace ao07 {

/// A fixed table indexed from 1, like the log's own row, slot and channel numbers, so that
/// code can say RawChannel[4 * (row - 1) + slot] as operators count. Out-of-range indexes throw.
template <typename T, std::size_t N>
class OneBased {
public:
    T& operator[](int i) { return m_items.at(static_cast<std::size_t>(i - 1)); }
    const T& operator[](int i) const { return m_items.at(static_cast<std::size_t>(i - 1)); }
    static constexpr int size() { return static_cast<int>(N); }
    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::array<T, N> m_items{};
};

}  // namespace ao07
