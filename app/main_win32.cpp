// Program entry on Windows.
#include <windows.h>

#include "app/application.h"
#include "platform/win32/win32_services.h"
#include "ui/win32/win32_backend.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ui::Win32Backend backend;
    platform::Win32Services services;
    app::Application application(backend, services);
    // When Windows ends the session the process may not get back to the end of run().
    backend.onSessionEnd = [&application] { application.exitCleanup(); };
    return application.run();
}
