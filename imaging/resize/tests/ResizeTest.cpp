#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "resize/Resize.h"

using namespace QX::Resize;

namespace {

struct tAlignedFree {
    void operator()(void* p) const { std::free(p); }
};
using AlignedBuffer = std::unique_ptr<std::uint8_t, tAlignedFree>;

AlignedBuffer allocateAligned(std::int32_t size) {
    const std::size_t rounded = (std::size_t(size) + 63) / 64 * 64;
    return AlignedBuffer(static_cast<std::uint8_t*>(std::aligned_alloc(64, rounded ? rounded : 64)));
}

std::vector<std::uint8_t> makeImage(Size size, unsigned seed) {
    std::vector<std::uint8_t> pixels(std::size_t(size.width) * size.height * 4);
    std::mt19937 random(seed);
    for (auto& value : pixels) {
        value = std::uint8_t(random());
    }
    return pixels;
}

// Runs a whole resize through the public calls; empty on any failure.
std::vector<std::uint8_t> runResize(const std::vector<std::uint8_t>& source, Size from, Size to, int interpolation,
                                    Point offset = {}, Size tile = {}) {
    if (tile.width == 0) {
        tile = to;
    }
    std::int32_t specSize = 0, initSize = 0, bufferSize = 0;
    if (getResizeSizes(from, to, interpolation, 0, specSize, initSize) != kStatusOk) {
        return {};
    }
    AlignedBuffer specBuffer = allocateAligned(specSize);
    auto* spec = reinterpret_cast<ResizeSpec*>(specBuffer.get());
    const Status init = interpolation == kInterpolationNearest ? initNearestResize(from, to, spec)
                                                               : initLinearResize(from, to, spec);
    if (init != kStatusOk || getResizeBufferSize(spec, tile, 4, bufferSize) != kStatusOk) {
        return {};
    }
    AlignedBuffer work = allocateAligned(bufferSize);
    std::vector<std::uint8_t> out(std::size_t(tile.width) * tile.height * 4);
    const Status status =
        interpolation == kInterpolationNearest
            ? resizeNearest4Channels(source.data(), from.width * 4, out.data(), tile.width * 4, offset, tile, spec,
                                     work.get())
            : resizeLinear4Channels(source.data(), from.width * 4, out.data(), tile.width * 4, offset, tile,
                                    kBorderReplicate, nullptr, spec, work.get());
    return status == kStatusOk ? out : std::vector<std::uint8_t>{};
}

// Floating-point reference with pixel centres aligned and the edges
// replicated.
double sourcePosition(int i, int sourceLength, int destinationLength) {
    return (i + 0.5) * double(sourceLength) / double(destinationLength) - 0.5;
}

std::uint8_t referenceNearest(const std::vector<std::uint8_t>& src, Size from, Size to, int x, int y, int c) {
    const int sx = std::min(int(std::floor((x + 0.5) * from.width / to.width)), from.width - 1);
    const int sy = std::min(int(std::floor((y + 0.5) * from.height / to.height)), from.height - 1);
    return src[(std::size_t(sy) * from.width + sx) * 4 + c];
}

double referenceLinear(const std::vector<std::uint8_t>& src, Size from, Size to, int x, int y, int c) {
    auto at = [&](int px, int py) {
        px = std::clamp(px, 0, from.width - 1);
        py = std::clamp(py, 0, from.height - 1);
        return double(src[(std::size_t(py) * from.width + px) * 4 + c]);
    };
    const double fx = std::max(0.0, sourcePosition(x, from.width, to.width));
    const double fy = std::max(0.0, sourcePosition(y, from.height, to.height));
    const int x0 = int(std::floor(fx)), y0 = int(std::floor(fy));
    const double wx = fx - x0, wy = fy - y0;
    const double top = at(x0, y0) * (1 - wx) + at(x0 + 1, y0) * wx;
    const double bottom = at(x0, y0 + 1) * (1 - wx) + at(x0 + 1, y0 + 1) * wx;
    return top * (1 - wy) + bottom * wy;
}

struct tCase {
    Size from;
    Size to;
};

const tCase kCases[] = {
    {{10, 10}, {15, 15}}, {{10, 10}, {13, 13}}, {{37, 21}, {74, 42}}, {{64, 48}, {16, 12}},
    {{1, 1}, {5, 3}},     {{7, 1}, {3, 9}},     {{100, 3}, {33, 7}},  {{9, 4}, {9, 4}},
};

}  // namespace

// Nearest neighbour matches the reference exactly, bilinear within one step
// of rounding; a resize to the same size copies.
TEST(ResizeKernels, MatchTheReference) {
    for (int interpolation : {int(kInterpolationNearest), int(kInterpolationLinear)}) {
        for (const tCase& test : kCases) {
            const auto source = makeImage(test.from, 1);
            const auto out = runResize(source, test.from, test.to, interpolation);
            ASSERT_FALSE(out.empty());
            const bool exact = interpolation == kInterpolationNearest || (test.from.width == test.to.width &&
                                                                          test.from.height == test.to.height);
            for (int y = 0; y < test.to.height; ++y) {
                for (int x = 0; x < test.to.width; ++x) {
                    for (int c = 0; c < 4; ++c) {
                        const double expected = interpolation == kInterpolationNearest
                                                    ? referenceNearest(source, test.from, test.to, x, y, c)
                                                    : referenceLinear(source, test.from, test.to, x, y, c);
                        ASSERT_LE(std::fabs(out[(std::size_t(y) * test.to.width + x) * 4 + c] - expected),
                                  exact ? 0.0 : 1.0)
                            << interpolation << ": " << test.from.width << "x" << test.from.height << " -> "
                            << x << "," << y << " c" << c;
                    }
                }
            }
        }
    }
}

TEST(ResizeKernels, TileEqualsPartOfWholeResize) {
    const Size from{23, 17}, to{50, 31};
    const Point offset{11, 7};
    const Size tile{20, 13};
    const auto source = makeImage(from, 4);
    for (int interpolation : {int(kInterpolationNearest), int(kInterpolationLinear)}) {
        const auto whole = runResize(source, from, to, interpolation);
        const auto part = runResize(source, from, to, interpolation, offset, tile);
        ASSERT_FALSE(part.empty());
        for (int y = 0; y < tile.height; ++y) {
            for (int i = 0; i < tile.width * 4; ++i) {
                ASSERT_EQ(part[std::size_t(y) * tile.width * 4 + i],
                          whole[(std::size_t(y + offset.y) * to.width + offset.x) * 4 + i]);
            }
        }
    }
}

TEST(ResizeKernels, RefusesBadArguments) {
    std::int32_t specSize = 0, initSize = 0, bufferSize = 0;
    EXPECT_EQ(getResizeSizes({0, 5}, {5, 5}, kInterpolationNearest, 0, specSize, initSize), kStatusSizeError);
    EXPECT_EQ(getResizeSizes({5, 5}, {5, -1}, kInterpolationLinear, 0, specSize, initSize), kStatusSizeError);
    EXPECT_EQ(getResizeSizes({5, 5}, {kMaxDimension + 1, 5}, kInterpolationLinear, 0, specSize, initSize),
              kStatusSizeError);
    EXPECT_EQ(getResizeSizes({5, 5}, {5, 5}, 3, 0, specSize, initSize), kStatusBadArgument);
    EXPECT_EQ(getResizeSizes({5, 5}, {5, 5}, kInterpolationLinear, 1, specSize, initSize), kStatusBadArgument);
    EXPECT_EQ(initLinearResize({5, 5}, {5, 5}, nullptr), kStatusNullPointer);

    ASSERT_EQ(getResizeSizes({4, 4}, {8, 8}, kInterpolationLinear, 0, specSize, initSize), kStatusOk);
    AlignedBuffer specBuffer = allocateAligned(specSize + 64);
    auto* misaligned = reinterpret_cast<ResizeSpec*>(specBuffer.get() + 4);
    EXPECT_EQ(initLinearResize({4, 4}, {8, 8}, misaligned), kStatusMisaligned);

    auto* spec = reinterpret_cast<ResizeSpec*>(specBuffer.get());
    ASSERT_EQ(initLinearResize({4, 4}, {8, 8}, spec), kStatusOk);
    EXPECT_EQ(getResizeBufferSize(spec, {8, 8}, 3, bufferSize), kStatusBadArgument);
    ASSERT_EQ(getResizeBufferSize(spec, {8, 8}, 4, bufferSize), kStatusOk);
    AlignedBuffer work = allocateAligned(bufferSize);
    std::vector<std::uint8_t> source(4 * 4 * 4), out(8 * 8 * 4);
    // Wrong kind of spec, tile outside the destination, short steps, other border modes.
    EXPECT_EQ(resizeNearest4Channels(source.data(), 16, out.data(), 32, {}, {8, 8}, spec, work.get()),
              kStatusSpecMismatch);
    EXPECT_EQ(resizeLinear4Channels(source.data(), 16, out.data(), 32, {1, 0}, {8, 8}, kBorderReplicate, nullptr,
                                    spec, work.get()),
              kStatusSizeError);
    EXPECT_EQ(resizeLinear4Channels(source.data(), 12, out.data(), 32, {}, {8, 8}, kBorderReplicate, nullptr, spec,
                                    work.get()),
              kStatusStepError);
    EXPECT_EQ(resizeLinear4Channels(source.data(), 16, out.data(), 32, {}, {8, 8}, 0, nullptr, spec, work.get()),
              kStatusBorderError);
    EXPECT_EQ(resizeLinear4Channels(nullptr, 16, out.data(), 32, {}, {8, 8}, kBorderReplicate, nullptr, spec,
                                    work.get()),
              kStatusNullPointer);
    EXPECT_EQ(resizeLinear4Channels(source.data(), 16, out.data(), 32, {}, {8, 8}, kBorderReplicate, nullptr, spec,
                                    work.get()),
              kStatusOk);
}
