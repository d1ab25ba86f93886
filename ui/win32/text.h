// GBK inside the program, UTF-16 at the Win32 boundary; code page 936 is named explicitly so the
// texts come out the same on every system locale.
#pragma once

#include <windows.h>

#include <string>

namespace ui::win32 {
std::wstring widen(const std::string& gbk);
std::string narrow(const std::wstring& wide);
std::string windowText(HWND hwnd);
}  // namespace ui::win32
