#pragma once
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

namespace QX::UIA::DETAIL {

// The drag source of a drag this program runs: drops when every mouse
// button is up, cancels on Escape.
class DropSourceImplWin32 final : public IDropSource {
public:
    // Takes over the reference to the drag-image object (null: no image).
    explicit DropSourceImplWin32(IDragSourceHelper* dragImage);
    DropSourceImplWin32(const DropSourceImplWin32&) = delete;
    DropSourceImplWin32& operator=(const DropSourceImplWin32&) = delete;

    bool wasCancelled() const { return cancelled_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escapePressed, DWORD keyState) override;
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override;

private:
    ~DropSourceImplWin32();

    LONG referenceCount_ = 1;
    IDragSourceHelper* dragImage_;
    bool cancelled_ = false;
};

}  // namespace QX::UIA::DETAIL
