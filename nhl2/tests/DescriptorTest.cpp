#include <gtest/gtest.h>

#include <vector>

#include "nhl2/DFUStatus.h"
#include "nhl2/USBDescriptors.h"

namespace QX::NHL2 {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes makeConfiguration(std::uint8_t functionalLength, std::uint16_t transferSize, std::uint8_t interfaceClass = 0xFE) {
    Bytes bytes = {9, 2, 0, 0, 1, 1, 0, 0x80, 50, 9, 4, 0, 0, 0, interfaceClass, 1, 2, 0};
    Bytes functional = {functionalLength, 0x21, 0x05, 0xE8, 0x03, std::uint8_t(transferSize),
                        std::uint8_t(transferSize >> 8), 0x10, 0x01};
    functional.resize(functionalLength);
    bytes.insert(bytes.end(), functional.begin(), functional.end());
    bytes[2] = static_cast<std::uint8_t>(bytes.size());
    return bytes;
}

TEST(Descriptors, DeviceDescriptorGivesIdsReleaseAndStringIndexes) {
    const Bytes bytes = {18, 1, 0x10, 0x01, 0, 0, 0, 64, 0x7E, 0x3A, 0x1D, 0x0A, 0x00, 0x01, 1, 2, 3, 1};
    const auto descriptor = parseDeviceDescriptor(bytes);
    ASSERT_TRUE(descriptor);
    EXPECT_EQ(descriptor->vendorId, 0x3A7E);
    EXPECT_EQ(descriptor->productId, 0x0A1D);
    EXPECT_EQ(descriptor->releaseNumber, 0x0100);
    EXPECT_EQ(descriptor->serialNumberIndex, 3);

    EXPECT_FALSE(parseDeviceDescriptor(std::span(bytes).first(17)));
    Bytes wrongType = bytes;
    wrongType[1] = 2;
    EXPECT_FALSE(parseDeviceDescriptor(wrongType));
}

TEST(Descriptors, FunctionalDescriptorOfDFU11And10) {
    const auto dfu11 = findDFUFunctionalDescriptor(makeConfiguration(9, 2048));
    ASSERT_TRUE(dfu11);
    EXPECT_EQ(dfu11->transferSize, 2048);
    EXPECT_EQ(dfu11->dfuVersion, 0x0110);
    EXPECT_EQ(dfu11->detachTimeoutMs, 1000);
    EXPECT_TRUE(dfu11->canDownload());
    EXPECT_TRUE(dfu11->isManifestationTolerant());

    const auto dfu10 = findDFUFunctionalDescriptor(makeConfiguration(7, 64));
    ASSERT_TRUE(dfu10);
    EXPECT_EQ(dfu10->transferSize, 64);
    EXPECT_EQ(dfu10->dfuVersion, 0);
}

TEST(Descriptors, MalformedConfigurationsGiveNothing) {
    EXPECT_FALSE(findDFUFunctionalDescriptor({}));
    EXPECT_FALSE(findDFUFunctionalDescriptor(makeConfiguration(6, 64)));              // too short
    EXPECT_FALSE(findDFUFunctionalDescriptor(makeConfiguration(9, 64, 0x03)));        // not a DFU interface
    Bytes zeroLength = makeConfiguration(9, 64);
    zeroLength[9] = 0;  // would loop forever if taken at its word
    EXPECT_FALSE(findDFUFunctionalDescriptor(zeroLength));
    Bytes overlong = makeConfiguration(9, 64);
    overlong[18] = 40;  // runs past the end
    EXPECT_FALSE(findDFUFunctionalDescriptor(overlong));
    Bytes truncatedTotal = makeConfiguration(9, 64);
    truncatedTotal[2] = 18;  // the total length leaves the functional descriptor out
    EXPECT_FALSE(findDFUFunctionalDescriptor(truncatedTotal));
}

TEST(Descriptors, StringDescriptors) {
    const Bytes text = {8, 3, 'H', 0, 0xFC, 0, 0x6B, 0x26};
    EXPECT_EQ(parseStringDescriptor(text), std::u16string(u"H\u00FC\u266B"));
    const Bytes odd = {5, 3, 'A', 0, 'B'};
    EXPECT_EQ(parseStringDescriptor(odd), std::u16string(u"A"));
    const Bytes claimsMore = {20, 3, 'A', 0};
    EXPECT_EQ(parseStringDescriptor(claimsMore), std::u16string(u"A"));
    EXPECT_FALSE(parseStringDescriptor(Bytes{2, 1}));
    EXPECT_FALSE(parseStringDescriptor(Bytes{1}));
    EXPECT_EQ(parseStringDescriptor(Bytes{2, 3}), std::u16string());
}

TEST(Descriptors, DFUStatusReply) {
    const Bytes reply = {0x00, 0x10, 0x27, 0x01, 4, 0};
    const auto status = parseDFUStatus(reply);
    ASSERT_TRUE(status);
    EXPECT_TRUE(status->isOk());
    EXPECT_EQ(status->pollTimeoutMs, 0x012710u);
    EXPECT_EQ(status->getState(), DFUState::DownloadBusy);

    EXPECT_FALSE(parseDFUStatus(std::span(reply).first(5)));
    EXPECT_FALSE(parseDFUStatus(Bytes{0, 0, 0, 0, 11, 0}));

    std::array<std::uint8_t, 6> written{};
    writeDFUStatus(*status, written);
    EXPECT_EQ(Bytes(written.begin(), written.end()), reply);
}

}  // namespace
}  // namespace QX::NHL2
