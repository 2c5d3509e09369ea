// The caption band that docked windows and the auto-hide pane draw in their
// non-client area, with its one pin button, and text shortened with "...".
#pragma once
#include <windows.h>
#include <string>

namespace zav {

class CVirtualButton {
public:
    enum : DWORD { kHot = 1, kPressed = 2 };
    RECT rc = {0, 0, 0, 0};
    DWORD state = 0;
    bool Hot() const { return (state & kHot) != 0; }
    bool Pressed() const { return (state & kPressed) != 0; }
};

class CPinButton : public CVirtualButton {
public:
    // 1: a docked window's caption (icon 204); 0: the auto-hide pane's (icon 205).
    int stateIndex = 1;
    void Draw(HDC dc) const;
};

const COLORREF kCaptionFill = RGB(0x6C, 0xC4, 0xFF);

class COutlookLikeExCaption {
public:
    explicit COutlookLikeExCaption(int pinStateIndex) { m_pin.stateIndex = pinStateIndex; }

    // Height from the horizontal caption font (+8), 23 when it cannot be measured.
    void UpdateMetrics();
    int Height() const { return m_height; }
    // Cuts the band from the top of `windowRect` (window coordinates) and places the button.
    void CalcLayout(RECT& windowRect);
    void SetEmpty();
    const RECT& Rect() const { return m_rc; }
    CPinButton& Pin() { return m_pin; }

    void Draw(HDC dc, const char* text) const;
    // HTOBJECT over the pin button, HTCAPTION elsewhere on the band, HTNOWHERE off it.
    LRESULT HitTest(POINT windowPt) const;

    // Hover feedback: call on every non-client mouse move with its hit code.
    void OnNcMouseMove(HWND hwnd, LRESULT hit);
    // WM_TIMER of the window: true when it was the button's timer.
    bool OnTimer(HWND hwnd, UINT_PTR id);
    // Holds the capture until a button is released; true when released over the pin.
    bool PressPin(HWND hwnd);
    // Repaints the window's non-client area.
    static void RedrawNc(HWND hwnd);

private:
    RECT m_rc = {0, 0, 0, 0};
    int m_height = 23;
    CPinButton m_pin;
};

// Draws text inside rc, ending in "..." when it does not fit. DT_ flags as DrawText
// for horizontal text; `vertical` runs the text top to bottom (font turned 270°).
void DrawEllipsisText(HDC dc, const char* text, RECT rc, UINT dtFlags, bool vertical = false);
// The text DrawEllipsisText draws for a width (exposed for tests).
std::string EllipsisFit(HDC dc, const char* text, int width);

// The pin icons, loaded from the program's resources (204, 205) once.
HICON PinIcon(int stateIndex);

}  // namespace zav
