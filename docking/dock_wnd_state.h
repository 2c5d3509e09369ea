// State objects below the main window: the manager of the docking panes with
// its restore queue, one adapter per pane, and the toolbar band adapter.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <vector>
#include "docking/window_state.h"

namespace zav {

// Restore order of a docked placement: left edge first, then top, right and
// bottom; on each side the outermost bar first; in a bar the start first.
uint32_t DockRestoreKey(const DockWindowPlacement& p);

class CDockWndMgr {
public:
    class CImpl : public CContainerImpl {
    public:
        uint32_t AddDockWnd(IDockWndState* s) { return Add(s); }
        bool Store(IStorge& node) override;
        bool Restore(IStorge& node, StateRatio x, StateRatio y) override;
        bool RestoreDefault() override;

    private:
#pragma pack(push, 1)
        struct Entry {
            DockWindowPlacement placement;
            uint32_t key;
            uint32_t id;
        };
#pragma pack(pop)
        static_assert(sizeof(Entry) == 68, "restore entry");
        std::vector<Entry> m_queue;  // kept as a heap ordered by ascending key
    };

    CDockWndMgr() : m_impl(new CImpl) {}
    ~CDockWndMgr() { m_impl->Release(); }
    CDockWndMgr(const CDockWndMgr&) = delete;
    CDockWndMgr& operator=(const CDockWndMgr&) = delete;
    uint32_t Add(IDockWndState* s) { return m_impl->AddDockWnd(s); }
    CImpl* Impl() const { return m_impl; }

private:
    CImpl* m_impl;
};

class CRebarStateAdapter {
public:
    class CImpl : public CStateBase<IState> {
    public:
        explicit CImpl(HWND rebar) : m_rebar(rebar) {}
        bool Store(IStorge& node) override;
        bool Restore(IStorge& node, StateRatio x, StateRatio y) override;
        bool RestoreDefault() override { return true; }

    private:
        HWND m_rebar;
    };

    explicit CRebarStateAdapter(HWND rebar) : m_impl(new CImpl(rebar)) {}
    ~CRebarStateAdapter() { m_impl->Release(); }
    CRebarStateAdapter(const CRebarStateAdapter&) = delete;
    CRebarStateAdapter& operator=(const CRebarStateAdapter&) = delete;
    CImpl* Impl() const { return m_impl; }

private:
    CImpl* m_impl;
};

// Scales a stored placement to the current work area (thickness across the
// edge, length along it, the floating rectangle by both).
DockWindowPlacement ScaleDockPlacement(const DockWindowPlacement& p, StateRatio x, StateRatio y);

// One pane. TWin offers the docking window's placement operations.
template <class TWin>
class CDockingWindowStateAdapter {
public:
    class CImplT : public CStateBase<IDockWndState> {
    public:
        explicit CImplT(TWin* win) : m_win(win) { m_default = DockWindowPlacement(); }

        bool GetPlacement(DockWindowPlacement& out) override {
            out = DockWindowPlacement();
            bool ok = m_win->GetDockingWindowPlacement(out);
            out.visible = m_win->IsVisible() ? 1 : 0;
            if (!out.docked || !out.visible) out.position = m_win->LastDockedPosition();
            return ok;
        }
        bool CaptureDefault() override {
            if (GetPlacement(m_default)) {
                m_default.position.hdr.window = m_win->m_hWnd;
                return m_win->Hide();
            }
            m_default.position.hdr.window = nullptr;
            return false;
        }
        bool ApplyPlacement(const DockWindowPlacement& p, StateRatio x, StateRatio y) override {
            DockWindowPlacement s = ScaleDockPlacement(p, x, y);
            return m_win->SetDockingWindowPlacement(s);
        }
        bool RestoreDefault() override {
            if (m_default.position.hdr.window) m_win->SetDockingWindowPlacement(m_default);
            return true;
        }
        bool Store(IStorge& node) override {
            DockWindowPlacement p;
            if (!GetPlacement(p)) return false;
            return node.SetBinary("placement", &p, sizeof p) == 0;
        }
        bool Restore(IStorge& node, StateRatio x, StateRatio y) override {
            DockWindowPlacement p;
            unsigned long size = sizeof p;
            if (node.GetBinary("placement", &p, &size) != 0 || size != sizeof p) return false;
            return ApplyPlacement(p, x, y);
        }

    private:
        TWin* m_win;
        DockWindowPlacement m_default;
    };

    explicit CDockingWindowStateAdapter(TWin& win) : m_impl(new CImplT(&win)) {}
    ~CDockingWindowStateAdapter() { m_impl->Release(); }
    CDockingWindowStateAdapter(const CDockingWindowStateAdapter&) = delete;
    CDockingWindowStateAdapter& operator=(const CDockingWindowStateAdapter&) = delete;
    CImplT* Impl() const { return m_impl; }

private:
    CImplT* m_impl;
};

}  // namespace zav
