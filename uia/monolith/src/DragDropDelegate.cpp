#include "uia/DragDropDelegate.h"

#include "uia/EventIds.h"
#include "uia/FileListClipBoardFormat.h"
#include "uia/InternalClipBoardFormat.h"
#include "uia/TextClipBoardFormat.h"
#include "uia/WindowBase.h"
#include "uia/WindowImpl.h"

namespace QX::UIA {
namespace {

std::unique_ptr<IDragDropDelegate>& installedDelegate() {
    static std::unique_ptr<IDragDropDelegate> delegate;
    return delegate;
}

IDragDropDelegate& delegateOrNop() {
    static NOPDragDropDelegate nop;
    IDragDropDelegate* installed = installedDelegate().get();
    return installed ? *installed : nop;
}

// The native window a drag starts in; recorded because the window object
// may be gone before the drag's data is looked at.
void* nativeHandleOf(WindowBase* window) {
    if (!window || !window->getImpl())
        return nullptr;
    return window->getImpl()->getNativeHandle();
}

void dragInternal(EventTarget* sourceTarget, InternalObject* object, WindowBase* source,
                  std::uint32_t allowedEffects, const DragImage& image) {
    DETAIL::getDragState().dragSourceTarget = sourceTarget;
    const InternalClipBoardFormat format(object, nativeHandleOf(source));
    doDragDrop(format, allowedEffects, image);
}

}  // namespace

std::unique_ptr<IDragDropDelegate> createWindowingDragDropDelegate() {
    return std::make_unique<WindowingDragDropDelegate>();
}

void setDragDropDelegate(std::unique_ptr<IDragDropDelegate> delegate) {
    if (!delegate)
        delegate = std::make_unique<NOPDragDropDelegate>();
    installedDelegate() = std::move(delegate);
}

IDragDropDelegate* getDragDropDelegate() { return installedDelegate().get(); }

bool hasDragFormat(DragData* drag, std::uint32_t formatId) {
    return delegateOrNop().hasFormat(drag, formatId);
}

bool readDragFormat(DragData* drag, ClipBoardFormat& format) {
    return delegateOrNop().readFormat(drag, format);
}

InternalObject* getAnyInternalDragData(DragData* drag) {
    return delegateOrNop().getAnyInternalData(drag);
}

InternalObject* WindowingDragDropDelegate::getInternalData(DragData* drag, std::uint32_t typeId) {
    InternalClipBoardFormat internal;
    if (!readFormat(drag, internal) || internal.getTypeId() != typeId)
        return nullptr;
    return internal.getObject();
}

bool WindowingDragDropDelegate::hasInternalData(DragData* drag, std::uint32_t typeId) {
    return getInternalData(drag, typeId) != nullptr;
}

void* WindowingDragDropDelegate::getDataObject(DragData* drag) {
    return drag ? drag->dataObject : nullptr;
}

std::optional<std::vector<GP::Path>> WindowingDragDropDelegate::getFileList(DragData* drag) {
    FileListClipBoardFormat list;
    if (!readFormat(drag, list))
        return std::nullopt;
    return std::move(list.getPaths());
}

std::optional<std::string> WindowingDragDropDelegate::getText(DragData* drag) {
    TextClipBoardFormat text;
    if (!readFormat(drag, text))
        return std::nullopt;
    return text.getText();
}

InternalObject* WindowingDragDropDelegate::getAnyInternalData(DragData* drag) {
    InternalClipBoardFormat internal;
    return readFormat(drag, internal) ? internal.getObject() : nullptr;
}

bool WindowingDragDropDelegate::hasText(DragData* drag) { return hasFormat(drag, getTextFormatId()); }

bool WindowingDragDropDelegate::hasFileList(DragData* drag) {
    return hasFormat(drag, getFileListFormatId());
}

std::uint32_t WindowingDragDropDelegate::getInternalTypeId(std::string_view typeName) {
    return getInternalTypeIdImpl(typeName);
}

void WindowingDragDropDelegate::dragText(std::string_view utf8, std::uint32_t allowedEffects) {
    DETAIL::getDragState().dragSourceTarget = nullptr;
    TextClipBoardFormat text;
    text.setText(utf8);
    doDragDrop(text, allowedEffects, DragImage{});
}

void WindowingDragDropDelegate::dragInternalData(InternalObject* object, WindowBase* source,
                                                 std::uint32_t allowedEffects, const DragImage& image) {
    dragInternal(nullptr, object, source, allowedEffects, image);
}

void WindowingDragDropDelegate::dragInternalDataFromSource(EventTarget* sourceTarget, InternalObject* object,
                                                           WindowBase* source, std::uint32_t allowedEffects,
                                                           const DragImage& image) {
    dragInternal(sourceTarget, object, source, allowedEffects, image);
}

std::uint32_t doDragDrop(const ClipBoardFormat& format, std::uint32_t allowedEffects, const DragImage& image) {
    DETAIL::DragState& state = DETAIL::getDragState();
    state.dragInProgress = true;
    std::uint32_t result = DETAIL::runPlatformDrag(format, allowedEffects, image);
    state.dragInProgress = false;
    if (EventTarget* source = state.dragSourceTarget)
        sendEventToTargetAndObservers(source, EventId::kOwnDragEnded, &result);
    state.dragSourceTarget = nullptr;
    state.observers.clear();
    return result;
}

}  // namespace QX::UIA
