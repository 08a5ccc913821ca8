#pragma once
#include <memory>
#include <string>

#include "uia/IApplication.h"

namespace QX::UIA {

// The one process-wide object through which a program is started and
// stopped. The program derives its module from this class and defines one
// static instance; the first module constructed in the process registers
// itself, later ones are never run.
class AppModule {
public:
    AppModule();
    // Stops an application that is still attached.
    virtual ~AppModule();
    AppModule(const AppModule&) = delete;
    AppModule& operator=(const AppModule&) = delete;

    // Starts every service and attaches the application.
    virtual bool init() = 0;
    // Stops the application and the services; runs also after a failed init.
    virtual void shutdown(bool initResult) = 0;
    virtual bool usesStoredLocale();
    // With true the stored "Locale" preference (empty when absent), else empty.
    virtual std::string getLocale(bool useStored);

    // The registered module, or null.
    static AppModule* getInstance();

    // Attaches the application and runs its initialize step. Refused (false,
    // the offered application deleted, the attached one kept) while another
    // one is attached. When initialize fails the application is shut down but
    // stays attached, and the answer is false.
    bool startApplication(std::unique_ptr<IApplication> application);
    // Shuts down (unless that already happened), detaches and deletes the
    // attached application.
    void stopApplication();
    IApplication* getApplication() const { return application_.get(); }

    // The runner's first step: language, thread-local slot, init.
    void initializeModule();
    bool getInitResult() const { return initResult_; }

private:
    bool initResult_ = false;
    std::unique_ptr<IApplication> application_;
    // A failed start has shut the application down already; once is enough.
    bool applicationShutDown_ = false;
};

// The runner, called once by the program's entry function: initialises the
// registered module, runs the message loop when init succeeded and shuts the
// module down, all under the last-chance exception filter.
void runApplication();
// Runs the message loop of the registered module's application, if any.
void runApplicationLoop();

namespace DETAIL {
// The runner's steps without the exception guard; null does nothing.
void runModule(AppModule* module);
}  // namespace DETAIL

}  // namespace QX::UIA
