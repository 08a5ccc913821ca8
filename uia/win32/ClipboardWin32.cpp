#include "ClipboardWin32.h"

#include "DirectDataObject.h"
#include "uia/Clipboard.h"

namespace QX::UIA {
namespace {

// OLE for one clipboard call, initialised and uninitialised on the calling
// thread; the program's own initialisation keeps it beyond the call.
class OleForThisCall {
public:
    OleForThisCall() : result_(OleInitialize(nullptr)) {}
    ~OleForThisCall() {
        if (SUCCEEDED(result_))
            OleUninitialize();
    }
    OleForThisCall(const OleForThisCall&) = delete;
    OleForThisCall& operator=(const OleForThisCall&) = delete;

    // Whether the thread held no OLE before: the uninitialisation at the end
    // of the call is then its last one.
    bool endsWithTheCall() const { return result_ == S_OK; }

private:
    HRESULT result_;
};

}  // namespace

IDataObject* createDirectDataObject(const ClipBoardFormat& format) {
    auto* dataObject = new DETAIL::DirectDataObject;
    if (void* block = format.writeToGlobal())
        dataObject->addGlobalBlock(format.getFormatId(), static_cast<HGLOBAL>(block));
    return dataObject;
}

bool readFormatFromDataObject(IDataObject* dataObject, ClipBoardFormat& format) {
    if (!dataObject)
        return false;
    FORMATETC request{static_cast<CLIPFORMAT>(format.getFormatId()), nullptr, DVASPECT_CONTENT, -1,
                      TYMED_HGLOBAL};
    if (dataObject->QueryGetData(&request) != S_OK)
        return false;
    STGMEDIUM medium{};
    if (FAILED(dataObject->GetData(&request, &medium)))
        return false;
    const bool read = medium.tymed == TYMED_HGLOBAL && format.readFromGlobal(medium.hGlobal);
    // Every medium we were handed is ours to release, the refused kinds too.
    ReleaseStgMedium(&medium);
    return read;
}

bool writeClipboardFormat(const ClipBoardFormat& format) {
    const OleForThisCall ole;
    IDataObject* dataObject = createDirectDataObject(format);
    HRESULT result = OleSetClipboard(dataObject);
    dataObject->Release();
    // The thread's last uninitialisation takes our data object off the
    // clipboard: the data must be in the clipboard itself before.
    if (SUCCEEDED(result) && ole.endsWithTheCall())
        result = OleFlushClipboard();
    return SUCCEEDED(result);
}

bool readClipboardFormat(ClipBoardFormat& format) {
    const OleForThisCall ole;
    IDataObject* dataObject = nullptr;
    if (FAILED(OleGetClipboard(&dataObject)) || !dataObject)
        return false;
    const bool read = readFormatFromDataObject(dataObject, format);
    dataObject->Release();
    return read;
}

}  // namespace QX::UIA
