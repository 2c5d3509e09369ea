// The splash window: a bitmap from a file in a borderless pop-up, centred
// on a parent (on the screen without one), that closes itself after a
// time, on a click or on Esc. The object owns itself: it is made with new
// and deletes itself when its window is gone (or could not be made).
#pragma once

#include <windows.h>

#include "win/window.h"

class CSplashWin : public CWindowBase {
public:
    // `blocking` 1 waits inside the first paint for `milliseconds`, 0 uses
    // a timer. Nothing is shown when the bitmap cannot be loaded.
    static CSplashWin* Show(const char* bitmapFile, UINT milliseconds, HWND parent, int blocking);

    BEGIN_MSG_MAP(CSplashWin)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnClick)
    MESSAGE_HANDLER(WM_RBUTTONDOWN, OnClick)
    END_MSG_MAP()

    // Splash windows alive, for tests.
    static int LiveCount();

private:
    CSplashWin(HBITMAP bitmap, UINT milliseconds, HWND parent, int blocking)
        : m_bitmap(bitmap), m_time(milliseconds), m_parent(parent), m_blocking(blocking) {}
    ~CSplashWin() override;
    void OnFinalMessage(HWND) override { delete this; }

    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnKeyDown(UINT, WPARAM key, LPARAM, BOOL&);
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClick(UINT, WPARAM, LPARAM, BOOL&);

    HBITMAP m_bitmap;
    UINT m_time;
    HWND m_parent;
    int m_blocking;
};

// At start-up: "start.bmp" of the current folder for a second, when there
// is one.
void ShowStartSplash();
