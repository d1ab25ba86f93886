// One owner per GDI/USER resource. Copying is deleted, moving allowed.
#pragma once

#include <windows.h>

#include <utility>

namespace ui::win32 {

template <typename H, BOOL(WINAPI* Free)(H)>
class Owned {
  public:
    Owned() = default;
    explicit Owned(H h) : h_(h) {}
    ~Owned() { reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    Owned& operator=(Owned&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    void reset(H h = nullptr) {
        if (h_) Free(h_);
        h_ = h;
    }
    H get() const { return h_; }
    H release() { return std::exchange(h_, nullptr); }
    explicit operator bool() const { return h_ != nullptr; }

  private:
    H h_ = nullptr;
};

inline BOOL WINAPI deleteGdi(HGDIOBJ h) {
    return DeleteObject(h);
}
template <typename H>
inline BOOL WINAPI deleteGdiT(H h) {
    return DeleteObject(h);
}

using Brush = Owned<HBRUSH, deleteGdiT<HBRUSH>>;
using FontHandle = Owned<HFONT, deleteGdiT<HFONT>>;
using Region = Owned<HRGN, deleteGdiT<HRGN>>;
using BitmapHandle = Owned<HBITMAP, deleteGdiT<HBITMAP>>;
using IconHandle = Owned<HICON, DestroyIcon>;
using MemoryDc = Owned<HDC, DeleteDC>;

// GetDC/GetWindowDC paired with ReleaseDC.
class WindowDc {
  public:
    WindowDc(HWND hwnd, bool whole) : hwnd_(hwnd), dc_(whole ? GetWindowDC(hwnd) : GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// Restores the previous selection into a DC.
class Select {
  public:
    Select(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
    ~Select() {
        if (old_) SelectObject(dc_, old_);
    }
    Select(const Select&) = delete;
    Select& operator=(const Select&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace ui::win32
