#include <gtest/gtest.h>

#include "FileTypeFixtures.h"
#include "gp/FileType.h"
#include "uia/FileDialogRequest.h"

namespace QX::UIA {
namespace {

// Splits the system's double-NUL filter list into its strings.
std::vector<std::u16string> splitFilter(const std::u16string& text) {
    std::vector<std::u16string> parts;
    std::size_t start = 0;
    while (start < text.size() && text[start] != u'\0') {
        const std::size_t nul = text.find(u'\0', start);
        parts.push_back(text.substr(start, nul - start));
        start = nul + 1;
    }
    return parts;
}

using TEST::TextTypes;

struct AudioTypes {
    GP::FileTypeGroup group;
    GP::FileType wav;
    GP::FileType aiff;
    AudioTypes() {
        wav = {"WAV File", "WAV Files", &group, {"wav"}, {}};
        aiff = {"AIFF File", "AIFF Files", &group, {"aif", "aiff"}, {}};
        group.name = "Audio";
        group.pluralDescription = "Audio Files";
        group.types = {&wav, &aiff};
    }
};

const GP::FileTypeGroup* allFiles() { return &GP::getPredefinedFileTypeGroup(0); }

TEST(FileDialogFilter, NoGroupsShowsEveryFileWithoutDefaultExtension) {
    FileDialogRequest request;
    EXPECT_EQ(request.buildFilterEntries(FileDialogRequest::kOpen), -1);
    EXPECT_TRUE(request.getFilterEntries().empty());
    EXPECT_EQ(request.buildFilterText(), std::u16string(2, u'\0'));
    EXPECT_EQ(request.getDefaultExtension(), "");
}

TEST(FileDialogFilter, OpenOfferGroupWithItsExtensions) {
    TextTypes types;
    FileDialogRequest request;
    request.addFileTypeGroup(&types.group);
    request.buildFilterEntries(FileDialogRequest::kOpen);
    const std::u16string text = request.buildFilterText();
    EXPECT_EQ(text, std::u16string(u"Text Files (*.txt;*.log)\0*.txt;*.log\0\0", 38));
    EXPECT_EQ(request.getDefaultExtension(), "txt");
}

TEST(FileDialogFilter, SaveOffersSingleTypesUnderTheirSingularName) {
    TextTypes types;
    FileDialogRequest request;
    request.addFileTypeGroup(&types.group);
    request.buildFilterEntries(FileDialogRequest::kSave);
    const auto parts = splitFilter(request.buildFilterText());
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0], u"Text File (*.txt;*.log)");
    EXPECT_EQ(parts[1], u"*.txt;*.log");
}

TEST(FileDialogFilter, OpenOffersGroupTypesThenAllFiles) {
    AudioTypes audio;
    FileDialogRequest request;
    request.addFileTypeGroup(&audio.group);
    request.addFileTypeGroup(allFiles());
    EXPECT_EQ(request.buildFilterEntries(FileDialogRequest::kOpen), -1);
    const auto parts = splitFilter(request.buildFilterText());
    const std::vector<std::u16string> expected = {
        u"Audio Files (*.wav;*.aif;*.aiff)", u"*.wav;*.aif;*.aiff",
        u"WAV Files (*.wav)",                u"*.wav",
        u"AIFF Files (*.aif;*.aiff)",        u"*.aif;*.aiff",
        u"All Files (*.*)",                  u"*.*"};
    EXPECT_EQ(parts, expected);
    EXPECT_EQ(request.getDefaultExtension(), "wav");
}

TEST(FileDialogFilter, AllFilesAloneHasNoDefaultExtension) {
    FileDialogRequest request;
    request.addFileTypeGroup(allFiles());
    request.setDefaultGroup(allFiles());
    EXPECT_EQ(request.buildFilterEntries(FileDialogRequest::kOpen), 0);
    EXPECT_EQ(splitFilter(request.buildFilterText()),
              (std::vector<std::u16string>{u"All Files (*.*)", u"*.*"}));
    EXPECT_EQ(request.getDefaultExtension(), "");
    // The save dialog never offers the all-files group.
    EXPECT_EQ(request.buildFilterEntries(FileDialogRequest::kSave), -1);
    EXPECT_TRUE(request.getFilterEntries().empty());
}

TEST(FileDialogFilter, DefaultGroupAndTypeMarkTheStartingFilter) {
    TextTypes text;
    AudioTypes audio;
    FileDialogRequest request;
    request.addFileTypeGroup(&text.group);
    request.addFileTypeGroup(&audio.group);
    request.addFileTypeGroup(allFiles());

    request.setDefaultGroup(&audio.group);
    EXPECT_EQ(request.buildFilterEntries(FileDialogRequest::kOpen), 1);
    request.setDefaultType(&audio.aiff);
    EXPECT_EQ(request.buildFilterEntries(FileDialogRequest::kOpen), 3);
    EXPECT_EQ(request.buildFilterEntries(FileDialogRequest::kSave), 2);
    // The first type of a group marks the group's entry in the open dialog.
    request.setDefaultGroup(nullptr);
    request.setDefaultType(&text.text);
    EXPECT_EQ(request.buildFilterEntries(FileDialogRequest::kOpen), 0);
    request.setDefaultGroup(allFiles());
    request.setDefaultType(nullptr);
    EXPECT_EQ(request.buildFilterEntries(FileDialogRequest::kOpen), 4);
}

TEST(FileDialogFilter, GroupWithoutTypesIsNotOffered) {
    GP::FileTypeGroup empty;
    empty.pluralDescription = "Nothing";
    FileDialogRequest request;
    request.addFileTypeGroup(&empty);
    request.buildFilterEntries(FileDialogRequest::kOpen);
    EXPECT_TRUE(request.getFilterEntries().empty());
}

TEST(FileDialogSave, MissingExtensionComesFromTheChosenType) {
    TextTypes types;
    FileDialogRequest request;
    request.addFileTypeGroup(&types.group);
    request.buildFilterEntries(FileDialogRequest::kSave);

    request.acceptSaveResult(GP::Path(std::string_view("C:\\docs\\notes")), 1);
    EXPECT_EQ(request.getResultPath().toString(), "C:\\docs\\notes.txt");
    EXPECT_EQ(request.getResultPath().getFileType(), &types.text);
    EXPECT_EQ(request.getDefaultType(), &types.text);

    request.acceptSaveResult(GP::Path(std::string_view("C:\\docs\\notes.log")), 1);
    EXPECT_EQ(request.getResultPath().toString(), "C:\\docs\\notes.log");
}

TEST(FileDialogSave, TypeWithoutExtensionAppendsNothing) {
    GP::FileTypeGroup group;
    GP::FileType bare{"Bare File", "Bare Files", &group, {}, {}};
    group.types = {&bare};
    FileDialogRequest request;
    request.addFileTypeGroup(&group);
    request.buildFilterEntries(FileDialogRequest::kSave);
    request.acceptSaveResult(GP::Path(std::string_view("C:\\docs\\notes")), 1);
    EXPECT_EQ(request.getResultPath().toString(), "C:\\docs\\notes");
    EXPECT_EQ(request.getDefaultType(), &bare);
}

TEST(FileDialogSave, FilterNumberZeroOrOutOfRangeLeavesTheTypeAlone) {
    TextTypes types;
    FileDialogRequest request;
    request.addFileTypeGroup(&types.group);
    request.buildFilterEntries(FileDialogRequest::kSave);
    for (std::uint32_t index : {0u, 2u, 99u}) {
        request.acceptSaveResult(GP::Path(std::string_view("C:\\notes")), index);
        EXPECT_EQ(request.getResultPath().toString(), "C:\\notes");
        EXPECT_EQ(request.getDefaultType(), nullptr);
    }
}

TEST(FileDialogRequestState, ConstructedEmptyAndUnknownKindShowsNothing) {
    FileDialogRequest request;
    EXPECT_TRUE(request.getResultPath().isEmpty());
    EXPECT_TRUE(request.getInitialPath().isEmpty());
    EXPECT_TRUE(request.getAllowNewFolder());
    EXPECT_EQ(request.getTitle(), "");
    EXPECT_FALSE(request.showForNativeOwner(3, nullptr));
    EXPECT_EQ(request.getDialogKind(), 3);
}

}  // namespace
}  // namespace QX::UIA
