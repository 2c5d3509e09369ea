#include "win/mdi.h"

// ---------------------------------------------------------------- frame

HWND CMDIFrameWindow::CreateMDIClient(const MDIClientArgs& args) {
    if (m_hWnd == nullptr || m_hWndMDIClient != nullptr) return nullptr;
    // The frame's scroll bars belong to the client, which scrolls the children.
    DWORD scroll = GetStyle() & (WS_HSCROLL | WS_VSCROLL);
    if (scroll != 0) ModifyStyle(scroll, 0, SWP_FRAMECHANGED);

    CLIENTCREATESTRUCT ccs = {};
    ccs.hWindowMenu = args.windowMenu;
    ccs.idFirstChild = args.firstChildId;
    RECT rc = GetClientAreaForView();
    HWND client =
        ::CreateWindowExA(args.exStyle, "MDIClient", nullptr, args.style | scroll, rc.left, rc.top, rc.right - rc.left,
                          rc.bottom - rc.top, m_hWnd, (HMENU)(UINT_PTR)args.id, win::ModuleInstance(), &ccs);
    if (client == nullptr) return nullptr;
    ::SetWindowPos(client, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_hWndMDIClient = client;
    m_hWndClient = client;
    return client;
}

HWND CMDIFrameWindow::MDIGetActive(BOOL* maximized) const {
    if (m_hWndMDIClient == nullptr) return nullptr;
    return (HWND)::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0, (LPARAM)maximized);
}

void CMDIFrameWindow::MDIActivate(HWND child) const {
    ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)child, 0);
}

void CMDIFrameWindow::MDINext(HWND child, BOOL previous) const {
    ::SendMessageA(m_hWndMDIClient, WM_MDINEXT, (WPARAM)child, previous);
}

void CMDIFrameWindow::MDICascade(UINT flags) const { ::SendMessageA(m_hWndMDIClient, WM_MDICASCADE, flags, 0); }

void CMDIFrameWindow::MDITile(UINT flags) const { ::SendMessageA(m_hWndMDIClient, WM_MDITILE, flags, 0); }

void CMDIFrameWindow::MDIIconArrange() const { ::SendMessageA(m_hWndMDIClient, WM_MDIICONARRANGE, 0, 0); }

BOOL CMDIFrameWindow::TranslateMDISysAccel(MSG* pMsg) const {
    if (m_hWndMDIClient == nullptr) return FALSE;
    return ::TranslateMDISysAccel(m_hWndMDIClient, pMsg);
}

LRESULT CMDIFrameWindow::DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (m_superProc != nullptr) return CFrameWindow::DefWindowProc(uMsg, wParam, lParam);
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, uMsg, wParam, lParam);
}

LRESULT CMDIFrameWindow::OnMDISize(UINT, WPARAM wParam, LPARAM, BOOL&) {
    // Handled here: DefFrameProc would stretch the client over the bars.
    if (wParam != SIZE_MINIMIZED) UpdateLayout();
    return 0;
}

// ---------------------------------------------------------------- child

namespace win {

const char* DefaultMDIChildClass() {
    static const char kName[] = "ZavMDIChild";
    if (!IsWindowClassRegistered(kName)) {
        WindowClassArgs a;
        a.name = kName;
        a.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        RegisterWindowClass(a);
    }
    return kName;
}

}  // namespace win

HWND CMDIChildWindow::Create(const CreateArgs& a) {
    if (m_hWnd != nullptr || a.parent == nullptr) return nullptr;
    MDICREATESTRUCTA mcs = {};
    mcs.szClass = a.className ? a.className : win::DefaultMDIChildClass();
    mcs.szTitle = a.title ? a.title : "";
    mcs.hOwner = win::ModuleInstance();
    mcs.x = a.x;
    mcs.y = a.y;
    mcs.cx = a.cx;
    mcs.cy = a.cy;
    mcs.style = a.style;
    mcs.lParam = (LPARAM)a.param;

    WNDCLASSEXA info = {sizeof(info)};
    bool ours = ::GetClassInfoExA(win::ModuleInstance(), mcs.szClass, &info) && info.lpfnWndProc == &StaticWndProc;
    if (!ours) return nullptr;  // a child must route through DefMDIChildProc
    m_superProc = nullptr;
    SetPendingCreate();
    m_inCreate = true;
    HWND h = (HWND)::SendMessageA(a.parent, WM_MDICREATE, 0, (LPARAM)&mcs);
    m_inCreate = false;
    ClearPendingCreate(this);
    if (h == nullptr) {
        if (m_hWnd != nullptr) Unbind();
        return nullptr;
    }
    m_ownsWindow = true;
    return h;
}

CMDIChildWindow::~CMDIChildWindow() {
    if (m_hWnd == nullptr) return;
    HWND h = m_hWnd;
    bool owned = m_ownsWindow;
    Unbind();
    if (owned && ::IsWindow(h)) ::SendMessageA(::GetParent(h), WM_MDIDESTROY, (WPARAM)h, 0);
}

void CMDIChildWindow::MDIDestroy() const { ::SendMessageA(GetMDIClient(), WM_MDIDESTROY, (WPARAM)m_hWnd, 0); }

void CMDIChildWindow::MDIActivate() const { ::SendMessageA(GetMDIClient(), WM_MDIACTIVATE, (WPARAM)m_hWnd, 0); }

void CMDIChildWindow::MDIMaximize() const { ::SendMessageA(GetMDIClient(), WM_MDIMAXIMIZE, (WPARAM)m_hWnd, 0); }

void CMDIChildWindow::MDIRestore() const { ::SendMessageA(GetMDIClient(), WM_MDIRESTORE, (WPARAM)m_hWnd, 0); }

LRESULT CMDIChildWindow::DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (m_superProc != nullptr) return CWindowBase::DefWindowProc(uMsg, wParam, lParam);
    return ::DefMDIChildProcA(m_hWnd, uMsg, wParam, lParam);
}
