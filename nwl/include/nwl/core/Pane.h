#pragma once
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "gp/Geometry.h"
#include "gp/Path.h"
#include "gp/Region.h"
#include "nwl/core/Signal.h"
#include "nwl/core/WidgetEvents.h"
#include "nwl/core/WidgetGeometry.h"

namespace QX::UIA {
class WindowBase;
struct MouseButtonEvent;
struct MouseWheelEvent;
}  // namespace QX::UIA

namespace QX::NWL {

class Canvas;
class StyleSheet;
class Widget;

// Shows help for the widget under a resting pointer. Entries are found by
// the widget's help id.
class HelpProvider {
public:
    virtual ~HelpProvider() = default;
    virtual void show(Widget& widget, const std::string& entry) = 0;
    virtual void hide() = 0;

    void setEntry(std::int32_t helpId, std::string entry) { entries_[helpId] = std::move(entry); }
    const std::string* findEntry(std::int32_t helpId) const;

private:
    std::map<std::int32_t, std::string> entries_;
};

// What a pane asks of a file dialog.
struct PaneFileDialogRequest {
    int kind = 0;  // the kinds of UIA::FileDialogRequest
    std::string title;
    GP::Path initialDirectory;
};

// Owns one widget tree and stands between it and whatever shows it: routes
// framework mouse and key events to widgets, keeps the hover, pressed, focus
// and key widgets, runs the update pass (styles, geometry, layout), collects
// the damaged area and counts down widget timers. Every operation that needs
// a native window does nothing here; a windowing pane fills them in.
class Pane {
public:
    // Bits of the dirty word.
    static constexpr std::uint32_t kRepaintBit = 1;
    static constexpr std::uint32_t kLayoutBit = 2;
    static constexpr int kMaxLayoutPasses = 5;
    static constexpr int kTimerIntervalCount = 5;

    // The result of a hit test.
    struct tHit {
        Widget* widget = nullptr;
        bool overlay = false;
        // The widget took the hit through capturesPoint (or capturesDropPoint).
        bool captured = false;
    };

    using tMouseFilter = std::function<bool(Widget* underPointer, std::uint32_t eventId, const void* event)>;
    using tHoverCallback = std::function<void(Widget* hover)>;
    using tFileDialogCompletion = std::function<void(const GP::Path& chosen)>;

    Pane();
    virtual ~Pane();
    Pane(const Pane&) = delete;
    Pane& operator=(const Pane&) = delete;

    // --- the tree
    Size getSize() const { return size_; }
    void setSize(Size size);
    void setSize(std::int32_t width, std::int32_t height) { setSize(Size{width, height}); }
    Widget* getRootWidget() const { return root_.get(); }
    void setRootWidget(std::shared_ptr<Widget> root, std::string_view name = {});
    const std::vector<std::shared_ptr<Widget>>& getOverlayWidgets() const { return overlays_; }
    // Emitted with true when the first overlay comes and false when the last goes.
    Signal<bool>& getOverlaySignal() { return overlaySignal_; }
    // Clears every role the widget has in this pane; called when it leaves.
    void forgetWidget(Widget* widget);

    // The style sheet of this pane's widgets; null uses the library's current one.
    const std::shared_ptr<StyleSheet>& getStyleSheet() const { return styleSheet_; }
    void setStyleSheet(std::shared_ptr<StyleSheet> sheet) { styleSheet_ = std::move(sheet); }

    // --- dirty word and passes
    std::atomic<std::uint32_t>& getDirtyWord() { return dirty_; }
    void markDirtyBits(std::uint32_t bits) { dirty_.fetch_or(bits); }
    // Runs layout passes while layout is asked for, at most five; answers the
    // bits taken (bit 0: repaint).
    std::uint32_t runLayoutPasses(const GP::Rect& clip, GP::Region& damage);
    // Lays the tree out and collects everything to repaint, within the pane.
    void getDirtyRegion(GP::Region& out);
    void collectInvalidRegion(Widget& widget, GP::Region& out);
    // Paints the tree onto the canvas for the region (empty: everything).
    // mode 1 the tree, 2 the overlays, 3 both.
    void render(Canvas& canvas, const GP::Region& region, int mode);
    float getScale() const { return scale_; }
    void setScale(float scale) { scale_ = scale; }

    // --- input
    tHit widgetAt(std::uint32_t eventId, GP::Point point) const;
    GP::Point getPointerPosition() const { return pointer_; }
    void setPointerPosition(GP::Point point) { pointer_ = point; }
    // Ids 1000-1006 with their framework records.
    void handleMouseEvent(std::uint32_t id, const void* event);
    void handleButtonPress(const UIA::MouseButtonEvent& event, Widget* underPointer);

    Widget* getHoverWidget() const { return hover_; }
    Widget* getEnteredWidget() const { return entered_; }
    Widget* getPressedWidget() const { return pressed_; }
    Widget* getFocusWidget() const { return focus_; }
    Widget* getPreviousFocusWidget() const { return previousFocus_; }
    Widget* getKeyWidget() const { return key_; }
    bool isButtonDown(std::uint32_t button) const;
    bool hasDoubleClicked() const { return doubleClicked_; }
    void setHoverWidget(Widget* widget);
    void setPressedWidget(Widget* widget);
    void setFocusWidget(Widget* widget);
    void setKeyWidget(Widget* widget);
    // Clears the focus widget without asking the window.
    void clearFocusWidget();
    bool getKeyFallback() const { return keyFallback_; }
    void setKeyFallback(bool on) { keyFallback_ = on; }

    void setMouseFilter(tMouseFilter filter, Widget* owner);
    void setHoverCallback(tHoverCallback callback) { hoverCallback_ = std::move(callback); }
    void setHelpProvider(HelpProvider* provider) { helpProvider_ = provider; }
    void showHelp(Widget* widget, std::int32_t x, std::int32_t y);

    // --- widget timers (in ticks of the window's timer)
    // The tick counts handed out for the five standard intervals; 0 for any
    // other index.
    std::int32_t getTimerInterval(int index) const;
    void startWidgetTimer(Widget* widget, std::int32_t ticks);
    void stopWidgetTimer(Widget* widget);
    // The remaining ticks of a widget (0 when it has no running timer).
    std::int32_t getWidgetTimerCount(const Widget* widget) const;
    void dispatchTimers();

    // --- operations of the window that shows the pane
    virtual GP::Rect getRect() const;
    virtual void invalidate();
    virtual void setCursor(void* cursorHandle) {}
    virtual void setCursorShape(std::int32_t shape) {}
    virtual void setCursorPosition(GP::Point point) {}
    virtual void resetCursor() {}
    virtual GP::Point mapToScreen(GP::Point point) const { return point; }
    virtual GP::Point mapToClient(GP::Point point) const { return point; }
    virtual void updateLayout();
    virtual UIA::WindowBase* getWindow() const { return nullptr; }
    virtual void captureMouse() {}
    virtual void releaseMouse() {}
    virtual std::string getClipboardText() { return {}; }
    virtual void setClipboardText(std::string_view utf8) {}
    virtual void setWindowUserData(void* value) {}
    virtual void clearWindowUserData() {}
    virtual void notifyWindow() {}
    // The base pane has no dialog: the completion is dropped unanswered.
    virtual void showFileDialog(const PaneFileDialogRequest& request, tFileDialogCompletion completion) {}
    virtual void addWidget(std::shared_ptr<Widget> widget);
    virtual void removeWidget(Widget* widget);
    virtual bool dispatchKeyEvent(std::uint32_t id, const WidgetKeyEvent& event);
    // Mouse ids 1000-1099 and key ids 1100-1199 with their framework records.
    virtual bool handleEvent(std::uint32_t id, void* data);
    virtual void updateGlobalInputFlag(bool hasKeyWidget) {}
    virtual void focusWindow() {}
    virtual void clearKeyFallbackWidget() {}

    // Every pane that exists, in order of construction.
    static const std::vector<Pane*>& getLivePanes();

    // The overlays that are not part of the tree: the passes walk them
    // besides the root.
    std::vector<std::shared_ptr<Widget>> overlaysOwnedDirectly() const;

private:
    bool ownsOverlayDirectly(const Widget& widget) const;
    // Takes the widget off the overlay list, nothing more.
    void dropOverlay(Widget* widget);
    static void clearPaneSilently(Widget& top);
    void takeOverlaysOutOfParents();
    void updateHover(Widget* underPointer);
    void handleRelease(const UIA::MouseButtonEvent& event, Widget* underPointer);
    void handleCapturedMove(std::uint32_t modifiers, Widget* underPointer);
    void handleMove(std::uint32_t modifiers, Widget* underPointer);
    void handleWheel(const UIA::MouseWheelEvent& event, Widget* underPointer);
    void handleCaptureLoss();
    void sendMouse(Widget* widget, std::uint32_t id, const WidgetMouseEvent& event);
    WidgetMouseEvent relativeEvent(const Widget& widget, std::uint32_t modifiers, std::uint32_t button,
                                   std::uint32_t kind) const;
    int firstHeldButton() const;
    void clearButtons();

    Size size_;
    std::shared_ptr<Widget> root_;
    std::vector<std::shared_ptr<Widget>> overlays_;
    Widget* hover_ = nullptr;
    Widget* entered_ = nullptr;
    Widget* pressed_ = nullptr;
    bool doubleClicked_ = false;
    Widget* focus_ = nullptr;
    Widget* previousFocus_ = nullptr;
    Widget* key_ = nullptr;
    bool keyFallback_ = true;
    std::atomic<std::uint32_t> dirty_{0};
    std::array<std::uint8_t, WidgetMouseId::kButtonCount> buttonsDown_{};
    GP::Point pointer_;
    std::map<Widget*, std::int32_t> timers_;
    std::int32_t dispatchDepth_ = 0;
    tMouseFilter mouseFilter_;
    Widget* filterOwner_ = nullptr;
    tHoverCallback hoverCallback_;
    HelpProvider* helpProvider_ = nullptr;
    Signal<bool> overlaySignal_;
    float scale_ = 1.0f;
    std::array<std::int32_t, kTimerIntervalCount> timerIntervals_{5, 1, 5, 10, 5};
    std::shared_ptr<StyleSheet> styleSheet_;
};

}  // namespace QX::NWL
