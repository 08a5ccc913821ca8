#include "DropSourceImplWin32.h"

namespace QX::UIA::DETAIL {

DropSourceImplWin32::DropSourceImplWin32(IDragSourceHelper* dragImage)
    : ComObjectWin32(IID_IDropSource), dragImage_(dragImage) {}

DropSourceImplWin32::~DropSourceImplWin32() {
    if (dragImage_)
        dragImage_->Release();
}

HRESULT STDMETHODCALLTYPE DropSourceImplWin32::QueryContinueDrag(BOOL escapePressed, DWORD keyState) {
    if (escapePressed) {
        cancelled_ = true;
        return DRAGDROP_S_CANCEL;
    }
    if ((keyState & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0)
        return DRAGDROP_S_DROP;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DropSourceImplWin32::GiveFeedback(DWORD) { return DRAGDROP_S_USEDEFAULTCURSORS; }

}  // namespace QX::UIA::DETAIL
