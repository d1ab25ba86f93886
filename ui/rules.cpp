#include "ui/rules.h"

#include <cstring>

namespace ui {

bool integerInputAccepts(unsigned ch) {
    if (ch < 0x20) return true;
    return (ch >= '0' && ch <= '9') || ch == '-';
}

bool editAcceptsChar(const ControlSpec& layout, const std::string& text, int selectedBytes,
                     unsigned ch) {
    if (layout.input == InputMode::ReadOnly) return false;
    if (layout.input == InputMode::Integer && !integerInputAccepts(ch)) return false;
    if (ch < 0x20) return true;
    if (layout.maxLength > 0 &&
        static_cast<int>(text.size()) - selectedBytes + 1 > layout.maxLength)
        return false;
    return true;
}

int leadingInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && std::strchr(" \t\n\v\f\r", text[i]) && text[i] != '\0') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::uint32_t v = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        v = v * 10u + static_cast<std::uint32_t>(text[i] - '0');
    if (negative) v = 0u - v;
    return static_cast<int>(v);
}

std::string upDownStep(const std::string& text, bool up, int lo, int hi) {
    long long v = static_cast<long long>(leadingInt(text)) + (up ? 1 : -1);
    if (v < lo)
        v = hi;
    else if (v > hi)
        v = lo;
    return std::to_string(v);
}

}  // namespace ui

namespace ui {
int trayEventValue(unsigned m) {
    switch (m) {
        case 0x0202:
            return 1;  // WM_LBUTTONUP
        case 0x0203:
            return 2;  // WM_LBUTTONDBLCLK
        case 0x0205:   // WM_RBUTTONUP
        case 0x007B:
            return 3;  // WM_CONTEXTMENU
        default:
            return 0;
    }
}
}  // namespace ui

namespace ui {
bool icoHasImage(const std::vector<std::uint8_t>& b) {
    auto u16 = [&](size_t at) { return static_cast<unsigned>(b[at] | b[at + 1] << 8); };
    auto u32 = [&](size_t at) {
        return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16) |
               static_cast<std::uint32_t>(b[at + 3]) << 24;
    };
    if (b.size() < 6 + 16 || u16(0) != 0 || u16(2) != 1 || u16(4) < 1) return false;
    std::uint32_t size = u32(6 + 8), offset = u32(6 + 12);
    if (offset >= b.size() || size > b.size() - offset || size < 40) return false;
    return u32(offset) == 40;
}
}  // namespace ui
