// Driving the program's dialogs from the test process as a user drives
// them: finding a window of the program, clicks and keys on its controls,
// reading their texts back, and the screenshots a run on a real display
// asks for.
//
// With ZAV_SHOT_DIR set (a run on a virtual display by a screenshot
// script), Shot saves the screen there.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tests/app/app_session.h"
#include "tests/app/app_shots.h"

namespace appdlg {

inline DWORD TimeScale() {
    const char* s = std::getenv("ZAV_TEST_TIME_SCALE");
    const int n = s ? std::atoi(s) : 1;
    return n > 1 ? static_cast<DWORD>(n) : 1;
}

template <class F>
bool WaitUntil(F done, DWORD ms = 20000) {
    const DWORD start = GetTickCount(), limit = ms * TimeScale();
    while (!done()) {
        if (GetTickCount() - start > limit) return false;
        Sleep(50);
    }
    return true;
}

struct Find {
    DWORD pid;
    const char* cls;
    std::string title;  // empty: any
    HWND found;
};

inline BOOL CALLBACK FindTop(HWND w, LPARAM lp) {
    auto* f = reinterpret_cast<Find*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != f->pid || !IsWindowVisible(w)) return TRUE;
    char cls[64] = "", title[256] = "";
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, title, sizeof title);
    if (std::string(cls) != f->cls || (!f->title.empty() && f->title != title)) return TRUE;
    f->found = w;
    return FALSE;
}

inline HWND WaitTop(AppSession& app, const char* cls, const std::string& title, DWORD ms = 20000) {
    Find f = {app.ProcessId(), cls, title, nullptr};
    WaitUntil(
        [&] {
            f.found = nullptr;
            EnumWindows(FindTop, reinterpret_cast<LPARAM>(&f));
            return f.found != nullptr;
        },
        ms);
    return f.found;
}

inline bool WaitGone(HWND w) {
    return WaitUntil([&] { return !IsWindow(w); });
}

// A left click in the middle of a control (or at a client point).
inline void ClickAt(HWND w, int x, int y) {
    PostMessageA(w, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}
inline void Click(HWND control) {
    RECT rc;
    GetClientRect(control, &rc);
    ClickAt(control, rc.right / 2, rc.bottom / 2);
}
inline void Click(HWND dialog, int id) { Click(GetDlgItem(dialog, id)); }

// A key pressed and released on a window, as the keyboard gives it.
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

inline std::string Text(HWND w) {
    char text[512] = "";
    DWORD_PTR n = 0;
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 10000, &n);
    return text;
}
inline std::string Text(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

inline LRESULT Ask(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR r = 0;
    SendMessageTimeoutA(w, msg, wp, lp, SMTO_NORMAL, 10000, &r);
    return static_cast<LRESULT>(r);
}

inline std::string ReadText(const std::string& path) {
    std::string out;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return out;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n)
        out.append(buf, n);
    CloseHandle(h);
    return out;
}
inline std::string Element(const std::string& xml, const std::string& name) {
    const size_t a = xml.find("<" + name + ">");
    if (a == std::string::npos) return "";
    const size_t from = a + name.size() + 2, b = xml.find("</" + name + ">", from);
    return b == std::string::npos ? "" : xml.substr(from, b - from);
}

// The whole screen as <name>.bmp into ZAV_SHOT_DIR (when set).
inline void Shot(const char* name) { ::ShotWindow(GetDesktopWindow(), name, 500); }

using ::ShotWindow;

}  // namespace appdlg
