// Reference-counted state objects that write the main window's layout into
// storage nodes and restore it, scaling coordinates when the desktop work
// area changed size since the save.
#pragma once
#include <windows.h>
#include <cstdint>
#include <map>
#include "docking/dock_protocol.h"
#include "docking/stg_xml.h"

namespace zav {

// v becomes MulDiv(v, num, den).
struct StateRatio {
    int num = 1;
    int den = 1;
    int Scale(int v) const { return ::MulDiv(v, num, den); }
};

// The ratio between the current extent and a stored one. A stored extent that
// is missing, zero or negative cannot be scaled from, so it counts as unchanged
// (MulDiv by 0 would turn every coordinate into -1).
StateRatio MakeStateRatio(int current, bool haveStored, int stored);

class IState {
public:
    virtual ~IState() {}
    virtual bool Store(IStorge& node) = 0;
    virtual bool Restore(IStorge& node, StateRatio x, StateRatio y) = 0;
    virtual bool RestoreDefault() = 0;
    virtual void AddRef() = 0;
    virtual void Release() = 0;
};

class IDockWndState : public IState {
public:
    virtual bool CaptureDefault() = 0;
    virtual bool GetPlacement(DockWindowPlacement& out) = 0;
    virtual bool ApplyPlacement(const DockWindowPlacement& p, StateRatio x, StateRatio y) = 0;
};

template <class I>
class CStateBase : public I {
public:
    void AddRef() override { ++m_refs; }
    void Release() override {
        if (--m_refs == 0) delete this;
    }

private:
    long m_refs = 1;
};

// A child's node or value name: "Wnd-0x" and the id in lower-case hex.
std::string StateChildName(uint32_t id);

class CContainerImpl : public CStateBase<IState> {
public:
    ~CContainerImpl() override;
    uint32_t Add(IState* state);
    void AddState(uint32_t id, IState* state);
    bool Store(IStorge& node) override;
    bool Restore(IStorge& node, StateRatio x, StateRatio y) override;
    bool RestoreDefault() override;

protected:
    uint32_t m_nextId = 0xFFFFFFFFu;
    std::map<uint32_t, IState*> m_children;
};

class CWindowStateMgr {
public:
    class CImpl : public CContainerImpl {
    public:
        bool Store(IStorge& node) override;
        bool Restore(IStorge& node, StateRatio x, StateRatio y) override;
        bool RestoreDefault() override;
        HWND m_hWnd = nullptr;
        uint32_t m_defaultShow = SW_SHOWDEFAULT;  // top bit: force the low 31 bits
    };

    CWindowStateMgr();
    ~CWindowStateMgr();
    CWindowStateMgr(const CWindowStateMgr&) = delete;
    CWindowStateMgr& operator=(const CWindowStateMgr&) = delete;

    void Initialize(HWND hwnd, uint32_t defaultShow = SW_SHOWDEFAULT);
    uint32_t Add(IState* state) { return m_impl->Add(state); }
    bool Store(IStorge& root);
    bool Restore(IStorge& root);
    bool RestoreDefault() { return m_impl->RestoreDefault(); }
    CImpl* Impl() const { return m_impl; }

private:
    CImpl* m_impl;
};

// The desktop work area (full-screen metrics when it cannot be read).
RECT StateWorkArea();

}  // namespace zav
