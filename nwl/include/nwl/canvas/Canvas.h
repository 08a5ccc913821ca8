#pragma once
#include <cstdint>
#include <string_view>

#include "gp/Geometry.h"

namespace QX::GP {
class Region;
}

namespace QX::UIA {
class Font;
class Picture;
}  // namespace QX::UIA

namespace QX::NWL {

class LazyPicture;

// The drawing surface widgets paint on. Every coordinate is logical: the
// canvas multiplies it by its scale factor and rounds, edge by edge, so
// rectangles that touch in logical pixels still touch on the screen.
// Colours are 0xAARRGGBB with straight alpha. Drawing never fails: what lies
// outside the clip rectangle or the canvas is skipped.
class Canvas {
public:
    Canvas() = default;
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    virtual ~Canvas() = default;

    // Tells the buffer whether its alpha channel is in use.
    virtual void forwardToBuffer(bool alphaInUse) = 0;

    // The clip rectangle limits every drawing operation but fillRect.
    virtual void resetClipRect() = 0;
    virtual void setClipRect(const GP::Rect& rect) = 0;
    // The offset is added to every coordinate (the pane sets it to the
    // painted widget's absolute position).
    virtual void resetOffset() = 0;
    virtual void setOffset(const GP::Point& offset) = 0;
    virtual GP::Point getOffset() const = 0;

    // Logical size; a new size clears the canvas to transparent black.
    virtual void setSize(std::int32_t width, std::int32_t height) = 0;
    // Stores the colour into every pixel, clip or not.
    virtual void clear(std::uint32_t colour) = 0;

    virtual void drawPixel(const GP::Point& point, std::uint32_t colour) = 0;
    virtual void drawLine(const GP::Point& a, const GP::Point& b, std::uint32_t colour) = 0;
    virtual void drawVerticalLine(const GP::Point& start, std::int32_t length, std::uint32_t colour) = 0;
    virtual void drawHorizontalLine(const GP::Point& start, std::int32_t length, std::uint32_t colour) = 0;
    virtual void drawLineF(float x1, float y1, float x2, float y2, std::uint32_t colour) = 0;
    virtual void drawRect(const GP::Rect& rect, std::uint32_t colour) = 0;
    // Blends the colour over the rectangle, clipped.
    virtual void fillRectBlended(const GP::Rect& rect, std::uint32_t colour) = 0;
    // Stores the colour into the rectangle: no blending, only the canvas's
    // own bounds limit it.
    virtual void fillRect(const GP::Rect& rect, std::uint32_t colour) = 0;
    virtual void invertRect(const GP::Rect& rect) = 0;

    // Pictures: one animation frame, at a point at its natural size or
    // stretched into a rectangle with its fixed borders kept. At a point,
    // `sourceRect` picks the part of the frame (null: all of it); it is
    // logical like every other coordinate, but for drawLazyPicture, whose
    // picture is already made for the scale. In a rectangle, `sourceRect`
    // limits the drawing (canvas coordinates; null: the rectangle).
    // `blend` false copies the pixels.
    virtual void drawPicture(const GP::Point& point, const UIA::Picture& picture, std::uint32_t frame,
                             const GP::Rect* sourceRect, bool blend) = 0;
    virtual void drawLazyPicture(const GP::Point& point, const LazyPicture& picture, std::uint32_t frame,
                                 const GP::Rect* sourceRect, bool blend) = 0;
    virtual void drawPictureInRect(const GP::Rect& rect, const UIA::Picture& picture, std::uint32_t frame,
                                   const GP::Rect* sourceRect, bool blend) = 0;
    virtual void drawLazyPictureInRect(const GP::Rect& rect, const LazyPicture& picture, std::uint32_t frame,
                                       const GP::Rect* sourceRect, bool blend) = 0;
    // Paints the colour through the picture's alpha channel.
    virtual void drawDyeMask(const GP::Rect& rect, std::uint32_t colour, const UIA::Picture& picture,
                             std::uint32_t frame, const GP::Rect* sourceRect) = 0;
    virtual void drawLazyDyeMask(const GP::Rect& rect, std::uint32_t colour, const LazyPicture& picture,
                                 std::uint32_t frame, const GP::Rect* sourceRect) = 0;

    // Draws UTF-8 text aligned in the rectangle (the font's alignment
    // flags); `turned` reads it from bottom to top. The font is switched to
    // the canvas scale.
    virtual void drawText(std::string_view utf8, const GP::Rect& rect, const UIA::Font& font,
                          std::uint32_t colour, std::uint32_t flags, bool turned) = 0;

    // A new scale clears the canvas to transparent black; scales that are
    // not finite and positive are ignored.
    virtual void setScale(float scale) = 0;
    virtual float getScale() const = 0;
    virtual UIA::Picture& getBuffer() = 0;
    virtual const std::uint32_t* getPixels() const = 0;
};

// What a widget's paint operation receives. The region and the rectangle are
// in pane coordinates; the canvas offset is the widget's position, so the
// widget draws in its own coordinates.
struct PaintContext {
    enum Phase : std::int32_t { kBody = 1, kForeground = 2 };

    PaintContext(Canvas& canvasIn, const GP::Region& regionIn, const GP::Rect& rectIn, float scaleIn,
                 std::int32_t phaseIn = kBody)
        : canvas(canvasIn), region(regionIn), rect(rectIn), scale(scaleIn), phase(phaseIn) {}

    Canvas& canvas;
    const GP::Region& region;
    GP::Rect rect;  // the widget's absolute rectangle
    float scale;
    std::int32_t phase;
};

}  // namespace QX::NWL
