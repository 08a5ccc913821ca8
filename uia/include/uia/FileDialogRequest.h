#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gp/FileType.h"
#include "gp/Path.h"

namespace QX::UIA {

class WindowBase;

// A request for the system's open-file, save-file or folder dialog: title,
// initial folder and file, the file-type groups offered as filters and the
// default group and type. show() runs the dialog and keeps the chosen path.
class FileDialogRequest {
public:
    enum Kind { kOpen = 0, kSave = 1, kFolder = 2 };

    // One filter of an open or save dialog: a whole group or a single type.
    struct tFilterEntry {
        const GP::FileTypeGroup* group = nullptr;
        const GP::FileType* type = nullptr;
        bool singular = false;
    };

    FileDialogRequest();
    ~FileDialogRequest();

    void setTitle(std::string_view utf8);
    const std::string& getTitle() const { return title_; }
    void setInitialDirectory(const GP::Path& path);
    const GP::Path& getInitialPath() const { return initialPath_; }

    void addFileTypeGroup(const GP::FileTypeGroup* group);
    const std::vector<const GP::FileTypeGroup*>& getFileTypeGroups() const { return groups_; }
    void setDefaultGroup(const GP::FileTypeGroup* group) { defaultGroup_ = group; }
    void setDefaultType(const GP::FileType* type) { defaultType_ = type; }
    const GP::FileType* getDefaultType() const { return defaultType_; }
    void setAllowNewFolder(bool allow) { allowNewFolder_ = allow; }
    bool getAllowNewFolder() const { return allowNewFolder_; }

    // Runs the dialog of the kind for the parent window (or none); any other
    // kind shows nothing. True when the user confirmed a path.
    bool show(int kind, WindowBase* parent = nullptr);
    // As show(), owned by a native window handle (or none).
    bool showForNativeOwner(int kind, void* ownerHandle);

    const GP::Path& getResultPath() const { return resultPath_; }
    int getDialogKind() const { return dialogKind_; }

    // Rebuilds the filter entries for an open or save dialog and answers
    // the index of the one selected at start (-1 when none).
    int buildFilterEntries(int kind);
    const std::vector<tFilterEntry>& getFilterEntries() const { return filterEntries_; }
    // The system's double-NUL list of display and pattern pairs.
    std::u16string buildFilterText() const;
    // The first extension at the head of a filter without wildcards, or "".
    std::string getDefaultExtension() const;

    // What a confirmed dialog leaves: the result path, and after a save the
    // type of the chosen filter (1-based; 0 none) with its extension.
    void acceptOpenResult(const GP::Path& chosen);
    void acceptSaveResult(const GP::Path& chosen, std::uint32_t filterIndex);
    void acceptFolderResult(const GP::Path& chosen);

private:
    bool showOpenOrSave(int kind, void* ownerHandle);
    bool showFolder(void* ownerHandle);

    GP::Path resultPath_;
    GP::Path initialPath_;
    int dialogKind_ = kOpen;
    std::vector<const GP::FileTypeGroup*> groups_;
    std::vector<tFilterEntry> filterEntries_;
    const GP::FileTypeGroup* defaultGroup_ = nullptr;
    const GP::FileType* defaultType_ = nullptr;
    bool allowNewFolder_ = true;
    std::string title_;
};

}  // namespace QX::UIA
