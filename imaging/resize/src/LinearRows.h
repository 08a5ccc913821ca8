#pragma once
#include <cstddef>
#include <cstdint>

#include "ResizeSpecLayout.h"

namespace QX::Resize::DETAIL {

// Horizontal pass of one source row: each channel of each destination
// pixel as first * (kWeightOne - weight) + second * weight.
void filterRow(const std::uint8_t* sourceRow, const tLinearTap* columns, std::size_t width, std::uint32_t* out);

// Vertical pass: mixes two filtered rows by `weight` and rounds back to
// 8 bits.
void mixRows(const std::uint32_t* upper, const std::uint32_t* lower, std::uint32_t weight, std::size_t count,
             std::uint8_t* out);

// The same two passes the other way round, for pictures that shrink: two
// source rows mixed by `weight` (each channel as upper * (kWeightOne -
// weight) + lower * weight), then filtered across and rounded to 8 bits.
// `mixed` holds the mixed row from source column `firstColumn` on.
void mixSourceRows(const std::uint8_t* upper, const std::uint8_t* lower, std::uint32_t weight, std::size_t count,
                   std::uint32_t* out);
void filterMixedRow(const std::uint32_t* mixed, std::int32_t firstColumn, const tLinearTap* columns,
                    std::size_t width, std::uint8_t* out);

}  // namespace QX::Resize::DETAIL
