#include "ui/headless/headless_backend.h"

#include <algorithm>
#include <optional>

namespace ui {

struct HeadlessBackend::ControlState {
    const ControlSpec* layout = nullptr;
    std::string text;
    bool enabled = true, visible = true, wordWrap = false, flatScroll = false;
    int selected = -1;
    int selectedBytes = 0;  // edit box selection, from the start
    Picture picture = Picture::None;
    TimerSchedule timer;
    std::vector<std::vector<std::string>> rows;
    std::string balloonText;
    Point balloonAt;
    std::int64_t balloonUntil = 0;
};

struct HeadlessBackend::WindowState {
    const WindowSpec* layout = nullptr;
    WindowSink* sink = nullptr;
    std::vector<ControlState> controls;
    bool visible = false, topmost = false, enabled = true, destroying = false;
    bool destroyQueued = false;
    Placement placement = Placement::Normal;
    int alpha = 255;
    Rect rect;
    int focus = -1;
    bool tray = false;
    std::string trayTip;
    std::uint32_t handle = 0;
};

HeadlessBackend::HeadlessBackend() = default;
HeadlessBackend::~HeadlessBackend() = default;

HeadlessBackend::WindowState* HeadlessBackend::find(WindowId w) {
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : it->second.get();
}
const HeadlessBackend::WindowState* HeadlessBackend::find(WindowId w) const {
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : it->second.get();
}
HeadlessBackend::ControlState* HeadlessBackend::control(WindowId w, int c) {
    WindowState* ws = find(w);
    if (!ws || c < 0 || c >= static_cast<int>(ws->controls.size())) return nullptr;
    return &ws->controls[c];
}
const HeadlessBackend::ControlState* HeadlessBackend::control(WindowId w, int c) const {
    const WindowState* ws = find(w);
    if (!ws || c < 0 || c >= static_cast<int>(ws->controls.size())) return nullptr;
    return &ws->controls[c];
}

WindowId HeadlessBackend::createWindow(const WindowSpec& layout, WindowSink& sink) {
    auto ws = std::make_unique<WindowState>();
    ws->layout = &layout;
    ws->sink = &sink;
    ws->topmost = layout.topmost;
    int left = (screen_.width() - layout.width) / 2, top = (screen_.height() - layout.height) / 2;
    ws->rect = rectXYWH(left, top, layout.width, layout.height);
    for (const ControlSpec& cs : layout.controls) {
        ControlState st;
        st.layout = &cs;
        st.text = cs.text;
        st.enabled = cs.enabled;
        st.visible = cs.visible;
        st.wordWrap = cs.vAlign == VAlign::WordWrap;
        st.selected = cs.kind == ControlKind::DropDownList ? cs.selected : -1;
        st.picture = cs.picture;
        if (cs.kind == ControlKind::Timer && cs.period > 0) st.timer.begin(now_, cs.period);
        ws->controls.push_back(std::move(st));
    }
    WindowId id = nextId_++;
    ws->handle = 0x10000 + id * 4;
    windows_[id] = std::move(ws);
    return id;
}

bool HeadlessBackend::exists(WindowId w) const {
    return find(w) != nullptr;
}

void HeadlessBackend::requestDestroy(WindowId w) {
    WindowState* ws = find(w);
    if (!ws || ws->destroyQueued) return;
    ws->destroyQueued = true;
    post([this, w] { destroyNow(w); });
}

void HeadlessBackend::destroyNow(WindowId w) {
    WindowState* ws = find(w);
    if (!ws || ws->destroying) return;
    ws->destroying = true;
    ws->sink->windowEvent(WindowEvent::Destroying, 0);
    windows_.erase(w);
    if (foreground_ == w) foreground_ = 0;
    if (windows_.empty()) quit_ = true;
}

bool HeadlessBackend::runPosted() {
    bool any = false;
    while (!queue_.empty()) {
        auto f = std::move(queue_.front());
        queue_.pop_front();
        f();
        any = true;
    }
    return any;
}

bool HeadlessBackend::fireNextTimer(std::int64_t until) {
    WindowId bestW = 0;
    int bestC = -1;
    std::int64_t best = until + 1;
    for (auto& [id, ws] : windows_)
        for (size_t i = 0; i < ws->controls.size(); ++i) {
            const TimerSchedule& t = ws->controls[i].timer;
            if (t.period > 0 && t.nextDue < best) {
                best = t.nextDue;
                bestW = id;
                bestC = static_cast<int>(i);
            }
        }
    if (bestC < 0) return false;
    // A firing that fell due while time was stalled is delivered late, once.
    now_ = std::max(now_, best);
    WindowState* ws = find(bestW);
    ws->controls[bestC].timer.advance(now_);
    ws->sink->controlEvent(bestC, ControlEvent::Tick);
    return true;
}

void HeadlessBackend::pump(int milliseconds) {
    std::int64_t end = now_ + std::max(0, milliseconds);
    for (;;) {
        runPosted();
        if (!fireNextTimer(end)) break;
    }
    runPosted();
    now_ = std::max(now_, end);
}

void HeadlessBackend::runModal(WindowId w) {
    std::vector<WindowId> disabled;
    for (auto& [id, ws] : windows_)
        if (id != w && ws->enabled) {
            ws->enabled = false;
            disabled.push_back(id);
        }
    while (exists(w)) {
        runPosted();
        if (!exists(w)) break;
        if (modalHook) {
            modalHook(w);
            continue;
        }
        if (!fireNextTimer(now_ + 24 * 3600 * 1000LL)) break;
    }
    for (WindowId id : disabled)
        if (WindowState* ws = find(id)) ws->enabled = true;
}

int HeadlessBackend::runMessageLoop() {
    runPosted();
    if (windows_.empty()) return 0;
    while (!quit_) {
        runPosted();
        if (quit_) break;
        if (!fireNextTimer(now_ + 24 * 3600 * 1000LL) && queue_.empty()) return -1;
    }
    return 0;
}

void HeadlessBackend::raisePlacement(WindowId w) {
    if (WindowState* ws = find(w)) ws->sink->windowEvent(WindowEvent::Moved, 0);
    if (WindowState* ws = find(w)) ws->sink->windowEvent(WindowEvent::Sized, 0);
}

void HeadlessBackend::showWindow(WindowId w, bool visible) {
    WindowState* ws = find(w);
    if (!ws) return;
    ws->visible = visible;
    if (visible && !ws->destroyQueued) foreground_ = w;
}
bool HeadlessBackend::isWindowVisible(WindowId w) const {
    const WindowState* ws = find(w);
    return ws && ws->visible;
}
Placement HeadlessBackend::placement(WindowId w) const {
    const WindowState* ws = find(w);
    return ws ? ws->placement : Placement::Normal;
}
void HeadlessBackend::setPlacement(WindowId w, Placement p) {
    WindowState* ws = find(w);
    if (!ws || !ws->visible) return;
    if (ws->placement == p) return;
    ws->placement = p;
    if (p == Placement::Normal) foreground_ = w;
    raisePlacement(w);
}
void HeadlessBackend::setTopmost(WindowId w, bool on) {
    if (WindowState* ws = find(w)) ws->topmost = on;
}
bool HeadlessBackend::isTopmost(WindowId w) const {
    const WindowState* ws = find(w);
    return ws && ws->topmost;
}
void HeadlessBackend::setAlpha(WindowId w, int a) {
    if (WindowState* ws = find(w)) ws->alpha = std::clamp(a, 0, 255);
}
int HeadlessBackend::alpha(WindowId w) const {
    const WindowState* ws = find(w);
    return ws ? ws->alpha : 255;
}
bool HeadlessBackend::isWindowEnabled(WindowId w) const {
    const WindowState* ws = find(w);
    return ws && ws->enabled;
}
Rect HeadlessBackend::windowRect(WindowId w) const {
    const WindowState* ws = find(w);
    return ws ? ws->rect : Rect{};
}
void HeadlessBackend::moveWindow(WindowId w, int left, int top) {
    WindowState* ws = find(w);
    if (!ws) return;
    ws->rect = rectXYWH(left, top, ws->rect.width(), ws->rect.height());
    ws->sink->windowEvent(WindowEvent::Moved, 0);
}
std::uint32_t HeadlessBackend::handleValue(WindowId w) const {
    const WindowState* ws = find(w);
    return ws ? ws->handle : 0;
}
bool HeadlessBackend::isForeground(WindowId w) const {
    return foreground_ == w && exists(w);
}

void HeadlessBackend::setTrayIcon(WindowId w, const std::vector<std::uint8_t>& ico,
                                  const std::string& tip) {
    WindowState* ws = find(w);
    if (!ws) return;
    ws->tray = icoHasImage(ico);  // an icon that cannot be made counts as none
    ws->trayTip = ws->tray ? tip.substr(0, 62) : "";
}
bool HeadlessBackend::hasTrayIcon(WindowId w) const {
    const WindowState* ws = find(w);
    return ws && ws->tray;
}
std::string HeadlessBackend::trayTip(WindowId w) const {
    const WindowState* ws = find(w);
    return ws ? ws->trayTip : "";
}

namespace {
class LoggingCanvas : public Canvas {
  public:
    explicit LoggingCanvas(std::vector<std::string>& log) : log_(log) {}
    void clipTo(const Rect& r) override { log_.push_back("clip " + str(r)); }
    void fillRect(const Rect& r, Color c) override {
        log_.push_back("fill " + str(r) + " " + std::to_string(c));
    }
    void frameRect(const Rect& r, Color c) override {
        log_.push_back("frame " + str(r) + " " + std::to_string(c));
    }
    void drawText(const std::string& t, const Rect& r, Color c, HAlign) override {
        log_.push_back("text " + str(r) + " " + std::to_string(c) + " " + t);
    }

  private:
    static std::string str(const Rect& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," +
               std::to_string(r.right) + "," + std::to_string(r.bottom);
    }
    std::vector<std::string>& log_;
};
}  // namespace

std::unique_ptr<Canvas> HeadlessBackend::canvas(WindowId w, bool) {
    if (!exists(w)) return nullptr;
    return std::make_unique<LoggingCanvas>(drawLog);
}

std::string HeadlessBackend::text(WindowId w, int c) const {
    const ControlState* cs = control(w, c);
    if (!cs) return "";
    if (cs->layout->kind == ControlKind::DropDownList)
        return cs->selected >= 0 ? cs->layout->items[cs->selected] : "";
    return cs->text;
}
void HeadlessBackend::setText(WindowId w, int c, const std::string& t) {
    if (ControlState* cs = control(w, c)) {
        cs->text = t;
        cs->selectedBytes = 0;
    }
}
void HeadlessBackend::setEnabled(WindowId w, int c, bool on) {
    ControlState* cs = control(w, c);
    if (!cs) return;
    cs->enabled = on;
    WindowState* ws = find(w);
    if (!on && ws->focus == c) moveFocus(*ws, -1);
}
bool HeadlessBackend::isEnabled(WindowId w, int c) const {
    const ControlState* cs = control(w, c);
    return cs && cs->enabled;
}
void HeadlessBackend::setVisible(WindowId w, int c, bool on) {
    if (ControlState* cs = control(w, c)) cs->visible = on;
}
bool HeadlessBackend::isVisible(WindowId w, int c) const {
    const ControlState* cs = control(w, c);
    return cs && cs->visible;
}
int HeadlessBackend::selectedIndex(WindowId w, int c) const {
    const ControlState* cs = control(w, c);
    return cs ? cs->selected : -1;
}
void HeadlessBackend::setSelectedIndex(WindowId w, int c, int index) {
    ControlState* cs = control(w, c);
    if (!cs) return;
    int count = cs->layout->kind == ControlKind::ListView
                    ? static_cast<int>(cs->rows.size())
                    : static_cast<int>(cs->layout->items.size());
    cs->selected = index >= 0 && index < count ? index : -1;
}
int HeadlessBackend::itemCount(WindowId w, int c) const {
    const ControlState* cs = control(w, c);
    return cs ? static_cast<int>(cs->layout->items.size()) : 0;
}
std::string HeadlessBackend::itemText(WindowId w, int c, int index) const {
    const ControlState* cs = control(w, c);
    if (!cs || index < 0 || index >= static_cast<int>(cs->layout->items.size())) return "";
    return cs->layout->items[index];
}

void HeadlessBackend::moveFocus(WindowState& ws, int to) {
    if (ws.focus == to) return;
    int from = ws.focus;
    ws.focus = to;
    if (from >= 0) ws.sink->controlEvent(from, ControlEvent::LostFocus);
    if (to >= 0) ws.sink->controlEvent(to, ControlEvent::GotFocus);
}
void HeadlessBackend::setFocus(WindowId w, int c) {
    WindowState* ws = find(w);
    ControlState* cs = control(w, c);
    if (!ws || !cs || !cs->enabled || !cs->visible) return;
    moveFocus(*ws, c);
}
int HeadlessBackend::focusedControl(WindowId w) const {
    const WindowState* ws = find(w);
    return ws ? ws->focus : -1;
}
void HeadlessBackend::selectAll(WindowId w, int c) {
    if (ControlState* cs = control(w, c)) cs->selectedBytes = static_cast<int>(cs->text.size());
}
void HeadlessBackend::setPicture(WindowId w, int c, Picture p) {
    if (ControlState* cs = control(w, c)) cs->picture = p;
}
Picture HeadlessBackend::picture(WindowId w, int c) const {
    const ControlState* cs = control(w, c);
    return cs ? cs->picture : Picture::None;
}
void HeadlessBackend::setWordWrap(WindowId w, int c, bool on) {
    if (ControlState* cs = control(w, c)) cs->wordWrap = on;
}
void HeadlessBackend::setTimerPeriod(WindowId w, int c, int ms) {
    ControlState* cs = control(w, c);
    if (!cs) return;
    if (ms > 0)
        cs->timer.begin(now_, ms);
    else
        cs->timer = TimerSchedule{};
}
bool HeadlessBackend::openFileDialog(WindowId w, int, FileDialogRequest& r) {
    WindowState* ws = find(w);
    if (!ws) return false;
    std::optional<std::string> answer;
    answer.swap(dialogAnswer_);
    FileDialogSeen* seen = dialogSeen_;
    dialogSeen_ = nullptr;
    if (seen) {
        seen->opened = true;
        seen->title = r.title;
        seen->fileName = r.fileName;
        seen->filterNames.clear();
        size_t from = 0;
        for (int part = 0; from <= r.filter.size() && !r.filter.empty(); ++part) {
            size_t bar = r.filter.find('|', from);
            std::string piece = r.filter.substr(from, bar == std::string::npos ? bar : bar - from);
            if (part % 2 == 0 && !piece.empty()) seen->filterNames.push_back(piece);
            if (bar == std::string::npos) break;
            from = bar + 1;
        }
        seen->ownerEnabled = false;  // a modal dialog disables its owner
    }
    if (!answer || answer->empty()) return false;
    r.fileName = *answer;
    return true;
}
void HeadlessBackend::showBalloon(WindowId w, int c, Point at, const std::string& t) {
    ControlState* cs = control(w, c);
    if (!cs) return;
    cs->balloonText = t;
    cs->balloonAt = at;
    cs->balloonUntil = now_ + std::max(0, cs->layout->autoPopMs);
}
bool HeadlessBackend::balloonShown(WindowId w, int c, std::string* text, Rect* screen) const {
    const ControlState* cs = control(w, c);
    if (!cs || now_ >= cs->balloonUntil) return false;
    if (text) *text = cs->balloonText;
    // A balloon is not laid out here: it takes the point it points at.
    if (screen)
        *screen = Rect{cs->balloonAt.x, cs->balloonAt.y, cs->balloonAt.x + 1, cs->balloonAt.y + 1};
    return true;
}
void HeadlessBackend::listClear(WindowId w, int c) {
    if (ControlState* cs = control(w, c)) {
        cs->rows.clear();
        cs->selected = -1;
    }
}
void HeadlessBackend::listAddRow(WindowId w, int c, const std::vector<std::string>& cells) {
    if (ControlState* cs = control(w, c)) cs->rows.push_back(cells);
}
int HeadlessBackend::listRowCount(WindowId w, int c) const {
    const ControlState* cs = control(w, c);
    return cs ? static_cast<int>(cs->rows.size()) : 0;
}
std::string HeadlessBackend::listCell(WindowId w, int c, int row, int column) const {
    const ControlState* cs = control(w, c);
    if (!cs || row < 0 || row >= static_cast<int>(cs->rows.size())) return "";
    const auto& r = cs->rows[row];
    return column >= 0 && column < static_cast<int>(r.size()) ? r[column] : "";
}
void HeadlessBackend::setListFlatScrollBars(WindowId w, int c, bool on) {
    if (ControlState* cs = control(w, c)) cs->flatScroll = on;
}

void HeadlessBackend::userTypeChar(WindowId w, int c, unsigned char ch) {
    ControlState* cs = control(w, c);
    WindowState* ws = find(w);
    if (!cs || !cs->enabled || !cs->visible || !ws->enabled) return;
    if (cs->layout->kind != ControlKind::EditBox) return;
    moveFocus(*ws, c);
    if (!editAcceptsChar(*cs->layout, cs->text, cs->selectedBytes, ch)) return;
    if (ch == '\b') {
        if (cs->selectedBytes > 0)
            cs->text.erase(0, cs->selectedBytes);
        else if (!cs->text.empty())
            cs->text.pop_back();
        else
            return;
    } else if (ch < 0x20) {
        return;
    } else {
        // The caret sits at the end; a selection (always from the start here) is replaced.
        if (cs->selectedBytes > 0)
            cs->text = static_cast<char>(ch) + cs->text.substr(cs->selectedBytes);
        else
            cs->text += static_cast<char>(ch);
    }
    cs->selectedBytes = 0;
    ws->sink->controlEvent(c, ControlEvent::TextChanged);
    runPosted();
}

void HeadlessBackend::userStepUpDown(WindowId w, int c, bool up) {
    ControlState* cs = control(w, c);
    WindowState* ws = find(w);
    if (!cs || !cs->layout->upDown || !cs->enabled || !cs->visible || !ws->enabled) return;
    cs->text = upDownStep(cs->text, up, cs->layout->upDownMin, cs->layout->upDownMax);
    ws->sink->controlEvent(c, ControlEvent::TextChanged);
    if ((cs = control(w, c))) {
        cs->selectedBytes = static_cast<int>(cs->text.size());
        moveFocus(*find(w), c);
    }
    runPosted();
}

void HeadlessBackend::userChooseItem(WindowId w, int c, int index) {
    ControlState* cs = control(w, c);
    WindowState* ws = find(w);
    if (!cs || !cs->enabled || !cs->visible || !ws->enabled) return;
    if (index < 0 || index >= static_cast<int>(cs->layout->items.size())) return;
    cs->selected = index;
    post([this, w, c] {
        if (WindowState* s = find(w)) s->sink->controlEvent(c, ControlEvent::ItemSelected);
    });
    runPosted();
}

void HeadlessBackend::userClick(WindowId w, int c) {
    ControlState* cs = control(w, c);
    WindowState* ws = find(w);
    if (!cs || !cs->enabled || !cs->visible || !ws->enabled || !ws->visible) return;
    if (cs->layout->kind == ControlKind::ImageButton)
        ws->sink->controlEvent(c, ControlEvent::Clicked);
    runPosted();
}

void HeadlessBackend::userFocus(WindowId w, int c) {
    setFocus(w, c);
    runPosted();
}

void HeadlessBackend::userPressEscape(WindowId w) {
    WindowState* ws = find(w);
    if (!ws || !ws->enabled) return;
    if (ws->layout->escCloses) userSystemClose(w);
}

void HeadlessBackend::userSystemClose(WindowId w) {
    WindowState* ws = find(w);
    if (!ws || !ws->enabled) return;
    requestDestroy(w);
    runPosted();
}

void HeadlessBackend::userTrayMessage(WindowId w, unsigned mouseMessage) {
    WindowState* ws = find(w);
    if (!ws || !ws->tray) return;
    if (int v = trayEventValue(mouseMessage)) ws->sink->windowEvent(WindowEvent::Tray, v);
    runPosted();
}

void HeadlessBackend::userClickRow(WindowId w, int c, int row, bool doubleClick) {
    ControlState* cs = control(w, c);
    WindowState* ws = find(w);
    if (!cs || cs->layout->kind != ControlKind::ListView || !cs->enabled || !cs->visible ||
        !ws->enabled || !ws->visible)
        return;
    moveFocus(*ws, c);
    if ((cs = control(w, c))) {
        // A click below the rows clears the selection.
        bool onRow = row >= 0 && row < static_cast<int>(cs->rows.size());
        cs->selected = onRow ? row : -1;
        if (onRow && doubleClick) find(w)->sink->controlEvent(c, ControlEvent::ItemActivated);
    }
    runPosted();
}

void HeadlessBackend::userPressEnter(WindowId w, int c) {
    ControlState* cs = control(w, c);
    WindowState* ws = find(w);
    if (!cs || !cs->enabled || !ws->enabled) return;
    moveFocus(*ws, c);
    if ((cs = control(w, c)) && cs->layout->kind == ControlKind::ListView && cs->selected >= 0)
        find(w)->sink->controlEvent(c, ControlEvent::ItemActivated);
    runPosted();
}

void HeadlessBackend::userAnswerNextFileDialog(const std::string& answer, FileDialogSeen* seen) {
    dialogAnswer_ = answer;
    dialogSeen_ = seen;
    if (seen) *seen = FileDialogSeen{};
}

}  // namespace ui
