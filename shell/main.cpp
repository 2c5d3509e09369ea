// Process entry of the host.
#include <windows.h>
#include <commctrl.h>
#include "docking/docking_frame.h"
#include "win/message_loop.h"

namespace {

// The main window: an MDI frame with docking. The application shell builds
// its panes, menus and commands on it.
class CHostFrame : public zav::CMDIDockingFrameImpl {
public:
    BEGIN_MSG_MAP(CHostFrame)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        CHAIN_MSG_MAP(zav::CMDIDockingFrameImpl)
    END_MSG_MAP()

private:
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        ::PostQuitMessage(0);
        handled = FALSE;
        return 0;
    }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int show)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    ::OleInitialize(nullptr);
    WindowClassArgs wc;
    wc.name = "Quillmar001";
    wc.background = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    win::RegisterWindowClass(wc);
    int result = 0;
    {
        CHostFrame frame;
        CreateArgs a;
        a.className = "Quillmar001";
        a.title = "空調設備CAD";
        a.cx = 1024;
        a.cy = 768;
        if (frame.CreateFrame(a) && frame.CreateMDIClient()) {
            frame.UpdateLayout();
            ::ShowWindow(frame.m_hWnd, show);
            CMessageLoop loop;
            result = loop.Run();
        }
    }
    ::OleUninitialize();
    return result;
}
