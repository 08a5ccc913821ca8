#include <gtest/gtest.h>

#include "SimulatedSetup.h"
#include "nhl2/DriverRequests.h"

namespace QX::NHL2 {
namespace {

using TEST::SimulatedSetup;

TEST(USBDevice, OpensTheKeyboardAndReadsItsAttributesAndStrings) {
    tKeyboardDescription description;
    description.modelProductId = kHVX61MK2;
    description.releaseNumber = 0x0057;
    description.serialNumber = "HVX61-424242";
    SimulatedSetup setup(description);
    DFUDevice device(setup.driver, setup.clock);
    ASSERT_TRUE(USBDeviceFactory(setup.driver).openFirstMatching(TEST::makeNormalFilter(), device));
    const auto& info = device.getInfo();
    EXPECT_EQ(info.vendorId, kHarmovaVendorId);
    EXPECT_EQ(info.productId, kHVX61MK2);
    EXPECT_EQ(info.releaseNumber, 0x0057);
    EXPECT_EQ(info.manufacturer, "Harmova");
    EXPECT_EQ(info.product, "HVX61 MK2");
    EXPECT_EQ(info.serialNumber, "HVX61-424242");
    EXPECT_EQ(device.getTransferSize(), 0);  // a HID device has no DFU descriptor
}

TEST(USBDevice, StringsThatFailOrAreNotAsciiStillOpen) {
    tKeyboardDescription description;
    description.strings = tKeyboardDescription::Strings::Failing;
    {
        SimulatedSetup setup(description);
        DFUDevice device(setup.driver, setup.clock);
        ASSERT_TRUE(USBDeviceFactory(setup.driver).openFirstMatching(TEST::makeNormalFilter(), device));
        EXPECT_EQ(device.getInfo().serialNumber, "");
        EXPECT_EQ(device.getInfo().releaseNumber, 0x0058);
    }
    description.strings = tKeyboardDescription::Strings::NonAscii;
    {
        SimulatedSetup setup(description);
        DFUDevice device(setup.driver, setup.clock);
        ASSERT_TRUE(USBDeviceFactory(setup.driver).openFirstMatching(TEST::makeNormalFilter(), device));
        EXPECT_EQ(device.getInfo().manufacturer, "Harmova Kl\xC3\xA4nge GmbH");
        EXPECT_EQ(device.getInfo().product, "HVX49 MK2 \xE2\x99\xAB");
        EXPECT_EQ(device.getInfo().serialNumber, "\xC3\x84\xC3\x96\xC3\x9C-HVX49-000001");
    }
    description.strings = tKeyboardDescription::Strings::InvalidUtf16;
    {
        SimulatedSetup setup(description);
        DFUDevice device(setup.driver, setup.clock);
        ASSERT_TRUE(USBDeviceFactory(setup.driver).openFirstMatching(TEST::makeNormalFilter(), device));
        EXPECT_EQ(device.getInfo().serialNumber, "HVX49-000001\xEF\xBF\xBD!");  // U+FFFD for the lone surrogate
    }
}

TEST(USBDeviceFactory, SkipsForeignAndMalformedPathsAndOpensTheFirstKeyboard) {
    tKeyboardDescription description;
    description.keyboardCount = 2;
    description.extraPaths = {
        u"\\\\?\\hid#vid_0f0f&pid_0a10#7&1&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}",
        u"\\\\?\\hid#vid_3a7e&pid_0a1#broken",
        u"\\\\?\\hid#no ids at all",
        u"\\\\?\\hid#vid_3a7e&pid_0a10&rev_0058#ghost#{4d1e55b2-f16f-11cf-88cb-001111000030}",  // cannot be opened
    };
    SimulatedSetup setup(description);
    const USBDeviceFactory factory(setup.driver);
    const auto handles = factory.enumerateDevices(TEST::makeNormalFilter());
    ASSERT_EQ(handles.size(), 3u);  // the ghost and both keyboards
    DFUDevice device(setup.driver, setup.clock);
    ASSERT_TRUE(factory.openFirstMatching(TEST::makeNormalFilter(), device));
    EXPECT_EQ(device.getInfo().serialNumber, "HVX49-000001");
    EXPECT_EQ(device.getHandle().devicePath, setup.driver->getKeyboard(0).getDevicePath());
}

TEST(USBDeviceFactory, FindsAKeyboardOnlyBetweenItsArrivalAndItsLeaving) {
    tKeyboardDescription description;
    description.arrivalMs = 3000;
    description.leaveMs = 5000;
    SimulatedSetup setup(description);
    DFUDevice device(setup.driver, setup.clock);
    const USBDeviceFactory factory(setup.driver);
    EXPECT_FALSE(factory.openFirstMatching(TEST::makeNormalFilter(), device));
    EXPECT_FALSE(device.isOpen());
    setup.clock->advance(3000);
    EXPECT_TRUE(factory.openFirstMatching(TEST::makeNormalFilter(), device));
    setup.clock->advance(60000);
    EXPECT_FALSE(device.switchToUpdateMode());
    EXPECT_FALSE(factory.openFirstMatching(TEST::makeNormalFilter(), device));
}

TEST(USBDevice, InUpdateModeItDescribesItselfThroughTheDriver) {
    tKeyboardDescription description;
    description.transferSize = 2048;
    SimulatedSetup setup(description);
    DFUDevice device(setup.driver, setup.clock);
    ASSERT_TRUE(setup.openInUpdateMode(device));
    EXPECT_EQ(device.getInfo().productId, ProductDataBase::getUpdateModeProductId(kHVX49MK2));
    EXPECT_EQ(device.getInfo().releaseNumber, 0x0100);
    EXPECT_EQ(device.getInfo().product, "HVX49 MK2 Update");
    EXPECT_EQ(device.getInfo().serialNumber, "HVX49-000001");
    EXPECT_EQ(device.getTransferSize(), 2048);
}

TEST(USBDevice, AHandleOpenedBeforeTheDeviceLeftAnswersNothing) {
    SimulatedSetup setup(tKeyboardDescription{});
    DFUDevice device(setup.driver, setup.clock);
    ASSERT_TRUE(USBDeviceFactory(setup.driver).openFirstMatching(TEST::makeNormalFilter(), device));
    ASSERT_TRUE(device.switchToUpdateMode());
    EXPECT_FALSE(device.switchToUpdateMode());
    setup.clock->advance(1000);
    tDFUStatus status;
    EXPECT_FALSE(device.getStatus(status));
}

}  // namespace
}  // namespace QX::NHL2
