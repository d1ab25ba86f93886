// The window model on real Win32 windows and controls.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>

#include "ui/backend.h"

namespace ui {

class Win32Backend : public Backend {
  public:
    Win32Backend();
    ~Win32Backend() override;

    // Runs when Windows ends the session, after every window's closing steps have run.
    std::function<void()> onSessionEnd;
    HWND hwndOf(WindowId w) const;
    HWND controlHwnd(WindowId w, int c) const;

    WindowId createWindow(const WindowSpec& layout, WindowSink& sink) override;
    bool exists(WindowId w) const override;
    void requestDestroy(WindowId w) override;
    void destroyNow(WindowId w) override;
    void runModal(WindowId w) override;
    int runMessageLoop() override;
    void pump(int milliseconds) override;
    std::int64_t nowMs() const override;

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
    Rect screenRect() const override;
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
    void refresh(WindowId w, int c) override;
    void setTimerPeriod(WindowId w, int c, int milliseconds) override;
    bool openFileDialog(WindowId w, int c, FileDialogRequest& request) override;
    void showBalloon(WindowId w, int c, Point screen, const std::string& text) override;
    bool balloonShown(WindowId w, int c, std::string* text, Rect* screen) const override;
    Point cursorPos() const override;
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

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace ui
