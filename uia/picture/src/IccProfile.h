#pragma once
#include <cstdint>
#include <vector>

#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

namespace QX::UIA::DETAIL {

// Joins the pieces of an ICC profile that a JPEG file carries in APP2
// markers ("ICC_PROFILE\0", sequence number, count, data) in sequence order.
// False, with `profile` empty, when there is none or the pieces are
// inconsistent (counts differ, a number repeats, is out of range or missing);
// `found` tells the two apart.
bool assembleIccProfile(const jpeg_decompress_struct& decompressor, std::vector<std::uint8_t>& profile,
                        bool& found);

}  // namespace QX::UIA::DETAIL
