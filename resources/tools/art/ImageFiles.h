#pragma once
#include <string>
#include <vector>

#include "Raster.h"

namespace Art {

// Writes an 8-bit RGBA PNG with no time stamp or text chunks, so that the
// same picture always gives the same bytes. Throws on failure.
void writePng(const std::string& path, const Image& image);

// Writes a Windows icon whose entries are 32-bit bitmaps with an AND mask,
// one per picture (square, at most 255 pixels).
void writeIcon(const std::string& path, const std::vector<Image>& sizes);

}  // namespace Art
