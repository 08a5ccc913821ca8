#include <gtest/gtest.h>

#include "gp/Path.h"

using namespace QX::GP;

namespace {

struct Split {
    const char* text;
    const char* root;
    const char* directory;
    const char* name;
    const char* extension;
    Path::Kind kind;
};

TEST(Path, SplitsAndRebuildsWithEitherSeparator)
{
    const Split cases[] = {
        {"C:\\Program Files\\Harmova\\updater.exe", "C:\\", "Program Files\\Harmova\\", "updater", "exe", Path::kFile},
        {"C:/Program Files/Harmova/updater.exe", "C:/", "Program Files/Harmova/", "updater", "exe", Path::kFile},
        {"/usr/share/fonts/a.b.ttf", "/", "usr/share/fonts/", "a.b", "ttf", Path::kFile},
        {"\\\\server\\share\\dir\\file.txt", "\\\\server\\share\\", "dir\\", "file", "txt", Path::kFile},
        {"relative\\dir\\", "", "relative\\dir\\", "", "", Path::kDirectory},
        {"name", "", "", "name", "", Path::kFile},
        {".hidden", "", "", ".hidden", "", Path::kFile},
        {"dir/..", "", "dir/", "..", "", Path::kFile},
        {"D:", "D:", "", "", "", Path::kVolume},
        {"D:x.png", "D:", "", "x", "png", Path::kFile},
        {"", "", "", "", "", Path::kNone},
    };
    for (const Split& c : cases) {
        const Path path(c.text);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(path.root(), c.root);
        EXPECT_EQ(path.directory(), c.directory);
        EXPECT_EQ(path.name(), c.name);
        EXPECT_EQ(path.extension(), c.extension);
        EXPECT_EQ(path.getKind(), c.kind);
        EXPECT_EQ(path.toString(), c.text);
        EXPECT_EQ(Path(path.toWideString()).toString(), c.text);
    }
}

TEST(Path, MixedAndRepeatedSeparatorsTakeTheFirst)
{
    const Path mixed("C:/a\\b//c\\\\d.txt");
    EXPECT_EQ(mixed.separator(), '/');
    EXPECT_EQ(mixed.toString(), "C:/a/b/c/d.txt");
    EXPECT_EQ(mixed.toString(false), "a/b/c/d.txt");
    EXPECT_EQ(mixed.folder(), "C:/a/b/c/");
    EXPECT_EQ(mixed.fileName(), "d.txt");

    // Odd inputs parse to something without failing.
    for (const char* odd : {"\\", "\\\\", "////", "\\\\server", "C:\\\\\\", ":", "a.", "..\\..\\", "C:\\."}) {
        const Path path(odd);
        EXPECT_EQ(Path(path.toString()).toString(), path.toString()) << odd;
    }
    EXPECT_EQ(Path("a.").name(), "a.");
}

TEST(Path, EditingParts)
{
    Path path("C:\\pictures\\photo.jpeg");
    path.setDirectory("D:/other/", false);
    EXPECT_EQ(path.toString(), "D:/other/photo.jpeg");
    path.setDirectory("E:\\docs\\readme.txt", true);
    EXPECT_EQ(path.toString(), "E:\\docs\\photo.jpeg");
    path.setDirectory("F:\\plain", false);
    EXPECT_EQ(path.toString(), "F:\\plain\\photo.jpeg");

    Path noExtension("C:\\out\\song");
    noExtension.append("wav");
    EXPECT_EQ(noExtension.toString(), "C:\\out\\song.wav");
    EXPECT_EQ(noExtension.extension(), "wav");

    noExtension.setName("tune");
    noExtension.setExtension(".aiff");
    EXPECT_EQ(noExtension.fileName(), "tune.aiff");
    EXPECT_EQ(Path("C:\\out").appendComponent("x.png").toString(), "C:\\out\\x.png");
    EXPECT_EQ(Path("C:\\out\\").appendComponent("x.png").toString(), "C:\\out\\x.png");

    Path copy = noExtension;
    copy.setName("other");
    EXPECT_EQ(noExtension.name(), "tune");
    copy.setRootFlag(true);
    copy.assign("x.txt");
    EXPECT_FALSE(copy.hasRootFlag());
    EXPECT_TRUE(copy.containerSubPath().empty());
}

TEST(Path, FileTypes)
{
    Path path("C:\\a\\b.WAV");
    path.resolveFileType();
    ASSERT_NE(path.getFileType(), nullptr);
    EXPECT_EQ(path.getFileType()->name, "WAV File");
    EXPECT_FALSE(path.setFileType(path.getFileType()));
    EXPECT_TRUE(path.setFileType(nullptr));

    EXPECT_EQ(&fileTypeOrDefault(nullptr), &getAllFilesType());
    EXPECT_EQ(&getPredefinedFileTypeGroup(99), &getPredefinedFileTypeGroup(0));
    EXPECT_EQ(&getPredefinedFileTypeGroup(-1), &getPredefinedFileTypeGroup(0));
    for (int i = 0; i < kPredefinedFileTypeGroupCount; ++i)
        for (const FileType* type : getPredefinedFileTypeGroup(i).types)
            EXPECT_EQ(type->group, &getPredefinedFileTypeGroup(i));
    EXPECT_EQ(findFileTypeByExtension("*"), nullptr);
    EXPECT_EQ(findFileTypeByExtension(""), nullptr);
}

TEST(Path, QueriesTheFileSystem)
{
    Path current;
    ASSERT_TRUE(current.assignCurrentDirectory());
    EXPECT_TRUE(current.isAbsolute());
    EXPECT_EQ(current.getKind(), Path::kDirectory);
    EXPECT_TRUE(current.directoryExists());
    EXPECT_TRUE(current.exists());
    EXPECT_FALSE(current.appendComponent("no-such-file.xyz").exists());
    EXPECT_FALSE(Path().exists());
    EXPECT_FALSE(Path().directoryExists());
}

}  // namespace
