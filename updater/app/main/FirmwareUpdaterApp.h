#pragma once
#include <cstdint>
#include <functional>
#include <memory>

#include "uia/Application.h"
#include "uia/EventIds.h"

namespace QX {

class UpdaterDescription;
class UpdateWizardMainWidget;

// The program's application object: one fixed-size window with the update
// wizard, a single running instance, and a question before quitting while
// an update runs.
class FirmwareUpdaterApp : public UIA::Application {
public:
    // Commands served when they reach the application.
    static constexpr std::uint32_t kCommandAbout = 30003;
    static constexpr std::uint32_t kCommandKnowledgeBase = 40000;
    static constexpr std::uint32_t kCommandHomePage = 40001;
    static constexpr std::int32_t kClientWidth = 627;
    static constexpr std::int32_t kClientHeight = 335;
    static constexpr const char* kQuitQuestion =
        "An update is currently in progress. Interrupting the update process may damage the device.\n"
        "Do you really want to quit ?";
    // Said when a start ends because another one runs that shows no window
    // (%1%: the updater's name).
    static constexpr const char* kNoWindowText =
        "Another start of the %1% is still running but shows no window. Please wait until it has ended, then start "
        "the %1% again.";

    // The description is the module's and outlives the application.
    explicit FirmwareUpdaterApp(UpdaterDescription* description);
    ~FirmwareUpdaterApp() override;

    // False when another instance took over, or when the start failed
    // (hasStartFailed tells the two apart; the cause is traced).
    bool initialize() override;
    void shutdown(int exitCode) override;
    bool hasStartFailed() const { return startFailed_; }

    // Opens an address in the web browser; false for null or on failure.
    static bool openUrl(const char* url);

protected:
    bool onEvent(std::uint32_t eventId, void* data) override;

private:
    bool failStart(const char* cause);
    std::shared_ptr<UpdateWizardMainWidget> makeWizard();
    bool openMainWindow(const std::shared_ptr<UpdateWizardMainWidget>& wizard);
    bool answerCommand(std::uint32_t command);
    void answerQuitRequest(UIA::Answer& answer);
    void tellAnotherInstanceShowsNoWindow();

    std::function<void()> aboutCallback_;
    UpdaterDescription* description_;
    bool startFailed_ = false;
};

}  // namespace QX
