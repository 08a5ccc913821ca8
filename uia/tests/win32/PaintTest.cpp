#include "WindowTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include "uia/DeviceContext.h"
#include "uia/picture/Picture.h"

namespace QX::UIA::Test {
namespace {

// The X server's root window as xwd writes it: 32-bit pixels in rows.
struct ScreenShot {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bytesPerLine = 0;
    std::uint32_t bytesPerPixel = 4;
    bool leastSignificantFirst = true;
    std::vector<std::uint8_t> pixels;

    // 0x00RRGGBB of a screen pixel.
    std::uint32_t at(int x, int y) const {
        const std::uint8_t* p = pixels.data() + std::size_t(y) * bytesPerLine + std::size_t(x) * bytesPerPixel;
        const std::uint8_t* last = p + bytesPerPixel - 1;
        return leastSignificantFirst ? (std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0])
                                     : (std::uint32_t(last[-2]) << 16 | std::uint32_t(last[-1]) << 8 | last[0]);
    }
};

std::uint32_t bigEndian(const std::vector<std::uint8_t>& bytes, std::size_t field) {
    const std::uint8_t* p = bytes.data() + field * 4;
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

bool takeScreenShot(ScreenShot& shot) {
    char file[] = "/tmp/qx-window-shot-XXXXXX";
    const int descriptor = mkstemp(file);
    if (descriptor < 0) return false;
    close(descriptor);
    const std::string command = std::string("xwd -root -silent > ") + file;
    const bool taken = std::system(command.c_str()) == 0;
    std::ifstream input(file, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(input)), std::istreambuf_iterator<char>());
    std::remove(file);
    if (!taken || bytes.size() < 100) return false;
    const std::uint32_t headerSize = bigEndian(bytes, 0);
    shot.bytesPerPixel = bigEndian(bytes, 11) / 8;
    if (shot.bytesPerPixel != 3 && shot.bytesPerPixel != 4) return false;
    shot.width = bigEndian(bytes, 4);
    shot.height = bigEndian(bytes, 5);
    shot.leastSignificantFirst = bigEndian(bytes, 7) == 0;
    shot.bytesPerLine = bigEndian(bytes, 12);
    const std::size_t start = headerSize + std::size_t(bigEndian(bytes, 19)) * 12;
    if (bytes.size() < start + std::size_t(shot.bytesPerLine) * shot.height) return false;
    shot.pixels.assign(bytes.begin() + std::ptrdiff_t(start), bytes.end());
    return true;
}

std::uint32_t patternAt(std::uint32_t x, std::uint32_t y) {
    return 0xFF000000u | (x * 4u) << 16 | (y * 5u) << 8 | ((x + y) & 0xFF);
}

// Reads the screen: run alone (see the Screen tests in CMakeLists.txt).
class ScreenPaintTest : public WindowTest {
protected:
    void SetUp() override {
        picture.resize(64, 48, true);
        for (std::uint32_t y = 0; y < 48; ++y)
            for (std::uint32_t x = 0; x < 64; ++x) picture.getRow(y)[x] = patternAt(x, y);
    }
    void TearDown() override {
        window.reset();
        pumpMessages(10);
    }
    POINT clientOrigin() const {
        POINT origin{0, 0};
        ClientToScreen(window->hwnd(), &origin);
        return origin;
    }

    Picture picture;
    std::unique_ptr<RecordingWindow> window;
};

TEST_F(ScreenPaintTest, PaintedPictureShowsOnTheScreen) {
    window = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(window->create(clientOptions(320, 240, 64, 48)));
    int paints = 0;
    window->handler = [&](std::uint32_t id, void* data) {
        if (id != EventId::kWindowPaint) return false;
        DeviceContext* context = *static_cast<DeviceContext**>(data);
        EXPECT_TRUE(context->isPainting());
        context->drawPicture(picture, false);
        ++paints;
        return true;
    };
    window->setVisible(true);
    window->impl()->update();
    pumpMessages(300);
    ASSERT_GE(paints, 1);

    ScreenShot shot;
    ASSERT_TRUE(takeScreenShot(shot));
    const POINT origin = clientOrigin();
    int wrong = 0;
    for (std::uint32_t y = 0; y < 48; ++y)
        for (std::uint32_t x = 0; x < 64; ++x)
            if (shot.at(origin.x + int(x), origin.y + int(y)) != (patternAt(x, y) & 0xFFFFFF)) ++wrong;
    EXPECT_EQ(wrong, 0) << "first pixel on the screen " << std::hex << shot.at(origin.x, origin.y);
}

TEST_F(ScreenPaintTest, PartialRepaintDrawsThePictureRowsItCovers) {
    window = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(window->create(clientOptions(320, 240, 64, 48)));
    bool drawWhite = true;
    window->handler = [&](std::uint32_t id, void* data) {
        if (id != EventId::kWindowPaint) return false;
        Picture white;
        white.resize(64, 48, true);
        white.fill(0xFFFFFFFF);
        (*static_cast<DeviceContext**>(data))->drawPicture(drawWhite ? white : picture, false);
        return true;
    };
    window->setVisible(true);
    window->impl()->update();
    pumpMessages(200);
    drawWhite = false;
    window->impl()->invalidateRect(GP::Rect{10, 20, 30, 40});
    window->impl()->update();
    pumpMessages(300);

    ScreenShot shot;
    ASSERT_TRUE(takeScreenShot(shot));
    const POINT origin = clientOrigin();
    EXPECT_EQ(shot.at(origin.x + 15, origin.y + 25), patternAt(15, 25) & 0xFFFFFF);
    EXPECT_EQ(shot.at(origin.x + 29, origin.y + 39), patternAt(29, 39) & 0xFFFFFF);
    EXPECT_EQ(shot.at(origin.x + 5, origin.y + 5), 0xFFFFFFu);
    EXPECT_EQ(shot.at(origin.x + 40, origin.y + 30), 0xFFFFFFu);
}

using PaintTest = ScreenPaintTest;

TEST_F(PaintTest, UnhandledPaintStillValidates) {
    window = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(window->create(clientOptions(320, 240, 64, 48)));
    window->setVisible(true);
    window->invalidate();
    window->impl()->update();
    EXPECT_TRUE(window->received(EventId::kWindowPaint));
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(window->hwnd(), &update, FALSE));
}

TEST_F(PaintTest, DrawingOutsidePaintingDoesNothing) {
    DeviceContext context;
    EXPECT_FALSE(context.isPainting());
    context.drawPicture(picture, false);
    Picture empty;
    window = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(window->create(clientOptions(320, 240, 64, 48)));
    EXPECT_FALSE(window->presentLayered(picture));  // not a layered window
}

TEST_F(ScreenPaintTest, LayeredWindowShowsPremultipliedPixels) {
    window = std::make_unique<RecordingWindow>();
    ASSERT_TRUE(window->create(clientOptions(420, 300, 64, 48, WindowOptions::kLayered | WindowOptions::kFramelessPopup)));
    EXPECT_TRUE(window->isLayered());
    EXPECT_TRUE(window->usesAlpha());
    picture.fill(0x80326496);  // alpha 128, red 50, green 100, blue 150
    picture.getRow(0)[0] = 0x803264C8;  // blue 200
    Picture empty;
    EXPECT_TRUE(window->presentLayered(empty));  // nothing to present
    EXPECT_TRUE(window->presentLayered(picture));
    window->setVisible(true);
    pumpMessages(300);

    ScreenShot shot;
    ASSERT_TRUE(takeScreenShot(shot));
    const POINT origin = clientOrigin();
    // Premultiplied: each colour times 128 / 255, truncated.
    EXPECT_EQ(shot.at(origin.x + 0, origin.y + 0), 0x193264u);  // red 25, green 50, blue 100
    EXPECT_EQ(shot.at(origin.x + 30, origin.y + 30), 0x19324Bu);
}

TEST(PictureDCTest, OffScreenBitmapIsReady) {
    PictureDC context(16, 8);
    ASSERT_TRUE(context.isValid());
    EXPECT_NE(context.getHandle(), nullptr);
    EXPECT_NE(context.getPixels(), nullptr);
}

}  // namespace
}  // namespace QX::UIA::Test
