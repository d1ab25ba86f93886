// Value types shared by the window model, its backends and the layouts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

using Color = std::uint32_t;  // COLORREF layout: 0x00BBGGRR
constexpr Color rgb(int r, int g, int b) {
    return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int redOf(Color c) {
    return c & 0xFF;
}
constexpr int greenOf(Color c) {
    return (c >> 8) & 0xFF;
}
constexpr int blueOf(Color c) {
    return (c >> 16) & 0xFF;
}

// Left, top, right, bottom; right and bottom are exclusive.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool intersects(const Rect& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    bool operator==(const Rect& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};
inline Rect rectXYWH(int x, int y, int w, int h) {
    return Rect{x, y, x + w, y + h};
}

struct Point {
    int x = 0, y = 0;
};

// A font as a design gives it; made with DEFAULT_CHARSET and PROOF_QUALITY whatever else.
struct Font {
    std::string face;  // empty face with height 0 and weight 0 means the GUI font
    int height = 0;    // character height in pixels (negative lfHeight)
    int weight = 400;
    bool guiFont = false;

    static Font gui() { return Font{"", 0, 0, true}; }
    static Font make(std::string f, int h, int w = 400) { return Font{std::move(f), h, w, false}; }
};

enum class ControlKind {
    TransparentLabel,
    Label,
    EditBox,
    DropDownList,
    ImageButton,
    PictureBox,
    Timer,
    FileDialog,
    BalloonTip,
    ListView,
};
const char* kindName(ControlKind k);

enum class HAlign { Left, Center, Right };
enum class VAlign { Top, Middle, Bottom, WordWrap };
enum class TextEffect { None, Engraved, Embossed, Shadow };
enum class Border { None, Single, Sunken };
enum class InputMode { Normal, ReadOnly, Integer };
enum class Cursor { Arrow, Hand, Cross };

// The program's pictures; the backends map each to its embedded bytes.
enum class Picture {
    None,
    MainBackground,
    MessageBackground,
    ChooserBackground,
    PopupBackground,
    Browse,
    BrowseHot,
    Start,
    StartHot,
    Stop,
    StopHot,
    Ok,
    OkHot,
    Cancel,
    CancelHot,
    Minimize,
    MinimizeHot,
    Maximize,
    MaximizeHot,
    Close,
    CloseHot,
    PopupClose,
    PopupCloseHot,
    AppIcon,
};

enum class Placement { Normal, Minimized, Maximized };

// Events that reach the handlers.
enum class ControlEvent {
    TextChanged,
    GotFocus,
    LostFocus,
    ItemSelected,
    Clicked,
    Tick,
    ItemActivated
};
enum class WindowEvent { Created, Moved, Sized, Tray, Destroying };

struct ListColumn {
    std::string title;
    int width = 0;
};

}  // namespace ui
