#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "CoreTestSupport.h"
#include "uia/picture/Font.h"
#include "uia/picture/Picture.h"

namespace QX::NWL {
namespace {

using Testing::ErrorCapture;

class ManagerContainerTest : public ::testing::Test {
protected:
    ManagerContainerTest() { Testing::registerProgramFonts(); }
    ~ManagerContainerTest() override { setUseSkinFolder(false); }
};

// A "skin" folder in a folder (the working folder unless given) for the life
// of the test; its picture holds the text `picture`.
class SkinFolder {
public:
    explicit SkinFolder(const std::filesystem::path& folder = std::filesystem::current_path(),
                        const std::string& picture = "skin picture")
        : root_(folder / "skin")
    {
        std::filesystem::create_directories(root_ / "pictures" / "sub");
        std::filesystem::create_directories(root_ / "stylesheets");
        std::ofstream(root_ / "pictures" / "sub" / "a.tga", std::ios::binary) << picture;
        std::ofstream(root_ / "stylesheets" / "skin.txt") << "Label { x: 7; }";
        std::ofstream(root_ / "stylesheets" / "broken.txt") << "Label { x: 7; }\n%junk\n";
    }
    ~SkinFolder() { std::filesystem::remove_all(root_); }
    SkinFolder(const SkinFolder&) = delete;
    SkinFolder& operator=(const SkinFolder&) = delete;

private:
    std::filesystem::path root_;
};

std::string readAll(GP::Stream& stream)
{
    std::string text(static_cast<std::size_t>(stream.getSize()), '\0');
    text.resize(stream.read(text.data(), text.size()));
    return text;
}

// Where resources come from: a skin folder replaces the program's own only
// when the switch is on.
TEST_F(ManagerContainerTest, resourceModesFollowTheSwitchAndTheSkinFolder)
{
    struct tCase {
        bool skinFolder;
        bool useSkin;
        const char* name;
        ManagerContainer::eResourceKind kind;
        bool found;
        ManagerContainer::eResourceMode mode;
    };
    const tCase cases[] = {
        {true, false, "sub/a.tga", ManagerContainer::ePicture, false, ManagerContainer::eProgramResources},
        {false, true, "virid.ttf", ManagerContainer::eFont, true, ManagerContainer::eProgramResources},
        {true, true, "sub/a.tga", ManagerContainer::ePicture, true, ManagerContainer::eSkinFolder},
    };
    for (const tCase& c : cases) {
        std::optional<SkinFolder> skin;
        if (c.skinFolder)
            skin.emplace();
        setUseSkinFolder(c.useSkin);
        ManagerContainer container;
        const auto stream = container.getResourceStream(c.name, c.kind, false);
        EXPECT_EQ(stream != nullptr, c.found) << c.name;
        EXPECT_EQ(container.getResourceMode(), c.mode) << c.name;
        if (stream && c.skinFolder) {
            EXPECT_EQ(readAll(*stream), "skin picture");
        }
    }
}

TEST_F(ManagerContainerTest, aSkinFolderHidesTheProgramsResources)
{
    SkinFolder skin;
    setUseSkinFolder(true);
    ManagerContainer container;
    // The program's own resources are not looked at any more.
    ErrorCapture capture;
    EXPECT_EQ(container.getResourceStream("virid.ttf", ManagerContainer::eFont, true), nullptr);
    ASSERT_EQ(capture.messages.size(), 1u);
    EXPECT_EQ(capture.messages[0].rfind("NWL::ManagerContainer::getResourceStream - can't find resource: ", 0), 0u);

    container.setStylesheet("skin.txt");
    Testing::FakeWidget label("Label");
    label.sheet = &container.getStyleManager().getStyleSheet();
    EXPECT_NE(StyleSheet::findMatchingRules(label, qx::symbol("x")).size(), 0u);
}

// The folder next to the executable comes first, before the working folder.
TEST_F(ManagerContainerTest, theSkinFolderNextToTheExecutableComesFirst)
{
    const std::filesystem::path programFolder = Testing::executableFolder();
    ASSERT_NE(std::filesystem::canonical(programFolder), std::filesystem::canonical(std::filesystem::current_path()));
    SkinFolder besideTheProgram(programFolder, "beside the program");
    SkinFolder working;
    setUseSkinFolder(true);
    ManagerContainer container;
    const auto stream = container.getResourceStream("sub/a.tga", ManagerContainer::ePicture, false);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(readAll(*stream), "beside the program");
    EXPECT_EQ(container.getResourceMode(), ManagerContainer::eSkinFolder);
}

TEST_F(ManagerContainerTest, errorsOfASkinSheetNameIt)
{
    SkinFolder skin;
    setUseSkinFolder(true);
    ManagerContainer container;
    ErrorCapture capture;
    container.setStylesheet("broken.txt");
    ASSERT_EQ(capture.messages.size(), 1u);
    EXPECT_EQ(capture.messages[0].rfind("Stylesheet error: broken.txt:2 - PARSER ERROR at line 2: ", 0), 0u)
        << capture.messages[0];
}

TEST_F(ManagerContainerTest, aMissingStyleSheetIsReportedOnceWithItsName)
{
    ManagerContainer container;
    ErrorCapture capture;
    container.setStylesheet("Missing.txt");
    EXPECT_EQ(capture.messages,
              std::vector<std::string>{"NWL::ManagerContainer::getResourceStream - can't load linked resource Missing.txt"});
    // The built-in rules stay.
    Testing::FakeWidget bar("Bar");
    bar.sheet = &container.getStyleManager().getStyleSheet();
    EXPECT_EQ(StyleSheet::findMatchingRules(bar, qx::symbol("background-color")).size(), 4u);
}

// A description gives one font; a named face never shares or replaces the
// default one; a missing named face falls back to the default with one report.
TEST_F(ManagerContainerTest, fontsByDescription)
{
    // A face that surely differs from the default one, under a name of its own.
    std::ifstream file("/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf", std::ios::binary);
    GP::registerResource(GP::ResourceId("OTHERFACE.TTF"), UIA::kFontResourceType,
                         {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
    ManagerContainer container;
    ErrorCapture capture;
    FontDescription named;
    named.name = "otherface.ttf";  // with the default's resource id 1
    named.baseSize = 24;
    FontDescription missing = named;
    missing.name = "missing.ttf";
    FontDescription plain;
    plain.baseSize = 24;
    // Named first: it must not take the place of the default face.
    const std::int32_t namedWidth = container.getFont(named)->getTextWidth("iiii");
    const UIA::Font* plainFont = container.getFont(plain);
    const std::int32_t plainWidth = plainFont->getTextWidth("iiii");
    EXPECT_GT(plainWidth, 0);
    EXPECT_GT(namedWidth, plainWidth);
    EXPECT_EQ(container.getFont(plain), plainFont);
    EXPECT_EQ(plainFont->getBaseSize(), 24);
    EXPECT_EQ(container.getDefaultFont(), container.getFont(getDefaultFontDescription()));
    EXPECT_TRUE(capture.messages.empty());
    EXPECT_EQ(container.getFont(missing)->getTextWidth("iiii"), plainWidth);
    container.getFont(missing);
    EXPECT_EQ(capture.messages.size(), 1u);
}

TEST_F(ManagerContainerTest, aMissingPictureIsReportedOnce)
{
    ManagerContainer container;
    ErrorCapture capture;
    UIA::PictureProperties properties;
    const LazyPicture first = container.getLazyPicture("missing.png", properties);
    properties.setAnimationCount(2);
    const LazyPicture second = container.getLazyPicture("missing.png", properties);
    for (int repaint = 0; repaint < 3; ++repaint) {
        EXPECT_EQ(first.get(1.0f), nullptr);
        EXPECT_EQ(second.get(2.0f), nullptr);
    }
    EXPECT_EQ(capture.messages.size(), 1u);
}

// Nothing is remembered of a picture that could not be had: one that
// appears later (a file put into the skin folder) is found by the next draw.
TEST_F(ManagerContainerTest, aPictureThatAppearsLaterIsFound)
{
    ManagerContainer container;
    ErrorCapture capture;
    const LazyPicture late = container.getLazyPicture("appears.tga", UIA::PictureProperties());
    EXPECT_EQ(late.get(1.0f), nullptr);
    EXPECT_EQ(late.get(2.0f), nullptr);
    GP::registerResource(GP::ResourceId("APPEARS.TGA"), "PICTURE", Testing::makeTga(3, 2, 0xFF00FF00));
    const auto picture = late.get(2.0f);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->getWidth(), 3u);
    EXPECT_EQ(late.get(1.0f), picture);
    EXPECT_EQ(capture.messages.size(), 1u);
}

TEST_F(ManagerContainerTest, pictureReferencesShareTheirPicturesPerScale)
{
    GP::registerResource(GP::ResourceId("SHARED.TGA"), "PICTURE", Testing::makeTga(6, 3, 0x80FF0000));
    ManagerContainer container;
    UIA::PictureProperties properties;
    properties.setAnimationCount(3);
    const LazyPicture first = container.getLazyPicture("shared.tga", properties);
    const LazyPicture copy = first;  // NOLINT: a copy shares the cache
    const LazyPicture again = container.getLazyPicture("shared.tga", properties);
    const auto picture = first.get(1.0f);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->getWidth(), 6u);
    EXPECT_EQ(picture->getAnimationCount(), 3u);
    EXPECT_TRUE(picture->getOption());  // alpha in use
    EXPECT_EQ(copy.get(1.0f), picture);
    EXPECT_EQ(again.get(1.0f), picture);
    // No "@2x" variant: the picture of scale 1.0 stands in.
    EXPECT_EQ(first.get(2.0f), picture);
    EXPECT_TRUE(first == again);
    properties.setAnimationCount(2);
    EXPECT_FALSE(first == container.getLazyPicture("shared.tga", properties));
    EXPECT_TRUE(LazyPicture() == container.getLazyPicture("", properties));
}

TEST(ManagerContainerLifetime, aPictureReferenceOutlivingItsContainerGivesNothing)
{
    GP::registerResource(GP::ResourceId("LATE.TGA"), "PICTURE", Testing::makeTga(2, 2, 0xFF0000FF));
    LazyPicture late;
    {
        ManagerContainer container;
        late = container.getLazyPicture("late.tga", UIA::PictureProperties());
    }
    EXPECT_EQ(late.get(1.0f), nullptr);
}

}  // namespace
}  // namespace QX::NWL
