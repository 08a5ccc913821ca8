#pragma once
#include <windows.h>
#include <unknwn.h>

namespace QX::UIA::DETAIL {

// The reference counting and interface lookup our COM objects share. An
// object starts with one reference, its maker's, and deletes itself when the
// last one goes.
template <class Interface>
class ComObjectWin32 : public Interface {
public:
    ComObjectWin32(const ComObjectWin32&) = delete;
    ComObjectWin32& operator=(const ComObjectWin32&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, *interfaceId_)) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&referenceCount_); }

    ULONG STDMETHODCALLTYPE Release() override {
        const LONG count = InterlockedDecrement(&referenceCount_);
        if (count == 0)
            delete this;
        return count;
    }

protected:
    explicit ComObjectWin32(const IID& interfaceId) : interfaceId_(&interfaceId) {}
    virtual ~ComObjectWin32() = default;

private:
    const IID* interfaceId_;
    LONG referenceCount_ = 1;
};

}  // namespace QX::UIA::DETAIL
