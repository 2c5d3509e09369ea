// Driving the program's windows from the test process as a user does:
// finding its top-level windows, clicks and keys posted to controls, texts
// read back, and pictures of a window for people to look at.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/app/app_session.h"
#include "tests/app/app_shots.h"

namespace appui {

inline DWORD Scaled(DWORD ms) {
    const char* s = std::getenv("ZAV_TEST_TIME_SCALE");
    const int n = s ? std::atoi(s) : 1;
    return ms * (n > 1 ? static_cast<DWORD>(n) : 1);
}

template <class F>
bool WaitUntil(F done, DWORD ms = 20000) {
    const DWORD start = GetTickCount(), limit = Scaled(ms);
    while (!done()) {
        if (GetTickCount() - start > limit) return false;
        Sleep(50);
    }
    return true;
}

struct TopWindowSearch {
    DWORD pid;
    const char* cls;
    const std::string* title;
    HWND found;
};
inline BOOL CALLBACK MatchTopWindow(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<TopWindowSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != f->pid || !IsWindowVisible(w)) return TRUE;
    char cls[64] = "", text[256] = "";
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, text, sizeof text);
    if (std::string(cls) != f->cls || *f->title != text) return TRUE;
    f->found = w;
    return FALSE;
}

// A visible top-level window of the program with that class and caption.
inline HWND WaitTop(AppSession& app, const char* cls, const std::string& title, DWORD ms = 20000) {
    TopWindowSearch f = {app.ProcessId(), cls, &title, nullptr};
    WaitUntil(
        [&] {
            f.found = nullptr;
            EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&f));
            return f.found != nullptr;
        },
        ms);
    return f.found;
}

struct TopTexts {
    DWORD pid;
    std::string text;
};
inline BOOL CALLBACK CollectTopTexts(HWND w, LPARAM lp) {
    auto* a = reinterpret_cast<TopTexts*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == a->pid && IsWindowVisible(w)) a->text += "{" + AppSession::WindowTexts(w) + "}";
    return TRUE;
}
// The texts of the program's visible top-level windows (for failures).
inline std::string TopCaptions(AppSession& app) {
    TopTexts all = {app.ProcessId(), ""};
    EnumWindows(CollectTopTexts, reinterpret_cast<LPARAM>(&all));
    return all.text;
}

inline bool WaitGone(HWND w) {
    return WaitUntil([&] { return !IsWindow(w) || !IsWindowVisible(w); });
}

inline LRESULT Ask(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR r = 0;
    SendMessageTimeoutA(w, msg, wp, lp, SMTO_NORMAL, Scaled(10000), &r);
    return static_cast<LRESULT>(r);
}

// Presses at a client point: left (button 0) or right (1).
inline void PressAt(HWND w, int x, int y, int button = 0) {
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageA(w, WM_MOUSEMOVE, 0, at);
    PostMessageA(w, button ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, button ? MK_RBUTTON : MK_LBUTTON, at);
    PostMessageA(w, button ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
}
inline void Click(HWND control) {
    RECT rc;
    GetClientRect(control, &rc);
    PressAt(control, rc.right / 2, rc.bottom / 2);
}
inline void Click(HWND dialog, int id) { Click(GetDlgItem(dialog, id)); }

inline void Key(HWND w, UINT vk) {
    PostMessageA(w, WM_KEYDOWN, vk, 1);
    PostMessageA(w, WM_KEYUP, vk, 0xC0000001);
}

inline std::string Text(HWND w) {
    char text[512] = "";
    DWORD_PTR n = 0;
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, Scaled(10000), &n);
    return text;
}
inline void SetText(HWND w, const char* text) {
    DWORD_PTR n = 0;
    SendMessageTimeoutA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, Scaled(10000), &n);
}

inline std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void Shot(HWND window, const char* name) { ShotWindow(window, name); }

}  // namespace appui
