// Points and rectangles in pixels, and the dialog results, as the windows of
// the program see them.
#pragma once

namespace framework {

struct Point {
    int x = 0;
    int y = 0;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// System commands of the window menu.
inline constexpr int kScClose = 0xF060;

}  // namespace framework
