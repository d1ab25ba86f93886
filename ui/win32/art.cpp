#include "ui/win32/art.h"

#include <cstring>
#include <map>

#include "ui/win32/gdi.h"

// clang-format off
#define LANLING_PICTURES(X)                                                                  \
    X(MainBackground, main_bg) X(MessageBackground, msg_bg)                                  \
    X(ChooserBackground, chooser_bg) X(PopupBackground, popup_bg)                            \
    X(Browse, btn_browse) X(BrowseHot, btn_browse_hot) X(Start, btn_start)                   \
    X(StartHot, btn_start_hot) X(Stop, btn_stop) X(StopHot, btn_stop_hot)                    \
    X(Ok, btn_ok) X(OkHot, btn_ok_hot) X(Cancel, btn_cancel) X(CancelHot, btn_cancel_hot)    \
    X(Minimize, btn_min) X(MinimizeHot, btn_min_hot) X(Maximize, btn_max)                    \
    X(MaximizeHot, btn_max_hot) X(Close, btn_close) X(CloseHot, btn_close_hot)               \
    X(PopupClose, btn_popup_close) X(PopupCloseHot, btn_popup_close_hot)
// clang-format on

#define DECLARE_ART(e, f)                 \
    extern const unsigned char art_##f[]; \
    extern const unsigned art_##f##Size;
LANLING_PICTURES(DECLARE_ART)

namespace ui::win32 {

namespace {

struct Bytes {
    const unsigned char* data;
    unsigned size;
};

Bytes bytesOf(Picture p) {
    switch (p) {
#define CASE_ART(e, f) \
    case Picture::e:   \
        return {art_##f, art_##f##Size};
        LANLING_PICTURES(CASE_ART)
        default:
            return {nullptr, 0};
    }
}

HBITMAP makeBitmap(const Bytes& b) {
    if (!b.data || b.size < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return nullptr;
    BITMAPFILEHEADER fh;
    std::memcpy(&fh, b.data, sizeof fh);
    if (fh.bfType != 0x4D42 || fh.bfOffBits >= b.size) return nullptr;
    const auto* info = reinterpret_cast<const BITMAPINFO*>(b.data + sizeof fh);
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, b.data + fh.bfOffBits, info,
                                 DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return bmp;
}

std::map<Picture, BitmapHandle>& cache() {
    static std::map<Picture, BitmapHandle> c;
    return c;
}

}  // namespace

HBITMAP pictureBitmap(Picture p) {
    auto& c = cache();
    auto it = c.find(p);
    if (it != c.end()) return it->second.get();
    HBITMAP bmp = makeBitmap(bytesOf(p));
    if (bmp) c.emplace(p, BitmapHandle(bmp));
    return bmp;
}

SIZE pictureSize(Picture p) {
    BITMAP bm{};
    if (HBITMAP h = pictureBitmap(p); h && GetObjectW(h, sizeof bm, &bm))
        return {bm.bmWidth, bm.bmHeight};
    return {0, 0};
}

HICON iconFromIco(const unsigned char* data, size_t size, int cx, int cy) {
    // ICONDIR (6 bytes), then one 16-byte entry per image: width, height, ..., size, offset.
    if (!data || size < 6 + 16) return nullptr;
    auto u32 = [&](size_t at) {
        DWORD v;
        std::memcpy(&v, data + at, 4);
        return v;
    };
    DWORD bytes = u32(6 + 8), offset = u32(6 + 12);
    if (offset >= size || bytes > size - offset || bytes < sizeof(BITMAPINFOHEADER)) return nullptr;
    BITMAPINFOHEADER bih;
    std::memcpy(&bih, data + offset, sizeof bih);
    auto* bits = const_cast<PBYTE>(data + offset);
    int w = cx ? cx : bih.biWidth, h = cy ? cy : bih.biHeight / 2;
    HICON icon = CreateIconFromResourceEx(bits, bytes, TRUE, 0x30000, w, h, LR_DEFAULTCOLOR);
    if (!icon) icon = CreateIconFromResource(bits, bytes, TRUE, 0x30000);
    return icon;
}

}  // namespace ui::win32
