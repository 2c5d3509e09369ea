#include "shell/ui_library.h"

#include <string>

#include "shell/shell_seams.h"

namespace {
FARPROC UiFunction(const char* name) {
    static HMODULE module = [] {
        std::string path = ShellExeDir() + "\\WmCadApi.dll";
        return LoadLibraryA(path.c_str());
    }();
    return module ? GetProcAddress(module, name) : nullptr;
}
}  // namespace

void UiInitCadApi(HWND mainFrame) {
    typedef void(__stdcall * Fn)(HWND);
    if (Fn fn = reinterpret_cast<Fn>(UiFunction("Rodad_InitCadApi"))) fn(mainFrame);
}

void UiSetCmdPanelType(int lowResolution) {
    typedef void(__stdcall * Fn)(int);
    if (Fn fn = reinterpret_cast<Fn>(UiFunction("Rodad_SetCmdPanelType"))) fn(lowResolution);
}

int UiHighlightColor() {
    typedef int(__stdcall * Fn)();
    Fn fn = reinterpret_cast<Fn>(UiFunction("EsGET_HILIGHT_COLOR"));
    return fn ? fn() : 2;
}

bool UiDrawColorButton(const DRAWITEMSTRUCT* item, COLORREF background, COLORREF text, COLORREF disabled) {
    typedef void(__stdcall * Fn)(const DRAWITEMSTRUCT*, COLORREF, COLORREF, COLORREF);
    Fn fn = reinterpret_cast<Fn>(UiFunction("TqCadApi_ColorBtn_DrawItem"));
    if (!fn) return false;
    fn(item, background, text, disabled);
    return true;
}

void UiLayerSplit(int mode) {
    typedef int(__stdcall * Fn)(int);
    if (Fn fn = reinterpret_cast<Fn>(UiFunction("EsLayerSplit"))) fn(mode);
}

int UiChgBtnStyleOwnerDraw(HWND dialog, int mode) {
    typedef int(__stdcall * Fn)(HWND, int);
    Fn fn = reinterpret_cast<Fn>(UiFunction("Rodad_ChgBtnStyleOwnerDraw"));
    return fn ? fn(dialog, mode) : 0;
}

BOOL UiOnEraseBkgnd(HWND window, HDC dc) {
    typedef BOOL(__stdcall * Fn)(HWND, HDC);
    Fn fn = reinterpret_cast<Fn>(UiFunction("Rodad_OnEraseBkgnd"));
    return fn ? fn(window, dc) : FALSE;
}

HBRUSH UiOnCtlColor(HWND dialog, HDC dc, HWND control, int kind) {
    typedef HBRUSH(__stdcall * Fn)(HWND, HDC, HWND, int);
    Fn fn = reinterpret_cast<Fn>(UiFunction("Rodad_OnCtlColor"));
    return fn ? fn(dialog, dc, control, kind) : nullptr;
}

int UiGetSysAtr(void* block120) {
    typedef int(__stdcall * Fn)(void*);
    Fn fn = reinterpret_cast<Fn>(UiFunction("EsGET_SYS_ATR"));
    return fn ? fn(block120) : 0;
}

int UiSetSysAtr(const void* block120) {
    typedef int(__stdcall * Fn)(const void*);
    Fn fn = reinterpret_cast<Fn>(UiFunction("EsSET_SYS_ATR"));
    return fn ? fn(block120) : 0;
}

int UiEnableCurModelessWindow(int enable) {
    typedef int(__stdcall * Fn)(int);
    Fn fn = reinterpret_cast<Fn>(UiFunction("CwEnableCurModelessWindow"));
    return fn ? fn(enable) : 0;
}
