#include "tests/app/app_shots.h"

#include <cstdlib>
#include <fstream>
#include <string>

void ShotWindow(HWND window, const char* name, DWORD settleMs) {
    char dir[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("ZAV_SHOT_DIR", dir, sizeof dir) || !window) return;
    char scaleText[16] = {};
    const DWORD n = GetEnvironmentVariableA("ZAV_TEST_TIME_SCALE", scaleText, sizeof scaleText);
    const int scale = n > 0 && n < sizeof scaleText ? std::atoi(scaleText) : 1;
    Sleep(scale > 1 ? settleMs * static_cast<DWORD>(scale) : settleMs);
    RECT rc, screenRect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    GetWindowRect(window, &rc);
    // A maximised window reaches past the screen's edges: only what is on it.
    IntersectRect(&rc, &rc, &screenRect);
    const int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w <= 0 || h <= 0) return;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, h, 1, 24, BI_RGB};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, w, h, screen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    const DWORD size = ((w * 3 + 3) & ~3) * h;
    BITMAPFILEHEADER fh = {0x4D42, static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader + size), 0, 0,
                           static_cast<DWORD>(sizeof fh + sizeof bi.bmiHeader)};
    std::ofstream out(std::string(dir) + "\\" + name + ".bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fh), sizeof fh);
    out.write(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
    out.write(static_cast<const char*>(bits), size);
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}
