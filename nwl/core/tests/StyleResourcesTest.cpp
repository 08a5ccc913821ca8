#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "nwl/style/StyleQuery.h"
#include "uia/picture/Font.h"
#include "uia/picture/Picture.h"

namespace QX::NWL {
namespace {

using Testing::derivedOf;
using Testing::ErrorCapture;
using Testing::FakeWidget;
using Testing::loadSheet;

class StyleResourcesTest : public ::testing::Test {
protected:
    StyleResourcesTest() { Testing::registerProgramFonts(); }
    ManagerContainer container;
};

struct PictureRowCase {
    const char* declarations;
    std::uint32_t frames;
    std::uint32_t fixedFlags;
    std::uint32_t top, bottom, left, right;
};

class PictureRowTest : public StyleResourcesTest, public ::testing::WithParamInterface<PictureRowCase> {};

// The picture properties a style's declarations add up to, as the loaded
// picture carries them.
TEST_P(PictureRowTest, foldsIntoThePictureProperties)
{
    GP::registerResource(GP::ResourceId("ROW.TGA"), "PICTURE", Testing::makeTga(4, 4, 0xFF00FF00));
    ASSERT_TRUE(loadSheet(container, std::string("Label { image: url(\"row.tga\"); ") + GetParam().declarations + " }"));
    FakeWidget label("Label");
    const Property* picture = derivedOf(container, label, "picture");
    ASSERT_NE(picture, nullptr);
    const auto loaded = std::get<LazyPicture>(picture->value).get(1.0f);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->getAnimationCount(), GetParam().frames);
    EXPECT_EQ(loaded->getFixedFlags(), GetParam().fixedFlags);
    EXPECT_EQ(loaded->getFixedTop(), GetParam().top);
    EXPECT_EQ(loaded->getFixedBottom(), GetParam().bottom);
    EXPECT_EQ(loaded->getFixedLeft(), GetParam().left);
    EXPECT_EQ(loaded->getFixedRight(), GetParam().right);
}

INSTANTIATE_TEST_SUITE_P(
    StyleResources, PictureRowTest,
    ::testing::Values(PictureRowCase{"", 0, 0, 0, 0, 0, 0},
                      PictureRowCase{"animations: 7;", 7, 0, 0, 0, 0, 0},
                      PictureRowCase{"fixed: 6px;", 0, 3, 6, 6, 6, 6},
                      PictureRowCase{"fixed: 6;", 0, 3, 6, 6, 6, 6},
                      PictureRowCase{"fixed-left: 2px; fixed-right: 3;", 0, 2, 0, 0, 2, 3},
                      PictureRowCase{"fixed-top: 4; animations: 3;", 3, 1, 4, 0, 0, 0},
                      // Rows with another unit have no effect; negative and real values neither.
                      PictureRowCase{"animations: 2px; fixed: 50%;", 0, 0, 0, 0, 0, 0},
                      PictureRowCase{"animations: -1; fixed: -6; fixed-top: -2px;", 0, 0, 0, 0, 0, 0},
                      PictureRowCase{"animations: 2.5; fixed: 6.5px; animations: 2;", 2, 0, 0, 0, 0, 0}));

TEST_F(StyleResourcesTest, aFixedBorderAppliesToTheDyeMaskToo)
{
    GP::registerResource(GP::ResourceId("MASK.TGA"), "PICTURE", Testing::makeTga(4, 4, 0xFF000000));
    ASSERT_TRUE(loadSheet(container, "Label { dye-mask: url(\"mask.tga\"); fixed: 6px; dye-mask-animations: 2; }"));
    FakeWidget label("Label");
    const auto mask = std::get<LazyPicture>(derivedOf(container, label, "dye-mask-picture")->value).get();
    ASSERT_NE(mask, nullptr);
    EXPECT_EQ(mask->getFixedLeft(), 6u);
    EXPECT_EQ(mask->getFixedFlags(), 3u);
    EXPECT_EQ(mask->getAnimationCount(), 2u);
    EXPECT_EQ(derivedOf(container, label, "picture"), nullptr);
}

TEST_F(StyleResourcesTest, imageNoHidesALessSpecificPicture)
{
    ASSERT_TRUE(loadSheet(container, "Label { image: url(\"a.png\"); }\nLabel#plain { image: no; }"));
    FakeWidget label("Label");
    label.name = qx::symbol("plain");
    const Property* picture = derivedOf(container, label, "picture");
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(std::get<LazyPicture>(picture->value).isEmpty());
    label.name = qx::symbol("other");
    EXPECT_EQ(std::get<LazyPicture>(derivedOf(container, label, "picture")->value).getName(), "a.png");
}

struct DisplacementCase {
    const char* declarations;
    const char* property;
    GP::Point expected;
};

class DisplacementRowTest : public StyleResourcesTest, public ::testing::WithParamInterface<DisplacementCase> {};

TEST_P(DisplacementRowTest, givenCoordinatesMakeAPoint)
{
    ASSERT_TRUE(loadSheet(container, std::string("Label { ") + GetParam().declarations + " }"));
    FakeWidget label("Label");
    const Property* point = derivedOf(container, label, GetParam().property);
    ASSERT_NE(point, nullptr);
    EXPECT_EQ(point->unit, Property::ePoint);
    EXPECT_EQ(std::get<GP::Point>(point->value).x, GetParam().expected.x);
    EXPECT_EQ(std::get<GP::Point>(point->value).y, GetParam().expected.y);
}

INSTANTIATE_TEST_SUITE_P(
    StyleResources, DisplacementRowTest,
    ::testing::Values(DisplacementCase{"relative-left: 3;", "picture-displacement", {3, 0}},
                      DisplacementCase{"relative-top: 2px; relative-left: -1;", "picture-displacement", {-1, 2}},
                      DisplacementCase{"foreground-relative-top: 5;", "text-displacement", {0, 5}},
                      DisplacementCase{"foreground-relative-left: 1px; foreground-relative-top: 1;",
                                       "text-displacement", {1, 1}}));

struct FontCase {
    const char* declarations;
    const char* name;
    std::int32_t size;
    std::uint32_t flags;
    std::int32_t resourceId = 1;
};

void PrintTo(const FontCase& c, std::ostream* out) { *out << c.declarations; }

class FontRowTest : public StyleResourcesTest, public ::testing::WithParamInterface<FontCase> {};

TEST_P(FontRowTest, foldsIntoTheFontDescription)
{
    // A second face under its own resource id, so that "font-resid" names a usable font.
    GP::registerResource(GP::ResourceId(2), UIA::kFontResourceType, Testing::readFontFile("virid.ttf"));
    ASSERT_TRUE(loadSheet(container, std::string("@define $face url(\"virid.ttf\");\nLabel { ") +
                                         GetParam().declarations + " }"));
    FakeWidget label("Label");
    const Property* font = derivedOf(container, label, "font");
    ASSERT_NE(font, nullptr);
    FontDescription expected;
    expected.name = GetParam().name;
    expected.baseSize = GetParam().size;
    expected.styleFlags = GetParam().flags;
    expected.resourceId = GetParam().resourceId;
    EXPECT_EQ(std::get<const UIA::Font*>(font->value), container.getFont(expected));
}

constexpr std::uint32_t kBold = UIA::kFontBold;
constexpr std::uint32_t kItalic = UIA::kFontItalic;
constexpr std::uint32_t kUnderline = UIA::kFontUnderline;
constexpr std::uint32_t kHinting = UIA::kFontHinting;

INSTANTIATE_TEST_SUITE_P(
    StyleResources, FontRowTest,
    ::testing::Values(FontCase{"font-name: $face; font-size: 13;", "virid.ttf", 13, 0},
                      FontCase{"font-size: 14px; font-style: bold; font-style: italic;", "", 14, kBold | kItalic},
                      FontCase{"font-style: underline; font-style: heavy;", "", 12, kUnderline},
                      // The default description still derives the (default) font.
                      FontCase{"font-size: 12;", "", 12, 0},
                      FontCase{"font-size: 12.5; font-size: 15;", "", 15, 0},
                      FontCase{"font-hinting: true;", "", 12, kHinting},
                      FontCase{"font-hinting: true; font-style: bold; font-hinting: false;", "", 12, kBold},
                      FontCase{"font-resid: 2;", "", 12, 0, 2},
                      FontCase{"font-resid: 2px; font-size: 13;", "", 13, 0},
                      // A family is named by a word, never by a url.
                      FontCase{"font-family: Serif;", "Serif", 12, kFontFamilyName},
                      FontCase{"font-family: $face; font-size: 13;", "", 13, 0}));

TEST_F(StyleResourcesTest, aMoreSpecificDefaultFontBeatsALessSpecificFont)
{
    ASSERT_TRUE(loadSheet(container, "Label { font-size: 16; }\nLabel#x { font-size: 12; }"));
    FakeWidget label("Label");
    label.name = qx::symbol("x");
    const Property* font = derivedOf(container, label, "font");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(std::get<const UIA::Font*>(font->value), container.getDefaultFont());
}

TEST_F(StyleResourcesTest, aRealWhereAnIntegerBelongsIsReportedAndSkipped)
{
    ErrorCapture capture;
    ASSERT_TRUE(loadSheet(container, "Label { x: 1; }\n\nButton {\n font-size: 12.5; animations: 2.5; }\nBar { y: 2; }"));
    ASSERT_EQ(capture.messages.size(), 2u);
    EXPECT_EQ(capture.messages[0].rfind("Stylesheet error: test.txt:3 - font-size", 0), 0u) << capture.messages[0];
    EXPECT_NE(capture.messages[1].find("animations"), std::string::npos);
    FakeWidget bar("Bar");
    EXPECT_NE(derivedOf(container, bar, "y"), nullptr);
    FakeWidget button("Button");
    EXPECT_EQ(derivedOf(container, button, "font"), nullptr);
}

TEST_F(StyleResourcesTest, theDefaultSheetIsParsedWhileTheContainerIsBuilt)
{
    FakeWidget bar("Bar");
    bar.sheet = &container.getStyleManager().getStyleSheet();
    const std::uint32_t none = 0;
    EXPECT_EQ(*findColorProperty(bar, qx::symbol("background-color"), &none), 0xFF202020u);
    bar.hovered = true;
    EXPECT_EQ(*findColorProperty(bar, qx::symbol("background-color"), &none), 0xFFD0D0D0u);
}

}  // namespace
}  // namespace QX::NWL
