#pragma once
// A small supersampling rasteriser for the art generator: shapes are tested
// at several points per pixel and composited "over" in premultiplied floats,
// which gives smooth edges with no dependency beyond the standard library.
#include <cstdint>
#include <functional>
#include <vector>

namespace Art {

struct Colour {
    float r = 0, g = 0, b = 0, a = 0;  // straight alpha, 0..1
};

// 0..255 channels, alpha 0..255.
Colour rgb(int r, int g, int b, int a = 255);
Colour mix(const Colour& from, const Colour& to, double t);
Colour withAlpha(Colour colour, double alpha);

// A picture of 8-bit RGBA pixels, straight alpha, rows top to bottom.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;

    Image() = default;
    Image(int w, int h) : width(w), height(h), rgba(std::size_t(w) * h * 4, 0) {}
};

// Frames of equal size one below the other, the first at the top.
Image stackVertically(const std::vector<Image>& frames);

// A point set in picture coordinates (pixel (i, j) covers [i, i+1) x [j, j+1)).
using Shape = std::function<bool(double x, double y)>;
// The colour at a point.
using Paint = std::function<Colour(double x, double y)>;

Shape roundRect(double x0, double y0, double x1, double y1, double radius);
// The band between a rounded rectangle and the same one inset by `width`.
Shape roundRectFrame(double x0, double y0, double x1, double y1, double radius, double width);
Shape disc(double cx, double cy, double radius);
Shape ring(double cx, double cy, double outer, double inner);
// A thick segment with round ends.
Shape capsule(double x0, double y0, double x1, double y1, double halfWidth);
// A polyline stroked with round joins and ends.
Shape polyline(std::vector<std::pair<double, double>> points, double halfWidth);
Shape polygon(std::vector<std::pair<double, double>> points);
Shape unite(Shape a, Shape b);
Shape subtract(Shape a, Shape b);

Paint solid(Colour colour);
// From `top` at y0 to `bottom` at y1, clamped outside.
Paint verticalGradient(double y0, double y1, Colour top, Colour bottom);

class Canvas {
public:
    // `samples` points per pixel along each axis.
    Canvas(int width, int height, int samples = 4);

    int width() const { return width_; }
    int height() const { return height_; }

    void fill(const Shape& shape, const Paint& paint);
    void fill(const Shape& shape, Colour colour) { fill(shape, solid(colour)); }
    // The whole canvas.
    void flood(Colour colour);
    // Eight-bit picture, averaged per pixel.
    Image resolve() const;

private:
    struct tSample {
        float r = 0, g = 0, b = 0, a = 0;  // premultiplied
    };
    int width_;
    int height_;
    int samples_;
    std::vector<tSample> samplesData_;
};

// Digits drawn as 3x5 pixel blocks of `cell` pixels each, left edge at x.
void drawPixelDigits(Canvas& canvas, const char* digits, double x, double y, double cell, Colour colour);
double pixelDigitsWidth(const char* digits, double cell);

}  // namespace Art
