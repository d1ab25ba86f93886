// The window model without windows: same rules as the Win32 backend, on a virtual clock, so
// handlers can be driven natively and a long countdown runs in milliseconds.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/backend.h"
#include "ui/rules.h"

namespace ui {

class HeadlessBackend : public Backend {
  public:
    HeadlessBackend();
    ~HeadlessBackend() override;

    // Lets time pass without running the queue, as if a handler blocked the thread.
    void stall(int milliseconds) { now_ += milliseconds; }
    // Called while a modal window runs, so a test can act in it; without one, a modal window
    // that nothing closes returns once the queue is idle and no timer is left.
    std::function<void(WindowId)> modalHook;
    std::vector<std::string> drawLog;  // what canvases drew, one line per call
    int windowCount() const { return static_cast<int>(windows_.size()); }
    bool quitPosted() const { return quit_; }

    WindowId createWindow(const WindowSpec& layout, WindowSink& sink) override;
    bool exists(WindowId w) const override;
    void requestDestroy(WindowId w) override;
    void destroyNow(WindowId w) override;
    void runModal(WindowId w) override;
    int runMessageLoop() override;
    void pump(int milliseconds) override;
    std::int64_t nowMs() const override { return now_; }

    void showWindow(WindowId w, bool visible) override;
    bool isWindowVisible(WindowId w) const override;
    Placement placement(WindowId w) const override;
    void setPlacement(WindowId w, Placement p) override;
    void setTopmost(WindowId w, bool on) override;
    bool isTopmost(WindowId w) const override;
    void setAlpha(WindowId w, int alpha) override;
    int alpha(WindowId w) const override;
    bool isWindowEnabled(WindowId w) const override;
    Rect windowRect(WindowId w) const override;
    void moveWindow(WindowId w, int left, int top) override;
    std::uint32_t handleValue(WindowId w) const override;
    bool isForeground(WindowId w) const override;
    void setTrayIcon(WindowId w, const std::vector<std::uint8_t>& ico,
                     const std::string& tip) override;
    bool hasTrayIcon(WindowId w) const override;
    std::string trayTip(WindowId w) const;
    Rect screenRect() const override { return screen_; }
    void setScreenRect(Rect r) { screen_ = r; }
    std::unique_ptr<Canvas> canvas(WindowId w, bool wholeWindow) override;

    std::string text(WindowId w, int c) const override;
    void setText(WindowId w, int c, const std::string& text) override;
    void setEnabled(WindowId w, int c, bool on) override;
    bool isEnabled(WindowId w, int c) const override;
    void setVisible(WindowId w, int c, bool on) override;
    bool isVisible(WindowId w, int c) const override;
    int selectedIndex(WindowId w, int c) const override;
    void setSelectedIndex(WindowId w, int c, int index) override;
    int itemCount(WindowId w, int c) const override;
    std::string itemText(WindowId w, int c, int index) const override;
    void setFocus(WindowId w, int c) override;
    int focusedControl(WindowId w) const override;
    void selectAll(WindowId w, int c) override;
    void setPicture(WindowId w, int c, Picture p) override;
    Picture picture(WindowId w, int c) const override;
    void setWordWrap(WindowId w, int c, bool on) override;
    void refresh(WindowId, int) override {}
    void setTimerPeriod(WindowId w, int c, int milliseconds) override;
    bool openFileDialog(WindowId w, int c, FileDialogRequest& request) override;
    void showBalloon(WindowId w, int c, Point screen, const std::string& text) override;
    bool balloonShown(WindowId w, int c, std::string* text, Rect* screen) const override;
    Point cursorPos() const override { return cursor_; }
    void setCursorPos(Point p) { cursor_ = p; }
    void listClear(WindowId w, int c) override;
    void listAddRow(WindowId w, int c, const std::vector<std::string>& cells) override;
    int listRowCount(WindowId w, int c) const override;
    std::string listCell(WindowId w, int c, int row, int column) const override;
    void setListFlatScrollBars(WindowId w, int c, bool on) override;

    void userTypeChar(WindowId w, int c, unsigned char ch) override;
    void userStepUpDown(WindowId w, int c, bool up) override;
    void userChooseItem(WindowId w, int c, int index) override;
    void userClick(WindowId w, int c) override;
    void userFocus(WindowId w, int c) override;
    void userPressEscape(WindowId w) override;
    void userSystemClose(WindowId w) override;
    void userTrayMessage(WindowId w, unsigned mouseMessage) override;
    void userClickRow(WindowId w, int c, int row, bool doubleClick) override;
    void userPressEnter(WindowId w, int c) override;
    void userAnswerNextFileDialog(const std::string& answer, FileDialogSeen* seen) override;

  private:
    struct ControlState;
    struct WindowState;
    WindowState* find(WindowId w);
    const WindowState* find(WindowId w) const;
    ControlState* control(WindowId w, int c);
    const ControlState* control(WindowId w, int c) const;
    void post(std::function<void()> f) { queue_.push_back(std::move(f)); }
    bool runPosted();
    bool fireNextTimer(std::int64_t until);
    void moveFocus(WindowState& ws, int to);
    void raisePlacement(WindowId w);

    std::map<WindowId, std::unique_ptr<WindowState>> windows_;
    std::deque<std::function<void()>> queue_;
    WindowId nextId_ = 1;
    std::int64_t now_ = 0;
    bool quit_ = false;
    Rect screen_{0, 0, 1024, 768};
    Point cursor_{};
    WindowId foreground_ = 0;
    std::optional<std::string> dialogAnswer_;
    FileDialogSeen* dialogSeen_ = nullptr;
};

}  // namespace ui
