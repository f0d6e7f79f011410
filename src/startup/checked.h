#pragma once
// Arithmetic on the 16- and 32-bit fields and indexes into the fixed tables.
// Overflow is failure 6, an index outside a table's bounds failure 9.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/run_error.h"

namespace zb {

template <typename T>
T Add(T a, T b) {
    T r;
    if (__builtin_add_overflow(a, b, &r)) Fail(kErrOverflow);
    return r;
}
template <typename T>
T Sub(T a, T b) {
    T r;
    if (__builtin_sub_overflow(a, b, &r)) Fail(kErrOverflow);
    return r;
}
template <typename T>
T Mul(T a, T b) {
    T r;
    if (__builtin_mul_overflow(a, b, &r)) Fail(kErrOverflow);
    return r;
}
// Narrowing that must not lose the value (a 32-bit result stored in a 16-bit field).
template <typename To, typename From>
To Narrow(From v) {
    To r;
    if (__builtin_add_overflow(v, From{0}, &r)) Fail(kErrOverflow);
    return r;
}

// A table with fixed bounds Lo..Hi (both inclusive), indexed as the files count.
template <typename T, int Lo, int Hi>
struct Table {
    std::array<T, static_cast<std::size_t>(Hi - Lo + 1)> cell{};
    T& operator()(long i) {
        if (i < Lo || i > Hi) Fail(kErrSubscript);
        return cell[static_cast<std::size_t>(i - Lo)];
    }
    const T& operator()(long i) const {
        if (i < Lo || i > Hi) Fail(kErrSubscript);
        return cell[static_cast<std::size_t>(i - Lo)];
    }
    static constexpr int lower() { return Lo; }
    static constexpr int upper() { return Hi; }
};

// A two-dimensional table with bounds R0..R1 by C0..C1.
template <typename T, int R0, int R1, int C0, int C1>
struct Grid {
    std::array<std::array<T, static_cast<std::size_t>(C1 - C0 + 1)>,
               static_cast<std::size_t>(R1 - R0 + 1)>
        cell{};
    T& operator()(long r, long c) {
        if (r < R0 || r > R1 || c < C0 || c > C1) Fail(kErrSubscript);
        return cell[static_cast<std::size_t>(r - R0)][static_cast<std::size_t>(c - C0)];
    }
    const T& operator()(long r, long c) const {
        if (r < R0 || r > R1 || c < C0 || c > C1) Fail(kErrSubscript);
        return cell[static_cast<std::size_t>(r - R0)][static_cast<std::size_t>(c - C0)];
    }
    void fill(const T& v) {
        for (auto& row : cell) row.fill(v);
    }
    static constexpr int rowLower() { return R0; }
    static constexpr int rowUpper() { return R1; }
    static constexpr int colLower() { return C0; }
    static constexpr int colUpper() { return C1; }
};

// Checked access into a growable table (the passbook day list).
template <typename T>
T& At(std::vector<T>& v, long i) {
    if (i < 0 || static_cast<std::size_t>(i) >= v.size()) Fail(kErrSubscript);
    return v[static_cast<std::size_t>(i)];
}
template <typename T>
const T& At(const std::vector<T>& v, long i) {
    if (i < 0 || static_cast<std::size_t>(i) >= v.size()) Fail(kErrSubscript);
    return v[static_cast<std::size_t>(i)];
}

}  // namespace zb
