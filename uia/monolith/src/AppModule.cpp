#include "uia/AppModule.h"

#include "gp/Init.h"

namespace QX::UIA {

namespace {
AppModule* registeredModule = nullptr;
}

AppModule::AppModule() {
    if (!registeredModule)
        registeredModule = this;
}

AppModule::~AppModule() {
    stopApplication();
    // Static objects destroyed after this one must not reach a dead module.
    if (registeredModule == this)
        registeredModule = nullptr;
}

bool AppModule::usesStoredLocale() { return false; }

std::string AppModule::getLocale(bool useStored) {
    std::string locale;
    if (useStored)
        GP::readPreference("Locale", "", locale, GP::kPreferenceText);
    return locale;
}

AppModule* AppModule::getInstance() { return registeredModule; }

bool AppModule::startApplication(std::unique_ptr<IApplication> application) {
    if (application_ || !application)
        return false;
    application_ = std::move(application);
    applicationShutDown_ = false;
    application_->setModule(this);
    if (application_->initialize())
        return true;
    application_->shutdown(0);
    applicationShutDown_ = true;
    return false;
}

void AppModule::stopApplication() {
    if (!application_)
        return;
    if (!applicationShutDown_)
        application_->shutdown(initResult_);
    application_->setModule(nullptr);
    application_.reset();
    applicationShutDown_ = false;
}

void AppModule::initializeModule() {
    const std::string locale = getLocale(usesStoredLocale());
    GP::getUserLanguageCode(locale.c_str());
    GP::initThreadLocalSlot();
    initResult_ = init();
}

void runApplicationLoop() {
    AppModule* module = AppModule::getInstance();
    if (IApplication* application = module ? module->getApplication() : nullptr)
        application->runMessageLoop();
}

void DETAIL::runModule(AppModule* module) {
    if (!module)
        return;
    module->initializeModule();
    if (module->getInitResult())
        runApplicationLoop();
    module->shutdown(module->getInitResult());
}

}  // namespace QX::UIA
