#include <gtest/gtest.h>

#include <string>

#include "updater/app/UpdaterDescription.h"

namespace QX {
namespace {

UpdaterTexts makeTexts() {
    UpdaterTexts texts;
    texts.updaterName = "Updater";
    texts.version = "1.4.0 (R205)";
    return texts;
}

// The placeholder a failed version reading leaves never leaks in; without
// a version resource the literal stays.
TEST(UpdaterDescriptionTest, VersionComesFromTheFileVersionWhenThereIsOne) {
    struct Case {
        bool answer;
        const char* fileVersion;
        const char* expected;
    };
    for (const auto& c : {Case{true, "2.0.1.7", "2.0.1.7"}, Case{false, "?.??.???", "1.4.0 (R205)"}}) {
        const UpdaterDescription description(makeTexts(), {}, [&](std::string& out) {
            out.append(c.fileVersion);
            return c.answer;
        });
        EXPECT_EQ(description.version, c.expected);
        EXPECT_EQ(description.windowCaption, "Updater");
    }
    EXPECT_EQ(UpdaterDescription(makeTexts(), {}).version, "1.4.0 (R205)");
}

TEST(UpdaterDescriptionTest, ProgramDescriptionNamesRolesAndBindsEveryCallback) {
    HVXMK2UpdaterUpgradeLogic controller;
    const auto description = makeHVXMK2UpdaterDescription(controller);
    EXPECT_EQ(description->windowCaption, description->updaterName);
    EXPECT_EQ(description->title, "HARMOVA VI2 FIRMWARE UPDATER");
    EXPECT_TRUE(description->aboutLines[4].empty());
    EXPECT_TRUE(description->findDevice && description->enterUpdateMode && description->isDeviceReady &&
                description->startUpdate && description->getDeviceInfo && description->isUpdateRunning &&
                description->setMainWindow && description->stopWorker);
    EXPECT_FALSE(description->isUpdateRunning());
}

}  // namespace
}  // namespace QX
