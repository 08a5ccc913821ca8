// Our picture paths side by side with established peers. Each benchmark
// times ours (the reported time) and the peer in the same iterations and
// reports peer_ns / ours_ns as "speedup" (above 1: we are faster).
#include <benchmark/benchmark.h>
#include <pixman.h>
#include <png.h>

#include <chrono>
#include <random>
#include <vector>

#include "gp/Storage.h"
#include "gp/StorageIO.h"
#include "uia/picture/Picture.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_ONLY_PNG
#include <stb/stb_image.h>

using QX::UIA::Picture;

namespace {

constexpr std::uint32_t kWidth = 628;
constexpr std::uint32_t kHeight = 336;

using Clock = std::chrono::steady_clock;

template <class Work>
double timeSeconds(Work&& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class SideBySide {
public:
    explicit SideBySide(benchmark::State& state) : state_(state) {}
    template <class Ours, class Peer>
    void iterate(Ours&& ours, Peer&& peer) {
        const double oursTime = timeSeconds(ours);
        peerSeconds_ += timeSeconds(peer);
        oursSeconds_ += oursTime;
        state_.SetIterationTime(oursTime);
    }
    ~SideBySide() {
        const double n = double(state_.iterations() > 0 ? state_.iterations() : 1);
        state_.counters["ours_ns"] = oursSeconds_ / n * 1e9;
        state_.counters["peer_ns"] = peerSeconds_ / n * 1e9;
        state_.counters["speedup"] = oursSeconds_ > 0 ? peerSeconds_ / oursSeconds_ : 0;
    }

private:
    benchmark::State& state_;
    double oursSeconds_ = 0;
    double peerSeconds_ = 0;
};

// A translucent picture as drawn over the window: alpha varies from clear
// to opaque.
std::vector<std::uint32_t> makeTranslucentPixels() {
    std::vector<std::uint32_t> pixels(std::size_t(kWidth) * kHeight);
    std::mt19937 random(1);
    for (auto& p : pixels) {
        p = random();
    }
    return pixels;
}

std::uint32_t premultiply(std::uint32_t p) {
    const std::uint32_t a = p >> 24;
    auto scale = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return a << 24 | scale((p >> 16) & 0xFF) << 16 | scale((p >> 8) & 0xFF) << 8 | scale(p & 0xFF);
}

void BM_BlendOverOpaqueVsPixman(benchmark::State& state) {
    const auto pixels = makeTranslucentPixels();
    Picture source, dest;
    source.resize(kWidth, kHeight, true);
    dest.resize(kWidth, kHeight, true);
    std::copy(pixels.begin(), pixels.end(), source.getPixels());
    dest.fill(0xFF336699);

    std::vector<std::uint32_t> peerSource(pixels.size()), peerDest(pixels.size(), 0xFF336699);
    std::transform(pixels.begin(), pixels.end(), peerSource.begin(), premultiply);
    pixman_image_t* src = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, peerSource.data(), kWidth * 4);
    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_x8r8g8b8, kWidth, kHeight, peerDest.data(), kWidth * 4);
    {
        SideBySide sides(state);
        for (auto _ : state) {
            sides.iterate([&] { dest.blendPicture(0, 0, source, 0); },
                          [&] { pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, 0, 0, 0, 0, 0, 0,
                                                         kWidth, kHeight); });
            benchmark::DoNotOptimize(dest.getPixels());
            benchmark::DoNotOptimize(peerDest.data());
        }
    }
    pixman_image_unref(src);
    pixman_image_unref(dst);
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_BlendOverOpaqueVsPixman)->UseManualTime();

// Copy source-over of a translucent picture onto `destAlpha`-alpha pixels
// (0: the cleared buffer of a repaint's first layer), against pixman's OVER
// on premultiplied pixels. Both destinations are reset between iterations,
// outside the timing.
void copySourceOverVsPixman(benchmark::State& state, std::uint32_t destPixel) {
    const auto pixels = makeTranslucentPixels();
    Picture source, dest;
    source.resize(kWidth, kHeight, true);
    dest.resize(kWidth, kHeight, true);
    std::copy(pixels.begin(), pixels.end(), source.getPixels());
    source.setOption(true);
    dest.setTransparency(false);

    std::vector<std::uint32_t> peerSource(pixels.size()), peerDest(pixels.size());
    std::transform(pixels.begin(), pixels.end(), peerSource.begin(), premultiply);
    pixman_image_t* src = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, peerSource.data(), kWidth * 4);
    pixman_image_t* dst = pixman_image_create_bits(PIXMAN_a8r8g8b8, kWidth, kHeight, peerDest.data(), kWidth * 4);
    {
        SideBySide sides(state);
        for (auto _ : state) {
            dest.fill(destPixel);
            std::fill(peerDest.begin(), peerDest.end(), premultiply(destPixel));
            sides.iterate([&] { dest.copyPicture(0, 0, source, 0); },
                          [&] { pixman_image_composite32(PIXMAN_OP_OVER, src, nullptr, dst, 0, 0, 0, 0, 0, 0,
                                                         kWidth, kHeight); });
            benchmark::DoNotOptimize(dest.getPixels());
            benchmark::DoNotOptimize(peerDest.data());
        }
    }
    pixman_image_unref(src);
    pixman_image_unref(dst);
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void BM_CopySourceOverClearVsPixman(benchmark::State& state) { copySourceOverVsPixman(state, 0); }
BENCHMARK(BM_CopySourceOverClearVsPixman)->UseManualTime();

void BM_CopySourceOverOpaqueVsPixman(benchmark::State& state) { copySourceOverVsPixman(state, 0xFF336699); }
BENCHMARK(BM_CopySourceOverOpaqueVsPixman)->UseManualTime();

void BM_CopySourceOverTranslucentVsPixman(benchmark::State& state) { copySourceOverVsPixman(state, 0x80336699); }
BENCHMARK(BM_CopySourceOverTranslucentVsPixman)->UseManualTime();

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

// A window-sized RGBA picture with gradients and some noise, as skins have.
std::vector<std::uint8_t> makePngFile() {
    std::vector<std::uint8_t> rows(std::size_t(kWidth) * kHeight * 4);
    std::mt19937 random(2);
    for (std::uint32_t y = 0; y < kHeight; ++y) {
        for (std::uint32_t x = 0; x < kWidth; ++x) {
            std::uint8_t* p = &rows[(std::size_t(y) * kWidth + x) * 4];
            p[0] = std::uint8_t(x * 255 / kWidth);
            p[1] = std::uint8_t(y * 255 / kHeight);
            p[2] = std::uint8_t((x + y) / 4 + (random() & 7));
            p[3] = std::uint8_t(x < 40 ? x * 6 : 255);
        }
    }
    std::vector<std::uint8_t> file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &file, appendBytes, flushNothing);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (std::uint32_t y = 0; y < kHeight; ++y) {
        png_write_row(png, &rows[std::size_t(y) * kWidth * 4]);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return file;
}

void BM_PngDecodeVsStbImage(benchmark::State& state) {
    const std::vector<std::uint8_t> file = makePngFile();
    auto storage = QX::GP::MemoryStorage::borrow(file.data(), file.size());
    {
        SideBySide sides(state);
        for (auto _ : state) {
            sides.iterate(
                [&] {
                    storage->seek(0, QX::GP::kSeekStart);
                    QX::GP::StorageIO reader(storage.get());
                    Picture picture;
                    if (!picture.loadFromStream(reader, true)) {
                        state.SkipWithError("decode failed");
                    }
                    benchmark::DoNotOptimize(picture.getPixels());
                },
                [&] {
                    int width = 0, height = 0, channels = 0;
                    stbi_uc* pixels = stbi_load_from_memory(file.data(), int(file.size()), &width, &height,
                                                            &channels, 4);
                    benchmark::DoNotOptimize(pixels);
                    stbi_image_free(pixels);
                });
        }
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(file.size()));
}
BENCHMARK(BM_PngDecodeVsStbImage)->UseManualTime();

void BM_CopyOpaque(benchmark::State& state) {
    Picture source, dest;
    source.resize(kWidth, kHeight, true);
    dest.resize(kWidth, kHeight, true);
    source.fill(0xFF808080);
    for (auto _ : state) {
        dest.copyPicture(0, 0, source, 0);
        benchmark::DoNotOptimize(dest.getPixels());
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_CopyOpaque);

}  // namespace

BENCHMARK_MAIN();
