#include "ui/window.h"

#include <cassert>

namespace ui {

const char* kindName(ControlKind k) {
    switch (k) {
        case ControlKind::TransparentLabel:
            return "transparent label";
        case ControlKind::Label:
            return "label";
        case ControlKind::EditBox:
            return "edit box";
        case ControlKind::DropDownList:
            return "drop-down list";
        case ControlKind::ImageButton:
            return "image button";
        case ControlKind::PictureBox:
            return "picture box";
        case ControlKind::Timer:
            return "timer";
        case ControlKind::FileDialog:
            return "file dialog";
        case ControlKind::BalloonTip:
            return "balloon tip";
        case ControlKind::ListView:
            return "list view";
    }
    return "?";
}

int WindowSpec::indexOf(const std::string& controlName) const {
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i].name == controlName) return static_cast<int>(i);
    return -1;
}

Window::Window(Backend& backend, const WindowSpec& layout)
    : backend_(backend), spec_(layout), controls_(layout.controls.size(), nullptr) {}

Window::~Window() {
    if (isLoaded()) backend_.destroyNow(id_);
}

void Window::load(bool modal) {
    if (isLoaded()) return;
    id_ = backend_.createWindow(spec_, *this);
    for (Control* c : controls_) {
        if (auto* t = dynamic_cast<Timer*>(c)) t->period_ = spec_.controls[t->index()].period;
    }
    auto raise = [this](const std::function<void()>& f) {
        if (f && isLoaded()) f();
    };
    raise(onCreated);
    raise(onMoved);
    raise(onSized);
    if (isLoaded() && spec_.visibleOnLoad) backend_.showWindow(id_, true);
    if (modal && isLoaded()) backend_.runModal(id_);
}

bool Window::isLoaded() const {
    return id_ != 0 && backend_.exists(id_);
}
void Window::destroy() {
    if (isLoaded()) backend_.requestDestroy(id_);
}
void Window::setVisible(bool on) {
    if (isLoaded()) backend_.showWindow(id_, on);
}
bool Window::isVisible() const {
    return isLoaded() && backend_.isWindowVisible(id_);
}
Placement Window::placement() const {
    return isLoaded() ? backend_.placement(id_) : Placement::Normal;
}
void Window::setPlacement(Placement p) {
    if (isLoaded()) backend_.setPlacement(id_, p);
}
void Window::setTopmost(bool on) {
    if (isLoaded()) backend_.setTopmost(id_, on);
}
void Window::setAlpha(int a) {
    if (isLoaded()) backend_.setAlpha(id_, a);
}
std::uint32_t Window::handleValue() const {
    return isLoaded() ? backend_.handleValue(id_) : 0;
}
void Window::setTrayIcon(const std::vector<std::uint8_t>& ico, const std::string& tip) {
    if (isLoaded()) backend_.setTrayIcon(id_, ico, tip);
}

void Window::controlEvent(int control, ControlEvent event) {
    if (control < 0 || control >= static_cast<int>(controls_.size())) return;
    if (Control* c = controls_[control]) c->dispatch(event);
}

void Window::windowEvent(WindowEvent event, int value) {
    const std::function<void()>* f = nullptr;
    switch (event) {
        case WindowEvent::Created:
            f = &onCreated;
            break;
        case WindowEvent::Moved:
            f = &onMoved;
            break;
        case WindowEvent::Sized:
            f = &onSized;
            break;
        case WindowEvent::Destroying:
            f = &onDestroying;
            break;
        case WindowEvent::Tray:
            if (onTrayEvent) onTrayEvent(value);
            return;
    }
    if (f && *f) (*f)();
}

Control::Control(Window& window, const char* name, ControlKind kind)
    : window_(window), index_(window.layout().indexOf(name)) {
    assert(index_ >= 0 && "control missing from the layout");
    assert(window.layout().controls[index_].kind == kind && "control of another kind");
    (void)kind;
    window.controls_[index_] = this;
}

const std::string& Control::name() const {
    return window_.layout().controls[index_].name;
}
void Control::enable(bool on) {
    if (window_.isLoaded()) be().setEnabled(wid(), index_, on);
}
bool Control::isEnabled() const {
    return window_.isLoaded() && be().isEnabled(wid(), index_);
}
void Control::show(bool on) {
    if (window_.isLoaded()) be().setVisible(wid(), index_, on);
}
bool Control::isVisible() const {
    return window_.isLoaded() && be().isVisible(wid(), index_);
}
void Control::refresh() {
    if (window_.isLoaded()) be().refresh(wid(), index_);
}

static ControlKind labelKind(Window& w, const char* name) {
    int i = w.layout().indexOf(name);
    return i >= 0 ? w.layout().controls[i].kind : ControlKind::Label;
}

TextLabel::TextLabel(Window& w, const char* name) : Control(w, name, labelKind(w, name)) {}
std::string TextLabel::caption() const {
    return window_.isLoaded() ? be().text(wid(), index_) : "";
}
void TextLabel::setCaption(const std::string& text) {
    if (window_.isLoaded()) be().setText(wid(), index_, text);
}
void TextLabel::setWordWrap(bool on) {
    if (window_.isLoaded()) be().setWordWrap(wid(), index_, on);
}

EditBox::EditBox(Window& w, const char* name) : Control(w, name, ControlKind::EditBox) {}
std::string EditBox::text() const {
    return window_.isLoaded() ? be().text(wid(), index_) : "";
}
void EditBox::setText(const std::string& text) {
    if (!window_.isLoaded()) return;
    be().setText(wid(), index_, text);
    dispatch(ControlEvent::TextChanged);
}
void EditBox::focus() {
    if (window_.isLoaded()) be().setFocus(wid(), index_);
}
void EditBox::selectAll() {
    if (window_.isLoaded()) be().selectAll(wid(), index_);
}
void EditBox::dispatch(ControlEvent e) {
    if (e == ControlEvent::TextChanged && onTextChanged) onTextChanged();
    if (e == ControlEvent::GotFocus && onGotFocus) onGotFocus();
    if (e == ControlEvent::LostFocus && onLostFocus) onLostFocus();
}

DropDownList::DropDownList(Window& w, const char* name)
    : Control(w, name, ControlKind::DropDownList) {}
int DropDownList::selectedIndex() const {
    return window_.isLoaded() ? be().selectedIndex(wid(), index_) : -1;
}
std::string DropDownList::text() const {
    int i = selectedIndex();
    return i >= 0 ? be().itemText(wid(), index_, i) : "";
}
void DropDownList::setSelectedIndex(int index) {
    if (window_.isLoaded()) be().setSelectedIndex(wid(), index_, index);
}
int DropDownList::itemCount() const {
    return window_.isLoaded() ? be().itemCount(wid(), index_) : 0;
}
void DropDownList::dispatch(ControlEvent e) {
    if (e == ControlEvent::ItemSelected && onItemSelected) onItemSelected();
}

ImageButton::ImageButton(Window& w, const char* name)
    : Control(w, name, ControlKind::ImageButton) {}
void ImageButton::dispatch(ControlEvent e) {
    if (e == ControlEvent::Clicked && onClick) onClick();
}

PictureBox::PictureBox(Window& w, const char* name) : Control(w, name, ControlKind::PictureBox) {}
void PictureBox::setPicture(Picture p) {
    if (window_.isLoaded()) be().setPicture(wid(), index_, p);
}
Picture PictureBox::picture() const {
    return window_.isLoaded() ? be().picture(wid(), index_) : Picture::None;
}

Timer::Timer(Window& w, const char* name) : Control(w, name, ControlKind::Timer) {
    period_ = w.layout().controls[index_].period;
}
void Timer::setPeriod(int milliseconds) {
    if (milliseconds < 0) milliseconds = 0;
    if (milliseconds == period_) return;
    period_ = milliseconds;
    if (window_.isLoaded()) be().setTimerPeriod(wid(), index_, milliseconds);
}
void Timer::dispatch(ControlEvent e) {
    if (e == ControlEvent::Tick && onTick) onTick();
}

FileDialog::FileDialog(Window& w, const char* name) : Control(w, name, ControlKind::FileDialog) {}
bool FileDialog::open() {
    if (!window_.isLoaded()) return false;
    FileDialogRequest r{title, filter, defaultExtension, fileName};
    if (!be().openFileDialog(wid(), index_, r)) return false;
    fileName = r.fileName;
    return true;
}

BalloonTip::BalloonTip(Window& w, const char* name) : Control(w, name, ControlKind::BalloonTip) {}
void BalloonTip::popUp(Point screen, const std::string& text) {
    if (window_.isLoaded()) be().showBalloon(wid(), index_, screen, text);
}

ListView::ListView(Window& w, const char* name) : Control(w, name, ControlKind::ListView) {}
void ListView::clear() {
    if (window_.isLoaded()) be().listClear(wid(), index_);
}
void ListView::addRow(const std::vector<std::string>& cells) {
    if (window_.isLoaded()) be().listAddRow(wid(), index_, cells);
}
int ListView::rowCount() const {
    return window_.isLoaded() ? be().listRowCount(wid(), index_) : 0;
}
std::string ListView::cell(int row, int column) const {
    return window_.isLoaded() ? be().listCell(wid(), index_, row, column) : "";
}
int ListView::selectedIndex() const {
    return window_.isLoaded() ? be().selectedIndex(wid(), index_) : -1;
}
void ListView::setFlatScrollBars(bool on) {
    if (window_.isLoaded()) be().setListFlatScrollBars(wid(), index_, on);
}
void ListView::dispatch(ControlEvent e) {
    if (e == ControlEvent::ItemActivated && onItemActivated) onItemActivated();
}

}  // namespace ui
