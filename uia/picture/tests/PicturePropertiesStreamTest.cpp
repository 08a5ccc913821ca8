#include <gtest/gtest.h>

#include "gp/Storage.h"
#include "gp/StorageIO.h"
#include "uia/picture/PictureProperties.h"

using namespace QX::UIA;
using QX::GP::MemoryStorage;
using QX::GP::StorageIO;

namespace {

PictureProperties makeProperties() {
    PictureProperties properties;
    properties.setOption(true);
    properties.setHorizontal(true);
    properties.setAnimationCount(12);
    properties.setFixedVertical(true);
    properties.setFixedTop(3);
    properties.setFixedBottom(4);
    properties.setFixedLeft(5);
    properties.setFixedRight(6);
    return properties;
}

}  // namespace

TEST(PicturePropertiesStream, LayoutInBothByteOrders) {
    for (int order : {StorageIO::kLittleEndian, StorageIO::kBigEndian}) {
        MemoryStorage storage;
        StorageIO writer(&storage, order);
        PictureProperties written = makeProperties();
        ASSERT_TRUE(written.writeToStream(writer));
        ASSERT_EQ(storage.bytes().size(), 4u + 1 + 7 * 4);
        const std::uint8_t* bytes = storage.bytes().data();
        EXPECT_EQ(bytes[order == StorageIO::kLittleEndian ? 0 : 3], 1);  // version
        EXPECT_EQ(bytes[4], 1);                                            // option
        EXPECT_EQ(bytes[order == StorageIO::kLittleEndian ? 9 : 12], 12);  // animation count

        ASSERT_TRUE(storage.seek(0, QX::GP::kSeekStart));
        StorageIO reader(&storage, order);
        PictureProperties read;
        ASSERT_TRUE(read.readFromStream(reader));
        EXPECT_TRUE(read.getOption());
        EXPECT_EQ(read.getOrientation(), 2u);
        EXPECT_EQ(read.getAnimationCount(), 12u);
        EXPECT_EQ(read.getFixedFlags(), 1u);
        EXPECT_EQ(read.getFixedTop(), 3u);
        EXPECT_EQ(read.getFixedBottom(), 4u);
        EXPECT_EQ(read.getFixedLeft(), 5u);
        EXPECT_EQ(read.getFixedRight(), 6u);
    }
}

TEST(PicturePropertiesStream, ShortInputIsReported) {
    MemoryStorage storage(std::vector<std::uint8_t>{1, 0, 0, 0, 1, 2, 0});
    StorageIO reader(&storage);
    PictureProperties read;
    EXPECT_FALSE(read.readFromStream(reader));
}
