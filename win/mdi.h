// MDI: a frame that holds the MDI client, and the child windows inside it.
//
// CMDIFrameWindow routes what its map leaves to DefFrameProc (menus of the
// active child, WM_COMMAND for the window list, system keys); its
// CreateMDIClient makes the client with the usual settings and makes it the
// frame's client window, laid out between the bars.
// CMDIChildWindow routes what its map leaves to DefMDIChildProc and is
// created through WM_MDICREATE on the client, so that the client activates
// and tracks it.
#pragma once

#include "win/frame.h"

struct MDIClientArgs {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | MDIS_ALLCHILDSTYLES;
    DWORD exStyle = WS_EX_CLIENTEDGE;
    UINT id = 0xE900;            // control id of the client
    UINT firstChildId = 0xFF00;  // id of the first child in the window menu
    HMENU windowMenu = nullptr;  // submenu that lists the children, or none
};

class CMDIFrameWindow : public CFrameWindow {
public:
    // Creates the client; the frame's WS_HSCROLL/WS_VSCROLL move to the client.
    HWND CreateMDIClient(const MDIClientArgs& args = MDIClientArgs());

    HWND MDIGetActive(BOOL* maximized = nullptr) const;
    void MDIActivate(HWND child) const;
    void MDINext(HWND child = nullptr, BOOL previous = FALSE) const;
    void MDICascade(UINT flags = 0) const;
    void MDITile(UINT flags = MDITILE_HORIZONTAL) const;
    void MDIIconArrange() const;
    // TRUE when the key was one of the MDI system keys (Ctrl+F4, Ctrl+F6).
    BOOL TranslateMDISysAccel(MSG* pMsg) const;

    LRESULT DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;

    HWND m_hWndMDIClient = nullptr;

    BEGIN_MSG_MAP(CMDIFrameWindow)
    MESSAGE_HANDLER(WM_SIZE, OnMDISize)
    CHAIN_MSG_MAP(CFrameWindow)
    END_MSG_MAP()

protected:
    LRESULT OnMDISize(UINT, WPARAM wParam, LPARAM, BOOL& handled);
};

class CMDIChildWindow : public CWindowBase {
public:
    // A child still alive goes through WM_MDIDESTROY.
    ~CMDIChildWindow() override;

    // Creates the child in `args.parent`, which must be an MDI client; a null
    // className uses the framework's child class "ZavMDIChild". The child is
    // made through WM_MDICREATE (style and position from args; param becomes
    // MDICREATESTRUCT::lParam).
    HWND Create(const CreateArgs& args);

    // The frame and client around the child.
    HWND GetMDIClient() const { return ::GetParent(m_hWnd); }
    HWND GetMDIFrame() const { return ::GetParent(GetMDIClient()); }
    // Asks the client to destroy the child (WM_MDIDESTROY), which keeps the
    // client's bookkeeping right.
    void MDIDestroy() const;
    void MDIActivate() const;
    void MDIMaximize() const;
    void MDIRestore() const;

    LRESULT DefWindowProc(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
};

namespace win {
const char* DefaultMDIChildClass();
}  // namespace win
