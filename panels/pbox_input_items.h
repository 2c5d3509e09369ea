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

class CAppPanelEditBox : public CPanelItem {
public:
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
    void TakeText(const char* text);
};

class CAppPanelComboBox : public CPanelItem {
public:
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
    void TakeText(const char* text);
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
