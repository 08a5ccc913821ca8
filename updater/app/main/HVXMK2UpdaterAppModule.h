#pragma once
#include <memory>

#include "uia/AppModule.h"

namespace QX {

class HVXMK2UpdaterUpgradeLogic;
class UpdaterDescription;

// The program's one application module: starts the foundation library, the
// UI framework and the widget library, then owns the update controller, the
// description that joins it to the user interface, and (through the base)
// the application. Shut-down releases them and stops the services in the
// reverse order; every step tolerates what was never made.
class HVXMK2UpdaterAppModule : public UIA::AppModule {
public:
    // What the program's entry function returns.
    static constexpr int kExitNormal = 0;
    static constexpr int kExitStartFailed = 1;

    HVXMK2UpdaterAppModule();
    ~HVXMK2UpdaterAppModule() override;

    bool init() override;
    void shutdown(bool initResult) override;

    // kExitStartFailed after a start that failed for a reason other than
    // another running instance; the cause has been traced.
    int getExitCode() const { return exitCode_; }

private:
    bool startServices();
    void failStart(const char* what, const char* cause);

    std::unique_ptr<HVXMK2UpdaterUpgradeLogic> controller_;
    std::unique_ptr<UpdaterDescription> description_;
    int exitCode_ = kExitNormal;
};

// The process's module object (made by a static initialiser).
HVXMK2UpdaterAppModule& getUpdaterModule();

}  // namespace QX
