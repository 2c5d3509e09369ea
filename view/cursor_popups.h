// The small pop-ups that follow the pointer over a drawing view: each
// view's message pop-up and coordinates pop-up (CCursorMsgWin), set by the
// running command through WM_COMMAND 8000 and 8001 to the view, and the one
// snap pop-up (CSnapWin) naming the kind of the last snapped point.
#pragma once

#include <windows.h>

#include <string>

// WM_COMMAND ids a command sends to a view.
constexpr int kViewCmdMessagePopup = 8000;
constexpr int kViewCmdCursorPopups = 8001;

// Process-wide state of the view pop-ups.
struct CursorPopupState {
    int mode = 0;           // 0 none, 1 shown while the key condition holds, 10 message always
    int shiftRequired = 1;  // mode 1 shows only while Shift is held
    int alwaysMessage = 0;  // mode 1 keeps the message without Shift
    std::string message;
    double base[3] = {0, 0, 0};
    int baseSet = 0;
    double snapPitch[3] = {0, 0, 0};
};
CursorPopupState& CursorPopups();

class CCursorMsgWin {
public:
    enum Kind { kMessage = 0, kCoordinates = 1 };
    explicit CCursorMsgWin(int kind = kMessage) : kind(kind) {}
    virtual ~CCursorMsgWin();

    // Creates the pop-up owned by `owner` (nothing when disabled).
    void Create(HWND owner);
    // Measures, places and shows the pop-up at the point (screen) or the
    // pointer; 1 when shown, 0 for an empty text.
    int Update(const POINT* at = nullptr);
    void Hide();
    void Destroy();
    HWND Window() const { return m_wnd; }

    int disabled = 0;
    int corner = 0;  // 0 below-left, 1 below-right, 2 above-right, 3 above-left
    int kind;
    std::string text, lineX, lineY;
    int interval = 800;
    int shown = 0;
    POINT pos = {0, 0};
    COLORREF background = ::GetSysColor(COLOR_BTNFACE), ink = RGB(0, 0, 0);

    void Paint(HDC dc);
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);

private:
    HWND m_wnd = nullptr;
    HFONT m_font = nullptr;
};

class CSnapWin {
public:
    CSnapWin() = default;
    virtual ~CSnapWin();
    // Shows the name of the snap kind (1 end point ... 5 centre) near the
    // screen point or the pointer; kind 0 only hides. 0 when disabled or
    // kind 0, 1 otherwise.
    int Show(int kind, const POINT* at = nullptr);
    void Hide();
    // The process' one snap pop-up.
    static CSnapWin& Instance();
    // The kind shown at a world point of the active view (the hover search).
    static void ShowAtWorld(int kind, const double* worldPoint);

    int disabled = 0;
    int interval = 800;
    int shown = 0;
    POINT pos = {0, 0};
    std::string text;
    COLORREF background = ::GetSysColor(COLOR_BTNFACE), ink = RGB(0, 0, 0);
    HWND Window() const { return m_wnd; }
    // Hides when the pointer left the place it was shown for.
    void CheckPointer();
    static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);

private:
    HWND m_wnd = nullptr;
};

// The names of the snap kinds (0 empty, 1 "端点" ... 5 "中心").
const char* SnapKindName(int kind);
// The two lines of the coordinates pop-up for a cursor at (x, y) and the base
// point: " X:%*s " and " Y:%*s " right-aligned to the longer number.
void FormatCoordLines(double x, double y, const double* base, std::string* lineX, std::string* lineY);
// Top-left corner of a pop-up of text size (w, h) at point (x, y) for a
// corner 0-3.
POINT PopupCorner(int corner, int x, int y, int w, int h);

// WM_COMMAND 8000 and 8001 of a view: the message and coordinate pop-ups of
// the view. Returns 1 when the id was one of them.
int HandleCursorPopupCommand(HWND view, CCursorMsgWin& message, CCursorMsgWin& coords, int id, int code, LPARAM lParam);
// The pop-ups of a view after a mouse move, and when the pointer left it.
void UpdateCursorPopups(CCursorMsgWin& message, CCursorMsgWin& coords);
void HideCursorPopupsOnLeave(CCursorMsgWin& message, CCursorMsgWin& coords);
