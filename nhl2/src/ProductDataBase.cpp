#include "nhl2/ProductDataBase.h"

#include <array>

namespace QX::NHL2 {
namespace {

constexpr std::array<tProductRecord, 6> kProducts = {{
    {kHarmovaVendorId, kHVX49MK2, "HVX49 MK2", ProductMode::Normal, 49},
    {kHarmovaVendorId, kHVX61MK2, "HVX61 MK2", ProductMode::Normal, 61},
    {kHarmovaVendorId, kHVX88MK2, "HVX88 MK2", ProductMode::Normal, 88},
    {kHarmovaVendorId, kHVX49MK2 | kUpdateModeBits, "HVX49 MK2 Update", ProductMode::Update, 49},
    {kHarmovaVendorId, kHVX61MK2 | kUpdateModeBits, "HVX61 MK2 Update", ProductMode::Update, 61},
    {kHarmovaVendorId, kHVX88MK2 | kUpdateModeBits, "HVX88 MK2 Update", ProductMode::Update, 88},
}};

}  // namespace

std::span<const tProductRecord> ProductDataBase::getProducts() {
    return kProducts;
}

const tProductRecord* ProductDataBase::findProduct(std::uint16_t vendorId, std::uint16_t productId) {
    for (const auto& record : kProducts) {
        if (record.vendorId == vendorId && record.productId == productId) return &record;
    }
    return nullptr;
}

const tProductRecord* ProductDataBase::findModel(std::uint16_t productId) {
    const std::uint16_t model = productId & kModelMask;
    for (const auto& record : kProducts) {
        if (record.mode == ProductMode::Normal && record.productId == model) return &record;
    }
    return nullptr;
}

std::uint16_t ProductDataBase::getUpdateModeProductId(std::uint16_t modelProductId) {
    return static_cast<std::uint16_t>((modelProductId & kModelMask) | kUpdateModeBits);
}

}  // namespace QX::NHL2
