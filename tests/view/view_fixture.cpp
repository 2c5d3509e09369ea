#include "view_fixture.h"

#include <cstdio>
#include <cstring>

#include "command/wait_loop.h"
#include "view/db_info.h"
#include "view/view_table.h"

void ViewFixture::SetUp() {
    m_savedSettings = Running();
    std::memset(ViewTable, 0, sizeof ViewTable);
    CmdInput().event = 0;
    CreateArgs a;
    a.title = "MainFrame";
    a.x = 0;
    a.y = 0;
    a.cx = 1100;
    a.cy = 900;
    ASSERT_NE(nullptr, m_main.Create(a));
    ASSERT_NE(nullptr, m_main.CreateMDIClient());
    m_main.ShowWindow(SW_SHOW);
}

void ViewFixture::TearDown() {
    CadwinHost().closingAllDrawings = 0;
    for (int i = 0; i < 300 && ViewTable[0]; ++i) {
        HWND v = ViewTable[0];
        if (ViewData* d = GetViewData(v)) d->modified = 0;
        if (::IsWindow(v))
            ::SendMessageA(::GetParent(v), WM_CLOSE, 0, 0);
        else
            CloseView(v);
        Pump();
    }
    if (m_main.IsWindow()) m_main.DestroyWindow();
    Pump();
    std::memset(ViewTable, 0, sizeof ViewTable);
    Running() = m_savedSettings;
}

HWND ViewFixture::NewDrawing(const char* title) {
    ++DrawingIdCounter;
    HWND view = CreateDrawingWindow(m_main.m_hWndMDIClient, nullptr, title);
    if (view) ::ShowWindow(::GetParent(view), SW_SHOW);
    return view;
}

void ViewFixture::SetClientSize(HWND view, int w, int h) {
    HWND frame = ::GetParent(view);
    ::ShowWindow(frame, SW_RESTORE);
    for (int i = 0; i < 3; ++i) {
        RECT c, f;
        ::GetClientRect(view, &c);
        ::GetWindowRect(frame, &f);
        const int dw = w - c.right, dh = h - c.bottom;
        if (!dw && !dh) return;
        ::SetWindowPos(frame, nullptr, 0, 0, f.right - f.left + dw, f.bottom - f.top + dh, SWP_NOMOVE | SWP_NOZORDER);
    }
}

void ViewFixture::Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

void ViewFixture::SetPaper(HWND view, double w, double h, bool corner, double scale) {
    DbInfo* info = DAriGetDbInfoPtr(0, GetViewData(view)->db);
    ASSERT_NE(nullptr, info);
    CadSetF64(info, kInfoDrawW, w);
    CadSetF64(info, kInfoDrawH, h);
    CadSetF64(info, kInfoScale, scale);
    info->originAtCorner = corner ? 1 : 0;
}

TempDir::TempDir(const char* tag) {
    char base[MAX_PATH];
    ::GetTempPathA(sizeof base, base);
    m_path = std::string(base) + "zav_view_" + tag + "_" + std::to_string(::GetCurrentProcessId());
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

TempDir::~TempDir() {
    WIN32_FIND_DATAA fd;
    HANDLE h = ::FindFirstFileA((m_path + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ::DeleteFileA(File(fd.cFileName).c_str());
        } while (::FindNextFileA(h, &fd));
        ::FindClose(h);
    }
    ::RemoveDirectoryA(m_path.c_str());
}

bool OthersCanWrite(const std::string& path) {
    HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                             nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    ::CloseHandle(h);
    return true;
}

std::string ReadBytes(const std::string& path) {
    std::string out;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return "<missing>";
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, n);
    std::fclose(f);
    return out;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

std::string WriteDrawingFile(const std::string& path, int lines) {
    DbHeader h;
    std::memset(&h, 0, sizeof h);
    DAriCreateDB(&h);
    for (int i = 0; i < lines; ++i) {
        ElementRecord r;
        std::memset(&r, 0, sizeof r);
        r.kind = kElmLine;
        r.colour = 2;
        CadSetF64(&r, kOffP1X, i * 10.0);
        CadSetF64(&r, kOffP2X, i * 10.0 + 5);
        CadSetF64(&r, kOffP2Y, 50);
        DAriAppendElement(&r, &h);
    }
    uint32_t status = 0;
    DAriSaveFileOfCWX(path.c_str(), &h, &status);
    DAriDeleteDB(&h);
    return ReadBytes(path);
}

void ViewFixture::ResetScales(HWND view) {
    ViewData* d = GetViewData(view);
    d->modelScale = d->paperScale = d->frameScale = 1.0;
    d->modelOffsetX = d->modelOffsetY = d->paperOffsetX = d->paperOffsetY = 0;
    d->frameOffsetX = d->frameOffsetY = 0;
}
