#include "panels/rp_menu.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "base/cmd_request.h"
#include "base/dbcs.h"
#include "command/wait_loop.h"

RPMenuStateRecord RPMenuState;

namespace {
constexpr const char* kPopupClass = "MyRPitem";
constexpr const char* kEntryClass = "RPMENU";
constexpr size_t kBufferSize = 65535;

struct Entry {
    int kind;
    int value;
    char text[64];
};
Entry g_entries[kRPMenuMaxItems];
int g_entryCount = 0;
HWND g_popup = nullptr;
char* g_buffer = nullptr;

LRESULT CALLBACK PopupProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_NCDESTROY && h == g_popup) g_popup = nullptr;
    return ::DefWindowProcA(h, m, w, l);
}

bool RegisterOne(HINSTANCE instance, const char* name) {
    WNDCLASSA existing;
    if (::GetClassInfoA(instance, name, &existing)) return true;
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = PopupProc;
    wc.cbWndExtra = 16;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    return ::RegisterClassA(&wc) != 0;
}
}  // namespace

int RegisterRPMenuClasses(HINSTANCE instance) {
    return (RegisterOne(instance, kPopupClass) && RegisterOne(instance, kEntryClass)) ? 1 : 0;
}

int UnregisterRPMenuClasses(HINSTANCE instance) {
    ::UnregisterClassA(kPopupClass, instance);
    ::UnregisterClassA(kEntryClass, instance);
    return 1;
}

int CreateRPMenuWindow(HWND owner, HINSTANCE instance) {
    if (!instance) instance = ::GetModuleHandleA(nullptr);
    RegisterRPMenuClasses(instance);
    if (!g_popup)
        g_popup = ::CreateWindowExA(WS_EX_TOOLWINDOW, kPopupClass, "", WS_POPUP | WS_BORDER, 0, 0, 132, 155, owner,
                                    nullptr, instance, nullptr);
    return 1;
}

HWND RPMenuWindow() { return g_popup; }

void OpenRPMenu(POINT pt) {
    if (!g_popup) return;
    ::SetWindowPos(g_popup, HWND_TOP, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    RPMenuState.shown = 1;
}

int CloseRPMenu() {
    if (!g_popup || !RPMenuState.shown) return 0;
    ::ShowWindow(g_popup, SW_HIDE);
    RPMenuState.shown = 0;
    ::PostMessageA(g_popup, kRPMenuClosedMessage, 0, 0);
    return 1;
}

int AppendRPMenuItem(HMENU menu, UINT flags, UINT commandId, const char* text) {
    return ::AppendMenuA(menu, flags | MF_STRING, commandId, text ? text : "") ? 1 : 0;
}

void ResetRPMenuItems() {
    g_entryCount = 0;
    RPMenuState.useCommandItems = 0;
}

int ClearRPMenuItems() {
    g_entryCount = 0;
    return 1;
}

int EnableRPMenuItems(WPARAM, LPARAM useCommandItems) {
    RPMenuState.useCommandItems = useCommandItems == 1 ? 1 : 0;
    return 1;
}

int AddRPMenuItem(WPARAM, const void* request) {
    if (!request || g_entryCount >= kRPMenuMaxItems) return 0;
    const auto* req = static_cast<const CmdRequest*>(request);
    const char* text = reinterpret_cast<const char*>(req->w.text);
    Entry& e = g_entries[g_entryCount++];
    e.kind = req->panelKind;
    e.value = req->panelExtra;
    DbcsCopy(e.text, sizeof e.text, text ? text : "");
    return 1;
}

int SetRPMenuRightClickOk(int on) {
    RPMenuState.rightClickOk = on;
    return 1;
}

int SetRPMenuHideFlags(WPARAM, int bits) {
    RPMenuState.hideFlags = bits;
    return 1;
}

int RPMenuItemCount() { return g_entryCount; }

int RaiseRPMenuItemEvent(int index) {
    if (index < 0 || index >= g_entryCount) return 0;
    PostPanelEvent(1, g_entries[index].value, 0);
    return 1;
}

int AllocRPMenuBuffer() {
    if (g_buffer) return 1;
    g_buffer = static_cast<char*>(::VirtualAlloc(nullptr, kBufferSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    return g_buffer ? 1 : 0;
}

void FreeRPMenuBuffer() {
    if (g_buffer) ::VirtualFree(g_buffer, 0, MEM_RELEASE);
    g_buffer = nullptr;
}

int LoadRPMenuFile(const char* path) {
    FILE* f = path ? fopen(path, "rb") : nullptr;
    if (!f) return 0;
    if (!g_buffer) {
        fclose(f);
        return 0;
    }
    // The text is kept whole while it fits; the buffer is never overrun.
    size_t n = fread(g_buffer, 1, kBufferSize - 1, f);
    fclose(f);
    g_buffer[n] = '\0';
    return 1;
}

const char* RPMenuBuffer() { return g_buffer; }
