// The program from start to end: the two bars, the main window, the single-instance handshake
// and the closing steps. Written against the window model and the services, so it runs the
// same on Win32 and headless.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/services.h"
#include "ui/main_window.h"
#include "ui/progress_bar.h"

namespace app {

extern const char kInstanceEventName[];  // "岚翎_dsq"
extern const char kHandleValueName[];    // "岚翎dsq"

class Application {
  public:
    Application(ui::Backend& backend, platform::Services& services);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Start-up steps: the bars, then the main window; the message loop; then exitCleanup.
    int run();
    // The steps before the loop, for tests that drive the queue themselves.
    void start();
    // Frees what start-up created; runs once, also when the session ends first.
    void exitCleanup();

    ui::MainWindow& mainWindow() { return main_; }
    ui::ProgressBar* mainBar() const { return mainBar_.get(); }
    ui::ProgressBar* popupBar() const { return popupBar_.get(); }
    bool refused() const { return refused_; }
    int cleanupRuns() const { return cleanupRuns_; }
    std::string chosenFilePath;

    // Windows the closing steps take down with the main window (the message window and the
    // popup, once they exist).
    std::vector<ui::Window*> closesWithMain;

  private:
    void onCreated();
    void onClosing();

    ui::Backend& backend_;
    platform::Services& services_;
    std::unique_ptr<ui::ProgressBar> popupBar_, mainBar_;
    ui::MainWindow main_;
    bool refused_ = false;
    bool cleanedUp_ = false;
    int cleanupRuns_ = 0;
};

}  // namespace app
