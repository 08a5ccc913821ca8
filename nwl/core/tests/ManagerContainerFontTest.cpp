#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "CoreTestSupport.h"
#include "uia/picture/Font.h"
#include "uia/picture/Picture.h"
#include "uia/picture/PictureRect.h"

namespace QX::NWL {
namespace {

using Testing::ErrorCapture;

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

// How many pixels the text changes when drawn in black on white.
int inkOf(const UIA::Font& font, const std::string& text)
{
    UIA::Picture picture;
    EXPECT_TRUE(picture.resize(200, 40, true));
    picture.fill(0xFFFFFFFFu);
    font.drawText(picture, UIA::PictureRect(0, 0, 200, 40), text, 0xFF000000u, UIA::kAlignLeft | UIA::kAlignTop, 0);
    int ink = 0;
    for (std::uint32_t i = 0; i < 200u * 40u; ++i)
        ink += picture.getPixels()[i] != 0xFFFFFFFFu;
    return ink;
}

// A skin font file that FreeType takes for a font but cannot draw with (a
// truncated file opens with every glyph empty), or cannot open at all, is
// reported once, by name, and replaced by the default face, which draws. The
// names are the test's own: faces are shared by name in the process.
TEST(ManagerContainerFonts, unusableFontFallsBackToTheDefaultWithOneReport)
{
    Testing::registerProgramFonts();
    const std::vector<std::uint8_t> whole = Testing::readFontFile("virid.ttf");
    ASSERT_GT(whole.size(), 1000u);
    std::vector<std::uint8_t> noise(4096);
    std::mt19937 random(20261207);
    for (std::uint8_t& byte : noise)
        byte = std::uint8_t(random());
    const std::pair<std::string, std::vector<std::uint8_t>> files[] = {
        {"truncated-virid.ttf", {whole.begin(), whole.begin() + std::ptrdiff_t(whole.size() / 2)}},
        {"random-virid.ttf", noise},
    };

    const SkinFonts skin;
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        skin.add(name, bytes);
        ManagerContainer container;
        ErrorCapture capture;
        FontDescription description;
        description.name = name;
        description.baseSize = 13;
        FontDescription plain;
        plain.baseSize = 13;

        const UIA::Font* font = container.getFont(description);
        ASSERT_NE(font, nullptr);
        EXPECT_TRUE(font->isUsable());
        EXPECT_GT(inkOf(*font, "Firmware"), 0);
        EXPECT_EQ(font->getTextWidth("Firmware"), container.getFont(plain)->getTextWidth("Firmware"));
        EXPECT_EQ(container.getFont(description), font);
        // The same file at another size falls back too, without a second report.
        FontDescription larger = description;
        larger.baseSize = 20;
        EXPECT_GT(inkOf(*container.getFont(larger), "Firmware"), 0);
        // Not the report of a missing file: this one was found, and refused.
        EXPECT_EQ(capture.messages, std::vector<std::string>{"NWL::ManagerContainer::getFont - can't use font " + name});
    }
}

}  // namespace
}  // namespace QX::NWL
