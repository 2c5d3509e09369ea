#include "setup/color_number_list.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "base/running_settings.h"

void ColorNumberList::AddNumbers(int first, int last) const {
    for (int n = first; n <= last; ++n) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", n);
        const LRESULT at = ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
        if (at >= 0) ::SendMessageA(combo, CB_SETITEMDATA, at, n);
    }
}

void ColorNumberList::AppendColors(const COLORREF* source, int first, int last) {
    for (int i = first; i <= last; ++i)
        colors.push_back(source[i]);
}

void ColorNumberList::ReplaceColors(const COLORREF* source, int first) {
    for (size_t i = 0; i < colors.size(); ++i)
        colors[i] = source[first + i];
}

COLORREF ColorNumberList::ColorAt(int index) const {
    return index >= 0 && index < static_cast<int>(colors.size()) ? colors[index] : 0;
}

void ColorNumberList::DrawItem(const DRAWITEMSTRUCT* item) const {
    if (!item || item->CtlType != ODT_COMBOBOX || item->itemID == static_cast<UINT>(-1)) return;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    const int back = selected ? COLOR_HIGHLIGHT : (item->itemState & ODS_DISABLED) ? COLOR_MENU : COLOR_WINDOW;
    RECT rc = item->rcItem;
    ::FillRect(item->hDC, &rc, ::GetSysColorBrush(back));
    RECT frame = {rc.left + 2, rc.top + 2, rc.left + 34, rc.bottom - 2};
    ::FillRect(item->hDC, &frame, ::GetSysColorBrush(COLOR_MENUTEXT));
    RECT swatch = {frame.left + 1, frame.top + 1, frame.right - 1, frame.bottom - 1};
    const int index = static_cast<int>(item->itemID);
    HBRUSH brush = ::CreateSolidBrush(index < static_cast<int>(colors.size()) ? colors[index] : ColorAt(0));
    ::FillRect(item->hDC, &swatch, brush);
    ::DeleteObject(brush);
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(item->itemData));
    ::SetBkMode(item->hDC, TRANSPARENT);
    ::SetTextColor(item->hDC, ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    ::TextOutA(item->hDC, rc.left + 43, rc.top + 1, text, static_cast<int>(std::strlen(text)));
}

int ColorNumberList::Selected() const { return static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

void ColorNumberList::Select(int index) const { ::SendMessageA(combo, CB_SETCURSEL, index, 0); }

void ColorNumberList::ShowAtLeast(int items) const { ::SendMessageA(combo, CB_SETMINVISIBLE, items, 0); }

const COLORREF* PenColors() { return Running().penColors; }

COLORREF BackgroundColorOf(int mode) {
    if (mode == 0) return RGB(0, 0, 0);
    if (mode == 1) return RGB(255, 255, 255);
    return Running().colorSysBk;
}

std::vector<COLORREF> RubberBandSwatches(COLORREF background) {
    const BYTE x = GetRValue(background);
    std::vector<COLORREF> out;
    for (int n = 1; n <= 15; ++n) {
        const COLORREF c = PenColors()[n];
        out.push_back(RGB(GetRValue(c) ^ x, GetGValue(c) ^ x, GetBValue(c) ^ x));
    }
    return out;
}
