// The application panel's page model: five pages of 50 items that command
// modules fill through host messages, and the back ends of those messages.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

constexpr int kPBoxPageCount = 5;
constexpr int kPBoxItemCount = 50;
constexpr int kPBoxShownPage = -100;  // "the page shown now" in item requests

enum PBoxItemType {
    PBOX_BUTTON = 10,
    PBOX_RADIO = 11,
    PBOX_CHECK = 12,
    PBOX_COMBOLIST = 13,
    PBOX_EDIT = 14,
    PBOX_TEXT = 15,
    PBOX_COMBO = 16,
};

#pragma pack(push, 1)
struct PBoxItem {
    int32_t type;  // 0 free
    int32_t id;    // chosen by the module
    char* text;    // global block of max(length + 1, 257) bytes
    int32_t value;
    int32_t state;
    int32_t x, y, width, height;
    HWND listWindow;
    int32_t enabled;    // 1 enabled
    int32_t backColor;  // -1 default, 0-256
    int32_t textColor;  // -1 default, 0-256
    char label[64];
    char listText[256];
    int32_t calcMode;
    char calcTitle[64];
};

// The request a module passes with the add and show messages (a command
// request read at these offsets).
struct PBoxAddRequest {
    uint8_t head[40];
    int32_t extra;  // +40
    uint8_t gap[64];
    int32_t page;                 // +108
    int32_t id;                   // +112 (page width for the show message)
    const char* text;             // +116 (page height for the show message)
    int32_t x, y, width, height;  // +120
    intptr_t initial;             // +136 state, value or combo text pointer
};

struct PBoxItemRequest {
    int32_t page;  // +0 (-100: the page shown now)
    int32_t id;    // +4
    char* text;    // +8
    int32_t reserved12;
    int32_t set;     // +16 0 read; enabled word; text colour
    intptr_t value;  // +20 where a read value goes, or the value
    uint8_t gap[16];
    int32_t mode;  // +40 back colour; calculator mode
};
#pragma pack(pop)

static_assert(sizeof(PBoxItem) == 440, "PBoxItem layout");
static_assert(offsetof(PBoxAddRequest, extra) == 40, "PBoxAddRequest layout");
static_assert(offsetof(PBoxAddRequest, page) == 108, "PBoxAddRequest layout");
static_assert(offsetof(PBoxAddRequest, text) == 116, "PBoxAddRequest layout");
static_assert(offsetof(PBoxAddRequest, initial) == 136, "PBoxAddRequest layout");
static_assert(offsetof(PBoxItemRequest, set) == 16, "PBoxItemRequest layout");
static_assert(offsetof(PBoxItemRequest, value) == 20, "PBoxItemRequest layout");
static_assert(offsetof(PBoxItemRequest, mode) == 40, "PBoxItemRequest layout");

class CPanelItem;
class CAppPanelDlg;

struct PBoxPage {
    intptr_t host;  // 0 free, 1 opened, or the panel window while docked
    PBoxItem items[kPBoxItemCount];
    CPanelItem* itemWindows[kPBoxItemCount];  // owned; slot i for item i
    CAppPanelDlg* form;                       // the floating form, made on first floating show
};

extern PBoxPage PBoxPageTable[kPBoxPageCount];
// The right-click pop-up's copy of the docked page. It is kept apart from
// the five pages so that building the copy never overwrites a page a
// module opened itself (page 4 among them).
extern PBoxPage PBoxMirrorPage;
constexpr int kPBoxMirror = kPBoxPageCount;  // index naming the copy in item windows
// The page of an index 0-4, or the copy for kPBoxMirror; null otherwise.
PBoxPage* PBoxPageAt(int index);

// Index of the page shown docked, -1 when none.
extern int DockedPBoxPage;
// The id of the page's default button ("OK", "完了", "Ok") and whether one
// exists.
extern int PBoxDefaultButtonId;
extern int PBoxHasDefaultButton;

// Process-wide state of the page machinery.
struct PBoxBuildStateRecord {
    char pageName[64];
    void* currentRequest;
    int buttonLook;  // PANEL_BUTTON_TYPE: 1 the first look of the classic controls
    int shownPage;
    int builtItem;
    int floating;  // items sit 15 pixels higher while built into a form or the pop-up
};
extern PBoxBuildStateRecord PBoxBuildState;
// How far items built into a floating form or the pop-up are raised.
constexpr int kPBoxFloatRaise = 15;

// A free page: host word 0 and no visible floating form.
bool IsPBoxPageFree(int page);
// The first item slot in use with this id on the page (free slots are never
// matched); null when none. `index` receives its slot.
PBoxItem* FindPBoxItem(int page, int id, int* index = nullptr);
// The item window object of slot i of a page (or of the copy), or null.
CPanelItem* PBoxItemWindow(int page, int index);

// Back ends of the panel host messages (wParam is passed on and unused).
int OpenPBoxPage(WPARAM, const char* name);  // page 1-4, 0 when none free
int ClosePBoxPage(int page, LPARAM = 0);
int ShowPBoxPage(WPARAM, PBoxAddRequest* request);
int ShowPBoxWindow(HWND window);
int HidePBoxWindow(HWND window);
int AddPBoxButton(WPARAM, PBoxAddRequest* request);
int AddPBoxRadio(WPARAM, PBoxAddRequest* request);
int AddPBoxCheck(WPARAM, PBoxAddRequest* request);
int AddPBoxComboListSel(WPARAM, PBoxAddRequest* request);
int AddPBoxComboList(WPARAM, PBoxAddRequest* request);
int AddPBoxEdit(WPARAM, PBoxAddRequest* request);
int AddPBoxText(WPARAM, PBoxAddRequest* request);
int AddPBoxCombo(WPARAM, PBoxAddRequest* request);
int GetPBoxItemText(WPARAM, PBoxItemRequest* request);
int SetPBoxItemText(WPARAM, PBoxItemRequest* request);
int GetPBoxComboText(WPARAM, PBoxItemRequest* request);
int SetPBoxComboText(WPARAM, PBoxItemRequest* request);
int ExchangePBoxValue(WPARAM, PBoxItemRequest* request);
int ExchangePBoxState(WPARAM, PBoxItemRequest* request);
int ExchangePBoxComboSel(WPARAM, PBoxItemRequest* request);
int EnablePBoxItem(WPARAM, PBoxItemRequest* request);
int SetPBoxItemColors(WPARAM, PBoxItemRequest* request);
int SetPBoxItemLabel(WPARAM, PBoxItemRequest* request);
int ClickPBoxItem(WPARAM, PBoxItemRequest* request);
int ExchangePBoxCalcMode(WPARAM, PBoxItemRequest* request);

// The docked application panel window that pages are shown in (null:
// none yet), set by the panel when it is created.
void SetPBoxPanelWindow(HWND panel);
HWND PBoxPanelWindow();
// The window kept in the pop-up host slot (null for the whole run).
HWND PBoxHostWindow();
// Clears a page: destroys its item windows and objects and hides its form.
void ClearPBoxPage(PBoxPage& page);
// Reads the item colours of a push, radio or check item from the panel
// colour INI file ("%s_TextColor", "%s_BakColor").
void LoadPBoxItemColors(const char* text, int id, int page);

// The text of an edit item by id on the page shown now (the modal wait's
// items 333 and 444); 0 when there is none.
int GetPBoxItemText(int itemId, char* text, size_t size);
// Closes every page, so that all are free again (after a module command). 1.
int ClearAllPBoxPages();

// Panel fonts (height 12, charset 128): normal and bold. 1.
int CreatePBoxFonts();
int DeletePBoxFont();
HFONT PBoxFont();
HFONT PBoxBoldFont();

// Panel input-event sub-kinds.
enum PBoxPanelSubKind {
    PANEL_SUB_PUSH = 1,
    PANEL_SUB_CHECK = 16,
    PANEL_SUB_RADIO = 256,
    PANEL_SUB_LIST = 4096,
    PANEL_SUB_EDIT = 65536,
    PANEL_SUB_COMBO = 0x100000,
};
// Sent by item windows to their host (and posted to the pop-up to close it).
constexpr UINT UM_PANEL_ITEM_EVENT = 1074;

// "RPMENU", then the control classes ("PBox_Push" ... "LISTOWNSUBCLASS");
// 0 at the first class that fails.
int RegisterPBoxClasses(HINSTANCE instance);
int UnregisterPBoxClasses(HINSTANCE instance);
