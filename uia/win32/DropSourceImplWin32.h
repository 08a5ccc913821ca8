#pragma once
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include "ComObjectWin32.h"

namespace QX::UIA::DETAIL {

// The drag source of a drag this program runs: drops when every mouse
// button is up, cancels on Escape.
class DropSourceImplWin32 final : public ComObjectWin32<IDropSource> {
public:
    // Takes over the reference to the drag-image object (null: no image).
    explicit DropSourceImplWin32(IDragSourceHelper* dragImage);

    bool wasCancelled() const { return cancelled_; }

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

private:
    ~DropSourceImplWin32() override;

    IDragSourceHelper* dragImage_;
    bool cancelled_ = false;
};

}  // namespace QX::UIA::DETAIL
