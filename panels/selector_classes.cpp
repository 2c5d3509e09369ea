#include "panels/selector_classes.h"

#include <initializer_list>

#include "panels/layer_field.h"

namespace {
LRESULT CALLBACK SelectorProc(HWND h, UINT m, WPARAM w, LPARAM l) { return ::DefWindowProcA(h, m, w, l); }

// Registers the field class, then the drop-down class; the result is that
// of the last registration.
int RegisterPair(HINSTANCE instance, const char* field, const char* drop, WNDPROC fieldProc = SelectorProc,
                 WNDPROC dropProc = SelectorProc) {
    int ok = 1;
    for (const char* name : {field, drop}) {
        ok = 1;
        WNDCLASSA existing;
        if (::GetClassInfoA(instance, name, &existing)) continue;
        WNDCLASSA wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW | (name == field ? CS_GLOBALCLASS : 0);
        wc.lpfnWndProc = name == field ? fieldProc : dropProc;
        wc.cbWndExtra = 8;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        wc.hbrBackground = (HBRUSH)::GetStockObject(GRAY_BRUSH);
        wc.lpszClassName = name;
        if (!::RegisterClassA(&wc)) ok = 0;
    }
    return ok;
}

int UnregisterPair(HINSTANCE instance, const char* field, const char* drop) {
    ::UnregisterClassA(field, instance);
    if (drop) ::UnregisterClassA(drop, instance);
    return 1;
}
}  // namespace

int RegisterLayerSelectorClasses(HINSTANCE i) {
    return RegisterPair(i, "cmdlayerclass", "eslayerwndclass", LayerFieldProc, LayerDropProc);
}
int RegisterColorSelectorClasses(HINSTANCE i) {
    RegisterPair(i, "cmdcolorclass", "cmdcolorclass2");
    return RegisterPair(i, "escolorwndclass", "escolorwndclass");
}
int RegisterLineTypeSelectorClasses(HINSTANCE i) { return RegisterPair(i, "cmdltypeclass", "esltypewndclass"); }
int RegisterPointSelectorClasses(HINSTANCE i) { return RegisterPair(i, "cmdpointclass", "espointwndclass"); }
int RegisterLineWidthSelectorClasses(HINSTANCE i) { return RegisterPair(i, "cmdlwidclass", "eslwidwndclass"); }
int RegisterLineStartSelectorClasses(HINSTANCE i) { return RegisterPair(i, "cmdltermsclass", "esltermswndclass"); }
int RegisterLineEndSelectorClasses(HINSTANCE i) { return RegisterPair(i, "cmdltermeclass", "esltermewndclass"); }
// The drop-down classes stay registered until the process ends, except the
// layer selector's.
int UnregisterLayerSelectorClasses(HINSTANCE i) { return UnregisterPair(i, "cmdlayerclass", "eslayerwndclass"); }
int UnregisterColorSelectorClasses(HINSTANCE i) { return UnregisterPair(i, "cmdcolorclass", "cmdcolorclass2"); }
int UnregisterLineTypeSelectorClass(HINSTANCE i) { return UnregisterPair(i, "cmdltypeclass", nullptr); }
int UnregisterPointSelectorClass(HINSTANCE i) { return UnregisterPair(i, "cmdpointclass", nullptr); }
int UnregisterLineWidthSelectorClass(HINSTANCE i) { return UnregisterPair(i, "cmdlwidclass", nullptr); }
int UnregisterLineStartSelectorClass(HINSTANCE i) { return UnregisterPair(i, "cmdltermsclass", nullptr); }
int UnregisterLineEndSelectorClass(HINSTANCE i) { return UnregisterPair(i, "cmdltermeclass", nullptr); }

int LineEndTypeFromIndex(int index) {
    if (index < 0) return -1;
    for (int type = 0, n = 0; type < 16; ++type) {
        if (!LineEndEnableTable[type]) continue;
        if (n++ == index) return type;
    }
    return -1;
}

int LineEndIndexFromType(int type) {
    if (type < 0 || type >= 16 || !LineEndEnableTable[type]) return -1;
    int n = 0;
    for (int t = 0; t < type; ++t)
        if (LineEndEnableTable[t]) ++n;
    return n;
}
