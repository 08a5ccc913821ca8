// Our kernels side by side with stb_image_resize on a window-sized picture
// scaled for a display of twice the density (and back down), and with
// pixman's two-tap bilinear filter. Each benchmark reports ours as its time
// and peer_ns / ours_ns as "speedup" (above 1: we are faster).
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "resize/Resize.h"

#define STB_IMAGE_RESIZE_IMPLEMENTATION
#include <stb/stb_image_resize.h>

namespace R = QX::Resize;

namespace {

using Clock = std::chrono::steady_clock;

struct tFree {
    void operator()(std::uint8_t* p) const { std::free(p); }
};
using Block = std::unique_ptr<std::uint8_t, tFree>;

Block allocate(std::int32_t size) {
    return Block(static_cast<std::uint8_t*>(std::aligned_alloc(64, (std::size_t(size) + 63) / 64 * 64)));
}

// A prepared resize of ours, as picture scaling makes it.
class OurResize {
public:
    OurResize(R::Size from, R::Size to, int interpolation) : from_(from), to_(to), interpolation_(interpolation) {
        std::int32_t specSize = 0, initSize = 0, bufferSize = 0;
        R::getResizeSizes(from, to, interpolation, 0, specSize, initSize);
        spec_ = allocate(specSize);
        auto* spec = reinterpret_cast<R::ResizeSpec*>(spec_.get());
        interpolation == R::kInterpolationNearest ? R::initNearestResize(from, to, spec)
                                                  : R::initLinearResize(from, to, spec);
        R::getResizeBufferSize(spec, to, 4, bufferSize);
        work_ = allocate(bufferSize);
    }

    R::Status run(const std::uint8_t* in, std::uint8_t* out) const {
        const auto* spec = reinterpret_cast<const R::ResizeSpec*>(spec_.get());
        return interpolation_ == R::kInterpolationNearest
                   ? R::resizeNearest4Channels(in, from_.width * 4, out, to_.width * 4, {0, 0}, to_, spec, work_.get())
                   : R::resizeLinear4Channels(in, from_.width * 4, out, to_.width * 4, {0, 0}, to_,
                                              R::kBorderReplicate, nullptr, spec, work_.get());
    }

private:
    R::Size from_;
    R::Size to_;
    int interpolation_;
    Block spec_;
    Block work_;
};

std::vector<std::uint8_t> makeInput(R::Size from) {
    std::vector<std::uint8_t> in(std::size_t(from.width) * from.height * 4);
    std::mt19937 random(1);
    for (auto& b : in) {
        b = std::uint8_t(random());
    }
    return in;
}

// Times ours (preparing is part of every scaling) and `peer` in the same
// iterations.
template <class Peer>
void compare(benchmark::State& state, const std::vector<std::uint8_t>& in, R::Size from, R::Size to,
             int interpolation, Peer&& peer) {
    std::vector<std::uint8_t> ours(std::size_t(to.width) * to.height * 4);
    double oursSeconds = 0, peerSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        OurResize resize(from, to, interpolation);
        if (resize.run(in.data(), ours.data()) != R::kStatusOk) {
            state.SkipWithError("resize failed");
        }
        const auto middle = Clock::now();
        peer();
        const auto end = Clock::now();
        const double oursTime = std::chrono::duration<double>(middle - start).count();
        oursSeconds += oursTime;
        peerSeconds += std::chrono::duration<double>(end - middle).count();
        state.SetIterationTime(oursTime);
        benchmark::DoNotOptimize(ours.data());
    }
    const double n = double(state.iterations() > 0 ? state.iterations() : 1);
    state.counters["ours_ns"] = oursSeconds / n * 1e9;
    state.counters["peer_ns"] = peerSeconds / n * 1e9;
    state.counters["speedup"] = oursSeconds > 0 ? peerSeconds / oursSeconds : 0;
}

void compare(benchmark::State& state, R::Size from, R::Size to, int interpolation, stbir_filter peerFilter) {
    const std::vector<std::uint8_t> in = makeInput(from);
    std::vector<std::uint8_t> peer(std::size_t(to.width) * to.height * 4);
    compare(state, in, from, to, interpolation, [&] {
        stbir_resize_uint8_generic(in.data(), from.width, from.height, from.width * 4, peer.data(), to.width,
                                   to.height, to.width * 4, 4, STBIR_ALPHA_CHANNEL_NONE, 0, STBIR_EDGE_CLAMP,
                                   peerFilter, STBIR_COLORSPACE_LINEAR, nullptr);
        benchmark::DoNotOptimize(peer.data());
    });
}

// pixman's bilinear filter with edge pixels repeated, as ours does.
void compareWithPixman(benchmark::State& state, R::Size from, R::Size to) {
    std::vector<std::uint8_t> in = makeInput(from);
    std::vector<std::uint8_t> peer(std::size_t(to.width) * to.height * 4);
    pixman_image_t* source = pixman_image_create_bits(PIXMAN_a8r8g8b8, from.width, from.height,
                                                      reinterpret_cast<std::uint32_t*>(in.data()), from.width * 4);
    pixman_image_t* dest = pixman_image_create_bits(PIXMAN_a8r8g8b8, to.width, to.height,
                                                    reinterpret_cast<std::uint32_t*>(peer.data()), to.width * 4);
    pixman_transform_t scale;
    pixman_transform_init_scale(&scale, pixman_double_to_fixed(double(from.width) / to.width),
                                pixman_double_to_fixed(double(from.height) / to.height));
    pixman_image_set_transform(source, &scale);
    pixman_image_set_filter(source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
    pixman_image_set_repeat(source, PIXMAN_REPEAT_PAD);
    compare(state, in, from, to, R::kInterpolationLinear, [&] {
        pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, dest, 0, 0, 0, 0, 0, 0, to.width, to.height);
        benchmark::DoNotOptimize(peer.data());
    });
    pixman_image_unref(source);
    pixman_image_unref(dest);
}

constexpr R::Size kWindow{628, 336};
constexpr R::Size kDouble{1256, 672};

void BM_LinearUpVsStbTriangle(benchmark::State& state) {
    compare(state, kWindow, kDouble, R::kInterpolationLinear, STBIR_FILTER_TRIANGLE);
}
BENCHMARK(BM_LinearUpVsStbTriangle)->UseManualTime();

void BM_LinearDownVsStbTriangle(benchmark::State& state) {
    compare(state, kDouble, kWindow, R::kInterpolationLinear, STBIR_FILTER_TRIANGLE);
}
BENCHMARK(BM_LinearDownVsStbTriangle)->UseManualTime();

// The sizes of a skin picture drawn at half and at twice its size.
constexpr R::Size kSkin{609, 270};

void BM_LinearDownVsPixmanBilinear(benchmark::State& state) { compareWithPixman(state, kSkin, {300, 133}); }
BENCHMARK(BM_LinearDownVsPixmanBilinear)->UseManualTime();

void BM_LinearUpVsPixmanBilinear(benchmark::State& state) { compareWithPixman(state, kSkin, {1218, 540}); }
BENCHMARK(BM_LinearUpVsPixmanBilinear)->UseManualTime();

// stb_image_resize has no nearest-neighbour filter: its box filter is the
// closest (and equal to nearest at whole-number enlargements).
void BM_NearestUpVsStbBox(benchmark::State& state) {
    compare(state, kWindow, kDouble, R::kInterpolationNearest, STBIR_FILTER_BOX);
}
BENCHMARK(BM_NearestUpVsStbBox)->UseManualTime();

void BM_NearestDownVsStbBox(benchmark::State& state) {
    compare(state, kDouble, kWindow, R::kInterpolationNearest, STBIR_FILTER_BOX);
}
BENCHMARK(BM_NearestDownVsStbBox)->UseManualTime();

}  // namespace

BENCHMARK_MAIN();
