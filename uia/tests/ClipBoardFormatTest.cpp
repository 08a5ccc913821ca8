#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "uia/FileListClipBoardFormat.h"
#include "uia/GlobalMemory.h"
#include "uia/InternalClipBoardFormat.h"
#include "uia/TextClipBoardFormat.h"

namespace QX::UIA {
namespace {

using DETAIL::GlobalBlockLock;

// A block holding exactly these bytes; freed by the test.
void* blockOf(const std::vector<unsigned char>& bytes) {
    void* block = DETAIL::allocateGlobalBlock(bytes.size());
    GlobalBlockLock lock(block);
    if (!bytes.empty())
        std::memcpy(lock.data(), bytes.data(), bytes.size());
    return block;
}

std::vector<unsigned char> bytesOf(void* block) {
    GlobalBlockLock lock(block);
    const auto* data = static_cast<const unsigned char*>(lock.data());
    return {data, data + lock.size()};
}

template <typename T>
void append(std::vector<unsigned char>& bytes, const T& value) {
    const auto* raw = reinterpret_cast<const unsigned char*>(&value);
    bytes.insert(bytes.end(), raw, raw + sizeof value);
}

void appendWide(std::vector<unsigned char>& bytes, std::u16string_view text) {
    for (char16_t unit : text)
        append(bytes, unit);
}

std::vector<unsigned char> dropFilesHeader(std::uint32_t offset, std::uint32_t wide) {
    std::vector<unsigned char> bytes;
    for (std::uint32_t field : {offset, 0u, 0u, 0u, wide})
        append(bytes, field);
    return bytes;
}

TEST(FormatIds, SystemFormatsAndOneRegisteredInternalFormat) {
    EXPECT_EQ(getTextFormatId(), 13u);
    EXPECT_EQ(getFileListFormatId(), 15u);
    EXPECT_EQ(getClipboardFormatId("orvandel.unicodetext"), 13u);
    EXPECT_EQ(getClipboardFormatId("orvandel.filelist"), 15u);
    EXPECT_GE(getInternalFormatId(), 0xC000u);
    EXPECT_EQ(getInternalFormatId(), getInternalFormatId());
    EXPECT_EQ(InternalClipBoardFormat().getFormatId(), getInternalFormatId());
}

TEST(TextFormat, TakesUnitsUpToNulOrEndOfBlock) {
    TextClipBoardFormat text;
    const char16_t noNul[] = {u'a', u'b', u'c', u'd', u'e'};
    EXPECT_TRUE(text.setData(noNul, sizeof noNul));
    EXPECT_EQ(text.getWideText(), u"abcde");

    const char16_t early[] = {u'x', u'y', u'\0', u'z', u'w'};
    EXPECT_TRUE(text.setData(early, sizeof early));
    EXPECT_EQ(text.getWideText(), u"xy");

    EXPECT_TRUE(text.setData(noNul, 3));  // an odd byte is not a unit
    EXPECT_EQ(text.getWideText(), u"a");
}

TEST(TextFormat, BlockHoldsUnitsAndNul) {
    TextClipBoardFormat text;
    text.setText("abc");
    void* block = text.writeToGlobal();
    ASSERT_NE(block, nullptr);
    const std::vector<unsigned char> bytes = bytesOf(block);
    ASSERT_EQ(bytes.size(), 8u);
    const char16_t expected[] = {u'a', u'b', u'c', u'\0'};
    EXPECT_EQ(std::memcmp(bytes.data(), expected, 8), 0);

    TextClipBoardFormat read;
    EXPECT_TRUE(read.readFromGlobal(block));
    EXPECT_EQ(read.getText(), "abc");
    DETAIL::freeGlobalBlock(block);
}

TEST(InternalFormat, RefusesABlockShorterThanThePayload) {
    InternalObject object(7);
    InternalClipBoardFormat format(&object, nullptr);
    std::vector<unsigned char> tooShort(format.getDataSize() - 1, 0xAB);
    void* block = blockOf(tooShort);
    EXPECT_FALSE(format.readFromGlobal(block));
    EXPECT_EQ(format.getObject(), &object);
    EXPECT_EQ(format.getTypeId(), 7u);
    EXPECT_FALSE(format.setData(tooShort.data(), 8));
    DETAIL::freeGlobalBlock(block);
}

TEST(InternalTypeIds, SameNameSameIdNewNameNextId) {
    const std::uint32_t first = getInternalTypeIdImpl("test.type.first");
    EXPECT_EQ(getInternalTypeIdImpl("test.type.first"), first);
    EXPECT_EQ(getInternalTypeIdImpl("test.type.second"), first + 1);
    EXPECT_EQ(getInternalTypeIdImpl("test.type.first"), first);
}

TEST(FileListFormat, BlockIsHeaderWideNamesAndFinalNul) {
    FileListClipBoardFormat list;
    list.getPaths().emplace_back(std::string_view("C:\\data\\a.txt"));
    list.getPaths().emplace_back(std::string_view("C:\\b"));
    void* block = list.writeToGlobal();
    ASSERT_NE(block, nullptr);
    const std::vector<unsigned char> bytes = bytesOf(block);
    ASSERT_EQ(bytes.size(), 20u + (13 + 1) * 2 + (4 + 1) * 2 + 2);
    std::vector<unsigned char> expected = dropFilesHeader(20, 1);
    appendWide(expected, std::u16string_view(u"C:\\data\\a.txt\0C:\\b\0\0", 20));
    EXPECT_EQ(bytes, expected);

    FileListClipBoardFormat read;
    EXPECT_TRUE(read.readFromGlobal(block));
    ASSERT_EQ(read.getPaths().size(), 2u);
    EXPECT_EQ(read.getPaths()[0].toString(), "C:\\data\\a.txt");
    EXPECT_EQ(read.getPaths()[1].toString(), "C:\\b");
    DETAIL::freeGlobalBlock(block);
}

TEST(FileListFormat, EmptyListIsHeaderAndNul) {
    FileListClipBoardFormat list;
    void* block = list.writeToGlobal();
    EXPECT_EQ(bytesOf(block).size(), 22u);
    list.getPaths().emplace_back(std::string_view("x"));
    EXPECT_TRUE(list.readFromGlobal(block));
    EXPECT_TRUE(list.getPaths().empty());
    DETAIL::freeGlobalBlock(block);
}

TEST(FileListFormat, ReadsEightBitNames) {
    std::vector<unsigned char> bytes = dropFilesHeader(20, 0);
    for (char c : std::string_view("one.txt\0two\0\0", 13))
        bytes.push_back(static_cast<unsigned char>(c));
    void* block = blockOf(bytes);
    FileListClipBoardFormat list;
    EXPECT_TRUE(list.readFromGlobal(block));
    ASSERT_EQ(list.getPaths().size(), 2u);
    EXPECT_EQ(list.getPaths()[0].toString(), "one.txt");
    EXPECT_EQ(list.getPaths()[1].toString(), "two");
    DETAIL::freeGlobalBlock(block);
}

TEST(FileListFormat, NamesAreBoundedByTheBlock) {
    // Other programs hand us these blocks: a list without its final NUL, a
    // name that runs into the end, an offset outside the block, a header cut
    // short.
    std::vector<unsigned char> unterminated = dropFilesHeader(20, 1);
    appendWide(unterminated, std::u16string_view(u"a.txt\0b.txt", 11));
    void* block = blockOf(unterminated);
    FileListClipBoardFormat list;
    EXPECT_TRUE(list.readFromGlobal(block));
    ASSERT_EQ(list.getPaths().size(), 1u);
    EXPECT_EQ(list.getPaths()[0].toString(), "a.txt");
    DETAIL::freeGlobalBlock(block);

    for (std::uint32_t offset : {0u, 19u, 22u, 0xFFFFFFF0u}) {
        std::vector<unsigned char> bad = dropFilesHeader(offset, 1);
        appendWide(bad, u"z");
        block = blockOf(bad);
        EXPECT_TRUE(list.readFromGlobal(block));
        EXPECT_TRUE(list.getPaths().empty()) << offset;
        DETAIL::freeGlobalBlock(block);
    }

    std::vector<unsigned char> shortHeader = dropFilesHeader(20, 1);
    shortHeader.resize(12);
    block = blockOf(shortHeader);
    EXPECT_TRUE(list.readFromGlobal(block));
    EXPECT_TRUE(list.getPaths().empty());
    DETAIL::freeGlobalBlock(block);
}

TEST(FileListFormat, DirectoryGetsTrailingSeparator) {
    const std::filesystem::path directory = "qx_clipboard_test_dir";
    std::filesystem::create_directory(directory);
    std::vector<unsigned char> bytes = dropFilesHeader(20, 1);
    appendWide(bytes, std::u16string_view(u"qx_clipboard_test_dir\0qx_no_such_entry\0\0", 40));
    void* block = blockOf(bytes);
    FileListClipBoardFormat list;
    EXPECT_TRUE(list.readFromGlobal(block));
    ASSERT_EQ(list.getPaths().size(), 2u);
    const std::string directoryText = list.getPaths()[0].toString();
    ASSERT_FALSE(directoryText.empty());
    EXPECT_TRUE(directoryText.back() == '\\' || directoryText.back() == '/') << directoryText;
    EXPECT_EQ(list.getPaths()[1].toString(), "qx_no_such_entry");
    DETAIL::freeGlobalBlock(block);
    std::filesystem::remove(directory);
}

}  // namespace
}  // namespace QX::UIA
