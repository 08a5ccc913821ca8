#include "uia/FileDialogRequest.h"

// The native build has no system dialogs: every dialog counts as cancelled.
namespace QX::UIA {

bool FileDialogRequest::showOpenOrSave(int kind, void*) {
    buildFilterEntries(kind);
    defaultType_ = nullptr;
    return false;
}

bool FileDialogRequest::showFolder(void*) { return false; }

}  // namespace QX::UIA
