#include <windows.h>

#include "contract.h"
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
}  // namespace contract
