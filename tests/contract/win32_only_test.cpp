// What only the Win32 backend can show: real window texts, styles and GDI resources.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "app/application.h"
#include "platform/fake/recording_services.h"
#include "ui/art.h"
#include "ui/main_window.h"
#include "ui/win32/art.h"
#include "ui/win32/text.h"
#include "ui/win32/win32_backend.h"
#include "win32_main_fixture.h"

namespace {

using namespace ui;

std::wstring getText(HWND h) {
    wchar_t buf[256] = {};
    SendMessageW(h, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(buf));
    return buf;
}

TEST_F(Win32Main, EveryTextControlExposesItsTextAsWindowText) {
    EXPECT_EQ(getText(backend.hwndOf(main.id())), L"岚翎多功能定时器");
    EXPECT_EQ(getText(hwnd(main.透明标签1)), L"岚翎多功能定时器");
    EXPECT_EQ(getText(hwnd(main.透明标签8)), L"定时设置(倒记时、定时)");
    EXPECT_EQ(getText(hwnd(main.标签7)), L"请选择您要的操作方式");
    EXPECT_EQ(getText(hwnd(main.定时程序秒)), L"59");
    EXPECT_EQ(getText(hwnd(main.定时程序设定执行方式)), L"关闭系统");
    main.农时间.setCaption("农历:二零一零年正月初九");
    EXPECT_EQ(getText(hwnd(main.农时间)), L"农历:二零一零年正月初九");
}

TEST_F(Win32Main, TheFileDialogRefusesAFileThatDoesNotExist) {
    // The dialog says why in a box of its own; the scripted user closes it and cancels.
    main.对话框.filter = "可执行文件(*.exe)|*.exe|";
    main.对话框.fileName = "点浏览设置文件";
    FileDialogSeen seen;
    backend.userAnswerNextFileDialog("C:\\没有这个目录\\没有这个程序.exe", &seen);
    EXPECT_FALSE(main.对话框.open());
    EXPECT_TRUE(seen.opened);
    EXPECT_EQ(main.对话框.fileName, "点浏览设置文件");
    EXPECT_TRUE(IsWindowEnabled(backend.hwndOf(main.id())));
}

TEST_F(Win32Main, ControlsSitAtTheirDesignPlaces) {
    for (const ControlSpec& s : main.layout().controls) {
        HWND h = backend.controlHwnd(main.id(), main.layout().indexOf(s.name));
        if (s.kind == ControlKind::Timer || s.kind == ControlKind::FileDialog ||
            s.kind == ControlKind::BalloonTip)
            continue;
        ASSERT_TRUE(h) << s.name;
        RECT r;
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, backend.hwndOf(main.id()), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, s.rect.left) << s.name;
        EXPECT_EQ(r.top, s.rect.top) << s.name;
        EXPECT_EQ(r.right - r.left, s.rect.width()) << s.name;
        EXPECT_EQ(r.bottom - r.top, s.rect.height()) << s.name;
    }
}

TEST_F(Win32Main, FontsAreMadeAsDesignedWithTheDefaultCharsetAndProofQuality) {
    HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT);
    int checked = 0;
    for (const ControlSpec& s : main.layout().controls) {
        HWND h = backend.controlHwnd(main.id(), main.layout().indexOf(s.name));
        if (!h || s.kind == ControlKind::ImageButton || s.kind == ControlKind::PictureBox ||
            s.kind == ControlKind::Timer)
            continue;
        HFONT f = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
        ASSERT_TRUE(f) << s.name;
        ++checked;
        if (s.font.guiFont) {
            EXPECT_EQ(f, gui) << s.name;
            continue;
        }
        LOGFONTW lf{};
        ASSERT_TRUE(GetObjectW(f, sizeof lf, &lf)) << s.name;
        EXPECT_EQ(lf.lfFaceName, win32::widen(s.font.face)) << s.name;
        EXPECT_EQ(lf.lfHeight, -s.font.height) << s.name;
        EXPECT_EQ(lf.lfWeight, s.font.weight) << s.name;
        EXPECT_EQ(lf.lfCharSet, DEFAULT_CHARSET) << s.name;
        EXPECT_EQ(lf.lfQuality, PROOF_QUALITY) << s.name;
        EXPECT_EQ(lf.lfOutPrecision, OUT_DEFAULT_PRECIS) << s.name;
        EXPECT_EQ(lf.lfClipPrecision, CLIP_DEFAULT_PRECIS) << s.name;
        EXPECT_EQ(lf.lfPitchAndFamily, DEFAULT_PITCH) << s.name;
    }
    EXPECT_GT(checked, 20);
}

TEST_F(Win32Main, WindowAndControlStyles) {
    HWND top = backend.hwndOf(main.id());
    LONG style = GetWindowLongW(top, GWL_STYLE);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_EQ(GetWindow(top, GW_OWNER), nullptr);
    EXPECT_FALSE(IsWindowEnabled(hwnd(main.最大化窗口)));
    EXPECT_TRUE(GetWindowLongW(hwnd(main.定时程序时), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_TRUE(GetWindowLongW(hwnd(main.编辑框1), GWL_STYLE) & ES_READONLY);
    EXPECT_EQ(SendMessageW(hwnd(main.定时程序时), EM_GETLIMITTEXT, 0, 0), 2);
    // The dropped-down part may be up to 160 pixels tall.
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(hwnd(main.定时程序设定执行方式), &info));
    RECT dropped;
    SendMessageW(hwnd(main.定时程序设定执行方式), CB_GETDROPPEDCONTROLRECT, 0,
                 reinterpret_cast<LPARAM>(&dropped));
    RECT field;
    GetWindowRect(hwnd(main.定时程序设定执行方式), &field);
    EXPECT_EQ(field.bottom - field.top, 18);
    // At most 160 pixels in all; a short list may end sooner, but shows every item.
    int items =
        static_cast<int>(SendMessageW(hwnd(main.定时程序设定执行方式), CB_GETITEMHEIGHT, 0, 0));
    EXPECT_LE(dropped.bottom - field.top, 160);
    EXPECT_GE(dropped.bottom - field.top, 18 + 6 * items);
}

TEST(Win32Resources, LoadingAndDestroyingWindowsLeaksNoGdiObjects) {
    Win32Backend backend;
    auto cycle = [&] {
        MainWindow w(backend);
        w.load();
        w.公日.setCaption("23");
        backend.pump(0);
        w.destroy();
        backend.pump(0);
    };
    cycle();  // fills the picture cache
    DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 10; ++i) cycle();
    DWORD after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    EXPECT_LE(after, before + 2) << before << " -> " << after;
}

}  // namespace

namespace {

// Refuses the creation of every top-level window of the program while it lives.
class RefuseTopLevelWindows {
  public:
    RefuseTopLevelWindows()
        : hook_(SetWindowsHookExW(WH_CBT, proc, nullptr, GetCurrentThreadId())) {}
    ~RefuseTopLevelWindows() { UnhookWindowsHookEx(hook_); }

  private:
    static LRESULT CALLBACK proc(int code, WPARAM wp, LPARAM lp) {
        if (code == HCBT_CREATEWND) {
            auto* cbt = reinterpret_cast<CBT_CREATEWNDW*>(lp);
            if (!(cbt->lpcs->style & WS_CHILD) && !IsWindowVisible(reinterpret_cast<HWND>(wp)))
                return 1;
        }
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    HHOOK hook_;
};

TEST(Win32Failure, AMainWindowThatCannotBeMadeEndsTheRunCleanly) {
    ui::Win32Backend backend;
    platform::RecordingServices services;
    app::Application a(backend, services);
    int code = -1;
    {
        RefuseTopLevelWindows refuse;
        code = a.run();  // returns, rather than waiting for a window that never was
    }
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(a.mainWindow().isLoaded());
    EXPECT_EQ(a.cleanupRuns(), 1);
    EXPECT_TRUE(services.calls.empty()) << "no marker, no value: " << services.calls.front();
}

TEST(Win32Session, NeverHoldsUpTheEndOfTheSessionAndRunsTheClosingSteps) {
    ui::Win32Backend backend;
    platform::RecordingServices services;
    app::Application a(backend, services);
    backend.onSessionEnd = [&a] { a.exitCleanup(); };
    a.start();
    backend.pump(0);
    HWND top = backend.hwndOf(a.mainWindow().id());
    EXPECT_EQ(services.readHandleValue(app::kHandleValueName),
              static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(top)));
    EXPECT_EQ(SendMessageW(top, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageW(top, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(IsWindow(top));
    EXPECT_TRUE(services.called("deleteHandleValue"));
    EXPECT_EQ(a.cleanupRuns(), 1);
    EXPECT_EQ(a.mainBar(), nullptr);
}

TEST(Win32Icon, TheIconDataMakesAnIcon) {
    const auto& ico = ui::appIconData();
    ASSERT_EQ(ico.size(), 3774u);
    HICON icon = ui::win32::iconFromIco(ico.data(), ico.size());
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bm{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 48);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    // Bytes that hold no icon make none, and never crash.
    std::vector<std::uint8_t> junk(ico.begin(), ico.begin() + 40);
    EXPECT_EQ(ui::win32::iconFromIco(junk.data(), junk.size()), nullptr);
}

}  // namespace

namespace {

// Pixels of the window background picture, tiled as the window paints it.
COLORREF backgroundPixel(int x, int y) {
    HBITMAP bmp = ui::win32::pictureBitmap(ui::Picture::MainBackground);
    SIZE sz = ui::win32::pictureSize(ui::Picture::MainBackground);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, bmp);
    COLORREF c = GetPixel(mem, x % sz.cx, y % sz.cy);
    SelectObject(mem, old);
    DeleteDC(mem);
    return c;
}

TEST_F(Win32Main, TransparentLabelsShowTheBackgroundAndRepaintFromBelow) {
    HWND top = backend.hwndOf(main.id());
    SetWindowPos(top, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const Rect r = main.layout().controls[main.公日.index()].rect;
    auto differing = [&] {
        backend.pump(50);
        HDC dc = GetDC(top);
        int n = 0;
        for (int y = r.top; y < r.bottom; y += 2)
            for (int x = r.left; x < r.right; x += 2)
                if (GetPixel(dc, x, y) != backgroundPixel(x, y)) ++n;
        ReleaseDC(top, dc);
        return n;
    };
    // 公年月 overlaps the top of 公日: clear both to see the background alone.
    main.公年月.setCaption("");
    main.公日.setCaption("88");
    EXPECT_GT(differing(), 100);  // the digits and their shadow
    main.公日.setCaption("");
    EXPECT_EQ(differing(), 0);  // no trace of the old text: the background shows through
    main.公年月.setCaption("2010年2月");
    main.公日.setCaption("1");
    int both = differing();
    main.公年月.setCaption("");
    EXPECT_LT(differing(), both);  // overlapping transparent labels both show
}

TEST_F(Win32Main, TheCanvasDrawsOnTheClientAreaWithinItsClip) {
    HWND top = backend.hwndOf(main.id());
    SetWindowPos(top, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    backend.pump(50);
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255), green = RGB(0, 255, 0);
    const Rect box = kMainBarRect;  // free of child windows
    const int split = box.left + 200, midY = (box.top + box.bottom) / 2;
    HDC dc = GetDC(top);
    COLORREF above = GetPixel(dc, box.left, box.top - 1);
    ReleaseDC(top, dc);
    {
        auto canvas = backend.canvas(main.id(), false);
        ASSERT_TRUE(canvas);
        canvas->fillRect(box, red);
        canvas->frameRect(box, blue);
        canvas->clipTo(Rect{split, box.top, box.right, box.bottom});
        canvas->fillRect(Rect{box.left, midY - 2, box.right, midY + 2}, green);  // right part only
        canvas->drawText("100%", Rect{split, box.top, box.right, box.bottom}, RGB(255, 255, 255),
                         HAlign::Center);
    }
    dc = GetDC(top);
    EXPECT_EQ(GetPixel(dc, box.left, box.top), blue);
    EXPECT_EQ(GetPixel(dc, box.right - 1, box.bottom - 1), blue);
    EXPECT_EQ(GetPixel(dc, box.left + 1, box.top + 1), red);
    EXPECT_EQ(GetPixel(dc, split - 10, midY), red) << "left of the clip";
    EXPECT_EQ(GetPixel(dc, split + 1, midY), green);
    EXPECT_EQ(GetPixel(dc, box.left, box.top - 1), above) << "nothing outside the box";
    int white = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = split; x < box.right; ++x) white += GetPixel(dc, x, y) == RGB(255, 255, 255);
    EXPECT_GT(white, 10) << "the text";
    ReleaseDC(top, dc);
    // Nothing repaints it: the drawing is there until the area is painted again.
    InvalidateRect(top, nullptr, TRUE);
    UpdateWindow(top);
    dc = GetDC(top);
    EXPECT_EQ(GetPixel(dc, box.left + 1, box.top + 1), backgroundPixel(box.left + 1, box.top + 1));
    ReleaseDC(top, dc);
}

TEST(Win32Owner, WindowsOutOfTheTaskbarAreOwnedByAHiddenWindow) {
    Win32Backend backend;
    WindowSpec layout;
    layout.name = "Popup";
    layout.width = 236;
    layout.height = 137;
    layout.inTaskbar = false;
    layout.topmost = true;
    Window popup(backend, layout);
    popup.load();
    HWND h = backend.hwndOf(popup.id());
    HWND owner = GetWindow(h, GW_OWNER);
    ASSERT_NE(owner, nullptr);
    EXPECT_FALSE(IsWindowVisible(owner));
    EXPECT_FALSE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

}  // namespace
