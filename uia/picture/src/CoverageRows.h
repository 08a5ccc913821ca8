#pragma once
#include <cstddef>
#include <cstdint>

namespace QX::UIA::DETAIL {

// Text coverage of `colour` over a row of pixels: w = coverage a / 255,
// d.c = (d.c (256 - w) + colour.c w) >> 8 and d.a = min(d.a + w, 255).
void coverRow(std::uint32_t* dest, const std::uint8_t* coverage, std::size_t count, std::uint32_t colour);

}  // namespace QX::UIA::DETAIL
