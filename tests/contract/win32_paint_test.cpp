// How the custom controls look and react on Win32: text effects, ampersands, gradients, image
// button states and the drop-down lists' cursor and colours. Controls paint into a memory
// bitmap through WM_PRINTCLIENT, so nothing depends on what else is on the screen.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "ui/layouts/builders.h"
#include "ui/main_window.h"
#include "ui/win32/art.h"
#include "ui/win32/win32_backend.h"
#include "win32_main_fixture.h"

namespace {

using namespace ui;
using namespace ui::build;

struct Pixels {
    int width = 0, height = 0;
    std::vector<COLORREF> at;
    COLORREF operator()(int x, int y) const { return at[y * width + x]; }
};

Pixels capture(HWND h) {
    RECT r;
    GetClientRect(h, &r);
    Pixels p{r.right, r.bottom, {}};
    HDC screen = GetDC(h);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, p.width, p.height);
    HGDIOBJ old = SelectObject(mem, bmp);
    SendMessageW(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) p.at.push_back(GetPixel(mem, x, y));
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(h, screen);
    return p;
}

Pixels picturePixels(Picture pic) {
    SIZE sz = win32::pictureSize(pic);
    Pixels p{sz.cx, sz.cy, {}};
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, win32::pictureBitmap(pic));
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) p.at.push_back(GetPixel(mem, x, y));
    SelectObject(mem, old);
    DeleteDC(mem);
    return p;
}

using Mask = std::set<std::pair<int, int>>;

Mask where(const Pixels& p, const std::function<bool(COLORREF)>& pick, int dx = 0, int dy = 0) {
    Mask m;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (pick(p(x, y))) m.insert({x + dx, y + dy});
    return m;
}
Mask shifted(const Mask& m, int dx, int dy) {
    Mask out;
    for (auto [x, y] : m) out.insert({x + dx, y + dy});
    return out;
}
Mask minus(const Mask& a, const Mask& b) {
    Mask out;
    for (const auto& p : a)
        if (!b.count(p)) out.insert(p);
    return out;
}
// Share of a in b, and of b in a: both near 1 when the masks agree.
double agreement(const Mask& a, const Mask& b) {
    if (a.empty() || b.empty()) return a.empty() && b.empty() ? 1.0 : 0.0;
    size_t both = 0;
    for (const auto& p : a) both += b.count(p);
    return std::min(static_cast<double>(both) / a.size(), static_cast<double>(both) / b.size());
}

// Text is drawn smoothed: a pixel counts as ink of a colour where that colour covers more than
// half of it. Red ink over any grey raises red above green by 255 times its coverage.
bool isRed(COLORREF c) {
    return GetRValue(c) - GetGValue(c) > 127;
}
bool isWhite(COLORREF c) {  // over the panel grey, 64
    return std::min({GetRValue(c), GetGValue(c), GetBValue(c)}) > 160;
}
bool isBlack(COLORREF c) {
    return std::max({GetRValue(c), GetGValue(c), GetBValue(c)}) < 32;
}

const Color kPanel = rgb(64, 64, 59);

WindowSpec paintLayout() {
    WindowSpec w;
    w.name = "Paint";
    w.width = 320;
    w.height = 240;
    w.hasBackColor = true;
    w.backColor = kPanel;
    int y = 4;
    for (TextEffect fx :
         {TextEffect::None, TextEffect::Engraved, TextEffect::Embossed, TextEffect::Shadow}) {
        ControlSpec l = control(ControlKind::Label, "", 4, y, 120, 30);
        l.name = "fx" + std::to_string(static_cast<int>(fx));
        l.text = "岚8";
        l.textColor = rgb(255, 0, 0);
        l.hasBackColor = true;
        l.backColor = kPanel;
        l.font = Font::make("黑体", 22, 700);
        l.effect = fx;
        w.controls.push_back(l);
        y += 34;
    }
    for (const char* caption : {"&", "&&&"}) {
        ControlSpec l = control(ControlKind::Label, caption, 140, caption[1] ? 40 : 4, 120, 30);
        l.text = caption;
        l.textColor = rgb(255, 255, 255);
        l.hasBackColor = true;
        l.backColor = kPanel;
        l.font = Font::make("宋体", 16);
        w.controls.push_back(l);
    }
    ControlSpec g = control(ControlKind::Label, "竖渐变", 140, 80, 48, 16);
    g.border = Border::Single;
    g.gradient = {rgb(41, 44, 41), rgb(65, 65, 59), rgb(41, 44, 41)};
    w.controls.push_back(g);
    ControlSpec h = control(ControlKind::Label, "横渐变", 140, 100, 101, 16);
    h.gradient = {rgb(0, 0, 0), rgb(200, 100, 50)};
    h.gradientVertical = false;
    w.controls.push_back(h);
    return w;
}

class Win32Paint : public ::testing::Test {
  protected:
    Win32Backend backend;
    WindowSpec layout = paintLayout();
    Window window{backend, layout};
    void SetUp() override {
        window.load();
        backend.pump(0);
    }
    HWND hwnd(const char* name) { return backend.controlHwnd(window.id(), layout.indexOf(name)); }
};

// The offset, within 3 pixels either way, at which `expected(d)` best matches `drawn`. Smoothed
// edges blend differently over different colours, so masks never agree exactly; the best
// offset is what tells where a copy was drawn.
int bestOffset(const Mask& drawn, const std::function<Mask(int)>& expected) {
    int best = -99;
    double bestScore = -1;
    for (int d = -3; d <= 3; ++d) {
        double score = agreement(drawn, expected(d));
        if (score > bestScore) {
            bestScore = score;
            best = d;
        }
    }
    return best;
}

TEST_F(Win32Paint, TextEffectsDrawTheirCopyAtTheirOffset) {
    Pixels plain = capture(hwnd("fx0"));
    Mask text = where(plain, isRed);
    ASSERT_GT(text.size(), 60u);
    EXPECT_TRUE(where(plain, isWhite).empty());
    EXPECT_TRUE(where(plain, isBlack).empty());
    struct Case {
        const char* name;
        int textAt;  // offset of the text itself, right and down
        bool (*copyColor)(COLORREF);
        int copyAt;
    } cases[] = {
        {"fx1", 0, isWhite, 1},  // engraved: white copy right and down, the text on top
        {"fx2", 1, isWhite, 0},  // embossed: white copy in place, the text right and down
        {"fx3", 0, isBlack, 2},  // shadow: black copy 2 pixels right and down
    };
    for (const Case& c : cases) {
        Pixels p = capture(hwnd(c.name));
        EXPECT_EQ(bestOffset(where(p, isRed), [&](int d) { return shifted(text, d, d); }), c.textAt)
            << c.name;
        // The copy shows where the text does not cover it.
        Mask copy = where(p, c.copyColor);
        EXPECT_GT(copy.size(), text.size() / 5) << c.name;
        EXPECT_EQ(bestOffset(copy,
                             [&](int d) {
                                 return minus(shifted(text, d, d),
                                              shifted(text, c.textAt, c.textAt));
                             }),
                  c.copyAt)
            << c.name;
    }
}

TEST_F(Win32Paint, AmpersandsAreDrawnNotTakenAsPrefixes) {
    // Read as prefixes, "&" would draw nothing and "&&&" one ampersand.
    auto ink = [](const Pixels& p) { return where(p, isWhite).size(); };
    double one = static_cast<double>(ink(capture(hwnd("&"))));
    double three = static_cast<double>(ink(capture(hwnd("&&&"))));
    ASSERT_GT(one, 10);
    EXPECT_NEAR(three / one, 3.0, 0.3);
}

TEST_F(Win32Paint, GradientsRunThroughTheirStops) {
    Pixels v = capture(hwnd("竖渐变"));
    ASSERT_EQ(v.height, 14);  // inside its one-pixel border
    EXPECT_TRUE(GetWindowLongW(hwnd("竖渐变"), GWL_STYLE) & WS_BORDER);
    EXPECT_EQ(v(5, 0), RGB(41, 44, 41));
    EXPECT_EQ(v(5, v.height - 1), RGB(41, 44, 41));
    for (int y : {6, 7}) {
        EXPECT_NEAR(GetRValue(v(5, y)), 65, 4) << y;
        EXPECT_NEAR(GetBValue(v(5, y)), 59, 4) << y;
    }
    for (int y = 1; y < v.height / 2; ++y)
        EXPECT_GE(GetRValue(v(5, y)), GetRValue(v(5, y - 1))) << "rising to the middle stop";

    Pixels h = capture(hwnd("横渐变"));
    EXPECT_EQ(h(0, 8), RGB(0, 0, 0));
    EXPECT_EQ(h(h.width - 1, 8), RGB(200, 100, 50));
    EXPECT_NEAR(GetRValue(h(50, 8)), 100, 2);
    EXPECT_EQ(h(50, 0), h(50, 15)) << "a horizontal gradient is the same down a column";
}

TEST_F(Win32Main, ImageButtonsShowTheirStateAndClickOnReleaseOverThem) {
    HWND b = hwnd(main.图形按钮2);
    int clicks = 0;
    main.图形按钮2.onClick = [&] { ++clicks; };
    const Pixels normal = picturePixels(Picture::Start), hot = picturePixels(Picture::StartHot);
    ASSERT_NE(normal.at, hot.at);
    auto send = [&](UINT msg, int x, int y) {
        SendMessageW(b, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
        backend.pump(0);
    };
    EXPECT_EQ(capture(b).at, normal.at);
    send(WM_MOUSEMOVE, 10, 10);
    EXPECT_EQ(capture(b).at, hot.at);
    EXPECT_EQ(GetCapture(), b) << "it follows the pointer out again";
    send(WM_MOUSEMOVE, -5, 40);
    EXPECT_EQ(capture(b).at, normal.at);
    EXPECT_NE(GetCapture(), b);

    // Pressed and dragged off: no click on release.
    send(WM_MOUSEMOVE, 10, 10);
    send(WM_LBUTTONDOWN, 10, 10);
    EXPECT_EQ(capture(b).at, normal.at) << "no pressed picture: the normal one";
    send(WM_MOUSEMOVE, 100, 10);
    send(WM_LBUTTONUP, 100, 10);
    EXPECT_EQ(clicks, 0);
    EXPECT_NE(GetCapture(), b);
    // Pressed, dragged off and back: a click.
    send(WM_MOUSEMOVE, 10, 10);
    send(WM_LBUTTONDOWN, 10, 10);
    send(WM_MOUSEMOVE, 100, 10);
    send(WM_MOUSEMOVE, 12, 12);
    send(WM_LBUTTONUP, 12, 12);
    EXPECT_EQ(clicks, 1);

    // Disabled: the normal picture whatever the pointer does, and no click.
    send(WM_MOUSEMOVE, -5, 40);
    main.图形按钮2.disable();
    backend.pump(0);
    EXPECT_EQ(capture(b).at, normal.at);
    backend.userClick(main.id(), main.图形按钮2.index());
    EXPECT_EQ(clicks, 1);
}

TEST_F(Win32Main, DropDownListsShowTheHandAndTheirColours) {
    HWND list = hwnd(main.定时程序设定执行方式);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(list, WM_SETCURSOR, reinterpret_cast<WPARAM>(list),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));

    // The closed field, away from the focus: its own background and light text.
    SetFocus(hwnd(main.编辑框6));
    backend.pump(0);
    HWND top = backend.hwndOf(main.id());
    SetWindowPos(top, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const ControlSpec& s = main.layout().controls[main.定时程序设定执行方式.index()];
    RECT r;
    GetClientRect(list, &r);
    HDC dc = GetDC(list);
    int back = 0, light = 0;
    for (int y = 3; y < 15; ++y)
        for (int x = 3; x < r.right - 20; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            back += c == s.backColor;
            light += GetRValue(c) > 180 && GetGValue(c) > 180;
        }
    ReleaseDC(list, dc);
    EXPECT_GT(back, 300);
    EXPECT_GT(light, 20) << "the item's text";
}

}  // namespace
