#include <gtest/gtest.h>

#include "FileTypeFixtures.h"
#include "gp/FileType.h"
#include "uia/FileDialogRequest.h"

namespace QX::UIA {
namespace {

// The system's filter list: each string ends in a NUL, the list in another.
std::u16string filterText(const std::vector<std::u16string>& parts) {
    std::u16string text;
    for (const std::u16string& part : parts) text += part + u'\0';
    if (text.empty()) text += u'\0';
    return text + u'\0';
}

using Test::TextTypes;

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

TEST(FileDialogFilter, EntriesForEachKindOfRequest) {
    TextTypes text;
    AudioTypes audio;
    GP::FileTypeGroup empty;
    empty.pluralDescription = "Nothing";
    struct Case {
        const char* name;
        std::vector<const GP::FileTypeGroup*> groups;
        int kind;
        std::vector<std::u16string> parts;  // name and pattern of each entry
        const char* defaultExtension;
    };
    const Case cases[] = {
        {"no groups", {}, FileDialogRequest::kOpen, {}, ""},
        {"open, one group", {&text.group}, FileDialogRequest::kOpen,
         {u"Text Files (*.txt;*.log)", u"*.txt;*.log"}, "txt"},
        {"save names single types", {&text.group}, FileDialogRequest::kSave,
         {u"Text File (*.txt;*.log)", u"*.txt;*.log"}, "txt"},
        {"open, group types then all files", {&audio.group, allFiles()}, FileDialogRequest::kOpen,
         {u"Audio Files (*.wav;*.aif;*.aiff)", u"*.wav;*.aif;*.aiff", u"WAV Files (*.wav)", u"*.wav",
          u"AIFF Files (*.aif;*.aiff)", u"*.aif;*.aiff", u"All Files (*.*)", u"*.*"},
         "wav"},
        {"open, all files alone", {allFiles()}, FileDialogRequest::kOpen, {u"All Files (*.*)", u"*.*"}, ""},
        {"save never offers all files", {allFiles()}, FileDialogRequest::kSave, {}, ""},
        {"group without types", {&empty}, FileDialogRequest::kOpen, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileDialogRequest request;
        for (const GP::FileTypeGroup* group : c.groups) request.addFileTypeGroup(group);
        EXPECT_EQ(request.buildFilterEntries(c.kind), -1);  // nothing marked without defaults
        EXPECT_EQ(request.getFilterEntries().size(), c.parts.size() / 2);
        EXPECT_EQ(request.buildFilterText(), filterText(c.parts));
        EXPECT_EQ(request.getDefaultExtension(), c.defaultExtension);
    }
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
