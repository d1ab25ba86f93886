#include <windows.h>

#include "contract.h"
#include "ui/win32/text.h"
#include "ui/win32/win32_backend.h"

namespace contract {
std::unique_ptr<ui::Backend> makeBackend() {
    return std::make_unique<ui::Win32Backend>();
}
int timerSlackMs() {
    return 45;
}
void blockThread(ui::Backend&, int ms) {
    Sleep(static_cast<DWORD>(ms));
}
std::string makeFile(const std::string& name) {
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    std::wstring path = std::wstring(dir) + ui::win32::widen(name);
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    return ui::win32::narrow(path);
}
}  // namespace contract
