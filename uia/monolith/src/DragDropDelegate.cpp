#include "uia/DragDropDelegate.h"

namespace QX::UIA {

namespace {
std::unique_ptr<IDragDropDelegate>& installedDelegate() {
    static std::unique_ptr<IDragDropDelegate> delegate;
    return delegate;
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

}  // namespace QX::UIA
