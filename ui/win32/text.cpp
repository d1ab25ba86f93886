#include "ui/win32/text.h"

namespace ui::win32 {

std::wstring widen(const std::string& gbk) {
    if (gbk.empty()) return {};
    int n = MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), out.data(), n);
    return out;
}

std::string narrow(const std::wstring& wide) {
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

std::string windowText(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::wstring w(static_cast<size_t>(n) + 1, L'\0');
    n = GetWindowTextW(hwnd, w.data(), n + 1);
    w.resize(static_cast<size_t>(n > 0 ? n : 0));
    return narrow(w);
}

}  // namespace ui::win32
