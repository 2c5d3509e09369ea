#include "win/window.h"

#include <vector>

namespace {

// The object waiting for its window: set by Create() just before the window
// is made, taken by the window's first message.
thread_local CWindowBase* t_pendingCreate = nullptr;

// The property that leads from a window to its object. Its name carries
// the module, so that an exe and a DLL that both link this framework each
// see only their own objects (and may each subclass the same window).
ATOM ObjectPropAtom() {
    static ATOM atom = [] {
        char name[40];
        wsprintfA(name, "ZavWinObject%p", (void*)win::ModuleInstance());
        return ::GlobalAddAtomA(name);
    }();
    return atom;
}

const char kDefaultClass[] = "ZavWindow";

}  // namespace

// ---------------------------------------------------------------- CWindow

std::string CWindow::GetWindowText() const {
    int len = ::GetWindowTextLengthA(m_hWnd);
    if (len <= 0) return std::string();
    std::vector<char> buf(len + 2);
    int got = ::GetWindowTextA(m_hWnd, buf.data(), (int)buf.size());
    return std::string(buf.data(), got > 0 ? got : 0);
}

RECT CWindow::GetClientRect() const {
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(m_hWnd, &rc);
    return rc;
}

RECT CWindow::GetWindowRect() const {
    RECT rc = {0, 0, 0, 0};
    ::GetWindowRect(m_hWnd, &rc);
    return rc;
}

BOOL CWindow::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags) const {
    DWORD style = GetStyle();
    DWORD next = (style & ~remove) | add;
    if (style == next) return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, (LONG_PTR)next);
    if (swpFlags != 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

BOOL CWindow::CenterWindow(HWND over) const {
    if (over == nullptr) {
        over = (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);
    }
    RECT self = GetWindowRect();
    MONITORINFO mi = {sizeof(mi)};
    HMONITOR mon = ::MonitorFromWindow(over ? over : m_hWnd, MONITOR_DEFAULTTONEAREST);
    ::GetMonitorInfoA(mon, &mi);
    RECT area = mi.rcWork;
    RECT target = area;
    if (over != nullptr && ::IsWindowVisible(over) && !::IsIconic(over)) ::GetWindowRect(over, &target);
    int w = self.right - self.left, h = self.bottom - self.top;
    int x = (target.left + target.right) / 2 - w / 2;
    int y = (target.top + target.bottom) / 2 - h / 2;
    if (x + w > area.right) x = area.right - w;
    if (x < area.left) x = area.left;
    if (y + h > area.bottom) y = area.bottom - h;
    if (y < area.top) y = area.top;
    if (GetStyle() & WS_CHILD) {
        POINT pt = {x, y};
        ::ScreenToClient(::GetParent(m_hWnd), &pt);
        x = pt.x;
        y = pt.y;
    }
    return ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---------------------------------------------------------------- classes

namespace win {

HINSTANCE ModuleInstance() {
    static HINSTANCE inst = [] {
        HMODULE mod = nullptr;
        ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             reinterpret_cast<LPCSTR>(&ModuleInstance), &mod);
        return mod ? (HINSTANCE)mod : ::GetModuleHandleA(nullptr);
    }();
    return inst;
}

ATOM RegisterWindowClass(const WindowClassArgs& args) {
    if (args.name == nullptr || args.name[0] == '\0') return 0;
    HINSTANCE inst = args.instance ? args.instance : ModuleInstance();
    WNDCLASSEXA wc = {sizeof(wc)};
    wc.style = args.style;
    wc.lpfnWndProc = args.proc ? args.proc : &CWindowBase::StaticWndProc;
    wc.cbClsExtra = args.classExtra;
    wc.cbWndExtra = args.windowExtra;
    wc.hInstance = inst;
    wc.hIcon = args.icon;
    wc.hIconSm = args.iconSmall;
    wc.hCursor = args.cursor ? args.cursor : ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = args.background;
    wc.lpszMenuName = args.menuName;
    wc.lpszClassName = args.name;
    ATOM atom = ::RegisterClassExA(&wc);
    if (atom == 0 && ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
        WNDCLASSEXA have = {sizeof(have)};
        atom = (ATOM)::GetClassInfoExA(inst, args.name, &have);
    }
    return atom;
}

bool IsWindowClassRegistered(const char* name, HINSTANCE instance) {
    WNDCLASSEXA info = {sizeof(info)};
    return name != nullptr && ::GetClassInfoExA(instance ? instance : ModuleInstance(), name, &info) != 0;
}

BOOL UnregisterWindowClass(const char* name, HINSTANCE instance) {
    return ::UnregisterClassA(name, instance ? instance : ModuleInstance());
}

const char* DefaultWindowClass() {
    if (!IsWindowClassRegistered(kDefaultClass)) {
        WindowClassArgs a;
        a.name = kDefaultClass;
        a.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        RegisterWindowClass(a);
    }
    return kDefaultClass;
}

void UnregisterFrameworkClasses() {
    // Names spelled out here so that this file needs no frame or MDI code.
    for (const char* name : {kDefaultClass, "ZavFrame", "ZavMDIChild"})
        if (IsWindowClassRegistered(name)) UnregisterWindowClass(name);
}

}  // namespace win

// ---------------------------------------------------------------- CWindowBase

CWindowBase::~CWindowBase() {
    if (m_hWnd == nullptr) return;
    HWND h = m_hWnd;
    Unbind();
    if (m_ownsWindow && ::IsWindow(h)) ::DestroyWindow(h);
}

CWindowBase* CWindowBase::FromHandle(HWND hWnd) {
    if (hWnd == nullptr) return nullptr;
    return static_cast<CWindowBase*>(::GetPropA(hWnd, MAKEINTATOM(ObjectPropAtom())));
}

void CWindowBase::SetPendingCreate() { t_pendingCreate = this; }

CWindowBase* CWindowBase::TakePendingCreate() {
    CWindowBase* p = t_pendingCreate;
    t_pendingCreate = nullptr;
    return p;
}

void CWindowBase::ClearPendingCreate(CWindowBase* expected) {
    if (t_pendingCreate == expected) t_pendingCreate = nullptr;
}

void CWindowBase::Bind(HWND hWnd) {
    m_hWnd = hWnd;
    m_destroyed = false;
    ::SetPropA(hWnd, MAKEINTATOM(ObjectPropAtom()), (HANDLE)this);
}

void CWindowBase::Unbind() {
    if (m_hWnd == nullptr) return;
    if (::IsWindow(m_hWnd)) {
        ::RemovePropA(m_hWnd, MAKEINTATOM(ObjectPropAtom()));
        if (m_superProc != nullptr && (WNDPROC)::GetWindowLongPtrA(m_hWnd, GWLP_WNDPROC) == &StaticWndProc)
            ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_superProc);
    }
    m_hWnd = nullptr;
}

HWND CWindowBase::Create(const CreateArgs& a) {
    if (m_hWnd != nullptr) return nullptr;
    const char* cls = a.className ? a.className : win::DefaultWindowClass();
    HMENU menu = a.menu;
    if (menu == nullptr && (a.style & WS_CHILD) && a.id != 0) menu = (HMENU)(UINT_PTR)a.id;

    // Is it one of ours (binds from the first message) or somebody else's
    // (subclassed once made)?
    WNDCLASSEXA info = {sizeof(info)};
    bool ours = ::GetClassInfoExA(win::ModuleInstance(), cls, &info) && info.lpfnWndProc == &StaticWndProc;

    m_superProc = nullptr;
    if (ours) SetPendingCreate();
    m_inCreate = true;
    HWND h = ::CreateWindowExA(a.exStyle, cls, a.title, a.style, a.x, a.y, a.cx, a.cy, a.parent, menu,
                               win::ModuleInstance(), a.param);
    m_inCreate = false;
    if (ours) {
        ClearPendingCreate(this);
    } else if (h != nullptr && !SubclassWindow(h)) {
        ::DestroyWindow(h);
        h = nullptr;
    }
    if (h == nullptr) {
        // The window may have been bound and destroyed during creation.
        if (m_hWnd != nullptr) Unbind();
        return nullptr;
    }
    m_ownsWindow = true;
    return h;
}

BOOL CWindowBase::SubclassWindow(HWND hWnd) {
    if (m_hWnd != nullptr || hWnd == nullptr || !::IsWindow(hWnd)) return FALSE;
    if (FromHandle(hWnd) != nullptr) return FALSE;
    WNDPROC old = (WNDPROC)::GetWindowLongPtrA(hWnd, GWLP_WNDPROC);
    if (old == nullptr) return FALSE;
    Bind(hWnd);
    m_superProc = old;
    ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, (LONG_PTR)&StaticWndProc);
    m_ownsWindow = false;
    return TRUE;
}

HWND CWindowBase::UnsubclassWindow() {
    HWND h = m_hWnd;
    Unbind();
    m_superProc = nullptr;
    return h;
}

LRESULT CWindowBase::DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (m_superProc != nullptr) return ::CallWindowProcA(m_superProc, m_hWnd, uMsg, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowBase::DefWindowProc() {
    const MSG* m = m_currentMsg;
    if (m == nullptr) return 0;
    return DefWindowProc(m->message, m->wParam, m->lParam);
}

namespace {

// One entry per routing in progress on this thread, innermost last.
struct RouteEntry {
    CWindowBase* window;
    const MSG* outerMsg;
};
std::vector<RouteEntry>& Routes() {
    static thread_local std::vector<RouteEntry> routes;
    return routes;
}

}  // namespace

size_t CWindowBase::RoutesInProgress() { return Routes().size(); }

void CWindowBase::AbandonRoutesBeyond(size_t count) {
    auto& routes = Routes();
    while (routes.size() > count) {
        const RouteEntry entry = routes.back();
        routes.pop_back();
        --entry.window->m_routeDepth;
        entry.window->m_currentMsg = entry.outerMsg;
    }
}

BOOL CWindowBase::Route(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    MSG msg = {hWnd, uMsg, wParam, lParam, 0, {0, 0}};
    const MSG* outer = m_currentMsg;
    m_currentMsg = &msg;
    ++m_routeDepth;
    Routes().push_back({this, outer});
    result = 0;
    BOOL done = ProcessWindowMessage(hWnd, uMsg, wParam, lParam, result, 0);
    Routes().pop_back();
    --m_routeDepth;
    m_currentMsg = outer;
    if (uMsg == WM_NCDESTROY) m_destroyed = true;
    return done;
}

void CWindowBase::FinishIfDestroyed(HWND hWnd) {
    if (!m_destroyed || m_routeDepth > 0) return;
    m_destroyed = false;
    Unbind();
    m_superProc = nullptr;
    m_ownsWindow = false;
    if (!m_inCreate) OnFinalMessage(hWnd);  // may delete this
}

LRESULT CALLBACK CWindowBase::StaticWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    CWindowBase* self = FromHandle(hWnd);
    if (self == nullptr) {
        self = TakePendingCreate();
        if (self == nullptr) return ::DefWindowProcA(hWnd, uMsg, wParam, lParam);
        self->Bind(hWnd);
    }
    LRESULT result = 0;
    if (!self->Route(hWnd, uMsg, wParam, lParam, result)) {
        // The default sees the message with the depth already dropped; keep
        // the object alive across it by counting it as routing too.
        ++self->m_routeDepth;
        Routes().push_back({self, self->m_currentMsg});
        result = self->DefWindowProc(uMsg, wParam, lParam);
        Routes().pop_back();
        --self->m_routeDepth;
    }
    self->FinishIfDestroyed(hWnd);
    return result;
}

// ---------------------------------------------------------------- reflection

namespace win {

LRESULT ReflectNotification(HWND parent, UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    HWND child = nullptr;
    switch (uMsg) {
    case WM_COMMAND:
        if (lParam != 0) child = (HWND)lParam;
        break;
    case WM_NOTIFY:
        if (lParam != 0) child = ((LPNMHDR)lParam)->hwndFrom;
        break;
    case WM_PARENTNOTIFY:
        switch (LOWORD(wParam)) {
        case WM_CREATE:
        case WM_DESTROY: child = (HWND)lParam; break;
        default: child = ::GetDlgItem(parent, HIWORD(wParam)); break;
        }
        break;
    case WM_DRAWITEM:
        if (wParam && lParam) child = ((LPDRAWITEMSTRUCT)lParam)->hwndItem;
        break;
    case WM_MEASUREITEM:
        if (wParam && lParam) child = ::GetDlgItem(parent, ((LPMEASUREITEMSTRUCT)lParam)->CtlID);
        break;
    case WM_COMPAREITEM:
        if (wParam && lParam) child = ((LPCOMPAREITEMSTRUCT)lParam)->hwndItem;
        break;
    case WM_DELETEITEM:
        if (wParam && lParam) child = ((LPDELETEITEMSTRUCT)lParam)->hwndItem;
        break;
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: child = (HWND)lParam; break;
    default: break;
    }
    if (child == nullptr || child == parent || !::IsWindow(child)) {
        handled = FALSE;
        return 1;
    }
    return ::SendMessageA(child, OCM__BASE + uMsg, wParam, lParam);
}

}  // namespace win
