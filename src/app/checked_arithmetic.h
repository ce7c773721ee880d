// Int arithmetic on numbers that come from callers: sums, differences and products held at the largest or
// smallest Int instead of overflowing, and a product that says whether it fits.
#pragma once

#include <cstdint>

// a + b, held at INT64_MAX or INT64_MIN.
inline int64_t saturatedsum(int64_t a, int64_t b)
{
    int64_t sum;
    if (!__builtin_add_overflow(a, b, &sum)) return sum;
    return b < 0 ? INT64_MIN : INT64_MAX;
}

// a − b, held at INT64_MAX or INT64_MIN.
inline int64_t saturateddifference(int64_t a, int64_t b)
{
    int64_t difference;
    if (!__builtin_sub_overflow(a, b, &difference)) return difference;
    return b < 0 ? INT64_MAX : INT64_MIN;
}

// a × b, held at INT64_MAX or INT64_MIN.
inline int64_t saturatedproduct(int64_t a, int64_t b)
{
    int64_t product;
    if (!__builtin_mul_overflow(a, b, &product)) return product;
    return (a < 0) == (b < 0) ? INT64_MAX : INT64_MIN;
}

// a × b into `product`; false (and `product` unusable) when it does not fit.
inline bool checkedproduct(int64_t a, int64_t b, int64_t& product)
{
    return !__builtin_mul_overflow(a, b, &product);
}
