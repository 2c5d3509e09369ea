#include "panels/pbox.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/dbcs.h"

PBoxPage PBoxPageTable[kPBoxPageCount];
int DockedPBoxPage = -1;
int PBoxDefaultButtonId = -1;
int PBoxHasDefaultButton = 0;

namespace {
char g_pageName[64];
HFONT g_font = nullptr;
HFONT g_boldFont = nullptr;
HWND g_appPanelWindow = nullptr;  // set by ShowPBoxPage's caller through the panel

bool ValidPage(int page) { return (unsigned)page < (unsigned)kPBoxPageCount; }

// A zeroed global block of max(length + 1, 257) bytes holding `text`.
char* NewTextBlock(const char* text) {
    const size_t len = text ? strlen(text) : 0;
    const size_t size = std::max(len + 1, (size_t)257);
    char* block = static_cast<char*>(::GlobalAlloc(GPTR, size));
    if (block && text) std::memcpy(block, text, len);
    return block;
}

void FreeTextBlock(char*& block) {
    if (block) ::GlobalFree(block);
    block = nullptr;
}

PBoxItem* FindItem(int page, int id, int* index = nullptr) {
    for (int i = 0; i < kPBoxItemCount; ++i) {
        PBoxItem& it = PBoxPageTable[page].items[i];
        if (it.id == id) {
            if (index) *index = i;
            return &it;
        }
    }
    return nullptr;
}

HWND ItemWindow(int page, int index) { return PBoxPageTable[page].itemWindows[index]; }

void Repaint(int page, int index, bool erase) {
    if (HWND w = ItemWindow(page, index)) ::InvalidateRect(w, nullptr, erase);
}

void DestroyItemWindows(int page) {
    for (HWND& w : PBoxPageTable[page].itemWindows) {
        if (w && ::IsWindow(w)) ::DestroyWindow(w);
        w = nullptr;
    }
}

int ColorOrDefault(int index) { return (index < 0 || index > 256) ? -1 : index; }

// The common part of the add back ends.
PBoxItem* AddItem(const PBoxAddRequest* r, int type, const char* text) {
    if (!r || !ValidPage(r->page)) return nullptr;
    PBoxPage& page = PBoxPageTable[r->page];
    PBoxItem* it = nullptr;
    for (PBoxItem& candidate : page.items)
        if (candidate.type == 0) {
            it = &candidate;
            break;
        }
    if (!it) return nullptr;
    FreeTextBlock(it->text);
    it->type = type;
    it->id = r->id;
    it->text = NewTextBlock(text);
    it->x = r->x;
    it->y = r->y;
    it->width = r->width;
    it->height = r->height;
    it->enabled = 1;
    it->backColor = -1;
    it->calcMode = 0;
    it->calcTitle[0] = '\0';
    if (type == PBOX_BUTTON && text && (!strcmp(text, "OK") || !strcmp(text, "完了") || !strcmp(text, "Ok"))) {
        PBoxHasDefaultButton = 1;
        PBoxDefaultButtonId = r->id;
    }
    return it;
}

void ClearPage(int page) { DestroyItemWindows(page); }

int ResolvePage(int page) { return page == kPBoxShownPage ? DockedPBoxPage : page; }
}  // namespace

int OpenPBoxPage(WPARAM, const char* name) {
    std::memset(g_pageName, 0, sizeof g_pageName);
    if (name) DbcsCopy(g_pageName, sizeof g_pageName, name);
    for (int p = 1; p <= 4; ++p) {
        PBoxPage& page = PBoxPageTable[p];
        if (page.host != 0) continue;
        page.host = 1;
        for (PBoxItem& it : page.items) {
            it.type = 0;
            it.backColor = -1;
            it.textColor = -1;
            it.label[0] = '\0';
        }
        DestroyItemWindows(p);
        return p;
    }
    return 0;
}

int ClosePBoxPage(int page, LPARAM mirrorOnly) {
    if (!ValidPage(page)) return 0;
    if (mirrorOnly && page == 4) {
        ClearPage(4);
        return 1;
    }
    ClearPage(page);
    HWND host = (HWND)PBoxPageTable[page].host;
    if (PBoxPageTable[page].host > 1 && host != g_appPanelWindow && ::IsWindow(host)) ::DestroyWindow(host);
    if (g_appPanelWindow) ::InvalidateRect(g_appPanelWindow, nullptr, TRUE);
    PBoxPageTable[page].host = 0;
    PBoxHasDefaultButton = 0;
    if (DockedPBoxPage == page) DockedPBoxPage = -1;
    return 1;
}

void SetPBoxPanelWindow(HWND panel) { g_appPanelWindow = panel; }

int ShowPBoxPage(WPARAM, PBoxAddRequest* r) {
    if (!r || !ValidPage(r->page)) return 0;
    const unsigned height = (unsigned)(intptr_t)r->text;
    if (height > 79) return 0;  // no floating form yet
    if (!g_appPanelWindow || !::IsWindow(g_appPanelWindow)) return 0;
    DockedPBoxPage = r->page;
    PBoxPageTable[r->page].host = (intptr_t)g_appPanelWindow;
    return 1;
}

int ShowPBoxWindow(HWND window) {
    if (window) ::ShowWindow(window, SW_SHOW);
    return 1;
}

int HidePBoxWindow(HWND window) {
    if (window) ::ShowWindow(window, SW_HIDE);
    return 1;
}

int AddPBoxButton(WPARAM, PBoxAddRequest* r) {
    PBoxItem* it = AddItem(r, PBOX_BUTTON, r ? r->text : nullptr);
    if (!it) return 0;
    it->value = 0;
    return 1;
}

int AddPBoxRadio(WPARAM, PBoxAddRequest* r) {
    PBoxItem* it = AddItem(r, PBOX_RADIO, r ? r->text : nullptr);
    if (!it) return 0;
    it->value = 0;
    it->state = (int32_t)r->initial;
    return 1;
}

int AddPBoxCheck(WPARAM, PBoxAddRequest* r) {
    PBoxItem* it = AddItem(r, PBOX_CHECK, r ? r->text : nullptr);
    if (!it) return 0;
    it->value = 0;
    it->state = (int32_t)r->initial;
    return 1;
}

int AddPBoxComboList(WPARAM, PBoxAddRequest* r) {
    PBoxItem* it = AddItem(r, PBOX_COMBOLIST, r ? r->text : nullptr);
    if (!it) return 0;
    it->value = (int32_t)r->initial;
    it->state = r->extra;
    return 1;
}

int AddPBoxComboListSel(WPARAM, PBoxAddRequest* r) {
    if (!r) return 0;
    std::string joined;
    if (r->extra != 0) {
        char head[32];
        snprintf(head, sizeof head, "\n%d\n", (int)r->extra);
        joined = head;
    }
    if (r->text) joined += r->text;
    PBoxItem* it = AddItem(r, PBOX_COMBOLIST, joined.c_str());
    if (!it) return 0;
    it->value = (int32_t)r->initial;
    it->state = 0;
    return 1;
}

int AddPBoxEdit(WPARAM, PBoxAddRequest* r) {
    PBoxItem* it = AddItem(r, PBOX_EDIT, r ? r->text : nullptr);
    if (!it) return 0;
    it->value = it->state = 0;
    it->label[0] = '\0';
    return 1;
}

int AddPBoxText(WPARAM, PBoxAddRequest* r) {
    PBoxItem* it = AddItem(r, PBOX_TEXT, r ? r->text : nullptr);
    if (!it) return 0;
    it->value = it->state = 0;
    return 1;
}

int AddPBoxCombo(WPARAM, PBoxAddRequest* r) {
    PBoxItem* it = AddItem(r, PBOX_COMBO, r ? r->text : nullptr);
    if (!it) return 0;
    it->value = it->state = 0;
    const char* current = reinterpret_cast<const char*>(r->initial);
    DbcsCopy(it->listText, sizeof it->listText, current ? current : "");
    return 1;
}

int GetPBoxItemText(WPARAM, PBoxItemRequest* r) {
    if (!r || !ValidPage(r->page)) return 0;
    PBoxItem* it = FindItem(r->page, r->id);
    if (!it) return 0;
    if (r->text) strcpy(r->text, it->text ? it->text : "");
    return 1;
}

int SetPBoxItemText(WPARAM, PBoxItemRequest* r) {
    if (!r || !ValidPage(r->page)) return 0;
    int i;
    PBoxItem* it = FindItem(r->page, r->id, &i);
    if (!it) return 0;
    const char* text = r->text ? r->text : "";
    // A longer text gets a larger block instead of overrunning the old one.
    const size_t size = it->text ? ::GlobalSize(it->text) : 0;
    if (strlen(text) + 1 > size) {
        char* block = NewTextBlock(text);
        if (!block) return 0;
        FreeTextBlock(it->text);
        it->text = block;
    } else {
        strcpy(it->text, text);
    }
    if (HWND w = ItemWindow(r->page, i)) ::SetWindowTextA(w, it->text);
    Repaint(r->page, i, true);
    return 1;
}

int GetPBoxComboText(WPARAM, PBoxItemRequest* r) {
    if (!r || !ValidPage(r->page)) return 0;
    PBoxItem* it = FindItem(r->page, r->id);
    if (!it) return 0;
    if (r->text) strcpy(r->text, it->listText);
    return 1;
}

int SetPBoxComboText(WPARAM, PBoxItemRequest* r) {
    if (!r || !ValidPage(r->page)) return 0;
    int i;
    PBoxItem* it = FindItem(r->page, r->id, &i);
    if (!it) return 0;
    // Cut on a character boundary to the 255 bytes the field holds.
    DbcsCopy(it->listText, sizeof it->listText, r->text ? r->text : "");
    if (HWND w = ItemWindow(r->page, i)) ::SetWindowTextA(w, it->listText);
    Repaint(r->page, i, false);
    return 1;
}

namespace {
// Writes a field of item i and of its twin on page 4.
template <class Fn>
void WriteWithTwin(int page, int i, Fn fn) {
    fn(PBoxPageTable[page].items[i]);
    if (page != 4) fn(PBoxPageTable[4].items[i]);
}

int ExchangeField(PBoxItemRequest* r, int32_t PBoxItem::*field, bool valueByCopy) {
    if (!r) return 0;
    const int page = ResolvePage(r->page);
    if (!ValidPage(page)) return 0;
    int i;
    PBoxItem* it = FindItem(page, r->id, &i);
    if (!it) return 0;
    if (r->set == 0) {
        if (auto* out = reinterpret_cast<int32_t*>(r->value)) *out = it->*field;
        return 1;
    }
    int32_t v;
    if (valueByCopy) {
        v = (int32_t)r->value;
    } else {
        auto* in = reinterpret_cast<const int32_t*>(r->value);
        if (!in) return 0;
        v = *in;
    }
    WriteWithTwin(page, i, [&](PBoxItem& x) { x.*field = v; });
    Repaint(page, i, !valueByCopy);
    return 1;
}
}  // namespace

int ExchangePBoxValue(WPARAM, PBoxItemRequest* r) { return ExchangeField(r, &PBoxItem::value, true); }
int ExchangePBoxState(WPARAM, PBoxItemRequest* r) { return ExchangeField(r, &PBoxItem::state, false); }

int ExchangePBoxComboSel(WPARAM, PBoxItemRequest* r) {
    int result = ExchangeField(r, &PBoxItem::value, false);
    if (result && r->set) {
        const int page = ResolvePage(r->page);
        int i;
        if (PBoxItem* it = FindItem(page, r->id, &i))
            if (it->listWindow) ::SendMessageA(it->listWindow, CB_SETCURSEL, it->value, 0);
    }
    return result;
}

int EnablePBoxItem(WPARAM, PBoxItemRequest* r) {
    if (!r || !ValidPage(r->page)) return 0;
    int i;
    PBoxItem* it = FindItem(r->page, r->id, &i);
    if (!it) return 0;
    const int previous = it->enabled;
    WriteWithTwin(r->page, i, [&](PBoxItem& x) { x.enabled = r->set; });
    Repaint(r->page, i, false);
    if (it->type == PBOX_COMBOLIST)
        if (HWND w = ItemWindow(r->page, i)) ::EnableWindow(w, r->set != 0);
    return previous;
}

int SetPBoxItemColors(WPARAM, PBoxItemRequest* r) {
    if (!r || !ValidPage(r->page)) return 0;
    int i;
    if (!FindItem(r->page, r->id, &i)) return 0;
    const int back = ColorOrDefault(r->mode), text = ColorOrDefault(r->set);
    WriteWithTwin(r->page, i, [&](PBoxItem& x) {
        x.backColor = back;
        x.textColor = text;
    });
    Repaint(r->page, i, true);
    return 1;
}

int SetPBoxItemLabel(WPARAM, PBoxItemRequest* r) {
    if (!r || !ValidPage(r->page)) return 0;
    PBoxItem* it = FindItem(r->page, r->id);
    if (!it) return 0;
    // Both forms are bounded by the 64-byte field.
    std::memset(it->label, 0, sizeof it->label);
    DbcsCopy(it->label, sizeof it->label, r->text ? r->text : "");
    return 1;
}

int ClickPBoxItem(WPARAM, PBoxItemRequest* r) {
    if (!r || !ValidPage(r->page)) return 0;
    int i;
    if (!FindItem(r->page, r->id, &i)) return 0;
    if (HWND w = ItemWindow(r->page, i)) ::PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    return 1;
}

int ExchangePBoxCalcMode(WPARAM, PBoxItemRequest* r) {
    if (!r) return 0;
    if (r->page == kPBoxShownPage) return 0;  // for now: the calculator switch is off
    if (!ValidPage(r->page)) return 0;
    PBoxItem* it = FindItem(r->page, r->id);
    if (!it) return r->set ? 0 : -1;
    if (!r->set) return it->calcMode;
    it->calcMode = r->mode;
    DbcsCopy(it->calcTitle, sizeof it->calcTitle, r->text ? r->text : "");
    return 1;
}

int GetPBoxItemText(int itemId, char* text, size_t size) {
    if (!text || size == 0) return 0;
    text[0] = '\0';
    int pages[kPBoxPageCount + 1];
    int n = 0;
    if (ValidPage(DockedPBoxPage)) pages[n++] = DockedPBoxPage;
    for (int p = 1; p < kPBoxPageCount; ++p)
        if (PBoxPageTable[p].host != 0 && p != DockedPBoxPage) pages[n++] = p;
    for (int k = 0; k < n; ++k) {
        PBoxItem* it = FindItem(pages[k], itemId);
        if (it && it->type != 0) {
            DbcsCopy(text, size, it->text ? it->text : "");
            return 1;
        }
    }
    return 0;
}

int ClearAllPBoxPages() {
    for (int p = 0; p < kPBoxPageCount; ++p)
        ClosePBoxPage(p, 0);
    return 1;
}

int CreatePBoxFonts() {
    LOGFONTA lf = {};
    lf.lfHeight = 12;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    strcpy(lf.lfFaceName, "ＭＳ ゴシック");
    if (!g_font) g_font = ::CreateFontIndirectA(&lf);
    lf.lfWeight = 700;
    if (!g_boldFont) g_boldFont = ::CreateFontIndirectA(&lf);
    return 1;
}

int DeletePBoxFont() {
    if (g_font) ::DeleteObject(g_font);
    g_font = nullptr;
    return 1;
}

HFONT PBoxFont() { return g_font; }
HFONT PBoxBoldFont() { return g_boldFont; }

namespace {
const char* const kPBoxClasses[] = {"PBox_Push",  "PBox_Radio", "PBox_Check", "PBox_List",      "PBox_Edit",
                                    "PBox_Combo", "Duze_Edit",  "PBox_Text",  "LISTOWNSUBCLASS"};

LRESULT CALLBACK PlainItemProc(HWND h, UINT m, WPARAM w, LPARAM l) { return ::DefWindowProcA(h, m, w, l); }
}  // namespace

int RegisterPBoxClasses(HINSTANCE instance) {
    for (PBoxPage& page : PBoxPageTable) {
        page.host = 0;
        for (PBoxItem& it : page.items)
            it.type = 0;
    }
    for (const char* name : kPBoxClasses) {
        WNDCLASSA existing;
        if (::GetClassInfoA(instance, name, &existing)) continue;
        WNDCLASSA wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = PlainItemProc;
        wc.cbWndExtra = 16;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        wc.lpszClassName = name;
        if (!::RegisterClassA(&wc)) return 0;
    }
    return 1;
}

int UnregisterPBoxClasses(HINSTANCE instance) {
    for (const char* name : kPBoxClasses)
        ::UnregisterClassA(name, instance);
    return 1;
}
