// A docking frame with an MDI client and coloured test panes, real windows
// under Wine, plus helpers to drive them with posted mouse messages.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>
#include <memory>
#include <string>
#include <vector>
#include "docking/docking_frame.h"
#include "docking/docking_hooks.h"
#include "docking/docking_window.h"

struct TestPane : zav::CTitleDockingWindowImpl {
    COLORREF colour = RGB(200, 220, 255);
    POINT minSize = {40, 40};

    BEGIN_MSG_MAP(TestPane)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_PRINTCLIENT, OnPrintClient)
    MESSAGE_HANDLER(WM_GETMINMAXINFO, OnMinMax)
    CHAIN_MSG_MAP(zav::CTitleDockingWindowImpl)
    END_MSG_MAP()

    void Fill(HDC dc) {
        RECT rc = GetClientRect();
        HBRUSH b = ::CreateSolidBrush(colour);
        ::FillRect(dc, &rc, b);
        ::DeleteObject(b);
        ::SetBkMode(dc, TRANSPARENT);
        ::SetTextColor(dc, RGB(0, 0, 0));
        std::string t = GetWindowText();
        ::DrawTextA(dc, t.c_str(), -1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        Fill(dc);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    LRESULT OnPrintClient(UINT, WPARAM w, LPARAM, BOOL&) {
        Fill(reinterpret_cast<HDC>(w));
        return 0;
    }
    LRESULT OnMinMax(UINT, WPARAM, LPARAM l, BOOL&) {
        MINMAXINFO* mmi = reinterpret_cast<MINMAXINFO*>(l);
        mmi->ptMinTrackSize = minSize;
        return 0;
    }
};

inline void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Posts a mouse message to `w` at a screen point.
inline void PostMouse(HWND w, UINT msg, POINT screen, WPARAM keys = 0) {
    ::ScreenToClient(w, &screen);
    ::PostMessageA(w, msg, keys, MAKELPARAM(screen.x, screen.y));
}

inline RECT ScreenRect(HWND w) {
    RECT r;
    ::GetWindowRect(w, &r);
    return r;
}

inline RECT ClientInFrame(HWND frame, HWND w) {
    RECT r;
    ::GetClientRect(w, &r);
    ::MapWindowPoints(w, frame, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class DockingTest : public ::testing::Test {
protected:
    std::unique_ptr<zav::CMDIDockingFrameImpl> frame;
    std::vector<std::unique_ptr<TestPane>> panes;

    void SetUp() override {
        zav::GetDockingHooks() = zav::DockingHooks();
        CreateFrame();
    }
    void TearDown() override {
        DestroyAll();
        zav::GetDockingHooks() = zav::DockingHooks();
    }
    void CreateFrame() {
        frame.reset(new zav::CMDIDockingFrameImpl);
        CreateArgs a;
        a.title = "docking test";
        a.x = 0;
        a.y = 0;
        a.cx = 1000;
        a.cy = 700;
        ASSERT_TRUE(frame->CreateFrame(a));
        ASSERT_TRUE(frame->CreateMDIClient());
        frame->UpdateLayout();
        ::ShowWindow(frame->m_hWnd, SW_SHOW);
        Pump();
    }
    void DestroyAll() {
        for (auto& p : panes)
            if (p->m_hWnd) ::DestroyWindow(p->m_hWnd);
        panes.clear();
        if (frame && frame->m_hWnd) ::DestroyWindow(frame->m_hWnd);
        frame.reset();
        Pump();
    }
    TestPane& NewPane(const char* title, COLORREF colour = RGB(200, 220, 255), RECT rc = {600, 150, 800, 350}) {
        panes.emplace_back(new TestPane);
        TestPane& p = *panes.back();
        p.colour = colour;
        EXPECT_TRUE(p.CreatePane(frame->m_hWnd, title, rc));
        return p;
    }
    // Docks through the stored-position road (code 5), as a restore does.
    bool DockAt(TestPane& p, uint32_t side, uint32_t barIndex = 0, float fraction = 0.0f, int thickness = 150,
                int length = 100) {
        zav::DockWindowPlacement pl = {};
        pl.position.side = side;
        pl.position.barIndex = barIndex;
        pl.position.fraction = fraction;
        pl.position.thickness = thickness;
        pl.position.length = length;
        pl.docked = 1;
        pl.visible = 1;
        ::GetWindowRect(p.m_hWnd, &pl.floatRect);
        bool ok = p.SetDockingWindowPlacement(pl);
        Pump();
        return ok;
    }
    zav::DockPosition Pos(TestPane& p) {
        zav::DockPosition pos = {};
        EXPECT_TRUE(p.GetPosition(pos)) << p.GetWindowText();
        return pos;
    }
    // The MDI client's window (its edge included) in frame client coordinates.
    RECT MdiInFrame() {
        RECT r = ScreenRect(frame->m_hWndMDIClient);
        ::MapWindowPoints(HWND_DESKTOP, frame->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};
