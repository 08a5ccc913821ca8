#pragma once
#include <cstddef>
#include <functional>
#include <string>

namespace QX::GP {

// Button sets.
enum MessageBoxButtons : int {
    kButtonsOk = 0,
    kButtonsOkCancel = 1,
    kButtonsYesNo = 2,
    kButtonsYesNoCancel = 3,
    kButtonsRetryCancel = 4,
    kButtonsAbortRetryIgnore = 5,
};

// Answers; the default button is named by the answer it gives.
enum MessageBoxResult : int {
    kResultNone = 0,  // also OK
    kResultCancel = 1,
    kResultYes = 2,
    kResultNo = 3,
    kResultAbort = 4,
    kResultRetry = 5,
    kResultIgnore = 6,
};

enum MessageBoxIcon : int {
    kIconNone = 0,
    kIconInformation = 1,
    kIconWarning = 2,
    kIconQuestion = 3,
    kIconError = 4,
};

struct MessageBoxRequest {
    std::string text;
    int buttons = kButtonsOk;
    int defaultButton = kResultNone;
    int icon = kIconNone;
    std::string caption;     // the maker's name when none was given
    bool systemModal = false;  // the last-chance error box is system-modal
};

// A handler replaces the real message box (tests install one).
using MessageHandler = std::function<int(const MessageBoxRequest&)>;

// Installs a handler (an empty one restores the real message box); returns
// the previous handler.
MessageHandler setMessageHandler(MessageHandler handler);

// The caption used when none is given.
extern const char* const kMakerName;

// Shows a task-modal, foreground message box (or asks the installed handler)
// and returns the answer. `caption` may be null.
int showMessageBox(const char* text, std::size_t length, int buttons, int defaultButton, int icon,
                   const char* caption);
int showMessageBox(const MessageBoxRequest& request);

}  // namespace QX::GP
