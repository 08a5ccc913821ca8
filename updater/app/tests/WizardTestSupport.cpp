#include "WizardTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "PngTestSupport.h"
#include "gp/Resources.h"
#include "nwl/canvas/Canvas.h"
#include "nwl/core/Library.h"
#include "uia/picture/Font.h"

namespace QX::Testing {

namespace {

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
    return UIA::Test::writePng(canvas.getPixels(), std::uint32_t(width), std::uint32_t(height), path);
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
