#pragma once
#include <functional>

#include "nwl/core/Widget.h"

namespace QX::NWL {

// A widget that paints and lays out through stored callbacks, handed the
// concrete widget T (which derives from WidgetTemplate<T>). An unset
// callback does nothing.
template <typename T>
class WidgetTemplate : public Widget {
public:
    using tPaintCallback = std::function<void(T& widget, PaintContext& context)>;
    using tLayoutCallback = std::function<void(T& widget)>;

    // Replaces the paint callback and asks for a repaint.
    void setPaintCallback(tPaintCallback callback) {
        paintCallback_ = std::move(callback);
        markDirty();
    }

    // Replaces the layout callback and asks for a new layout.
    void setLayoutCallback(tLayoutCallback callback) {
        layoutCallback_ = std::move(callback);
        invalidate();
    }

    void paint(PaintContext& context) override {
        if (paintCallback_)
            paintCallback_(static_cast<T&>(*this), context);
    }

    void onLayout() override {
        if (layoutCallback_)
            layoutCallback_(static_cast<T&>(*this));
    }

private:
    tPaintCallback paintCallback_;
    tLayoutCallback layoutCallback_;
};

}  // namespace QX::NWL
