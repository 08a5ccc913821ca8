#pragma once
#include <cstdint>
#include <span>
#include <string_view>

namespace QX::NHL2 {

inline constexpr std::uint16_t kHarmovaVendorId = 0x3A7E;

// Model product ids have the low four bits clear in normal mode; the same
// model in update mode differs only in those bits.
inline constexpr std::uint16_t kModelMask = 0xFFF0;
inline constexpr std::uint16_t kHVX49MK2 = 0x0A10;
inline constexpr std::uint16_t kHVX61MK2 = 0x0A20;
inline constexpr std::uint16_t kHVX88MK2 = 0x0A30;
inline constexpr std::uint16_t kUpdateModeBits = 0x000D;

enum class ProductMode { Normal, Update };

struct tProductRecord {
    std::uint16_t vendorId;
    std::uint16_t productId;
    std::string_view name;
    ProductMode mode;
    int keys;
};

// The maker's USB products that the program knows.
class ProductDataBase {
public:
    static std::span<const tProductRecord> getProducts();
    static const tProductRecord* findProduct(std::uint16_t vendorId, std::uint16_t productId);
    // The normal-mode record of the model that `productId` belongs to.
    static const tProductRecord* findModel(std::uint16_t productId);
    static std::uint16_t getUpdateModeProductId(std::uint16_t modelProductId);
};

}  // namespace QX::NHL2
