#include "app/application.h"

#include "app/date_panel.h"

namespace app {

const char kInstanceEventName[] = "岚翎_dsq";
const char kHandleValueName[] = "岚翎dsq";

Application::Application(ui::Backend& backend, platform::Services& services)
    : backend_(backend), services_(services), main_(backend) {
    main_.onCreated = [this] { onCreated(); };
    main_.onDestroying = [this] { onClosing(); };
    main_.关闭窗口.onClick = [this] { main_.destroy(); };
    main_.时钟1.onTick = [this] { updateDatePanel(main_, services_); };
}

Application::~Application() {
    main_.onDestroying = nullptr;
    main_.onCreated = nullptr;
}

void Application::start() {
    popupBar_ = std::make_unique<ui::ProgressBar>();
    mainBar_ = std::make_unique<ui::ProgressBar>();
    main_.load();
}

int Application::run() {
    start();
    int code = backend_.runMessageLoop();
    exitCleanup();
    return code;
}

void Application::onCreated() {
    // Claiming and testing the marker is one step, so two copies started together cannot both
    // become the first.
    if (services_.claimInstanceMarker(kInstanceEventName)) {
        refused_ = true;
        services_.openIcon(services_.readHandleValue(kHandleValueName));
        main_.destroy();
        return;
    }
    services_.writeHandleValue(kHandleValueName, main_.handleValue());
    main_.图片框3.setPicture(ui::Picture::AppIcon);
}

void Application::onClosing() {
    // A refused copy leaves the value alone: it names the running instance's window.
    if (!refused_) services_.deleteHandleValue(kHandleValueName);
    for (ui::Window* w : closesWithMain)
        if (w && w->isLoaded()) w->destroy();
}

void Application::exitCleanup() {
    if (cleanedUp_) return;
    cleanedUp_ = true;
    ++cleanupRuns_;
    chosenFilePath.clear();
    chosenFilePath.shrink_to_fit();
    if (popupBar_) {
        popupBar_->destroy();
        popupBar_.reset();
    }
    if (mainBar_) {
        mainBar_->destroy();
        mainBar_.reset();
    }
}

}  // namespace app
