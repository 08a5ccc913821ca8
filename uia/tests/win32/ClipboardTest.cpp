#include "WindowTestSupport.h"

#include <shlobj.h>

#include <cstdlib>
#include <string>

#include "ChildProcess.h"
#include "ClipboardWin32.h"
#include "gp/Text.h"
#include "uia/Clipboard.h"
#include "uia/FileListClipBoardFormat.h"
#include "uia/InternalClipBoardFormat.h"
#include "uia/TextClipBoardFormat.h"

namespace QX::UIA {
namespace {

using Test::CountingUnknown;
using Test::isLiveBlock;

class Clipboard : public Test::OleTest {};
class DataObject : public Test::OleTest {};

FORMATETC formatEtc(UINT id, DWORD tymed = TYMED_HGLOBAL) {
    return {static_cast<CLIPFORMAT>(id), nullptr, DVASPECT_CONTENT, -1, tymed};
}

// The block a data object hands out for the format, without keeping it.
HGLOBAL peekBlock(IDataObject* dataObject, UINT formatId) {
    FORMATETC format = formatEtc(formatId);
    STGMEDIUM medium{};
    if (FAILED(dataObject->GetData(&format, &medium)))
        return nullptr;
    HGLOBAL block = medium.hGlobal;
    ReleaseStgMedium(&medium);
    return block;
}

// Each format goes out through the system's clipboard and comes back whole;
// the text is there for other programs too.
TEST_F(Clipboard, EachFormatRoundTrips) {
    TextClipBoardFormat text;
    text.setText("Firmware 2.1.0 \xE2\x80\x93 \xC3\xBC \xF0\x9F\x8E\xB9");
    ASSERT_TRUE(writeClipboardFormat(text));
    TextClipBoardFormat readText;
    ASSERT_TRUE(readClipboardFormat(readText));
    EXPECT_EQ(readText.getText(), text.getText());
    ASSERT_TRUE(SUCCEEDED(OleFlushClipboard()));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(GP::utf16ToUtf8(static_cast<const char16_t*>(GlobalLock(data))), text.getText());
    GlobalUnlock(data);
    CloseClipboard();

    FileListClipBoardFormat list;
    list.getPaths().emplace_back(std::string_view("C:\\firmware\\image.bin"));
    list.getPaths().emplace_back(std::string_view("C:\\windows"));
    ASSERT_TRUE(writeClipboardFormat(list));
    FileListClipBoardFormat readList;
    ASSERT_TRUE(readClipboardFormat(readList));
    ASSERT_EQ(readList.getPaths().size(), 2u);
    EXPECT_EQ(readList.getPaths()[0].toString(), "C:\\firmware\\image.bin");
    // An existing directory comes back with its trailing backslash.
    EXPECT_EQ(readList.getPaths()[1].toString(), "C:\\windows\\");

    InternalObject object(getInternalTypeIdImpl("clipboard.test.object"));
    int sourceWindow = 0;
    ASSERT_TRUE(writeClipboardFormat(InternalClipBoardFormat(&object, &sourceWindow)));
    InternalClipBoardFormat readInternal;
    ASSERT_TRUE(readClipboardFormat(readInternal));
    EXPECT_EQ(readInternal.getObject(), &object);
    EXPECT_EQ(readInternal.getTypeId(), object.getTypeId());
    EXPECT_EQ(readInternal.getSourceWindowHandle(), &sourceWindow);
}

TEST_F(Clipboard, InternalFormatNameIsUniqueToTheProcess) {
    char name[256]{};
    ASSERT_GT(GetClipboardFormatNameA(getInternalFormatId(), name, sizeof name), 0);
    const std::string text(name);
    EXPECT_EQ(text.rfind("orvandel.application.internalclipboardformat.0x", 0), 0u) << text;
    const std::string processSuffix = "." + std::to_string(GetCurrentProcessId());
    ASSERT_GT(text.size(), processSuffix.size());
    EXPECT_EQ(text.substr(text.size() - processSuffix.size()), processSuffix) << text;
}

TEST_F(Clipboard, MissingFormatLeavesTheFormatUnchanged) {
    TextClipBoardFormat text;
    text.setText("only text");
    ASSERT_TRUE(writeClipboardFormat(text));

    FileListClipBoardFormat list;
    list.getPaths().emplace_back(std::string_view("C:\\kept"));
    EXPECT_FALSE(readClipboardFormat(list));
    ASSERT_EQ(list.getPaths().size(), 1u);
    EXPECT_EQ(list.getPaths()[0].toString(), "C:\\kept");
}

TEST_F(Clipboard, ReplacingTheClipboardFreesOurBlock) {
    TextClipBoardFormat text;
    text.setText("short-lived");
    IDataObject* dataObject = createDirectDataObject(text);
    HGLOBAL block = peekBlock(dataObject, CF_UNICODETEXT);
    ASSERT_NE(block, nullptr);
    ASSERT_TRUE(SUCCEEDED(OleSetClipboard(dataObject)));
    dataObject->Release();
    EXPECT_TRUE(isLiveBlock(block));

    ASSERT_TRUE(SUCCEEDED(OleSetClipboard(nullptr)));
    EXPECT_FALSE(isLiveBlock(block));
}

TEST_F(DataObject, HandsOutItsBlockWithoutGivingItAway) {
    TextClipBoardFormat text;
    text.setText("kept");
    IDataObject* dataObject = createDirectDataObject(text);
    FORMATETC format = formatEtc(CF_UNICODETEXT);
    STGMEDIUM medium{};
    ASSERT_EQ(dataObject->GetData(&format, &medium), S_OK);
    EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    EXPECT_EQ(medium.pUnkForRelease, static_cast<IUnknown*>(dataObject));
    HGLOBAL block = medium.hGlobal;
    ReleaseStgMedium(&medium);
    // The receiver's release dropped a reference, not our block.
    ASSERT_TRUE(isLiveBlock(block));
    TextClipBoardFormat again;
    EXPECT_TRUE(readFormatFromDataObject(dataObject, again));
    EXPECT_EQ(again.getText(), "kept");
    EXPECT_TRUE(isLiveBlock(block));

    EXPECT_EQ(dataObject->Release(), 0u);
    EXPECT_FALSE(isLiveBlock(block));
}

TEST_F(DataObject, QueryGetDataAnswers) {
    TextClipBoardFormat text;
    text.setText("q");
    IDataObject* dataObject = createDirectDataObject(text);

    FORMATETC format = formatEtc(CF_UNICODETEXT);
    EXPECT_EQ(dataObject->QueryGetData(&format), S_OK);
    format.tymed = TYMED_HGLOBAL | TYMED_ISTREAM;
    EXPECT_EQ(dataObject->QueryGetData(&format), S_OK);
    format.tymed = TYMED_ISTREAM;
    EXPECT_EQ(dataObject->QueryGetData(&format), DV_E_TYMED);
    format = formatEtc(CF_HDROP);
    EXPECT_EQ(dataObject->QueryGetData(&format), DV_E_FORMATETC);
    format = formatEtc(CF_UNICODETEXT);
    format.lindex = 0;
    EXPECT_EQ(dataObject->QueryGetData(&format), DV_E_FORMATETC);
    format = formatEtc(CF_UNICODETEXT);
    format.dwAspect = DVASPECT_ICON;
    EXPECT_EQ(dataObject->QueryGetData(&format), DV_E_FORMATETC);
    DVTARGETDEVICE device{};
    format = formatEtc(CF_UNICODETEXT);
    format.ptd = &device;
    EXPECT_EQ(dataObject->QueryGetData(&format), DV_E_DVTARGETDEVICE);

    STGMEDIUM medium{};
    format = formatEtc(CF_HDROP);
    EXPECT_EQ(dataObject->GetData(&format, &medium), DV_E_FORMATETC);
    EXPECT_EQ(dataObject->GetDataHere(&format, &medium), DV_E_FORMATETC);
    dataObject->Release();
}

TEST_F(DataObject, CanonicalFormatAdviseAndEnumeration) {
    TextClipBoardFormat text;
    IDataObject* dataObject = createDirectDataObject(text);
    FORMATETC in = formatEtc(CF_UNICODETEXT);
    FORMATETC out{};
    EXPECT_EQ(dataObject->GetCanonicalFormatEtc(&in, &out), DATA_S_SAMEFORMATETC);
    EXPECT_EQ(out.ptd, nullptr);
    in.lindex = 2;
    EXPECT_EQ(dataObject->GetCanonicalFormatEtc(&in, &out), DV_E_LINDEX);
    EXPECT_EQ(dataObject->GetCanonicalFormatEtc(nullptr, &out), DV_E_FORMATETC);
    DWORD connection = 0;
    EXPECT_EQ(dataObject->DAdvise(&in, 0, nullptr, &connection), OLE_E_ADVISENOTSUPPORTED);
    EXPECT_EQ(dataObject->DUnadvise(0), OLE_E_ADVISENOTSUPPORTED);

    IEnumFORMATETC* enumerator = nullptr;
    EXPECT_EQ(dataObject->EnumFormatEtc(DATADIR_SET, &enumerator), E_NOTIMPL);
    ASSERT_EQ(dataObject->EnumFormatEtc(DATADIR_GET, &enumerator), S_OK);
    FORMATETC listed[2]{};
    ULONG fetched = 0;
    enumerator->Next(2, listed, &fetched);
    ASSERT_EQ(fetched, 1u);
    EXPECT_EQ(listed[0].cfFormat, CF_UNICODETEXT);
    enumerator->Release();
    dataObject->Release();
}

TEST_F(DataObject, SetDataTakesOwnershipOfTheNewMedium) {
    TextClipBoardFormat text;
    IDataObject* dataObject = createDirectDataObject(text);
    const UINT custom = RegisterClipboardFormatW(u"qx.test.custom");
    FORMATETC format = formatEtc(custom);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
    STGMEDIUM medium{TYMED_HGLOBAL, {}, nullptr};
    medium.hGlobal = block;
    EXPECT_EQ(dataObject->SetData(&format, &medium, FALSE), E_NOTIMPL);
    ASSERT_EQ(dataObject->SetData(&format, &medium, TRUE), S_OK);
    EXPECT_EQ(dataObject->QueryGetData(&format), S_OK);
    EXPECT_EQ(peekBlock(dataObject, custom), block);

    // A replacement frees the previous medium.
    HGLOBAL second = GlobalAlloc(GMEM_MOVEABLE, 4);
    medium.hGlobal = second;
    ASSERT_EQ(dataObject->SetData(&format, &medium, TRUE), S_OK);
    EXPECT_FALSE(isLiveBlock(block));

    // A medium released through the object itself must not keep it alive.
    HGLOBAL third = GlobalAlloc(GMEM_MOVEABLE, 4);
    medium.hGlobal = third;
    medium.pUnkForRelease = dataObject;
    dataObject->AddRef();
    ASSERT_EQ(dataObject->SetData(&format, &medium, TRUE), S_OK);
    EXPECT_FALSE(isLiveBlock(second));
    EXPECT_EQ(dataObject->Release(), 0u);
    EXPECT_FALSE(isLiveBlock(third));
}

// Offers one medium of any kind, with a release owner the test watches.
class FixedDataObject : public IDataObject {
public:
    explicit FixedDataObject(STGMEDIUM medium) : medium_(medium) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC*, STGMEDIUM* medium) override {
        *medium = medium_;
        if (medium_.pUnkForRelease)
            medium_.pUnkForRelease->AddRef();
        if (medium_.tymed == TYMED_ISTREAM)
            medium_.pstm->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    STGMEDIUM medium_;
};

TEST_F(DataObject, ReadingReleasesTheMediumThroughItsOwner) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 6);
    auto* units = static_cast<char16_t*>(GlobalLock(block));
    units[0] = u'o';
    units[1] = u'k';
    GlobalUnlock(block);
    CountingUnknown owner;
    STGMEDIUM medium{TYMED_HGLOBAL, {}, &owner};
    medium.hGlobal = block;
    FixedDataObject source(medium);

    TextClipBoardFormat text;
    ASSERT_TRUE(readFormatFromDataObject(&source, text));
    EXPECT_EQ(text.getText(), "ok");
    EXPECT_EQ(owner.count, 1);
    EXPECT_TRUE(isLiveBlock(block));
    GlobalFree(block);
}

TEST_F(DataObject, ReadingRefusesAndReleasesAStream) {
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    STGMEDIUM medium{TYMED_ISTREAM, {}, nullptr};
    medium.pstm = stream;
    FixedDataObject source(medium);

    TextClipBoardFormat text;
    text.setText("unchanged");
    EXPECT_FALSE(readFormatFromDataObject(&source, text));
    EXPECT_EQ(text.getText(), "unchanged");
    // Only our own reference is left.
    EXPECT_EQ(stream->Release(), 0u);
}

// A data object may be released on another thread than the one that made
// it: neither thread's OLE initialisation changes.
TEST(DataObjectThreads, ReleaseOnAnotherThreadLeavesEachThreadsOleAsItWas) {
    HRESULT creatorOleAfter = E_FAIL;
    HRESULT releaserOleAfter = E_FAIL;
    QX::UIA::Test::Win32Thread creator([&] {
        TextClipBoardFormat text;
        text.setText("made on one thread");
        IDataObject* dataObject = createDirectDataObject(text);
        QX::UIA::Test::Win32Thread releaser([&] {
            OleInitialize(nullptr);
            dataObject->Release();
            releaserOleAfter = OleInitialize(nullptr);
            OleUninitialize();
            OleUninitialize();
        });
        releaser.join();
        creatorOleAfter = OleInitialize(nullptr);
        if (SUCCEEDED(creatorOleAfter))
            OleUninitialize();
    });
    creator.join();
    EXPECT_EQ(creatorOleAfter, S_OK);     // nothing left initialised there
    EXPECT_EQ(releaserOleAfter, S_FALSE);  // its own initialisation still stands
}

// The clipboard calls on a thread of their own, which holds no OLE.
bool writeOnNewThread(const ClipBoardFormat& format) {
    bool written = false;
    QX::UIA::Test::Win32Thread writer([&] { written = writeClipboardFormat(format); });
    writer.join();
    return written;
}

bool readOnNewThread(ClipBoardFormat& format) {
    bool read = false;
    QX::UIA::Test::Win32Thread reader([&] { read = readClipboardFormat(format); });
    reader.join();
    return read;
}

// What a thread without OLE writes is there after that thread has ended,
// for the writing process and for others, also once the writer has gone.
// The writes happen in a child process that holds no OLE anywhere else.
TEST(ClipboardWithoutOle, WriteOutlivesTheWritingThreadAndProcess) {
    const std::string text = "written without OLE for process " + std::to_string(GetCurrentProcessId()) +
                             " at " + std::to_string(GetTickCount64());
    const int process = QX::UIA::Test::startTestProgram(
        {}, {"GTEST_FILTER=ClipboardWithoutOleChild.*", "QX_CLIPBOARD_CHILD_TEXT=" + text});
    ASSERT_GE(process, 0);
    int exitCode = -1;
    ASSERT_TRUE(QX::UIA::Test::pumpUntil([&] { return QX::UIA::Test::hasEnded(process, exitCode); }, 60000));
    EXPECT_EQ(exitCode, 0) << "the child's own writes and reads";

    TextClipBoardFormat read;
    ASSERT_TRUE(readOnNewThread(read));
    EXPECT_EQ(read.getText(), text);
}

// The child of the test above.
TEST(ClipboardWithoutOleChild, WritesAndReadsOnThreadsWithoutOle) {
    const char* text = std::getenv("QX_CLIPBOARD_CHILD_TEXT");
    if (text == nullptr)
        GTEST_SKIP() << "runs only as the child of ClipboardWithoutOle";

    FileListClipBoardFormat list;
    list.getPaths().emplace_back(std::string_view("C:\\firmware\\image.bin"));
    ASSERT_TRUE(writeOnNewThread(list));
    FileListClipBoardFormat readList;
    ASSERT_TRUE(readOnNewThread(readList));
    ASSERT_EQ(readList.getPaths().size(), 1u);
    EXPECT_EQ(readList.getPaths()[0].toString(), "C:\\firmware\\image.bin");

    TextClipBoardFormat written;
    written.setText(text);
    ASSERT_TRUE(writeOnNewThread(written));
    TextClipBoardFormat read;
    ASSERT_TRUE(readOnNewThread(read));
    EXPECT_EQ(read.getText(), text);
}

}  // namespace
}  // namespace QX::UIA
