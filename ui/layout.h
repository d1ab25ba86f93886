// Windows as data: every control of a window with its kind, name, place and look.
#pragma once

#include <string>
#include <vector>

#include "ui/types.h"

namespace ui {

struct ControlSpec {
    ControlKind kind = ControlKind::Label;
    std::string name;
    Rect rect;
    std::string text;

    Color textColor = rgb(0, 0, 0);
    bool hasBackColor = false;  // false: the system default for the element
    Color backColor = 0;
    std::vector<Color> gradient;  // 2 or 3 stops; empty means plain background
    bool gradientVertical = true;
    Picture picture = Picture::None;  // label/picture box picture, image button normal picture
    Picture hotPicture = Picture::None;
    Border border = Border::None;
    Font font = Font::gui();
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Middle;
    TextEffect effect = TextEffect::None;

    InputMode input = InputMode::Normal;
    int maxLength = 0;  // 0: the platform's limit
    bool upDown = false;
    int upDownMin = 0, upDownMax = 0;
    Rect upDownRect;

    std::vector<std::string> items;
    int selected = -1;
    Cursor cursor = Cursor::Arrow;
    int dropHeight = 160;

    bool enabled = true;
    bool visible = true;

    int period = 0;  // timer

    // balloon tip
    int autoPopMs = 3000, initialMs = 600;
    std::vector<Color> balloonColors;

    // list view
    std::vector<ListColumn> columns;
    Color listBackColor = 0;
};

struct WindowSpec {
    std::string name;
    std::string title;
    int width = 0, height = 0;
    Picture background = Picture::None;
    bool hasBackColor = false;
    Color backColor = 0;
    bool dragMove = false;   // background, labels and picture boxes move the window
    bool escCloses = false;  // Esc sends WM_CLOSE unless the focused control takes it
    bool inTaskbar = true;   // false: owned by the hidden window, no taskbar button
    bool topmost = false;
    bool visibleOnLoad = true;
    bool minimizeBox = false;
    std::vector<ControlSpec> controls;

    int indexOf(const std::string& controlName) const;
};

}  // namespace ui
