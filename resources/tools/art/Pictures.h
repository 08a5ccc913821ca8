#pragma once
#include <functional>
#include <string>
#include <vector>

#include "Raster.h"

namespace Art {

// One picture file of the program and how to draw it; strips of animation
// frames are stacked vertically.
struct tPicture {
    std::string fileName;
    int frames;
    std::function<Image()> draw;
};

// The shared colours of the design.
namespace Palette {
inline Colour ink() { return rgb(16, 35, 49); }
inline Colour accent() { return rgb(38, 110, 150); }
inline Colour accentDark() { return rgb(24, 74, 104); }
inline Colour windowBackground() { return rgb(242, 242, 242); }
inline Colour white() { return rgb(255, 255, 255); }
}  // namespace Palette

// Header, body, content, status and value-field backgrounds and the About card.
std::vector<tPicture> panelPictures();
// The logo, status icons, busy wheel and the two button strips.
std::vector<tPicture> controlPictures();
// The three keyboards seen from above.
std::vector<tPicture> keyboardPictures();

// The logo mark drawn into a square of `size` pixels (the program icon).
Image drawIconSquare(int size);

}  // namespace Art
