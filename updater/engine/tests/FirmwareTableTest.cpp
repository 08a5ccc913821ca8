#include <gtest/gtest.h>

#include "engine/FirmwareEntry.h"
#include "nhl2/ProductDataBase.h"
#include "nhl2/FirmwareImage.h"

namespace QX {
namespace {

TEST(FirmwareTable, OneRecordOfThreeIntactImagesPerModel) {
    const auto table = getFirmwareTable();
    ASSERT_EQ(table.size(), 3u);
    const std::uint16_t models[] = {NHL2::kHVX49MK2, NHL2::kHVX61MK2, NHL2::kHVX88MK2};
    for (std::size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].productId, models[i]);
        for (const auto& image : table[i].images) {
            EXPECT_GE(image.size, 10u * 1024);
            EXPECT_LE(image.size, 100u * 1024);
            const auto header = NHL2::verifyFirmwareImage(image.getBytes());
            ASSERT_TRUE(header);
            EXPECT_EQ(header->productId, models[i]);
            EXPECT_EQ(header->version, image.version);
        }
        EXPECT_EQ(table[i].images[0].version, 0x0059);
    }
    // Different models carry different bytes.
    EXPECT_NE(NHL2::computeCrc32(table[0].images[0].getBytes().subspan(16, 1024)),
              NHL2::computeCrc32(table[1].images[0].getBytes().subspan(16, 1024)));
}

TEST(FirmwareTable, FoundByTheModelBitsOfTheProductId) {
    EXPECT_EQ(findFirmwareEntry(NHL2::kHVX61MK2)->productId, NHL2::kHVX61MK2);
    EXPECT_EQ(findFirmwareEntry(NHL2::kHVX61MK2 | 0x000D)->productId, NHL2::kHVX61MK2);
    EXPECT_EQ(findFirmwareEntry(NHL2::kHVX88MK2 | 0x000F)->productId, NHL2::kHVX88MK2);
    EXPECT_EQ(findFirmwareEntry(0x0A40), nullptr);
    EXPECT_EQ(findFirmwareEntry(0x0000), nullptr);
}

TEST(FirmwareTable, RevisionFormatting) {
    EXPECT_EQ(formatRevision(0x0059), "0.5.9");
    EXPECT_EQ(formatRevision(0x0000), "0.0.0");
    EXPECT_EQ(formatRevision(0x0103), "1.0.3");
    EXPECT_EQ(formatRevision(0x12AB), "18.10.11");
    EXPECT_EQ(formatRevision(0xFFFF), "255.15.15");
}

}  // namespace
}  // namespace QX
