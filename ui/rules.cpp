#include "ui/rules.h"

#include <cstring>

namespace ui {

bool integerInputAccepts(unsigned ch) {
    if (ch < 0x20) return true;
    return (ch >= '0' && ch <= '9') || ch == '-';
}

bool editAcceptsChar(const ControlSpec& spec, const std::string& text, int selectedBytes,
                     unsigned ch) {
    if (spec.input == InputMode::ReadOnly) return false;
    if (spec.input == InputMode::Integer && !integerInputAccepts(ch)) return false;
    if (ch < 0x20) return true;
    if (spec.maxLength > 0 && static_cast<int>(text.size()) - selectedBytes + 1 > spec.maxLength)
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
