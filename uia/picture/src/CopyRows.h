#pragma once
#include <cstddef>
#include <cstdint>

namespace QX::UIA::DETAIL {

// Straight-alpha source over of whole rows, each pixel exactly as
// blendSourceOver gives it.
void copySourceOverRow(std::uint32_t* dest, const std::uint32_t* source, std::size_t count);
// d.c = (d.c (255 - s.a) + s.c s.a) >> 8 and d.a = s.a; an opaque source
// pixel is stored, a clear one leaves d.
void copyColourOnlyRow(std::uint32_t* dest, const std::uint32_t* source, std::size_t count);

}  // namespace QX::UIA::DETAIL
