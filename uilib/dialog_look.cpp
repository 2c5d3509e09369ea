// The look of the system's dialogs: background, control colours and
// owner-drawn buttons.
#include <windows.h>

#include <commctrl.h>

#include "uilib/ui_state.h"

namespace {

const char kButtonTypeProp[] = "RodadButtonType";
const UINT_PTR kSubclassId = 0x524F4441;  // 'RODA'

// Draws a converted button in the library's colours before the dialog sees
// WM_DRAWITEM: a dialog that draws the button itself paints over it.
LRESULT CALLBACK DialogSubclass(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_DRAWITEM) {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && item->CtlType == ODT_BUTTON && GetPropA(item->hwndItem, kButtonTypeProp))
            Rodad_OnDrawItem(dialog, item);
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(dialog, DialogSubclass, kSubclassId);
    }
    return DefSubclassProc(dialog, message, wParam, lParam);
}

bool IsPushButton(HWND control) {
    char className[16] = "";
    GetClassNameA(control, className, sizeof className);
    if (lstrcmpiA(className, "Button") != 0) return false;
    LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

BOOL ZAVAPI Rodad_OnEraseBkgnd(HWND window, HDC dc) {
    RECT rect;
    if (!window || !dc || !GetClientRect(window, &rect)) return FALSE;
    FillRect(dc, &rect, LibraryBrush(DialogColor()));
    return TRUE;
}

HBRUSH ZAVAPI Rodad_OnCtlColor(HWND, HDC dc, HWND, int kind) {
    const COLORREF background = DialogColor();
    if (dc) {
        COLORREF text = StaticTextColor();
        if (kind == RODAD_CTL_BUTTON) {
            COLORREF buttonBack, disabled;
            ButtonColors(&text, &buttonBack, &disabled);
        }
        SetTextColor(dc, text);
        SetBkColor(dc, background);
        SetBkMode(dc, TRANSPARENT);
    }
    return LibraryBrush(background);
}

int ZAVAPI Rodad_ChgBtnStyleOwnerDraw(HWND dialog, int mode) {
    if (!dialog || !IsWindow(dialog)) return 0;
    int changed = 0;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        LONG style = GetWindowLongA(control, GWL_STYLE);
        if (mode) {
            if (!IsPushButton(control)) continue;
            SetPropA(control, kButtonTypeProp,
                     reinterpret_cast<HANDLE>(static_cast<INT_PTR>((style & BS_TYPEMASK) + 1)));
            SetWindowLongA(control, GWL_STYLE, (style & ~BS_TYPEMASK) | BS_OWNERDRAW);
        } else {
            INT_PTR saved = reinterpret_cast<INT_PTR>(GetPropA(control, kButtonTypeProp));
            if (!saved) continue;
            RemovePropA(control, kButtonTypeProp);
            SetWindowLongA(control, GWL_STYLE, (style & ~BS_TYPEMASK) | static_cast<LONG>(saved - 1));
        }
        InvalidateRect(control, nullptr, TRUE);
        ++changed;
    }
    if (mode && changed)
        SetWindowSubclass(dialog, DialogSubclass, kSubclassId, 0);
    else if (!mode)
        RemoveWindowSubclass(dialog, DialogSubclass, kSubclassId);
    return changed;
}

BOOL ZAVAPI Rodad_OnDrawItem(HWND, const DRAWITEMSTRUCT* item) {
    if (!item || item->CtlType != ODT_BUTTON) return FALSE;
    COLORREF text, background, disabled;
    ButtonColors(&text, &background, &disabled);
    TqCadApi_ColorBtn_DrawItem(item, background, text, disabled);
    return TRUE;
}

int ZAVAPI Rodad_wParamToCtrlID(WPARAM wParam) { return LOWORD(wParam); }

void ZAVAPI TqCadApi_ColorBtn_DrawItem(const DRAWITEMSTRUCT* item, COLORREF background, COLORREF text,
                                       COLORREF disabled) {
    if (!item || !item->hDC) return;
    HDC dc = item->hDC;
    RECT rect = item->rcItem;
    const bool pressed = (item->itemState & ODS_SELECTED) != 0;
    const bool off = (item->itemState & ODS_DISABLED) != 0;

    FillRect(dc, &rect, LibraryBrush(background));
    DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

    char caption[256] = "";
    if (item->hwndItem) GetWindowTextA(item->hwndItem, caption, sizeof caption);
    if (caption[0]) {
        HFONT font = item->hwndItem ? reinterpret_cast<HFONT>(SendMessageA(item->hwndItem, WM_GETFONT, 0, 0)) : nullptr;
        HGDIOBJ oldFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColor = SetTextColor(dc, off ? disabled : text);
        RECT textRect = rect;
        if (pressed) OffsetRect(&textRect, 1, 1);
        DrawTextA(dc, caption, -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
        SelectObject(dc, oldFont);
    }
    if ((item->itemState & ODS_FOCUS) && !off) {
        RECT focus = rect;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
}
