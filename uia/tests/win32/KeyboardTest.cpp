#include "WindowTestSupport.h"

#include <memory>

#include "uia/KeyCodes.h"
#include "KeyboardWin32.h"

namespace QX::UIA::Test {
namespace {

LPARAM keyParam(UINT scanCode, bool extended = false, bool repeat = false, bool alt = false) {
    LPARAM value = 1 | (LPARAM(scanCode) << 16);
    if (extended) value |= LPARAM(1) << 24;
    if (alt) value |= LPARAM(1) << 29;
    if (repeat) value |= LPARAM(1) << 30;
    return value;
}

class KeyboardTest : public WindowTest {
protected:
    void SetUp() override {
        window = std::make_unique<RecordingWindow>();
        ASSERT_TRUE(window->create(clientOptions(80, 80, 300, 200)));
        hwnd = window->hwnd();
        window->setVisible(true);
        SetForegroundWindow(hwnd);
        SetFocus(hwnd);
        pumpMessages(50);
        window->events.clear();
        window->texts.clear();
    }
    void TearDown() override {
        window.reset();
        pumpMessages(10);
    }
    std::vector<KeyPressEvent> presses() const {
        std::vector<KeyPressEvent> result;
        for (const auto& event : window->eventsWithId(EventId::kKeyPressed)) result.push_back(event.as<KeyPressEvent>());
        return result;
    }
    void sendKeys(std::initializer_list<std::pair<WORD, bool>> keys) {
        std::vector<INPUT> inputs;
        for (const auto& [key, down] : keys) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = key;
            input.ki.wScan = WORD(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
            input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
            inputs.push_back(input);
        }
        SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
        pumpMessages(100);
    }

    std::unique_ptr<RecordingWindow> window;
    HWND hwnd = nullptr;
};

// Real key input through the platform's queue: run alone.
using ScreenKeyboardTest = KeyboardTest;

TEST_F(ScreenKeyboardTest, ShiftAReportsTheModifierThenTheKey) {
    sendKeys({{VK_SHIFT, true}, {'A', true}, {'A', false}, {VK_SHIFT, false}});
    const auto ids = window->ids();
    ASSERT_GE(ids.size(), 3u);
    EXPECT_EQ(ids[0], EventId::kModifiersChanged);
    EXPECT_EQ(window->events[0].as<ModifiersEvent>().modifiers, Key::kShift);
    const auto keys = presses();
    ASSERT_EQ(keys.size(), 1u);  // Shift alone has neither a code nor a key id
    EXPECT_EQ(keys[0].code, Key::kShift | 'A');
    EXPECT_EQ(keys[0].keyId, std::uint32_t('A'));
    EXPECT_EQ(keys[0].firstPress, 1u);
    ASSERT_FALSE(window->texts.empty());
    EXPECT_EQ(window->texts.front(), "A");
    const auto releases = window->eventsWithId(EventId::kKeyReleased);
    ASSERT_FALSE(releases.empty());
    EXPECT_EQ(window->events.back().id, EventId::kModifiersChanged);
    EXPECT_EQ(window->events.back().as<ModifiersEvent>().modifiers, 0u);
}

TEST_F(KeyboardTest, EnterAndKeypadKeys) {
    SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, keyParam(28));
    SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, keyParam(28, true));
    SendMessageW(hwnd, WM_KEYDOWN, VK_NUMPAD7, keyParam(71));
    SendMessageW(hwnd, WM_KEYDOWN, VK_HOME, keyParam(71));
    SendMessageW(hwnd, WM_KEYDOWN, VK_HOME, keyParam(71, true));
    SendMessageW(hwnd, WM_KEYDOWN, VK_F5, keyParam(63, false, true));
    const auto keys = presses();
    ASSERT_EQ(keys.size(), 6u);
    EXPECT_EQ(keys[0].code, Key::kEnter);
    EXPECT_EQ(keys[0].keyId, Key::kEnter);
    EXPECT_EQ(keys[1].code, Key::kKeypad | Key::kEnter);
    EXPECT_EQ(keys[2].code, 0x800037u);
    EXPECT_EQ(keys[2].keyId, 0x800037u);
    EXPECT_EQ(keys[3].code, 0x80000Au);
    EXPECT_EQ(keys[3].keyId, 0x800037u);
    EXPECT_EQ(keys[4].code, Key::kHome);
    EXPECT_EQ(keys[4].keyId, Key::kHome);
    EXPECT_EQ(keys[5].code, Key::kF1 + 4);
    EXPECT_EQ(keys[5].firstPress, 0u);
}

TEST_F(KeyboardTest, KeypadKeyWithAHighScanCodeHasNoKeyId) {
    SendMessageW(hwnd, WM_KEYDOWN, VK_NUMPAD1, keyParam(200));
    const auto keys = presses();
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].code, 0x800031u);
    EXPECT_EQ(keys[0].keyId, Key::kUnknown);
}

TEST_F(KeyboardTest, CharactersOutsideTheBasicPlaneArriveWhole) {
    SendMessageW(hwnd, WM_CHAR, 0xD83D, 0);
    SendMessageW(hwnd, WM_CHAR, 0xDE00, 0);
    SendMessageW(hwnd, WM_CHAR, 0xDE00, 0);  // a lone second half
    SendMessageW(hwnd, WM_CHAR, 0xD83D, 0);  // a lone first half...
    SendMessageW(hwnd, WM_CHAR, u'e', 0);    // ...dropped for the next character
    SendMessageW(hwnd, WM_CHAR, 0xE9, 0);
    SendMessageW(hwnd, WM_CHAR, 0x0D, 0);    // control characters are not text
    EXPECT_EQ(window->texts, (std::vector<std::string>{"\xF0\x9F\x98\x80", "e", "\xC3\xA9"}));
}

TEST_F(KeyboardTest, DeadKeysAreReportedAndGoOnToTheSystem) {
    SendMessageW(hwnd, WM_DEADCHAR, u'^', 0);
    SendMessageW(hwnd, WM_DEADCHAR, 0, 0);
    EXPECT_EQ(window->texts, (std::vector<std::string>{"^"}));
    EXPECT_EQ(window->eventsWithId(EventId::kDeadKey).size(), 1u);
}

TEST_F(ScreenKeyboardTest, AltF4ArrivesWithAltAndClosesWhenNotHandled) {
    sendKeys({{VK_MENU, true}, {VK_F4, true}, {VK_F4, false}, {VK_MENU, false}});
    const auto keys = presses();
    bool sawAltF4 = false;
    for (const auto& key : keys) sawAltF4 = sawAltF4 || key.code == (Key::kAlt | (Key::kF1 + 3));
    EXPECT_TRUE(sawAltF4);
    EXPECT_TRUE(window->received(EventId::kWindowCloseRequest));
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(ScreenKeyboardTest, AltAloneOnlyChangesModifiers) {
    // Alt alone enters the system's menu mode; Escape in the same batch leaves
    // it before the menu loop can hold the test's thread.
    sendKeys({{VK_MENU, true}, {VK_MENU, false}, {VK_ESCAPE, true}, {VK_ESCAPE, false}});
    EXPECT_TRUE(presses().empty());
    const auto changes = window->eventsWithId(EventId::kModifiersChanged);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].as<ModifiersEvent>().modifiers, Key::kAlt);
    EXPECT_EQ(changes[1].as<ModifiersEvent>().modifiers, 0u);
}

TEST_F(KeyboardTest, WindowThatLeavesKeysToTheSystemGetsNoKeyEvents) {
    class SystemKeysWindow : public RecordingWindow {
    public:
        bool leavesKeysToSystem() override { return true; }
    } quiet;
    ASSERT_TRUE(quiet.create(clientOptions(10, 10, 50, 50)));
    SendMessageW(quiet.hwnd(), WM_KEYDOWN, VK_RETURN, keyParam(28));
    SendMessageW(quiet.hwnd(), WM_CHAR, u'x', 0);
    EXPECT_FALSE(quiet.received(EventId::kKeyPressed));
    EXPECT_TRUE(quiet.texts.empty());
}

TEST_F(KeyboardTest, AcceleratorsAnswerOnlyInHostModeOne) {
    ScopedApplication scope;
    RecordingWindow target;
    ASSERT_TRUE(target.create(clientOptions(10, 10, 100, 80)));
    scope.get().getAcceleratorManager()->setAccelerator(Key::kControl | 'S', 1234);
    scope.get().getAcceleratorManager()->setAccelerator(Key::kF1 + 10, std::int32_t(SystemMenuCommand::kZoomWindow));
    target.handler = [](std::uint32_t id, void*) { return id == EventId::kCommand; };
    EXPECT_FALSE(runAccelerator(*target.impl(), Key::kControl | 'S', 0));
    EXPECT_TRUE(runAccelerator(*target.impl(), Key::kControl | 'S', 1));
    ASSERT_EQ(target.eventsWithId(EventId::kCommand).size(), 1u);
    EXPECT_EQ(target.eventsWithId(EventId::kCommand)[0].as<std::uint32_t>(), 1234u);
    EXPECT_FALSE(runAccelerator(*target.impl(), Key::kControl | Key::kCapsLock | 'S', 1));
    EXPECT_TRUE(runAccelerator(*target.impl(), Key::kF1 + 10, 1));
    EXPECT_TRUE(target.impl()->isFullScreen());
    EXPECT_TRUE(runAccelerator(*target.impl(), Key::kF1 + 10, 1));
    EXPECT_FALSE(target.impl()->isFullScreen());
}

TEST(KeyTablesTest, LayoutFillKnowsLettersAndDigits) {
    WindowTest::SetUpTestSuite();
    EXPECT_EQ(getLayoutKeyCode('A'), std::uint32_t('A'));
    EXPECT_EQ(getLayoutKeyCode('7'), std::uint32_t('7'));
    EXPECT_EQ(getLayoutKeyCode(VK_RETURN), Key::kEnter);
    EXPECT_EQ(getLayoutKeyCode(VK_DECIMAL), Key::kKeypad | ',');
}

}  // namespace
}  // namespace QX::UIA::Test
