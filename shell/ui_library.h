// The calls the shell makes into the UI library (WmCadApi.dll), looked up
// once beside the executable; without the library they do nothing.
#pragma once

#include <windows.h>

void UiInitCadApi(HWND mainFrame);          // Rodad_InitCadApi
void UiSetCmdPanelType(int lowResolution);  // Rodad_SetCmdPanelType
void UiLayerSplit(int mode);                // EsLayerSplit
// The dialog look: owner-drawn buttons, background and control colours
// (0, FALSE or null without the library).
int UiChgBtnStyleOwnerDraw(HWND dialog, int mode);                 // Rodad_ChgBtnStyleOwnerDraw
BOOL UiOnEraseBkgnd(HWND window, HDC dc);                          // Rodad_OnEraseBkgnd
HBRUSH UiOnCtlColor(HWND dialog, HDC dc, HWND control, int kind);  // Rodad_OnCtlColor
// EsGET_HILIGHT_COLOR: the highlight colour index (2 without the library).
int UiHighlightColor();
// TqCadApi_ColorBtn_DrawItem; false when the library is not there.
bool UiDrawColorButton(const DRAWITEMSTRUCT* item, COLORREF background, COLORREF text, COLORREF disabled);

// The drawing attributes of the UI library (a 120-byte block), out and in.
int UiGetSysAtr(void* block120);  // EsGET_SYS_ATR
int UiSetSysAtr(const void* block120);  // EsSET_SYS_ATR
// CwEnableCurModelessWindow: enables (1) or disables (0) the library's
// current modeless window; its state before (0 without the library).
int UiEnableCurModelessWindow(int enable);
