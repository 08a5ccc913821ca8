#include "uia/KeyCodes.h"

namespace QX::UIA::Key {
namespace {

void fillRange(KeyTable& table, std::uint32_t first, const char* characters) {
    for (std::uint32_t index = first; *characters != '\0'; ++index, ++characters)
        table[index] = std::uint8_t(*characters);
}

KeyTable buildScanCodeTable() {
    KeyTable table;
    table.fill(kUnknown);
    table[1] = kEscape;
    fillRange(table, 2, "1234567890-=");
    table[14] = kBackspace;
    table[15] = kTab;
    fillRange(table, 16, "QWERTYUIOP[]");
    table[28] = kEnter;
    fillRange(table, 30, "ASDFGHJKL;\"~");
    table[43] = '\\';
    fillRange(table, 44, "ZXCVBNM,./");
    table[57] = ' ';
    for (std::uint32_t index = 0; index < 10; ++index) table[59 + index] = kF1 + index;
    table[71] = kHome;
    table[72] = kUp;
    table[73] = kPageUp;
    table[75] = kLeft;
    table[77] = kRight;
    table[79] = kEnd;
    table[80] = kDown;
    table[81] = kPageDown;
    table[82] = kInsert;
    table[83] = kDelete;
    table[87] = kF1 + 10;
    table[88] = kF1 + 11;
    table[197] = kNumLock;
    const struct { std::uint32_t index; char character; } keypad[] = {
        {181, '/'}, {183, '*'}, {199, '7'}, {200, '8'}, {201, '9'}, {202, '-'}, {203, '4'},
        {204, '5'}, {205, '6'}, {206, '+'}, {207, '1'}, {208, '2'}, {209, '3'}, {210, '0'}, {211, ','},
    };
    for (const auto& key : keypad) table[key.index] = kKeypad | std::uint8_t(key.character);
    return table;
}

}  // namespace

const KeyTable& getScanCodeTable() {
    static const KeyTable table = buildScanCodeTable();
    return table;
}

std::uint32_t keyIdForScanCode(std::uint32_t scanCode, bool keypad) {
    const std::uint32_t index = scanCode + (keypad ? 128 : 0);
    if (index >= getScanCodeTable().size()) return kUnknown;
    return getScanCodeTable()[index];
}

std::uint32_t combineModifiers(bool shift, bool control, bool alt, bool capsLock, bool windowsKey) {
    std::uint32_t word = 0;
    if (shift) word |= kShift;
    if (control) word |= kControl;
    if (alt) word |= kAlt;
    if (capsLock) word |= kCapsLock;
    if (word != 0 && windowsKey) word |= kWindowsKey;
    return word;
}

}  // namespace QX::UIA::Key
