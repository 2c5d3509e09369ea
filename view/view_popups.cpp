#include "view/view_popups.h"

int PopupFullRepaintRequest = 0;
int PopupLightRepaintRequest = 1;  // the first tick repaints
int PopupRefreshFlag = 0;

void RequestPopupRefresh() { PopupRefreshFlag = 1; }
int ViewClosingFlag = 0;

namespace {
constexpr const char* kLayerClass = "LAY_WND";
constexpr const char* kLayoutClass = "#LAYOUTVIEW#";
constexpr const char* kLoupeClass = "#ROUPEVIEW#";
HWND g_layout = nullptr;
HWND g_loupe = nullptr;

LRESULT CALLBACK PopupProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_NCDESTROY:
        if (h == g_layout) g_layout = nullptr;
        if (h == g_loupe) g_loupe = nullptr;
        break;
    case WM_CLOSE:
        ::ShowWindow(h, SW_HIDE);  // the host shows and hides them
        return 0;
    default: break;
    }
    return ::DefWindowProcA(h, m, w, l);
}

bool Register(HINSTANCE instance, const char* name) {
    WNDCLASSA existing;
    if (::GetClassInfoA(instance, name, &existing)) return true;
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = PopupProc;
    wc.cbWndExtra = 2 * sizeof(LONG_PTR);
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)::GetStockObject(BLACK_BRUSH);
    wc.lpszClassName = name;
    return ::RegisterClassA(&wc) != 0;
}

HWND MakePopup(const char* cls, const char* title, HWND owner) {
    return ::CreateWindowExA(WS_EX_TOOLWINDOW, cls, title, WS_POPUP | WS_CAPTION | WS_THICKFRAME, 0, 0, 240, 180, owner,
                             nullptr, ::GetModuleHandleA(nullptr), nullptr);
}
}  // namespace

int RegisterViewPopupClasses(HINSTANCE instance) {
    bool ok = Register(instance, kLayerClass);
    ok = Register(instance, kLayoutClass) && ok;
    ok = Register(instance, kLoupeClass) && ok;
    return ok ? 1 : 0;
}

void UnregisterViewPopupClasses(HINSTANCE instance) {
    ::UnregisterClassA(kLayerClass, instance);
    ::UnregisterClassA(kLayoutClass, instance);
    ::UnregisterClassA(kLoupeClass, instance);
}

int CreateViewPopups(HWND owner) {
    if (!RegisterViewPopupClasses(::GetModuleHandleA(nullptr))) return 0;
    if (!g_layout) g_layout = MakePopup(kLayoutClass, "", owner);
    if (!g_loupe) g_loupe = MakePopup(kLoupeClass, "", owner);
    return (g_layout && g_loupe) ? 1 : 0;
}

void DestroyViewPopups() {
    if (g_layout) ::DestroyWindow(g_layout);
    if (g_loupe) ::DestroyWindow(g_loupe);
    g_layout = g_loupe = nullptr;
}

HWND LayoutViewWindow() { return g_layout; }
HWND LoupeWindow() { return g_loupe; }

int ToggleOverviewMode(HWND) { return 0; }
int OverviewClickedLayer = 0;

void CSnapWin::Show(int, const double*) {}
