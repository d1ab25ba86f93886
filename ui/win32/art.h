// The pictures as GDI bitmaps, made once from the embedded BMP bytes and kept for the run.
#pragma once

#include <windows.h>

#include "ui/types.h"

namespace ui::win32 {
HBITMAP pictureBitmap(Picture p);  // nullptr for Picture::None and AppIcon
SIZE pictureSize(Picture p);
// A new icon from ICO bytes (its first image), or nullptr; the caller owns it.
HICON iconFromIco(const unsigned char* data, size_t size, int cx = 0, int cy = 0);
}  // namespace ui::win32
