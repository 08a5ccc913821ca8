#include <windows.h>

#include <string>

#include "gp/Text.h"
#include "uia/AcceleratorManager.h"
#include "uia/Application.h"
#include "uia/WindowBase.h"
#include "KeyboardWin32.h"
#include "WindowImplWin32.h"
#include "WindowProcedureWin32.h"

namespace QX::UIA {
namespace {

using DETAIL::WindowImplWin32;

Key::KeyTable gKeyCodes;
Key::KeyTable gFixedKeyCodes;
bool gKeyTablesBuilt = false;

Key::KeyTable buildFixedKeyCodes() {
    Key::KeyTable table;
    table.fill(Key::kUnknown);
    table[VK_ESCAPE] = Key::kEscape;
    table[VK_BACK] = Key::kBackspace;
    table[VK_TAB] = Key::kTab;
    table[VK_RETURN] = Key::kEnter;
    table[VK_INSERT] = Key::kInsert;
    table[VK_DELETE] = Key::kDelete;
    table[VK_HOME] = Key::kHome;
    table[VK_END] = Key::kEnd;
    table[VK_PRIOR] = Key::kPageUp;
    table[VK_NEXT] = Key::kPageDown;
    table[VK_UP] = Key::kUp;
    table[VK_DOWN] = Key::kDown;
    table[VK_LEFT] = Key::kLeft;
    table[VK_RIGHT] = Key::kRight;
    table[VK_NUMLOCK] = Key::kNumLock;
    for (int digit = 0; digit < 10; ++digit) table[VK_NUMPAD0 + digit] = Key::kKeypad | ('0' + digit);
    table[VK_MULTIPLY] = Key::kKeypad | '*';
    table[VK_ADD] = Key::kKeypad | '+';
    table[VK_SUBTRACT] = Key::kKeypad | '-';
    table[VK_DECIMAL] = Key::kKeypad | ',';
    table[VK_DIVIDE] = Key::kKeypad | '/';
    for (int index = 0; index < 12; ++index) table[VK_F1 + index] = Key::kF1 + index;
    return table;
}

// The upper-cased last character that the layout gives for a key, or 0.
std::uint32_t characterOf(UINT virtualKey, UINT scanCode) {
    BYTE keyState[256] = {};
    WCHAR buffer[10] = {};
    const int count = ToUnicode(virtualKey, scanCode, keyState, buffer, 10, 0);
    if (count == 0) return 0;
    WCHAR character[2] = {buffer[(count < 0 ? 1 : count) - 1], 0};
    CharUpperW(character);
    return character[0];
}

bool isKeypadKey(UINT virtualKey, LPARAM lParam) {
    const bool extended = (lParam & (1 << 24)) != 0;
    switch (virtualKey) {
    case VK_RETURN: return extended;
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME: case VK_LEFT: case VK_UP:
    case VK_RIGHT: case VK_DOWN: case VK_INSERT: case VK_DELETE:
        return !extended;
    default: return virtualKey >= VK_NUMPAD0 && virtualKey <= VK_DIVIDE;
    }
}

bool hasAltContext(LPARAM lParam) { return (lParam & (1 << 29)) != 0; }

bool sendKeyEvent(WindowImplWin32& impl, std::uint32_t event, void* data) {
    return impl.sendEvent(event, data, true);
}

bool reportKeyReleased(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    KeyReleaseEvent event;
    event.code = translateKey(UINT(wParam), lParam, event.keyId, true);
    const bool known = (event.code & 0xFFFF) != 0 || event.keyId != Key::kUnknown;
    return known && sendKeyEvent(impl, EventId::kKeyReleased, &event);
}

LRESULT handleKeyDown(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    reportModifierChange(impl);
    if (reportKeyPressed(impl, wParam, lParam)) return 0;
    return defaultAnswer(impl, WM_KEYDOWN, wParam, lParam);
}

bool isSystemKeyForUs(WPARAM wParam, LPARAM lParam) {
    return wParam == VK_F10 || (hasAltContext(lParam) && wParam != VK_MENU);
}

LRESULT handleSysKeyDown(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    reportModifierChange(impl);
    if (isSystemKeyForUs(wParam, lParam) && reportKeyPressed(impl, wParam, lParam)) return 0;
    return defaultAnswer(impl, WM_SYSKEYDOWN, wParam, lParam);
}

LRESULT handleKeyUp(WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool ours = message != WM_SYSKEYUP || isSystemKeyForUs(wParam, lParam);
    const bool handled = ours && reportKeyReleased(impl, wParam, lParam);
    reportModifierChange(impl);
    return handledOrDefault(handled, impl, message, wParam, lParam);
}

bool sendText(WindowImplWin32& impl, std::uint32_t event, std::u16string_view units) {
    const std::string text = GP::utf16ToUtf8(units);
    return impl.sendEvent(event, const_cast<char*>(text.c_str()), true);
}

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// A character outside the basic plane arrives in two halves: keep the first
// until the second comes, and drop halves that come alone.
LRESULT handleChar(WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto unit = char16_t(wParam);
    const char16_t pendingHigh = impl.getPendingHighSurrogate();
    impl.setPendingHighSurrogate(0);
    if (isHighSurrogate(unit)) {
        impl.setPendingHighSurrogate(unit);
        return 0;
    }
    if (isLowSurrogate(unit)) {
        if (pendingHigh == 0) return 0;
        const char16_t pair[2] = {pendingHigh, unit};
        return handledOrDefault(sendText(impl, EventId::kTextTyped, std::u16string_view(pair, 2)), impl,
                                message, wParam, lParam);
    }
    if (unit >= 0x20 && sendText(impl, EventId::kTextTyped, std::u16string_view(&unit, 1))) return 0;
    return defaultAnswer(impl, message, wParam, lParam);
}

LRESULT handleDeadChar(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    const auto unit = char16_t(wParam);
    if (unit != 0) sendText(impl, EventId::kDeadKey, std::u16string_view(&unit, 1));
    return defaultAnswer(impl, WM_DEADCHAR, wParam, lParam);
}

bool isKeyMessage(UINT message) {
    return message != WM_SETFOCUS && message != WM_KILLFOCUS && message != WM_INPUTLANGCHANGE;
}

}  // namespace

bool buildKeyTables() {
    if (gKeyTablesBuilt) return true;
    Key::getScanCodeTable();
    gFixedKeyCodes = buildFixedKeyCodes();
    fillLayoutKeyCodes();
    gKeyTablesBuilt = true;
    return true;
}

void fillLayoutKeyCodes() {
    if (gFixedKeyCodes[VK_ESCAPE] != Key::kEscape) gFixedKeyCodes = buildFixedKeyCodes();
    gKeyCodes = gFixedKeyCodes;
    for (UINT virtualKey = 0; virtualKey < 256; ++virtualKey) {
        if (gKeyCodes[virtualKey] != Key::kUnknown) continue;
        if (const std::uint32_t character = characterOf(virtualKey, MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC)))
            gKeyCodes[virtualKey] = character;
    }
    // Clear any dead-key state that the questions above left in the layout.
    characterOf(VK_SPACE, 57);
    characterOf(VK_SPACE, 57);
}

std::uint32_t getLayoutKeyCode(UINT virtualKey) { return virtualKey < 256 ? gKeyCodes[virtualKey] : Key::kUnknown; }

std::uint32_t getModifiers() {
    auto down = [](int key) { return (GetKeyState(key) & 0x8000) != 0; };
    // A host that swallows Alt's messages still lets the key's real state show.
    const bool alt = down(VK_MENU) || (getHostMode() == 8 && (GetAsyncKeyState(VK_MENU) & 0x8000) != 0);
    return Key::combineModifiers(down(VK_SHIFT), down(VK_CONTROL), alt, (GetKeyState(VK_CAPITAL) & 1) != 0,
                                 down(VK_LWIN) || down(VK_RWIN));
}

bool runAccelerator(WindowImplWin32& impl, std::uint32_t keyCode, std::uint32_t hostMode) {
    Application* application = Application::getInstance();
    if (hostMode != 1 || application == nullptr || application->getAcceleratorManager() == nullptr) return false;
    const std::int32_t command = application->getAcceleratorManager()->findCommand(keyCode);
    if (command < 1) return false;
    if (std::uint32_t(command) == SystemMenuCommand::kZoomWindow) {
        if (!impl.isNormal()) return false;
        if (impl.isFullScreen()) impl.leaveFullScreen();
        else impl.enterFullScreen();
        return true;
    }
    std::uint32_t number = std::uint32_t(command);
    return impl.sendEvent(EventId::kCommand, &number, true);
}

std::uint32_t translateKey(UINT virtualKey, LPARAM lParam, std::uint32_t& keyId, bool useTable) {
    const UINT scanCode = (lParam >> 16) & 0xFF;
    std::uint32_t character = virtualKey < 256 ? gKeyCodes[virtualKey] : Key::kUnknown;
    if (character == Key::kUnknown) {
        character = characterOf(virtualKey, scanCode);
        if (useTable && virtualKey < 256) gKeyCodes[virtualKey] = character;
    }
    const bool keypad = isKeypadKey(virtualKey, lParam);
    keyId = Key::keyIdForScanCode(scanCode, keypad);
    return getModifiers() | character | (keypad ? Key::kKeypad : 0);
}

bool reportModifierChange(WindowImplWin32& impl) {
    const std::uint32_t modifiers = getModifiers();
    if (modifiers == impl.getLastModifiers()) return false;
    impl.setLastModifiers(modifiers);
    ModifiersEvent event{modifiers, 0};
    return sendKeyEvent(impl, EventId::kModifiersChanged, &event);
}

bool reportKeyPressed(WindowImplWin32& impl, WPARAM wParam, LPARAM lParam) {
    KeyPressEvent event;
    event.code = translateKey(UINT(wParam), lParam, event.keyId, false);
    if ((event.code & 0xFFFF) == 0 && event.keyId == Key::kUnknown) return false;
    if (runAccelerator(impl, event.code, getHostMode())) return true;
    event.firstPress = (lParam & (1 << 30)) ? 0 : 1;
    return sendKeyEvent(impl, EventId::kKeyPressed, &event);
}

LRESULT handleKeyboardMessage(WindowImplWin32& impl, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS:
        impl.sendEvent(EventId::kWindowFocusGained, nullptr);
        return defaultAnswer(impl, message, wParam, lParam);
    case WM_KILLFOCUS:
        impl.sendEvent(EventId::kWindowFocusLost, nullptr);
        return defaultAnswer(impl, message, wParam, lParam);
    case WM_INPUTLANGCHANGE:
        fillLayoutKeyCodes();
        return defaultAnswer(impl, message, wParam, lParam);
    default: break;
    }
    if (isKeyMessage(message) && impl.getOwner() != nullptr && impl.getOwner()->leavesKeysToSystem())
        return defaultAnswer(impl, message, wParam, lParam);
    switch (message) {
    case WM_KEYDOWN:
    case WM_IME_KEYDOWN: return handleKeyDown(impl, wParam, lParam);
    case WM_SYSKEYDOWN: return handleSysKeyDown(impl, wParam, lParam);
    case WM_KEYUP:
    case WM_IME_KEYUP: return handleKeyUp(impl, message, wParam, lParam);
    case WM_SYSKEYUP: return handleKeyUp(impl, WM_SYSKEYUP, wParam, lParam);
    case WM_CHAR:
    case WM_IME_CHAR: return handleChar(impl, message, wParam, lParam);
    case WM_DEADCHAR: return handleDeadChar(impl, wParam, lParam);
    default: return defaultAnswer(impl, message, wParam, lParam);
    }
}

}  // namespace QX::UIA
