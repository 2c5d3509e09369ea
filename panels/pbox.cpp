#include "panels/pbox.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/dbcs.h"
#include "base/running_settings.h"
#include "base/settings_layer.h"
#include "command/command_system.h"
#include "command/executor.h"
#include "panels/app_panel.h"
#include "panels/app_panel_dlg.h"
#include "panels/pbox_controls.h"
#include "panels/rp_menu.h"

PBoxPage PBoxPageTable[kPBoxPageCount];
PBoxPage PBoxMirrorPage;
int DockedPBoxPage = -1;
int PBoxDefaultButtonId = -1;
int PBoxHasDefaultButton = 0;
PBoxBuildStateRecord PBoxBuildState = {{0}, nullptr, 0, 0, 0, 0};

namespace {
HFONT g_font = nullptr;
HFONT g_boldFont = nullptr;
HWND g_appPanelWindow = nullptr;

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

void Repaint(int page, int index, bool erase) {
    if (CPanelItem* w = PBoxItemWindow(page, index))
        if (w->m_hWnd) {
            ::InvalidateRect(w->m_hWnd, nullptr, erase);
            ::UpdateWindow(w->m_hWnd);
        }
}

HWND ItemHwnd(int page, int index) {
    CPanelItem* w = PBoxItemWindow(page, index);
    return w ? w->m_hWnd : nullptr;
}

int ColorOrDefault(int index) { return (index < 0 || index > 256) ? -1 : index; }

// -100 names the page shown now.
int ResolvePage(int page) {
    if (page != kPBoxShownPage) return page;
    if (ValidPage(DockedPBoxPage)) return DockedPBoxPage;
    return PBoxBuildState.shownPage;
}

// The common part of the add back ends.
PBoxItem* AddItem(const PBoxAddRequest* r, int type, const char* text) {
    if (!r) return nullptr;
    PBoxBuildState.currentRequest = (void*)r;
    if (!ValidPage(r->page)) return nullptr;
    PBoxPage& page = PBoxPageTable[r->page];
    PBoxItem* it = nullptr;
    for (PBoxItem& candidate : page.items)
        if (candidate.type == 0) {
            it = &candidate;
            break;
        }
    if (!it) return nullptr;
    // A reused slot gives its old block back; the copy's shared pointers are
    // dropped whenever the pop-up closes, so no copy still points at it.
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
    it->listWindow = nullptr;
    if (type == PBOX_BUTTON && text && (!strcmp(text, "OK") || !strcmp(text, "完了") || !strcmp(text, "Ok"))) {
        PBoxHasDefaultButton = 1;
        PBoxDefaultButtonId = r->id;
    }
    return it;
}

// Writes a field of item i and, when the page is the docked one, of the
// pop-up's copy of it, so that the copy follows the change.
template <class Fn>
void WriteWithTwin(int page, int i, Fn fn) {
    fn(PBoxPageTable[page].items[i]);
    if (page == DockedPBoxPage && PBoxMirrorPage.items[i].type != 0) {
        fn(PBoxMirrorPage.items[i]);
        Repaint(kPBoxMirror, i, true);
    }
}

// Finds the item of an item request; null for an invalid page or no item.
PBoxItem* RequestItem(PBoxItemRequest* r, int* page, int* index) {
    if (!r) return nullptr;
    PBoxBuildState.currentRequest = r;
    *page = ResolvePage(r->page);
    if (!ValidPage(*page)) return nullptr;
    return FindPBoxItem(*page, r->id, index);
}
}  // namespace

PBoxPage* PBoxPageAt(int index) {
    if (ValidPage(index)) return &PBoxPageTable[index];
    if (index == kPBoxMirror) return &PBoxMirrorPage;
    return nullptr;
}

CPanelItem* PBoxItemWindow(int page, int index) {
    PBoxPage* p = PBoxPageAt(page);
    if (!p || (unsigned)index >= (unsigned)kPBoxItemCount) return nullptr;
    return p->itemWindows[index];
}

PBoxItem* FindPBoxItem(int page, int id, int* index) {
    PBoxPage* p = PBoxPageAt(page);
    if (!p) return nullptr;
    for (int i = 0; i < kPBoxItemCount; ++i) {
        PBoxItem& it = p->items[i];
        if (it.type != 0 && it.id == id) {
            if (index) *index = i;
            return &it;
        }
    }
    return nullptr;
}

bool IsPBoxPageFree(int page) {
    PBoxPage* p = PBoxPageAt(page);
    if (!p) return false;
    if (p->host != 0) return false;
    return !(p->form && p->form->m_hWnd && ::IsWindowVisible(p->form->m_hWnd));
}

void ClearPBoxPage(PBoxPage& page) {
    for (CPanelItem*& w : page.itemWindows) {
        if (!w) continue;
        if (w->m_hWnd) ::DestroyWindow(w->m_hWnd);
        delete w;
        w = nullptr;
    }
    if (page.form && page.form->m_hWnd) ::ShowWindow(page.form->m_hWnd, SW_HIDE);
}

int OpenPBoxPage(WPARAM, const char* name) {
    std::memset(PBoxBuildState.pageName, 0, sizeof PBoxBuildState.pageName);
    if (name) DbcsCopy(PBoxBuildState.pageName, sizeof PBoxBuildState.pageName, name);
    for (int p = 1; p <= 4; ++p) {
        if (!IsPBoxPageFree(p)) continue;
        PBoxPage& page = PBoxPageTable[p];
        page.host = 1;
        for (PBoxItem& it : page.items) {
            it.type = 0;
            it.backColor = -1;
            it.textColor = -1;
            it.label[0] = '\0';
        }
        ClearPBoxPage(page);
        return p;
    }
    return 0;
}

int ClosePBoxPage(int page, LPARAM mirrorOnly) {
    if (mirrorOnly && (page == 4 || page == kPBoxMirror)) {
        // Only the pop-up's copy goes; a module's own page 4 is left alone.
        ClearPBoxPage(PBoxMirrorPage);
        for (PBoxItem& it : PBoxMirrorPage.items) {
            it.type = 0;
            it.text = nullptr;
        }
        return 1;
    }
    if (!ValidPage(page)) return 0;
    PBoxPage& p = PBoxPageTable[page];
    ClearPBoxPage(p);
    HWND host = (HWND)p.host;
    if (p.host > 1 && host != g_appPanelWindow && ::IsWindow(host)) ::DestroyWindow(host);
    if (g_appPanelWindow) ::InvalidateRect(g_appPanelWindow, nullptr, TRUE);
    p.host = 0;
    PBoxHasDefaultButton = 0;
    if (DockedPBoxPage == page) {
        DockedPBoxPage = -1;
        // The pop-up's copy leads to this page's windows: it goes first.
        ClosePBoxPage(kPBoxMirror, 1);
        CloseRPMenu();
    }
    return 1;
}

void SetPBoxPanelWindow(HWND panel) { g_appPanelWindow = panel; }
HWND PBoxPanelWindow() { return g_appPanelWindow; }
HWND PBoxHostWindow() { return nullptr; }

int ShowPBoxPage(WPARAM, PBoxAddRequest* r) {
    if (!r) return 0;
    PBoxBuildState.currentRequest = r;
    const int index = r->page;
    const int width = r->id;
    const int height = (int)(intptr_t)r->text;
    PBoxBuildState.shownPage = index;
    if (!ValidPage(index)) return 0;
    PBoxPage& page = PBoxPageTable[index];
    POINT corner = {0, 0};
    HWND frame = CmdMainFrame();
    if (HWND mdi = CmdMdiClient()) {
        RECT rc;
        ::GetWindowRect(mdi, &rc);
        corner = {rc.left, rc.top};
        if (frame) ::ScreenToClient(frame, &corner);
    }
    HWND host = nullptr;
    // A page shown again is rebuilt: its earlier windows go first, so no
    // stale set stays on screen (nor a pop-up copy that leads to them).
    if (index == DockedPBoxPage) {
        ClosePBoxPage(kPBoxMirror, 1);
        CloseRPMenu();
    }
    for (CPanelItem*& w : page.itemWindows) {
        if (!w) continue;
        if (w->m_hWnd) ::DestroyWindow(w->m_hWnd);
        delete w;
        w = nullptr;
    }
    if ((unsigned)height <= 79) {
        DockedPBoxPage = index;
        if (!g_appPanelWindow || !::IsWindow(g_appPanelWindow)) return 0;
        host = g_appPanelWindow;
        page.host = (intptr_t)host;
        BuildPBoxPage(host, nullptr, 0);
        ::SendMessageA(host, WM_COMMAND, kPanelCmdSwallowA, 0);
        if (frame) ::SendMessageA(frame, WM_SIZE, 0, 0);
    } else {
        if (!page.form) page.form = new CAppPanelDlg;
        if (!page.form->m_hWnd) {
            if (!frame || !page.form->CreateForm(frame)) return 0;
        }
        ::ShowWindow(page.form->m_hWnd, SW_SHOW);
        page.host = 0;
        host = page.form->m_hWnd;
        PBoxBuildState.floating = 1;
        BuildPBoxPage(host, nullptr, 0);
        PBoxBuildState.floating = 0;
        const int h = height < 0 ? -height : height;
        ::SetWindowPos(host, HWND_TOP, corner.x + 10, corner.y + 18, width + 13, h - 13,
                       SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    }
    for (HWND c = ::GetWindow(host, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        ::SetWindowPos(c, nullptr, 0, 0, 0, 0,
                       SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
    return 1;
}

int ShowPBoxWindow(HWND window) {
    if (window && ::IsWindow(window)) ::ShowWindow(window, SW_SHOW);
    return 1;
}

int HidePBoxWindow(HWND window) {
    if (window && ::IsWindow(window)) ::ShowWindow(window, SW_HIDE);
    return 1;
}

int AddPBoxButton(WPARAM, PBoxAddRequest* r) {
    PBoxItem* it = AddItem(r, PBOX_BUTTON, r ? r->text : nullptr);
    if (!it) return 0;
    it->value = 0;
    LoadPBoxItemColors(it->text, it->id, r->page);
    return 1;
}

int AddPBoxRadio(WPARAM, PBoxAddRequest* r) {
    PBoxItem* it = AddItem(r, PBOX_RADIO, r ? r->text : nullptr);
    if (!it) return 0;
    it->value = 0;
    it->state = (int32_t)r->initial;
    LoadPBoxItemColors(it->text, it->id, r->page);
    return 1;
}

int AddPBoxCheck(WPARAM, PBoxAddRequest* r) {
    PBoxItem* it = AddItem(r, PBOX_CHECK, r ? r->text : nullptr);
    if (!it) return 0;
    it->value = 0;
    it->state = (int32_t)r->initial;
    LoadPBoxItemColors(it->text, it->id, r->page);
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
    // The combo text field holds 255 bytes: a longer text is cut on a
    // character boundary.
    DbcsCopy(it->listText, sizeof it->listText, current ? current : "");
    return 1;
}

int GetPBoxItemText(WPARAM, PBoxItemRequest* r) {
    int page, i;
    PBoxItem* it = RequestItem(r, &page, &i);
    if (!it) return 0;
    if (r->text) strcpy(r->text, it->text ? it->text : "");
    return 1;
}

int SetPBoxItemText(WPARAM, PBoxItemRequest* r) {
    int page, i;
    PBoxItem* it = RequestItem(r, &page, &i);
    if (!it) return 0;
    const char* text = r->text ? r->text : "";
    // A longer text gets a larger block instead of overrunning the old one.
    const size_t size = it->text ? ::GlobalSize(it->text) : 0;
    if (strlen(text) + 1 > size) {
        char* block = NewTextBlock(text);
        if (!block) return 0;
        if (PBoxMirrorPage.items[i].text == it->text) PBoxMirrorPage.items[i].text = block;
        FreeTextBlock(it->text);
        it->text = block;
    } else {
        strcpy(it->text, text);
    }
    if (HWND w = ItemHwnd(page, i)) ::SetWindowTextA(w, it->text);
    Repaint(page, i, true);
    return 1;
}

int GetPBoxComboText(WPARAM, PBoxItemRequest* r) {
    int page, i;
    PBoxItem* it = RequestItem(r, &page, &i);
    if (!it) return 0;
    if (r->text) strcpy(r->text, it->listText);
    return 1;
}

int SetPBoxComboText(WPARAM, PBoxItemRequest* r) {
    int page, i;
    PBoxItem* it = RequestItem(r, &page, &i);
    if (!it) return 0;
    DbcsCopy(it->listText, sizeof it->listText, r->text ? r->text : "");
    if (HWND w = ItemHwnd(page, i)) ::SetWindowTextA(w, it->listText);
    Repaint(page, i, false);
    return 1;
}

namespace {
int ExchangeField(PBoxItemRequest* r, int32_t PBoxItem::*field, bool valueByCopy) {
    int page, i;
    PBoxItem* it = RequestItem(r, &page, &i);
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
        int page, i;
        if (PBoxItem* it = RequestItem(r, &page, &i))
            if (it->listWindow) ::SendMessageA(it->listWindow, CB_SETCURSEL, it->value, 0);
    }
    return result;
}

int EnablePBoxItem(WPARAM, PBoxItemRequest* r) {
    int page, i;
    PBoxItem* it = RequestItem(r, &page, &i);
    if (!it) return 0;
    const int previous = it->enabled;
    WriteWithTwin(page, i, [&](PBoxItem& x) { x.enabled = r->set; });
    Repaint(page, i, false);
    if (it->type == PBOX_COMBOLIST)
        if (HWND w = ItemHwnd(page, i)) ::EnableWindow(w, r->set != 0);
    return previous;
}

int SetPBoxItemColors(WPARAM, PBoxItemRequest* r) {
    int page, i;
    if (!RequestItem(r, &page, &i)) return 0;
    const int back = ColorOrDefault(r->mode), text = ColorOrDefault(r->set);
    WriteWithTwin(page, i, [&](PBoxItem& x) {
        x.backColor = back;
        x.textColor = text;
    });
    Repaint(page, i, true);
    return 1;
}

int SetPBoxItemLabel(WPARAM, PBoxItemRequest* r) {
    int page, i;
    PBoxItem* it = RequestItem(r, &page, &i);
    if (!it) return 0;
    // Both forms are bounded by the 64-byte field.
    std::memset(it->label, 0, sizeof it->label);
    DbcsCopy(it->label, sizeof it->label, r->text ? r->text : "");
    return 1;
}

int ClickPBoxItem(WPARAM, PBoxItemRequest* r) {
    int page, i;
    if (!RequestItem(r, &page, &i)) return 0;
    if (HWND w = ItemHwnd(page, i)) ::PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    HCURSOR cursor = ::LoadCursorA(::GetModuleHandleA(nullptr), "CURNUL");
    if (cursor) ::SetCursor(cursor);
    return 1;
}

int ExchangePBoxCalcMode(WPARAM, PBoxItemRequest* r) {
    if (!r) return 0;
    PBoxBuildState.currentRequest = r;
    if (r->page == kPBoxShownPage) return PanelCalculatorEnabled() ? 1 : 0;
    if (!ValidPage(r->page)) return 0;
    PBoxItem* it = FindPBoxItem(r->page, r->id);
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
        if (!IsPBoxPageFree(p) && p != DockedPBoxPage) pages[n++] = p;
    for (int k = 0; k < n; ++k) {
        PBoxItem* it = FindPBoxItem(pages[k], itemId);
        if (it) {
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

void LoadPBoxItemColors(const char* text, int id, int page) {
    if (!text) return;
    char textKey[300], backKey[300], section[100];
    snprintf(textKey, sizeof textKey, "%s_TextColor", text);
    snprintf(backKey, sizeof backKey, "%s_BakColor", text);
    const int cmd = Executor().currentCmdId;
    if (strcmp(PBoxBuildState.pageName, "SELECT ELEM") == 0)
        snprintf(section, sizeof section, "%d_%s", cmd, PBoxBuildState.pageName);
    else
        snprintf(section, sizeof section, "%d", cmd);
    char tv[1024] = {}, bv[1024] = {};
    ReadPanelColorString(section, textKey, "", tv);
    ReadPanelColorString(section, backKey, "", bv);
    if (!tv[0] || !bv[0]) {
        ReadPanelColorString(PBoxBuildState.pageName, textKey, "", tv);
        ReadPanelColorString(PBoxBuildState.pageName, backKey, "", bv);
        if (!tv[0] || !bv[0]) return;
    }
    PBoxItemRequest req = {};
    req.page = page;
    req.id = id;
    req.set = atoi(tv);
    req.mode = atoi(bv);
    void* saved = PBoxBuildState.currentRequest;
    SetPBoxItemColors(0, &req);
    PBoxBuildState.currentRequest = saved;
}

int CreatePBoxFonts() {
    LOGFONTA lf = {};
    lf.lfHeight = 12;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lstrcpynA(lf.lfFaceName, Running().SYSTEMFONT[0] ? Running().SYSTEMFONT : "ＭＳ ゴシック", LF_FACESIZE);
    if (g_font) ::DeleteObject(g_font);
    g_font = ::CreateFontIndirectA(&lf);
    lf.lfWeight = 700;
    if (g_boldFont) ::DeleteObject(g_boldFont);
    g_boldFont = ::CreateFontIndirectA(&lf);
    return 1;
}

int DeletePBoxFont() {
    if (g_font) ::DeleteObject(g_font);
    g_font = nullptr;
    return 1;
}

HFONT PBoxFont() { return g_font ? g_font : (HFONT)::GetStockObject(DEFAULT_GUI_FONT); }
HFONT PBoxBoldFont() { return g_boldFont ? g_boldFont : PBoxFont(); }
