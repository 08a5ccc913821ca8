#include "WizardTestSupport.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "gp/Resources.h"
#include "nwl/canvas/Canvas.h"
#include "nwl/core/Library.h"
#include "uia/picture/Font.h"

namespace QX::Testing {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The widget library started once for every test, with the program's
// resources at hand.
class WidgetLibraryEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        registerProgramResources();
        NWL::init();
    }
    void TearDown() override { NWL::exit(); }
};

const auto* const kWidgetLibrary = ::testing::AddGlobalTestEnvironment(new WidgetLibraryEnvironment);

}  // namespace

void registerProgramResources() {
    const std::string fonts = QX_TEST_FONT_DIR;
    GP::registerResource(GP::ResourceId(1), UIA::kFontResourceType, readFileBytes(fonts + "/default.ttf"));
    GP::registerResource(GP::ResourceId("VIRID.TTF"), UIA::kFontResourceType, readFileBytes(fonts + "/virid.ttf"));
    for (const auto& entry : std::filesystem::directory_iterator(QX_TEST_PICTURE_DIR)) {
        const std::string name = entry.path().filename().string();
        GP::registerResource(GP::ResourceId(name), "PICTURE", readFileBytes(entry.path().string()));
    }
    GP::registerResource(GP::ResourceId("FirmwareUpdaterStyles.txt"), "STYLESHEET",
                         readFileBytes(QX_TEST_STYLESHEET));
}

bool writeCanvasPng(const NWL::Canvas& canvas, std::int32_t width, std::int32_t height, const std::string& path) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const std::uint32_t* pixels = canvas.getPixels();
    std::vector<std::uint8_t> row(std::size_t(width) * 4);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t argb = pixels[std::size_t(y) * width + x];
            row[x * 4 + 0] = std::uint8_t(argb >> 16);
            row[x * 4 + 1] = std::uint8_t(argb >> 8);
            row[x * 4 + 2] = std::uint8_t(argb);
            row[x * 4 + 3] = std::uint8_t(argb >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

void act(UpdateWizardMainWidget& wizard, FakeController& controller, const char* actions) {
    for (const char* action = actions; *action; ++action) {
        if (*action == 'S') {
            wizard.step();
        } else if (*action == 'T') {
            wizard.onTimer();
        } else {
            const bool negative = *action == '-';
            if (negative) ++action;
            ASSERT_TRUE(controller.cell);
            controller.cell->store(negative ? -(*action - '0') : *action - '0');
        }
    }
}

}  // namespace QX::Testing
