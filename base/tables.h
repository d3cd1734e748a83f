// Checks of the panel's constant tables, for static_assert: a table whose rows carry their own
// key can be read and reviewed row by row, and the check makes sure that the row of key k
// really is at index k, so lookups may index it directly.
#pragma once

#include <array>
#include <cstddef>
#include <type_traits>

template <typename Key> constexpr long long TBL_KeyNumber(Key key)
{
    if constexpr (std::is_enum_v<Key>)
        return static_cast<long long>(static_cast<std::underlying_type_t<Key>>(key));
    else
        return static_cast<long long>(key);
}

// True when the keys of the rows run first, first + 1, ... without a gap: sorted and dense.
template <typename Row, size_t N, typename Key>
constexpr bool TBL_KeysDenseFrom(const std::array<Row, N>& rows, Key Row::*key, long long first)
{
    for (size_t i = 0; i < N; ++i)
        if (TBL_KeyNumber(rows[i].*key) != first + static_cast<long long>(i)) return false;
    return true;
}

// True when no two of the values are equal.
template <typename Value, size_t N> constexpr bool TBL_Unique(const std::array<Value, N>& values)
{
    for (size_t i = 0; i < N; ++i)
        for (size_t k = i + 1; k < N; ++k)
            if (values[i] == values[k]) return false;
    return true;
}
