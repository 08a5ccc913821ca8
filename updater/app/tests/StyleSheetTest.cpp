#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <variant>

#include "AppTestSupport.h"
#include "nwl/core/ManagerContainer.h"
#include "nwl/style/ErrorHandlers.h"
#include "nwl/style/StyleParser2.h"
#include "uia/picture/Picture.h"

namespace QX {
namespace {

class StyleSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string text = Testing::readFileText(QX_TEST_STYLESHEET);
        const auto handler = NWL::addErrorHandler([this](const std::string& m) { reports_.push_back(m); });
        NWL::StyleParser2 parser(sheet_);
        parsed_ = parser.parseBuffer(text, "FirmwareUpdaterStyles.txt");
        styles_ = parser.getStyles();
        NWL::removeErrorHandler(handler);
    }

    NWL::StyleSheet sheet_;
    bool parsed_ = false;
    std::vector<NWL::Style> styles_;
    std::vector<std::string> reports_;
};

TEST_F(StyleSheetTest, LoadsWithoutAReport) {
    EXPECT_TRUE(parsed_);
    EXPECT_TRUE(reports_.empty()) << reports_.front();
    EXPECT_GT(styles_.size(), 60u);
}

// Through the resource manager, as the program loads it: its fonts open and
// nothing is reported.
TEST_F(StyleSheetTest, ResourceManagerLoadsItWithoutAReport) {
    std::vector<std::string> reports;
    const auto handler = NWL::addErrorHandler([&](const std::string& m) { reports.push_back(m); });
    EXPECT_TRUE(NWL::getManagerContainer()->loadStylesheet("FirmwareUpdaterStyles.txt"));
    NWL::removeErrorHandler(handler);
    EXPECT_TRUE(reports.empty()) << reports.front();
}

// Every picture a style names exists, and a strip holds whole frames of the
// count that style gives.
TEST_F(StyleSheetTest, EveryPictureExistsWithWholeFrames) {
    std::map<std::string, std::int32_t> framesByPicture;
    for (const auto& style : styles_) {
        std::string image;
        std::int32_t frames = 1;
        for (const auto& property : style.properties) {
            if (property.name == qx::symbol("image") && property.unit == NWL::Property::eURL) {
                image = std::get<std::string>(property.value);
            }
            if (property.name == qx::symbol("animations")) frames = std::get<std::int32_t>(property.value);
        }
        if (!image.empty()) framesByPicture[image] = std::max(framesByPicture[image], frames);
    }
    EXPECT_EQ(framesByPicture.size(), 14u);
    for (const auto& [name, frames] : framesByPicture) {
        SCOPED_TRACE(name);
        const auto picture = NWL::getManagerContainer()->getLazyPicture(name, UIA::PictureProperties()).get();
        ASSERT_TRUE(picture);
        EXPECT_GT(picture->getWidth(), 0u);
        EXPECT_EQ(picture->getHeight() % std::uint32_t(frames), 0u);
    }
}

}  // namespace
}  // namespace QX
