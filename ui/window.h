// Windows and controls as the handlers use them. A window type lists its controls as members
// named as in its layout; each member forwards to the backend and raises the model's events.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/backend.h"

namespace ui {

class Control;

class Window : protected WindowSink {
  public:
    Window(Backend& backend, const WindowSpec& layout);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Creates the window and its controls afresh from the layout, then raises created, position
    // changed and size changed (each only while the window still exists), then shows it if the
    // layout says visible. Modal: returns once the window has gone.
    void load(bool modal = false);
    bool isLoaded() const;
    void destroy();  // queued request

    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    void setVisible(bool on);
    bool isVisible() const;
    Placement placement() const;
    void setPlacement(Placement p);
    void setTopmost(bool on);
    void setAlpha(int alpha);
    std::uint32_t handleValue() const;
    void setTrayIcon(const std::vector<std::uint8_t>& ico, const std::string& tip = "");

    Backend& backend() const { return backend_; }
    WindowId id() const { return id_; }
    const WindowSpec& layout() const { return spec_; }

    std::function<void()> onCreated;
    std::function<void()> onMoved;
    std::function<void()> onSized;
    std::function<void(int)> onTrayEvent;
    std::function<void()> onDestroying;

  protected:
    void controlEvent(int control, ControlEvent event) override;
    void windowEvent(WindowEvent event, int value) override;

  private:
    friend class Control;
    Backend& backend_;
    const WindowSpec& spec_;
    WindowId id_ = 0;
    std::vector<Control*> controls_;  // by layout index; not owned
};

class Control {
  public:
    Control(Window& window, const char* name, ControlKind kind);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const;
    int index() const { return index_; }
    Window& window() const { return window_; }
    void enable(bool on = true);
    void disable() { enable(false); }
    bool isEnabled() const;
    void show(bool on = true);
    void hide() { show(false); }
    bool isVisible() const;
    void refresh();

  protected:
    friend class Window;
    virtual void dispatch(ControlEvent) {}
    Backend& be() const { return window_.backend(); }
    WindowId wid() const { return window_.id(); }

    Window& window_;
    int index_;
};

// Transparent labels and labels: writing the caption repaints at once.
class TextLabel : public Control {
  public:
    TextLabel(Window& w, const char* name);
    std::string caption() const;
    void setCaption(const std::string& text);
    void setWordWrap(bool on);
};
using TransparentLabel = TextLabel;
using Label = TextLabel;

class EditBox : public Control {
  public:
    EditBox(Window& w, const char* name);
    std::string text() const;
    // Replaces the text and raises text-changed exactly once, also for an unchanged text.
    void setText(const std::string& text);
    void focus();
    void selectAll();

    std::function<void()> onTextChanged;
    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;

  protected:
    void dispatch(ControlEvent e) override;
};

class DropDownList : public Control {
  public:
    DropDownList(Window& w, const char* name);
    int selectedIndex() const;
    std::string text() const;          // the selected item's text
    void setSelectedIndex(int index);  // raises nothing
    int itemCount() const;

    std::function<void()> onItemSelected;

  protected:
    void dispatch(ControlEvent e) override;
};

class ImageButton : public Control {
  public:
    ImageButton(Window& w, const char* name);
    std::function<void()> onClick;

  protected:
    void dispatch(ControlEvent e) override;
};

class PictureBox : public Control {
  public:
    PictureBox(Window& w, const char* name);
    void setPicture(Picture p);
    Picture picture() const;
};

class Timer : public Control {
  public:
    Timer(Window& w, const char* name);
    int period() const { return period_; }
    // Negative counts as 0; the current period does nothing; otherwise restarts with a full
    // first period, or stops at 0.
    void setPeriod(int milliseconds);

    std::function<void()> onTick;

  protected:
    friend class Window;
    void dispatch(ControlEvent e) override;
    int period_ = 0;
};

class FileDialog : public Control {
  public:
    FileDialog(Window& w, const char* name);
    std::string title, filter, defaultExtension, fileName;
    // Modal; on OK replaces fileName with the chosen full path, Cancel leaves it.
    bool open();
};

class BalloonTip : public Control {
  public:
    BalloonTip(Window& w, const char* name);
    void popUp(Point screen, const std::string& text);
};

class ListView : public Control {
  public:
    ListView(Window& w, const char* name);
    void clear();
    void addRow(const std::vector<std::string>& cells);
    int rowCount() const;
    std::string cell(int row, int column) const;
    int selectedIndex() const;
    void setFlatScrollBars(bool on);

    std::function<void()> onItemActivated;

  protected:
    void dispatch(ControlEvent e) override;
};

}  // namespace ui
