// A horizontal bar painted straight onto a window. A new bar is blank: every field zero, its
// rectangles empty; init, when a task starts, gives it a window and colours.
#pragma once

#include <cstdint>
#include <memory>

#include "ui/backend.h"

namespace ui {

class ProgressBar {
  public:
    ProgressBar() = default;
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Releases what init acquired; a blank bar has nothing to release.
    void destroy() {
        canvas.reset();
        window = 0;
    }
    bool isBlank() const {
        return window == 0 && !canvas && restColor == 0 && doneColor == 0 && frameColor == 0 &&
               outerRect == Rect{} && innerRect == Rect{} && doneRect == Rect{} &&
               restRect == Rect{} && innerWidth == 0 && textFormat == 0;
    }

    WindowId window = 0;
    std::unique_ptr<Canvas> canvas;
    Color restColor = 0, doneColor = 0, frameColor = 0;
    Rect outerRect, innerRect, doneRect, restRect;
    int innerWidth = 0;
    std::uint32_t textFormat = 0;
};

}  // namespace ui
