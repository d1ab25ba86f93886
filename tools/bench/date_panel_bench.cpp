// Cost of one date-panel firing: eight clock readings, the texts, the lunar conversion and five
// caption writes. Natively on the headless backend; on Windows with real labels repainting.
#include <chrono>
#include <cstdio>

#include "app/date_panel.h"
#include "ui/main_window.h"
#ifdef _WIN32
#include "platform/win32/win32_services.h"
#include "ui/win32/win32_backend.h"
using Backend = ui::Win32Backend;
using Services = platform::Win32Services;
#else
#include "platform/fake/recording_services.h"
#include "ui/headless/headless_backend.h"
using Backend = ui::HeadlessBackend;
using Services = platform::RecordingServices;
#endif

int main() {
    Backend backend;
    Services services;
    ui::MainWindow w(backend);
    w.load();
    backend.pump(0);
    const int rounds = 2000;
    for (int i = 0; i < 50; ++i) app::updateDatePanel(w, services);
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) app::updateDatePanel(w, services);
    auto t1 = std::chrono::steady_clock::now();
    double us = std::chrono::duration<double, std::micro>(t1 - t0).count() / rounds;
    std::printf("updateDatePanel: %.2f us per firing (%d firings, %s backend)\n", us, rounds,
#ifdef _WIN32
                "Win32"
#else
                "headless"
#endif
    );
    return 0;
}
