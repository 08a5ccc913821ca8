#include <gtest/gtest.h>

#include "nhl2/ProductDataBase.h"
#include "nhl2/USBDeviceFilter.h"

namespace QX::NHL2 {
namespace {

TEST(ProductDataBase, UpdateModeIdsDifferOnlyInTheLowBits) {
    for (const std::uint16_t model : {kHVX49MK2, kHVX61MK2, kHVX88MK2}) {
        EXPECT_EQ(model & 0x000F, 0);
        const std::uint16_t update = ProductDataBase::getUpdateModeProductId(model);
        EXPECT_NE(update, model);
        EXPECT_EQ(update & kModelMask, model);
        const auto* record = ProductDataBase::findProduct(kHarmovaVendorId, update);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->mode, ProductMode::Update);
        EXPECT_EQ(ProductDataBase::findModel(update), ProductDataBase::findProduct(kHarmovaVendorId, model));
    }
    EXPECT_EQ(ProductDataBase::findModel(kHVX61MK2 | 0x3)->keys, 61);
    EXPECT_EQ(ProductDataBase::findModel(0x0A50), nullptr);
    EXPECT_EQ(ProductDataBase::findProduct(0x1234, kHVX49MK2), nullptr);
}

TEST(ProductDataBase, FilterMatchesVendorAndListedProducts) {
    USBDeviceFilter filter;
    filter.vendorId = kHarmovaVendorId;
    filter.productIds = {kHVX49MK2, kHVX88MK2};
    EXPECT_TRUE(filter.matches(kHarmovaVendorId, kHVX49MK2));
    EXPECT_TRUE(filter.matches(kHarmovaVendorId, kHVX88MK2));
    EXPECT_FALSE(filter.matches(kHarmovaVendorId, kHVX61MK2));
    EXPECT_FALSE(filter.matches(kHarmovaVendorId, kHVX49MK2 | kUpdateModeBits));
    EXPECT_FALSE(filter.matches(0x3A7F, kHVX49MK2));
}

}  // namespace
}  // namespace QX::NHL2
