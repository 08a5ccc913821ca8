#include "OleDropTargetWin32.h"

#include "uia/EventIds.h"
#include "uia/EventTarget.h"
#include "uia/KeyCodes.h"
#include "uia/WindowBase.h"

namespace QX::UIA::DETAIL {
namespace {

std::uint32_t modifiersOf(DWORD keyState) {
    std::uint32_t modifiers = 0;
    if (keyState & MK_SHIFT)
        modifiers |= Key::kShift;
    if (keyState & MK_CONTROL)
        modifiers |= Key::kControl;
    if (keyState & MK_ALT)
        modifiers |= Key::kAlt;
    return modifiers;
}

// Keeps the registration for the window's lifetime.
class OleDropTargetRegistration final : public DropTargetImplWin32 {
public:
    OleDropTargetRegistration(OleDropTargetWin32* target, HWND window) : target_(target), window_(window) {}
    ~OleDropTargetRegistration() override {
        target_->releaseDragResources();
        RevokeDragDrop(window_);
        OleUninitialize();
        target_->Release();
    }
    bool showDragImage(bool show) override { return target_->showDragImage(show); }

private:
    OleDropTargetWin32* target_;
    HWND window_;
};

}  // namespace

OleDropTargetWin32::OleDropTargetWin32(WindowImpl& window)
    : ComObjectWin32(IID_IDropTarget), window_(window) {}

OleDropTargetWin32::~OleDropTargetWin32() { releaseDragResources(); }

HWND OleDropTargetWin32::handle() const { return static_cast<HWND>(window_.getNativeHandle()); }

void OleDropTargetWin32::releaseDragResources() {
    if (dropImage_)
        dropImage_->Release();
    dropImage_ = nullptr;
    if (dataObject_)
        dataObject_->Release();
    dataObject_ = nullptr;
}

bool OleDropTargetWin32::showDragImage(bool show) {
    return dropImage_ && SUCCEEDED(dropImage_->Show(show));
}

DragEventData OleDropTargetWin32::makeRecord(DWORD keyState, POINTL point, DWORD allowedEffects,
                                             DragData& drag) const {
    POINT client{point.x, point.y};
    ScreenToClient(handle(), &client);
    DragEventData record;
    record.x = client.x;
    record.y = client.y;
    record.modifiers = modifiersOf(keyState);
    record.dragData = &drag;
    record.allowedEffects = allowedEffects;
    return record;
}

DWORD OleDropTargetWin32::handleDrag(IDataObject* dataObject, DWORD keyState, POINTL point,
                                     DWORD allowedEffects) {
    DragData drag{dataObject};
    DragEventData record = makeRecord(keyState, point, allowedEffects, drag);
    if (!dispatchDragOver(handle(), record, window_.getOwner()))
        return DROPEFFECT_NONE;
    // The system must never see an effect the source did not allow.
    return record.effect & allowedEffects;
}

HRESULT STDMETHODCALLTYPE OleDropTargetWin32::DragEnter(IDataObject* dataObject, DWORD keyState, POINTL point,
                                                       DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    POINT screen{point.x, point.y};
    if (dropImage_)
        dropImage_->DragEnter(handle(), dataObject, &screen, *effect);
    if (dataObject)
        dataObject->AddRef();
    if (dataObject_)
        dataObject_->Release();
    dataObject_ = dataObject;
    *effect = handleDrag(dataObject_, keyState, point, *effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleDropTargetWin32::DragOver(DWORD keyState, POINTL point, DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    POINT screen{point.x, point.y};
    if (dropImage_)
        dropImage_->DragOver(&screen, *effect);
    *effect = handleDrag(dataObject_, keyState, point, *effect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleDropTargetWin32::DragLeave() {
    if (dropImage_)
        dropImage_->DragLeave();
    if (dataObject_)
        dataObject_->Release();
    dataObject_ = nullptr;
    DragState& state = getDragState();
    EventTarget* previous = state.currentTarget;
    state.currentTarget = nullptr;
    state.currentEffect = DropEffect::kNone;
    DragEventData record;
    sendEventToTargetAndObservers(previous, EventId::kDragLeave, &record);
    state.observers.clear();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleDropTargetWin32::Drop(IDataObject* dataObject, DWORD keyState, POINTL point,
                                                  DWORD* effect) {
    if (!effect)
        return E_INVALIDARG;
    POINT screen{point.x, point.y};
    if (dropImage_)
        dropImage_->Drop(dataObject, &screen, *effect);
    if (dataObject_)
        dataObject_->Release();
    dataObject_ = nullptr;

    DragData drag{dataObject};
    DragEventData record = makeRecord(keyState, point, *effect, drag);
    DragState& state = getDragState();
    EventTarget* target = state.currentTarget;
    const std::uint32_t accepted = state.currentEffect & *effect;
    state.currentTarget = nullptr;
    state.currentEffect = DropEffect::kNone;
    if (target) {
        if (accepted != DropEffect::kNone)
            sendEventToTargetAndObservers(target, EventId::kDrop, &record);
        sendEventToTargetAndObservers(target, EventId::kDragLeave, &record);
    }
    // The observers hear of the end before they are forgotten.
    sendEventToTargetAndObservers(nullptr, EventId::kDragLeave, &record);
    state.observers.clear();
    *effect = target ? accepted : DROPEFFECT_NONE;
    return S_OK;
}

std::unique_ptr<DropTargetImplWin32> registerOleDropTarget(WindowImplWin32& window) {
    HWND handle = window.getHandle();
    if (!handle || FAILED(OleInitialize(nullptr)))
        return nullptr;
    auto* target = new OleDropTargetWin32(window);
    IDropTargetHelper* dropImage = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_DragDropHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IDropTargetHelper,
                                   reinterpret_cast<void**>(&dropImage))))
        target->setDropImage(dropImage);
    if (FAILED(RegisterDragDrop(handle, target))) {
        target->releaseDragResources();
        target->Release();
        OleUninitialize();
        return nullptr;
    }
    return std::make_unique<OleDropTargetRegistration>(target, handle);
}

}  // namespace QX::UIA::DETAIL
