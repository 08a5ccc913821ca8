#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>

#include "CoreTestSupport.h"
#include "PostScriptTestFonts.h"
#include "TrueTypeTestFont.h"
#include "uia/picture/Font.h"

namespace QX::NWL {
namespace {

using Testing::ErrorCapture;
using UIA::Test::inkOf;

// A "skin/fonts" folder in the working folder for the life of the test, with
// the skin folder switched on.
class SkinFonts {
public:
    SkinFonts() : root_(std::filesystem::current_path() / "skin")
    {
        std::filesystem::create_directories(root_ / "fonts");
        setUseSkinFolder(true);
    }
    ~SkinFonts()
    {
        setUseSkinFolder(false);
        std::filesystem::remove_all(root_);
    }
    SkinFonts(const SkinFonts&) = delete;
    SkinFonts& operator=(const SkinFonts&) = delete;

    void add(const std::string& name, const std::vector<std::uint8_t>& bytes) const
    {
        std::ofstream file(root_ / "fonts" / name, std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

private:
    std::filesystem::path root_;
};

// A skin font that is missing, or whose file FreeType takes for a font but
// cannot draw with (a truncated file opens with every glyph empty), cannot
// open at all, would keep busy (composite glyphs nested too deep) or is not
// TrueType (a CFF font, which draws in FreeType), is
// reported once by name, however many sizes it is asked at, and replaced by
// the default face, which draws. The names are the test's
// own: faces are shared by name in the process.
TEST(ManagerContainerFonts, missingOrUnusableFontFallsBackToTheDefaultWithOneReport)
{
    Testing::registerProgramFonts();
    const std::vector<std::uint8_t> whole = Testing::readFontFile("virid.ttf");
    ASSERT_GT(whole.size(), 1000u);
    std::vector<std::uint8_t> noise(4096);
    std::mt19937 random(20261207);
    for (std::uint8_t& byte : noise)
        byte = std::uint8_t(random());
    const std::string missing = "NWL::ManagerContainer::getResourceStream - can't find resource: ";
    const std::string unusable = "NWL::ManagerContainer::getFont - can't use font ";
    const struct {
        std::string name;
        std::optional<std::vector<std::uint8_t>> bytes;  // none: no such file
        std::string report;                              // the report's start; it ends with the name
    } cases[] = {
        {"missing-virid.ttf", std::nullopt, missing},
        {"truncated-virid.ttf", std::vector<std::uint8_t>(whole.begin(), whole.begin() + std::ptrdiff_t(whole.size() / 2)),
         unusable},
        {"random-virid.ttf", noise, unusable},
        {"composites-9-deep.ttf", UIA::Test::writeTrueTypeFont(UIA::Test::nestedArrowFont(9, 1)), unusable},
        {"arrows.cff", UIA::Test::writeCffFont({{{{0x2192}, UIA::Test::arrowOutline()}}}), unusable},
    };

    const SkinFonts skin;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.bytes)
            skin.add(c.name, *c.bytes);
        ManagerContainer container;
        ErrorCapture capture;
        for (const std::int32_t size : {13, 20, 9}) {
            SCOPED_TRACE(size);
            FontDescription description;
            description.name = c.name;
            description.baseSize = size;
            FontDescription plain;
            plain.baseSize = size;

            const UIA::Font* font = container.getFont(description);
            ASSERT_NE(font, nullptr);
            EXPECT_TRUE(font->isUsable());
            EXPECT_GT(inkOf(*font, "Firmware"), 0);
            EXPECT_EQ(font->getTextWidth("Firmware"), container.getFont(plain)->getTextWidth("Firmware"));
            EXPECT_EQ(container.getFont(description), font);
        }
        ASSERT_EQ(capture.messages.size(), 1u) << ::testing::PrintToString(capture.messages);
        EXPECT_EQ(capture.messages[0].rfind(c.report, 0), 0u) << capture.messages[0];
        EXPECT_TRUE(capture.messages[0].ends_with(c.name)) << capture.messages[0];
    }
}

// A skin font with glyphs only outside ASCII (arrows, an icon in the private
// use area) is a face of its own, not reported and not replaced.
TEST(ManagerContainerFonts, fontWithoutAsciiGlyphsIsUsedWithoutReport)
{
    Testing::registerProgramFonts();
    const std::string name = "arrows-only.ttf";
    const SkinFonts skin;
    skin.add(name, UIA::Test::writeTrueTypeFont({{{{0x2192, 0xE000}, UIA::Test::arrowOutline()}}}));
    ManagerContainer container;
    ErrorCapture capture;
    FontDescription description;
    description.name = name;
    description.baseSize = 16;

    const UIA::Font* font = container.getFont(description);
    ASSERT_NE(font, nullptr);
    EXPECT_TRUE(font->isUsable());
    // The default face would have resource id 1 and no name.
    EXPECT_EQ(font->getResourceId(), 0);
    EXPECT_EQ(font->getName(), name);
    EXPECT_GT(inkOf(*font, "\u2192"), 0);
    EXPECT_GT(inkOf(*font, "\uE000"), 0);
    EXPECT_EQ(capture.messages, std::vector<std::string>{});
}

}  // namespace
}  // namespace QX::NWL
