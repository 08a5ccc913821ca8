#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <variant>

#include "WizardTestSupport.h"
#include "nwl/core/ManagerContainer.h"
#include "nwl/style/StyleParser2.h"
#include "uia/picture/Picture.h"

namespace QX {
namespace {

class StyleSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto bytes = Testing::readFileBytes(QX_TEST_STYLESHEET);
        const std::string text(bytes.begin(), bytes.end());
        const Testing::ReportCollector collector;
        NWL::StyleParser2 parser(sheet_);
        parsed_ = parser.parseBuffer(text, "FirmwareUpdaterStyles.txt");
        styles_ = parser.getStyles();
        reports_ = collector.reports;
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
