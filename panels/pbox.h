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

struct PBoxPage {
    intptr_t host;  // 0 free, 1 opened, or the panel window while docked
    PBoxItem items[kPBoxItemCount];
    HWND itemWindows[kPBoxItemCount];
};

extern PBoxPage PBoxPageTable[kPBoxPageCount];
// Index of the page shown docked, -1 when none.
extern int DockedPBoxPage;
// The id of the page's default button ("OK", "完了", "Ok") and whether one
// exists.
extern int PBoxDefaultButtonId;
extern int PBoxHasDefaultButton;

// Back ends of the panel host messages (wParam is passed on and unused).
// For now: the page model is kept; no item windows are built.
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
// none yet). Present form of the panel the application object holds.
void SetPBoxPanelWindow(HWND panel);

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

// The item classes ("PBox_Push" and its siblings); results not looked at.
int RegisterPBoxClasses(HINSTANCE instance);
int UnregisterPBoxClasses(HINSTANCE instance);
