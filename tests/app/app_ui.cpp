#include "tests/app/app_ui.h"

#include <cstring>
#include <string>

namespace {

struct Found {
    const char* cls;
    int id;  // -1: any
    const char* text;
    HWND parent;  // null: anywhere
    HWND hit;
};

bool Matches(HWND w, const Found& f) {
    char cls[64] = {}, text[256] = {};
    ::GetClassNameA(w, cls, sizeof cls);
    if (f.cls && _stricmp(cls, f.cls) != 0) return false;
    if (f.id != -1 && ::GetDlgCtrlID(w) != f.id) return false;
    if (f.parent && ::GetParent(w) != f.parent) return false;
    if (!::IsWindowVisible(w)) return false;
    ::GetWindowTextA(w, text, sizeof text);
    return !f.text || strcmp(text, f.text) == 0;
}

BOOL CALLBACK FindChild(HWND w, LPARAM lp) {
    Found& f = *reinterpret_cast<Found*>(lp);
    if (!Matches(w, f)) return TRUE;
    f.hit = w;
    return FALSE;
}

BOOL CALLBACK FindTop(HWND w, LPARAM lp) {
    Found& f = *reinterpret_cast<Found*>(lp);
    if (!f.parent && Matches(w, f)) {
        f.hit = w;
        return FALSE;
    }
    ::EnumChildWindows(w, FindChild, lp);
    return f.hit ? FALSE : TRUE;
}

BOOL CALLBACK FindCaption(HWND w, LPARAM lp) {
    Found& f = *reinterpret_cast<Found*>(lp);
    char text[256] = {};
    ::GetWindowTextA(w, text, sizeof text);
    if (::IsWindowVisible(w) && strcmp(text, f.text) == 0) {
        f.hit = w;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

namespace appui {

HWND FindAppWindow(AppSession& app, const char* cls, int id, const char* text, HWND parent, DWORD timeoutMs) {
    const DWORD thread = ::GetWindowThreadProcessId(app.Frame(), nullptr);
    timeoutMs = Scaled(timeoutMs);
    for (DWORD waited = 0;; waited += 100) {
        Found f = {cls, id, text, parent, nullptr};
        ::EnumThreadWindows(thread, FindTop, reinterpret_cast<LPARAM>(&f));
        if (f.hit || waited >= timeoutMs) return f.hit;
        Sleep(100);
    }
}

HWND FindAppTopWindow(AppSession& app, const char* caption, DWORD timeoutMs) {
    const DWORD thread = ::GetWindowThreadProcessId(app.Frame(), nullptr);
    timeoutMs = Scaled(timeoutMs);
    for (DWORD waited = 0;; waited += 100) {
        Found f = {nullptr, -1, caption, nullptr, nullptr};
        ::EnumThreadWindows(thread, FindCaption, reinterpret_cast<LPARAM>(&f));
        if (f.hit || waited >= timeoutMs) return f.hit;
        Sleep(100);
    }
}

}  // namespace appui
