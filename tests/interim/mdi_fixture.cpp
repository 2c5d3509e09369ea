#include "mdi_fixture.h"

#include <cstring>

#include "view/view_table.h"

void MdiFixture::SetUp() {
    std::memset(ViewTable, 0, sizeof ViewTable);
    CreateArgs a;
    a.title = "MainFrame";
    a.x = 0;
    a.y = 0;
    a.cx = 900;
    a.cy = 700;
    ASSERT_NE(nullptr, m_main.Create(a));
    ASSERT_NE(nullptr, m_main.CreateMDIClient());
    m_main.ShowWindow(SW_SHOW);
}

void MdiFixture::TearDown() {
    if (m_main.IsWindow()) m_main.DestroyWindow();
    Pump();
    std::memset(ViewTable, 0, sizeof ViewTable);
}

HWND MdiFixture::NewDrawing(const char* title) {
    ++DrawingIdCounter;
    auto* frame = new CCadwinFrame;
    frame->m_autoDelete = true;
    if (!frame->CreateEx(m_main.m_hWndMDIClient, nullptr, title)) {
        delete frame;
        return nullptr;
    }
    HWND view = frame->GetViewWindow();
    if (view) AddViewToTable(view);
    return view;
}

void MdiFixture::Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}
