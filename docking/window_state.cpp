#include "docking/window_state.h"
#include <cstdio>

namespace zav {

StateRatio MakeStateRatio(int current, bool haveStored, int stored) {
    StateRatio r;
    if (haveStored && stored > 0 && stored != current && current > 0) {
        r.num = current;
        r.den = stored;
    }
    return r;
}

std::string StateChildName(uint32_t id) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "Wnd-0x%x", static_cast<unsigned>(id));
    return buf;
}

RECT StateWorkArea() {
    RECT r = {0, 0, 0, 0};
    if (!::SystemParametersInfoA(SPI_GETWORKAREA, 0, &r, 0)) {
        r.left = r.top = 0;
        r.right = ::GetSystemMetrics(SM_CXFULLSCREEN);
        r.bottom = ::GetSystemMetrics(SM_CYFULLSCREEN);
    }
    return r;
}

CContainerImpl::~CContainerImpl() {
    for (auto& c : m_children)
        c.second->Release();
}

uint32_t CContainerImpl::Add(IState* state) {
    const uint32_t id = m_nextId--;
    AddState(id, state);
    return id;
}

void CContainerImpl::AddState(uint32_t id, IState* state) {
    if (!state) return;
    state->AddRef();
    auto it = m_children.find(id);
    if (it != m_children.end()) it->second->Release();
    m_children[id] = state;
}

bool CContainerImpl::Store(IStorge& node) {
    for (auto& c : m_children) {
        CStgXML child;
        if (child.Create(node, StateChildName(c.first).c_str()) == 0) c.second->Store(child);
    }
    return true;
}

bool CContainerImpl::Restore(IStorge& node, StateRatio x, StateRatio y) {
    for (auto& c : m_children) {
        CStgXML child;
        if (child.Open(node, StateChildName(c.first).c_str()) != 0 || !c.second->Restore(child, x, y))
            c.second->RestoreDefault();
    }
    return true;
}

bool CContainerImpl::RestoreDefault() {
    for (auto& c : m_children)
        c.second->RestoreDefault();
    return true;
}

namespace {

bool ReadInt(IStorge& node, const char* name, int* v) {
    unsigned long size = sizeof(int);
    int tmp = 0;
    if (node.GetBinary(name, &tmp, &size) != 0 || size != sizeof(int)) return false;
    *v = tmp;
    return true;
}

// Stands in for the main window's procedure while a maximised placement is
// applied, so that the window does not lay itself out for the normal size.
LRESULT CALLBACK QuietPlacementProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    switch (m) {
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_PAINT:
    case WM_NCACTIVATE: return 0;
    }
    return ::DefWindowProcA(h, m, w, l);
}

}  // namespace

CWindowStateMgr::CWindowStateMgr() : m_impl(new CImpl) {}
CWindowStateMgr::~CWindowStateMgr() { m_impl->Release(); }

void CWindowStateMgr::Initialize(HWND hwnd, uint32_t defaultShow) {
    m_impl->m_hWnd = hwnd;
    m_impl->m_defaultShow = defaultShow;
}

bool CWindowStateMgr::Store(IStorge& root) {
    CStgXML general;
    if (general.Create(root, "General") == 0) {
        RECT wa = StateWorkArea();
        int cx = wa.right - wa.left, cy = wa.bottom - wa.top;
        general.SetBinary("SM_CXSCREEN", &cx, sizeof cx);
        general.SetBinary("SM_CYSCREEN", &cy, sizeof cy);
    }
    CStgXML main;
    if (main.Create(root, "MainWindow") != 0) return false;
    return m_impl->Store(main);
}

bool CWindowStateMgr::Restore(IStorge& root) {
    CStgXML general;
    if (general.Open(root, "General") != 0) return RestoreDefault();
    RECT wa = StateWorkArea();
    int sx = 0, sy = 0;
    bool hx = ReadInt(general, "SM_CXSCREEN", &sx);
    bool hy = ReadInt(general, "SM_CYSCREEN", &sy);
    StateRatio x = MakeStateRatio(wa.right - wa.left, hx, sx);
    StateRatio y = MakeStateRatio(wa.bottom - wa.top, hy, sy);
    CStgXML main;
    if (main.Open(root, "MainWindow") != 0 || !m_impl->Restore(main, x, y)) return RestoreDefault();
    return true;
}

bool CWindowStateMgr::CImpl::Store(IStorge& node) {
    WINDOWPLACEMENT wp = {};
    wp.length = sizeof wp;
    static_assert(sizeof(WINDOWPLACEMENT) == 44, "stored byte for byte");
    if (m_hWnd && ::GetWindowPlacement(m_hWnd, &wp)) {
        if (wp.showCmd == SW_SHOWMINIMIZED) wp.showCmd = SW_SHOWNORMAL;
        wp.flags &= WPF_RESTORETOMAXIMIZED;
        if (wp.flags & WPF_RESTORETOMAXIMIZED) wp.showCmd = SW_SHOWMAXIMIZED;
        node.SetBinary("placement", &wp, sizeof wp);
    }
    return CContainerImpl::Store(node);
}

bool CWindowStateMgr::CImpl::Restore(IStorge& node, StateRatio x, StateRatio y) {
    WINDOWPLACEMENT wp = {};
    unsigned long size = sizeof wp;
    if (node.GetBinary("placement", &wp, &size) != 0 || size != sizeof wp) {
        CContainerImpl::RestoreDefault();
        return true;
    }
    wp.length = sizeof wp;
    wp.ptMinPosition.x = x.Scale(wp.ptMinPosition.x);
    wp.ptMinPosition.y = y.Scale(wp.ptMinPosition.y);
    wp.ptMaxPosition.x = x.Scale(wp.ptMaxPosition.x);
    wp.ptMaxPosition.y = y.Scale(wp.ptMaxPosition.y);
    wp.rcNormalPosition.left = x.Scale(wp.rcNormalPosition.left);
    wp.rcNormalPosition.right = x.Scale(wp.rcNormalPosition.right);
    wp.rcNormalPosition.top = y.Scale(wp.rcNormalPosition.top);
    wp.rcNormalPosition.bottom = y.Scale(wp.rcNormalPosition.bottom);
    const UINT show = (m_defaultShow & 0x80000000u) ? (m_defaultShow & 0x7FFFFFFFu) : wp.showCmd;
    wp.showCmd = SW_HIDE;
    bool result;
    if (show == SW_SHOWMAXIMIZED) {
        RECT wa = StateWorkArea();
        ::SetWindowPos(m_hWnd, nullptr, wa.left, wa.top, wa.right - wa.left, wa.bottom - wa.top,
                       SWP_DEFERERASE | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOZORDER);
        result = CContainerImpl::Restore(node, x, y);
        WNDPROC old = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&QuietPlacementProc)));
        ::SetWindowPlacement(m_hWnd, &wp);
        ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        ::ShowWindow(m_hWnd, SW_SHOWMAXIMIZED);
        ::SetWindowPos(
            m_hWnd, nullptr, 0, 0, 0, 0,
            SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
        ::SetForegroundWindow(m_hWnd);
    } else {
        ::SetWindowPlacement(m_hWnd, &wp);
        result = CContainerImpl::Restore(node, x, y);
        ::ShowWindow(m_hWnd, show);
        ::SetForegroundWindow(m_hWnd);
    }
    return result;
}

bool CWindowStateMgr::CImpl::RestoreDefault() {
    CContainerImpl::RestoreDefault();
    if (m_hWnd) ::ShowWindow(m_hWnd, m_defaultShow & 0x7FFFFFFFu);
    return true;
}

}  // namespace zav
