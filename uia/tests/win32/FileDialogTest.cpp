#include "WindowTestSupport.h"
#include "WindowTestSupport.h"

#include "../FileTypeFixtures.h"
#include "DialogAnswerer.h"
#include "gp/FileType.h"
#include "gp/Text.h"
#include "uia/FileDialogRequest.h"

namespace QX::UIA {
namespace {

using Test::comboItems;
using Test::DialogAnswerer;
using Test::TextTypes;

constexpr int kFilterCombo = 0x470;    // cmb1
constexpr int kFileNameCombo = 0x47c;  // cmb13
constexpr int kFileNameEdit = 0x480;   // edt1

void enterFileName(HWND dialog, const std::u16string& name) {
    HWND field = GetDlgItem(dialog, kFileNameCombo);
    if (!field)
        field = GetDlgItem(dialog, kFileNameEdit);
    SetWindowTextW(field, name.c_str());
}

std::u16string tempFolder() {
    char16_t buffer[MAX_PATH]{};
    GetTempPathW(MAX_PATH, buffer);
    return buffer;
}

class FileDialog : public Test::OleTest {
protected:
    struct tSeen {
        std::vector<std::u16string> filters;
        LRESULT selected = -1;
    };

    // Answers the dialog with a file name after noting its filters.
    DialogAnswerer answerWith(const std::u16string& name, tSeen& seen, int button = IDOK) {
        return DialogAnswerer(
            [name, &seen](HWND dialog) {
                HWND filter = GetDlgItem(dialog, kFilterCombo);
                seen.filters = comboItems(filter);
                seen.selected = SendMessageW(filter, CB_GETCURSEL, 0, 0);
                enterFileName(dialog, name);
            },
            button);
    }

    TextTypes types;
};

TEST_F(FileDialog, OpenOffersGroupAndAllFilesAndReturnsTheChosenFile) {
    const std::u16string file = tempFolder() + u"qx_open_dialog_test.txt";
    HANDLE created = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(created, INVALID_HANDLE_VALUE);
    CloseHandle(created);

    FileDialogRequest request;
    request.addFileTypeGroup(&types.group);
    request.addFileTypeGroup(&GP::getPredefinedFileTypeGroup(0));
    request.setDefaultGroup(&GP::getPredefinedFileTypeGroup(0));
    request.setDefaultType(&types.text);
    request.setInitialDirectory(GP::Path(std::u16string_view(tempFolder())));
    tSeen seen;
    auto answerer = answerWith(file, seen);
    ASSERT_TRUE(request.showForNativeOwner(FileDialogRequest::kOpen, nullptr));
    EXPECT_TRUE(answerer.answered());
    EXPECT_EQ(seen.filters, (std::vector<std::u16string>{u"Text Files (*.txt;*.log)", u"All Files (*.*)"}));
    // The default type marked the group, then the default group all files.
    EXPECT_EQ(seen.selected, 1);
    EXPECT_EQ(request.getDialogKind(), FileDialogRequest::kOpen);
    EXPECT_EQ(GP::utf8ToWide(request.getResultPath().toString()), file);
    EXPECT_EQ(request.getDefaultType(), nullptr);
    DeleteFileW(file.c_str());
}

TEST_F(FileDialog, SaveAppendsTheChosenTypesExtension) {
    FileDialogRequest request;
    request.addFileTypeGroup(&types.group);
    request.setInitialDirectory(GP::Path(std::u16string_view(tempFolder())));
    tSeen seen;
    auto answerer = answerWith(u"qx_notes", seen);
    ASSERT_TRUE(request.showForNativeOwner(FileDialogRequest::kSave, nullptr));
    EXPECT_EQ(seen.filters, (std::vector<std::u16string>{u"Text File (*.txt;*.log)"}));
    EXPECT_EQ(seen.selected, 0);
    EXPECT_EQ(request.getResultPath().fileName(), "qx_notes.txt");
    EXPECT_EQ(request.getResultPath().getFileType(), &types.text);
    EXPECT_EQ(request.getDefaultType(), &types.text);
}

TEST_F(FileDialog, SaveStartsWithTheDefaultTypesFilter) {
    GP::FileTypeGroup group;
    GP::FileType first{"First File", "First Files", &group, {"one"}, {}};
    GP::FileType second{"Second File", "Second Files", &group, {"two"}, {}};
    group.types = {&first, &second};
    FileDialogRequest request;
    request.addFileTypeGroup(&group);
    request.setDefaultType(&second);
    request.setInitialDirectory(GP::Path(std::u16string_view(tempFolder())));
    tSeen seen;
    auto answerer = answerWith(u"qx_second", seen, IDCANCEL);
    EXPECT_FALSE(request.showForNativeOwner(FileDialogRequest::kSave, nullptr));
    EXPECT_EQ(seen.filters, (std::vector<std::u16string>{u"First File (*.one)", u"Second File (*.two)"}));
    EXPECT_EQ(seen.selected, 1);
    // Cancel leaves no path and forgets the default type.
    EXPECT_TRUE(request.getResultPath().isEmpty());
    EXPECT_EQ(request.getDefaultType(), nullptr);
}

TEST_F(FileDialog, FolderDialogPreselectsTheInitialFolder) {
    FileDialogRequest request;
    request.setTitle("Choose a folder");
    request.setInitialDirectory(GP::Path(std::string_view("C:\\windows\\")));
    DialogAnswerer answerer([](HWND) {}, IDOK);
    ASSERT_TRUE(request.showForNativeOwner(FileDialogRequest::kFolder, nullptr));
    EXPECT_EQ(request.getDialogKind(), FileDialogRequest::kFolder);
    EXPECT_EQ(request.getResultPath().toString(), "C:\\windows\\");
    EXPECT_EQ(request.getResultPath().getKind(), GP::Path::kDirectory);
}

TEST_F(FileDialog, CancelledFolderDialogGivesFalse) {
    FileDialogRequest request;
    request.setAllowNewFolder(false);
    DialogAnswerer answerer([](HWND) {}, IDCANCEL);
    EXPECT_FALSE(request.showForNativeOwner(FileDialogRequest::kFolder, nullptr));
    EXPECT_TRUE(request.getResultPath().isEmpty());
}

class FileDialogOwner : public QX::UIA::Test::WindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
    void TearDown() override { OleUninitialize(); }
};

// One dialog for what an open dialog shows before any choice: its owner, the
// one filter of an all-files request, and no initial name that is too long.
TEST_F(FileDialogOwner, DialogBelongsToTheParentAndShowsOnlyWhatFits) {
    QX::UIA::Test::RecordingWindow parent;
    ASSERT_TRUE(parent.create(clientOptions(10, 10, 200, 100)));
    FileDialogRequest request;
    request.addFileTypeGroup(&GP::getPredefinedFileTypeGroup(0));
    const std::u16string longName(300, u'n');
    request.setInitialDirectory(GP::Path(std::u16string_view(u"C:\\" + longName + u".txt")));
    HWND owner = nullptr;
    std::vector<std::u16string> filters;
    std::u16string shownName = u"unset";
    DialogAnswerer answerer(
        [&](HWND dialog) {
            owner = GetWindow(dialog, GW_OWNER);
            filters = comboItems(GetDlgItem(dialog, kFilterCombo));
            HWND field = GetDlgItem(dialog, kFileNameCombo);
            if (!field)
                field = GetDlgItem(dialog, kFileNameEdit);
            shownName = QX::UIA::Test::windowText(field);
        },
        IDCANCEL);
    EXPECT_FALSE(request.show(FileDialogRequest::kOpen, &parent));
    EXPECT_TRUE(answerer.answered());
    EXPECT_EQ(owner, parent.hwnd());
    EXPECT_EQ(filters, (std::vector<std::u16string>{u"All Files (*.*)"}));
    EXPECT_EQ(shownName, u"");
}

}  // namespace
}  // namespace QX::UIA
