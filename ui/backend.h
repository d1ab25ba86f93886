// The window and control model as the handlers see it, implemented twice: on real Win32 windows
// and controls, and headless for native tests. Both follow the same rules; one contract suite
// checks that. Texts are GBK byte strings.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/layout.h"
#include "ui/types.h"

namespace ui {

using WindowId = std::uint32_t;  // 0: no window

// Receives the events of one window and its controls.
class WindowSink {
  public:
    virtual void controlEvent(int control, ControlEvent event) = 0;
    virtual void windowEvent(WindowEvent event, int value) = 0;

  protected:
    ~WindowSink() = default;
};

// Drawing straight onto a window (the progress bars do this).
class Canvas {
  public:
    virtual ~Canvas() = default;
    virtual void clipTo(const Rect& r) = 0;
    virtual void fillRect(const Rect& r, Color c) = 0;
    virtual void frameRect(const Rect& r, Color c) = 0;
    virtual void drawText(const std::string& text, const Rect& r, Color c, HAlign h) = 0;
};

struct FileDialogRequest {
    std::string title;
    std::string filter;  // "description|pattern|description|pattern", "|"-separated
    std::string defaultExtension;
    std::string fileName;  // in: offered initial file; out: full path on OK
};

// What the user saw in a file dialog that a scripted answer went to.
struct FileDialogSeen {
    bool opened = false;
    std::string title;
    std::string fileName;                  // the file name it offered
    std::vector<std::string> filterNames;  // the descriptions in its file-type list
    bool ownerEnabled = true;              // the owner window's state while it was open
};

class Backend {
  public:
    virtual ~Backend() = default;

    // --- window lifetime -------------------------------------------------------------------
    // Creates the window and all its controls from the layout, hidden, with the timers whose
    // designed period is above 0 running. Raises no event.
    virtual WindowId createWindow(const WindowSpec& layout, WindowSink& sink) = 0;
    virtual bool exists(WindowId w) const = 0;
    // Queued: the window goes when the request comes up in the message queue.
    virtual void requestDestroy(WindowId w) = 0;
    // Immediate destruction, for owners that are going away themselves (never from handlers).
    virtual void destroyNow(WindowId w) = 0;
    // Disables the program's other top-level windows and runs the queue until w has gone.
    virtual void runModal(WindowId w) = 0;
    // Runs the queue until the last window of the program has gone; returns the exit code.
    virtual int runMessageLoop() = 0;
    // Processes the queue and the timers for the given time (headless: on the virtual clock).
    virtual void pump(int milliseconds) = 0;
    // Monotonic milliseconds on the clock the timers run by.
    virtual std::int64_t nowMs() const = 0;

    // --- window state -----------------------------------------------------------------------
    virtual void showWindow(WindowId w, bool visible) = 0;
    virtual bool isWindowVisible(WindowId w) const = 0;
    virtual Placement placement(WindowId w) const = 0;
    // Acts only while the window is visible.
    virtual void setPlacement(WindowId w, Placement p) = 0;
    virtual void setTopmost(WindowId w, bool on) = 0;
    virtual bool isTopmost(WindowId w) const = 0;
    virtual void setAlpha(WindowId w, int alpha) = 0;  // makes the window layered
    virtual int alpha(WindowId w) const = 0;           // 255 when not layered
    virtual bool isWindowEnabled(WindowId w) const = 0;
    virtual Rect windowRect(WindowId w) const = 0;  // screen coordinates
    virtual void moveWindow(WindowId w, int left, int top) = 0;
    virtual std::uint32_t handleValue(WindowId w) const = 0;  // the HWND as a 32-bit number
    virtual bool isForeground(WindowId w) const = 0;
    // The window's notification-area icon: bytes of an ICO file; empty bytes remove it.
    virtual void setTrayIcon(WindowId w, const std::vector<std::uint8_t>& ico,
                             const std::string& tip) = 0;
    virtual bool hasTrayIcon(WindowId w) const = 0;
    virtual Rect screenRect() const = 0;
    virtual std::unique_ptr<Canvas> canvas(WindowId w, bool wholeWindow) = 0;

    // --- controls -------------------------------------------------------------------------
    // Writes raise no event here; the model raises them (edit box text-changed, exactly once).
    virtual std::string text(WindowId w, int c) const = 0;
    virtual void setText(WindowId w, int c, const std::string& text) = 0;
    virtual void setEnabled(WindowId w, int c, bool on) = 0;
    virtual bool isEnabled(WindowId w, int c) const = 0;
    virtual void setVisible(WindowId w, int c, bool on) = 0;
    virtual bool isVisible(WindowId w, int c) const = 0;
    virtual int selectedIndex(WindowId w, int c) const = 0;
    virtual void setSelectedIndex(WindowId w, int c, int index) = 0;
    virtual int itemCount(WindowId w, int c) const = 0;
    virtual std::string itemText(WindowId w, int c, int index) const = 0;
    virtual void setFocus(WindowId w, int c) = 0;
    virtual int focusedControl(WindowId w) const = 0;  // -1: none
    virtual void selectAll(WindowId w, int c) = 0;
    virtual void setPicture(WindowId w, int c, Picture p) = 0;
    virtual Picture picture(WindowId w, int c) const = 0;
    virtual void setWordWrap(WindowId w, int c, bool on) = 0;
    virtual void refresh(WindowId w, int c) = 0;
    virtual void setTimerPeriod(WindowId w, int c, int milliseconds) = 0;  // 0 stops
    virtual bool openFileDialog(WindowId w, int c, FileDialogRequest& request) = 0;
    virtual void showBalloon(WindowId w, int c, Point screen, const std::string& text) = 0;
    // While the balloon is up: true, with its text and the screen rectangle it takes.
    virtual bool balloonShown(WindowId w, int c, std::string* text, Rect* screen) const = 0;
    virtual Point cursorPos() const = 0;
    virtual void listClear(WindowId w, int c) = 0;
    virtual void listAddRow(WindowId w, int c, const std::vector<std::string>& cells) = 0;
    virtual int listRowCount(WindowId w, int c) const = 0;
    virtual std::string listCell(WindowId w, int c, int row, int column) const = 0;
    virtual void setListFlatScrollBars(WindowId w, int c, bool on) = 0;

    // --- simulated user input (tests and automation) ------------------------------------------
    // Each goes through the same path as the real input and settles the queue afterwards.
    virtual void userTypeChar(WindowId w, int c, unsigned char ch) = 0;
    virtual void userStepUpDown(WindowId w, int c, bool up) = 0;
    virtual void userChooseItem(WindowId w, int c, int index) = 0;
    virtual void userClick(WindowId w, int c) = 0;
    virtual void userFocus(WindowId w, int c) = 0;
    virtual void userPressEscape(WindowId w) = 0;
    virtual void userSystemClose(WindowId w) = 0;
    virtual void userTrayMessage(WindowId w, unsigned mouseMessage) = 0;
    // Clicks a row of a list view once or twice (row -1: below the last row).
    virtual void userClickRow(WindowId w, int c, int row, bool doubleClick) = 0;
    // Gives the control the focus and presses Enter.
    virtual void userPressEnter(WindowId w, int c) = 0;
    // Acts in the next file dialog the program opens: types `answer` as the file name and
    // confirms it, or cancels when it is empty. `seen` (kept by the caller) records the dialog.
    virtual void userAnswerNextFileDialog(const std::string& answer, FileDialogSeen* seen) = 0;
};

}  // namespace ui
