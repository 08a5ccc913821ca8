#include <gtest/gtest.h>

#include "nhl2/DevicePath.h"

namespace QX::NHL2 {
namespace {

struct tPathCase {
    const char16_t* path;
    bool parses;
    std::uint16_t vendorId;
    std::uint16_t productId;
    int revision;  // -1: none
};

const tPathCase kPaths[] = {
    {u"\\\\?\\hid#vid_3a7e&pid_0a10&rev_0058#7&2f1c0a3b&1&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}",
     true, 0x3A7E, 0x0A10, 0x0058},
    {u"\\\\?\\HID#VID_3A7E&PID_0A1D&REV_0100#1#{4D1E55B2}", true, 0x3A7E, 0x0A1D, 0x0100},
    {u"\\\\?\\Hid#Vid_abCD&Pid_12eF#x", true, 0xABCD, 0x12EF, -1},
    {u"pid_0001&vid_0002&rev_0003", true, 0x0002, 0x0001, 0x0003},
    {u"vid_ffff&pid_0000", true, 0xFFFF, 0x0000, -1},
    {u"vid_3a7e&pid_0a10&rev_12", true, 0x3A7E, 0x0A10, -1},    // a short revision is no revision
    {u"vid_3a7e", false, 0, 0, -1},
    {u"pid_0a10", false, 0, 0, -1},
    {u"", false, 0, 0, -1},
    {u"vid_3a7&pid_0a10", false, 0, 0, -1},                     // three digits
    {u"vid_3a7e1&pid_0a10", false, 0, 0, -1},                   // five digits
    {u"vid_3g7e&pid_0a10", false, 0, 0, -1},                    // not hexadecimal
    {u"vid_&pid_0a10", false, 0, 0, -1},
    {u"vid__3a7e&pid_0a10", false, 0, 0, -1},
    {u"vid_3a7e&pid_0a1", false, 0, 0, -1},                     // cut short at the end
    {u"vid 3a7e&pid 0a10", false, 0, 0, -1},
    {u"\\\\?\\usb#vid_3a7e&pid_0a10&vid_1111#x", true, 0x3A7E, 0x0A10, -1},  // the first one counts
    {u"vid_\uFF13a7e&pid_0a10", false, 0, 0, -1},               // full-width digit
};

TEST(DevicePath, ParsesVendorProductAndRevisionOrNothing) {
    for (const auto& c : kPaths) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - kPaths));
        const auto ids = parseDevicePath(c.path);
        ASSERT_EQ(ids.has_value(), c.parses);
        if (!ids) continue;
        EXPECT_EQ(ids->vendorId, c.vendorId);
        EXPECT_EQ(ids->productId, c.productId);
        EXPECT_EQ(ids->revision.has_value(), c.revision >= 0);
        if (ids->revision) {
            EXPECT_EQ(*ids->revision, c.revision);
        }
    }
}

}  // namespace
}  // namespace QX::NHL2
