#include "ui/win32/win32_backend.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shellapi.h>
#include <windowsx.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "ui/art.h"
#include "ui/rules.h"
#include "ui/win32/art.h"
#include "ui/win32/gdi.h"
#include "ui/win32/text.h"

namespace ui {

using namespace win32;

namespace {

constexpr UINT kDestroyMessage = WM_APP + 1;   // queued destruction
constexpr UINT kSelectedMessage = WM_APP + 2;  // list item selected, posted from CBN_SELENDOK
constexpr UINT_PTR kTimerId = 1000;
constexpr UINT_PTR kBalloonTimerId = 0x7A11;
constexpr int kFirstControlId = 100;

const wchar_t kWindowClass[] = L"LanlingWindow";
const wchar_t kOwnerClass[] = L"LanlingOwner";
const wchar_t kTransparentClass[] = L"LanlingTransparentLabel";
const wchar_t kLabelClass[] = L"LanlingLabel";
const wchar_t kButtonClass[] = L"LanlingImageButton";
const wchar_t kPictureClass[] = L"LanlingPictureBox";
const wchar_t kTimerClass[] = L"LanlingTimer";

RECT toRECT(const Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

std::string fontKey(const Font& f) {
    return f.guiFont ? std::string("<gui>")
                     : f.face + "/" + std::to_string(f.height) + "/" + std::to_string(f.weight);
}

}  // namespace

struct W32Window;

struct W32Control {
    W32Window* win = nullptr;
    int index = 0;
    const ControlSpec* layout = nullptr;
    HWND hwnd = nullptr;
    HWND updown = nullptr;
    HWND tip = nullptr;
    std::string text;  // caption of the custom controls, kept as GBK; an edit box's last text
    HFONT font = nullptr;
    Brush back;
    Picture picture = Picture::None;
    IconHandle icon;  // picture box showing the program icon
    bool wordWrap = false;
    bool hot = false, pressed = false;
    TimerSchedule timer;
};

struct W32Window {
    Win32Backend::Impl* impl = nullptr;
    WindowId id = 0;
    const WindowSpec* layout = nullptr;
    WindowSink* sink = nullptr;
    HWND hwnd = nullptr;
    std::vector<std::unique_ptr<W32Control>> controls;
    std::map<std::string, FontHandle> fonts;
    int quietPlacement = 0;  // >0: WM_MOVE/WM_SIZE raise no event
    int quietChange = 0;     // >0: EN_CHANGE raises no event (the model raises its own)
    bool destroyQueued = false, destroying = false;
    IconHandle trayIcon;
    bool tray = false;
    std::wstring trayTip;

    W32Control* controlById(int controlId) {
        int i = controlId - kFirstControlId;
        return i >= 0 && i < static_cast<int>(controls.size()) ? controls[i].get() : nullptr;
    }
    W32Control* controlByHwnd(HWND h) {
        for (auto& c : controls)
            if (c->hwnd == h || (c->updown && c->updown == h)) return c.get();
        return nullptr;
    }
};

struct Win32Backend::Impl {
    Win32Backend* self = nullptr;
    std::map<WindowId, std::unique_ptr<W32Window>> windows;
    WindowId nextId = 1;
    HWND owner = nullptr;
    UINT taskbarCreated = 0;
    bool quitSeen = false;
    LARGE_INTEGER frequency{};

    W32Window* find(WindowId w) const {
        auto it = windows.find(w);
        return it == windows.end() ? nullptr : it->second.get();
    }
    W32Control* control(WindowId w, int c) const {
        W32Window* win = find(w);
        if (!win || c < 0 || c >= static_cast<int>(win->controls.size())) return nullptr;
        return win->controls[c].get();
    }
    std::int64_t now() const {
        LARGE_INTEGER t;
        QueryPerformanceCounter(&t);
        return t.QuadPart * 1000 / frequency.QuadPart;
    }

    HFONT fontFor(W32Window& w, const Font& f);
    void createControl(W32Window& w, W32Control& c);
    void setEditText(W32Control& c, const std::string& t);
    void stepUpDown(W32Control& field, bool up);
    void armTimer(W32Control& c);
    void applyTray(W32Window& w, DWORD message);
    void removeTray(W32Window& w);
    void endSession();
    bool preTranslate(MSG& msg);
    void dispatch(MSG& msg);
    LRESULT windowProc(W32Window& w, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

// ---------------------------------------------------------------------------------------------
// Painting

namespace {

void paintBackground(const W32Window& w, HDC dc, const RECT& area) {
    COLORREF base = w.layout->hasBackColor ? w.layout->backColor : GetSysColor(COLOR_BTNFACE);
    Brush brush(CreateSolidBrush(base));
    FillRect(dc, &area, brush.get());
    HBITMAP bmp = pictureBitmap(w.layout->background);
    if (!bmp) return;
    SIZE sz = pictureSize(w.layout->background);
    if (sz.cx <= 0 || sz.cy <= 0) return;
    MemoryDc mem(CreateCompatibleDC(dc));
    Select sel(mem.get(), bmp);
    // Tiled from the top-left corner, so the edges beyond the picture repeat its start.
    for (int y = (area.top / sz.cy) * sz.cy; y < area.bottom; y += sz.cy)
        for (int x = (area.left / sz.cx) * sz.cx; x < area.right; x += sz.cx)
            BitBlt(dc, x, y, sz.cx, sz.cy, mem.get(), 0, 0, SRCCOPY);
}

UINT textFlags(const W32Control& c) {
    UINT f = DT_NOPREFIX;
    f |= c.layout->hAlign == HAlign::Center  ? DT_CENTER
         : c.layout->hAlign == HAlign::Right ? DT_RIGHT
                                             : DT_LEFT;
    if (c.wordWrap) return f | DT_WORDBREAK | DT_TOP;
    f |= DT_SINGLELINE;
    switch (c.layout->vAlign) {
        case VAlign::Top:
            return f | DT_TOP;
        case VAlign::Bottom:
            return f | DT_BOTTOM;
        default:
            return f | DT_VCENTER;
    }
}

void drawLabelText(HDC dc, const W32Control& c, const RECT& r) {
    if (c.text.empty()) return;
    Select font(dc, c.font);
    SetBkMode(dc, TRANSPARENT);
    std::wstring t = widen(c.text);
    UINT flags = textFlags(c);
    auto draw = [&](int dx, int dy, COLORREF color) {
        RECT q = r;
        OffsetRect(&q, dx, dy);
        SetTextColor(dc, color);
        DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &q, flags);
    };
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0);
    switch (c.layout->effect) {
        case TextEffect::Engraved:
            draw(1, 1, white);
            draw(0, 0, c.layout->textColor);
            break;
        case TextEffect::Embossed:
            draw(0, 0, white);
            draw(1, 1, c.layout->textColor);
            break;
        case TextEffect::Shadow:
            draw(2, 2, black);
            draw(0, 0, c.layout->textColor);
            break;
        case TextEffect::None:
            draw(0, 0, c.layout->textColor);
            break;
    }
}

// The parent's background and every transparent label over this area, so that overlapping
// transparent labels all show.
void paintTransparent(const W32Control& self, HDC dc) {
    RECT client;
    GetClientRect(self.hwnd, &client);
    int cx = client.right, cy = client.bottom;
    if (cx <= 0 || cy <= 0) return;
    MemoryDc mem(CreateCompatibleDC(dc));
    BitmapHandle bmp(CreateCompatibleBitmap(dc, cx, cy));
    Select sel(mem.get(), bmp.get());
    const Rect& at = self.layout->rect;
    SetViewportOrgEx(mem.get(), -at.left, -at.top, nullptr);
    RECT area = toRECT(at);
    paintBackground(*self.win, mem.get(), area);
    for (const auto& other : self.win->controls) {
        if (other->layout->kind != ControlKind::TransparentLabel || !other->hwnd) continue;
        if (!IsWindowVisible(other->hwnd) || !other->layout->rect.intersects(at)) continue;
        drawLabelText(mem.get(), *other, toRECT(other->layout->rect));
    }
    SetViewportOrgEx(mem.get(), 0, 0, nullptr);
    BitBlt(dc, 0, 0, cx, cy, mem.get(), 0, 0, SRCCOPY);
}

void fillGradient(HDC dc, const RECT& r, const std::vector<Color>& stops, bool vertical) {
    int length = vertical ? r.bottom - r.top : r.right - r.left;
    if (length <= 0 || stops.empty()) return;
    int segments = static_cast<int>(stops.size()) - 1;
    for (int i = 0; i < length; ++i) {
        double pos = length > 1 ? static_cast<double>(i) / (length - 1) * segments : 0.0;
        int s = std::min(static_cast<int>(pos), std::max(0, segments - 1));
        double f = segments > 0 ? pos - s : 0.0;
        Color a = stops[s], b = stops[std::min(s + 1, segments)];
        auto mix = [f](int x, int y) { return static_cast<int>(x + (y - x) * f + 0.5); };
        Brush br(CreateSolidBrush(
            RGB(mix(redOf(a), redOf(b)), mix(greenOf(a), greenOf(b)), mix(blueOf(a), blueOf(b)))));
        RECT line = vertical ? RECT{r.left, r.top + i, r.right, r.top + i + 1}
                             : RECT{r.left + i, r.top, r.left + i + 1, r.bottom};
        FillRect(dc, &line, br.get());
    }
}

void paintLabel(const W32Control& c, HDC dc) {
    RECT r;
    GetClientRect(c.hwnd, &r);
    if (!c.layout->gradient.empty()) {
        fillGradient(dc, r, c.layout->gradient, c.layout->gradientVertical);
    } else if (HBITMAP bmp = pictureBitmap(c.picture)) {
        MemoryDc mem(CreateCompatibleDC(dc));
        Select sel(mem.get(), bmp);
        BitBlt(dc, 0, 0, r.right, r.bottom, mem.get(), 0, 0, SRCCOPY);
    } else {
        Brush br(CreateSolidBrush(c.layout->hasBackColor ? c.layout->backColor
                                                         : GetSysColor(COLOR_BTNFACE)));
        FillRect(dc, &r, br.get());
    }
    drawLabelText(dc, c, r);
}

void paintButton(const W32Control& c, HDC dc) {
    RECT r;
    GetClientRect(c.hwnd, &r);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    bool enabled = IsWindowEnabled(c.hwnd);
    Picture p = enabled && c.hot && !c.pressed && c.layout->hotPicture != Picture::None
                    ? c.layout->hotPicture
                    : c.layout->picture;
    if (HBITMAP bmp = pictureBitmap(p)) {
        SIZE sz = pictureSize(p);
        MemoryDc mem(CreateCompatibleDC(dc));
        Select sel(mem.get(), bmp);
        BitBlt(dc, 0, 0, sz.cx, sz.cy, mem.get(), 0, 0, SRCCOPY);
    }
}

void paintPicture(W32Control& c, HDC dc) {
    RECT r;
    GetClientRect(c.hwnd, &r);
    Brush br(CreateSolidBrush(c.layout->hasBackColor ? c.layout->backColor
                                                     : GetSysColor(COLOR_BTNFACE)));
    FillRect(dc, &r, br.get());
    if (c.picture == Picture::AppIcon) {
        if (!c.icon) {
            const auto& ico = appIconData();
            c.icon.reset(iconFromIco(ico.data(), ico.size(), 16, 16));
        }
        // The 16 x 16 rendering, clipped to the box: sharper than squeezing it to 15 rows.
        if (c.icon) DrawIconEx(dc, 0, 0, c.icon.get(), 16, 16, 0, nullptr, DI_NORMAL);
    } else if (HBITMAP bmp = pictureBitmap(c.picture)) {
        MemoryDc mem(CreateCompatibleDC(dc));
        Select sel(mem.get(), bmp);
        BitBlt(dc, 0, 0, r.right, r.bottom, mem.get(), 0, 0, SRCCOPY);
    }
}

void startDrag(const W32Control& c) {
    if (!c.win->layout->dragMove) return;
    ReleaseCapture();
    POINT pt;
    GetCursorPos(&pt);
    PostMessageW(c.win->hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
}

void invalidateBelow(const W32Control& c) {
    // A transparent label is repainted from the parent's background up.
    RECT r = toRECT(c.layout->rect);
    RedrawWindow(c.win->hwnd, &r, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

LRESULT CALLBACK customProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* c = reinterpret_cast<W32Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!c) return DefWindowProcW(hwnd, msg, wp, lp);
    ControlKind kind = c->layout->kind;
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_GETFONT:  // for screen readers and automation, as the standard controls do
            return reinterpret_cast<LRESULT>(c->font);
        case WM_PAINT:
        case WM_PRINTCLIENT: {
            PAINTSTRUCT ps{};
            HDC dc = msg == WM_PAINT ? BeginPaint(hwnd, &ps) : reinterpret_cast<HDC>(wp);
            if (kind == ControlKind::TransparentLabel)
                paintTransparent(*c, dc);
            else if (kind == ControlKind::Label)
                paintLabel(*c, dc);
            else if (kind == ControlKind::ImageButton)
                paintButton(*c, dc);
            else if (kind == ControlKind::PictureBox)
                paintPicture(*c, dc);
            if (msg == WM_PAINT) EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
            if (kind == ControlKind::Label || kind == ControlKind::PictureBox) {
                startDrag(*c);
                return 0;
            }
            if (kind == ControlKind::ImageButton) {
                c->pressed = true;
                c->hot = true;
                if (GetCapture() != hwnd) SetCapture(hwnd);
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
        case WM_MOUSEMOVE:
            if (kind == ControlKind::ImageButton) {
                RECT r;
                GetClientRect(hwnd, &r);
                POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                bool over = PtInRect(&r, pt) != 0;
                if (over && !c->hot) {
                    c->hot = true;
                    if (GetCapture() != hwnd) SetCapture(hwnd);
                    InvalidateRect(hwnd, nullptr, FALSE);
                } else if (!over && c->hot) {
                    c->hot = false;
                    if (!c->pressed) ReleaseCapture();
                    InvalidateRect(hwnd, nullptr, FALSE);
                }
            }
            return 0;
        case WM_LBUTTONUP:
            if (kind == ControlKind::ImageButton && c->pressed) {
                RECT r;
                GetClientRect(hwnd, &r);
                POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
                bool over = PtInRect(&r, pt) != 0;
                c->pressed = false;
                c->hot = over;
                if (!over) ReleaseCapture();
                InvalidateRect(hwnd, nullptr, FALSE);
                W32Window* win = c->win;
                int index = c->index;
                if (over && IsWindowEnabled(hwnd) && !win->destroying) {
                    // The click may open a modal window: let go of the mouse first.
                    ReleaseCapture();
                    c->hot = false;
                    win->sink->controlEvent(index, ControlEvent::Clicked);
                }
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (kind == ControlKind::ImageButton && reinterpret_cast<HWND>(lp) != hwnd &&
                (c->hot || c->pressed)) {
                c->hot = c->pressed = false;
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
        case WM_ENABLE:
            if (kind == ControlKind::ImageButton) {
                c->hot = c->pressed = false;
                InvalidateRect(hwnd, nullptr, FALSE);
            }
            return 0;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK timerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* c = reinterpret_cast<W32Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_TIMER && wp == kTimerId && c && c->timer.period > 0) {
        W32Window* win = c->win;
        win->impl->armTimer(*c);
        if (!win->destroying) win->sink->controlEvent(c->index, ControlEvent::Tick);
        return 0;
    }
    if (msg == WM_NCDESTROY) {
        KillTimer(hwnd, kTimerId);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK editSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* c = reinterpret_cast<W32Control*>(ref);
    if (msg == WM_CHAR && c->layout->input == InputMode::Integer &&
        !integerInputAccepts(static_cast<unsigned>(wp)))
        return 0;  // dropped without a sound
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, editSubclass, 0);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK cursorSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                DWORD_PTR ref) {
    auto* c = reinterpret_cast<W32Control*>(ref);
    if (msg == WM_SETCURSOR && c->layout->cursor != Cursor::Arrow) {
        SetCursor(LoadCursorW(nullptr, c->layout->cursor == Cursor::Hand ? IDC_HAND : IDC_CROSS));
        return TRUE;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, cursorSubclass, id);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK balloonSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                 DWORD_PTR ref) {
    if (msg == WM_TIMER && wp == kBalloonTimerId) {
        KillTimer(hwnd, kBalloonTimerId);
        auto* c = reinterpret_cast<W32Control*>(ref);
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = c->win->hwnd;
        ti.uId = 1;
        SendMessageW(hwnd, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&ti));
        return 0;
    }
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, balloonSubclass, 0);
    return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK topProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        auto* w = static_cast<W32Window*>(cs->lpCreateParams);
        w->hwnd = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
    }
    auto* w = reinterpret_cast<W32Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!w) return DefWindowProcW(hwnd, msg, wp, lp);
    return w->impl->windowProc(*w, hwnd, msg, wp, lp);
}

void registerClasses() {
    static bool done = false;
    if (done) return;
    done = true;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.hInstance = inst;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpfnWndProc = topProc;
    wc.lpszClassName = kWindowClass;
    wc.style = CS_DBLCLKS;
    wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(1));
    RegisterClassExW(&wc);
    wc.hIcon = nullptr;
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = kOwnerClass;
    RegisterClassExW(&wc);
    wc.style = 0;
    wc.lpfnWndProc = customProc;
    for (const wchar_t* name : {kTransparentClass, kLabelClass, kButtonClass, kPictureClass}) {
        wc.lpszClassName = name;
        RegisterClassExW(&wc);
    }
    wc.lpfnWndProc = timerProc;
    wc.lpszClassName = kTimerClass;
    RegisterClassExW(&wc);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Creation

HFONT Win32Backend::Impl::fontFor(W32Window& w, const Font& f) {
    if (f.guiFont) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    auto key = fontKey(f);
    auto it = w.fonts.find(key);
    if (it != w.fonts.end()) return it->second.get();
    LOGFONTW lf{};
    lf.lfHeight = -f.height;
    lf.lfWeight = f.weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = PROOF_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    std::wstring face = widen(f.face);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    HFONT h = CreateFontIndirectW(&lf);
    w.fonts.emplace(key, FontHandle(h));
    return h;
}

void Win32Backend::Impl::createControl(W32Window& w, W32Control& c) {
    const ControlSpec& s = *c.layout;
    HINSTANCE inst = GetModuleHandleW(nullptr);
    const Rect& r = s.rect;
    HMENU id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + c.index));
    DWORD vis = s.visible ? WS_VISIBLE : 0;
    DWORD dis = s.enabled ? 0 : WS_DISABLED;
    c.font = fontFor(w, s.font);
    if (s.hasBackColor) c.back.reset(CreateSolidBrush(s.backColor));
    std::wstring text = widen(s.text);
    switch (s.kind) {
        case ControlKind::TransparentLabel:
        case ControlKind::Label:
        case ControlKind::PictureBox:
        case ControlKind::ImageButton: {
            const wchar_t* cls = s.kind == ControlKind::TransparentLabel ? kTransparentClass
                                 : s.kind == ControlKind::Label          ? kLabelClass
                                 : s.kind == ControlKind::PictureBox     ? kPictureClass
                                                                         : kButtonClass;
            DWORD style = WS_CHILD | vis | dis;
            if (s.border == Border::Single) style |= WS_BORDER;
            c.hwnd = CreateWindowExW(s.border == Border::Sunken ? WS_EX_CLIENTEDGE : 0, cls,
                                     text.c_str(), style, r.left, r.top, r.width(), r.height(),
                                     w.hwnd, id, inst, &c);
            if (s.cursor != Cursor::Arrow)
                SetWindowSubclass(c.hwnd, cursorSubclass, 0, reinterpret_cast<DWORD_PTR>(&c));
            break;
        }
        case ControlKind::EditBox: {
            DWORD style = WS_CHILD | vis | dis | WS_TABSTOP | ES_AUTOHSCROLL;
            style |= s.hAlign == HAlign::Center  ? ES_CENTER
                     : s.hAlign == HAlign::Right ? ES_RIGHT
                                                 : ES_LEFT;
            if (s.input == InputMode::ReadOnly) style |= ES_READONLY;
            if (s.border == Border::Single) style |= WS_BORDER;
            DWORD ex = s.border == Border::Sunken ? WS_EX_CLIENTEDGE : 0;
            c.hwnd = CreateWindowExW(ex, L"EDIT", text.c_str(), style, r.left, r.top, r.width(),
                                     r.height(), w.hwnd, id, inst, nullptr);
            SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
            if (s.maxLength > 0) SendMessageW(c.hwnd, EM_LIMITTEXT, s.maxLength, 0);
            // The time fields are 20 pixels wide: the font's default margins would hide a digit.
            SendMessageW(c.hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(0, 0));
            SetWindowSubclass(c.hwnd, editSubclass, 0, reinterpret_cast<DWORD_PTR>(&c));
            if (s.upDown) {
                const Rect& u = s.upDownRect;
                c.updown =
                    CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | vis | dis, u.left, u.top,
                                    u.width(), u.height(), w.hwnd, nullptr, inst, nullptr);
                SendMessageW(c.updown, UDM_SETRANGE32, s.upDownMin, s.upDownMax);
            }
            break;
        }
        case ControlKind::DropDownList: {
            DWORD style = WS_CHILD | vis | dis | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST |
                          CBS_OWNERDRAWFIXED | CBS_HASSTRINGS;
            int height = std::max(r.height(), s.dropHeight);
            c.hwnd = CreateWindowExW(0, L"COMBOBOX", L"", style, r.left, r.top, r.width(), height,
                                     w.hwnd, id, inst, nullptr);
            SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
            for (const auto& item : s.items)
                SendMessageW(c.hwnd, CB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(widen(item).c_str()));
            SendMessageW(c.hwnd, CB_SETCURSEL, s.selected, 0);
            // The closed field keeps the design height whatever the font's height.
            SendMessageW(c.hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                         std::max(1, r.height() - 6));
            SetWindowSubclass(c.hwnd, cursorSubclass, 0, reinterpret_cast<DWORD_PTR>(&c));
            COMBOBOXINFO info{};
            info.cbSize = sizeof info;
            if (GetComboBoxInfo(c.hwnd, &info) && info.hwndList)
                SetWindowSubclass(info.hwndList, cursorSubclass, 1,
                                  reinterpret_cast<DWORD_PTR>(&c));
            break;
        }
        case ControlKind::Timer:
            c.hwnd =
                CreateWindowExW(0, kTimerClass, L"", WS_CHILD, 0, 0, 0, 0, w.hwnd, id, inst, &c);
            if (s.period > 0) {
                c.timer.begin(now(), s.period);
                SetTimer(c.hwnd, kTimerId, static_cast<UINT>(s.period), nullptr);
            }
            break;
        case ControlKind::ListView: {
            DWORD style =
                WS_CHILD | vis | dis | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL;
            c.hwnd = CreateWindowExW(0, WC_LISTVIEWW, L"", style, r.left, r.top, r.width(),
                                     r.height(), w.hwnd, id, inst, nullptr);
            SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(c.font), FALSE);
            ListView_SetExtendedListViewStyle(
                c.hwnd, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES);
            ListView_SetTextColor(c.hwnd, s.textColor);
            ListView_SetTextBkColor(c.hwnd, s.listBackColor);
            ListView_SetBkColor(c.hwnd, s.listBackColor);
            for (size_t i = 0; i < s.columns.size(); ++i) {
                std::wstring title = widen(s.columns[i].title);
                LVCOLUMNW col{};
                col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
                col.fmt = LVCFMT_LEFT;
                col.cx = s.columns[i].width;
                col.pszText = title.data();
                SendMessageW(c.hwnd, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
            }
            // The labels standing in for its header row stay above it.
            SetWindowPos(c.hwnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            break;
        }
        case ControlKind::FileDialog:
        case ControlKind::BalloonTip:
            break;
    }
}

Win32Backend::Win32Backend() : impl_(std::make_unique<Impl>()) {
    impl_->self = this;
    QueryPerformanceFrequency(&impl_->frequency);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES |
                                             ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&icc);
    registerClasses();
    impl_->taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    // Windows owned by this one get no taskbar button.
    impl_->owner = CreateWindowExW(0, kOwnerClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
}

Win32Backend::~Win32Backend() {
    std::vector<WindowId> ids;
    for (auto& [id, w] : impl_->windows) ids.push_back(id);
    for (WindowId id : ids) destroyNow(id);
    if (impl_->owner) DestroyWindow(impl_->owner);
}

HWND Win32Backend::hwndOf(WindowId w) const {
    W32Window* win = impl_->find(w);
    return win ? win->hwnd : nullptr;
}
HWND Win32Backend::controlHwnd(WindowId w, int c) const {
    W32Control* ctl = impl_->control(w, c);
    return ctl ? ctl->hwnd : nullptr;
}

WindowId Win32Backend::createWindow(const WindowSpec& layout, WindowSink& sink) {
    auto win = std::make_unique<W32Window>();
    W32Window& w = *win;
    w.impl = impl_.get();
    w.id = impl_->nextId++;
    w.layout = &layout;
    w.sink = &sink;
    for (size_t i = 0; i < layout.controls.size(); ++i) {
        auto c = std::make_unique<W32Control>();
        c->win = &w;
        c->index = static_cast<int>(i);
        c->layout = &layout.controls[i];
        c->text = c->layout->text;
        c->picture = c->layout->picture;
        c->wordWrap = c->layout->vAlign == VAlign::WordWrap;
        w.controls.push_back(std::move(c));
    }
    impl_->windows[w.id] = std::move(win);

    DWORD style = WS_POPUP | WS_CLIPCHILDREN;
    if (layout.minimizeBox) style |= WS_MINIMIZEBOX | WS_SYSMENU;
    DWORD ex = layout.topmost ? WS_EX_TOPMOST : 0;
    if (layout.inTaskbar) ex |= WS_EX_APPWINDOW;
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    int left = (sw - layout.width) / 2, top = (sh - layout.height) / 2;
    ++w.quietPlacement;
    CreateWindowExW(ex, kWindowClass, widen(layout.title).c_str(), style, left, top, layout.width,
                    layout.height, layout.inTaskbar ? nullptr : impl_->owner, nullptr,
                    GetModuleHandleW(nullptr), &w);
    if (w.hwnd)
        for (auto& c : w.controls) impl_->createControl(w, *c);
    --w.quietPlacement;
    if (!w.hwnd) {
        impl_->windows.erase(w.id);
        return 0;
    }
    return w.id;
}

bool Win32Backend::exists(WindowId w) const {
    return impl_->find(w) != nullptr;
}

void Win32Backend::requestDestroy(WindowId id) {
    W32Window* w = impl_->find(id);
    if (!w || w->destroyQueued) return;
    w->destroyQueued = true;
    PostMessageW(w->hwnd, kDestroyMessage, 0, 0);
}

void Win32Backend::destroyNow(WindowId id) {
    if (W32Window* w = impl_->find(id)) DestroyWindow(w->hwnd);
}

// ---------------------------------------------------------------------------------------------
// The queue

bool Win32Backend::Impl::preTranslate(MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    auto* w = top ? reinterpret_cast<W32Window*>(GetWindowLongPtrW(top, GWLP_USERDATA)) : nullptr;
    if (!w) return false;
    wchar_t cls[32] = {};
    GetClassNameW(top, cls, 32);
    if (wcscmp(cls, kWindowClass) != 0) return false;
    if (msg.wParam == VK_ESCAPE) {
        if (!w->layout->escCloses || !IsWindowEnabled(top)) return false;
        // A dropped-down list or a control that wants Esc takes the key itself.
        HWND focus = GetFocus();
        for (HWND h = focus; h && h != top; h = GetParent(h)) {
            wchar_t name[32] = {};
            GetClassNameW(h, name, 32);
            if (_wcsicmp(name, L"COMBOBOX") == 0 && SendMessageW(h, CB_GETDROPPEDSTATE, 0, 0))
                return false;
        }
        if (focus && focus != top &&
            (SendMessageW(focus, WM_GETDLGCODE, VK_ESCAPE, reinterpret_cast<LPARAM>(&msg)) &
             (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)))
            return false;
        SendMessageW(top, WM_CLOSE, 0, 0);
        return true;
    }
    if (msg.wParam == VK_TAB) {
        bool back = GetKeyState(VK_SHIFT) < 0;
        if (HWND next = GetNextDlgTabItem(top, GetFocus(), back)) SetFocus(next);
        return true;
    }
    return false;
}

void Win32Backend::Impl::dispatch(MSG& msg) {
    if (preTranslate(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Win32Backend::pump(int milliseconds) {
    std::int64_t end = impl_->now() + std::max(0, milliseconds);
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                impl_->quitSeen = true;
                continue;
            }
            impl_->dispatch(msg);
        }
        std::int64_t left = end - impl_->now();
        if (left <= 0) break;
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
    }
}

std::int64_t Win32Backend::nowMs() const {
    return impl_->now();
}

int Win32Backend::runMessageLoop() {
    // No window (none could be made, or all have gone): nothing would ever end the loop.
    if (impl_->quitSeen || impl_->windows.empty()) return 0;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) impl_->dispatch(msg);
    impl_->quitSeen = true;
    return static_cast<int>(msg.wParam);
}

void Win32Backend::runModal(WindowId id) {
    W32Window* w = impl_->find(id);
    if (!w) return;
    std::vector<HWND> disabled;
    for (auto& [other, ow] : impl_->windows)
        if (other != id && IsWindowEnabled(ow->hwnd)) {
            EnableWindow(ow->hwnd, FALSE);
            disabled.push_back(ow->hwnd);
        }
    MSG msg;
    while (exists(id)) {
        BOOL r = GetMessageW(&msg, nullptr, 0, 0);
        if (r <= 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        impl_->dispatch(msg);
    }
    for (HWND h : disabled)
        if (IsWindow(h)) EnableWindow(h, TRUE);
}

// ---------------------------------------------------------------------------------------------
// The window procedure

void Win32Backend::Impl::removeTray(W32Window& w) {
    if (!w.tray) return;
    NOTIFYICONDATAW nid{};
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = w.hwnd;
    nid.uID = kTrayIconId;
    Shell_NotifyIconW(NIM_DELETE, &nid);
    w.tray = false;
    w.trayIcon.reset();
}

void Win32Backend::Impl::applyTray(W32Window& w, DWORD message) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = NOTIFYICONDATAW_V1_SIZE;
    nid.hWnd = w.hwnd;
    nid.uID = kTrayIconId;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = kTrayCallbackMessage;
    nid.hIcon = w.trayIcon.get();
    wcsncpy(nid.szTip, w.trayTip.c_str(), 63);
    Shell_NotifyIconW(message, &nid);
}

void Win32Backend::Impl::endSession() {
    std::vector<HWND> all;
    for (auto& [id, w] : windows) all.push_back(w->hwnd);
    for (HWND h : all)
        if (IsWindow(h)) DestroyWindow(h);
    if (self->onSessionEnd) self->onSessionEnd();
}

void Win32Backend::Impl::stepUpDown(W32Control& field, bool up) {
    if (!IsWindowEnabled(field.hwnd) || !IsWindowVisible(field.hwnd)) return;
    W32Window* w = field.win;
    std::string next =
        upDownStep(windowText(field.hwnd), up, field.layout->upDownMin, field.layout->upDownMax);
    setEditText(field, next);
    w->sink->controlEvent(field.index, ControlEvent::TextChanged);
    if (IsWindow(field.hwnd)) {
        SendMessageW(field.hwnd, EM_SETSEL, 0, -1);
        SetFocus(field.hwnd);
    }
}

void Win32Backend::Impl::setEditText(W32Control& c, const std::string& t) {
    ++c.win->quietChange;
    SetWindowTextW(c.hwnd, widen(t).c_str());
    --c.win->quietChange;
    c.text = windowText(c.hwnd);
}

void Win32Backend::Impl::armTimer(W32Control& c) {
    std::int64_t t = now();
    std::int64_t next = c.timer.advance(t);
    std::int64_t delay = std::max<std::int64_t>(USER_TIMER_MINIMUM, next - t);
    SetTimer(c.hwnd, kTimerId, static_cast<UINT>(delay), nullptr);
}

LRESULT Win32Backend::Impl::windowProc(W32Window& w, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == taskbarCreated && taskbarCreated) {
        // Explorer restarted: the icon must be added again or the window can't be reached.
        if (w.tray) applyTray(w, NIM_ADD);
        return 0;
    }
    switch (msg) {
        case WM_ERASEBKGND: {
            RECT r;
            GetClientRect(hwnd, &r);
            paintBackground(w, reinterpret_cast<HDC>(wp), r);
            return 1;
        }
        case WM_PAINT:
        case WM_PRINTCLIENT: {
            PAINTSTRUCT ps{};
            HDC dc = msg == WM_PAINT ? BeginPaint(hwnd, &ps) : reinterpret_cast<HDC>(wp);
            RECT r;
            GetClientRect(hwnd, &r);
            paintBackground(w, dc, msg == WM_PAINT ? ps.rcPaint : r);
            if (msg == WM_PAINT) EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_LBUTTONDOWN:
            if (w.layout->dragMove) {
                POINT pt;
                GetCursorPos(&pt);
                PostMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(pt.x, pt.y));
            }
            return 0;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX: {
            W32Control* c = w.controlByHwnd(reinterpret_cast<HWND>(lp));
            if (c && c->back) {
                HDC dc = reinterpret_cast<HDC>(wp);
                SetTextColor(dc, c->layout->textColor);
                SetBkColor(dc, c->layout->backColor);
                return reinterpret_cast<LRESULT>(c->back.get());
            }
            break;
        }
        case WM_MEASUREITEM: {
            auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
            W32Control* c = w.controlById(static_cast<int>(mi->CtlID));
            if (!c || mi->CtlType != ODT_COMBOBOX) break;
            HDC dc = GetDC(hwnd);
            TEXTMETRICW tm{};
            {
                Select f(dc, c->font);
                GetTextMetricsW(dc, &tm);
            }
            ReleaseDC(hwnd, dc);
            // Items one pixel taller than the font needs; the closed field fills the design height.
            int item = tm.tmHeight + 1;
            if (static_cast<int>(mi->itemID) == -1)
                mi->itemHeight = std::max(1, c->layout->rect.height() - 6);
            else
                mi->itemHeight = item;
            return TRUE;
        }
        case WM_DRAWITEM: {
            auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
            W32Control* c = w.controlById(static_cast<int>(di->CtlID));
            if (!c || di->CtlType != ODT_COMBOBOX) break;
            bool selected = (di->itemState & ODS_SELECTED) && !(di->itemState & ODS_COMBOBOXEDIT);
            COLORREF back = selected ? RGB(98, 98, 90) : c->layout->backColor;
            Brush br(CreateSolidBrush(back));
            FillRect(di->hDC, &di->rcItem, br.get());
            if (static_cast<int>(di->itemID) >= 0) {
                int n =
                    static_cast<int>(SendMessageW(di->hwndItem, CB_GETLBTEXTLEN, di->itemID, 0));
                std::wstring t(static_cast<size_t>(std::max(n, 0)) + 1, L'\0');
                SendMessageW(di->hwndItem, CB_GETLBTEXT, di->itemID,
                             reinterpret_cast<LPARAM>(t.data()));
                t.resize(static_cast<size_t>(std::max(n, 0)));
                Select f(di->hDC, c->font);
                SetBkMode(di->hDC, TRANSPARENT);
                SetTextColor(di->hDC, IsWindowEnabled(di->hwndItem) ? c->layout->textColor
                                                                    : RGB(150, 150, 150));
                RECT r = di->rcItem;
                r.left += 2;
                DrawTextW(di->hDC, t.c_str(), static_cast<int>(t.size()), &r,
                          DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
            }
            if ((di->itemState & ODS_FOCUS) && !(di->itemState & ODS_NOFOCUSRECT))
                DrawFocusRect(di->hDC, &di->rcItem);
            return TRUE;
        }
        case WM_COMMAND: {
            W32Control* c = w.controlById(LOWORD(wp));
            if (!c || w.destroying || reinterpret_cast<HWND>(lp) != c->hwnd) break;
            switch (HIWORD(wp)) {
                case EN_CHANGE: {
                    // Some edit controls notify a refused keystroke too; only a real change
                    // of the text counts.
                    std::string now = windowText(c->hwnd);
                    if (w.quietChange || now == c->text) return 0;
                    c->text = now;
                    w.sink->controlEvent(c->index, ControlEvent::TextChanged);
                    return 0;
                }
                case EN_SETFOCUS:
                    w.sink->controlEvent(c->index, ControlEvent::GotFocus);
                    return 0;
                case EN_KILLFOCUS:
                    w.sink->controlEvent(c->index, ControlEvent::LostFocus);
                    return 0;
                case CBN_SELENDOK:
                    // Delivered after the list has closed and taken the new selection.
                    PostMessageW(hwnd, kSelectedMessage, c->index, 0);
                    return 0;
            }
            break;
        }
        case kSelectedMessage:
            if (!w.destroying)
                w.sink->controlEvent(static_cast<int>(wp), ControlEvent::ItemSelected);
            return 0;
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lp);
            W32Control* c = w.controlByHwnd(hdr->hwndFrom);
            if (!c || w.destroying) break;
            if (hdr->code == UDN_DELTAPOS && c->updown == hdr->hwndFrom) {
                auto* ud = reinterpret_cast<NMUPDOWN*>(lp);
                stepUpDown(*c, ud->iDelta > 0);
                return TRUE;  // the field holds the value, not the up-down control
            }
            if (hdr->code == LVN_ITEMACTIVATE && c->hwnd == hdr->hwndFrom) {
                w.sink->controlEvent(c->index, ControlEvent::ItemActivated);
                return 0;
            }
            break;
        }
        case WM_MOVE:
            if (!w.quietPlacement) w.sink->windowEvent(WindowEvent::Moved, 0);
            return 0;
        case WM_SIZE:
            if (!w.quietPlacement) w.sink->windowEvent(WindowEvent::Sized, 0);
            return 0;
        case kTrayCallbackMessage:
            if (int v = trayEventValue(static_cast<unsigned>(lp)))
                w.sink->windowEvent(WindowEvent::Tray, v);
            return 0;
        case WM_CLOSE:
            self->requestDestroy(w.id);
            return 0;
        case kDestroyMessage:
            DestroyWindow(hwnd);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;  // never hold up a shutdown or log-off
        case WM_ENDSESSION:
            if (wp) endSession();
            return 0;
        case WM_DESTROY:
            w.destroying = true;
            w.sink->windowEvent(WindowEvent::Destroying, 0);
            removeTray(w);
            return 0;
        case WM_NCDESTROY: {
            WindowId id = w.id;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            windows.erase(id);  // w is gone from here on
            if (windows.empty()) PostQuitMessage(0);
            return DefWindowProcW(hwnd, msg, wp, lp);
        }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// ---------------------------------------------------------------------------------------------
// Window state

void Win32Backend::showWindow(WindowId id, bool visible) {
    W32Window* w = impl_->find(id);
    if (!w) return;
    ++w->quietPlacement;
    // A window already on its way out (a refused second copy) may still show, but must not
    // take the activation from the window it has just restored.
    ShowWindow(w->hwnd, !visible ? SW_HIDE : w->destroyQueued ? SW_SHOWNA : SW_SHOW);
    if ((w = impl_->find(id))) --w->quietPlacement;
}
bool Win32Backend::isWindowVisible(WindowId id) const {
    W32Window* w = impl_->find(id);
    return w && IsWindowVisible(w->hwnd);
}
Placement Win32Backend::placement(WindowId id) const {
    W32Window* w = impl_->find(id);
    if (!w) return Placement::Normal;
    if (IsIconic(w->hwnd)) return Placement::Minimized;
    if (IsZoomed(w->hwnd)) return Placement::Maximized;
    return Placement::Normal;
}
void Win32Backend::setPlacement(WindowId id, Placement p) {
    W32Window* w = impl_->find(id);
    if (!w || !IsWindowVisible(w->hwnd)) return;
    ShowWindow(w->hwnd, p == Placement::Minimized   ? SW_MINIMIZE
                        : p == Placement::Maximized ? SW_SHOWMAXIMIZED
                                                    : SW_SHOWNORMAL);
}
void Win32Backend::setTopmost(WindowId id, bool on) {
    W32Window* w = impl_->find(id);
    if (!w) return;
    const UINT flags = SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE;
    SetWindowPos(w->hwnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    if (on) return;
    // Leaving the top band must not sink the program's own always-on-top popups below it.
    for (auto& [other, ow] : impl_->windows)
        if (other != id && ow->layout->topmost && !ow->layout->inTaskbar &&
            IsWindowVisible(ow->hwnd))
            SetWindowPos(ow->hwnd, HWND_TOPMOST, 0, 0, 0, 0, flags);
}
bool Win32Backend::isTopmost(WindowId id) const {
    W32Window* w = impl_->find(id);
    return w && (GetWindowLongW(w->hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
}
void Win32Backend::setAlpha(WindowId id, int a) {
    W32Window* w = impl_->find(id);
    if (!w) return;
    LONG ex = GetWindowLongW(w->hwnd, GWL_EXSTYLE);
    if (!(ex & WS_EX_LAYERED)) SetWindowLongW(w->hwnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredWindowAttributes(w->hwnd, 0, static_cast<BYTE>(std::clamp(a, 0, 255)), LWA_ALPHA);
}
int Win32Backend::alpha(WindowId id) const {
    W32Window* w = impl_->find(id);
    if (!w || !(GetWindowLongW(w->hwnd, GWL_EXSTYLE) & WS_EX_LAYERED)) return 255;
    BYTE a = 255;
    DWORD flags = 0;
    if (!GetLayeredWindowAttributes(w->hwnd, nullptr, &a, &flags) || !(flags & LWA_ALPHA))
        return 255;
    return a;
}
bool Win32Backend::isWindowEnabled(WindowId id) const {
    W32Window* w = impl_->find(id);
    return w && IsWindowEnabled(w->hwnd);
}
Rect Win32Backend::windowRect(WindowId id) const {
    W32Window* w = impl_->find(id);
    RECT r{};
    if (w) GetWindowRect(w->hwnd, &r);
    return Rect{r.left, r.top, r.right, r.bottom};
}
void Win32Backend::moveWindow(WindowId id, int left, int top) {
    if (W32Window* w = impl_->find(id))
        SetWindowPos(w->hwnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
std::uint32_t Win32Backend::handleValue(WindowId id) const {
    W32Window* w = impl_->find(id);
    return w ? static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(w->hwnd)) : 0;
}
bool Win32Backend::isForeground(WindowId id) const {
    W32Window* w = impl_->find(id);
    return w && GetForegroundWindow() == w->hwnd;
}
void Win32Backend::setTrayIcon(WindowId id, const std::vector<std::uint8_t>& ico,
                               const std::string& tip) {
    W32Window* w = impl_->find(id);
    if (!w) return;
    HICON icon = ico.empty() ? nullptr : iconFromIco(ico.data(), ico.size());
    if (!icon) {  // no bytes, or bytes that make no icon: no icon
        impl_->removeTray(*w);
        return;
    }
    std::string cut = tip.substr(0, 62);
    w->trayTip = widen(cut);
    IconHandle old(w->trayIcon.release());
    w->trayIcon.reset(icon);
    impl_->applyTray(*w, w->tray ? NIM_MODIFY : NIM_ADD);
    w->tray = true;
}
bool Win32Backend::hasTrayIcon(WindowId id) const {
    W32Window* w = impl_->find(id);
    return w && w->tray;
}
Rect Win32Backend::screenRect() const {
    return Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

namespace {
class Win32Canvas : public Canvas {
  public:
    Win32Canvas(HWND hwnd, bool whole) : dc_(hwnd, whole) { SetBkMode(dc_.get(), TRANSPARENT); }
    void clipTo(const Rect& r) override {
        RECT rc = toRECT(r);
        Region rgn(CreateRectRgnIndirect(&rc));
        ExtSelectClipRgn(dc_.get(), rgn.get(), RGN_COPY);
    }
    void fillRect(const Rect& r, Color c) override {
        RECT rc = toRECT(r);
        Brush b(CreateSolidBrush(c));
        FillRect(dc_.get(), &rc, b.get());
    }
    void frameRect(const Rect& r, Color c) override {
        RECT rc = toRECT(r);
        Brush b(CreateSolidBrush(c));
        FrameRect(dc_.get(), &rc, b.get());
    }
    void drawText(const std::string& t, const Rect& r, Color c, HAlign h) override {
        RECT rc = toRECT(r);
        std::wstring w = widen(t);
        // In the font the context holds: the canvas selects none.
        SetTextColor(dc_.get(), c);
        UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX |
                     (h == HAlign::Center  ? DT_CENTER
                      : h == HAlign::Right ? DT_RIGHT
                                           : DT_LEFT);
        DrawTextW(dc_.get(), w.c_str(), static_cast<int>(w.size()), &rc, flags);
    }

  private:
    WindowDc dc_;
};
}  // namespace

std::unique_ptr<Canvas> Win32Backend::canvas(WindowId id, bool whole) {
    W32Window* w = impl_->find(id);
    if (!w) return nullptr;
    return std::make_unique<Win32Canvas>(w->hwnd, whole);
}

// ---------------------------------------------------------------------------------------------
// Controls

std::string Win32Backend::text(WindowId w, int c) const {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl) return "";
    switch (ctl->layout->kind) {
        case ControlKind::EditBox:
        case ControlKind::DropDownList:
            return windowText(ctl->hwnd);
        default:
            return ctl->text;
    }
}

void Win32Backend::setText(WindowId w, int c, const std::string& t) {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd) return;
    if (ctl->layout->kind == ControlKind::EditBox) {
        impl_->setEditText(*ctl, t);
        return;
    }
    ctl->text = t;
    SetWindowTextW(ctl->hwnd, widen(t).c_str());  // kept as window text for screen readers
    if (ctl->layout->kind == ControlKind::TransparentLabel)
        invalidateBelow(*ctl);
    else {
        InvalidateRect(ctl->hwnd, nullptr, FALSE);
        UpdateWindow(ctl->hwnd);
    }
}

void Win32Backend::setEnabled(WindowId w, int c, bool on) {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd) return;
    EnableWindow(ctl->hwnd, on);
    if (ctl->updown) EnableWindow(ctl->updown, on);
}
bool Win32Backend::isEnabled(WindowId w, int c) const {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl) return false;
    return ctl->hwnd ? IsWindowEnabled(ctl->hwnd) != 0 : ctl->layout->enabled;
}
void Win32Backend::setVisible(WindowId w, int c, bool on) {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd || ctl->layout->kind == ControlKind::Timer) return;
    ShowWindow(ctl->hwnd, on ? SW_SHOW : SW_HIDE);
    if (ctl->updown) ShowWindow(ctl->updown, on ? SW_SHOW : SW_HIDE);
    if (ctl->layout->kind == ControlKind::TransparentLabel) invalidateBelow(*ctl);
}
bool Win32Backend::isVisible(WindowId w, int c) const {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl) return false;
    if (!ctl->hwnd || ctl->layout->kind == ControlKind::Timer) return ctl->layout->visible;
    return (GetWindowLongW(ctl->hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}
int Win32Backend::selectedIndex(WindowId w, int c) const {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd) return -1;
    if (ctl->layout->kind == ControlKind::ListView)
        return static_cast<int>(
            SendMessageW(ctl->hwnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return static_cast<int>(SendMessageW(ctl->hwnd, CB_GETCURSEL, 0, 0));
}
void Win32Backend::setSelectedIndex(WindowId w, int c, int index) {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd) return;
    if (ctl->layout->kind == ControlKind::ListView) {
        ListView_SetItemState(ctl->hwnd, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        if (index >= 0)
            ListView_SetItemState(ctl->hwnd, index, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
        return;
    }
    SendMessageW(ctl->hwnd, CB_SETCURSEL, index, 0);  // raises no CBN_SELENDOK
}
int Win32Backend::itemCount(WindowId w, int c) const {
    W32Control* ctl = impl_->control(w, c);
    return ctl && ctl->hwnd ? static_cast<int>(SendMessageW(ctl->hwnd, CB_GETCOUNT, 0, 0)) : 0;
}
std::string Win32Backend::itemText(WindowId w, int c, int index) const {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd) return "";
    int n = static_cast<int>(SendMessageW(ctl->hwnd, CB_GETLBTEXTLEN, index, 0));
    if (n < 0) return "";
    std::wstring t(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(ctl->hwnd, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(t.data()));
    t.resize(static_cast<size_t>(n));
    return narrow(t);
}
void Win32Backend::setFocus(WindowId w, int c) {
    W32Control* ctl = impl_->control(w, c);
    if (ctl && ctl->hwnd) SetFocus(ctl->hwnd);
}
int Win32Backend::focusedControl(WindowId w) const {
    W32Window* win = impl_->find(w);
    if (!win) return -1;
    W32Control* c = win->controlByHwnd(GetFocus());
    return c ? c->index : -1;
}
void Win32Backend::selectAll(WindowId w, int c) {
    W32Control* ctl = impl_->control(w, c);
    if (ctl && ctl->hwnd) SendMessageW(ctl->hwnd, EM_SETSEL, 0, -1);
}
void Win32Backend::setPicture(WindowId w, int c, Picture p) {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd) return;
    ctl->picture = p;
    ctl->icon.reset();
    InvalidateRect(ctl->hwnd, nullptr, FALSE);
}
Picture Win32Backend::picture(WindowId w, int c) const {
    W32Control* ctl = impl_->control(w, c);
    return ctl ? ctl->picture : Picture::None;
}
void Win32Backend::setWordWrap(WindowId w, int c, bool on) {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd) return;
    ctl->wordWrap = on;
    if (ctl->layout->kind == ControlKind::TransparentLabel)
        invalidateBelow(*ctl);
    else
        InvalidateRect(ctl->hwnd, nullptr, FALSE);
}
void Win32Backend::refresh(WindowId w, int c) {
    W32Control* ctl = impl_->control(w, c);
    if (ctl && ctl->hwnd) UpdateWindow(ctl->hwnd);
}
void Win32Backend::setTimerPeriod(WindowId w, int c, int ms) {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd) return;
    KillTimer(ctl->hwnd, kTimerId);
    ctl->timer = TimerSchedule{};
    if (ms > 0) {
        ctl->timer.begin(impl_->now(), ms);
        SetTimer(ctl->hwnd, kTimerId, static_cast<UINT>(ms), nullptr);
    }
}

bool Win32Backend::openFileDialog(WindowId w, int, FileDialogRequest& r) {
    W32Window* win = impl_->find(w);
    if (!win) return false;
    // "desc|pattern|desc|pattern" becomes the double-NUL-terminated list GetOpenFileName wants.
    std::wstring filter = widen(r.filter);
    for (auto& ch : filter)
        if (ch == L'|') ch = L'\0';
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    std::wstring title = widen(r.title);
    std::wstring ext = widen(r.defaultExtension);
    if (!ext.empty() && ext[0] == L'.') ext.erase(0, 1);
    std::vector<wchar_t> file(32768, L'\0');
    std::wstring initial = widen(r.fileName);
    wcsncpy(file.data(), initial.c_str(), file.size() - 1);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = win->hwnd;
    ofn.lpstrFilter = r.filter.empty() ? nullptr : filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    ofn.Flags = OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT |
                OFN_EXPLORER;
    if (!GetOpenFileNameW(&ofn)) return false;
    r.fileName = narrow(file.data());
    return true;
}

void Win32Backend::showBalloon(WindowId w, int c, Point screen, const std::string& text) {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl) return;
    W32Window* win = ctl->win;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    ti.hwnd = win->hwnd;
    ti.uId = 1;
    std::wstring t = widen(text);
    ti.lpszText = t.data();
    if (!ctl->tip) {
        ctl->tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_BALLOON | TTS_ALWAYSTIP, 0, 0, 0,
                                   0, win->hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
        if (!ctl->tip) return;
        SendMessageW(ctl->tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
        SendMessageW(ctl->tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, ctl->layout->autoPopMs);
        SendMessageW(ctl->tip, TTM_SETDELAYTIME, TTDT_INITIAL, ctl->layout->initialMs);
        if (!ctl->layout->balloonColors.empty())
            SendMessageW(ctl->tip, TTM_SETTIPBKCOLOR, ctl->layout->balloonColors[0], 0);
        SendMessageW(ctl->tip, TTM_SETTIPTEXTCOLOR, RGB(0, 0, 0), 0);
        ctl->font = impl_->fontFor(*win, Font::make("宋体", 12));
        SendMessageW(ctl->tip, WM_SETFONT, reinterpret_cast<WPARAM>(ctl->font), FALSE);
        SetWindowSubclass(ctl->tip, balloonSubclass, 0, reinterpret_cast<DWORD_PTR>(ctl));
    }
    SendMessageW(ctl->tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
    SendMessageW(ctl->tip, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y));
    SendMessageW(ctl->tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&ti));
    // A tracking tip has no display time of its own: close it after the designed one.
    SetTimer(ctl->tip, kBalloonTimerId, static_cast<UINT>(ctl->layout->autoPopMs), nullptr);
}

bool Win32Backend::balloonShown(WindowId w, int c, std::string* text, Rect* screen) const {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->tip || !IsWindowVisible(ctl->tip)) return false;
    if (text) {
        wchar_t buf[1024] = {};
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = ctl->win->hwnd;
        ti.uId = 1;
        ti.lpszText = buf;
        SendMessageW(ctl->tip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&ti));
        *text = narrow(buf);
    }
    if (screen) {
        RECT r{};
        GetWindowRect(ctl->tip, &r);
        *screen = Rect{r.left, r.top, r.right, r.bottom};
    }
    return true;
}

Point Win32Backend::cursorPos() const {
    POINT p{};
    GetCursorPos(&p);
    return Point{p.x, p.y};
}

void Win32Backend::listClear(WindowId w, int c) {
    W32Control* ctl = impl_->control(w, c);
    if (ctl && ctl->hwnd) ListView_DeleteAllItems(ctl->hwnd);
}
void Win32Backend::listAddRow(WindowId w, int c, const std::vector<std::string>& cells) {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd || cells.empty()) return;
    int row = ListView_GetItemCount(ctl->hwnd);
    std::wstring first = widen(cells[0]);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = first.data();
    row = static_cast<int>(
        SendMessageW(ctl->hwnd, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    for (size_t i = 1; i < cells.size(); ++i) {
        std::wstring t = widen(cells[i]);
        LVITEMW sub{};
        sub.iSubItem = static_cast<int>(i);
        sub.pszText = t.data();
        SendMessageW(ctl->hwnd, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&sub));
    }
}
int Win32Backend::listRowCount(WindowId w, int c) const {
    W32Control* ctl = impl_->control(w, c);
    return ctl && ctl->hwnd ? ListView_GetItemCount(ctl->hwnd) : 0;
}
std::string Win32Backend::listCell(WindowId w, int c, int row, int column) const {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd) return "";
    wchar_t buf[512] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buf;
    item.cchTextMax = 511;
    SendMessageW(ctl->hwnd, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return narrow(buf);
}
void Win32Backend::setListFlatScrollBars(WindowId w, int c, bool on) {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd) return;
    ListView_SetExtendedListViewStyleEx(ctl->hwnd, LVS_EX_FLATSB, on ? LVS_EX_FLATSB : 0);
}

// ---------------------------------------------------------------------------------------------
// Simulated input: real messages to the real controls, then the queue is settled.

namespace {

// The scripted answer to the next file dialog. The dialog runs its own modal loop, so a thread
// timer looks for it from inside that loop, reads what it shows and answers it like a user.
struct DialogScript {
    std::string answer;
    FileDialogSeen* seen = nullptr;
    HWND dialog = nullptr;
    int ticks = 0;
    UINT_PTR timer = 0;
};
DialogScript gScript;
constexpr UINT kScriptTickMs = 50;

HWND fileNameField(HWND dlg) {
    if (HWND combo = GetDlgItem(dlg, cmb13)) {
        // A ComboBoxEx holds a combo box that holds the edit field.
        HWND h = combo;
        while (HWND inner = FindWindowExW(h, nullptr, nullptr, nullptr)) {
            wchar_t cls[32] = {};
            GetClassNameW(inner, cls, 32);
            h = inner;
            if (_wcsicmp(cls, L"Edit") == 0) break;
        }
        return h;
    }
    return GetDlgItem(dlg, edt1);
}

HWND findFileDialog(HWND except) {
    struct Find {
        HWND except, found;
    } f{except, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM lp) -> BOOL {
            auto* find = reinterpret_cast<Find*>(lp);
            wchar_t cls[16] = {};
            GetClassNameW(h, cls, 16);
            if (h == find->except || !IsWindowVisible(h) || wcscmp(cls, L"#32770") != 0)
                return TRUE;
            if (!find->except && !fileNameField(h)) return TRUE;
            find->found = h;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&f));
    return f.found;
}

void endScript() {
    if (gScript.timer) KillTimer(nullptr, gScript.timer);
    gScript = DialogScript{};
}

void CALLBACK scriptTick(HWND, UINT, UINT_PTR, DWORD) {
    DialogScript& s = gScript;
    ++s.ticks;
    if (!s.dialog) {
        HWND dlg = findFileDialog(nullptr);
        if (!dlg) {
            if (s.ticks * kScriptTickMs > 10000) endScript();  // no dialog came
            return;
        }
        s.dialog = dlg;
        s.ticks = 0;
        if (FileDialogSeen* seen = s.seen) {
            seen->opened = true;
            seen->title = windowText(dlg);
            seen->fileName = windowText(fileNameField(dlg));
            seen->filterNames.clear();
            if (HWND types = GetDlgItem(dlg, cmb1)) {
                int n = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
                for (int i = 0; i < n; ++i) {
                    int len = static_cast<int>(SendMessageW(types, CB_GETLBTEXTLEN, i, 0));
                    std::wstring item(static_cast<size_t>(std::max(0, len)) + 1, L'\0');
                    SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
                    item.resize(wcslen(item.c_str()));
                    seen->filterNames.push_back(narrow(item));
                }
            }
            HWND owner = GetWindow(dlg, GW_OWNER);
            seen->ownerEnabled = owner && IsWindowEnabled(owner);
        }
        if (s.answer.empty()) {
            PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDCANCEL)));
        } else {
            SetWindowTextW(fileNameField(dlg), widen(s.answer).c_str());
            PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
        }
        return;
    }
    if (!IsWindow(s.dialog) || !IsWindowVisible(s.dialog)) {
        endScript();
        return;
    }
    // Still open a second later: the dialog refused the answer and says why in a box of its
    // own. Close that and cancel, as a user would.
    if (s.ticks * kScriptTickMs >= 1000) {
        if (HWND box = findFileDialog(s.dialog)) PostMessageW(box, WM_COMMAND, IDOK, 0);
        PostMessageW(s.dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(s.dialog, IDCANCEL)));
    }
}

}  // namespace

void Win32Backend::userAnswerNextFileDialog(const std::string& answer, FileDialogSeen* seen) {
    endScript();
    gScript.answer = answer;
    gScript.seen = seen;
    if (seen) *seen = FileDialogSeen{};
    gScript.timer = SetTimer(nullptr, 0, kScriptTickMs, scriptTick);
}

void Win32Backend::userClickRow(WindowId w, int c, int row, bool doubleClick) {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd || ctl->layout->kind != ControlKind::ListView) return;
    HWND h = ctl->hwnd;
    if (!IsWindowVisible(h) || !IsWindowEnabled(GetAncestor(h, GA_ROOT)) || !IsWindowEnabled(h))
        return;
    RECT r{};
    int rows = ListView_GetItemCount(h);
    if (row >= 0 && row < rows) {
        r.left = LVIR_LABEL;
        SendMessageW(h, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    } else {
        // Below the last row (or at the top of an empty list).
        RECT client{};
        GetClientRect(h, &client);
        if (rows > 0) {
            r.left = LVIR_BOUNDS;
            SendMessageW(h, LVM_GETITEMRECT, rows - 1, reinterpret_cast<LPARAM>(&r));
            OffsetRect(&r, 0, r.bottom - r.top);
        } else {
            r = RECT{client.left, client.top + 30, client.left + 40, client.top + 40};
        }
        if (r.bottom > client.bottom) return;  // no space below the rows
    }
    LPARAM at = MAKELPARAM(r.left + 4, (r.top + r.bottom) / 2);
    // Posted, as the mouse would: the list view waits for the release in a loop of its own.
    PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(h, WM_LBUTTONUP, 0, at);
    if (doubleClick) {
        PostMessageW(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageW(h, WM_LBUTTONUP, 0, at);
    }
    pump(0);
}

void Win32Backend::userPressEnter(WindowId w, int c) {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd || !IsWindowEnabled(ctl->hwnd)) return;
    SetFocus(ctl->hwnd);
    PostMessageW(ctl->hwnd, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(ctl->hwnd, WM_KEYUP, VK_RETURN, 0xC01C0001);
    pump(0);
}

void Win32Backend::userTypeChar(WindowId w, int c, unsigned char ch) {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd || !IsWindowEnabled(ctl->hwnd) || !IsWindowVisible(ctl->hwnd)) return;
    if (!impl_->find(w) || !IsWindowEnabled(impl_->find(w)->hwnd)) return;
    SetFocus(ctl->hwnd);
    pump(0);
    if ((ctl = impl_->control(w, c))) SendMessageW(ctl->hwnd, WM_CHAR, ch, 1);
    pump(0);
}
void Win32Backend::userStepUpDown(WindowId w, int c, bool up) {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->updown) return;
    RECT r;
    GetClientRect(ctl->updown, &r);
    LPARAM at = MAKELPARAM(r.right / 2, up ? r.bottom / 4 : r.bottom * 3 / 4);
    HWND ud = ctl->updown;
    SendMessageW(ud, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(ud, WM_LBUTTONUP, 0, at);
    pump(0);
}
void Win32Backend::userChooseItem(WindowId w, int c, int index) {
    W32Control* ctl = impl_->control(w, c);
    W32Window* win = impl_->find(w);
    if (!ctl || !ctl->hwnd || !IsWindowEnabled(ctl->hwnd) || !IsWindowEnabled(win->hwnd)) return;
    if (index < 0 || index >= itemCount(w, c)) return;
    SendMessageW(ctl->hwnd, CB_SETCURSEL, index, 0);
    SendMessageW(win->hwnd, WM_COMMAND, MAKEWPARAM(kFirstControlId + c, CBN_SELENDOK),
                 reinterpret_cast<LPARAM>(ctl->hwnd));
    pump(0);
}
void Win32Backend::userClick(WindowId w, int c) {
    W32Control* ctl = impl_->control(w, c);
    if (!ctl || !ctl->hwnd) return;
    RECT r;
    GetClientRect(ctl->hwnd, &r);
    LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    HWND h = ctl->hwnd;
    // Input goes nowhere while the window is disabled or hidden, as it would for the mouse.
    if (!IsWindowVisible(h) || !IsWindowEnabled(GetAncestor(h, GA_ROOT)) || !IsWindowEnabled(h))
        return;
    SendMessageW(h, WM_MOUSEMOVE, 0, at);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    if (IsWindow(h)) SendMessageW(h, WM_LBUTTONUP, 0, at);
    pump(0);
}
void Win32Backend::userFocus(WindowId w, int c) {
    setFocus(w, c);
    pump(0);
}
void Win32Backend::userPressEscape(WindowId w) {
    W32Window* win = impl_->find(w);
    if (!win) return;
    HWND focus = GetFocus();
    HWND target = focus && GetAncestor(focus, GA_ROOT) == win->hwnd ? focus : win->hwnd;
    PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    pump(0);
}
void Win32Backend::userSystemClose(WindowId w) {
    W32Window* win = impl_->find(w);
    if (!win || !IsWindowEnabled(win->hwnd)) return;
    PostMessageW(win->hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    pump(0);
}
void Win32Backend::userTrayMessage(WindowId w, unsigned mouseMessage) {
    W32Window* win = impl_->find(w);
    if (!win || !win->tray) return;
    SendMessageW(win->hwnd, kTrayCallbackMessage, kTrayIconId, mouseMessage);
    pump(0);
}

}  // namespace ui
