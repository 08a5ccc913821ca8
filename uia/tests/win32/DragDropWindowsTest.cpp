#include "WindowTestSupport.h"

#include <ole2.h>

#include <optional>

#include "InputScript.h"
#include "uia/DragDropDelegate.h"
#include "uia/InternalClipBoardFormat.h"
#include "uia/TextClipBoardFormat.h"
#include "uia/picture/Picture.h"

namespace QX::UIA {
namespace {

using Test::InputScript;
using Test::RecordingWindow;

// A widget-like receiver of drag events.
class LoggingTarget : public EventTarget {
public:
    std::vector<std::uint32_t> events;
    std::vector<std::uint32_t> notifications;
    std::optional<std::uint32_t> ownDragResult;
    std::string droppedText;

protected:
    bool onEvent(std::uint32_t id, void* data) override {
        events.push_back(id);
        if (id == EventId::kOwnDragEnded)
            ownDragResult = *static_cast<std::uint32_t*>(data);
        if (id == EventId::kDrop)
            droppedText = getDragDropDelegate()->getText(static_cast<DragEventData*>(data)->dragData).value_or("");
        return true;
    }
    void onNotification(std::uint32_t id, void*) override { notifications.push_back(id); }
};

constexpr std::uint32_t kCopyOrMove = DropEffect::kCopy | DropEffect::kMove;

class DragDropWindows : public QX::UIA::Test::WindowTest {
public:
    // Destroying a shown window takes Wine seconds without a window
    // manager: the two windows serve the whole suite.
    static void SetUpTestSuite() {
        WindowTest::SetUpTestSuite();
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        setDragDropDelegate(createWindowingDragDropDelegate());
        source = makeWindow(60, 80).release();
        target = makeWindow(420, 80).release();
    }

    static void TearDownTestSuite() {
        delete source;
        delete target;
        source = target = nullptr;
        QX::UIA::Test::pumpMessages(50);
        setDragDropDelegate(nullptr);
        OleUninitialize();
    }

protected:
    void SetUp() override {
        ASSERT_TRUE(source && target);
        // The target window's owner hands the drag to the widget under the
        // cursor: left or right half.
        target->handler = [this](std::uint32_t id, void* data) {
            if (id != EventId::kDragOver)
                return false;
            auto& record = *static_cast<DragEventData*>(data);
            ++targetDragOvers;
            lastAllowed = record.allowedEffects;
            record.target = record.x < 120 ? &left : &right;
            record.effect = targetEffect;
            record.observers = {&observer};
            return true;
        };
        SetForegroundWindow(source->hwnd());
        QX::UIA::Test::pumpMessages(100);
    }

    void TearDown() override {
        source->handler = nullptr;
        target->handler = nullptr;
        QX::UIA::Test::pumpMessages(50);
    }

    static std::unique_ptr<RecordingWindow> makeWindow(int x, int y) {
        auto window = std::make_unique<RecordingWindow>();
        if (!window->create(clientOptions(x, y, 240, 160, WindowOptions::kAcceptDrops)))
            return nullptr;
        window->setVisible(true);
        return window;
    }

    static POINT screenPoint(RecordingWindow& window, int x, int y) {
        POINT point{x, y};
        ClientToScreen(window.hwnd(), &point);
        return point;
    }

    // Presses in the source window, starts `drag` and lets the script play
    // the rest of the gesture.
    template <typename Drag>
    void runDrag(InputScript& script, Drag drag) {
        const POINT start = screenPoint(*source, 120, 80);
        InputScript::pressLeftAt(start.x, start.y);
        script.start();
        drag();
        script.join();
        QX::UIA::Test::pumpMessages(50);
    }

    InputScript scriptFromSource() {
        InputScript script;
        const POINT start = screenPoint(*source, 120, 80);
        script.moveTo(start.x + 5, start.y + 5);
        return script;
    }

    void dragObject(InputScript& script, WindowBase* sourceWindow, std::uint32_t allowed = kCopyOrMove) {
        runDrag(script, [&] {
            getDragDropDelegate()->dragInternalDataFromSource(&sourceTarget, &object, sourceWindow, allowed,
                                                              DragImage{});
        });
    }

    static RecordingWindow* source;
    static RecordingWindow* target;
    LoggingTarget left;
    LoggingTarget right;
    LoggingTarget observer;
    LoggingTarget sourceTarget;
    InternalObject object{getInternalTypeIdImpl("drag.test.object")};
    std::uint32_t targetEffect = DropEffect::kCopy;
    std::uint32_t lastAllowed = 0;
    int targetDragOvers = 0;
};

RecordingWindow* DragDropWindows::source = nullptr;
RecordingWindow* DragDropWindows::target = nullptr;

TEST_F(DragDropWindows, TextDroppedOnTheAcceptingWidget) {
    InputScript script = scriptFromSource();
    const POINT drop = screenPoint(*target, 180, 80);
    script.glideTo(drop.x, drop.y).releaseLeft();
    runDrag(script, [] { getDragDropDelegate()->dragText("dragged text", DropEffect::kCopy); });

    EXPECT_GT(targetDragOvers, 0);
    EXPECT_EQ(lastAllowed, DropEffect::kCopy);
    EXPECT_EQ(right.events, (std::vector<std::uint32_t>{EventId::kDrop, EventId::kDragLeave}));
    EXPECT_EQ(right.droppedText, "dragged text");
    // The observers heard the drop and the end before they were forgotten.
    ASSERT_FALSE(observer.notifications.empty());
    EXPECT_EQ(observer.notifications.back(), EventId::kDragLeave);
    EXPECT_NE(std::find(observer.notifications.begin(), observer.notifications.end(), EventId::kDrop),
              observer.notifications.end());
    EXPECT_TRUE(DETAIL::getDragState().observers.empty());
    EXPECT_EQ(DETAIL::getDragState().currentTarget, nullptr);
}

TEST_F(DragDropWindows, TargetChangesWithinTheWindow) {
    InputScript script = scriptFromSource();
    const POINT first = screenPoint(*target, 40, 80);
    const POINT second = screenPoint(*target, 200, 80);
    script.glideTo(first.x, first.y).glideTo(second.x, second.y).releaseLeft();
    dragObject(script, nullptr);

    EXPECT_EQ(left.events, (std::vector<std::uint32_t>{EventId::kDragLeave}));
    EXPECT_EQ(right.events, (std::vector<std::uint32_t>{EventId::kDrop, EventId::kDragLeave}));
    EXPECT_EQ(sourceTarget.ownDragResult, DropEffect::kCopy);
}

TEST_F(DragDropWindows, LeavingTheWindowAndDroppingOverNothing) {
    InputScript script = scriptFromSource();
    const POINT over = screenPoint(*target, 200, 80);
    script.glideTo(over.x, over.y).glideTo(900, 700).releaseLeft();
    dragObject(script, nullptr);

    EXPECT_EQ(right.events, (std::vector<std::uint32_t>{EventId::kDragLeave}));
    EXPECT_EQ(sourceTarget.ownDragResult, DropEffect::kNothingDropped);
    EXPECT_EQ(sourceTarget.events, (std::vector<std::uint32_t>{EventId::kOwnDragEnded}));
    EXPECT_EQ(DETAIL::getDragState().dragSourceTarget, nullptr);
    EXPECT_FALSE(DETAIL::getDragState().dragInProgress);
}

TEST_F(DragDropWindows, EscapeCancels) {
    InputScript script = scriptFromSource();
    const POINT over = screenPoint(*target, 200, 80);
    script.glideTo(over.x, over.y).pressKey(VK_ESCAPE).releaseLeft();
    dragObject(script, nullptr);

    EXPECT_EQ(sourceTarget.ownDragResult, DropEffect::kCancelled);
    EXPECT_EQ(std::count(right.events.begin(), right.events.end(), EventId::kDrop), 0);
    ASSERT_FALSE(right.events.empty());
    EXPECT_EQ(right.events.back(), EventId::kDragLeave);
}

TEST_F(DragDropWindows, EffectIsLimitedToWhatTheSourceAllows) {
    targetEffect = DropEffect::kMove;
    InputScript script = scriptFromSource();
    const POINT over = screenPoint(*target, 200, 80);
    script.glideTo(over.x, over.y).releaseLeft();
    dragObject(script, nullptr, DropEffect::kCopy);

    EXPECT_EQ(std::count(right.events.begin(), right.events.end(), EventId::kDrop), 0);
    EXPECT_EQ(sourceTarget.ownDragResult, DropEffect::kNothingDropped);
}

TEST_F(DragDropWindows, InternalObjectIsRefusedInAnotherWindow) {
    InputScript script = scriptFromSource();
    const POINT over = screenPoint(*target, 200, 80);
    script.glideTo(over.x, over.y).releaseLeft();
    dragObject(script, source);

    EXPECT_EQ(targetDragOvers, 0);
    EXPECT_TRUE(right.events.empty());
    EXPECT_EQ(sourceTarget.ownDragResult, DropEffect::kNothingDropped);
}

TEST_F(DragDropWindows, InternalObjectIsOfferedInItsOwnWindow) {
    InternalObject* seen = nullptr;
    source->handler = [&](std::uint32_t id, void* data) {
        if (id != EventId::kDragOver)
            return false;
        auto& record = *static_cast<DragEventData*>(data);
        seen = getDragDropDelegate()->getInternalData(record.dragData, object.getTypeId());
        record.target = &left;
        record.effect = DropEffect::kMove;
        return true;
    };
    InputScript script = scriptFromSource();
    const POINT over = screenPoint(*source, 40, 40);
    script.glideTo(over.x, over.y).releaseLeft();
    dragObject(script, source);

    EXPECT_EQ(seen, &object);
    EXPECT_EQ(left.events, (std::vector<std::uint32_t>{EventId::kDrop, EventId::kDragLeave}));
    EXPECT_EQ(sourceTarget.ownDragResult, DropEffect::kMove);
}

TEST_F(DragDropWindows, DragWithAnImage) {
    Picture picture;
    ASSERT_TRUE(picture.resize(16, 16, true));
    for (std::uint32_t y = 0; y < 16; ++y)
        for (std::uint32_t x = 0; x < 16; ++x)
            picture.getRow(y)[x] = 0x80FF0000;
    picture.setOption(true);
    InputScript script = scriptFromSource();
    const POINT over = screenPoint(*target, 200, 80);
    script.glideTo(over.x, over.y).releaseLeft();
    runDrag(script, [&] {
        getDragDropDelegate()->dragInternalDataFromSource(&sourceTarget, &object, nullptr, kCopyOrMove,
                                                          DragImage{&picture, GP::Point{8, 8}});
    });
    EXPECT_EQ(sourceTarget.ownDragResult, DropEffect::kCopy);
}

struct tFreshThreadDrag {
    std::uint32_t result = 0;
    HRESULT oleAfterDrag = E_FAIL;
};

// A thread whose OLE is initialised exactly once: after the drag, that one
// initialisation must still stand.
DWORD WINAPI dragOnFreshThread(void* data) {
    auto& outcome = *static_cast<tFreshThreadDrag*>(data);
    OleInitialize(nullptr);
    TextClipBoardFormat text;
    text.setText("nothing holds a button");
    outcome.result = doDragDrop(text, DropEffect::kCopy, DragImage{});
    outcome.oleAfterDrag = OleInitialize(nullptr);
    OleUninitialize();
    OleUninitialize();
    return 0;
}

TEST(DragLoop, BalancesItsOleInitialisation) {
    tFreshThreadDrag outcome;
    HANDLE thread = CreateThread(nullptr, 0, dragOnFreshThread, &outcome, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 20000), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_EQ(outcome.result, DropEffect::kNothingDropped);
    EXPECT_EQ(outcome.oleAfterDrag, S_FALSE);
}

// Only ever handed to the system to see whether a window is registered.
class UnusedDropTarget : public IDropTarget {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE DragLeave() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Drop(IDataObject*, DWORD, POINTL, DWORD* effect) override {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
};

TEST_F(DragDropWindows, OnlyWindowsThatAcceptDropsAreRegistered) {
    UnusedDropTarget probe;
    EXPECT_EQ(RegisterDragDrop(target->hwnd(), &probe), DRAGDROP_E_ALREADYREGISTERED);

    RecordingWindow plain;
    ASSERT_TRUE(plain.create(clientOptions(10, 10, 50, 50, 0)));
    EXPECT_EQ(RegisterDragDrop(plain.hwnd(), &probe), S_OK);
    EXPECT_EQ(RevokeDragDrop(plain.hwnd()), S_OK);
}

}  // namespace
}  // namespace QX::UIA
