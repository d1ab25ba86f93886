// Control behaviour that both backends share, so that it is written once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/layout.h"

namespace ui {

// Integer input: characters from 0x20 up are taken only if they are digits or '-'; control
// characters work as usual. The byte is the typed character (0x80 and up never passes).
bool integerInputAccepts(unsigned ch);

// Whether an edit box with this layout takes a typed character into text of this length,
// the selection covering selectedBytes of it.
bool editAcceptsChar(const ControlSpec& layout, const std::string& text, int selectedBytes,
                     unsigned ch);

// Reads leading white space, an optional sign and digits; no digits give 0. Wraps in 32 bits.
int leadingInt(const std::string& text);

// One step of an up-down button: up adds 1, down subtracts 1; below the lower bound wraps to
// the upper, above the upper to the lower. Returns the new text (plain decimal).
std::string upDownStep(const std::string& text, bool up, int lo, int hi);

// A periodic timer's schedule: the n-th firing falls at start + n * period. A firing missed
// because the queue was busy is not made up: the next one is the first due after now.
struct TimerSchedule {
    std::int64_t start = 0;
    int period = 0;
    std::int64_t nextDue = 0;

    void begin(std::int64_t now, int periodMs) {
        start = now;
        period = periodMs;
        nextDue = now + periodMs;
    }
    // Called at a firing that happened at `now`; returns the time of the next firing.
    std::int64_t advance(std::int64_t now) {
        if (period <= 0) return nextDue;
        std::int64_t n = (now - start) / period + 1;
        nextDue = start + n * period;
        return nextDue;
    }
};

}  // namespace ui

namespace ui {
// The tray event value of a mouse message on the notification-area icon; 0 when ignored.
int trayEventValue(unsigned mouseMessage);
constexpr unsigned kTrayCallbackMessage = 0x8064;  // WM_APP + 100
constexpr unsigned kTrayIconId = 100;
}  // namespace ui

namespace ui {
// Whether ICO bytes hold a first image the system can make an icon from (header, directory
// entry and bitmap header in bounds).
bool icoHasImage(const std::vector<std::uint8_t>& ico);
}  // namespace ui
