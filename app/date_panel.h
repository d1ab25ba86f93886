// The once-a-second calendar sheet of the main window.
#pragma once

#include "platform/services.h"
#include "ui/main_window.h"

namespace app {

// Rewrites the five panel labels. Every value comes from its own reading of the clock, taken in
// the order the labels are written, and each label is written as soon as its text is complete.
void updateDatePanel(ui::MainWindow& w, platform::Services& clock);

}  // namespace app
