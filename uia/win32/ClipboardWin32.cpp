#include "ClipboardWin32.h"

#include "DirectDataObject.h"
#include "uia/Clipboard.h"

namespace QX::UIA {
namespace {

// OLE for one clipboard call, initialised and uninitialised on the calling
// thread; the program's own initialisation keeps it beyond the call.
class OleForThisCall {
public:
    OleForThisCall() : initialized_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleForThisCall() {
        if (initialized_)
            OleUninitialize();
    }
    OleForThisCall(const OleForThisCall&) = delete;
    OleForThisCall& operator=(const OleForThisCall&) = delete;

private:
    bool initialized_;
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
    const HRESULT result = OleSetClipboard(dataObject);
    dataObject->Release();
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
