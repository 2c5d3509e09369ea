// The cross-hair and pick aperture each drawing view XOR-draws over its
// painted drawing, and the pointer shapes of the cursor types.
#pragma once

#include <windows.h>

// Message the main frame hands on to every view: erase, change one cursor
// setting (wParam 0 reapply the settings, 1 kind, 2 dotted, 3 aperture
// shape, 4 aperture half-size; lParam the value), redraw.
constexpr UINT kCursorSettingsMessage = WM_APP + 1003;  // 33771
// WM_COMMAND id that makes a view's cursor erase its cross-hair.
constexpr int kCursorEraseCommand = 3000;

class CCadCursor {
public:
    CCadCursor() = default;
    virtual ~CCadCursor() = default;

    // Kinds of cross-hair.
    enum { kFullWindow = 0, kShortCross = 1, kNone = -1 };
    // Aperture shape bits.
    enum { kSquare = 1, kCircle = 2 };

    void Attach(HWND view) { m_view = view; }
    // The cursor settings of the user's cursor type.
    void ApplySettings();
    // Erases a drawn cross-hair; with show, draws it again at the last
    // pointer position.
    void Redraw(bool show);
    void Erase() { Redraw(false); }
    // The pointer moved to this screen position.
    void SetScreenPos(POINT screen) { m_screen = screen; }
    // One setting changed through the settings message; erases and redraws.
    void ChangeSetting(WPARAM which, LPARAM value);
    // The pointer of a view's WM_SETCURSOR outside overview mode.
    void SetViewCursor() const;

    // State, for the view and the tests.
    int drawn = 0;
    int apertureEnabled = 1;
    int cursorEnabled = 1;
    int kind = kFullWindow;
    int drawnKind = kFullWindow;
    int dotted = 0;
    int halfSize = 10;
    int shape = 1;
    POINT drawnAt = {0, 0};

    // XOR-draws the cross-hair of `kind` at client (x, y) into dc.
    void DrawAt(HDC dc, const RECT& client, int x, int y, int kindToDraw) const;

private:
    HWND m_view = nullptr;
    POINT m_screen = {0, 0};
};

// The pointer of a cursor type: type 2 shows the hand "CURNUL" when
// CURSOR02TYPE is 1, else the arrow; types 0 and 1 show none (the
// cross-hair stands in for it).
void SetCursorTypePointer(int type);
// The cursor type the user chose (MOUSE of the window settings).
int CursorType();
// Erases the cross-hair of every drawing view (focus moved to a view).
void EraseAllViewCursors();
// The view's cursor, null for a window that is no drawing view.
CCadCursor* ViewCursorOf(HWND view);
