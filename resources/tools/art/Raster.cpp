#include "Raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Art {

Colour rgb(int r, int g, int b, int a) {
    return {r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f};
}

Colour mix(const Colour& from, const Colour& to, double t) {
    const auto lerp = [t](float p, float q) { return static_cast<float>(p + (q - p) * t); };
    return {lerp(from.r, to.r), lerp(from.g, to.g), lerp(from.b, to.b), lerp(from.a, to.a)};
}

Colour withAlpha(Colour colour, double alpha) {
    colour.a = static_cast<float>(colour.a * alpha);
    return colour;
}

Image stackVertically(const std::vector<Image>& frames) {
    if (frames.empty()) return {};
    Image strip(frames.front().width, frames.front().height * static_cast<int>(frames.size()));
    std::size_t offset = 0;
    for (const Image& frame : frames) {
        std::memcpy(strip.rgba.data() + offset, frame.rgba.data(), frame.rgba.size());
        offset += frame.rgba.size();
    }
    return strip;
}

namespace {

double distanceToSegment(double px, double py, double x0, double y0, double x1, double y1) {
    const double dx = x1 - x0, dy = y1 - y0;
    const double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared > 0 ? ((px - x0) * dx + (py - y0) * dy) / lengthSquared : 0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
}

}  // namespace

Shape roundRect(double x0, double y0, double x1, double y1, double radius) {
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
        const double cx = std::clamp(x, x0 + radius, x1 - radius);
        const double cy = std::clamp(y, y0 + radius, y1 - radius);
        return std::hypot(x - cx, y - cy) <= radius;
    };
}

Shape roundRectFrame(double x0, double y0, double x1, double y1, double radius, double width) {
    return subtract(roundRect(x0, y0, x1, y1, radius),
                    roundRect(x0 + width, y0 + width, x1 - width, y1 - width, std::max(0.0, radius - width)));
}

Shape disc(double cx, double cy, double radius) {
    return [=](double x, double y) { return std::hypot(x - cx, y - cy) <= radius; };
}

Shape ring(double cx, double cy, double outer, double inner) {
    return [=](double x, double y) {
        const double d = std::hypot(x - cx, y - cy);
        return d <= outer && d >= inner;
    };
}

Shape capsule(double x0, double y0, double x1, double y1, double halfWidth) {
    return [=](double x, double y) { return distanceToSegment(x, y, x0, y0, x1, y1) <= halfWidth; };
}

Shape polyline(std::vector<std::pair<double, double>> points, double halfWidth) {
    return [points = std::move(points), halfWidth](double x, double y) {
        for (std::size_t i = 1; i < points.size(); ++i) {
            const auto& [x0, y0] = points[i - 1];
            const auto& [x1, y1] = points[i];
            if (distanceToSegment(x, y, x0, y0, x1, y1) <= halfWidth) return true;
        }
        return false;
    };
}

Shape polygon(std::vector<std::pair<double, double>> points) {
    return [points = std::move(points)](double x, double y) {
        bool inside = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const auto& [xi, yi] = points[i];
            const auto& [xj, yj] = points[j];
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
        }
        return inside;
    };
}

Shape unite(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) || b(x, y); };
}

Shape subtract(Shape a, Shape b) {
    return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); };
}

Paint solid(Colour colour) {
    return [colour](double, double) { return colour; };
}

Paint verticalGradient(double y0, double y1, Colour top, Colour bottom) {
    return [=](double, double y) { return mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0, 1.0)); };
}

Canvas::Canvas(int width, int height, int samples)
    : width_(width), height_(height), samples_(samples),
      samplesData_(std::size_t(width) * samples * height * samples) {}

void Canvas::fill(const Shape& shape, const Paint& paint) {
    const int columns = width_ * samples_;
    const int rows = height_ * samples_;
    for (int row = 0; row < rows; ++row) {
        const double y = (row + 0.5) / samples_;
        for (int column = 0; column < columns; ++column) {
            const double x = (column + 0.5) / samples_;
            if (!shape(x, y)) continue;
            const Colour c = paint(x, y);
            tSample& s = samplesData_[std::size_t(row) * columns + column];
            const float keep = 1.0f - c.a;
            s.r = c.r * c.a + s.r * keep;
            s.g = c.g * c.a + s.g * keep;
            s.b = c.b * c.a + s.b * keep;
            s.a = c.a + s.a * keep;
        }
    }
}

void Canvas::flood(Colour colour) {
    fill([](double, double) { return true; }, colour);
}

Image Canvas::resolve() const {
    Image image(width_, height_);
    const int columns = width_ * samples_;
    const float count = static_cast<float>(samples_ * samples_);
    for (int py = 0; py < height_; ++py) {
        for (int px = 0; px < width_; ++px) {
            tSample sum;
            for (int sy = 0; sy < samples_; ++sy) {
                for (int sx = 0; sx < samples_; ++sx) {
                    const tSample& s = samplesData_[std::size_t(py * samples_ + sy) * columns + px * samples_ + sx];
                    sum.r += s.r;
                    sum.g += s.g;
                    sum.b += s.b;
                    sum.a += s.a;
                }
            }
            const float alpha = sum.a / count;
            const auto channel = [&](float premultiplied) {
                const float straight = alpha > 0 ? premultiplied / count / alpha : 0.0f;
                return static_cast<std::uint8_t>(std::lround(std::clamp(straight, 0.0f, 1.0f) * 255.0f));
            };
            std::uint8_t* out = &image.rgba[(std::size_t(py) * width_ + px) * 4];
            out[0] = channel(sum.r);
            out[1] = channel(sum.g);
            out[2] = channel(sum.b);
            out[3] = static_cast<std::uint8_t>(std::lround(std::clamp(alpha, 0.0f, 1.0f) * 255.0f));
        }
    }
    return image;
}

namespace {

// Rows of three bits, top row first, most significant bit at the left.
const std::uint8_t kDigitRows[10][5] = {
    {7, 5, 5, 5, 7}, {2, 6, 2, 2, 7}, {7, 1, 7, 4, 7}, {7, 1, 3, 1, 7}, {5, 5, 7, 1, 1},
    {7, 4, 7, 1, 7}, {7, 4, 7, 5, 7}, {7, 1, 2, 2, 2}, {7, 5, 7, 5, 7}, {7, 5, 7, 1, 7},
};

}  // namespace

void drawPixelDigits(Canvas& canvas, const char* digits, double x, double y, double cell, Colour colour) {
    for (const char* d = digits; *d; ++d) {
        const auto& rows = kDigitRows[*d - '0'];
        for (int row = 0; row < 5; ++row) {
            for (int column = 0; column < 3; ++column) {
                if (!(rows[row] & (4 >> column))) continue;
                const double left = x + column * cell, top = y + row * cell;
                canvas.fill(roundRect(left, top, left + cell, top + cell, 0), colour);
            }
        }
        x += 4 * cell;
    }
}

double pixelDigitsWidth(const char* digits, double cell) {
    const double count = static_cast<double>(std::strlen(digits));
    return count > 0 ? (4 * count - 1) * cell : 0;
}

}  // namespace Art
