// Driving the program's windows from the test process as a user does:
// waits, finding its windows, clicks and keys posted to controls, texts
// read back and typed, and pictures of a window for
// people to look at (saved only when ZAV_SHOT_DIR is set, by a screenshot
// script's run on a virtual display).
#pragma once

#include <windows.h>

#include <string>

#include "tests/app/app_session.h"
#include "tests/app/app_shots.h"

namespace appui {

// A wait stretched by ZAV_TEST_TIME_SCALE (slow machines).
inline DWORD Scaled(DWORD ms) { return TestTimeScaled(ms); }

// Until `done` holds or the (scaled) time-out; whether it held.
template <class F>
bool WaitUntil(F done, DWORD ms = 20000) {
    const DWORD start = GetTickCount(), limit = Scaled(ms);
    while (!done()) {
        if (GetTickCount() - start > limit) return false;
        Sleep(50);
    }
    return true;
}
inline bool WaitUntil(bool (*done)(void*), void* context, DWORD ms = 20000) {
    return WaitUntil([&] { return done(context); }, ms);
}

// --- Finding windows --------------------------------------------------------
struct TopWindowSearch {
    DWORD pid;
    const char* cls;
    const std::string* title;  // empty: any
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
    if (std::string(cls) != f->cls || (!f->title->empty() && *f->title != text)) return TRUE;
    f->found = w;
    return FALSE;
}

// A visible top-level window of the program with that class and caption
// (empty: any), or null after the time-out.
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

// A visible window of the program's main thread by class (and control id,
// text, parent), top-level or child; null after the time-out.
HWND FindAppWindow(AppSession& app, const char* cls, int id = -1, const char* text = nullptr, HWND parent = nullptr,
                   DWORD timeoutMs = 20000);
// A visible top-level window of the program's main thread with that
// caption, any class, or null.
HWND FindAppTopWindow(AppSession& app, const char* caption, DWORD timeoutMs = 20000);

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

// Until the window is destroyed.
inline bool WaitGone(HWND w) {
    return WaitUntil([&] { return !IsWindow(w); });
}
// Until the window is hidden or destroyed.
inline bool WaitHidden(HWND w) {
    return WaitUntil([&] { return !IsWindow(w) || !IsWindowVisible(w); });
}

// --- Mouse and keys (posted, as the input queue gives them) ----------------
// A press and release at client point (x, y): left (button 0) or right (1).
inline void PressAt(HWND w, int x, int y, int button = 0) {
    const LPARAM at = MAKELPARAM(x, y);
    PostMessageA(w, button ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, button ? MK_RBUTTON : MK_LBUTTON, at);
    PostMessageA(w, button ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
}
// The same after the pointer's move there, as a real mouse gives it.
inline void ClickAt(HWND w, int x, int y, int button = 0) {
    PostMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    PressAt(w, x, y, button);
}
// A left click in the middle of a control.
inline void Click(HWND control) {
    RECT rc;
    GetClientRect(control, &rc);
    ClickAt(control, rc.right / 2, rc.bottom / 2);
}
inline void Click(HWND dialog, int id) { Click(GetDlgItem(dialog, id)); }

// A key pressed and released, with the character it makes (if any).
inline void Key(HWND w, UINT vk, char ch = 0) {
    PostMessageA(w, WM_KEYDOWN, vk, 1);
    if (ch) PostMessageA(w, WM_CHAR, static_cast<unsigned char>(ch), 1);
    PostMessageA(w, WM_KEYUP, vk, 0xC0000001);
}
// Typed characters (what the keyboard's keys make of them).
inline void Type(HWND w, const char* text) {
    for (const char* p = text; *p; ++p)
        PostMessageA(w, WM_CHAR, static_cast<unsigned char>(*p), 1);
}

// --- Messages and texts -----------------------------------------------------
// SendMessage with a time-out (0 when it timed out).
inline LRESULT Ask(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR r = 0;
    SendMessageTimeoutA(w, msg, wp, lp, SMTO_NORMAL, Scaled(10000), &r);
    return static_cast<LRESULT>(r);
}

inline std::string Text(HWND w) {
    char text[512] = "";
    DWORD_PTR n = 0;
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, Scaled(10000), &n);
    return text;
}
inline std::string Text(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }
inline void SetText(HWND w, const char* text) {
    DWORD_PTR n = 0;
    SendMessageTimeoutA(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, Scaled(10000), &n);
}

// --- XML texts --------------------------------------------------------------------
// The text of the first element <name> of an XML text ("" when missing).
inline std::string Element(const std::string& xml, const std::string& name) {
    const size_t a = xml.find("<" + name + ">");
    if (a == std::string::npos) return "";
    const size_t from = a + name.size() + 2, b = xml.find("</" + name + ">", from);
    return b == std::string::npos ? "" : xml.substr(from, b - from);
}

// --- Pictures -------------------------------------------------------------------
inline void Shot(HWND window, const char* name) { ShotWindow(window, name); }
// The whole screen, after `settleMs`.
inline void Shot(const char* name, DWORD settleMs = 500) { ShotWindow(GetDesktopWindow(), name, settleMs); }

}  // namespace appui
