#include "frame_fixture.h"

#include <cstring>

#include "shell/command_line.h"
#include "shell/host_services.h"
#include "view/cadwin_frame.h"
#include "view/view_data.h"

std::vector<std::string> FrameTest::log;

namespace {
WNDPROC g_childProc = nullptr;

LRESULT CALLBACK RecordingChildProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_COMMAND) FrameTest::log.push_back("child " + std::to_string(LOWORD(wp)));
    if (m == WM_FORWARDMSG) {
        const MSG* msg = (const MSG*)lp;
        FrameTest::log.push_back("fwd " + std::to_string(msg->wParam));
    }
    return CallWindowProcA(g_childProc, w, m, wp, lp);
}
}  // namespace

void FrameTest::SetUp() {
    log.clear();
    // The command line's state is process-wide: each test starts afresh.
    CommandLine = CommandLineState();
    CommandLineFileGiven = 0;
    StartCommandPosted = 0;
    ExecCmdHook = [this](int id, LPARAM arg) {
        std::string e = "exec " + std::to_string(id);
        if (arg) e += std::string(":") + (const char*)arg;
        log.push_back(e);
        auto it = execAnswers.find(id);
        return it == execAnswers.end() ? 1 : it->second;
    };
    // The program's own services, as its start-up installs them.
    InstallHostServices();
    win::AddMessageLoop(&loop);
    frame = new CMainFrame;
    ASSERT_NE(nullptr, frame->CreateEx(nullptr, nullptr, 0, 0, nullptr));
    frame->m_showCmd = SW_SHOWNORMAL;
    PumpFor(100);  // second start-up phase
    log.clear();
    ClearShellTrace();
}

void FrameTest::TearDown() {
    if (frame->m_hWnd) {
        // Drawings close without questions here.
        for (HWND v = GetActiveView(); v; v = GetNextView(v))
            if (ViewData* d = GetViewData(v)) d->modified = 0;
        for (HWND w; (w = ActiveChild()) != nullptr;) {
            SendMessageA(w, WM_CLOSE, 0, 0);
            if (IsWindow(w)) break;
        }
        frame->DestroyWindow();
    }
    delete frame;
    win::RemoveMessageLoop();
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {}
    ExecCmdHook = nullptr;
}

std::string FrameTest::Taken() {
    std::string s;
    for (auto& e : log)
        s += (s.empty() ? "" : " ") + e;
    log.clear();
    // The shell's own records of service and interrupt commands.
    std::string trace = ShellTraceText();
    ClearShellTrace();
    size_t pos = 0;
    while (pos < trace.size()) {
        size_t end = trace.find('\n', pos);
        if (end == std::string::npos) end = trace.size();
        std::string line = trace.substr(pos, end - pos);
        if (line.rfind("Service ", 0) == 0 || line.rfind("Interrupt ", 0) == 0 || line.rfind("DESTROY ", 0) == 0)
            s += (s.empty() ? "" : " ") + line;
        pos = end + 1;
    }
    return s;
}

HWND FrameTest::ActiveChild() const {
    return frame->m_hWndMDIClient ? (HWND)SendMessageA(frame->m_hWndMDIClient, WM_MDIGETACTIVE, 0, 0) : nullptr;
}

HWND FrameTest::NewDrawing() {
    HWND view = frame->NewDrawingWindow(frame->m_hWnd, 0, nullptr, nullptr);
    if (!view) return nullptr;
    lastView = view;
    HWND child = GetParent(view);
    g_childProc = (WNDPROC)SetWindowLongPtrA(child, GWLP_WNDPROC, (LONG_PTR)RecordingChildProc);
    return child;
}

void FrameTest::SetModified(HWND child) {
    HWND view = (HWND)SendMessageA(child, UM_GET_VIEW, 0, 0);
    ViewData* d = GetViewData(view);
    ASSERT_NE(nullptr, d);
    ASSERT_NE(nullptr, d->db) << "a drawing database belongs to the window";
    d->modified = 1;
}
