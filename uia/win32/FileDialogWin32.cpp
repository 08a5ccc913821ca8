#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <array>

#include "gp/Module.h"
#include "gp/Text.h"
#include "uia/FileDialogRequest.h"

namespace QX::UIA {
namespace {

constexpr DWORD kOpenFlags = OFN_LONGNAMES | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
                             OFN_HIDEREADONLY;  // 0x201804
constexpr DWORD kSaveFlags = OFN_LONGNAMES | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT |
                             OFN_HIDEREADONLY;  // 0x200806
constexpr std::size_t kPathUnits = MAX_PATH;    // 260
constexpr UINT kFolderFlags = BIF_NEWDIALOGSTYLE;                         // 64
constexpr UINT kFolderFlagsNoNewFolder = BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;  // 576

std::u16string currentDirectory() {
    std::array<char16_t, kPathUnits> buffer{};
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size())
        return {};
    return std::u16string(buffer.data(), length);
}

std::u16string initialFolderOf(const GP::Path& initialPath) {
    if (initialPath.isEmpty())
        return currentDirectory();
    std::u16string folder = GP::utf8ToWide(initialPath.folder());
    return folder.size() < kPathUnits ? folder : std::u16string();
}

int CALLBACK selectInitialFolder(HWND dialog, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED)
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

std::u16string withoutTrailingBackslash(std::u16string folder) {
    if (folder.size() > 1 && folder.back() == u'\\')
        folder.pop_back();
    return folder;
}

}  // namespace

bool FileDialogRequest::showOpenOrSave(int kind, void* ownerHandle) {
    const int marked = buildFilterEntries(kind);
    const std::u16string filter = buildFilterText();
    const std::u16string defaultExtension = GP::utf8ToWide(getDefaultExtension());
    const std::u16string initialFolder = initialFolderOf(initialPath_);
    const std::u16string title = GP::utf8ToWide(title_);

    // Room for 260 units and the NUL; a longer initial name is left out
    // rather than cut.
    std::array<char16_t, kPathUnits + 1> fileName{};
    const std::u16string initialName = GP::utf8ToWide(initialPath_.fileName());
    if (initialName.size() < fileName.size())
        std::copy(initialName.begin(), initialName.end(), fileName.begin());

    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = static_cast<HWND>(ownerHandle);
    request.hInstance = static_cast<HINSTANCE>(GP::getModuleHandle());
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = static_cast<DWORD>(marked + 1);
    request.lpstrFile = fileName.data();
    request.nMaxFile = kPathUnits;
    request.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    request.lpstrTitle = title.empty() ? nullptr : title.c_str();
    request.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
    request.Flags = kind == kOpen ? kOpenFlags : kSaveFlags;

    const BOOL confirmed = kind == kOpen ? GetOpenFileNameW(&request) : GetSaveFileNameW(&request);
    defaultType_ = nullptr;
    if (!confirmed)
        return false;
    const GP::Path chosen{std::u16string_view(fileName.data())};
    if (kind == kOpen)
        acceptOpenResult(chosen);
    else
        acceptSaveResult(chosen, request.nFilterIndex);
    return true;
}

bool FileDialogRequest::showFolder(void* ownerHandle) {
    const std::u16string title = GP::utf8ToWide(title_);
    const std::u16string initialFolder =
        initialPath_.isEmpty() ? std::u16string() : withoutTrailingBackslash(GP::utf8ToWide(initialPath_.toString()));
    std::array<char16_t, kPathUnits> displayName{};

    BROWSEINFOW request{};
    request.hwndOwner = static_cast<HWND>(ownerHandle);
    request.pszDisplayName = displayName.data();
    request.lpszTitle = title.c_str();
    request.ulFlags = allowNewFolder_ ? kFolderFlags : kFolderFlagsNoNewFolder;
    if (!initialFolder.empty()) {
        request.lpfn = selectInitialFolder;
        request.lParam = reinterpret_cast<LPARAM>(initialFolder.c_str());
    }

    LPITEMIDLIST chosen = SHBrowseForFolderW(&request);
    if (!chosen)
        return false;
    std::array<char16_t, kPathUnits> folder{};
    const BOOL converted = SHGetPathFromIDListW(chosen, folder.data());
    CoTaskMemFree(chosen);
    if (!converted)
        return false;
    std::u16string text(folder.data());
    if (!text.empty() && text.back() != u'\\')
        text += u'\\';
    acceptFolderResult(GP::Path(std::u16string_view(text)));
    return true;
}

}  // namespace QX::UIA
