#include "updater/app/UpdaterDescription.h"

#include <utility>

namespace QX {

UpdaterDescription::UpdaterDescription(UpdaterTexts texts, UpdaterCallbacks callbacks,
                                       const tVersionReader& readVersion)
    : UpdaterTexts(std::move(texts)), UpdaterCallbacks(std::move(callbacks)), windowCaption(updaterName) {
    // A failed query appends its placeholder: it works on a scratch text so
    // that the literal version stays as it is.
    std::string fileVersion;
    if (readVersion && readVersion(fileVersion)) version = std::move(fileVersion);
}

UpdaterTexts makeHVXMK2UpdaterTexts() {
    UpdaterTexts texts;
    texts.productName = "HARMOVA V-IVERAR VI2 Keyboard";
    texts.productTag = "HVXMK2";
    texts.seriesTag = "HVXMK2";
    texts.updaterName = "HVX VI2 Firmware Updater";
    texts.title = "HARMOVA VI2 FIRMWARE UPDATER";
    texts.rightsLine = "\xC2\xA9 2026";
    texts.version = "1.4.0 (R205)";
    texts.aboutLines = {"Firmware: the keyboard firmware team", "Updater: the desktop software team",
                        "Design: the product design team", "Testing: the quality assurance team", ""};
    texts.singleInstanceId = "HVXMK2Updater-4FFD6435-CB8C-45D6-BD7E-4F63CD4B3F27";
    return texts;
}

std::unique_ptr<UpdaterDescription> makeHVXMK2UpdaterDescription(HVXMK2UpdaterUpgradeLogic& controller) {
    auto* logic = &controller;
    UpdaterCallbacks callbacks;
    callbacks.findDevice = [logic] { return logic->findDevice(); };
    callbacks.enterUpdateMode = [logic] { return logic->enterUpdateMode(); };
    callbacks.isDeviceReady = [logic] { return logic->isDeviceReady(); };
    callbacks.startUpdate = [logic](const UpdaterCallbacks::tResultCell& result) { return logic->startUpdate(result); };
    callbacks.getDeviceInfo = [logic](NHL2::USBDeviceInfo& info, std::string& installed, std::string& newest,
                                      bool& updateAvailable) {
        logic->getDeviceInfo(info, installed, newest, updateAvailable);
    };
    callbacks.isUpdateRunning = [logic] { return logic->isUpdateRunning(); };
    callbacks.setMainWindow = [](UIA::StandaloneWindow*) {};
    callbacks.stopWorker = [logic] { logic->stopWorker(); };
    return std::make_unique<UpdaterDescription>(makeHVXMK2UpdaterTexts(), std::move(callbacks));
}

}  // namespace QX
