// The application panel's input items: the edit field (in-place editor),
// the editable combo (editor and drop-down of its choices) and the
// selection list (a drop-down list control).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "panels/app_panel.h"

// Process-wide state of the in-place editors (one open at a time).
struct PBoxEditStateRecord {
    char editBuffer[258];
    HWND openEditor;
    int editorOpen;
    int switching;
    char editHistoryKey[64];
    int imeMode;
    char comboBuffer[256];
    char comboHistoryKey[64];
    HWND dropAnchor;
    int dropPage, dropItem;
    RECT dropRect;
    HWND dropList;
    HWND dropWindow;
    HWND openList;
};
extern PBoxEditStateRecord PBoxEditState;

constexpr int kEditorId = 5000;
constexpr int kDropListId = 5001;
constexpr int kListControlId = 1111;
constexpr UINT kEditorCancelled = WM_USER + 1;  // 1025
constexpr UINT kDropChosen = 1034;
constexpr UINT kDropCancelled = 1027;
constexpr int kComboButtonWidth = 18;

// Copies text into an item's text block, never past the block.
void SetPBoxItemTextBounded(PBoxItem* item, const char* text);
// Comma-separated fields, double-byte aware.
std::vector<std::string> SplitPanelFields(const char* text);

// Edit and combo items: a text confirmed in the editor, chosen from the
// history or computed with the calculator reaches the item, its twin, the
// item's history and the module the same way.
class CPanelInputItem : public CPanelItem {
protected:
    explicit CPanelInputItem(int sub) : m_sub(sub) {}
    // Shows `text` as the item's value, in the item and in its twin.
    virtual void TakeText(const char* text) = 0;
    // The confirmed text: the event, the item and its twin, the history,
    // and the right-click pop-up closed.
    void Confirm(const char* text);
    // WM_COMMAND of a history menu entry: the entry (fetched into `buffer`)
    // is confirmed. False for any other command.
    bool TakeHistoryEntry(WPARAM command, char* buffer, size_t size);
    // The calculator road: -1 when the item takes its value by the editor,
    // else the calculator ran and its number was confirmed (1) or not (0).
    int RunItemCalculator();
    const int m_sub;
};

class CAppPanelEditBox : public CPanelInputItem {
public:
    CAppPanelEditBox() : CPanelInputItem(PANEL_SUB_EDIT) {}
    BEGIN_MSG_MAP(CAppPanelEditBox)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_USER, OnConfirmed)
    MESSAGE_HANDLER(kEditorCancelled, OnCancelled)
    END_MSG_MAP()

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnSetText(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnConfirmed(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCancelled(UINT, WPARAM, LPARAM, BOOL&);
    void TakeText(const char* text) override;
};

class CAppPanelComboBox : public CPanelInputItem {
public:
    CAppPanelComboBox() : CPanelInputItem(PANEL_SUB_COMBO) {}
    BEGIN_MSG_MAP(CAppPanelComboBox)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    MESSAGE_HANDLER(WM_RBUTTONDOWN, OnRButtonDown)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_USER, OnConfirmed)
    MESSAGE_HANDLER(kEditorCancelled, OnCancelled)
    END_MSG_MAP()

    int m_closeOnRelease = 1;

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
    LRESULT OnSetText(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnRButtonDown(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnConfirmed(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCancelled(UINT, WPARAM, LPARAM, BOOL&);
    void TakeText(const char* text) override;
    void OpenDropDown();
};

class CAppPanelComboList : public CPanelItem {
public:
    BEGIN_MSG_MAP(CAppPanelComboList)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    END_MSG_MAP()

    RECT m_client = {};

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSetText(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnMeasureItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
};

// Fills a list control from a selection-list text ("\n<mode>\n" prefix
// optional); widens the dropped list unless the mode is negative.
void FillPBoxListItem(HWND list, const char* text);
// The choices of a combo item into a list box.
void FillPBoxComboDrop(HWND listBox, const char* text);
// Paints an edit-like item (edit fields and, without the button, combos).
void DrawPBoxEditItem(HWND w, HDC dc, const PBoxItem& item, bool combo);
