#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <limits>

#include "gp/FileStorage.h"
#include "gp/Path.h"
#include "gp/StorageIO.h"
#include "gp/Stream.h"
#include "gp/Uuid.h"

using namespace QX::GP;

namespace {

std::vector<std::uint8_t> bytes(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> out;
    for (int v : values)
        out.push_back(static_cast<std::uint8_t>(v));
    return out;
}

TEST(StorageIO, ByteOrders)
{
    MemoryStorage storage(bytes({0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0}));
    StorageIO little(&storage, StorageIO::kLittleEndian);
    std::uint16_t v16 = 0;
    std::uint32_t v32 = 0;
    ASSERT_TRUE(little.readUInt16(v16));
    EXPECT_EQ(v16, 0x3412);
    ASSERT_TRUE(little.readUInt32(v32));
    EXPECT_EQ(v32, 0xBC9A7856u);

    // Any value but 1 swaps.
    StorageIO big(&storage, 7);
    ASSERT_TRUE(big.seek(0, kSeekStart));
    ASSERT_TRUE(big.readUInt16(v16));
    EXPECT_EQ(v16, 0x1234);
    ASSERT_TRUE(big.readUInt32(v32));
    EXPECT_EQ(v32, 0x56789ABCu);
    std::uint8_t v8 = 0;
    ASSERT_TRUE(big.readUInt8(v8));
    EXPECT_EQ(v8, 0xDE);

    MemoryStorage out;
    StorageIO writer(&out, StorageIO::kBigEndian);
    EXPECT_TRUE(writer.writeUInt32(0x01020304));
    EXPECT_TRUE(writer.writeUInt16(0x0506));
    writer.setByteOrder(StorageIO::kLittleEndian);
    EXPECT_TRUE(writer.writeUInt16(0x0708));
    EXPECT_TRUE(writer.writeUInt8(0x09));
    EXPECT_EQ(out.bytes(), bytes({1, 2, 3, 4, 5, 6, 8, 7, 9}));
}

TEST(StorageIO, SeekOriginsAndShortReads)
{
    MemoryStorage storage(bytes({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    StorageIO io(&storage);
    EXPECT_TRUE(io.seek(4, kSeekStart));
    EXPECT_EQ(io.tell(), 4);
    EXPECT_TRUE(io.seek(3, kSeekCurrent));
    EXPECT_EQ(io.tell(), 7);
    EXPECT_TRUE(io.seek(-2, kSeekCurrent));
    EXPECT_EQ(io.tell(), 5);
    EXPECT_TRUE(io.seek(-3, kSeekEnd));
    EXPECT_EQ(io.tell(), 7);
    EXPECT_FALSE(io.seek(-11, kSeekEnd));  // before the start
    EXPECT_EQ(io.tell(), 7);
    EXPECT_FALSE(io.seek(0, 3));
    EXPECT_FALSE(io.seek(std::numeric_limits<std::int64_t>::max(), kSeekEnd));

    std::uint32_t value = 1;
    EXPECT_FALSE(io.readUInt32(value));  // three bytes left
    EXPECT_EQ(value, 0u);
    char buffer[16];
    EXPECT_TRUE(io.seek(8, kSeekStart));
    EXPECT_EQ(io.read(buffer, sizeof buffer), 2u);
    EXPECT_TRUE(io.seek(100, kSeekStart));  // past the end is allowed
    EXPECT_EQ(io.read(buffer, sizeof buffer), 0u);

    StorageIO none;
    EXPECT_EQ(none.tell(), -1);
    EXPECT_FALSE(none.seek(0, kSeekStart));
    EXPECT_EQ(none.read(buffer, 4), 0u);
    EXPECT_FALSE(none.readUInt8(*reinterpret_cast<std::uint8_t*>(buffer)));
}

TEST(MemoryStorage, WritesGrowOwnedAndRefuseBorrowed)
{
    MemoryStorage storage;
    EXPECT_TRUE(storage.seek(3, kSeekStart));
    EXPECT_EQ(storage.write("ab", 2), 2);
    EXPECT_EQ(storage.bytes(), bytes({0, 0, 0, 'a', 'b'}));
    EXPECT_TRUE(storage.seek(std::numeric_limits<std::int64_t>::max() - 1, kSeekStart));
    EXPECT_EQ(storage.write("abc", 3), -1);  // would overflow
    EXPECT_EQ(storage.read(nullptr, -1), -1);

    const char data[] = "resource";
    auto borrowed = MemoryStorage::borrow(data, 8);
    EXPECT_EQ(borrowed->write("x", 1), -1);
    char buffer[8];
    EXPECT_EQ(borrowed->read(buffer, 8), 8);
    EXPECT_EQ(std::memcmp(buffer, "resource", 8), 0);
    EXPECT_EQ(borrowed->read(buffer, 8), 0);
}

TEST(RangeStorage, SeesOnlyItsWindow)
{
    auto base = std::make_shared<MemoryStorage>(bytes({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    RangeStorage range(base, 3, 4);
    EXPECT_EQ(range.getSize(), 4);
    std::uint8_t buffer[10] = {};
    EXPECT_EQ(range.read(buffer, 10), 4);
    EXPECT_EQ(buffer[0], 3);
    EXPECT_EQ(buffer[3], 6);
    EXPECT_EQ(range.read(buffer, 10), 0);
    EXPECT_TRUE(range.seek(-1, kSeekEnd));
    EXPECT_EQ(range.read(buffer, 10), 1);
    EXPECT_EQ(buffer[0], 6);
    EXPECT_TRUE(range.seek(2, kSeekStart));
    EXPECT_EQ(range.write("abcdef", 6), 2);  // stops at the window's end
    EXPECT_EQ(base->bytes()[6], 'b');
    EXPECT_EQ(base->bytes()[7], 7);

    RangeStorage beyond(base, 8, 100);  // longer than its base
    EXPECT_EQ(beyond.read(buffer, 10), 2);
    // A window reaching past the largest position is cut there.
    constexpr std::int64_t kLast = std::numeric_limits<std::int64_t>::max();
    RangeStorage far(base, kLast - 1, kLast);
    EXPECT_EQ(far.getSize(), 1);
    EXPECT_TRUE(far.seek(10, kSeekStart));
    EXPECT_EQ(far.read(buffer, 1), 0);
    RangeStorage orphan(nullptr, 0, 10);
    EXPECT_EQ(orphan.getSize(), 0);
    EXPECT_EQ(orphan.read(buffer, 1), -1);
}

// A file in the test's working folder, removed at the end.
class FileStorageTest : public testing::Test {
protected:
    void SetUp() override
    {
        Path folder;
        ASSERT_TRUE(folder.assignCurrentDirectory());
        EXPECT_TRUE(folder.directoryExists());
        path_ = folder.appendComponent("gp-file-" + uuidToString(makeRandomUuid()) + ".bin");
    }
    void TearDown() override { removeFile(path_); }
    Path path_;
};

TEST_F(FileStorageTest, WriteThenReadBack)
{
    EXPECT_FALSE(path_.exists());
    {
        FileStorage file;
        ASSERT_TRUE(file.open(path_, kFileWrite));
        StorageIO io(&file);
        EXPECT_TRUE(io.writeUInt32(0xCAFEF00D));
        EXPECT_EQ(io.write("tail", 4), 4u);
    }
    EXPECT_TRUE(path_.exists());
    EXPECT_FALSE(path_.directoryExists());

    FileStream stream;
    EXPECT_EQ(stream.getState(), kStreamClosed);
    ASSERT_TRUE(stream.open(path_));
    EXPECT_EQ(stream.getState(), kStreamOpen);
    EXPECT_EQ(stream.getSize(), 8);
    StorageIO io(stream.getStorage());
    std::uint32_t value = 0;
    EXPECT_TRUE(io.readUInt32(value));
    EXPECT_EQ(value, 0xCAFEF00Du);
    EXPECT_TRUE(io.seek(-2, kSeekEnd));
    char tail[8] = {};
    EXPECT_EQ(io.read(tail, sizeof tail), 2u);
    EXPECT_STREQ(tail, "il");
    EXPECT_TRUE(io.seek(50, kSeekStart));
    EXPECT_EQ(io.read(tail, sizeof tail), 0u);
    EXPECT_FALSE(io.seek(-1, kSeekStart));
    EXPECT_EQ(io.tell(), 50);
    stream.setStorage(nullptr);  // closes the file
    EXPECT_TRUE(removeFile(path_));
    EXPECT_FALSE(path_.exists());
    EXPECT_FALSE(removeFile(path_));
}

TEST_F(FileStorageTest, FailedOpensLeaveNothingToRead)
{
    FileStream stream;
    EXPECT_FALSE(stream.open(path_));
    EXPECT_EQ(stream.getState(), kStreamFailed);
    char buffer[4];
    EXPECT_EQ(stream.read(buffer, 4), 0u);
    EXPECT_EQ(stream.tell(), -1);

    FileStorage file;
    EXPECT_FALSE(file.open(Path(), kFileRead));
    EXPECT_FALSE(file.open(path_, 42));
    EXPECT_EQ(file.read(buffer, 4), -1);
    EXPECT_EQ(file.getPosition(), -1);

    Path inContainer = path_;
    inContainer.setContainerSubPath("pictures/a.png");
    FileStream item;
    EXPECT_FALSE(item.open(inContainer));
    EXPECT_EQ(item.getState(), kStreamFailed);
    FileContainerStorage container;
    EXPECT_FALSE(container.open(path_, "a"));
    EXPECT_NE(container.lastError().find("not supported"), std::string::npos);
}

TEST(Stream, MemoryStreamAndSwitchingStorage)
{
    MemoryStream stream(bytes({1, 2, 3}));
    EXPECT_TRUE(stream.isOpen());
    std::uint8_t buffer[4];
    EXPECT_EQ(stream.read(buffer, 4), 3u);
    EXPECT_TRUE(stream.seek(1, kSeekStart));
    EXPECT_EQ(stream.tell(), 1);
    stream.setStorage(nullptr);
    EXPECT_EQ(stream.getState(), kStreamClosed);
    EXPECT_EQ(stream.read(buffer, 4), 0u);
}

}  // namespace
