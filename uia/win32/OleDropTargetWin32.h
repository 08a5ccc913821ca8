#pragma once
#include <windows.h>
#include <ole2.h>
#include <shlobj.h>

#include <memory>

#include "ComObjectWin32.h"
#include "WindowImplWin32.h"
#include "uia/DragDrop.h"

namespace QX::UIA::DETAIL {

// The drop target registered for a window that accepts drops: turns the
// system's drag calls into events 1300, 1301 and 1303 for the window's
// owner and the targets it names.
class OleDropTargetWin32 final : public ComObjectWin32<IDropTarget> {
public:
    explicit OleDropTargetWin32(WindowImpl& window);

    // Takes over a reference to the shell's drop-image object.
    void setDropImage(IDropTargetHelper* dropImage) { dropImage_ = dropImage; }
    bool showDragImage(bool show);
    // Lets go of the drop-image object and the data of a drag in progress.
    void releaseDragResources();

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* dataObject, DWORD keyState, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* dataObject, DWORD keyState, POINTL point,
                                   DWORD* effect) override;

private:
    ~OleDropTargetWin32() override;
    HWND handle() const;
    DragEventData makeRecord(DWORD keyState, POINTL point, DWORD allowedEffects, DragData& drag) const;
    // The drag-over step: asks the owner and answers the effect for the system.
    DWORD handleDrag(IDataObject* dataObject, DWORD keyState, POINTL point, DWORD allowedEffects);

    IDropTargetHelper* dropImage_ = nullptr;
    IDataObject* dataObject_ = nullptr;
    WindowImpl& window_;
};

// Registers an OLE drop target for the window; the registration is revoked
// when the returned object goes. Null when the system refuses.
std::unique_ptr<DropTargetImplWin32> registerOleDropTarget(WindowImplWin32& window);

}  // namespace QX::UIA::DETAIL
