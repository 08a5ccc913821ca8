#pragma once
#include <cstddef>
#include <cstdint>

namespace QX::UIA::DETAIL {

// d.c = div(d.c (255 - w) + s.c w) with w = mul(s.a, d.a); d.a is kept.
void blendRow(std::uint32_t* dest, const std::uint32_t* source, std::size_t count);
// The same with the colour of `dye` and w = mul(mask.a, dye.a).
void dyeRow(std::uint32_t* dest, const std::uint32_t* mask, std::size_t count, std::uint32_t dye);

}  // namespace QX::UIA::DETAIL
